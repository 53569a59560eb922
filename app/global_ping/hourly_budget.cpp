#include "app/global_ping/hourly_budget.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <nlohmann/json.hpp>

#include "runtime/platform.h"
#include "support/json_documents/json_documents.h"

namespace vardelle {
namespace {

using nlohmann::json;

// The service rounds its reset to whole seconds, so one hour's reports differ by a second
// or so; a renewal further off than this starts another hour.
constexpr std::chrono::seconds kSameHour{60};
// No honest reset lies beyond the hour; a larger one is cut before it becomes a time.
constexpr long long kLongestResetSeconds = 3600;
constexpr std::chrono::seconds kHour{kLongestResetSeconds};

std::optional<int> Count(const json& object, const char* name) {
  const auto found = object.find(name);
  if (found == object.end() || !found->is_number_integer()) return std::nullopt;
  const long long value = found->get<long long>();
  if (value < 0 || value > std::numeric_limits<int>::max()) return std::nullopt;
  return static_cast<int>(value);
}

std::string TwoDigits(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

}  // namespace

std::optional<BudgetReport> ReadLimitsAnswer(std::string_view utf8Json) {
  const json document = ParseJsonOrDiscarded(utf8Json);
  const json::json_pointer path("/rateLimit/measurements/create");
  if (document.is_discarded() || !document.is_object() || !document.contains(path)) return {};
  const json& create = document.at(path);
  if (!create.is_object()) return std::nullopt;
  BudgetReport report;
  report.limit = Count(create, "limit");
  report.remaining = Count(create, "remaining");
  if (const std::optional<int> reset = Count(create, "reset")) report.resetSeconds = *reset;
  if (!report.remaining) return std::nullopt;
  return report;
}

std::string BudgetExhaustedText(std::optional<std::chrono::system_clock::time_point> renewal) {
  if (!renewal) return "本小时额度已用完，请稍后再测";
  const ClockTime at = LocalClockTime(*renewal);
  return "本小时额度已用完，" + TwoDigits(at.hour) + ":" + TwoDigits(at.minute) + " 后可再测";
}

HourlyBudget::HourlyBudget(std::function<Clock::time_point()> now) : now_(std::move(now)) {}

void HourlyBudget::Learn(const BudgetReport& report) {
  const Clock::time_point now = now_();
  std::lock_guard guard(mutex_);
  if (report.limit) limit_ = report.limit;
  if (!report.remaining) {
    // A charge without the balance after it still lowers what is known to be left.
    if (report.cost && remaining_) remaining_ = std::max(0, *remaining_ - *report.cost);
    return;
  }
  const std::optional<Clock::time_point> renewal =
      report.resetSeconds ? std::optional(now + std::chrono::seconds(std::min(
                                                    *report.resetSeconds, kLongestResetSeconds)))
                          : std::nullopt;
  const bool anotherHour =
      !remaining_ || !renewal_ || now >= *renewal_ || (renewal && *renewal > *renewal_ + kSameHour);
  if (anotherHour) {
    remaining_ = report.remaining;
    renewal_ = renewal;
  } else {
    remaining_ = std::min(*remaining_, *report.remaining);
  }
}

std::optional<int> HourlyBudget::Left() const {
  if (!remaining_) return std::nullopt;
  if (renewal_ && now_() >= *renewal_ && limit_) return limit_;
  return remaining_;
}

BudgetShares HourlyBudget::Share(size_t rows, int most) {
  std::lock_guard guard(mutex_);
  const std::optional<int> left = Left();
  if (!left) return {std::vector<int>(rows, most), {}};
  const long long free = std::max(0LL, static_cast<long long>(*left) - held_);
  BudgetShares shares{std::vector<int>(rows, 0), {}};
  const long long count = static_cast<long long>(rows);
  if (free < count) {
    shares.shortfall = *left < count ? ExhaustedText() : "剩余额度已分给进行中的测试，请稍后再测";
  }
  if (rows == 0) return shares;
  for (size_t row = 0; row < rows; ++row) {
    const long long share = free / count + (static_cast<long long>(row) < free % count ? 1 : 0);
    shares.limits[row] = static_cast<int>(std::min<long long>(share, most));
    held_ += shares.limits[row];
  }
  return shares;
}

void HourlyBudget::Release(int probes) {
  std::lock_guard guard(mutex_);
  held_ = std::max(0, held_ - probes);
}

// Without an hour under way, the charges about to be made start one now.
std::string HourlyBudget::ExhaustedText() const {
  const Clock::time_point now = now_();
  const bool renewalAhead = renewal_ && *renewal_ > now;
  return BudgetExhaustedText(renewalAhead ? *renewal_ : now + kHour);
}

std::string HourlyBudget::RemainingText() const {
  std::lock_guard guard(mutex_);
  const std::optional<int> left = Left();
  if (!left) return "本小时额度未知";
  const std::string limit = limit_ ? "/" + std::to_string(*limit_) : "";
  return "本小时剩余额度 " + std::to_string(*left) + limit + " 次测试";
}

}  // namespace vardelle

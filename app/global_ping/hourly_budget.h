// The Globalping service's hourly budget of tests, one test per probe: what the service last
// said of it, and the shares of it that global tests hold. The service refuses a measurement
// up front when its probe limit exceeds what is left, so every limit sent comes from a share.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vardelle {

// What one answer says of the budget; a part it leaves out is missing.
struct BudgetReport {
  std::optional<int> limit;
  std::optional<int> remaining;
  std::optional<long long> resetSeconds;  // until the budget renews
  std::optional<int> cost;                // what the request was charged, or would have been
};

// The /v1/limits answer's rateLimit.measurements.create; nothing for another document.
std::optional<BudgetReport> ReadLimitsAnswer(std::string_view utf8Json);

// GBK: "本小时额度已用完，HH:MM 后可再测" with the local clock time of renewal, or without
// a time when it is unknown.
std::string BudgetExhaustedText(std::optional<std::chrono::system_clock::time_point> renewal);

// Probe limits for rows, and why a row with limit 0 got none (GBK): the hour's budget is
// used up (BudgetExhaustedText), or what is left is held by tests still running.
struct BudgetShares {
  std::vector<int> limits;
  std::string shortfall;
};

class HourlyBudget {
 public:
  using Clock = std::chrono::system_clock;

  explicit HourlyBudget(std::function<Clock::time_point()> now = Clock::now);

  // Takes what the service said. Within one hour a report never raises what is left: the
  // answers of concurrent requests arrive in any order.
  void Learn(const BudgetReport& report);
  // A probe limit from 1 to most for each of rows, sharing what is left less what earlier
  // shares hold (the first rows get one more where it does not divide evenly); rows past
  // what is left get 0. With nothing known, every row gets most. Held until released.
  BudgetShares Share(size_t rows, int most);
  void Release(int probes);

  // GBK: "本小时剩余额度 120/250 次测试", or "本小时额度未知".
  std::string RemainingText() const;

 private:
  // What is left now: all of it once the hour has renewed. Under mutex_.
  std::optional<int> Left() const;
  std::string ExhaustedText() const;

  const std::function<Clock::time_point()> now_;
  mutable std::mutex mutex_;
  std::optional<int> limit_;
  std::optional<int> remaining_;
  std::optional<Clock::time_point> renewal_;
  int held_ = 0;
};

}  // namespace vardelle

// The callers' budgets and the polls' rate limit: fixed windows, as the API's rate limiter
// keeps them, and the limits it sets.
#pragma once

#include <chrono>
#include <map>
#include <string>

namespace vardelle::demo::stand_in {

using Clock = std::chrono::steady_clock;
using std::chrono::seconds;

// A fixed window, as the API's rate limiter keeps one: it opens with the first charge and
// closes a set time later, whatever is charged meanwhile.
struct RateWindow {
  Clock::time_point end;
  int consumed = 0;
};

class RateWindows {
 public:
  // The key's open window; none before its first charge or once it has closed.
  RateWindow* Find(const std::string& key, Clock::time_point now) {
    const auto found = windows_.find(key);
    if (found == windows_.end()) return nullptr;
    if (found->second.end > now) return &found->second;
    windows_.erase(found);
    return nullptr;
  }

  RateWindow& Open(const std::string& key, Clock::duration length, Clock::time_point now) {
    if (RateWindow* window = Find(key, now)) return *window;
    return windows_[key] = {now + length, 0};
  }

 private:
  std::map<std::string, RateWindow> windows_;
};

constexpr auto kBudgetWindow = std::chrono::hours(1);
constexpr int kAnonymousMostTests = 50;
constexpr int kTokenMostTests = 500;
// A token's shortfall of credits is remembered this long: meanwhile the precheck refuses as
// much or more at once.
constexpr auto kShortfallMemory = seconds(60);
// Polls of one measurement by one client: past five in 2 s, the next ones wait 5 s.
constexpr int kPollsPerWindow = 5;
constexpr auto kPollWindow = seconds(2);
constexpr auto kPollBlock = seconds(5);

int Remaining(const RateWindow& window, int budget);
// Seconds as the rate limit's headers write them: rounded, and rounded up for a wait.
long long RoundedSeconds(Clock::duration duration);
long long SecondsUp(Clock::duration duration);

}  // namespace vardelle::demo::stand_in

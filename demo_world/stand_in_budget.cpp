#include "demo_world/stand_in_budget.h"

#include <algorithm>
#include <cmath>

namespace vardelle::demo::stand_in {

int Remaining(const RateWindow& window, int budget) {
  return std::max(budget - window.consumed, 0);
}

long long RoundedSeconds(Clock::duration duration) {
  return std::llround(std::chrono::duration<double>(duration).count());
}

long long SecondsUp(Clock::duration duration) {
  return static_cast<long long>(std::ceil(std::chrono::duration<double>(duration).count()));
}

}  // namespace vardelle::demo::stand_in

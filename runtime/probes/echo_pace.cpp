#include "runtime/probes/echo_pace.h"

#include <algorithm>
#include <thread>

namespace vardelle {

EchoPace::EchoPace(int perSecond, int burst, Clock::time_point start)
    : interval_(std::chrono::nanoseconds(std::chrono::seconds(1)) / std::max(perSecond, 1)),
      tolerance_(interval_ * (std::max(burst, 1) - 1)),
      due_(start) {}

bool EchoPace::TryTake(Clock::time_point now) {
  if (now < NextTurn()) return false;
  due_ = std::max(due_, now) + interval_;
  return true;
}

void EchoPace::Take() {
  while (!TryTake(Clock::now())) std::this_thread::sleep_until(NextTurn());
}

}  // namespace vardelle

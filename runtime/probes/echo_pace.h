// The pace of echo requests sent for a user who is not root: a program holding CAP_NET_RAW
// must not become a packet flood for anyone who can start it.
#pragma once

#include <chrono>

namespace vardelle {

inline constexpr int kUnprivilegedEchoesPerSecond = 20000;
inline constexpr int kUnprivilegedEchoBurst = 100;  // 5 ms of the pace, sent back to back

// A token bucket: in the long run at most perSecond turns a second, and at most burst at once
// after a pause. Full at start.
class EchoPace {
 public:
  using Clock = std::chrono::steady_clock;

  EchoPace(int perSecond, int burst, Clock::time_point start);
  // Takes a turn when one is free at now.
  bool TryTake(Clock::time_point now);
  // When the next turn is free.
  Clock::time_point NextTurn() const { return due_ - tolerance_; }
  // Waits for a turn and takes it.
  void Take();

 private:
  const std::chrono::nanoseconds interval_;
  const std::chrono::nanoseconds tolerance_;  // how far ahead of the steady pace turns may go
  Clock::time_point due_;                     // when the next turn is due at the steady pace
};

}  // namespace vardelle

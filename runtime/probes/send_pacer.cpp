#include "runtime/probes/send_pacer.h"

#include <algorithm>

namespace vardelle {

std::size_t SendPacer::Allowance(Clock::time_point now) {
  if (now >= NextWindow()) {
    const Clock::time_point due = NextWindow();
    if (spent_ > 0 && !troubled_) Widen();
    // A thread that wakes late for its window (a busy machine) would otherwise lose the
    // lateness at every window, and the pace with it; one late by a whole pause or more was
    // idle or stalled, and starts afresh.
    opened_ = now - due < pause_ ? due : now;
    spent_ = 0;
    troubled_ = false;
  }
  return troubled_ || spent_ >= window_ ? 0 : window_ - spent_;
}

void SendPacer::Troubled() {
  troubled_ = true;
  if (window_ > 1) {
    window_ /= 2;
  } else {
    pause_ = std::min<Clock::duration>(pause_ * 2, kLongestPause);
  }
}

// Slower than the halving, so a pace just above what the interface drains is not tried again
// at every other window.
void SendPacer::Widen() {
  if (pause_ > kShortestPause) {
    pause_ = std::max<Clock::duration>(pause_ / 2, kShortestPause);
  } else {
    window_ = std::min(kWidestWindow, window_ + window_ / 8 + 1);
  }
}

}  // namespace vardelle

// How fast an engine puts echo requests on the wire.
#pragma once

#include <chrono>
#include <cstddef>

namespace vardelle {

// The pace of the sends. An interface takes packets into a queue of its own (500 packets
// for a tun device, 1,000 for most Ethernet ones) and a tun device drops what its full
// queue cannot hold without telling the sender, so a burst of thousands of echoes would
// lose most of them. The rule, fping's minimum interval made into windows:
// - requests go out in windows: at most Window() of them, then nothing until Pause() after
//   the window opened;
// - a window in which the socket refused a send (no buffer space) or an interface dropped
//   a packet is closed at once, and the pace halves: a narrower window, and once it is a
//   single request, a longer pause (up to kLongestPause);
// - each window that opens after a clean one widens the pace again, pause first, up to
//   kWidestWindow requests every kShortestPause;
// - a window is timed from when it was due, not from when the engine came for it, unless
//   that was a whole pause or more later.
// The widest pace (128 every millisecond, 128,000 a second) stays below what a 100 Mbit/s
// Ethernet link carries (148,800 of the smallest frames a second), so a wired player's own
// link never builds a queue of ours; it puts 1,000 requests on the wire in about 8 ms and
// 10,000 in about 80. The narrowest still sends 125 a second, so pacing alone never holds a
// request back for long. Only the engine's thread uses a pacer.
class SendPacer {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::size_t kWidestWindow = 128;
  static constexpr std::chrono::milliseconds kShortestPause{1};
  static constexpr std::chrono::milliseconds kLongestPause{8};

  // How many requests may go out at now; opens a new window when the pause is over.
  std::size_t Allowance(Clock::time_point now);
  // count requests went out in the current window.
  void Spent(std::size_t count) { spent_ += count; }
  // A send was refused or a packet dropped: the window closes and the pace halves.
  void Troubled();
  // When the next window opens.
  Clock::time_point NextWindow() const { return opened_ + pause_; }

  std::size_t Window() const { return window_; }
  Clock::duration Pause() const { return pause_; }

 private:
  void Widen();

  std::size_t window_ = kWidestWindow;
  Clock::duration pause_ = kShortestPause;
  Clock::time_point opened_{};  // long ago: the first request goes at once
  std::size_t spent_ = 0;
  bool troubled_ = false;  // in the current window
};

}  // namespace vardelle

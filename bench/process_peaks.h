// The process's own peaks while a benchmark runs, read from /proc/self/status: its thread
// count, sampled every millisecond by a watcher thread, and its resident memory's high-water
// mark, which the kernel keeps and can start afresh.
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace vardelle::bench {

// A number field of /proc/self/status ("Threads"; "VmRSS" and "VmHWM" in KiB); -1 when absent.
inline long StatusField(const char* name) noexcept {
  FILE* status = std::fopen("/proc/self/status", "re");
  if (status == nullptr) return -1;
  const std::size_t length = std::strlen(name);
  long value = -1;
  char line[256];
  while (std::fgets(line, sizeof line, status) != nullptr) {
    if (std::strncmp(line, name, length) == 0 && line[length] == ':') {
      value = std::strtol(line + length + 1, nullptr, 10);
      break;
    }
  }
  std::fclose(status);
  return value;
}

inline long ThreadCount() noexcept { return StatusField("Threads"); }
inline double ResidentMiB() noexcept { return static_cast<double>(StatusField("VmRSS")) / 1024; }
inline double PeakResidentMiB() noexcept {
  return static_cast<double>(StatusField("VmHWM")) / 1024;
}

// Starts the high-water mark afresh from what is resident now, so a benchmark's peak is its
// own rather than an earlier one's in the same process. Where the kernel refuses, the mark
// stays the process's peak so far: never less than the truth.
inline void ResetPeakResident() noexcept {
  if (FILE* refs = std::fopen("/proc/self/clear_refs", "we")) {
    std::fputs("5", refs);
    std::fclose(refs);
  }
}

// The most threads the process had from construction to destruction, the watcher itself not
// counted. Sampling ends after kLongestWatch even if the watcher is never destroyed.
class ThreadCountWatcher {
 public:
  static constexpr std::chrono::minutes kLongestWatch{15};

  ThreadCountWatcher() : peak_(ThreadCount()), watcher_([this] { Watch(); }) {}
  ~ThreadCountWatcher() {
    stop_ = true;
    watcher_.join();
  }
  ThreadCountWatcher(const ThreadCountWatcher&) = delete;
  ThreadCountWatcher& operator=(const ThreadCountWatcher&) = delete;

  long Peak() const { return peak_; }

 private:
  void Watch() noexcept {
    const auto end = std::chrono::steady_clock::now() + kLongestWatch;
    while (!stop_ && std::chrono::steady_clock::now() < end) {
      peak_ = std::max(peak_.load(), ThreadCount() - 1);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }

  std::atomic<bool> stop_{false};
  std::atomic<long> peak_;
  std::thread watcher_;  // last: it reads the members above from its first moment
};

}  // namespace vardelle::bench

// The order of overlapping test runs. Runs are numbered as they start; a row remembers the
// newest run that wrote to it, and an older run's worker that comes late writes nothing
// there, so a slow probe of an old run never replaces a newer run's result.
#pragma once

#include <cstdint>
#include <mutex>
#include <unordered_map>

#include "app/window/main_window_view.h"

namespace vardelle {

class TestRunOrder {
 public:
  // A number above every number handed out before.
  std::uint64_t NextRun();
  bool IsNewestRun(std::uint64_t run) const;

  // Runs write() for the row unless a newer run has written to it; write() runs under this
  // object's lock, so no newer run can slip in between the check and the write.
  template <typename Write>
  void WriteIfCurrent(RowId row, std::uint64_t run, Write write) {
    std::lock_guard guard(mutex_);
    std::uint64_t& newest = newestWriter_[row.value];
    if (run < newest) return;
    newest = run;
    write();
  }

 private:
  mutable std::mutex mutex_;
  std::uint64_t lastRun_ = 0;
  std::unordered_map<std::uint64_t, std::uint64_t> newestWriter_;
};

}  // namespace vardelle

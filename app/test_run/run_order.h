// The order of overlapping test runs. Runs are numbered as they start; a row remembers the
// newest run that wrote to it, and an older run's worker that comes late writes nothing
// there, so a slow probe of an old run never replaces a newer run's result.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "app/window/main_window_view.h"

namespace vardelle {

class TestRunOrder {
 public:
  // A number above every number handed out before.
  std::uint64_t NextRun();
  bool IsNewestRun(std::uint64_t run) const;

  // Runs write() for the row unless a newer run has written to it; write() runs under the
  // row's own lock, so no newer run can slip in between the check and the write, while
  // workers of other rows write at the same time.
  template <typename Write>
  void WriteIfCurrent(RowId row, std::uint64_t run, Write write) {
    RowSlot& slot = SlotOf(row);
    std::lock_guard guard(slot.mutex);
    if (run < slot.newestWriter) return;
    slot.newestWriter = run;
    write();
  }

 private:
  struct RowSlot {
    std::mutex mutex;
    std::uint64_t newestWriter = 0;
  };
  // Slots are never removed (row identities are never reused), so a slot stays where it is.
  RowSlot& SlotOf(RowId row);

  mutable std::mutex mutex_;
  std::uint64_t lastRun_ = 0;
  std::unordered_map<std::uint64_t, std::unique_ptr<RowSlot>> slots_;
};

}  // namespace vardelle

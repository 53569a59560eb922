#include "app/test_run/run_order.h"

namespace vardelle {

std::uint64_t TestRunOrder::NextRun() {
  std::lock_guard guard(mutex_);
  return ++lastRun_;
}

TestRunOrder::RowSlot& TestRunOrder::SlotOf(RowId row) {
  std::lock_guard guard(mutex_);
  std::unique_ptr<RowSlot>& slot = slots_[row.value];
  if (!slot) slot = std::make_unique<RowSlot>();
  return *slot;
}

bool TestRunOrder::IsNewestRun(std::uint64_t run) const {
  std::lock_guard guard(mutex_);
  return run == lastRun_;
}

}  // namespace vardelle

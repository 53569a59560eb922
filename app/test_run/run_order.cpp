#include "app/test_run/run_order.h"

namespace vardelle {

std::uint64_t TestRunOrder::NextRun() {
  std::lock_guard guard(mutex_);
  return ++lastRun_;
}

bool TestRunOrder::IsNewestRun(std::uint64_t run) const {
  std::lock_guard guard(mutex_);
  return run == lastRun_;
}

}  // namespace vardelle

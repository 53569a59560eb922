// Waiting in a test for something another thread brings about, without a fixed sleep.
#pragma once

#include <chrono>
#include <thread>

namespace vardelle::testing {

// Looks at condition every 10 ms until it holds or limit has passed; whether it held.
template <typename Condition>
bool AwaitCondition(Condition condition, std::chrono::steady_clock::duration limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

}  // namespace vardelle::testing

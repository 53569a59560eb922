// The location lookups that run beside the loading: at most 8 at once, every result
// delivered, a failing one stopping no other. (Their use by the loading is tested with it.)
#include "app/location/location_lookups.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>

namespace vardelle {
namespace {

// A gate the lookups wait at until the test opens it; counts how many wait at once.
class Gate {
 public:
  void Pass() {
    std::unique_lock lock(mutex);
    ++inside;
    maxInside = std::max(maxInside, inside);
    changed.notify_all();
    changed.wait(lock, [this] { return open; });
    --inside;
  }
  void Open() {
    std::lock_guard guard(mutex);
    open = true;
    changed.notify_all();
  }
  // Whether `count` lookups are waiting within a few seconds.
  bool WaitForInside(int count) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, std::chrono::seconds(10), [&] { return inside >= count; });
  }
  int MaxInside() {
    std::lock_guard guard(mutex);
    return maxInside;
  }

 private:
  std::mutex mutex;
  std::condition_variable changed;
  bool open = false;
  int inside = 0;
  int maxInside = 0;
};

TEST(LocationLookupsTest, AtMostEightRunAtOnceAndEveryResultIsDelivered) {
  constexpr int kLookups = 30;
  Gate gate;
  std::mutex mutex;
  std::map<std::string, std::string> delivered;
  {
    LocationLookups lookups;
    for (int i = 0; i < kLookups; ++i) {
      lookups.Start(
          "10.0.0." + std::to_string(i),
          [&gate](const std::string& address) {
            gate.Pass();
            return "at " + address;
          },
          [&mutex, &delivered, i](const Text& result) {
            std::lock_guard guard(mutex);
            delivered["10.0.0." + std::to_string(i)] = result;
          });
    }
    ASSERT_TRUE(gate.WaitForInside(LocationLookups::kMaxLookupsInFlight));
    // Give a ninth lookup the chance to start, were there room for one.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(gate.MaxInside(), LocationLookups::kMaxLookupsInFlight);
    {
      std::lock_guard guard(mutex);
      EXPECT_TRUE(delivered.empty());
    }
    gate.Open();
    lookups.Wait();
    std::lock_guard guard(mutex);
    ASSERT_EQ(delivered.size(), static_cast<size_t>(kLookups));
    for (const auto& [address, result] : delivered) EXPECT_EQ(result, "at " + address);
  }
  EXPECT_EQ(gate.MaxInside(), LocationLookups::kMaxLookupsInFlight);
}

// At program end only the lookups already running are waited for.
TEST(LocationLookupsTest, StopDropsTheLookupsNotBegunAndAnyStartedLater) {
  Gate gate;
  std::atomic<int> delivered = 0;
  LocationLookups lookups;
  const auto start = [&] {
    lookups.Start(
        "10.0.0.1",
        [&gate](const std::string& address) {
          gate.Pass();
          return address;
        },
        [&delivered](const Text&) { ++delivered; });
  };
  for (int i = 0; i < 20; ++i) start();
  ASSERT_TRUE(gate.WaitForInside(LocationLookups::kMaxLookupsInFlight));
  lookups.Stop();
  start();
  gate.Open();
  lookups.Wait();
  EXPECT_EQ(delivered, LocationLookups::kMaxLookupsInFlight);
}

TEST(LocationLookupsTest, AFailingLookupOrDeliveryStopsNoOther) {
  std::atomic<int> delivered = 0;
  LocationLookups lookups;
  for (int i = 0; i < 20; ++i) {
    lookups.Start(
        std::to_string(i),
        [](const std::string& address) -> Text {
          if (address == "3") throw std::runtime_error("lookup");
          return address;
        },
        [&delivered](const Text& result) {
          if (result == "5") throw std::runtime_error("delivery");
          ++delivered;
        });
  }
  lookups.Wait();
  EXPECT_EQ(delivered, 18);
  // The lookups stay usable afterwards.
  lookups.Start("x", [](const std::string& a) { return a; }, [&](const Text&) { ++delivered; });
  lookups.Wait();
  EXPECT_EQ(delivered, 19);
}

}  // namespace
}  // namespace vardelle

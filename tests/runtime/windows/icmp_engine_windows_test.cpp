// The Windows echo engine. Under Wine every 127.0.0.x address answers, so replies that must
// not count (another address, an ICMP error, a late one) are judged by EchoOutcome on its
// own, and the engine itself is driven against 127.0.0.1.
#include "runtime/windows/icmp_engine_windows.h"

#include <gtest/gtest.h>
#include <iphlpapi.h>
#include <windows.h>
#include <winsock2.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <set>
#include <thread>
#include <vector>

namespace vardelle {
namespace {

using std::chrono::milliseconds;
using std::chrono::nanoseconds;
using namespace std::chrono_literals;

constexpr Ipv4Address kLoopback = 0x0100007f;  // 127.0.0.1 as it lies in memory
constexpr Ipv4Address kTarget = 0x0500c80a;    // 10.200.0.5
constexpr Ipv4Address kRouter = 0x0100c80a;    // 10.200.0.1
// Wide enough for a loaded machine running Wine.
constexpr milliseconds kLongTimeout = 20s;

TEST(EchoOutcomeTest, OnlyATimelySuccessFromTheProbedAddressCounts) {
  // {replies parsed, status, from, the reply's round trip, elapsed on the steady clock}
  const struct {
    const char* name;
    EchoCompletion completion;
    std::optional<nanoseconds> expected;
  } cases[] = {
      {"reply's figure, the clock a little longer", {1, IP_SUCCESS, kTarget, 7ms, 7400us}, 7ms},
      {"completion run after the batch was sent", {1, IP_SUCCESS, kTarget, 0ms, 19ms}, 0ms},
      {"completion run late", {1, IP_SUCCESS, kTarget, 7ms, 150ms}, 7ms},
      {"reply's figure above the clock's", {1, IP_SUCCESS, kTarget, 9ms, 3ms}, 3ms},
      {"reply at the time-out itself", {1, IP_SUCCESS, kTarget, 100ms, 100ms}, 100ms},
      {"reply after the time-out", {1, IP_SUCCESS, kTarget, 101ms, 101ms}, std::nullopt},
      {"reply from another address", {1, IP_SUCCESS, kRouter, 7ms, 7ms}, std::nullopt},
      {"unreachable from a router", {1, IP_DEST_HOST_UNREACHABLE, kRouter, 7ms, 7ms}, std::nullopt},
      {"unreachable naming the target",
       {1, IP_DEST_HOST_UNREACHABLE, kTarget, 7ms, 7ms},
       std::nullopt},
      {"time exceeded on the way", {1, IP_TTL_EXPIRED_TRANSIT, kRouter, 7ms, 7ms}, std::nullopt},
      {"timed out by the system", {0, IP_REQ_TIMED_OUT, 0, 0ms, 100ms}, std::nullopt},
      {"nothing parsed", {0, IP_SUCCESS, kTarget, 7ms, 7ms}, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EchoOutcome(c.completion, kTarget, 100ms), c.expected) << c.name;
  }
}

// Every request's end, with the thread it ran on; a second end of one request is a fault.
class Ends {
 public:
  IcmpEngine::EchoDone Next() {
    std::lock_guard guard(mutex_);
    const std::size_t index = ends_.size();
    ends_.emplace_back();
    return [this, index](std::optional<nanoseconds> roundTrip) {
      std::lock_guard ending(mutex_);
      if (ends_[index].count++ == 0) ends_[index].roundTrip = roundTrip;
      ends_[index].thread = std::this_thread::get_id();
      ++ended_;
      changed_.notify_all();
    };
  }
  bool WaitForAll(std::chrono::seconds limit) { return WaitFor(ends_.size(), limit); }
  bool WaitFor(std::size_t count, std::chrono::seconds limit) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [&] { return ended_ >= count; });
  }
  struct End {
    int count = 0;
    std::optional<nanoseconds> roundTrip;
    std::thread::id thread;
  };
  std::vector<End> Snapshot() {
    std::lock_guard guard(mutex_);
    return ends_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<End> ends_;
  std::size_t ended_ = 0;
};

std::unique_ptr<IcmpEngine> StartedEngine() {
  IcmpEngineStart start = StartWindowsIcmpEngine();
  EXPECT_TRUE(start.engine) << start.unavailableReason;
  EXPECT_EQ(start.unavailableReason.empty(), start.engine != nullptr);
  return std::move(start.engine);
}

TEST(WindowsIcmpEngineTest, LoopbackAnswersWithinTheTimeOut) {
  const auto engine = StartedEngine();
  ASSERT_TRUE(engine);
  const auto roundTrip = engine->Echo(kLoopback, kLongTimeout);
  ASSERT_TRUE(roundTrip.has_value());
  EXPECT_GE(*roundTrip, 0ns);
  EXPECT_LE(*roundTrip, kLongTimeout);
}

TEST(WindowsIcmpEngineTest, ConcurrentCallersAreEachAnsweredOnceOnTheEngineThread) {
  constexpr int kCallers = 4;
  constexpr int kPerCaller = 50;
  const auto engine = StartedEngine();
  ASSERT_TRUE(engine);
  Ends ends;
  std::vector<std::thread> callers;
  for (int c = 0; c < kCallers; ++c) {
    callers.emplace_back([&] {
      for (int i = 0; i < kPerCaller; ++i) engine->Send(kLoopback, kLongTimeout, ends.Next());
    });
  }
  for (std::thread& caller : callers) caller.join();
  ASSERT_TRUE(ends.WaitForAll(60s));
  std::set<std::thread::id> threads;
  for (const auto& end : ends.Snapshot()) {
    EXPECT_EQ(end.count, 1);
    EXPECT_TRUE(end.roundTrip.has_value());
    threads.insert(end.thread);
  }
  EXPECT_EQ(threads.size(), 1u);
  EXPECT_NE(*threads.begin(), std::this_thread::get_id());
}

// Each request's figure is its own: a batch sent in one go reads alike on loopback, where
// a time taken from the completions fell with the order of sending (30 hosts: 11-17 ms
// apart). Idle, they read within a millisecond; the bound leaves room for a loaded machine,
// where Wine's own figures carry a few milliseconds.
TEST(WindowsIcmpEngineTest, ABatchOnLoopbackReadsAlikeWhateverTheOrderOfSending) {
  constexpr int kHosts = 30;
  const auto engine = StartedEngine();
  ASSERT_TRUE(engine);
  Ends ends;
  for (Ipv4Address host = 1; host <= kHosts; ++host) {
    engine->Send(host << 24 | 0x7f, kLongTimeout, ends.Next());  // 127.0.0.host
  }
  ASSERT_TRUE(ends.WaitForAll(60s));
  std::vector<nanoseconds> figures;
  for (const auto& end : ends.Snapshot()) {
    ASSERT_TRUE(end.roundTrip.has_value());
    figures.push_back(*end.roundTrip);
  }
  const auto [least, most] = std::minmax_element(figures.begin(), figures.end());
  EXPECT_LE(*most - *least, 5ms) << "first sent " << figures.front().count() << " ns, last sent "
                                 << figures.back().count() << " ns";
}

TEST(WindowsIcmpEngineTest, DestroyingTheEngineEndsEveryRequestOnce) {
  constexpr int kRequests = 200;
  Ends ends;
  {
    const auto engine = StartedEngine();
    ASSERT_TRUE(engine);
    for (int i = 0; i < kRequests; ++i) engine->Send(kLoopback, kLongTimeout, ends.Next());
    // Once one has ended the rest are issued, and most are still in flight.
    ASSERT_TRUE(ends.WaitFor(1, 60s));
  }
  const auto snapshot = ends.Snapshot();
  ASSERT_EQ(snapshot.size(), static_cast<std::size_t>(kRequests));
  for (const auto& end : snapshot) EXPECT_EQ(end.count, 1);
}

TEST(WindowsIcmpEngineTest, AZeroTimeOutWaitsForNothing) {
  const auto engine = StartedEngine();
  ASSERT_TRUE(engine);
  EXPECT_EQ(engine->Echo(kLoopback, 0ms), std::nullopt);
  EXPECT_EQ(engine->Echo(kLoopback, -5ms), std::nullopt);
  EXPECT_TRUE(engine->Echo(kLoopback, kLongTimeout).has_value())
      << "the early ends leave it working";
}

// A done may throw or send the next request itself; neither stops the engine.
TEST(WindowsIcmpEngineTest, ADoneThatThrowsOrSendsAgainLeavesTheEngineWorking) {
  const auto engine = StartedEngine();
  ASSERT_TRUE(engine);
  Ends ends;
  IcmpEngine::EchoDone second = ends.Next();
  engine->Send(kLoopback, kLongTimeout, [&engine, &second](std::optional<nanoseconds>) {
    engine->Send(kLoopback, kLongTimeout, std::move(second));
    throw std::runtime_error("from done");
  });
  ASSERT_TRUE(ends.WaitForAll(60s));
  EXPECT_TRUE(ends.Snapshot()[0].roundTrip.has_value());
  EXPECT_TRUE(engine->Echo(kLoopback, kLongTimeout).has_value());
}

}  // namespace
}  // namespace vardelle

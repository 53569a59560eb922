// The Windows echo engine. Under Wine every 127.0.0.x address answers, so replies that must
// not count (another address, an ICMP error, a late one) are judged by EchoOutcome on its
// own, and the engine itself is driven against 127.0.0.1 and ::1.
#include "runtime/windows/icmp_engine_windows.h"

#include <gtest/gtest.h>
#include <iphlpapi.h>
#include <windows.h>
#include <winsock2.h>
// After iphlpapi.h, whose types it takes.
#include <icmpapi.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <set>
#include <string>
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
constexpr Ipv6Address kIpv6Loopback = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
constexpr Ipv6Address kIpv6Target = {0xfd, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5};
constexpr Ipv6Address kIpv6Router = {0xfd, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
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

TEST(EchoOutcomeTest, AnIpv6ReplyCountsOnlyFromTheProbedIpv6Address) {
  const struct {
    const char* name;
    EchoCompletion completion;
    std::optional<nanoseconds> expected;
  } cases[] = {
      {"reply from the target", {1, IP_SUCCESS, kIpv6Target, 7ms, 9ms}, 7ms},
      {"reply from another address", {1, IP_SUCCESS, kIpv6Router, 7ms, 9ms}, std::nullopt},
      {"hop limit exceeded on the way",
       {1, IP_HOP_LIMIT_EXCEEDED, kIpv6Router, 7ms, 9ms},
       std::nullopt},
      {"an IPv4 address of the same first bytes",
       {1, IP_SUCCESS, Ipv4Address{0x000200fd}, 7ms, 9ms},
       std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(EchoOutcome(c.completion, kIpv6Target, 100ms), c.expected) << c.name;
  }
}

// The reply's layout is the system's, not that of mingw-w64's unpacked IPV6_ADDRESS_EX.
TEST(EchoOutcomeTest, AnIpv6ReplyBufferIsReadAsTheSystemLaysItOut) {
  std::array<unsigned char, 64> reply{};
  std::copy(kIpv6Target.begin(), kIpv6Target.end(), reply.begin() + 6);
  reply[28] = IP_SUCCESS;
  reply[32] = 7;  // RoundTripTime, little-endian
  const EchoCompletion completion = Ipv6EchoCompletion(reply, 1, 9ms);
  EXPECT_EQ(completion.from, EchoAddress(kIpv6Target));
  EXPECT_EQ(EchoOutcome(completion, kIpv6Target, 100ms), 7ms);
  reply[28] = IP_HOP_LIMIT_EXCEEDED & 0xff;
  reply[29] = IP_HOP_LIMIT_EXCEEDED >> 8;
  EXPECT_EQ(Ipv6EchoCompletion(reply, 1, 9ms).status, IP_HOP_LIMIT_EXCEEDED);
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

// Whether this system has ICMP.DLL's IPv6 echo service. Wine (8.0) has none: its
// Icmp6CreateFile and Icmp6SendEcho2 are stubs that fail with ERROR_CALL_NOT_IMPLEMENTED.
bool SystemEchoesIpv6() {
  const HANDLE handle = Icmp6CreateFile();
  if (handle == INVALID_HANDLE_VALUE) return false;
  IcmpCloseHandle(handle);
  return true;
}

// Both families in one batch, interleaved, each request ended once: every one answered
// within the time-out, or, without the IPv6 service, every IPv6 one ended without an answer
// and every IPv4 one answered all the same.
TEST(WindowsIcmpEngineTest, AMixedIpv4AndIpv6BatchIsAnsweredAsFarAsTheSystemEchoesIpv6) {
  constexpr int kPerFamily = 20;
  const bool ipv6Answers = SystemEchoesIpv6();
  const auto engine = StartedEngine();
  ASSERT_TRUE(engine);
  Ends ends;
  for (int i = 0; i < kPerFamily; ++i) {
    engine->Send(kLoopback, kLongTimeout, ends.Next());
    engine->SendIpv6(kIpv6Loopback, kLongTimeout, ends.Next());
  }
  ASSERT_TRUE(ends.WaitForAll(60s));
  const auto snapshot = ends.Snapshot();
  for (std::size_t i = 0; i < snapshot.size(); ++i) {
    const bool ipv6 = i % 2 == 1;
    const std::string request = (ipv6 ? "IPv6 request " : "IPv4 request ") + std::to_string(i);
    EXPECT_EQ(snapshot[i].count, 1) << request;
    if (ipv6 && !ipv6Answers) {
      EXPECT_EQ(snapshot[i].roundTrip, std::nullopt) << request;
      continue;
    }
    ASSERT_TRUE(snapshot[i].roundTrip.has_value()) << request;
    EXPECT_GE(*snapshot[i].roundTrip, 0ns) << request;
    EXPECT_LE(*snapshot[i].roundTrip, kLongTimeout) << request;
  }
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

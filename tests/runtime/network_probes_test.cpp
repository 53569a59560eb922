// Live probes: on loopback in the host's namespace, and on a private tun network that each
// test builds in a namespace of its own (see RunsInOwnNetwork).
#include "runtime/probes/network_probes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <latch>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "runtime/linux/icmp_engine_linux.h"
#include "runtime/probes/internet_checksum.h"
#include "testing/tun_network.h"
#include "tests/support/named_cases.h"
#include "tests/support/own_network.h"

namespace vardelle {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using testnet::Target;
using Answer = Target::Answer;

// Replies come within microseconds of the responder's delay on an idle machine and within
// tens of milliseconds under a sanitizer on a loaded one. Answered probes get a time-out far
// beyond that, and the slack stays far short of it, so a reply missed and waited out still
// shows; only the probes that are meant to be waited out get the short one.
constexpr auto kSlack = milliseconds(1000);
constexpr auto kNetworkTimeout = milliseconds(10000);
constexpr auto kShortTimeout = milliseconds(500);

// Starting a thread takes milliseconds under ThreadSanitizer; a tenth of the callers still
// gives it every kind of overlap to check, in a tenth of the time.
#if defined(__SANITIZE_THREAD__)
constexpr int kCallerShare = 10;
#else
constexpr int kCallerShare = 1;
#endif

constexpr char kQuick[] = "10.200.0.12";
constexpr char kAfter20[] = "10.200.0.5";
constexpr char kAfter60[] = "10.200.0.11";
constexpr char kAfter150[] = "10.200.0.13";
constexpr char kSilent[] = "10.200.0.6";
constexpr char kUnreachable[] = "10.200.0.7";
constexpr char kFromElsewhere[] = "10.200.0.8";
constexpr char kBadChecksum[] = "10.200.0.9";
constexpr char kTimeExceeded[] = "10.200.0.10";
constexpr char kLongUnreachable[] = "10.200.0.14";
constexpr char kIpv6After5[] = "fd00:200::5";
constexpr char kIpv6After20[] = "fd00:200::20";
constexpr char kIpv6After100[] = "fd00:200::100";
constexpr char kIpv6Silent[] = "fd00:200::6";
constexpr char kIpv6Unreachable[] = "fd00:200::7";
constexpr char kIpv6TimeExceeded[] = "fd00:200::a";

std::vector<Target> StandardTargets() {
  return {{kQuick, Answer::kEcho, {}},
          {kAfter20, Answer::kEcho, milliseconds(20)},
          {kAfter60, Answer::kEcho, milliseconds(60)},
          {kAfter150, Answer::kEcho, milliseconds(150)},
          {kSilent, Answer::kSilent, {}},
          {kUnreachable, Answer::kHostUnreachable, {}},
          {kFromElsewhere, Answer::kEchoFromElsewhere, {}},
          {kBadChecksum, Answer::kEchoWithBadChecksum, {}},
          {kTimeExceeded, Answer::kTimeExceeded, {}},
          {kLongUnreachable, Answer::kLongUnreachable, {}},
          {kIpv6After5, Answer::kEcho, milliseconds(5)},
          {kIpv6After20, Answer::kEcho, milliseconds(20)},
          {kIpv6After100, Answer::kEcho, milliseconds(100)},
          {kIpv6Silent, Answer::kSilent, {}},
          {kIpv6Unreachable, Answer::kHostUnreachable, {}},
          {kIpv6TimeExceeded, Answer::kTimeExceeded, {}}};
}

timespec WallClockNow() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return now;
}

std::unique_ptr<testnet::TunResponder> StartResponder(std::vector<Target> targets) {
  std::string why;
  auto responder = testnet::TunResponder::Start(std::move(targets), &why);
  EXPECT_NE(responder, nullptr) << why;
  return responder;
}

void AllowUnprivilegedIcmp() {
  std::ofstream("/proc/sys/net/ipv4/ping_group_range") << "0 2147483647";
}

// Raw ICMP depends on this capability being in the effective set of the calling thread.
bool SetNetRawCapability(bool effective) {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[2] = {};
  if (syscall(SYS_capget, &header, data) != 0) return false;
  if (effective) {
    data[0].effective |= 1u << CAP_NET_RAW;
  } else {
    data[0].effective &= ~(1u << CAP_NET_RAW);
  }
  return syscall(SYS_capset, &header, data) == 0;
}

// ---------------------------------------------------------------------------------------
// Loopback in the host's namespace, through the process-wide engine.

// A probe is one echo, and a loaded host may lose one even on loopback (a full backlog of
// packets drops it unseen): answered is one answer out of a few probes.
bool LoopbackAnswersWithinTries(int tries) {
  for (int i = 0; i < tries; ++i) {
    if (PingHost("127.0.0.1", static_cast<int>(kNetworkTimeout.count())) >= 0) return true;
  }
  return false;
}

TEST(LoopbackProbeTest, TheReasonIsEmptyExactlyWhenLoopbackAnswers) {
  const std::string reason = ProbeUnavailableReason();
  if (reason.empty()) {
    EXPECT_TRUE(LoopbackAnswersWithinTries(3));
  } else {
    EXPECT_THAT(reason, HasSubstr("ping_group_range"));
    EXPECT_EQ(reason.find('\n'), std::string::npos) << "one line";
    EXPECT_EQ(PingHost("127.0.0.1", 200), -1);
  }
}

TEST(LoopbackProbeTest, ThousandsOfCallersAtOnceAreAllAnswered) {
  if (!ProbeUnavailableReason().empty()) GTEST_SKIP() << ProbeUnavailableReason();
  constexpr int kCallers = 2000 / kCallerShare;
  std::vector<int> roundTrips(kCallers, -2);
  std::latch go(kCallers);
  std::vector<std::thread> callers;
  callers.reserve(kCallers);
  for (int i = 0; i < kCallers; ++i) {
    callers.emplace_back([&, i] {
      go.arrive_and_wait();
      roundTrips[i] = PingHost("127.0.0." + std::to_string(1 + i % 200), 20000);
    });
  }
  for (std::thread& caller : callers) caller.join();
  EXPECT_THAT(roundTrips, ::testing::Each(::testing::Ge(0)));
}

TEST(LoopbackProbeTest, EmptyHostTextIsAFailureNotTheLocalMachine) {
  EXPECT_EQ(PingHost("", 200), -1);
  EXPECT_EQ(ResolveHostAddress(""), "");
  EXPECT_EQ(ResolveHostAddress("127.0.0.1"), "127.0.0.1") << "a dotted address comes back as is";
}

// ---------------------------------------------------------------------------------------
// Both engines on the private tun network.

struct EngineKind {
  std::string name;
  IcmpSocketKind kind;
};
using named_cases::CaseName;
using named_cases::PrintTo;

class TunEngineTest : public ::testing::TestWithParam<EngineKind> {
 protected:
  // Builds the network and the engine under test; false (with a failure recorded) if not.
  bool Build() {
    responder_ = StartResponder(StandardTargets());
    if (GetParam().kind == IcmpSocketKind::kDatagram) AllowUnprivilegedIcmp();
    IcmpEngineStart start = StartLinuxIcmpEngine(GetParam().kind);
    EXPECT_EQ(start.unavailableReason, "");
    engine_ = std::move(start.engine);
    return responder_ && engine_;
  }

  // An IPv4 or IPv6 address.
  std::optional<std::chrono::nanoseconds> Echo(const std::string& address,
                                               milliseconds timeout = kNetworkTimeout) {
    return engine_->Echo(testnet::ParseEchoAddress(address), timeout);
  }

  std::unique_ptr<testnet::TunResponder> responder_;
  std::unique_ptr<IcmpEngine> engine_;
};

TEST_P(TunEngineTest, ReportsTheResponderDelayAndSendsNoPayload) {
  RUN_IN_OWN_NETWORK();
  ASSERT_TRUE(Build());
  const struct {
    const char* address;
    milliseconds delay;
  } hosts[] = {{kAfter20, milliseconds(20)},
               {kIpv6After5, milliseconds(5)},
               {kIpv6After20, milliseconds(20)},
               {kIpv6After100, milliseconds(100)}};
  for (const auto& host : hosts) {
    SCOPED_TRACE(host.address);
    const auto roundTrip = Echo(host.address);
    ASSERT_TRUE(roundTrip.has_value());
    EXPECT_GE(*roundTrip, host.delay);
    EXPECT_LT(*roundTrip, host.delay + kSlack);
    EXPECT_THAT(responder_->RequestSizes(host.address), ElementsAre(8u)) << "the bare header";
  }
}

struct Unanswered {
  std::string name;
  const char* address;
  bool endsAtOnce;  // an ICMP error ends the wait; everything else waits out the time-out
  milliseconds Timeout() const { return endsAtOnce ? kNetworkTimeout : kShortTimeout; }
};

TEST_P(TunEngineTest, OnlyAnEchoReplyFromTheProbedAddressCounts) {
  RUN_IN_OWN_NETWORK();
  ASSERT_TRUE(Build());
  const Unanswered cases[] = {{"silent", kSilent, false},
                              {"reply from another address", kFromElsewhere, false},
                              {"reply with a bad checksum", kBadChecksum, false},
                              {"host unreachable", kUnreachable, true},
                              {"time exceeded", kTimeExceeded, true},
                              {"unreachable, longer than the buffer", kLongUnreachable, true},
                              {"IPv6 silent", kIpv6Silent, false},
                              {"IPv6 address unreachable", kIpv6Unreachable, true},
                              {"IPv6 time exceeded", kIpv6TimeExceeded, true}};
  struct Outcome {
    std::optional<std::chrono::nanoseconds> roundTrip;
    steady_clock::duration took;
  };
  std::vector<Outcome> outcomes(std::size(cases));
  std::vector<std::thread> probes;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    probes.emplace_back([&, i] {
      const auto start = steady_clock::now();
      outcomes[i].roundTrip = Echo(cases[i].address, cases[i].Timeout());
      outcomes[i].took = steady_clock::now() - start;
    });
  }
  for (std::thread& probe : probes) probe.join();
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].name);
    EXPECT_FALSE(outcomes[i].roundTrip.has_value());
    if (cases[i].endsAtOnce) {
      EXPECT_LT(outcomes[i].took, kNetworkTimeout / 2);
    } else {
      EXPECT_GE(outcomes[i].took, kShortTimeout);
    }
    EXPECT_THAT(responder_->RequestSizes(cases[i].address), ElementsAre(8u));
  }
  // The engine still answers after all that.
  EXPECT_TRUE(Echo(kQuick).has_value());
}

TEST_P(TunEngineTest, ConcurrentCallersEachGetTheirOwnReply) {
  RUN_IN_OWN_NETWORK();
  ASSERT_TRUE(Build());
  const struct {
    const char* address;
    std::optional<milliseconds> delay;
  } targets[] = {{kQuick, milliseconds(0)},          {kAfter60, milliseconds(60)},
                 {kAfter150, milliseconds(150)},     {kSilent, std::nullopt},
                 {kIpv6After5, milliseconds(5)},     {kIpv6After20, milliseconds(20)},
                 {kIpv6After100, milliseconds(100)}, {kIpv6Silent, std::nullopt}};
  constexpr int kCallers = 800 / kCallerShare;
  std::vector<std::optional<std::chrono::nanoseconds>> roundTrips(kCallers);
  std::latch go(kCallers);
  std::vector<std::thread> callers;
  for (int i = 0; i < kCallers; ++i) {
    callers.emplace_back([&, i] {
      go.arrive_and_wait();
      const auto& target = targets[i % std::size(targets)];
      roundTrips[i] = Echo(target.address, target.delay ? kNetworkTimeout : kShortTimeout);
    });
  }
  for (std::thread& caller : callers) caller.join();
  for (int i = 0; i < kCallers; ++i) {
    const auto& target = targets[i % std::size(targets)];
    SCOPED_TRACE(std::string("caller ") + std::to_string(i) + " probing " + target.address);
    ASSERT_EQ(roundTrips[i].has_value(), target.delay.has_value());
    // IPv4 and IPv6 callers share the sequence numbers, so a reply matched across families
    // would be a reshuffle too. Every answered caller got one reply and the silent ones none, so
    // replies handed to the wrong callers would be a reshuffle, and any reshuffle gives some caller
    // a reply of a quicker target: too early. No upper bound: hundreds of threads waking at once
    // under a sanitizer on a busy machine are late by tens of milliseconds.
    if (target.delay) {
      EXPECT_GE(*roundTrips[i], *target.delay);
    }
  }
  // More when the device dropped some and the engine sent them again.
  EXPECT_GE(responder_->RequestCount(), static_cast<std::size_t>(kCallers));
}

// More requests at once than the host behind the device takes within their time-out: each
// one's time-out counts from its own send, so waiting for its turn never makes a host that
// answers time out. A short queue keeps the wait in it far below the time-out, even when a
// sanitizer slows the responder tenfold. A loaded machine that stalls the responder for the
// whole time-out can still cost the few requests then in the device's queue, so the check
// leaves room for those; time-outs counted from the submission answer about a quarter.
TEST_P(TunEngineTest, EveryRequestHasItsWholeTimeOutFromItsOwnSend) {
  RUN_IN_OWN_NETWORK();
  ASSERT_TRUE(Build());
  constexpr int kQueueLength = 64;
  ASSERT_TRUE(testnet::TunResponder::SetQueueLength(kQueueLength));
  constexpr int kRequests = 12800;
  constexpr double kDrainSeconds = kRequests / testnet::LinkDrain::kSlowHost;
  constexpr double kFullQueueSeconds = kQueueLength / testnet::LinkDrain::kSlowHost;
  constexpr auto kTimeout = milliseconds(400);
  static_assert(kTimeout.count() >= 50 * 1000 * kFullQueueSeconds);
  static_assert(kTimeout.count() * 3 <= 1000 * kDrainSeconds);
  std::atomic<int> answered{0};
  std::latch ended(kRequests);
  for (int i = 0; i < kRequests; ++i) {
    engine_->Send(testnet::ParseAddress(kQuick), kTimeout,
                  [&](std::optional<std::chrono::nanoseconds> roundTrip) {
                    answered += roundTrip ? 1 : 0;
                    ended.count_down();
                  });
  }
  ended.wait();
  EXPECT_GE(answered, kRequests - 2 * kQueueLength);
}

// The host behind the device stops taking packets for a while, as a busy one does: every
// window sent meanwhile overflows the short queue and is sent again, dozens of times in all,
// and still no echo is lost once the host takes packets again.
TEST_P(TunEngineTest, AHostThatStallsLosesNoEcho) {
  RUN_IN_OWN_NETWORK();
  ASSERT_TRUE(Build());
  ASSERT_TRUE(testnet::TunResponder::SetQueueLength(64));
  constexpr int kRequests = 300;
  responder_->SetDrainRate(1);  // a packet a second: the queue fills, the rest are dropped
  std::atomic<int> answered{0};
  std::latch ended(kRequests);
  for (int i = 0; i < kRequests; ++i) {
    engine_->Send(testnet::ParseAddress(kAfter20), kNetworkTimeout,
                  [&](std::optional<std::chrono::nanoseconds> roundTrip) {
                    answered += roundTrip ? 1 : 0;
                    ended.count_down();
                  });
  }
  std::this_thread::sleep_for(milliseconds(150));
  responder_->SetDrainRate(testnet::LinkDrain::kSlowHost);
  ended.wait();
  EXPECT_EQ(answered, kRequests);
}

TEST_P(TunEngineTest, AZeroTimeOutSendsTheRequestButDoesNotWait) {
  RUN_IN_OWN_NETWORK();
  ASSERT_TRUE(Build());
  // The reply comes 20 ms later: a call that waited for it would have a time.
  EXPECT_FALSE(Echo(kAfter20, milliseconds(0)).has_value());
  EXPECT_TRUE(responder_->AwaitRequests(1, kNetworkTimeout));
  EXPECT_THAT(responder_->RequestSizes(kAfter20), ElementsAre(8u));
  std::this_thread::sleep_for(milliseconds(40));  // the late reply arrives and is dropped
  EXPECT_TRUE(Echo(kAfter20).has_value()) << "the dropped reply did not disturb the next probe";
}

TEST_P(TunEngineTest, TwoEnginesOfOneHostNeverTakeEachOthersReplies) {
  RUN_IN_OWN_NETWORK();
  ASSERT_TRUE(Build());
  // Both engines are fresh, so both send sequence number 0 to the same address; the second
  // goes 30 ms later and would see the first one's reply 30 ms early if it took it.
  IcmpEngineStart second = StartLinuxIcmpEngine(GetParam().kind);
  ASSERT_NE(second.engine, nullptr) << second.unavailableReason;
  std::optional<std::chrono::nanoseconds> firstRoundTrip;
  std::thread first([&] { firstRoundTrip = Echo(kAfter60); });
  std::this_thread::sleep_for(milliseconds(30));
  const auto secondRoundTrip =
      second.engine->Echo(testnet::ParseAddress(kAfter60), kNetworkTimeout);
  first.join();
  ASSERT_TRUE(firstRoundTrip && secondRoundTrip);
  EXPECT_GE(*firstRoundTrip, milliseconds(60));
  EXPECT_GE(*secondRoundTrip, milliseconds(60));
}

// The kernel turns arrival stamps on a while after the first socket asks for them; until then
// it stamps a packet when it is read. Once an engine has started, a packet read long after it
// came carries the time it came: a reply read late under load reads right.
TEST_P(TunEngineTest, PacketsAreStampedOnArrivalOnceTheEngineHasStarted) {
  RUN_IN_OWN_NETWORK();  // a process of its own, whose sockets have not asked for stamps before
  ASSERT_TRUE(Build());
  const int udp = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  ASSERT_GE(udp, 0);
  sockaddr_in self{};
  self.sin_family = AF_INET;
  self.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t selfSize = sizeof self;
  const int on = 1;
  ASSERT_EQ(bind(udp, reinterpret_cast<sockaddr*>(&self), sizeof self), 0);
  ASSERT_EQ(getsockname(udp, reinterpret_cast<sockaddr*>(&self), &selfSize), 0);
  ASSERT_EQ(setsockopt(udp, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on), 0);
  ASSERT_EQ(sendto(udp, "x", 1, 0, reinterpret_cast<sockaddr*>(&self), sizeof self), 1);
  const timespec sent = WallClockNow();
  std::this_thread::sleep_for(milliseconds(50));
  char byte = 0;
  iovec buffer{&byte, 1};
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(timespec))] = {};
  msghdr message{};
  message.msg_iov = &buffer;
  message.msg_iovlen = 1;
  message.msg_control = control;
  message.msg_controllen = sizeof control;
  ASSERT_EQ(recvmsg(udp, &message, 0), 1);
  close(udp);
  const cmsghdr* stamp = CMSG_FIRSTHDR(&message);
  ASSERT_TRUE(stamp != nullptr && stamp->cmsg_type == SCM_TIMESTAMPNS);
  timespec arrived;
  std::memcpy(&arrived, CMSG_DATA(stamp), sizeof arrived);
  EXPECT_LE(std::make_pair(arrived.tv_sec, arrived.tv_nsec),
            std::make_pair(sent.tv_sec, sent.tv_nsec))
      << "stamped when read, not when it came";
}

// A raw socket is told of every program's ICMP errors. One about another program's echo that
// carries our request's sequence number and destination must leave our request waiting.
TEST_P(TunEngineTest, AnotherProgramsErrorLeavesOurRequestWaiting) {
  if (GetParam().kind != IcmpSocketKind::kRaw) GTEST_SKIP() << "only a raw socket hears others";
  RUN_IN_OWN_NETWORK();
  ASSERT_TRUE(Build());
  std::optional<std::chrono::nanoseconds> roundTrip;
  std::thread prober([&] { roundTrip = Echo(kAfter150); });  // a fresh engine: sequence 0
  ASSERT_TRUE(responder_->AwaitRequests(1, kNetworkTimeout));
  // "Host unreachable" about an echo to the same host with sequence 0 and an identifier no
  // engine takes (this process's id itself), sent to this host, which hands it to raw sockets.
  std::vector<std::uint8_t> error = {3, 1,  0, 0, 0, 0, 0,  0, 0x45, 0,
                                     0, 28, 0, 0, 0, 0, 64, 1, 0,    0};
  const Ipv4Address from = testnet::ParseAddress(testnet::kTunAddress);
  const Ipv4Address to = testnet::ParseAddress(kAfter150);
  error.insert(error.end(), reinterpret_cast<const std::uint8_t*>(&from),
               reinterpret_cast<const std::uint8_t*>(&from) + 4);
  error.insert(error.end(), reinterpret_cast<const std::uint8_t*>(&to),
               reinterpret_cast<const std::uint8_t*>(&to) + 4);
  const auto identifier = static_cast<std::uint16_t>(getpid());
  error.insert(error.end(), {8, 0, 0, 0, static_cast<std::uint8_t>(identifier >> 8),
                             static_cast<std::uint8_t>(identifier), 0, 0});
  const std::uint16_t checksum = InternetChecksum(error);
  error[2] = static_cast<std::uint8_t>(checksum >> 8);
  error[3] = static_cast<std::uint8_t>(checksum);
  const int raw = socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
  ASSERT_GE(raw, 0);
  sockaddr_in here{};
  here.sin_family = AF_INET;
  here.sin_addr.s_addr = from;
  EXPECT_EQ(
      sendto(raw, error.data(), error.size(), 0, reinterpret_cast<sockaddr*>(&here), sizeof here),
      static_cast<ssize_t>(error.size()));
  close(raw);
  prober.join();
  ASSERT_TRUE(roundTrip.has_value()) << "ended by another program's error";
  EXPECT_GE(*roundTrip, milliseconds(150));
}

INSTANTIATE_TEST_SUITE_P(Engines, TunEngineTest,
                         ::testing::Values(EngineKind{"Datagram", IcmpSocketKind::kDatagram},
                                           EngineKind{"Raw", IcmpSocketKind::kRaw}),
                         CaseName<EngineKind>);

// ---------------------------------------------------------------------------------------
// The public calls in a private network, with hosts files of the test's own.

constexpr char kHosts[] =
    "127.0.0.1 localhost\n"
    "10.200.0.5 servers.vardelle.test\n"
    "10.200.0.11 servers.vardelle.test\n"
    "fd00:200::20 servers.vardelle.test\n"
    "10.200.0.12 v4only.vardelle.test\n"
    "fd00:200::100 v6only.vardelle.test\n";
// A name server that is not there: unknown names fail at once and nothing leaves.
constexpr char kResolvConf[] = "nameserver 127.0.0.1\noptions attempts:1 timeout:1\n";

void UseTestHostsFiles() {
  EXPECT_EQ(testnet::ReplaceSystemFile("/etc/hosts", kHosts), "");
  EXPECT_EQ(testnet::ReplaceSystemFile("/etc/resolv.conf", kResolvConf), "");
}

TEST(TunPingHostTest, ANameIsResolvedAndOnlyItsFirstAddressProbed) {
  RUN_IN_OWN_NETWORK();
  UseTestHostsFiles();
  const auto responder = StartResponder(StandardTargets());
  ASSERT_NE(responder, nullptr);
  EXPECT_EQ(ResolveHostAddress("servers.vardelle.test"), kAfter20);
  const int roundTrip =
      PingHost("servers.vardelle.test", static_cast<int>(kNetworkTimeout.count()));
  EXPECT_GE(roundTrip, 20);
  EXPECT_LT(roundTrip, 20 + kSlack.count());
  EXPECT_THAT(responder->RequestSizes(kAfter20), ElementsAre(8u));
  EXPECT_THAT(responder->RequestSizes(kAfter60), IsEmpty());
}

TEST(TunPingHostTest, TheFamilySettingPicksTheAddressOfAName) {
  RUN_IN_OWN_NETWORK();
  UseTestHostsFiles();
  const auto responder = StartResponder(StandardTargets());
  ASSERT_NE(responder, nullptr);
  const struct {
    const char* setting;
    const char* host;
    const char* address;  // "" when the name has none of the families chosen
    milliseconds delay;
  } cases[] = {{"ipv4-first", "servers.vardelle.test", kAfter20, milliseconds(20)},
               {"ipv4-first", "v6only.vardelle.test", kIpv6After100, milliseconds(100)},
               {"ipv6-first", "servers.vardelle.test", kIpv6After20, milliseconds(20)},
               {"ipv6-first", "v4only.vardelle.test", kQuick, milliseconds(0)},
               {"ipv6", "v4only.vardelle.test", "", {}},
               {"ipv4", "v6only.vardelle.test", "", {}},
               {"ipv4", "fd00:0200:0::5", kIpv6After5, milliseconds(5)}};  // as written
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.setting) + " " + c.host);
    const std::optional<AddressFamilies> families = ParseAddressFamilies(c.setting);
    ASSERT_TRUE(families.has_value());
    SetAddressFamilies(*families);
    EXPECT_EQ(ResolveHostAddress(c.host), c.address);
    const int roundTrip = PingHost(c.host, static_cast<int>(kNetworkTimeout.count()));
    if (*c.address == '\0') {
      EXPECT_EQ(roundTrip, -1);
    } else {
      EXPECT_GE(roundTrip, c.delay.count());
      EXPECT_LT(roundTrip, (c.delay + kSlack).count());
    }
  }
  EXPECT_FALSE(ParseAddressFamilies("both").has_value());
}

TEST(TunPingHostTest, AnUnknownNameIsEmptyTextAndMinusOneWithoutAProbe) {
  RUN_IN_OWN_NETWORK();
  UseTestHostsFiles();
  const auto responder = StartResponder(StandardTargets());
  ASSERT_NE(responder, nullptr);
  EXPECT_EQ(ResolveHostAddress("nowhere.vardelle.test"), "");
  EXPECT_EQ(PingHost("nowhere.vardelle.test", 500), -1);
  EXPECT_EQ(responder->RequestCount(), 0u);
}

TEST(TunPingHostTest, AnExplicitZeroTimeOutIsPassedOnAsZero) {
  RUN_IN_OWN_NETWORK();
  const auto responder = StartResponder(StandardTargets());
  ASSERT_NE(responder, nullptr);
  ASSERT_EQ(ProbeUnavailableReason(), "");  // the engine is started before the clock runs
  EXPECT_EQ(PingHost(kAfter20, 0), -1) << "the reply comes 20 ms later, after the call";
  EXPECT_TRUE(responder->AwaitRequests(1, kNetworkTimeout));
  EXPECT_THAT(responder->RequestSizes(kAfter20), ElementsAre(8u));
}

TEST(TunPingHostTest, WithoutPermissionEveryProbeFailsWithAReasonUntilAllowed) {
  RUN_IN_OWN_NETWORK();
  // A new namespace starts with unprivileged ICMP off; dropping CAP_NET_RAW closes the
  // raw way as well.
  ASSERT_TRUE(SetNetRawCapability(false));
  const std::string reason = ProbeUnavailableReason();
  EXPECT_THAT(reason, HasSubstr("sysctl -w net.ipv4.ping_group_range=\"0 2147483647\""));
  EXPECT_THAT(reason, HasSubstr("CAP_NET_RAW"));
  EXPECT_EQ(reason.find('\n'), std::string::npos) << "one line";
  EXPECT_EQ(PingHost("127.0.0.1", 200), -1);

  // Allowing the unprivileged socket is taken up by the next call: the failed start is
  // retried, and without CAP_NET_RAW only the datagram socket can be what now works.
  AllowUnprivilegedIcmp();
  EXPECT_EQ(ProbeUnavailableReason(), "");
  EXPECT_GE(PingHost("127.0.0.1", static_cast<int>(kNetworkTimeout.count())), 0);
  EXPECT_TRUE(SetNetRawCapability(true));
}

}  // namespace
}  // namespace vardelle

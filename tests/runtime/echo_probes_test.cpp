#include "runtime/probes/echo_probes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <latch>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "testing/await_condition.h"
#include "tests/holding_echo_engine.h"
#include "tests/support/named_cases.h"

namespace vardelle {
namespace {

using std::chrono::milliseconds;
using std::chrono::nanoseconds;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The address a.b.c.d as it lies in memory: its bytes in wire order.
Ipv4Address WireAddress(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
  const std::array<std::uint8_t, 4> bytes{a, b, c, d};
  Ipv4Address address = 0;
  std::memcpy(&address, bytes.data(), bytes.size());
  return address;
}

// Remembers every echo it is asked for and answers them all with one round-trip time.
class RecordingEngine final : public IcmpEngine {
 public:
  struct Call {
    Ipv4Address address;
    milliseconds timeout;
    bool operator==(const Call&) const = default;
  };

  explicit RecordingEngine(std::optional<nanoseconds> answer) : answer_(answer) {}

  void Send(Ipv4Address address, milliseconds timeout, EchoDone done) override {
    {
      std::lock_guard guard(mutex_);
      calls_.push_back({address, timeout});
    }
    done(answer_);
  }

  std::vector<Call> Calls() const {
    std::lock_guard guard(mutex_);
    return calls_;
  }

 private:
  const std::optional<nanoseconds> answer_;
  mutable std::mutex mutex_;
  std::vector<Call> calls_;
};

class TableResolver final : public HostResolver {
 public:
  TableResolver(std::map<std::string, std::string> table, std::vector<std::string>* asked)
      : table_(std::move(table)), asked_(asked) {}

  std::string FirstIpv4Address(const std::string& host) override {
    asked_->push_back(host);
    const auto found = table_.find(host);
    return found == table_.end() ? "" : found->second;
  }

 private:
  const std::map<std::string, std::string> table_;
  std::vector<std::string>* const asked_;
};

// Probes over a recording engine that is handed out on the first start-up and watched by the
// test afterwards.
struct ProbesWithFakes {
  explicit ProbesWithFakes(std::optional<nanoseconds> answer = milliseconds(12))
      : unstarted(std::make_unique<RecordingEngine>(answer)),
        engine(unstarted.get()),
        probes(
            [this] {
              ++starts;
              return IcmpEngineStart{std::move(unstarted), ""};
            },
            std::make_unique<TableResolver>(
                std::map<std::string, std::string>{{"game.example", "10.1.2.3"}}, &asked)) {}

  std::unique_ptr<RecordingEngine> unstarted;  // until the first start-up hands it over
  RecordingEngine* const engine;
  std::atomic<int> starts{0};
  std::vector<std::string> asked;
  EchoProbes probes;
};

TEST(EchoProbesTest, ADottedAddressIsProbedWithoutAskingTheResolver) {
  ProbesWithFakes fakes;
  EXPECT_EQ(fakes.probes.Ping("10.200.0.5", 500), 12);
  EXPECT_THAT(fakes.asked, IsEmpty());
  EXPECT_THAT(fakes.engine->Calls(),
              ElementsAre(RecordingEngine::Call{WireAddress(10, 200, 0, 5), milliseconds(500)}));
}

TEST(EchoProbesTest, ANameIsResolvedOnceAndItsAddressProbed) {
  ProbesWithFakes fakes;
  EXPECT_EQ(fakes.probes.Ping("game.example", 0), 12);
  EXPECT_THAT(fakes.asked, ElementsAre("game.example"));
  EXPECT_THAT(fakes.engine->Calls(),
              ElementsAre(RecordingEngine::Call{WireAddress(10, 1, 2, 3), milliseconds(0)}))
      << "an explicit time-out of 0 reaches the engine as 0";
}

struct UnprobedHost {
  std::string name;
  std::string host;
  int timeoutMs;
};
using named_cases::CaseName;
using named_cases::PrintTo;

class UnprobedHostTest : public ::testing::TestWithParam<UnprobedHost> {};

TEST_P(UnprobedHostTest, FailsWithoutSendingAnything) {
  ProbesWithFakes fakes;
  EXPECT_EQ(fakes.probes.Ping(GetParam().host, GetParam().timeoutMs), -1);
  EXPECT_THAT(fakes.engine->Calls(), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(BadHostsAndTimeOuts, UnprobedHostTest,
                         ::testing::Values(UnprobedHost{"EmptyHostIsNotTheLocalMachine", "", 1000},
                                           UnprobedHost{"UnknownName", "nowhere.example", 1000},
                                           UnprobedHost{"ZeroByteInsideTheText",
                                                        std::string("10.1.2.3\0.evil", 14), 1000},
                                           UnprobedHost{"NegativeTimeOut", "10.200.0.5", -1}),
                         CaseName<UnprobedHost>);

TEST(EchoProbesTest, SendingNeverLooksANameUpAndFailsAtOnceOnceStopped) {
  ProbesWithFakes fakes;
  std::vector<int> ends;
  const auto record = [&ends](int roundTripMs) { ends.push_back(roundTripMs); };
  fakes.probes.Send("10.200.0.5", 500, record);
  fakes.probes.Send("game.example", 500, record);
  fakes.probes.Send("10.200.0.5", -1, record);
  fakes.probes.Stop();
  fakes.probes.Send("10.200.0.5", 500, record);
  EXPECT_THAT(ends, ElementsAre(12, -1, -1, -1));
  EXPECT_THAT(fakes.asked, IsEmpty());
  EXPECT_EQ(fakes.starts, 1) << "a stopped engine is not started again";
}

TEST(EchoProbesTest, ResolveGivesTheFirstAddressOrEmptyTextAndNeverAsksAboutEmptyText) {
  ProbesWithFakes fakes;
  EXPECT_EQ(fakes.probes.Resolve("game.example"), "10.1.2.3");
  EXPECT_EQ(fakes.probes.Resolve("nowhere.example"), "");
  EXPECT_EQ(fakes.probes.Resolve(""), "");
  EXPECT_EQ(fakes.probes.Resolve(std::string("game.example\0x", 14)), "");
  EXPECT_THAT(fakes.asked, ElementsAre("game.example", "nowhere.example"));
}

TEST(EchoProbesTest, RoundTripsAreCutToWholeMillisecondsAndNoReplyIsMinusOne) {
  const struct {
    std::optional<nanoseconds> roundTrip;
    int reported;
  } cases[] = {{nanoseconds(999'999), 0},
               {milliseconds(1), 1},
               {nanoseconds(20'900'000), 20},
               {std::nullopt, -1}};
  for (const auto& c : cases) {
    ProbesWithFakes fakes(c.roundTrip);
    EXPECT_EQ(fakes.probes.Ping("10.200.0.5", 100), c.reported)
        << (c.roundTrip ? c.roundTrip->count() : -1) << " ns";
  }
}

TEST(EchoProbesTest, CallsArrivingTogetherStartTheEngineOnce) {
  ProbesWithFakes fakes;
  constexpr int kCallers = 32;
  std::latch go(kCallers);
  std::atomic<int> answered{0};
  std::vector<std::thread> callers;
  for (int i = 0; i < kCallers; ++i) {
    callers.emplace_back([&] {
      go.arrive_and_wait();
      if (fakes.probes.Ping("10.200.0.5", 100) == 12) ++answered;
    });
  }
  for (std::thread& caller : callers) caller.join();
  EXPECT_EQ(fakes.starts, 1);
  EXPECT_EQ(answered, kCallers);
}

TEST(EchoProbesTest, AFailedStartIsReportedAndTriedAgainByTheNextCall) {
  auto* engine = new RecordingEngine(milliseconds(3));
  std::vector<IcmpEngineStart> outcomes;
  outcomes.push_back({nullptr, "Ping unavailable: not allowed"});
  outcomes.push_back({nullptr, ""});
  outcomes.push_back({nullptr, "Ping unavailable: still not allowed"});
  outcomes.push_back({std::unique_ptr<IcmpEngine>(engine), ""});
  std::size_t starts = 0;
  std::vector<std::string> asked;
  EchoProbes probes([&] { return std::move(outcomes[starts++]); },
                    std::make_unique<TableResolver>(std::map<std::string, std::string>{}, &asked));

  EXPECT_EQ(probes.UnavailableReason(), "Ping unavailable: not allowed");
  EXPECT_THAT(probes.UnavailableReason(), ::testing::StartsWith("Ping unavailable: "))
      << "a start that fails without saying why still gets a reason";
  EXPECT_EQ(probes.Ping("127.0.0.1", 100), -1);
  EXPECT_EQ(starts, 3u);
  EXPECT_EQ(probes.UnavailableReason(), "");
  EXPECT_EQ(probes.Ping("127.0.0.1", 100), 3);
  EXPECT_EQ(starts, 4u) << "a started engine is kept";
  EXPECT_THAT(asked, IsEmpty()) << "no name is looked up while probes cannot be sent";
}

// Holds every look-up until the test lets it go; game.example is then 10.1.2.3.
class HoldingResolver final : public HostResolver {
 public:
  explicit HoldingResolver(testing::Door& door) : door_(door) {}
  std::string FirstIpv4Address(const std::string& host) override {
    door_.PassThrough();
    return host == "game.example" ? "10.1.2.3" : "";
  }

 private:
  testing::Door& door_;
};

constexpr char kHeldAddress[] = "10.9.9.9";

struct ProbesWithHolds {
  const std::shared_ptr<testing::EngineLife> life = std::make_shared<testing::EngineLife>();
  testing::Door lookUpDoor;
  EchoProbes probes{testing::HoldingEngineStarter(life, WireAddress(10, 9, 9, 9)),
                    std::make_unique<HoldingResolver>(lookUpDoor)};
};

TEST(EchoProbesTest, StopFreesTheEngineOnlyOnceNoRequestIsBeingHandedToIt) {
  ProbesWithHolds holds;
  std::atomic<int> heldEnd{0};
  std::thread sender([&] { holds.probes.Send(kHeldAddress, 1000, [&](int ms) { heldEnd = ms; }); });
  EXPECT_TRUE(holds.life->sendDoor.AwaitArrival(std::chrono::seconds(60)));
  std::thread stopper([&] { holds.probes.Stop(); });
  const auto stopped = [&] {
    int end = 0;
    holds.probes.Send("10.0.0.1", 1000, [&](int ms) { end = ms; });
    return end == -1;
  };
  EXPECT_TRUE(testing::AwaitCondition(stopped, std::chrono::seconds(60)));
  EXPECT_FALSE(holds.life->destroyed) << "freed while a sender was inside it";
  holds.life->sendDoor.Open();
  sender.join();
  stopper.join();
  EXPECT_TRUE(holds.life->destroyed);
  EXPECT_EQ(holds.life->usesAfterDestruction, 0);
  EXPECT_EQ(heldEnd, -1) << "the stop ended the request still out";
}

TEST(EchoProbesTest, APingWaitingForItsNameNeverReachesAnEngineStoppedMeanwhile) {
  ProbesWithHolds holds;
  std::atomic<int> pinged{0};
  std::thread pinger([&] { pinged = holds.probes.Ping("game.example", 1000); });
  EXPECT_TRUE(holds.lookUpDoor.AwaitArrival(std::chrono::seconds(60)));
  holds.probes.Stop();  // not kept waiting by the look-up
  EXPECT_TRUE(holds.life->destroyed);
  holds.lookUpDoor.Open();
  pinger.join();
  EXPECT_EQ(pinged, -1);
  EXPECT_EQ(holds.life->usesAfterDestruction, 0);
}

}  // namespace
}  // namespace vardelle

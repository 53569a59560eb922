// The engine that speaks to vardelle-ping --serve: against the real program on loopback, and
// against stand-in helpers (shell scripts) that misbehave as a broken helper could.
#include "runtime/linux/icmp_engine_helper_process.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "runtime/platform.h"
#include "tests/support/named_cases.h"
#include "tests/support/temp_dir.h"

namespace vardelle {
namespace {

using named_cases::CaseName;
using named_cases::PrintTo;
using std::chrono::milliseconds;
using std::chrono::nanoseconds;
using ::testing::HasSubstr;
using EchoEnd = std::optional<nanoseconds>;
const std::optional<EchoEnd> kUnanswered(std::in_place);  // ended, without a reply

// Far longer than any answer takes, far shorter than a request's time-out plus its grace.
constexpr auto kPatience = std::chrono::seconds(30);
constexpr auto kLongTimeout = milliseconds(60000);

Ipv4Address Loopback(int last) {
  return ParseDottedIpv4("127.0.0." + std::to_string(last)).value();
}

// A request's end, awaited for at most kPatience; done must come exactly once.
class AwaitedEcho {
 public:
  IcmpEngine::EchoDone Done() {
    return [state = state_](EchoEnd end) {
      if (state->calls.fetch_add(1) == 0) state->ended.set_value(end);
    };
  }
  std::optional<EchoEnd> Await() {
    std::future<EchoEnd> future = state_->ended.get_future();
    if (future.wait_for(kPatience) != std::future_status::ready) return std::nullopt;
    return future.get();
  }
  int Calls() const { return state_->calls.load(); }

 private:
  struct State {
    std::promise<EchoEnd> ended;
    std::atomic<int> calls{0};
  };
  std::shared_ptr<State> state_ = std::make_shared<State>();
};

// A stand-in helper: a shell script run as `script --serve`.
std::string WriteHelper(const testing_files::TempDir& folder, const std::string& body) {
  const std::string path = folder.File("helper");
  testing_files::WriteBytes(path, "#!/bin/sh\n" + body);
  chmod(path.c_str(), 0700);
  return path;
}

TEST(HelperProcessEngineTest, EchoesOnLoopbackThroughTheRealHelper) {
  IcmpEngineStart start = StartHelperProcessIcmpEngine(VARDELLE_PING_PROGRAM);
  if (!start.engine)
    GTEST_SKIP() << "the helper has no ICMP socket here: " << start.unavailableReason;
  constexpr int kRequests = 50;
  std::vector<AwaitedEcho> echoes(kRequests);
  // Every fifth to ::1: both families go through the one pipe.
  const Ipv6Address ipv6Loopback = ParseIpv6Literal("::1").value();
  for (int i = 0; i < kRequests; ++i) {
    if (i % 5 == 4) {
      start.engine->SendIpv6(ipv6Loopback, kLongTimeout, echoes[i].Done());
    } else {
      start.engine->Send(Loopback(1 + i % 5), kLongTimeout, echoes[i].Done());
    }
  }
  AwaitedEcho unwaited;
  start.engine->Send(Loopback(1), milliseconds(0), unwaited.Done());
  for (int i = 0; i < kRequests; ++i) {
    const std::optional<EchoEnd> end = echoes[i].Await();
    ASSERT_TRUE(end) << "request " << i << " never ended";
    EXPECT_TRUE(end->has_value()) << "request " << i << " got no reply";
  }
  const std::optional<EchoEnd> end = unwaited.Await();
  ASSERT_TRUE(end);
  EXPECT_FALSE(end->has_value()) << "a time-out of 0 waits for nothing";
  start.engine.reset();
  for (const AwaitedEcho& echo : echoes) EXPECT_EQ(echo.Calls(), 1);
}

TEST(HelperProcessEngineTest, MatchesRepliesByTokenAndIgnoresOtherLines) {
  testing_files::TempDir folder;
  const std::string helper = WriteHelper(folder, R"(echo ready
read token rest
printf '999 reply 5\nnonsense\n- error bad-token\n%s reply 1234000\n' "$token"
while read -r line; do :; done
)");
  IcmpEngineStart start = StartHelperProcessIcmpEngine(helper);
  ASSERT_TRUE(start.engine) << start.unavailableReason;
  AwaitedEcho echo;
  start.engine->Send(Loopback(1), kLongTimeout, echo.Done());
  EXPECT_EQ(echo.Await(), std::optional<EchoEnd>(nanoseconds(1234000)));
}

TEST(HelperProcessEngineTest, EndsEveryRequestWhenTheHelperDies) {
  testing_files::TempDir folder;
  const std::string helper = WriteHelper(folder, "echo ready\nread line\n");
  IcmpEngineStart start = StartHelperProcessIcmpEngine(helper);
  ASSERT_TRUE(start.engine) << start.unavailableReason;
  std::vector<AwaitedEcho> echoes(3);
  for (AwaitedEcho& echo : echoes) start.engine->Send(Loopback(1), kLongTimeout, echo.Done());
  for (AwaitedEcho& echo : echoes) {
    EXPECT_EQ(echo.Await(), kUnanswered) << "ended unanswered, in time";
  }
  AwaitedEcho later;
  start.engine->Send(Loopback(1), kLongTimeout, later.Done());
  EXPECT_EQ(later.Await(), kUnanswered);
}

TEST(HelperProcessEngineTest, EndsARequestTheHelperNeverAnswersAndStopsWithOthersWaiting) {
  testing_files::TempDir folder;
  const std::string helper = WriteHelper(folder, "echo ready\nwhile read -r line; do :; done\n");
  IcmpEngineStart start = StartHelperProcessIcmpEngine(helper);
  ASSERT_TRUE(start.engine) << start.unavailableReason;
  AwaitedEcho overdue;
  start.engine->Send(Loopback(1), milliseconds(0), overdue.Done());
  EXPECT_EQ(overdue.Await(), kUnanswered) << "after its grace";
  AwaitedEcho waiting;
  start.engine->Send(Loopback(1), kLongTimeout, waiting.Done());
  start.engine.reset();  // kills and reaps the helper, which would read on for ever
  EXPECT_EQ(waiting.Calls(), 1);
}

struct RefusalCase {
  std::string name;
  std::string script;  // empty: no helper program at all
  std::string reason;
};

class HelperRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(HelperRefusalTest, NamesTheHelperAndWhatWentWrong) {
  testing_files::TempDir folder;
  const std::string helper =
      GetParam().script.empty() ? folder.File("absent") : WriteHelper(folder, GetParam().script);
  const IcmpEngineStart start = StartHelperProcessIcmpEngine(helper);
  EXPECT_FALSE(start.engine);
  EXPECT_THAT(start.unavailableReason, HasSubstr(helper));
  EXPECT_THAT(start.unavailableReason, HasSubstr(GetParam().reason));
}

INSTANTIATE_TEST_SUITE_P(
    Helpers, HelperRefusalTest,
    ::testing::Values(RefusalCase{"Absent", "", "no helper program at"},
                      RefusalCase{"Unavailable", "echo 'unavailable raw ICMP needs root'\n",
                                  "cannot either (as root: setcap cap_net_raw+ep"},
                      RefusalCase{"Silent", "exit 0\n", "did not answer"},
                      RefusalCase{"Strange", "echo hello; while read -r line; do :; done\n",
                                  "unknown way"}),
    CaseName<RefusalCase>);

}  // namespace
}  // namespace vardelle

// The Globalping client against loopback servers: the demo world's stand-in for whole
// measurements, and scripted servers for the answers the stand-in never gives; then answers
// with hostile numbers and texts, read without a server.
#include "app/global_ping/globalping_client.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/global_ping/globalping_target.h"
#include "demo_world/globalping_stand_in.h"
#include "support/json_documents/json_documents.h"
#include "testing/gzip_bomb.h"
#include "testing/loopback_servers.h"

namespace vardelle {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

struct SeenRequest {
  std::string method;
  std::string path;
  std::string body;
  httplib::Headers headers;
  int status;
  Clock::time_point at;
};

// A header's value; "" when the request had none.
std::string HeaderOf(const SeenRequest& request, const std::string& name) {
  const auto found = request.headers.find(name);
  return found == request.headers.end() ? "" : found->second;
}

// A loopback server that records every exchange.
class RecordedServer {
 public:
  RecordedServer() {
    testing::KeepLoopbackTrafficDirect();
    // Stamped on arrival: a stamp taken after answering would shift with the handler's speed.
    // The server's thread runs both hooks of one request, so the arrival waits in a
    // thread-local.
    server.Server().set_pre_routing_handler([this](const httplib::Request&, httplib::Response&) {
      arrival = Clock::now();
      std::lock_guard guard(mutex);
      ++arrived;
      return httplib::Server::HandlerResponse::Unhandled;
    });
    server.Server().set_logger(
        [this](const httplib::Request& request, const httplib::Response& response) {
          std::lock_guard guard(mutex);
          seen.push_back({request.method, request.path, request.body, request.headers,
                          response.status, arrival});
          logged.notify_all();
        });
  }
  bool Start() { return server.Start(); }
  GlobalpingAccess Access(std::string token = {}) { return {server.Url(""), std::move(token)}; }
  GlobalpingAccess DemoAccess() { return {server.Url(""), "", true}; }
  // The server logs an exchange only after the client has its answer, so this waits (5 s at
  // most) until every request that came in is logged.
  std::vector<SeenRequest> Seen() {
    std::unique_lock lock(mutex);
    logged.wait_for(lock, std::chrono::seconds(5), [this] { return seen.size() == arrived; });
    return seen;
  }

  static inline thread_local Clock::time_point arrival;
  // Before the server: its handler threads still log while it stops.
  std::mutex mutex;
  std::condition_variable logged;
  std::size_t arrived = 0;
  std::vector<SeenRequest> seen;
  testing::LoopbackHttpServer server;
};

struct Recorded {
  std::vector<std::string> waiting;
  std::vector<Measurement> partial;
  std::vector<BudgetReport> created;
};

MeasurementOutcome Measure(const GlobalpingAccess& access, const MeasurementOrder& order,
                           Recorded& recorded, milliseconds timeLimit = milliseconds(10000)) {
  ClientLimits limits;
  limits.timeLimit = timeLimit;
  MeasurementProgress progress{[&](const std::string& text) { recorded.waiting.push_back(text); },
                               [&](const Measurement& m) { recorded.partial.push_back(m); },
                               [&](const BudgetReport& r) { recorded.created.push_back(r); }};
  return RunGlobalpingMeasurement(access, order, limits, progress);
}

const MeasurementOrder kChinaOrder{"hn1.lol.example.com", "China", 10, 4};

// One measurement the way the real service runs it: charged per probe found, polled past a
// proxy's 502 to its end, probes that lost every packet counted in the loss.
TEST(GlobalpingClientTest, MeasuresPastABadGatewayWithPartialThenFinalResults) {
  RecordedServer server;
  demo::ServeGlobalpingStandIn(
      server.server.Server(),
      {.pollsBeforeFinished = 2, .acceptedToken = "secret-token", .badGatewayOnFirstPoll = true});
  ASSERT_TRUE(server.Start());
  Recorded recorded;
  MeasurementOrder order = kChinaOrder;
  order.inProgressUpdates = true;
  const MeasurementOutcome outcome = Measure(server.Access("secret-token"), order, recorded);

  EXPECT_EQ(outcome.failure, "");
  EXPECT_EQ(outcome.measurement.status, "finished");
  // Loss over the packets of the four finished probes: 1 of Chengdu's 4, all 4 of the last.
  EXPECT_EQ(SummaryText(outcome.measurement),
            "平均 23.1ms (8.1~41.9ms) 丢包 31.2% 3 个探针，1 个探针全部丢包");
  ASSERT_EQ(outcome.measurement.probes.size(), 5u);
  EXPECT_EQ(outcome.measurement.probes[2].network, "中国移动");
  EXPECT_EQ(ProbesByAverage(outcome.measurement).back().lossPercent, 100);
  EXPECT_NE(ProbeListText(outcome.measurement).find(": -/-/-ms 丢包 100.0%"), std::string::npos);
  EXPECT_NE(ProbeListText(outcome.measurement).find("China Unicom: 测试失败"), std::string::npos);

  EXPECT_EQ(recorded.waiting.front(), "排队中");
  EXPECT_EQ(recorded.waiting.back(), "服务暂时无应答 (HTTP 502)，重试中");
  ASSERT_GE(recorded.partial.size(), 2u);
  EXPECT_EQ(ProgressText(recorded.partial[0]), "测试中 (1/5 探针)");
  ASSERT_EQ(recorded.created.size(), 1u);
  EXPECT_EQ(recorded.created[0].cost, 5);
  EXPECT_EQ(recorded.created[0].remaining, 495);
  EXPECT_EQ(recorded.created[0].limit, 500);

  const std::vector<SeenRequest> seen = server.Seen();
  ASSERT_EQ(seen.size(), 5u);  // creation, the 502, three polls
  EXPECT_EQ(seen[1].status, 502);
  for (const SeenRequest& request : seen) {
    EXPECT_EQ(HeaderOf(request, "Authorization"), "Bearer secret-token");
    EXPECT_EQ(HeaderOf(request, "User-Agent").rfind("Vardelle/", 0), 0u);
    // Offered wherever the HTTP layer can undo it; WinHTTP under Wine undoes none.
    const std::string encodings = HeaderOf(request, "Accept-Encoding");
    if (!encodings.empty()) {
      EXPECT_NE(encodings.find("gzip"), std::string::npos);
    }
  }
  EXPECT_EQ(seen[0].method, "POST");
  EXPECT_EQ(seen[0].path, "/v1/measurements");
  EXPECT_EQ(HeaderOf(seen[0], "Content-Type"), "application/json");
  const nlohmann::json body = ParseJson(seen[0].body);
  EXPECT_EQ(body, ParseJson(R"({"type":"ping","target":"hn1.lol.example.com",
      "locations":[{"magic":"China"}],"limit":10,"measurementOptions":{"packets":4},
      "inProgressUpdates":true})"));
  for (size_t i = 1; i < seen.size(); ++i) {
    EXPECT_EQ(seen[i].method, "GET");
    EXPECT_EQ(seen[i].path, "/v1/measurements/" + outcome.measurement.id);
    EXPECT_GE(seen[i].at - seen[i - 1].at, milliseconds(500));
  }
}

// Once the hour's budget cannot cover a measurement the service refuses it up front; the row
// says when the budget renews and what the service said, and nothing is waited out.
TEST(GlobalpingClientTest, ARefusedBudgetTellsTheRenewalClockTimeAndTheApisWords) {
  RecordedServer server;
  demo::ServeGlobalpingStandIn(server.server.Server(), {.anonymousHourlyTests = 6});
  ASSERT_TRUE(server.Start());
  Recorded recorded;
  MeasurementOrder small = kChinaOrder;
  small.probeLimit = 2;
  EXPECT_EQ(Measure(server.Access(), small, recorded).failure, "");
  const auto before = std::chrono::system_clock::now();
  const MeasurementOutcome refused = Measure(server.Access(), kChinaOrder, recorded);
  const auto after = std::chrono::system_clock::now();

  std::set<std::string> expected;
  for (const auto at : {before + std::chrono::seconds(3598), after + std::chrono::seconds(3600)}) {
    expected.insert(
        BudgetExhaustedText(at) +
        " (This measurement exceeds the remaining hourly rate limit for your IP address.)");
  }
  EXPECT_TRUE(expected.count(refused.failure)) << refused.failure;
  ASSERT_EQ(recorded.created.size(), 2u);
  EXPECT_EQ(recorded.created[1].remaining, 4);
  EXPECT_EQ(server.Seen().back().status, 429);
  EXPECT_EQ(server.Seen().back().method, "POST");
}

TEST(GlobalpingClientTest, StandInThatNeverFinishesEndsAtTheTimeLimitKeepingPartialResults) {
  RecordedServer server;
  demo::ServeGlobalpingStandIn(server.server.Server(), {.pollsBeforeFinished = -1});
  ASSERT_TRUE(server.Start());
  Recorded recorded;
  const Clock::time_point start = Clock::now();
  const MeasurementOutcome outcome =
      Measure(server.Access(), kChinaOrder, recorded, milliseconds(1800));

  EXPECT_LT(Clock::now() - start, milliseconds(10000));  // the stand-in never finishes
  EXPECT_TRUE(outcome.failure.starts_with("超时: 2 秒内未完成 (")) << outcome.failure;
  EXPECT_TRUE(outcome.failure.ends_with("/5 探针)")) << outcome.failure;
  EXPECT_EQ(outcome.measurement.probes.size(), 5u);
  EXPECT_EQ(server.Seen().front().headers.count("Authorization"), 0u);
}

// Targets the service would refuse are refused here, before any request or charge.
TEST(GlobalpingClientTest, TargetsTheServiceRefusesAreToldWithoutARequest) {
  RecordedServer server;
  demo::ServeGlobalpingStandIn(server.server.Server(), {.acceptPrivateTargets = true});
  ASSERT_TRUE(server.Start());
  for (const char* target : {"127.0.0.1", "10.1.2.3", "[::1]", "localhost"}) {
    Recorded recorded;
    const MeasurementOutcome outcome = Measure(server.Access(), {target, "China", 10, 3}, recorded);
    EXPECT_EQ(outcome.failure, GlobalpingTargetProblem(target)) << target;
    EXPECT_NE(outcome.failure, "") << target;
    EXPECT_EQ(recorded.created.size(), 1u) << target;
  }
  EXPECT_EQ(server.Seen().size(), 0u);
  Recorded recorded;  // in the demo world, loopback servers are measured
  EXPECT_EQ(Measure(server.DemoAccess(), {"127.0.0.1", "China", 10, 3}, recorded).failure, "");
}

struct TargetCase {
  const char* target;
  bool refused;
};

TEST(GlobalpingTargetTest, RefusesWhatTheServiceRefusesAndNothingElse) {
  const TargetCase cases[] = {
      {"hn1.lol.qq.com", false},
      {"hn_1.lol.qq.com", false},
      {"xn--fiqs8s.xn--fiqs8s", false},
      {"1.1.1.1", false},
      {"2606:4700::1111", false},
      {"[2606:4700::1111]", false},
      {"::ffff:8.8.8.8", false},
      {"", true},
      {"localhost", true},
      {"lol", true},
      {"a.b.123", true},
      {"-a.example.com", true},
      {"a b.example.com", true},
      {"host:80", true},
      {"1.2.3.4.5", true},
      {"0.1.2.3", true},
      {"10.0.0.1", true},
      {"100.64.0.1", true},
      {"127.0.0.5", true},
      {"169.254.1.1", true},
      {"172.31.255.255", true},
      {"172.32.0.1", false},
      {"192.168.1.1", true},
      {"198.18.0.1", true},
      {"224.0.0.1", true},
      {"255.255.255.255", true},
      {"::", true},
      {"::1", true},
      {"[::1]", true},
      {"fe80::1", true},
      {"fd00::1", true},
      {"ff02::1", true},
      {"2001:db8::1", true},
      {"1:2:3:4:5:6:7:8:9", true},
      {"1::2::3", true},
      {"[1.1.1.1]", true},
  };
  for (const TargetCase& c : cases) {
    EXPECT_EQ(!GlobalpingTargetProblem(c.target).empty(), c.refused) << c.target;
  }
  EXPECT_EQ(GlobalpingTargetProblem("127.0.0.1", true), "");
  EXPECT_NE(GlobalpingTargetProblem("localhost", true), "");
}

// An answer's body: its text, with count copies of fill put in at `at`. The bodies past the
// size limits are megabytes: built when their case runs, they are not copied over and over at
// every start of this program, as the cases are while they are registered.
struct Body {
  Body(const char* plain) : text(plain) {}
  Body(std::string plain) : text(std::move(plain)) {}
  Body(std::string around, std::size_t where, std::size_t copies, char byte)
      : text(std::move(around)), at(where), count(copies), fill(byte) {}
  std::string Built() const { return std::string(text).insert(at, count, fill); }

  std::string text;
  std::size_t at = 0;
  std::size_t count = 0;
  char fill = ' ';
};

struct ScriptedCase {
  const char* name;
  int createStatus;
  Body createBody;
  Body pollBody;  // answered 200 to every poll
  std::string failure;
};

class ScriptedAnswerTest : public ::testing::TestWithParam<ScriptedCase> {};

TEST_P(ScriptedAnswerTest, TellsWhatWentWrong) {
  const ScriptedCase& scripted = GetParam();
  const std::string createBody = scripted.createBody.Built();
  const std::string pollBody = scripted.pollBody.Built();
  RecordedServer server;
  server.server.Server().Post("/v1/measurements",
                              [&](const httplib::Request&, httplib::Response& r) {
                                r.status = scripted.createStatus;
                                r.set_content(createBody, "application/json");
                              });
  server.server.Server().Get(R"(/v1/measurements/.*)",
                             [&](const httplib::Request&, httplib::Response& r) {
                               r.set_content(pollBody, "application/json");
                             });
  ASSERT_TRUE(server.Start());
  Recorded recorded;
  EXPECT_EQ(Measure(server.Access(), kChinaOrder, recorded).failure, scripted.failure);
}

const char kCreated[] = R"({"id":"m1","probesCount":1})";

// A finished measurement whose one probe's city is the given JSON string's inside.
std::string FinishedWithCity(const std::string& city) {
  return R"({"id":"m1","status":"finished","probesCount":1,"results":[{"probe":{"city":")" + city +
         R"("},"result":{"status":"finished","stats":{"min":1,"avg":1,"max":1,"loss":0}}}]})";
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ScriptedAnswerTest,
    ::testing::Values(
        ScriptedCase{
            "BadRequestNamesTheBrokenRule", 400,
            R"({"error":{"type":"validation_error","message":"Parameter validation failed.",
                         "params":{"target":"\"target\" does not match any of the allowed types"}}})",
            "",
            R"(HTTP 400: Parameter validation failed. ("target" does not match any of the allowed types))"},
        ScriptedCase{
            "NoProbes", 422,
            R"({"error":{"type":"no_probes_found","message":"No matching IPv4 probes available."}})",
            "", "HTTP 422: No matching IPv4 probes available."},
        ScriptedCase{"ServerError", 503, "<html>down</html>", "", "HTTP 503"},
        ScriptedCase{"CreationNotJson", 202, "{\"id\":", "", "应答格式错误"},
        ScriptedCase{"IdUnfitForAddresses", 202, R"({"id":"../x","probesCount":1})", "",
                     "应答格式错误"},
        ScriptedCase{"PollNotJson", 202, kCreated, "[1,2", "应答格式错误"},
        ScriptedCase{"PollResultsWrongShape", 202, kCreated,
                     R"({"id":"m1","status":"finished","probesCount":1,"results":[{"probe":7}]})",
                     "应答格式错误"},
        ScriptedCase{"PollOfAnotherMeasurement", 202, kCreated,
                     R"({"id":"m2","status":"finished","probesCount":0,"results":[]})",
                     "应答格式错误"},
        // Past the answer's limits: nothing is parsed, the row says so.
        ScriptedCase{"CreationPastTheByteLimit", 202, Body(kCreated, 0, 9 << 20, ' '), "",
                     "应答过大"},
        ScriptedCase{"PollNestedTooDeep", 202, kCreated, Body("", 0, 4 << 20, '['), "应答过大"},
        ScriptedCase{"PollWithTooManyValues", 202, kCreated, Body("[]", 1, 300000, ','),
                     "应答过大"},
        // Brackets and quotes inside a string are text, however many.
        ScriptedCase{"BracketsInsideTextsAreNoNesting", 202, kCreated,
                     FinishedWithCity("\\\"" + std::string(100, '[')), ""}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

// Resets past any honest hour are cut to one before they become times or waits: a refused
// creation still names a clock time, and a poll told to wait that long ends the row at once.
// The request carries a non-ASCII target as UTF-8, converted once; a refused token says
// where it is set.
TEST(GlobalpingClientTest, AbsurdResetsEndTheRowAndTheRequestIsSentAsItIs) {
  RecordedServer server;
  server.server.Server().Post(
      "/v1/measurements", [](const httplib::Request& request, httplib::Response& r) {
        if (request.has_header("Authorization")) return void(r.status = 401);
        const bool polled = request.body.find("poll") != std::string::npos;
        r.status = polled ? 202 : 429;
        r.set_header("X-RateLimit-Reset", "9223372036854775");
        r.set_content(polled ? R"({"id":"m1","probesCount":1})"
                             : R"({"error":{"type":"rate_limit_exceeded","message":"Out."}})",
                      "application/json");
      });
  server.server.Server().Get("/v1/measurements/m1",
                             [](const httplib::Request&, httplib::Response& r) {
                               r.status = 429;
                               r.set_header("Retry-After", "9223372036854775");
                             });
  ASSERT_TRUE(server.Start());
  Recorded recorded;
  const MeasurementOutcome refused =
      Measure(server.Access(), {"测试.example.com", "China", 10, 4}, recorded);
  EXPECT_TRUE(refused.failure.starts_with("本小时额度已用完，")) << refused.failure;
  EXPECT_TRUE(refused.failure.ends_with("后可再测 (Out.)")) << refused.failure;
  EXPECT_EQ(Measure(server.Access(), {"poll.example.com", "China", 1, 1}, recorded).failure,
            "请求受限 (HTTP 429)，等待超过时间限制");
  EXPECT_TRUE(Measure(server.Access("old"), kChinaOrder, recorded)
                  .failure.starts_with(
                      "令牌被拒绝 (HTTP 401)：请检查 settings.ini [sites] 的 globalpingToken"));
  const std::vector<SeenRequest> seen = server.Seen();
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(ParseJson(seen[0].body)["target"],
            std::string(reinterpret_cast<const char*>(u8"测试.example.com")));
}

TEST(GlobalpingClientTest, UnknownPlaceAndUnreachableApiFailInTheRow) {
  RecordedServer server;
  demo::ServeGlobalpingStandIn(server.server.Server(), {.pollsBeforeFinished = 0});
  ASSERT_TRUE(server.Start());
  Recorded recorded;
  EXPECT_EQ(Measure(server.Access(), {"a.example.com", "Mars", 5, 3}, recorded).failure,
            "HTTP 422: No matching IPv4 probes available.");
  const MeasurementOutcome unreachable =
      Measure({"http://127.0.0.1:1", ""}, kChinaOrder, recorded, milliseconds(3000));
  EXPECT_EQ(unreachable.failure.rfind("网络错误: ", 0), 0u) << unreachable.failure;
}

// An answer too large, compressed or not, ends the row at once: asking again would bring
// the same. The compressed one inflates to 64 MiB, past the 8 MiB limit.
TEST(GlobalpingClientTest, OversizedAnswersEndTheRowUnretried) {
  RecordedServer server;
  server.server.Server().Post("/v1/measurements",
                              [](const httplib::Request&, httplib::Response& r) {
                                r.status = 202;
                                r.set_content(kCreated, "application/json");
                              });
  server.server.Server().Get(
      "/v1/measurements/m1", [](const httplib::Request& in, httplib::Response& r) {
        // WinHTTP under Wine offers no compression: the answer comes large as it is then.
        if (in.get_header_value("Accept-Encoding").find("gzip") == std::string::npos) {
          return r.set_content(std::string(9 << 20, ' '), "application/json");
        }
        r.set_header("Content-Encoding", "gzip");
        r.set_content(testing::GzipBomb(std::size_t{64} << 20), "application/json");
      });
  ASSERT_TRUE(server.Start());
  Recorded recorded;
  EXPECT_EQ(Measure(server.Access(), kChinaOrder, recorded).failure, "应答过大");
  EXPECT_EQ(server.Seen().size(), 2u);
}

std::string FinishedAnswer(const std::string& probesCount,
                           const std::vector<std::string>& results) {
  std::string items;
  for (const std::string& result : results) {
    if (!items.empty()) items += ",";
    items += R"({"probe":{"city":"X","asn":1e30},"result":)" + result + "}";
  }
  return R"({"id":"m1","status":"finished","probesCount":)" + probesCount + R"(,"results":[)" +
         items + "]}";
}

std::string Figures(const std::string& least, const std::string& average, const std::string& most) {
  return R"({"status":"finished","stats":{"min":)" + least + R"(,"avg":)" + average + R"(,"max":)" +
         most + R"(,"loss":0}})";
}

TEST(MeasurementReadingTest, HostileNumbersAndTextsAreReadSafelyAndShownWhole) {
  for (const std::string count : {"1e30", "-1", "2147483648", "2.5"}) {
    EXPECT_FALSE(ReadCreatedMeasurement(R"({"id":"m1","probesCount":)" + count + "}")) << count;
    EXPECT_FALSE(ReadMeasurement(FinishedAnswer(count, {}))) << count;
  }
  // An AS number past 32 bits is none; a status word shows in GBK.
  const std::optional<Measurement> queued =
      ReadMeasurement(FinishedAnswer("1", {R"({"status":"\u6392\u961f"})"}));
  ASSERT_TRUE(queued);
  EXPECT_EQ(ProbeListText(*queued), "X, , AS0 : 排队");

  // Averages near the largest double: no sum overflows, and no figure is cut off the text.
  const std::optional<Measurement> huge = ReadMeasurement(FinishedAnswer(
      "2", {Figures("0", "1.7e308", "1.7e308"), Figures("0", "1.7e308", "1.7e308")}));
  ASSERT_TRUE(huge);
  EXPECT_EQ(*Summarize(*huge)->averageMs, 1.7e308);
  const std::string summary = SummaryText(*huge);
  EXPECT_TRUE(summary.ends_with("ms) 丢包 0.0% 2 个探针")) << summary;
  EXPECT_EQ(std::count(summary.begin(), summary.end(), '.'), 4) << summary;

  // 0.1 thrice sums to a hair more than 0.3: the average stays within least and most.
  const std::optional<Measurement> tenths = ReadMeasurement(FinishedAnswer(
      "3",
      {Figures("0.1", "0.1", "0.1"), Figures("0.1", "0.1", "0.1"), Figures("0.1", "0.1", "0.1")}));
  ASSERT_TRUE(tenths);
  EXPECT_EQ(*Summarize(*tenths)->averageMs, 0.1);
}

TEST(GlobalpingClientTest, ResultsPageIsBuiltOnlyFromAnId) {
  EXPECT_EQ(MeasurementResultsPage("2Ab9"), "https://globalping.io/?measurement=2Ab9");
  EXPECT_EQ(MeasurementResultsPage("x y"), "");
  EXPECT_EQ(MeasurementResultsPage("a-b"), "");
  EXPECT_EQ(MeasurementResultsPage(""), "");
}

}  // namespace
}  // namespace vardelle

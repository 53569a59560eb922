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
#include <string>
#include <vector>

#include "demo_world/globalping_stand_in.h"
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
    server.Server().set_logger([this](const httplib::Request& request, const httplib::Response& response) {
      std::lock_guard guard(mutex);
      seen.push_back(
          {request.method, request.path, request.body, request.headers, response.status, arrival});
      logged.notify_all();
    });
  }
  bool Start() { return server.Start(); }
  GlobalpingAccess Access(std::string token = {}) { return {server.Url(""), std::move(token)}; }
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
};

MeasurementOutcome Measure(const GlobalpingAccess& access, const MeasurementOrder& order,
                           Recorded& recorded, milliseconds timeLimit = milliseconds(10000)) {
  ClientLimits limits;
  limits.timeLimit = timeLimit;
  MeasurementProgress progress{[&](const std::string& text) { recorded.waiting.push_back(text); },
                               [&](const Measurement& m) { recorded.partial.push_back(m); }};
  return RunGlobalpingMeasurement(access, order, limits, progress);
}

const MeasurementOrder kChinaOrder{"hn1.lol.example.com", "China", 10, 4};

TEST(GlobalpingClientTest, MeasuresThroughTheRateLimitWithPartialThenFinalResults) {
  RecordedServer server;
  demo::ServeGlobalpingStandIn(server.server.Server(), {2, 1});
  ASSERT_TRUE(server.Start());
  Recorded recorded;
  const MeasurementOutcome outcome = Measure(server.Access("secret-token"), kChinaOrder, recorded);

  EXPECT_EQ(outcome.failure, "");
  EXPECT_EQ(outcome.measurement.status, "finished");
  EXPECT_EQ(SummaryText(outcome.measurement), "平均 23.1ms (8.1~41.9ms) 丢包 8.3% 3 个探针");
  ASSERT_EQ(outcome.measurement.probes.size(), 4u);
  EXPECT_EQ(outcome.measurement.probes[2].network, "中国移动");
  EXPECT_EQ(ProbesByAverage(outcome.measurement).back().status, "failed");

  const std::vector<std::string> waits{"排队中", "请求受限，1 秒后重试"};
  EXPECT_EQ(recorded.waiting, waits);
  ASSERT_EQ(recorded.partial.size(), 3u);
  EXPECT_EQ(ProgressText(recorded.partial[0]), "测试中 (1/4 探针)");
  EXPECT_EQ(ProgressText(recorded.partial[1]), "测试中 (2/4 探针)");

  const std::vector<SeenRequest> seen = server.Seen();
  ASSERT_EQ(seen.size(), 5u);  // refused creation, creation, three polls
  EXPECT_EQ(seen[0].status, 429);
  EXPECT_GE(seen[1].at - seen[0].at, milliseconds(800));  // the reset is 1 s away
  for (const SeenRequest& request : seen) {
    EXPECT_EQ(request.headers.find("Authorization")->second, "Bearer secret-token");
  }
  EXPECT_EQ(seen[1].method, "POST");
  EXPECT_EQ(seen[1].path, "/v1/measurements");
  EXPECT_EQ(seen[1].headers.find("Content-Type")->second, "application/json");
  const nlohmann::json body = nlohmann::json::parse(seen[1].body);
  EXPECT_EQ(body["type"], "ping");
  EXPECT_EQ(body["target"], "hn1.lol.example.com");
  EXPECT_EQ(body["locations"], nlohmann::json::parse(R"([{"magic":"China"}])"));
  EXPECT_EQ(body["limit"], 10);
  EXPECT_EQ(body["measurementOptions"], nlohmann::json::parse(R"({"packets":4})"));
  EXPECT_EQ(body.size(), 5u);
  for (size_t i = 2; i < seen.size(); ++i) {
    EXPECT_EQ(seen[i].method, "GET");
    EXPECT_EQ(seen[i].path, "/v1/measurements/" + outcome.measurement.id);
    EXPECT_EQ(seen[i].headers.count("Authorization"), 1u);
    EXPECT_GE(seen[i].at - seen[i - 1].at, milliseconds(500));
  }
}

TEST(GlobalpingClientTest, StandInThatNeverFinishesEndsAtTheTimeLimitKeepingPartialResults) {
  RecordedServer server;
  demo::ServeGlobalpingStandIn(server.server.Server(), {-1, 0});
  ASSERT_TRUE(server.Start());
  Recorded recorded;
  const Clock::time_point start = Clock::now();
  const MeasurementOutcome outcome = Measure(server.Access(), kChinaOrder, recorded, milliseconds(1800));

  EXPECT_LT(Clock::now() - start, milliseconds(10000));  // the stand-in never finishes
  EXPECT_EQ(outcome.failure, "超时: 2 秒内未完成 (3/4 探针)");
  EXPECT_EQ(outcome.measurement.probes.size(), 4u);
  EXPECT_EQ(server.Seen().front().headers.count("Authorization"), 0u);
}

struct ScriptedCase {
  const char* name;
  int createStatus;
  std::string createBody;
  std::string pollBody;  // answered 200 to every poll
  std::string failure;
};

class ScriptedAnswerTest : public ::testing::TestWithParam<ScriptedCase> {};

TEST_P(ScriptedAnswerTest, TellsWhatWentWrong) {
  const ScriptedCase& scripted = GetParam();
  RecordedServer server;
  server.server.Server().Post("/v1/measurements", [&](const httplib::Request&, httplib::Response& r) {
    r.status = scripted.createStatus;
    r.set_content(scripted.createBody, "application/json");
  });
  server.server.Server().Get(R"(/v1/measurements/.*)", [&](const httplib::Request&, httplib::Response& r) {
    r.set_content(scripted.pollBody, "application/json");
  });
  ASSERT_TRUE(server.Start());
  Recorded recorded;
  EXPECT_EQ(Measure(server.Access(), kChinaOrder, recorded).failure, scripted.failure);
}

const char kCreated[] = R"({"id":"m1","probesCount":1})";

INSTANTIATE_TEST_SUITE_P(
    Answers, ScriptedAnswerTest,
    ::testing::Values(
        ScriptedCase{"BadRequest", 400,
                     R"({"error":{"type":"validation_error","message":"Validation Failed","params":{"target":"x"}}})",
                     "", "HTTP 400: Validation Failed"},
        ScriptedCase{"NoProbes", 422, R"({"error":{"type":"no_probes_found","message":"No suitable probes found"}})",
                     "", "HTTP 422: No suitable probes found"},
        ScriptedCase{"ServerError", 503, "<html>down</html>", "", "HTTP 503"},
        ScriptedCase{"CreationNotJson", 202, "{\"id\":", "", "应答格式错误"},
        ScriptedCase{"IdUnfitForAddresses", 202, R"({"id":"../x","probesCount":1})", "", "应答格式错误"},
        ScriptedCase{"PollNotJson", 202, kCreated, "[1,2", "应答格式错误"},
        ScriptedCase{"PollResultsWrongShape", 202, kCreated,
                     R"({"id":"m1","status":"finished","probesCount":1,"results":[{"probe":7}]})",
                     "应答格式错误"},
        ScriptedCase{"PollOfAnotherMeasurement", 202, kCreated,
                     R"({"id":"m2","status":"finished","probesCount":0,"results":[]})", "应答格式错误"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

// A reset past any honest hour is cut to one, not turned into a wait that overflows; the
// request names the program and carries a non-ASCII target as UTF-8, converted once.
TEST(GlobalpingClientTest, AnAbsurdResetEndsTheRowAndTheRequestSaysWhoAsksInUtf8) {
  RecordedServer server;
  server.server.Server().Post("/v1/measurements", [](const httplib::Request&, httplib::Response& r) {
    r.status = 429;
    r.set_header("X-RateLimit-Reset", "9223372036854775");
    r.set_content(R"({"error":{"type":"too_many_requests","message":"Too many requests."}})",
                  "application/json");
  });
  ASSERT_TRUE(server.Start());
  Recorded recorded;
  const MeasurementOutcome outcome =
      Measure(server.Access(), {"测试.example.com", "China", 10, 4}, recorded);
  EXPECT_EQ(outcome.failure, "请求受限 (HTTP 429)，等待超过时间限制");
  const std::vector<SeenRequest> seen = server.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(nlohmann::json::parse(seen[0].body)["target"],
            std::string(reinterpret_cast<const char*>(u8"测试.example.com")));
  EXPECT_EQ(seen[0].headers.find("User-Agent")->second.rfind("Vardelle/", 0), 0u);
}

TEST(GlobalpingClientTest, UnknownPlaceAndUnreachableApiFailInTheRow) {
  RecordedServer server;
  demo::ServeGlobalpingStandIn(server.server.Server(), {0, 0});
  ASSERT_TRUE(server.Start());
  Recorded recorded;
  EXPECT_EQ(Measure(server.Access(), {"a.example.com", "Mars", 5, 3}, recorded).failure,
            "HTTP 422: No suitable probes found");
  const MeasurementOutcome unreachable =
      Measure({"http://127.0.0.1:1", ""}, kChinaOrder, recorded, milliseconds(3000));
  EXPECT_EQ(unreachable.failure.rfind("网络错误: ", 0), 0u) << unreachable.failure;
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
  EXPECT_EQ(Summarize(*huge)->averageMs, 1.7e308);
  const std::string summary = SummaryText(*huge);
  EXPECT_TRUE(summary.ends_with("ms) 丢包 0.0% 2 个探针")) << summary;
  EXPECT_EQ(std::count(summary.begin(), summary.end(), '.'), 4) << summary;

  // 0.1 thrice sums to a hair more than 0.3: the average stays within least and most.
  const std::optional<Measurement> tenths = ReadMeasurement(FinishedAnswer(
      "3",
      {Figures("0.1", "0.1", "0.1"), Figures("0.1", "0.1", "0.1"), Figures("0.1", "0.1", "0.1")}));
  ASSERT_TRUE(tenths);
  EXPECT_EQ(Summarize(*tenths)->averageMs, 0.1);
}

TEST(GlobalpingClientTest, ResultsPageIsBuiltOnlyFromAnId) {
  EXPECT_EQ(MeasurementResultsPage("demo1000000"), "https://globalping.io/?measurement=demo1000000");
  EXPECT_EQ(MeasurementResultsPage("x y"), "");
  EXPECT_EQ(MeasurementResultsPage(""), "");
}

}  // namespace
}  // namespace vardelle

// `--headless --watch`: its options, its event lines, and the watch end to end on the demo
// world, whose status service is replaced by one where 影流 comes back from 维护, and on a
// demo world whose area selector fails for a while, with echoes that lose a probe per host.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/application/application.h"
#include "app/headless/headless_watch.h"
#include "app/start/command_line.h"
#include "demo_world/demo_world.h"
#include "runtime/probes/echo_probes.h"
#include "runtime/probes/network_probes.h"
#include "runtime/threads/threads.h"
#include "support/json_documents/json_documents.h"
#include "support/text/text_codec.h"
#include "testing/await_condition.h"
#include "testing/loopback.h"
#include "testing/loopback_site.h"

namespace vardelle {
namespace {

using namespace std::chrono_literals;
using nlohmann::json;

std::string Utf8(std::u8string_view text) {
  return {reinterpret_cast<const char*>(text.data()), text.size()};
}

CommandLine ParseArguments(const std::vector<std::string>& arguments) {
  return ParseCommandLine(arguments, [](std::string_view) { return std::nullopt; });
}

TEST(HeadlessWatchTest, WatchOptionsGoWithHeadlessWatchOnly) {
  struct Case {
    std::vector<std::string> arguments;
    std::string error;
    WatchOptions options = {};
  };
  const Case cases[] = {
      {{"--headless", "--watch"}, ""},
      {{"--headless", "--watch", "--watch-server", "电信15区", "--watch-server=网通01区",
        "--latency-over", "80", "--loss-over=0"},
       "",
       {{"电信15区", "网通01区"}, 80, 0}},
      {{"--watch"}, "--watch is for --headless runs"},
      {{"--headless", "--latency-over", "80"},
       "--watch-server, --latency-over and --loss-over are for --headless --watch runs"},
      {{"--headless", "--watch", "--runs", "2"},
       "--runs is not for --watch, which runs until it is asked to end"},
      {{"--headless", "--watch", "--format", "json"},
       "--format is not for --watch, which prints a line of JSON per event"},
      {{"--headless", "--watch", "--global-ping", "china"}, "--global-ping is not for --watch"},
      {{"--headless", "--watch", "--loss-over", "100"},
       "--loss-over needs a whole number from 0 to 99"},
      {{"--headless", "--watch", "--latency-over", "0"},
       "--latency-over needs a whole number from 1 to 10000"},
      {{"--headless", "--watch", "--watch-server", ""}, "--watch-server needs a server name"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.arguments));
    const CommandLine line = ParseArguments(c.arguments);
    EXPECT_EQ(line.error, c.error);
    if (!c.error.empty()) continue;
    EXPECT_TRUE(line.watch);
    EXPECT_TRUE(line.watchOptions == c.options);
  }
}

AlertTime Minute(int minute) {
  return AlertTime(std::chrono::sys_days(std::chrono::year(2024) / 2 / 29).time_since_epoch()) +
         std::chrono::hours(23) + std::chrono::minutes(minute);
}

TEST(HeadlessWatchTest, EventsAreLinesOfJsonInUtf8WithTheTimeInUtc) {
  const AlertEvent events[] = {
      {Minute(0), "电信15区", "127.0.0.16", AlertKind::kStatus, "维护", "正常", std::nullopt,
       std::nullopt},
      {Minute(59) + 59s + 999ms, "电信05区", "", AlertKind::kLatency, "ok", "over", std::nullopt,
       150},
      {Minute(61), "网通\"01\"区", "127.0.0.22", AlertKind::kLoss, "over", "ok", 100.0 / 3, 10}};
  const std::string lines[] = {
      Utf8(u8R"({"time":"2024-02-29T23:00:00Z","serverName":"电信15区","domain":"127.0.0.16",)"
           u8R"("kind":"status","from":"维护","to":"正常","value":null,"threshold":null})"
           "\n"),
      Utf8(u8R"({"time":"2024-02-29T23:59:59Z","serverName":"电信05区","domain":"",)"
           u8R"("kind":"latency","from":"ok","to":"over","value":null,"threshold":150})"
           "\n"),
      Utf8(u8R"({"time":"2024-03-01T00:01:00Z","serverName":"网通\"01\"区","domain":"127.0.0.22",)"
           u8R"("kind":"loss","from":"over","to":"ok","value":33.333,"threshold":10})"
           "\n")};
  for (std::size_t i = 0; i < std::size(events); ++i) {
    EXPECT_EQ(AlertEventJsonLine(events[i]), lines[i]);
  }
  EXPECT_EQ(IsoUtcTime(AlertTime()), "1970-01-01T00:00:00Z");
}

// The end request as the platform's hook would give it, and what the watch printed.
class WatchRecorder {
 public:
  WatchControls Controls() {
    WatchControls controls;
    controls.printEvent = [this](const std::string& line) { Add(events_, line); };
    controls.printNote = [this](const std::string& note) { Add(notes_, note); };
    controls.hookTermination = [this](std::function<void()> onRequest) {
      std::lock_guard guard(mutex_);
      endRequest_ = std::move(onRequest);
      return std::make_unique<TerminationHook>();
    };
    // Every address answers in 10 ms but the server without a domain, which is never reached.
    controls.services.sendPing = [](const std::string& address, std::function<void(int)> done) {
      done(address.empty() ? -1 : 10);
    };
    // A minute per run, so that an event's time tells the run it came from.
    controls.clock = [this] { return Minute(++runs_); };
    return controls;
  }
  int Runs() const { return runs_; }
  void RequestEnd() {
    std::lock_guard guard(mutex_);
    endRequest_();
    endRequest_ = nullptr;
  }
  std::vector<std::string> Events() const { return Copy(events_); }
  std::vector<std::string> Notes() const { return Copy(notes_); }

 private:
  void Add(std::vector<std::string>& lines, const std::string& line) {
    std::lock_guard guard(mutex_);
    lines.push_back(line);
  }
  std::vector<std::string> Copy(const std::vector<std::string>& lines) const {
    std::lock_guard guard(mutex_);
    return lines;
  }

  mutable std::mutex mutex_;
  std::function<void()> endRequest_;
  std::vector<std::string> events_;
  std::vector<std::string> notes_;
  std::atomic<int> runs_{0};
};

constexpr char kStatusServicePath[] = "/lol/act/a20150325ServerStatus/getServerStatus.php";

// 影流 (region 15) reads 维护 at the first fetch, 正常 at the second, nothing at the third (the
// service fails) and 正常 from the fourth on: told once, at the fourth run. The server without
// a domain is never reached and is watched for its status only: nothing is told of it.
TEST(HeadlessWatchTest, AStatusChangeReadTwiceIsToldOnceAndTheEndRequestEndsTheWatch) {
  testing::KeepLoopbackTrafficDirect();
  demo::DemoWorld world;
  ASSERT_TRUE(world.Start());
  const std::string maintenance(demo::DemoDocuments()[2].body);
  std::string back = maintenance;
  const std::size_t code = back.find(R"("15":"4")");
  ASSERT_NE(code, std::string::npos);
  back.replace(code, 8, R"("15":"1")");
  std::atomic<int> fetches{0};
  testing::LoopbackSite statusService;
  statusService.Serve(kStatusServicePath, [&](const std::string&) {
    const int fetch = ++fetches;
    if (fetch == 3) return testing::SiteAnswer{503};
    return testing::SiteAnswer{200, fetch == 1 ? maintenance : back};
  });
  ASSERT_TRUE(statusService.Start());
  // Named as a Linux terminal gives names (UTF-8) and as Windows does (GBK).
  const CommandLine line = ParseArguments({"--headless", "--watch", "--interval", "1", "--watch-server",
                                  Utf8(u8"电信15区"), "--watch-server", "电信05区"});
  ASSERT_EQ(line.error, "");
  Application app;
  for (const SiteInfo& site : SiteTable()) app.endpoints.SetBaseUrl(site.site, world.BaseUrl());
  app.endpoints.SetBaseUrl(Site::kStatusService, statusService.Url(""));

  WatchRecorder recorder;
  const WatchControls controls = recorder.Controls();
  std::promise<int> exitCode;
  std::future<int> ended = exitCode.get_future();
  std::thread watch([&] {
    exitCode.set_value(
        RunHeadlessWatch(app, line.watchOptions, line.schedule.intervalSeconds, controls));
  });
  // Two runs after the one that told the change, to see that nothing more is told.
  EXPECT_TRUE(testing::AwaitCondition([&] { return recorder.Runs() >= 6; }, 120s));
  const auto requested = std::chrono::steady_clock::now();
  recorder.RequestEnd();
  const bool endedInTime = ended.wait_for(60s) == std::future_status::ready;
  const auto took = std::chrono::steady_clock::now() - requested;
  watch.join();
  ASSERT_TRUE(endedInTime);
  EXPECT_EQ(ended.get(), 0);
  // The watch gives a run in flight half a second; the rest is a slow machine's margin.
  EXPECT_LT(took, 10s);

  const std::vector<std::string> events = recorder.Events();
  const auto minute = [](int run) { return IsoUtcTime(Minute(run)); };
  const json expected[] = {
      {{"time", minute(4)},
       {"serverName", Utf8(u8"电信15区")},
       {"domain", "127.0.0.16"},
       {"kind", "status"},
       {"from", Utf8(u8"维护")},
       {"to", Utf8(u8"正常")},
       {"value", nullptr},
       {"threshold", nullptr}},
  };
  ASSERT_EQ(events.size(), std::size(expected)) << ::testing::PrintToString(events);
  for (std::size_t i = 0; i < events.size(); ++i) {
    EXPECT_EQ(ParseJson(events[i]), expected[i]) << events[i];
  }
  EXPECT_TRUE(recorder.Notes().empty()) << ::testing::PrintToString(recorder.Notes());
  EXPECT_TRUE(AwaitStartedThreads(std::chrono::steady_clock::now() + 60s));
}

// An echo engine on loopback addresses that answers in 10 ms but loses each address's second
// request; any other address never answers.
class LosingEachHostsSecondEcho final : public IcmpEngine {
 public:
  void Send(Ipv4Address address, std::chrono::milliseconds, EchoDone done) override {
    int sent = 0;
    {
      std::lock_guard guard(mutex_);
      sent = ++sent_[address];
    }
    const bool loopback = (reinterpret_cast<const unsigned char*>(&address)[0]) == 127;
    done(loopback && sent != 2 ? std::optional<std::chrono::nanoseconds>(10ms) : std::nullopt);
  }

 private:
  std::mutex mutex_;
  std::map<Ipv4Address, int> sent_;
};

// Every name is a dotted address here: the test run resolves the rows' domains itself.
class NoNames final : public HostResolver {
 public:
  std::string FirstIpv4Address(const std::string&) override { return {}; }
};

// Every row watched at the default thresholds, a run right after the last: the area selector
// fails from the second status fetch to the twelfth, and each host loses its second probe, the
// loss of one probe in two, in three and so on, while 影流 comes back from 维护 at the
// thirteenth fetch. Nothing but 影流's return is told in 25 runs, two minutes at the usual
// five seconds: no stopped region reads its script word 正常, no row is told the state it
// starts in (the server without a domain has no address), and one lost probe is no loss.
TEST(HeadlessWatchTest, ASelectorOutageAndOneLostProbePerHostTellNothingButTheRealChange) {
  testing::KeepLoopbackTrafficDirect();
  demo::DemoWorld world;
  ASSERT_TRUE(world.Start());
  world.FailStatusDocument(demo::DemoWorld::StatusDocument::kSelector, 1, 11);
  world.SetRegionStatusCode("15", "1", 12);
  Application app;
  for (const SiteInfo& site : SiteTable()) app.endpoints.SetBaseUrl(site.site, world.BaseUrl());
  EchoProbes probes(
      [] {
        return IcmpEngineStart{std::make_unique<LosingEachHostsSecondEcho>(), ""};
      },
      std::make_unique<NoNames>());
  WatchRecorder recorder;
  WatchControls controls = recorder.Controls();
  controls.services.sendPing = [&probes](const std::string& address,
                                         std::function<void(int)> done) {
    probes.Send(address, kDefaultPingTimeoutMs, std::move(done));
  };
  controls.services.probeUnavailableReason = [&probes] { return probes.UnavailableReason(); };

  std::promise<int> exitCode;
  std::future<int> ended = exitCode.get_future();
  std::thread watch([&] { exitCode.set_value(RunHeadlessWatch(app, {}, 0, controls)); });
  const bool ranEnough = testing::AwaitCondition([&] { return recorder.Runs() >= 25; }, 300s);
  recorder.RequestEnd();
  const bool endedInTime = ended.wait_for(60s) == std::future_status::ready;
  watch.join();
  EXPECT_TRUE(AwaitStartedThreads(std::chrono::steady_clock::now() + 60s));
  probes.Stop();
  ASSERT_TRUE(ranEnough);
  ASSERT_TRUE(endedInTime);
  EXPECT_EQ(ended.get(), 0);

  const json expected = {{"time", IsoUtcTime(Minute(14))},
                         {"serverName", Utf8(u8"电信15区")},
                         {"domain", "127.0.0.16"},
                         {"kind", "status"},
                         {"from", Utf8(u8"维护")},
                         {"to", Utf8(u8"正常")},
                         {"value", nullptr},
                         {"threshold", nullptr}};
  const std::vector<std::string> events = recorder.Events();
  ASSERT_EQ(events.size(), 1u) << ::testing::PrintToString(events);
  EXPECT_EQ(ParseJson(events[0]), expected) << events[0];
  EXPECT_TRUE(recorder.Notes().empty()) << ::testing::PrintToString(recorder.Notes());
}

TEST(HeadlessWatchTest, NoListOrNoServerToWatchEndsWithOne) {
  testing::KeepLoopbackTrafficDirect();
  {
    Application app;  // no site has an address
    WatchRecorder recorder;
    EXPECT_EQ(RunHeadlessWatch(app, {}, 1, recorder.Controls()), 1);
    EXPECT_EQ(recorder.Notes(),
              std::vector<std::string>{"vardelle: " + Utf8(u8"未设置游戏盒子站点地址（--gamebox 或 "
                                                           u8"VARDELLE_GAMEBOX）")});
  }
  demo::DemoWorld world;
  ASSERT_TRUE(world.Start());
  Application app;
  for (const SiteInfo& site : SiteTable()) app.endpoints.SetBaseUrl(site.site, world.BaseUrl());
  WatchRecorder recorder;
  EXPECT_EQ(
      RunHeadlessWatch(app, {.servers = {"无此服务器", Utf8(u8"无此区")}}, 1, recorder.Controls()),
      1);
  EXPECT_EQ(recorder.Notes(),
            (std::vector<std::string>{
                "vardelle: no server named " + Utf8(u8"无此服务器") + " in the list",
                "vardelle: no server named " + Utf8(u8"无此区") + " in the list",
                "vardelle: no server to watch"}));
  EXPECT_TRUE(recorder.Events().empty());
  EXPECT_TRUE(AwaitStartedThreads(std::chrono::steady_clock::now() + 60s));
}

}  // namespace
}  // namespace vardelle

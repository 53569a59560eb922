// The window's alerts fed by the test-run engine: a latency watch chosen on a row is told
// after its third run over the threshold (a server listed twice counts once a run), the
// watches come back from the settings file, and the window shows what is watched; fed by the
// demo world's status fetches, a failed document reads nothing.
#include "app/alerts/alert_watching.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "app/alerts/alert_choice.h"
#include "app/alerts/alert_settings.h"
#include "app/application/application.h"
#include "app/status/region_status.h"
#include "app/table/server_table.h"
#include "app/test_run/run_engine.h"
#include "app/window/main_window_logic.h"
#include "demo_world/demo_world.h"
#include "testing/loopback.h"
#include "tests/app/fake_window.h"
#include "tests/recording_notifier.h"

namespace vardelle {

void PrintTo(const AlertNotice& notice, std::ostream* out) {
  *out << notice.title << ": " << notice.body;
}

namespace {

class AlertWatchingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.window = &window;
    app.lists = std::make_shared<ProcessLists>();
    app.settingsFile = settings.string();
    app.alerts.SetNotifier(notifier);
    // 网通01区 twice, as a list may hold it, and a server of its own.
    const std::pair<const char*, const char*> servers[] = {
        {"网通01区 ", "127.0.0.22"}, {"网通01区", "127.0.0.22"}, {"电信01区", "127.0.0.2"}};
    for (const auto& [name, domain] : servers) {
      const RowId row = window.InsertRow(name, RowIcon::kNotTested);
      window.SetCellText(row, kRegionColumn, "比尔吉沃特");
      window.SetCellText(row, kDomainColumn, domain);
    }
  }
  void TearDown() override {
    engine.Stop();
    std::filesystem::remove(settings);
  }

  // A run in which every probe answers in milliseconds.
  void Run(int milliseconds) {
    latency = milliseconds;
    engine.StartRun()->Wait();
    engine.Settle();
  }

  TestRunServices Services() {
    TestRunServices services;
    services.sendPing = [this](const std::string&, std::function<void(int)> done) {
      done(latency);
    };
    services.resolveHostAddress = [](const std::string& host) { return host; };
    services.probeUnavailableReason = [] { return std::string(); };
    services.fetchRegionStatus = [this](const Endpoints&) { return status; };
    return services;
  }

  std::filesystem::path settings =
      std::filesystem::temp_directory_path() /
      ("vardelle-alert-watching-" +
       std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".ini");
  std::shared_ptr<testing::RecordingNotifier> notifier =
      std::make_shared<testing::RecordingNotifier>();
  testing::FakeWindow window;
  Application app;
  std::atomic<int> latency{0};
  // What the next status fetch hands on.
  std::shared_ptr<const RegionStatusLists> status = std::make_shared<const RegionStatusLists>();
  TestRunEngine engine{app.SharedWithTestRuns(), Services()};
};

TEST_F(AlertWatchingTest, ALatencyWatchIsToldAfterThreeRunsOverItAndSurvivesARestart) {
  Run(20);
  window.selectedRow = 1;
  window.alertAnswer = AlertWatch{{}, 150, {}};
  ChooseAlertForSelectedRow(window, app.alerts, app.latencyHistory, app.settingsFile);
  ASSERT_EQ(window.alertDialogs.size(), 1u);
  EXPECT_EQ(window.alertDialogs[0].first, "网通01区");
  EXPECT_TRUE(window.alertDialogs[0].second.IsEmpty());
  EXPECT_EQ(window.StatusLine(), "已设置提醒：网通01区 延迟超过 150ms；提醒中：1 个服务器");
  EXPECT_EQ(window.trayToolTip, "Vardelle 提醒中\n网通01区 20ms");

  Run(200);
  Run(200);
  EXPECT_TRUE(notifier->Notices().empty());
  Run(200);
  EXPECT_EQ(notifier->Notices(),
            (std::vector<AlertNotice>{{"网通01区（127.0.0.22）", "延迟超过 150ms，当前 200ms"}}));
  Run(-1);
  EXPECT_EQ(window.trayToolTip, "Vardelle 提醒中\n网通01区 超时");
  EXPECT_NE(window.StatusLine().find("；提醒中：1 个服务器"), std::string::npos);
  // The first row of the two names the server; the other is left to it.
  const std::vector<RowId> rows = window.RowIds();
  EXPECT_EQ(window.watchNotes[rows[0]], "提醒：延迟超过 150ms");
  EXPECT_FALSE(window.watchNotes.contains(rows[2]));

  AlertWatching restarted;
  restarted.Load(app.settingsFile);
  EXPECT_EQ(restarted.WatchOf(AlertTargetOf(" 网通01区", "127.0.0.22")), (AlertWatch{{}, 150, {}}));
  EXPECT_EQ(restarted.StatusNote(), "；提醒中：1 个服务器");
}

// Alerts judged after each run, as the headless watch judges them, take the words of the run's
// fetch that the table shows: 比尔吉沃特 reads 维护, then 正常 while the status service fails (the
// table shows it, the alerts take no reading), then 正常 twice; the change is told at the fourth
// run, in the table's word.
TEST_F(AlertWatchingTest, AlertsJudgedAfterEachRunTakeTheWordsTheTableShows) {
  app.alerts.JudgeAfterRuns();
  const RowId server = window.RowIds()[2];
  app.alerts.SetWatch({server, AlertTargetOf("电信01区", "127.0.0.2"), "比尔吉沃特"},
                      {StatusWatch::kAnyChange, std::nullopt, std::nullopt}, "");
  const struct {
    const char* code;
    DocumentRead service;
  } fetches[] = {{"4", DocumentRead::kRead},
                 {"1", DocumentRead::kFailed},
                 {"1", DocumentRead::kRead},
                 {"1", DocumentRead::kRead}};
  std::vector<std::pair<int, AlertEvent>> told;
  for (int run = 1; run <= 4; ++run) {
    auto lists = std::make_shared<RegionStatusLists>();
    lists->serverInfoItems = {"'7':'比尔吉沃特'"};
    lists->statusCodeItems = {JoinTexts({"\"7\":\"", fetches[run - 1].code, "\""})};
    lists->serverStatusItems = {"1:'正常'", "4:'维护'"};
    lists->statusService = fetches[run - 1].service;
    status = std::move(lists);
    Run(10);
    EXPECT_EQ(window.Column(kStatusColumn)[2], run == 1 ? "维护" : "正常") << run;
    for (const AlertEvent& event :
         app.alerts.JudgeRun(app.latencyHistory, AlertTime(std::chrono::minutes(run)))) {
      told.emplace_back(run, event);
    }
  }
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0].first, 4);
  EXPECT_EQ(AlertNoticeOf(told[0].second),
            (AlertNotice{"电信01区（127.0.0.2）", "大区状态：维护 → 正常"}));
  EXPECT_TRUE(notifier->Notices().empty());
}

// Each status document failing alone for two fetches, from the first or from the third, on
// the demo world, with every fetch fed to the window's alerts watching four regions: 巨龙之巢
// (stopped), 艾欧尼亚 (满载), 祖安 (拥挤) and 影流 (维护, back to 正常 from a given fetch). While
// a document fails no word is read, though the table shows a stopped region's script word, so
// nothing but 影流's return is told, at the fetch that confirms it: an outage neither confirms
// a change nor breaks one under way.
// The demo world's status documents fetched for the window's alerts, which watch four regions
// for any change: 巨龙之巢 (stopped), 艾欧尼亚 (满载), 祖安 (拥挤) and 影流 (维护); each notice
// with the fetch it came after.
class StatusWatchingWorld {
 public:
  StatusWatchingWorld() {
    testing::KeepLoopbackTrafficDirect();
    started_ = world.Start();
    app_.lists = std::make_shared<ProcessLists>();
    for (const SiteInfo& site : SiteTable()) app_.endpoints.SetBaseUrl(site.site, world.BaseUrl());
    alerts_.SetNotifier(notifier_);
    const std::pair<const char*, const char*> rows[] = {{"电信20区", "巨龙之巢"},
                                                        {"电信01区", "艾欧尼亚"},
                                                        {"电信02区", "祖安"},
                                                        {"电信15区", "影流"}};
    std::uint64_t id = 0;
    for (const auto& [name, region] : rows) {
      alerts_.SetWatch({RowId{++id}, AlertTargetOf(name, "127.0.0.1"), region},
                       {StatusWatch::kAnyChange, std::nullopt, std::nullopt}, "");
    }
  }
  bool Started() const { return started_; }
  std::shared_ptr<const RegionStatusLists> Fetch() {
    return FetchRegionStatus(app_.endpoints, app_.lists);
  }
  void Read(std::shared_ptr<const RegionStatusLists> lists) {
    ++reads_;
    alerts_.StatusFetched(RegionStatusWords(std::move(lists), {}));
    const std::vector<AlertNotice> notices = notifier_->Notices();
    for (std::size_t at = told_.size(); at < notices.size(); ++at) {
      told_.emplace_back(reads_, notices[at]);
    }
  }
  const std::vector<std::pair<int, AlertNotice>>& Told() const { return told_; }

  demo::DemoWorld world;

 private:
  bool started_ = false;
  Application app_;
  int reads_ = 0;
  AlertWatching alerts_{[this] { return AlertTime(std::chrono::minutes(reads_)); }};
  std::shared_ptr<testing::RecordingNotifier> notifier_ =
      std::make_shared<testing::RecordingNotifier>();
  std::vector<std::pair<int, AlertNotice>> told_;
};

const AlertNotice kShadowBack{"电信15区（127.0.0.1）", "大区状态：维护 → 正常"};

// Each status document failing alone for two fetches, from the first or from the third. While
// a document fails no word is read, though the table shows a stopped region's script word, so
// nothing but 影流's return is told, at the fetch that confirms it: an outage neither confirms
// a change nor breaks one under way.
struct DocumentOutageCase {
  demo::DemoWorld::StatusDocument failing;
  int outageAfter;  // fetches answered before the outage
  int backAtFetch;  // 影流's first fetch of 正常
  int toldAtFetch;
};

TEST(AlertWatchingStatusTest, AFailedStatusDocumentReadsNothingForTheRegionsItDecides) {
  using enum demo::DemoWorld::StatusDocument;
  std::vector<DocumentOutageCase> cases;
  for (demo::DemoWorld::StatusDocument failing : {kScript, kService, kSelector}) {
    cases.push_back({failing, 0, 4, 5});  // the first reading is the one after the outage
    cases.push_back({failing, 2, 2, 5});  // a change under way at the outage
  }
  for (const DocumentOutageCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "document " << static_cast<int>(c.failing)
                                      << " failing after " << c.outageAfter << " fetches");
    StatusWatchingWorld watching;
    ASSERT_TRUE(watching.Started());
    watching.world.FailStatusDocument(c.failing, c.outageAfter, 2);
    watching.world.SetRegionStatusCode("15", "1", c.backAtFetch - 1);
    for (int fetch = 1; fetch <= 7; ++fetch) watching.Read(watching.Fetch());
    EXPECT_EQ(watching.Told(),
              (std::vector<std::pair<int, AlertNotice>>{{c.toldAtFetch, kShadowBack}}));
  }
}

// A fetch that failed or was cut short hands on the set before it: read again, it is no second
// reading of 影流's return.
TEST(AlertWatchingStatusTest, TheSameQuerysSetReadAgainIsNoNewReading) {
  StatusWatchingWorld watching;
  ASSERT_TRUE(watching.Started());
  watching.world.SetRegionStatusCode("15", "1", 1);
  watching.Read(watching.Fetch());
  const std::shared_ptr<const RegionStatusLists> back = watching.Fetch();
  watching.Read(back);
  watching.Read(back);
  EXPECT_TRUE(watching.Told().empty());
  watching.Read(watching.Fetch());
  EXPECT_EQ(watching.Told(), (std::vector<std::pair<int, AlertNotice>>{{4, kShadowBack}}));
}

TEST(AlertNoticeTest, EveryKindOfEventReadsAsASentence) {
  const AlertTime now{};
  const struct {
    AlertEvent event;
    const char* body;
  } cases[] = {
      {{now, "影流", "", AlertKind::kStatus, "维护", "正常", {}, {}}, "大区状态：维护 → 正常"},
      {{now, "影流", "", AlertKind::kLatency, "ok", "over", {}, 150}, "延迟超过 150ms，当前 超时"},
      {{now, "影流", "", AlertKind::kLatency, "over", "ok", 42, 150},
       "延迟恢复到 150ms 以下，当前 42ms"},
      {{now, "影流", "", AlertKind::kLoss, "ok", "over", 100.0 / 3, 10},
       "丢包超过 10%，当前 33.3%"},
      {{now, "影流", "", AlertKind::kLoss, "over", "ok", 0, 10}, "丢包恢复到 10% 以下，当前 0%"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AlertNoticeOf(c.event), (AlertNotice{"影流", c.body}));
  }
  const AlertEvent withDomain{now,    "影流", "127.0.0.16", AlertKind::kStatus,
                              "正常", "维护", {},           {}};
  EXPECT_EQ(AlertNoticeOf(withDomain).title, "影流（127.0.0.16）");
  EXPECT_EQ(AlertWatchDescription({StatusWatch::kAnyChange, 80, 0}),
            "状态变化；延迟超过 80ms；丢包超过 0%");
}

}  // namespace
}  // namespace vardelle

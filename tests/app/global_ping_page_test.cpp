// The "全球Ping" page without a window: its list mirrors the table, global tests write their
// rows as the measurements move on, a newer test owns its rows, and the place is kept.
#include "app/global_ping/global_ping_page.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>

#include "app/application/application.h"
#include "app/settings/column_settings.h"
#include "app/table/server_table.h"
#include "app/view/memory_window.h"
#include "app/window/main_window_logic.h"
#include "demo_world/globalping_stand_in.h"
#include "fake_window.h"
#include "support/json_documents/json_documents.h"
#include "testing/loopback_servers.h"
#include "tests/support/temp_dir.h"

namespace vardelle {
namespace {

using namespace std::chrono_literals;

// Remembers every state each list row was given, in order.
class RecordingWindow : public MemoryWindow {
 public:
  void SetKeyListRow(int row, const KeyListRow& cells) override {
    {
      std::lock_guard guard(statesMutex);
      states[row].push_back(cells.state);
    }
    MemoryWindow::SetKeyListRow(row, cells);
  }
  std::vector<std::string> StatesOf(int row) {
    std::lock_guard guard(statesMutex);
    return states[row];
  }

 private:
  std::mutex statesMutex;
  std::map<int, std::vector<std::string>> states;
};

// The stand-in, remembering the limit and status of every creation.
class StandIn {
 public:
  explicit StandIn(demo::StandInBehaviour behaviour) {
    demo::ServeGlobalpingStandIn(server.Server(), behaviour);
    server.Server().set_logger(
        [this](const httplib::Request& request, const httplib::Response& response) {
          if (request.method != "POST") return;
          std::lock_guard guard(mutex);
          creations.emplace_back(ParseJson(request.body).value("limit", 0), response.status);
        });
    EXPECT_TRUE(server.Start());
  }
  GlobalpingAccess Access() { return {server.Url(""), ""}; }
  std::vector<std::pair<int, int>> Creations() {
    std::lock_guard guard(mutex);
    return creations;
  }

 private:
  std::mutex mutex;
  std::vector<std::pair<int, int>> creations;  // limit, status
  testing::LoopbackHttpServer server;
};

const ClientLimits kQuickPolls{20ms, 10000ms, 400};

class GlobalPingPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::KeepLoopbackTrafficDirect();
    for (const auto& [name, domain] :
         {std::pair{"艾欧尼亚", "hn1.lol.example.com"}, std::pair{"祖安", ""},
          std::pair{"诺克萨斯", "localhost"}, std::pair{"班德尔城", "hn4.lol.example.com"},
          std::pair{"皮尔特沃夫", "hn5.lol.example.com"},
          std::pair{"战争学院", "hn6.lol.example.com"}}) {
      window.SetCellText(window.InsertRow(name, RowIcon::kNotTested), kDomainColumn, domain);
    }
    windowSlot = &window;
  }

  RecordingWindow window;
  std::atomic<MainWindowView*> windowSlot{nullptr};
  GlobalPingPage page;
};

TEST_F(GlobalPingPageTest, ChosenRowsMoveFromQueuedThroughProgressToTheirResult) {
  page.ListServers(window);
  std::vector<std::string> names;
  for (const MemoryKeyListRow& row : window.KeyListRows()) names.push_back(row.name);
  EXPECT_EQ(names, (std::vector<std::string>{"艾欧尼亚", "祖安", "诺克萨斯", "班德尔城",
                                             "皮尔特沃夫", "战争学院"}));

  StandIn standIn({});
  const auto run =
      page.TestRows(windowSlot, standIn.Access(), {0, 1, 7}, DefaultGlobalPingPlace(), kQuickPolls);
  ASSERT_TRUE(run);
  run->Wait();
  const std::vector<ServerMeasurement> results = run->Results();
  ASSERT_EQ(results.size(), 2u);  // the row out of range is skipped
  const std::vector<MemoryKeyListRow> rows = window.KeyListRows();
  KeyListRow measured = rows[0].cells;
  EXPECT_NE(measured.toolTip.find("Beijing"), std::string::npos);
  EXPECT_EQ(measured.key, results[0].outcome.measurement.id);
  measured.key = measured.toolTip = "";
  EXPECT_EQ(measured, (KeyListRow{"", "完成", "23.1ms", "8.1–41.9ms", "31.2%", "3/5", "",
                                  RowIcon::kAnswered}));
  EXPECT_EQ(rows[1].cells, (KeyListRow{.state = "域名为空", .icon = RowIcon::kNoAnswer}));
  EXPECT_EQ(rows[2].cells, KeyListRow{});  // not chosen
  EXPECT_EQ(window.KeyListStatus(),
            "全球Ping (中国): 没有进行中的测试，本小时剩余额度 245/250 次测试，设置 Globalping "
            "令牌可提高额度");

  const std::vector<std::string> states = window.StatesOf(0);
  ASSERT_GE(states.size(), 3u);
  EXPECT_EQ(states.front(), "排队中");
  EXPECT_TRUE(std::any_of(states.begin(), states.end(),
                          [](const std::string& s) { return s.starts_with("测试中"); }));
}

// Fewer tests left than chosen rows: the rows that fit are measured one probe each, the
// others are told when the budget renews, and the service never has to refuse.
TEST_F(GlobalPingPageTest, ABudgetSmallerThanTheRowsIsSharedWithoutARefusal) {
  page.ListServers(window);
  StandIn standIn({.anonymousHourlyTests = 3});
  const auto run = page.TestRows(windowSlot, standIn.Access(), {0, 3, 4, 5},
                                 DefaultGlobalPingPlace(), kQuickPolls);
  ASSERT_TRUE(run);
  run->Wait();
  EXPECT_EQ(standIn.Creations(), (std::vector<std::pair<int, int>>{{1, 202}, {1, 202}, {1, 202}}));
  const std::vector<MemoryKeyListRow> rows = window.KeyListRows();
  for (const int row : {0, 3, 4}) EXPECT_EQ(rows[row].cells.probes, "1/1") << row;
  EXPECT_TRUE(rows[5].cells.state.starts_with("本小时额度已用完，")) << rows[5].cells.state;
  EXPECT_TRUE(rows[5].cells.state.ends_with(" 后可再测")) << rows[5].cells.state;
  EXPECT_NE(window.KeyListStatus().find("本小时剩余额度 0/3 次测试"), std::string::npos)
      << window.KeyListStatus();
}

// A second click while a row is measured leaves its measurement alone rather than spending
// the budget on it again; once it has ended, the row can be tested anew.
TEST_F(GlobalPingPageTest, ARowUnderTestIsNotStartedAgainUntilItsTestEnds) {
  page.ListServers(window);
  StandIn neverFinishing({.pollsBeforeFinished = -1});
  StandIn finishing({.pollsBeforeFinished = 1});
  const auto older = page.TestRows(windowSlot, neverFinishing.Access(), {0},
                                   DefaultGlobalPingPlace(), {20ms, 1500ms, 400});
  EXPECT_EQ(
      page.TestRows(windowSlot, finishing.Access(), {0}, DefaultGlobalPingPlace(), kQuickPolls),
      nullptr);
  EXPECT_EQ(window.KeyListStatus(), "全球Ping: 所选服务器的测试仍在进行中");
  const auto beside =
      page.TestRows(windowSlot, finishing.Access(), {0, 3}, DefaultGlobalPingPlace(), kQuickPolls);
  ASSERT_TRUE(beside);
  beside->Wait();
  ASSERT_EQ(beside->Results().size(), 1u);
  EXPECT_EQ(beside->Results()[0].server.name, "班德尔城");

  older->Wait();
  ASSERT_NE(older->Results()[0].outcome.failure, "");  // the time limit ended it
  const auto anew =
      page.TestRows(windowSlot, finishing.Access(), {0}, DefaultGlobalPingPlace(), kQuickPolls);
  ASSERT_TRUE(anew);
  anew->Wait();
  EXPECT_EQ(window.KeyListRows()[0].cells, FinalCells(anew->Results()[0].outcome).row);
}

TEST_F(GlobalPingPageTest, ListingAnewOrClosingTheWindowStopsTheWrites) {
  page.ListServers(window);
  StandIn standIn({.pollsBeforeFinished = -1});
  const ClientLimits shortLimit{20ms, 1500ms, 400};
  const auto relisted =
      page.TestRows(windowSlot, standIn.Access(), {0}, DefaultGlobalPingPlace(), shortLimit);
  page.ListServers(window);
  const auto closed =
      page.TestRows(windowSlot, standIn.Access(), {3}, DefaultGlobalPingPlace(), shortLimit);
  windowSlot = nullptr;
  relisted->Wait();
  closed->Wait();
  EXPECT_EQ(window.KeyListRows()[0].cells.state, "");
  const std::string timedOut = FinalCells(closed->Results()[0].outcome).row.state;
  ASSERT_NE(timedOut, "");
  EXPECT_NE(window.KeyListRows()[3].cells.state, timedOut);
}

TEST_F(GlobalPingPageTest, NothingToTestIsToldOnThePagesStatusLine) {
  StandIn standIn({});
  EXPECT_FALSE(page.TestRows(windowSlot, standIn.Access(), {0}, DefaultGlobalPingPlace()));
  EXPECT_EQ(window.KeyListStatus(), "全球Ping: 服务器列表还没有载入");
  page.ListServers(window);
  EXPECT_EQ(GlobalPingPage::RowsToTest(window, false), std::vector<int>{});
  EXPECT_EQ(GlobalPingPage::RowsToTest(window, true), (std::vector<int>{0, 1, 2, 3, 4, 5}));
  EXPECT_FALSE(page.TestRows(windowSlot, standIn.Access(), {}, DefaultGlobalPingPlace()));
  EXPECT_EQ(window.KeyListStatus(), "全球Ping: 请先在列表中选择要测试的服务器");
}

TEST(GlobalPingPlaceTest, TheMenuChecksThePlaceKeptInTheSettingsFile) {
  testing_files::TempDir folder;
  Application application;
  application.settingsFile = folder.File("vardelle/settings.ini");
  testing::FakeWindow window;
  application.window = &window;
  MainWindowLogic logic(application);
  logic.OnKeyListRightClicked();
  logic.OnGlobalPlaceChosen(2);
  logic.OnKeyListRightClicked();
  logic.OnGlobalPlaceChosen(7);  // no such place: the choice stays
  logic.OnKeyListRightClicked();
  EXPECT_EQ(window.keyListMenus, (std::vector<int>{0, 2, 2}));
  EXPECT_EQ(ReadSettingsValue(application.settingsFile, "globalPing", "place"), "world");

  GlobalPingPage restarted;
  EXPECT_EQ(restarted.Place(application.settingsFile).englishName, "world");
  SaveSettingsValue(application.settingsFile, "globalPing", "place", "Mars");
  EXPECT_EQ(GlobalPingPage().Place(application.settingsFile).englishName, "china");
}

}  // namespace
}  // namespace vardelle

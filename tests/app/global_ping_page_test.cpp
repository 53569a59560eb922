// The "全球Ping" page without a window: its list mirrors the table, global tests write their
// rows as the measurements move on, a newer test owns its rows, and the place is kept.
#include "app/global_ping/global_ping_page.h"

#include <gtest/gtest.h>

#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <mutex>

#include "app/headless/memory_window.h"
#include "app/start/application.h"
#include "app/table/server_table.h"
#include "app/window/column_settings.h"
#include "app/window/main_window_logic.h"
#include "demo_world/globalping_stand_in.h"
#include "fake_window.h"
#include "testing/loopback_servers.h"
#include "tests/support/temp_dir.h"

namespace vardelle {
namespace {

using namespace std::chrono_literals;

// Remembers every state each list row was given, in order.
class RecordingWindow : public MemoryWindow {
 public:
  void SetKeyListRow(int row, const std::string& key, const std::string& state,
                     const std::string& toolTip) override {
    {
      std::lock_guard guard(statesMutex);
      states[row].push_back(state);
    }
    MemoryWindow::SetKeyListRow(row, key, state, toolTip);
  }
  std::vector<std::string> StatesOf(int row) {
    std::lock_guard guard(statesMutex);
    return states[row];
  }

 private:
  std::mutex statesMutex;
  std::map<int, std::vector<std::string>> states;
};

class StandIn {
 public:
  explicit StandIn(demo::StandInBehaviour behaviour) {
    demo::ServeGlobalpingStandIn(server.Server(), behaviour);
    EXPECT_TRUE(server.Start());
  }
  GlobalpingAccess Access() { return {server.Url(""), ""}; }

 private:
  testing::LoopbackHttpServer server;
};

const ClientLimits kQuickPolls{20ms, 10000ms, 400};

class GlobalPingPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::KeepLoopbackTrafficDirect();
    for (const auto& [name, domain] : {std::pair{"艾欧尼亚", "127.0.0.1"}, std::pair{"祖安", ""},
                                       std::pair{"诺克萨斯", "localhost"}}) {
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
  for (const MemoryKeyListRow& row : window.KeyListRows()) names.push_back(row.cells[0]);
  EXPECT_EQ(names, (std::vector<std::string>{"艾欧尼亚", "祖安", "诺克萨斯"}));

  StandIn standIn({.pollsBeforeFinished = 2, .rateLimitResetSeconds = 0});
  const auto run = page.TestRows(windowSlot, standIn.Access(), {0, 1, 7}, DefaultGlobalPingPlace(),
                                 kQuickPolls);
  ASSERT_TRUE(run);
  run->Wait();
  const std::vector<ServerMeasurement> results = run->Results();
  ASSERT_EQ(results.size(), 2u);  // the row out of range is skipped
  const std::vector<MemoryKeyListRow> rows = window.KeyListRows();
  for (size_t row = 0; row < 2; ++row) {
    const GlobalPingRowCells final = FinalCells(results[row].outcome);
    EXPECT_EQ(rows[row].cells[1], final.key);
    EXPECT_EQ(rows[row].cells[2], final.state);
    EXPECT_EQ(rows[row].toolTip, final.probeList);
  }
  EXPECT_FALSE(rows[0].cells[1].empty());
  EXPECT_NE(rows[0].toolTip.find("Beijing"), std::string::npos);
  EXPECT_EQ(rows[1].cells[2], "域名不可用");
  EXPECT_EQ(rows[2].cells[1] + rows[2].cells[2], "");  // not chosen

  const std::vector<std::string> states = window.StatesOf(0);
  ASSERT_GE(states.size(), 3u);
  EXPECT_EQ(states.front(), "排队中");
  EXPECT_TRUE(std::any_of(states.begin(), states.end(),
                          [](const std::string& s) { return s.starts_with("测试中"); }));
}

// A second click while a row is measured leaves its measurement alone rather than spending
// the budget on it again; once it has ended, the row can be tested anew.
TEST_F(GlobalPingPageTest, ARowUnderTestIsNotStartedAgainUntilItsTestEnds) {
  page.ListServers(window);
  StandIn neverFinishing({.pollsBeforeFinished = -1, .rateLimitResetSeconds = 0});
  StandIn finishing({.pollsBeforeFinished = 1, .rateLimitResetSeconds = 0});
  const auto older = page.TestRows(windowSlot, neverFinishing.Access(), {0},
                                   DefaultGlobalPingPlace(), {20ms, 1500ms, 400});
  EXPECT_EQ(page.TestRows(windowSlot, finishing.Access(), {0}, DefaultGlobalPingPlace(),
                          kQuickPolls),
            nullptr);
  EXPECT_EQ(window.StatusLine(), "全球Ping: 所选服务器的测试仍在进行中");
  const auto beside = page.TestRows(windowSlot, finishing.Access(), {0, 2},
                                    DefaultGlobalPingPlace(), kQuickPolls);
  ASSERT_TRUE(beside);
  beside->Wait();
  ASSERT_EQ(beside->Results().size(), 1u);
  EXPECT_EQ(beside->Results()[0].server.name, "诺克萨斯");

  older->Wait();
  ASSERT_NE(older->Results()[0].outcome.failure, "");  // the time limit ended it
  const auto anew = page.TestRows(windowSlot, finishing.Access(), {0}, DefaultGlobalPingPlace(),
                                  kQuickPolls);
  ASSERT_TRUE(anew);
  anew->Wait();
  EXPECT_EQ(window.KeyListRows()[0].cells[2], FinalCells(anew->Results()[0].outcome).state);
}

TEST_F(GlobalPingPageTest, ListingAnewOrClosingTheWindowStopsTheWrites) {
  page.ListServers(window);
  StandIn standIn({.pollsBeforeFinished = -1, .rateLimitResetSeconds = 0});
  const ClientLimits shortLimit{20ms, 1500ms, 400};
  const auto relisted =
      page.TestRows(windowSlot, standIn.Access(), {0}, DefaultGlobalPingPlace(), shortLimit);
  page.ListServers(window);
  const auto closed =
      page.TestRows(windowSlot, standIn.Access(), {2}, DefaultGlobalPingPlace(), shortLimit);
  windowSlot = nullptr;
  relisted->Wait();
  closed->Wait();
  EXPECT_EQ(window.KeyListRows()[0].cells[2], "");
  const std::string timedOut = FinalCells(closed->Results()[0].outcome).state;
  ASSERT_NE(timedOut, "");
  EXPECT_NE(window.KeyListRows()[2].cells[2], timedOut);
}

TEST_F(GlobalPingPageTest, NothingToTestIsToldOnTheStatusLine) {
  StandIn standIn({});
  EXPECT_FALSE(page.TestRows(windowSlot, standIn.Access(), {0}, DefaultGlobalPingPlace()));
  EXPECT_EQ(window.StatusLine(), "全球Ping: 服务器列表还没有载入");
  page.ListServers(window);
  EXPECT_EQ(GlobalPingPage::RowsToTest(window, false), std::vector<int>{});
  EXPECT_EQ(GlobalPingPage::RowsToTest(window, true), (std::vector<int>{0, 1, 2}));
  EXPECT_FALSE(page.TestRows(windowSlot, standIn.Access(), {}, DefaultGlobalPingPlace()));
  EXPECT_EQ(window.StatusLine(), "全球Ping: 请先在列表中选择要测试的服务器");
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

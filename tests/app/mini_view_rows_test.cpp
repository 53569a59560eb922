// The mini view's logic on the in-memory window: a chosen row shows with what the runs wrote
// on it, follows later runs while shown, and its servers, showing and place come back from
// the settings file after a restart, where the latencies wait for the next run; lists
// emptied leave no keys in the file.
#include "app/mini_view/mini_view_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/alerts/alert_watching.h"
#include "app/settings/column_settings.h"
#include "app/table/server_table.h"
#include "app/view/memory_window.h"
#include "tests/support/temp_dir.h"

namespace vardelle {
namespace {

class SelectingWindow : public MemoryWindow {
 public:
  std::vector<int> selected;
  std::vector<int> SelectedRows() override { return selected; }
};

constexpr RowColour kMaintenanceColour{0x0000FF, 0xEEEEEE};
constexpr RowColour kNormal{0x008000, kDefaultColour};

RowChange Result(RowId row, const std::string& latency, RowColour colour) {
  return {.row = row, .cells = {{kLatencyColumn, latency}}, .colour = colour};
}

TEST(MiniViewRowsTest, ChosenRowsFollowTheRunsAndComeBackAfterARestart) {
  testing_files::TempDir dir;
  const std::string settings = dir.File("vardelle/settings.ini");
  SelectingWindow window;
  const RowId shadow = window.InsertRow("电信15区", RowIcon::kNotTested);
  const RowId netcom = window.InsertRow("网通01区", RowIcon::kNotTested);
  const RowId again = window.InsertRow("电信15区", RowIcon::kNotTested);

  MiniViewRows mini;
  mini.RowsChanged({Result(shadow, "12ms", kMaintenanceColour)}, window);
  EXPECT_EQ(window.MiniView(), MiniViewState{}) << "nothing listed, nothing drawn";
  mini.AddSelectedRows(window, settings);
  EXPECT_EQ(window.MiniView(), MiniViewState{}) << "no row selected";
  window.selected = {0};
  mini.AddSelectedRows(window, settings);
  window.selected = {0, 1, 2};  // 电信15区 listed once
  mini.AddSelectedRows(window, settings);
  const MiniViewRow shadowLine{"电信15区", "12ms", kMaintenanceColour.textColour,
                               kMaintenanceColour.backColour};
  EXPECT_EQ(window.MiniView(), (MiniViewState{.shown = true, .rows = {shadowLine, {"网通01区"}}}));

  mini.ToggleClickThrough(window);
  EXPECT_TRUE(window.MiniView().clickThrough);
  mini.Moved({1500, -20}, settings);
  mini.RowsChanged({Result(netcom, "33ms", kNormal), Result(again, "99ms", kNormal)}, window);
  const MiniViewRow netcomLine{"网通01区", "33ms", kNormal.textColour, kNormal.backColour};
  EXPECT_EQ(window.MiniView(), (MiniViewState{.shown = true,
                                              .clickThrough = true,
                                              .place = ScreenPoint{1500, -20},
                                              .rows = {shadowLine, netcomLine}}));

  SelectingWindow restarted;
  MiniViewRows loaded;
  loaded.Load(settings, restarted);
  EXPECT_EQ(restarted.MiniView(), (MiniViewState{.shown = true,
                                                 .place = ScreenPoint{1500, -20},
                                                 .rows = {{"电信15区"}, {"网通01区"}}}));
  // A run's table: a server listed twice follows its first row.
  loaded.TrackRows({{again, {"电信15区"}}, {shadow, {"电信15区"}}, {netcom, {"网通01区"}}});
  loaded.RowsChanged({Result(again, "7ms", kNormal), Result(shadow, "88ms", kMaintenanceColour)},
                     restarted);
  EXPECT_EQ(restarted.MiniView().rows,
            (std::vector<MiniViewRow>{{"电信15区", "7ms", kNormal.textColour, kNormal.backColour},
                                      {"网通01区"}}));

  loaded.ToggleShown(restarted, settings);
  EXPECT_FALSE(restarted.MiniView().shown);
  loaded.RowsChanged({Result(netcom, "40ms", kNormal)}, restarted);
  EXPECT_EQ(restarted.MiniView().rows[1].latency, "") << "a hidden mini view is not drawn";
  MiniViewRows hidden;
  hidden.Load(settings, restarted);
  EXPECT_FALSE(hidden.State().shown);
  EXPECT_EQ(hidden.State().rows.size(), 2u);
}

// The file's lists as the window leaves them once the player has taken every server out of
// the mini view and every watch off its row; a file an older version left empty keys in
// reads as if they were not there.
TEST(MiniViewRowsTest, EmptiedListsLeaveNoKeysInTheSettingsFile) {
  testing_files::TempDir dir;
  const std::string settings = dir.File("settings.ini");
  testing_files::WriteBytes(settings,
                            "[miniView]\r\ncount=2\r\nserver1=\r\nserver2=网通01区\r\nshown=1\r\n"
                            "[alerts]\r\ncount=1\r\nserver1=\r\ndomain1=\r\nstatus1=\r\n");
  SelectingWindow window;
  const RowId shadow = window.InsertRow("电信15区", RowIcon::kNotTested);
  const RowId netcom = window.InsertRow("网通01区", RowIcon::kNotTested);
  MiniViewRows mini;
  mini.Load(settings, window);
  EXPECT_EQ(window.MiniView(), (MiniViewState{.shown = true, .rows = {{"网通01区"}}}));
  AlertWatching alerts;
  alerts.Load(settings);
  EXPECT_FALSE(alerts.AnyWatched());

  window.selected = {0, 1};
  EXPECT_FALSE(mini.ListsSelectedRows(window)) << "电信15区 is not listed yet";
  mini.AddSelectedRows(window, settings);
  EXPECT_TRUE(mini.ListsSelectedRows(window));
  const AlertWatch watch{StatusWatch::kAnyChange, 150, std::nullopt};
  const WatchedRow rows[] = {{shadow, AlertTargetOf("电信15区", "127.0.0.16"), "影流"},
                             {netcom, AlertTargetOf("网通01区", "127.0.0.22"), "比尔吉沃特"}};
  for (const WatchedRow& row : rows) alerts.SetWatch(row, watch, settings);
  EXPECT_EQ(ReadSettingsValue(settings, "miniView", "server2"), "电信15区");
  EXPECT_EQ(ReadSettingsValue(settings, "alerts", "server2"), "网通01区");

  window.selected = {1};
  mini.RemoveSelectedRows(window, settings);
  EXPECT_EQ(window.MiniView(), (MiniViewState{.shown = true, .rows = {{"电信15区"}}}));
  mini.Remove({"电信15区"}, window, settings);
  EXPECT_EQ(window.MiniView(), MiniViewState{}) << "hidden once it lists none";
  window.selected = {0, 1};
  EXPECT_FALSE(mini.ListsSelectedRows(window));
  for (const WatchedRow& row : rows) alerts.SetWatch(row, {}, settings);
  SettingsWriter().Flush();
  EXPECT_EQ(testing_files::ReadBytes(settings),
            "[miniView]\r\ncount=0\r\nshown=0\r\n[alerts]\r\ncount=0\r\n");
}

}  // namespace
}  // namespace vardelle

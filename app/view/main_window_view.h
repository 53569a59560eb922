// What the application asks of the window: the control operations it drives. The window
// layer implements it; tests implement it in memory.
//
// Every operation may be called from any thread. Calls from other threads than the
// window's are carried out on the window's thread while the caller waits; once the window
// is gone they do nothing (getters then answer "" / 0 / -1).
#pragma once

#include <compare>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/view/alert_watch.h"
#include "app/view/colour.h"
#include "app/view/location_source.h"
#include "app/view/mini_view.h"

namespace vardelle {

class SettingsDialog;

// State icons of the server table's rows.
enum class RowIcon : int { kAnswered = 0, kNoAnswer = 1, kNotTested = 2 };

// The columns of 超级列表框1, the list of the "全球Ping" page.
enum KeyListColumn : int {
  kKeyListNameColumn = 0,     // "服务器名称"
  kKeyListKeyColumn = 1,      // "KEY": the measurement id
  kKeyListStateColumn = 2,    // "测试状态"
  kKeyListAverageColumn = 3,  // "平均"
  kKeyListRangeColumn = 4,    // "最小–最大"
  kKeyListLossColumn = 5,     // "丢包"
  kKeyListProbesColumn = 6,   // "探针"
  kKeyListColumnCount = 7
};

// What a row of that list shows besides its name; GBK texts, "" for an empty cell.
struct KeyListRow {
  std::string key{};
  std::string state{};
  std::string average{};               // "23.1ms"
  std::string range{};                 // "8.1–41.9ms"
  std::string loss{};                  // "8.3%"
  std::string probes{};                // "3/4": probes that answered of those measuring
  std::string toolTip{};               // one line per probe
  RowIcon icon = RowIcon::kNotTested;  // answered, failed (kNoAnswer) or not tested
  bool operator==(const KeyListRow&) const = default;
};

// Column header images of the server table.
enum class HeaderArrow : int { kNone = -1, kUp = 0, kDown = 1 };

// A row's identity of its own: it follows the row through sorts, so a write made after a
// sort still reaches its row. Never reused within a program run; the empty id names no row.
struct RowId {
  std::uint64_t value = 0;
  friend auto operator<=>(const RowId&, const RowId&) = default;
};

// The colours a row is drawn in; kDefaultColour draws the control's own.
struct RowColour {
  Colour textColour = kDefaultColour;
  Colour backColour = kDefaultColour;
};

// A row's texts in the columns asked for, with the row's identity.
struct RowTexts {
  RowId row;
  std::vector<std::string> cells;
};

// How the window draws a row: a selected row of the table that has the keyboard focus in the
// system's highlight colours, any other row in its own.
inline RowColour DrawnRowColour(RowColour own, bool selectedAndFocused) {
  return selectedAndFocused ? RowColour{} : own;
}

// What a new result adds to a row beside its cells: the results its trend sparkline draws,
// oldest first (nullopt for a lost probe), and the latency cell's tooltip.
struct RowStatistics {
  std::vector<std::optional<int>> trend;
  std::string latencyToolTip;
};

// Changes to one row: cells (column, text), the state icon, the colours it is drawn in and
// its statistics; the window keeps and draws them, and asks nothing back.
struct RowChange {
  RowId row{};
  std::vector<std::pair<int, std::string>> cells{};
  std::optional<RowIcon> icon{};
  std::optional<RowColour> colour{};
  std::optional<RowStatistics> statistics{};
};

class MainWindowView {
 public:
  virtual ~MainWindowView() = default;

  // listView, the server table. Rows and columns are counted from 0; texts are GBK.
  virtual std::string CellText(int row, int column) = 0;
  virtual void SetCellText(int row, int column, const std::string& text) = 0;
  virtual void SetRowIcon(int row, RowIcon icon) = 0;
  // Appends a row whose first cell is firstCell; returns its identity.
  virtual RowId InsertRow(const std::string& firstCell, RowIcon icon) = 0;
  // The row at a position (empty id when out of range), and a row's present position (-1
  // when it is gone).
  virtual RowId RowIdAt(int row) = 0;
  // Every row's identity in table order, taken in one step, so a sort meanwhile cannot
  // make a row appear twice or not at all.
  virtual std::vector<RowId> RowIds() = 0;
  virtual int RowIndexOf(RowId id) = 0;
  // The same cell and icon operations, addressed by identity; a gone row is left alone.
  virtual std::string CellText(RowId id, int column) = 0;
  virtual void SetCellText(RowId id, int column, const std::string& text) = 0;
  virtual void SetRowIcon(RowId id, RowIcon icon) = 0;
  // Every row's identity and the texts of columns, in table order, taken in one step: one
  // call for the whole table rather than one per cell.
  virtual std::vector<RowTexts> RowsWithTexts(const std::vector<int>& columns) = 0;
  // The texts of columns of the rows named, in that order, taken in one step; a gone row is
  // left out. With RowIds it reads a long table a slice at a time, so the window's thread is
  // held for no more than a slice, and a sort between two slices neither doubles nor drops
  // a row.
  virtual std::vector<RowTexts> TextsOfRows(const std::vector<RowId>& rows,
                                            const std::vector<int>& columns) = 0;
  // True on the window's thread, where every call holds the window until it returns.
  virtual bool OnWindowThread() = 0;
  // Carries out every change in one step (a gone row is left alone) and repaints once.
  virtual void ApplyRowChanges(const std::vector<RowChange>& changes) = 0;
  virtual void DeleteAllRows() = 0;
  virtual int RowCount() = 0;
  // -1 when no row is selected.
  virtual int SelectedRow() = 0;
  // Every selected row, in table order.
  virtual std::vector<int> SelectedRows() = 0;
  // Reorders the rows; compare gets two rows' identities and answers negative, zero or
  // positive. Identities rather than positions, so keys taken before the sort still fit
  // when another sort came in between.
  virtual void SortRows(const std::function<int(RowId, RowId)>& compare) = 0;
  virtual void SetColumnArrow(int column, HeaderArrow arrow) = 0;
  // The row's tooltip outside the latency column, which has its statistics: what is watched
  // on the row, "" for nothing.
  virtual void SetRowWatchNote(RowId id, const std::string& note) = 0;
  // Where the row's location cell came from: the cell's tooltip says so for the offline
  // database.
  virtual void SetLocationSource(RowId id, LocationSource source) = 0;
  // Repaints the table soon; requests made before the repaint are served by one.
  virtual void Redraw() = 0;

  // 超级列表框1, the list of the "全球Ping" page: its selected row (-1 when none), all its
  // selected rows in list order, its row count and a cell's text ("" when out of range).
  virtual int KeyListSelectedRow() = 0;
  virtual std::vector<int> KeyListSelectedRows() = 0;
  virtual int KeyListRowCount() = 0;
  virtual std::string KeyListCellText(int row, int column) = 0;
  // Replaces the list's rows with one per server name, their other cells empty.
  virtual void SetKeyListRows(const std::vector<std::string>& names) = 0;
  // A row's cells after its name, its icon and the tooltip over the row; a row out of range
  // is left alone.
  virtual void SetKeyListRow(int row, const KeyListRow& cells) = 0;
  // The page's own status line (place, tests under way, budget left).
  virtual void SetKeyListStatus(const std::string& text) = 0;
  // The list's pop-up menu at the mouse position, with the place of that index in
  // GlobalPingPlaces() checked; returns when the menu closes, the chosen item firing its
  // own event.
  virtual void ShowKeyListMenu(int checkedPlace) = 0;

  // 组合框1, the auto-test period list.
  virtual int PeriodSelection() = 0;
  virtual int PeriodItemValue(int index) = 0;
  // Selects the item; the timer is left as it is (SelectTestPeriod follows it).
  virtual void SelectPeriod(int index) = 0;

  // 时钟1: a period equal to the current one changes nothing; otherwise the timer stops
  // and, for a period above 0, starts anew.
  virtual void SetTimerPeriod(int milliseconds) = 0;

  virtual int ClientWidth() = 0;
  virtual void SetTableWidth(int width) = 0;

  // 右键1 at the mouse position moved by (dx, dy); returns when the menu closes, the
  // chosen item firing its own event. For rows the mini view lists already it offers
  // 移出小窗 in place of 小窗.
  virtual void ShowRowMenu(int dx, int dy, bool listedInMiniView) = 0;

  // 超级按钮1 takes the keyboard focus.
  virtual void FocusTestButton() = 0;

  // The dialog of "提醒…" for the row of serverName, filled in with current; returns the
  // watch chosen (empty to watch nothing), or nothing when it was cancelled. On the window's
  // thread only, since it waits for the player.
  virtual std::optional<AlertWatch> AskAlertWatch(const std::string& serverName,
                                                  const AlertWatch& current) = 0;
  // The icon in the notification area: shown with text as its tooltip, hidden for "".
  virtual void SetTrayToolTip(const std::string& text) = 0;
  // The mini view (小窗) drawn as state says; while it shows, so does the tray icon, whose
  // menu is the way back from click-through.
  virtual void SetMiniView(const MiniViewState& state) = 0;

  // The one-line status label of page 0: what the program is doing, what went wrong.
  virtual void SetStatusLine(const std::string& text) = 0;

  // The text over the empty server table with a button "设置…" (OnSettingsChosen); "" hides
  // both.
  virtual void SetTableGuide(const std::string& text) = 0;
  // The dialog of "设置…" drawn for dialog, until OK (when dialog.Accept agreed) or Cancel.
  // On the window's thread only, since it waits for the player.
  virtual void RunSettingsDialog(SettingsDialog& dialog) = 0;
};

// The window's events, delivered on the window's thread.
class MainWindowEvents {
 public:
  virtual ~MainWindowEvents() = default;
  virtual void OnCreated(MainWindowView& view) = 0;
  virtual void OnDestroying() = 0;
  virtual void OnResized() = 0;
  virtual void OnHeaderClicked(int column) = 0;
  virtual void OnRowActivated() = 0;
  virtual void OnRowRightClicked() = 0;
  virtual void OnContinuousPingChosen() = 0;
  virtual void OnRouteTraceChosen() = 0;
  // "提醒…" from the row menu.
  virtual void OnAlertChosen() = 0;
  // "小窗" from the row menu: the selected row joins the mini view, which shows.
  virtual void OnMiniViewChosen() = 0;
  // "移出小窗" from the row menu: the selected rows leave the mini view.
  virtual void OnMiniViewRemoveChosen() = 0;
  // "移出小窗" from the mini view's own menu, on the line of serverName (GBK).
  virtual void OnMiniViewLineRemoveChosen(const std::string& serverName) = 0;
  // "小窗" from the tray menu: shows or hides the mini view.
  virtual void OnMiniViewToggled() = 0;
  // "点击穿透" from the mini view's menu or the tray's: clicks pass through it, or no longer.
  virtual void OnClickThroughToggled() = 0;
  // The player dragged the mini view to place.
  virtual void OnMiniViewMoved(ScreenPoint place) = 0;
  // Asked when the player closes the window: true while rows are watched, and the window
  // then offers to keep running in the notification area (KeepRunningInTrayQuestion).
  virtual bool AlertsWatched() = 0;
  virtual void OnPeriodChanged() = 0;
  virtual void OnTestButtonClicked() = 0;
  virtual void OnTimerElapsed() = 0;
  // "设置…", beside 超级按钮1 or in the empty table's guide.
  virtual void OnSettingsChosen() = 0;
  virtual void OnUpdateLabelPressed() = 0;
  virtual void OnKeyListRowActivated() = 0;
  virtual void OnKeyListRightClicked() = 0;
  // From the list's menu: a global test of the selected rows or of all, a place chosen.
  virtual void OnGlobalTestChosen(bool allServers) = 0;
  virtual void OnGlobalPlaceChosen(int placeIndex) = 0;
};

// Builds the main window, shows it and runs the message loop until it is closed.
class WindowPlatform {
 public:
  virtual ~WindowPlatform() = default;
  virtual void RunMainWindow(MainWindowEvents& events) = 0;
};

}  // namespace vardelle

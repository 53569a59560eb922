// What both editions' windows do alike, written once: the view's calls carried to the
// window's thread and the table, list, status line and timer operations behind them; the
// statistics columns' numbers and saved choice; and how long the alert notifier is wired.
//
// No toolkit header here: an edition hands its types in as a template parameter, a struct
// with
//   Window      the main window: ServerTable() and KeyList() (each a Table),
//               Statistics().Show(RowId, trend, NativeText latencyToolTip), StatusLine() and
//               KeyListStatusLine() with
//               SetFullText(NativeText), Timer().SetPeriod(int), and the operations of its own
//               controls that MainWindowView names alike: SetRowWatchNote(RowId, NativeText),
//               ShowRowMenu, ShowKeyListMenu, PeriodSelection, PeriodItemValue, ClientWidth,
//               SetTableWidth, FocusTestButton, SetTrayToolTip(NativeText), SelectPeriod,
//               SetTableGuide(NativeText), SetLocationNote(RowId, NativeText),
//               SetMiniView(NativeMiniView<NativeText>)
//   Calls       what carries calls to the window's thread, held by value or by shared_ptr:
//               Run(call) runs call(Window&) there and waits, or does nothing once the
//               window is gone
//   NativeText  the window's text type, with static ToWindow(GBK) and FromWindow(text)
//   AskAlertWatch(Window&, serverName, current)  the edition's 提醒 dialog
//   RunSettingsDialog(Window&, SettingsDialog&)   the edition's 设置 dialog
// A Table is reached by position (int) or through RowWithId(RowId), whose answer the
// cell, icon, colour and tooltip operations take alike; a row that is not there is left alone
// and reads as empty.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/alerts/alert_watching.h"
#include "app/location/server_location.h"
#include "app/settings/column_settings.h"
#include "app/table/server_table.h"
#include "app/view/main_window_view.h"
#include "support/text/text.h"

namespace vardelle {

// The mini view as the window draws it: its state with each row's texts in the window's type.
template <typename NativeText>
struct NativeMiniView {
  struct Row {
    NativeText name;
    NativeText latency;
    Colour textColour = kDefaultColour;
    Colour backColour = kDefaultColour;
  };
  bool shown = false;
  bool clickThrough = false;
  std::optional<ScreenPoint> place;
  std::vector<Row> rows;
};

template <typename Edition>
class WindowViewCore : public MainWindowView {
 public:
  using Window = typename Edition::Window;
  using NativeText = typename Edition::NativeText;

  std::string CellText(int row, int column) override {
    return Edition::FromWindow(
        Ask(NativeText(), [&](Window& w) { return w.ServerTable().CellText(row, column); }));
  }
  void SetCellText(int row, int column, const std::string& text) override {
    const NativeText cell = Edition::ToWindow(text);
    Run([&](Window& w) { w.ServerTable().SetCellText(row, column, cell); });
  }
  void SetRowIcon(int row, RowIcon icon) override {
    Run([&](Window& w) { w.ServerTable().SetRowIcon(row, icon); });
  }
  RowId InsertRow(const std::string& firstCell, RowIcon icon) override {
    const NativeText cell = Edition::ToWindow(firstCell);
    return Ask(RowId{}, [&](Window& w) { return w.ServerTable().AppendRow(cell, icon); });
  }
  RowId RowIdAt(int row) override {
    return Ask(RowId{}, [&](Window& w) { return w.ServerTable().IdAt(row); });
  }
  std::vector<RowId> RowIds() override {
    return Ask(std::vector<RowId>(), [](Window& w) {
      auto& table = w.ServerTable();
      std::vector<RowId> ids(static_cast<std::size_t>(table.RowCount()));
      for (std::size_t row = 0; row < ids.size(); ++row)
        ids[row] = table.IdAt(static_cast<int>(row));
      return ids;
    });
  }
  int RowIndexOf(RowId id) override {
    return Ask(-1, [&](Window& w) { return w.ServerTable().IndexOf(id); });
  }

  // The row is looked up on the window's thread in the same call as the read or write, so
  // a sort in between cannot misdirect it.
  std::string CellText(RowId id, int column) override {
    return Edition::FromWindow(Ask(NativeText(), [&](Window& w) {
      auto& table = w.ServerTable();
      return table.CellText(table.RowWithId(id), column);
    }));
  }
  void SetCellText(RowId id, int column, const std::string& text) override {
    const NativeText cell = Edition::ToWindow(text);
    Run([&](Window& w) {
      auto& table = w.ServerTable();
      table.SetCellText(table.RowWithId(id), column, cell);
    });
  }
  void SetRowIcon(RowId id, RowIcon icon) override {
    Run([&](Window& w) {
      auto& table = w.ServerTable();
      table.SetRowIcon(table.RowWithId(id), icon);
    });
  }

  // The texts are taken on the window's thread and converted to GBK on the caller's, so the
  // window is held no longer than the reading takes.
  std::vector<RowTexts> RowsWithTexts(const std::vector<int>& columns) override {
    return InGbk(Ask(std::vector<TakenRow>(), [&](Window& w) {
      auto& table = w.ServerTable();
      std::vector<TakenRow> rows;
      rows.reserve(static_cast<std::size_t>(table.RowCount()));
      for (int row = 0; row < table.RowCount(); ++row) rows.push_back(Take(table, row, columns));
      return rows;
    }));
  }
  // Each row is looked for first just after the row before it, where it stays unless rows
  // moved or went since its identity was read.
  std::vector<RowTexts> TextsOfRows(const std::vector<RowId>& rows,
                                    const std::vector<int>& columns) override {
    return InGbk(Ask(std::vector<TakenRow>(), [&](Window& w) {
      auto& table = w.ServerTable();
      std::vector<TakenRow> taken;
      taken.reserve(rows.size());
      int next = -1;
      for (const RowId id : rows) {
        const int row = next >= 0 && table.IdAt(next) == id ? next : table.IndexOf(id);
        if (row < 0) continue;
        taken.push_back(Take(table, row, columns));
        next = row + 1;
      }
      return taken;
    }));
  }
  bool OnWindowThread() override {
    const std::thread::id caller = std::this_thread::get_id();
    return Ask(false, [caller](Window&) { return std::this_thread::get_id() == caller; });
  }

  // Converted on the caller's thread, carried out in one call on the window's.
  void ApplyRowChanges(const std::vector<RowChange>& changes) override {
    struct Converted {
      const RowChange& change;
      std::vector<std::pair<int, NativeText>> cells;
      NativeText latencyToolTip;
    };
    std::vector<Converted> converted;
    converted.reserve(changes.size());
    for (const RowChange& change : changes) {
      Converted& row = converted.emplace_back(Converted{change, {}, {}});
      for (const auto& [column, text] : change.cells)
        row.cells.emplace_back(column, Edition::ToWindow(text));
      if (change.statistics)
        row.latencyToolTip = Edition::ToWindow(change.statistics->latencyToolTip);
    }
    Run([&](Window& w) {
      auto& table = w.ServerTable();
      for (Converted& taken : converted) {
        const RowChange& change = taken.change;
        const auto row = table.RowWithId(change.row);
        for (const auto& [column, text] : taken.cells) table.SetCellText(row, column, text);
        if (change.icon) table.SetRowIcon(row, *change.icon);
        if (change.colour) table.SetRowColour(row, *change.colour);
        if (change.statistics) {
          w.Statistics().Show(change.row, change.statistics->trend,
                              std::move(taken.latencyToolTip));
        }
      }
      table.Repaint();
    });
  }

  void DeleteAllRows() override {
    Run([](Window& w) { w.ServerTable().DeleteAllRows(); });
  }
  int RowCount() override {
    return Ask(0, [](Window& w) { return w.ServerTable().RowCount(); });
  }
  int SelectedRow() override {
    return Ask(-1, [](Window& w) { return w.ServerTable().SelectedRow(); });
  }
  std::vector<int> SelectedRows() override {
    return Ask(std::vector<int>(), [](Window& w) { return w.ServerTable().SelectedRows(); });
  }
  void SortRows(const std::function<int(RowId, RowId)>& compare) override {
    Run([&](Window& w) { w.ServerTable().SortRows(compare); });
  }
  void SetColumnArrow(int column, HeaderArrow arrow) override {
    Run([&](Window& w) { w.ServerTable().SetColumnArrow(column, arrow); });
  }

  void Redraw() override {
    // Many workers ask at once; one pending request serves them all. The flag drops before
    // the repaint is asked for, so every change made while it was up is painted. A window
    // gone before the call ran leaves it up: nothing is painted any more.
    if (redrawPending_.exchange(true)) return;
    Run([this](Window& w) {
      redrawPending_ = false;
      w.ServerTable().Repaint();
    });
  }

  int KeyListSelectedRow() override {
    return Ask(-1, [](Window& w) { return w.KeyList().SelectedRow(); });
  }
  std::vector<int> KeyListSelectedRows() override {
    return Ask(std::vector<int>(), [](Window& w) { return w.KeyList().SelectedRows(); });
  }
  int KeyListRowCount() override {
    return Ask(0, [](Window& w) { return w.KeyList().RowCount(); });
  }
  std::string KeyListCellText(int row, int column) override {
    return Edition::FromWindow(
        Ask(NativeText(), [&](Window& w) { return w.KeyList().CellText(row, column); }));
  }
  void SetKeyListRows(const std::vector<std::string>& names) override {
    std::vector<NativeText> rows;
    rows.reserve(names.size());
    for (const std::string& name : names) rows.push_back(Edition::ToWindow(name));
    Run([&](Window& w) {
      auto& list = w.KeyList();
      list.DeleteAllRows();
      for (const NativeText& name : rows) list.AppendRow(name, RowIcon::kNotTested);
    });
  }
  void SetKeyListRow(int row, const KeyListRow& cells) override {
    const std::pair<int, NativeText> texts[] = {
        {kKeyListKeyColumn, Edition::ToWindow(cells.key)},
        {kKeyListStateColumn, Edition::ToWindow(cells.state)},
        {kKeyListAverageColumn, Edition::ToWindow(cells.average)},
        {kKeyListRangeColumn, Edition::ToWindow(cells.range)},
        {kKeyListLossColumn, Edition::ToWindow(cells.loss)},
        {kKeyListProbesColumn, Edition::ToWindow(cells.probes)}};
    const NativeText tip = Edition::ToWindow(cells.toolTip);
    Run([&](Window& w) {
      auto& list = w.KeyList();
      for (const auto& [column, text] : texts) list.SetCellText(row, column, text);
      list.SetRowIcon(row, cells.icon);
      list.SetRowToolTip(row, tip);
    });
  }
  void SetKeyListStatus(const std::string& text) override {
    const NativeText line = Edition::ToWindow(text);
    Run([&](Window& w) { w.KeyListStatusLine().SetFullText(line); });
  }

  void SetLocationSource(RowId id, LocationSource source) override {
    NativeText note = Edition::ToWindow(LocationSourceNote(source));
    Run([&](Window& w) { w.SetLocationNote(id, std::move(note)); });
  }
  void SetRowWatchNote(RowId id, const std::string& note) override {
    NativeText tip = Edition::ToWindow(note);
    Run([&](Window& w) { w.SetRowWatchNote(id, std::move(tip)); });
  }
  void ShowKeyListMenu(int checkedPlace) override {
    Run([&](Window& w) { w.ShowKeyListMenu(checkedPlace); });
  }
  int PeriodSelection() override {
    return Ask(-1, [](Window& w) { return w.PeriodSelection(); });
  }
  int PeriodItemValue(int index) override {
    return Ask(0, [&](Window& w) { return w.PeriodItemValue(index); });
  }
  void SelectPeriod(int index) override {
    Run([&](Window& w) { w.SelectPeriod(index); });
  }
  int ClientWidth() override {
    return Ask(0, [](Window& w) { return w.ClientWidth(); });
  }
  void SetTableWidth(int width) override {
    Run([&](Window& w) { w.SetTableWidth(width); });
  }
  void ShowRowMenu(int dx, int dy, bool listedInMiniView) override {
    Run([&](Window& w) { w.ShowRowMenu(dx, dy, listedInMiniView); });
  }
  void FocusTestButton() override {
    Run([](Window& w) { w.FocusTestButton(); });
  }

  void SetTimerPeriod(int milliseconds) override {
    Run([&](Window& w) { w.Timer().SetPeriod(milliseconds); });
  }
  void SetStatusLine(const std::string& text) override {
    const NativeText line = Edition::ToWindow(text);
    Run([&](Window& w) { w.StatusLine().SetFullText(line); });
  }
  std::optional<AlertWatch> AskAlertWatch(const std::string& serverName,
                                          const AlertWatch& current) override {
    return Ask(std::optional<AlertWatch>(),
               [&](Window& w) { return Edition::AskAlertWatch(w, serverName, current); });
  }
  void SetTrayToolTip(const std::string& text) override {
    const NativeText tip = Edition::ToWindow(text);
    Run([&](Window& w) { w.SetTrayToolTip(tip); });
  }
  void SetMiniView(const MiniViewState& state) override {
    NativeMiniView<NativeText> drawn{state.shown, state.clickThrough, state.place, {}};
    for (const MiniViewRow& row : state.rows) {
      drawn.rows.push_back({Edition::ToWindow(row.name), Edition::ToWindow(row.latency),
                            row.textColour, row.backColour});
    }
    Run([&](Window& w) { w.SetMiniView(drawn); });
  }
  void SetTableGuide(const std::string& text) override {
    const NativeText guide = Edition::ToWindow(text);
    Run([&](Window& w) { w.SetTableGuide(guide); });
  }
  void RunSettingsDialog(SettingsDialog& dialog) override {
    Run([&](Window& w) { Edition::RunSettingsDialog(w, dialog); });
  }

 protected:
  template <typename... CallsArguments>
  explicit WindowViewCore(CallsArguments&&... arguments)
      : calls_(std::forward<CallsArguments>(arguments)...) {}

  auto& Calls() { return Reach(calls_); }

  template <typename Call>
  void Run(Call call) {
    Calls().Run(call);
  }
  // Answers what the window says, or fallback once the window is gone.
  template <typename Result, typename Query>
  Result Ask(Result fallback, Query query) {
    Calls().Run([&](Window& window) { fallback = query(window); });
    return fallback;
  }

 private:
  struct TakenRow {
    RowId row;
    std::vector<NativeText> cells;
  };
  template <typename Table>
  static TakenRow Take(Table& table, int row, const std::vector<int>& columns) {
    TakenRow taken{table.IdAt(row), {}};
    taken.cells.reserve(columns.size());
    for (const int column : columns) taken.cells.push_back(table.CellText(row, column));
    return taken;
  }
  static std::vector<RowTexts> InGbk(const std::vector<TakenRow>& taken) {
    std::vector<RowTexts> rows;
    rows.reserve(taken.size());
    for (const TakenRow& row : taken) {
      RowTexts& texts = rows.emplace_back(RowTexts{row.row, {}});
      for (const NativeText& cell : row.cells) texts.cells.push_back(Edition::FromWindow(cell));
    }
    return rows;
  }

  template <typename Held>
  static Held& Reach(Held& calls) {
    return calls;
  }
  template <typename Held>
  static Held& Reach(std::shared_ptr<Held>& calls) {
    return *calls;
  }

  typename Edition::Calls calls_;
  std::atomic<bool> redrawPending_{false};
};

// Which statistics columns the player shows, kept in the settings file between starts; a
// settingsPath of "" keeps the choice for this run only.
class StatisticsColumnChoice {
 public:
  explicit StatisticsColumnChoice(Text settingsPath)
      : settingsPath_(std::move(settingsPath)), shownAtStart_(ReadShownColumns(settingsPath_)) {}

  bool ShownAtStart(int column) const {
    return std::find(shownAtStart_.begin(), shownAtStart_.end(), column) != shownAtStart_.end();
  }
  // Saves the statistics columns that isShown(column) answers true for.
  template <typename IsShown>
  void Save(IsShown isShown) const {
    std::vector<int> shown;
    for (int column = kLossColumn; column < kLossColumn + kStatisticsColumnCount; ++column) {
      if (isShown(column)) shown.push_back(column);
    }
    SaveShownColumns(settingsPath_, shown);
  }

 private:
  const Text settingsPath_;
  const std::vector<int> shownAtStart_;
};

// Alerts are told while the window runs, on both editions, from its building to just before
// OnDestroying: each edition tells them through something the window's run holds (Windows:
// the balloon of the window's own notification-area icon; Linux: a session bus connection,
// which must go while Qt's bus manager is still there, that is before the QApplication).
// Tying the notifier to the window's run lets it go before the application tears down; a
// notice that comes after is dropped, as a notice without a window was before the window.
class WindowAlertNotifier {
 public:
  WindowAlertNotifier(AlertWatching& alerts, std::shared_ptr<AlertNotifier> notifier)
      : alerts_(alerts) {
    alerts_.SetNotifier(std::move(notifier));
  }
  ~WindowAlertNotifier() { alerts_.SetNotifier(nullptr); }
  WindowAlertNotifier(const WindowAlertNotifier&) = delete;
  WindowAlertNotifier& operator=(const WindowAlertNotifier&) = delete;

 private:
  AlertWatching& alerts_;
};

}  // namespace vardelle

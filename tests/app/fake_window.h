// The in-memory window with the controls it lacks: it records what the application asked of
// them (status lines, arrows, timer periods, menus) and answers the selections a test sets.
// Safe to call from several threads; read the public state once they are done.
#pragma once

#include <algorithm>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/view/memory_window.h"

namespace vardelle::testing {

class FakeWindow : public MemoryWindow {
 public:
  int SelectedRow() override { return selectedRow; }
  void SetColumnArrow(int column, HeaderArrow arrow) override {
    std::lock_guard guard(mutex_);
    if (column < 0 || column >= kTableColumns) return;
    arrows.resize(std::max<size_t>(arrows.size(), column + 1), HeaderArrow::kNone);
    arrows[column] = arrow;
  }
  void Redraw() override { ++redraws; }
  void ShowKeyListMenu(int checkedPlace) override { keyListMenus.push_back(checkedPlace); }
  int PeriodSelection() override { return periodSelection; }
  int PeriodItemValue(int index) override {
    return index >= 0 && index < static_cast<int>(periodValues.size()) ? periodValues[index] : 0;
  }
  void SelectPeriod(int index) override { periodSelection = index; }
  void SetTableGuide(const std::string& text) override {
    std::lock_guard guard(mutex_);
    tableGuide = text;
  }
  void SetTimerPeriod(int milliseconds) override { timerPeriods.push_back(milliseconds); }
  int ClientWidth() override { return clientWidth; }
  void SetTableWidth(int width) override { tableWidth = width; }
  void ShowRowMenu(int dx, int dy, bool) override { menuOffsets.push_back({dx, dy}); }
  void FocusTestButton() override { ++focusRequests; }
  void SetRowWatchNote(RowId id, const std::string& note) override {
    std::lock_guard guard(mutex_);
    watchNotes[id] = note;
  }
  std::optional<AlertWatch> AskAlertWatch(const std::string& serverName,
                                          const AlertWatch& current) override {
    std::lock_guard guard(mutex_);
    alertDialogs.push_back({serverName, current});
    return alertAnswer;
  }
  void SetTrayToolTip(const std::string& text) override {
    std::lock_guard guard(mutex_);
    trayToolTip = text;
  }
  void SetStatusLine(const std::string& text) override {
    MemoryWindow::SetStatusLine(text);
    std::lock_guard guard(mutex_);
    statusLines.push_back(text);
  }

  // What the empty table says now; the loading thread may still be writing it.
  std::string TableGuide() {
    std::lock_guard guard(mutex_);
    return tableGuide;
  }
  // The arrow a column's header shows.
  HeaderArrow ArrowOf(int column) {
    std::lock_guard guard(mutex_);
    return column < static_cast<int>(arrows.size()) ? arrows[column] : HeaderArrow::kNone;
  }
  // One column of every row, top to bottom.
  std::vector<std::string> Column(int column) const {
    std::vector<std::string> cells;
    for (const MemoryRow& row : Rows()) cells.push_back(row.cells[column]);
    return cells;
  }

  int selectedRow = -1;
  std::string tableGuide;
  std::vector<HeaderArrow> arrows;
  std::vector<std::string> statusLines;
  int redraws = 0;
  std::vector<int> keyListMenus;  // the checked place of every menu shown
  int periodSelection = 0;
  std::vector<int> periodValues{0, 5, 10, 20, 30, 60};
  std::vector<int> timerPeriods;
  int clientWidth = 832;
  int tableWidth = 832;
  std::vector<std::pair<int, int>> menuOffsets;
  int focusRequests = 0;
  std::map<RowId, std::string> watchNotes;
  std::vector<std::pair<std::string, AlertWatch>> alertDialogs;  // name and watch shown
  std::optional<AlertWatch> alertAnswer;                         // what the dialog answers
  std::string trayToolTip;
};

}  // namespace vardelle::testing

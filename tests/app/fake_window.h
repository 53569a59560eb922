// An in-memory main window for the application's tests: it keeps the table, the period
// list and the timer as plain data and records what the application asked of it.
#pragma once

#include <algorithm>
#include <mutex>
#include <numeric>
#include <string>
#include <vector>

#include "app/main_window_view.h"

namespace vardelle::testing {

class FakeWindow : public MainWindowView {
 public:
  struct Row {
    std::vector<std::string> cells = std::vector<std::string>(7);
    RowIcon icon = RowIcon::kNotTested;
  };

  std::string CellText(int row, int column) override {
    std::lock_guard guard(mutex);
    return ValidCell(row, column) ? rows[row].cells[column] : std::string();
  }
  void SetCellText(int row, int column, const std::string& text) override {
    std::lock_guard guard(mutex);
    if (ValidCell(row, column)) rows[row].cells[column] = text;
  }
  void SetRowIcon(int row, RowIcon icon) override {
    std::lock_guard guard(mutex);
    if (ValidRow(row)) rows[row].icon = icon;
  }
  int InsertRow(const std::string& firstCell, RowIcon icon) override {
    std::lock_guard guard(mutex);
    Row row;
    row.cells[0] = firstCell;
    row.icon = icon;
    rows.push_back(row);
    return static_cast<int>(rows.size()) - 1;
  }
  void DeleteAllRows() override {
    std::lock_guard guard(mutex);
    rows.clear();
  }
  int RowCount() override {
    std::lock_guard guard(mutex);
    return static_cast<int>(rows.size());
  }
  int SelectedRow() override { return selectedRow; }
  void SortRows(const std::function<int(int, int)>& compare) override {
    std::lock_guard guard(mutex);
    std::vector<int> order(rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(a, b) < 0; });
    std::vector<Row> sorted;
    for (int index : order) sorted.push_back(rows[index]);
    rows = std::move(sorted);
  }
  void SetColumnArrow(int column, HeaderArrow arrow) override {
    arrows.resize(std::max<size_t>(arrows.size(), column + 1), HeaderArrow::kNone);
    arrows[column] = arrow;
  }
  void Redraw() override { ++redraws; }
  int PeriodSelection() override { return periodSelection; }
  int PeriodItemValue(int index) override {
    return index >= 0 && index < static_cast<int>(periodValues.size()) ? periodValues[index] : 0;
  }
  void SetTimerPeriod(int milliseconds) override { timerPeriods.push_back(milliseconds); }
  int ClientWidth() override { return clientWidth; }
  void SetTableWidth(int width) override { tableWidth = width; }
  void ShowRowMenu(int dx, int dy) override { menuOffsets.push_back({dx, dy}); }
  void FocusTestButton() override { ++focusRequests; }

  std::mutex mutex;
  std::vector<Row> rows;
  int selectedRow = -1;
  std::vector<HeaderArrow> arrows;
  int redraws = 0;
  int periodSelection = 0;
  std::vector<int> periodValues{0, 5, 10, 20, 30, 60};
  std::vector<int> timerPeriods;
  int clientWidth = 832;
  int tableWidth = 832;
  std::vector<std::pair<int, int>> menuOffsets;
  int focusRequests = 0;

 private:
  bool ValidRow(int row) const { return row >= 0 && row < static_cast<int>(rows.size()); }
  bool ValidCell(int row, int column) const { return ValidRow(row) && column >= 0 && column < 7; }
};

}  // namespace vardelle::testing

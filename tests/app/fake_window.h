// An in-memory main window for the application's tests: it keeps the table, the period
// list and the timer as plain data and records what the application asked of it. Safe to
// call from several threads; read the public state once they are done.
#pragma once

#include <algorithm>
#include <mutex>
#include <numeric>
#include <string>
#include <vector>

#include "app/window/main_window_view.h"

namespace vardelle::testing {

class FakeWindow : public MainWindowView {
 public:
  struct Row {
    RowId id;
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
  RowId InsertRow(const std::string& firstCell, RowIcon icon) override {
    std::lock_guard guard(mutex);
    Row row{.id = RowId{++lastRowId}};
    row.cells[0] = firstCell;
    row.icon = icon;
    rows.push_back(row);
    return row.id;
  }
  RowId RowIdAt(int row) override {
    std::lock_guard guard(mutex);
    return ValidRow(row) ? rows[row].id : RowId{};
  }
  std::vector<RowId> RowIds() override {
    std::lock_guard guard(mutex);
    std::vector<RowId> ids;
    for (const Row& row : rows) ids.push_back(row.id);
    return ids;
  }
  int RowIndexOf(RowId id) override {
    std::lock_guard guard(mutex);
    return IndexOf(id);
  }
  std::string CellText(RowId id, int column) override {
    std::lock_guard guard(mutex);
    return ValidCell(IndexOf(id), column) ? rows[IndexOf(id)].cells[column] : std::string();
  }
  void SetCellText(RowId id, int column, const std::string& text) override {
    std::lock_guard guard(mutex);
    if (ValidCell(IndexOf(id), column)) rows[IndexOf(id)].cells[column] = text;
  }
  void SetRowIcon(RowId id, RowIcon icon) override {
    std::lock_guard guard(mutex);
    if (ValidRow(IndexOf(id))) rows[IndexOf(id)].icon = icon;
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
    std::lock_guard guard(mutex);
    if (column < 0 || column >= 7) return;
    arrows.resize(std::max<size_t>(arrows.size(), column + 1), HeaderArrow::kNone);
    arrows[column] = arrow;
  }
  void Redraw() override { ++redraws; }
  int KeyListSelectedRow() override { return keyListSelectedRow; }
  std::vector<int> KeyListSelectedRows() override {
    return keyListSelectedRow < 0 ? std::vector<int>{} : std::vector{keyListSelectedRow};
  }
  int KeyListRowCount() override { return static_cast<int>(keyListRows.size()); }
  void SetKeyListRows(const std::vector<std::string>& names) override {
    keyListRows.clear();
    for (const std::string& name : names) keyListRows.push_back({name, "", ""});
  }
  void SetKeyListRow(int row, const std::string& key, const std::string& state,
                     const std::string&) override {
    if (row >= 0 && row < KeyListRowCount()) keyListRows[row] = {keyListRows[row][0], key, state};
  }
  void ShowKeyListMenu(int checkedPlace) override { keyListMenus.push_back(checkedPlace); }
  std::string KeyListCellText(int row, int column) override {
    const bool valid = row >= 0 && row < static_cast<int>(keyListRows.size()) && column >= 0 &&
                       column < static_cast<int>(keyListRows[row].size());
    return valid ? keyListRows[row][column] : std::string();
  }
  int PeriodSelection() override { return periodSelection; }
  int PeriodItemValue(int index) override {
    return index >= 0 && index < static_cast<int>(periodValues.size()) ? periodValues[index] : 0;
  }
  void SetTimerPeriod(int milliseconds) override { timerPeriods.push_back(milliseconds); }
  int ClientWidth() override { return clientWidth; }
  void SetTableWidth(int width) override { tableWidth = width; }
  void ShowRowMenu(int dx, int dy) override { menuOffsets.push_back({dx, dy}); }
  void FocusTestButton() override { ++focusRequests; }
  void SetStatusLine(const std::string& text) override {
    std::lock_guard guard(mutex);
    statusLines.push_back(text);
  }

  // The arrow a column's header shows.
  HeaderArrow ArrowOf(int column) {
    std::lock_guard guard(mutex);
    return column < static_cast<int>(arrows.size()) ? arrows[column] : HeaderArrow::kNone;
  }
  // One column of every row, top to bottom.
  std::vector<std::string> Column(int column) {
    std::lock_guard guard(mutex);
    std::vector<std::string> cells;
    for (const Row& row : rows) cells.push_back(row.cells[column]);
    return cells;
  }

  std::mutex mutex;
  std::vector<Row> rows;
  int selectedRow = -1;
  std::vector<HeaderArrow> arrows;
  std::vector<std::string> statusLines;
  int redraws = 0;
  std::vector<std::vector<std::string>> keyListRows;  // 超级列表框1, three cells a row
  int keyListSelectedRow = -1;
  std::vector<int> keyListMenus;  // the checked place of every menu shown
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
  int IndexOf(RowId id) const {
    const auto found = std::find_if(rows.begin(), rows.end(),
                                    [&](const Row& row) { return id.value && row.id == id; });
    return found == rows.end() ? -1 : static_cast<int>(found - rows.begin());
  }

  std::uint64_t lastRowId = 0;
};

}  // namespace vardelle::testing

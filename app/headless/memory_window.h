// The server table kept in memory, for running the application without a window: loading
// and test runs fill it exactly as they fill the real one. Safe to call from any thread.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "app/window/main_window_view.h"

namespace vardelle {

inline constexpr int kTableColumns = 7;

struct MemoryRow {
  RowId id;
  std::array<std::string, kTableColumns> cells;
  RowIcon icon = RowIcon::kNotTested;
};

class MemoryWindow : public MainWindowView {
 public:
  // The rows in table order.
  std::vector<MemoryRow> Rows() const;
  // The last text the status line was given.
  std::string StatusLine() const;

  std::string CellText(int row, int column) override;
  void SetCellText(int row, int column, const std::string& text) override;
  void SetRowIcon(int row, RowIcon icon) override;
  RowId InsertRow(const std::string& firstCell, RowIcon icon) override;
  RowId RowIdAt(int row) override;
  int RowIndexOf(RowId id) override;
  std::string CellText(RowId id, int column) override;
  void SetCellText(RowId id, int column, const std::string& text) override;
  void SetRowIcon(RowId id, RowIcon icon) override;
  void DeleteAllRows() override;
  int RowCount() override;
  void SortRows(const std::function<int(int, int)>& compare) override;
  void SetStatusLine(const std::string& text) override;

  // Controls that have no memory of their own here.
  int SelectedRow() override { return -1; }
  void SetColumnArrow(int, HeaderArrow) override {}
  void Redraw() override {}
  int KeyListSelectedRow() override { return -1; }
  std::string KeyListCellText(int, int) override { return {}; }
  int PeriodSelection() override { return 0; }
  int PeriodItemValue(int) override { return 0; }
  void SetTimerPeriod(int) override {}
  int ClientWidth() override { return 0; }
  void SetTableWidth(int) override {}
  void ShowRowMenu(int, int) override {}
  void FocusTestButton() override {}

 protected:
  mutable std::mutex mutex_;
  std::vector<MemoryRow> rows_;

 private:
  // The row's cell, or nullptr when there is no such row or column; under mutex_.
  std::string* Cell(int row, int column);
  int IndexOf(RowId id) const;

  std::uint64_t lastRowId_ = 0;
  std::string statusLine_;
};

}  // namespace vardelle

// The server table kept in memory, for running the application without a window: loading
// and test runs fill it exactly as they fill the real one. Safe to call from any thread.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/view/main_window_view.h"

namespace vardelle {

inline constexpr int kTableColumns = 7;

struct MemoryRow {
  RowId id;
  std::array<std::string, kTableColumns> cells;
  RowIcon icon = RowIcon::kNotTested;
  RowColour colour{};
  LocationSource locationSource = LocationSource::kSite;
};

// A row of the "全球Ping" page's list: its name and what follows it.
struct MemoryKeyListRow {
  std::string name;
  KeyListRow cells;
};

class MemoryWindow : public MainWindowView {
 public:
  // The rows in table order.
  std::vector<MemoryRow> Rows() const;
  // The last text the status line was given.
  std::string StatusLine() const;
  std::vector<MemoryKeyListRow> KeyListRows() const;
  // The last text the page's status line was given.
  std::string KeyListStatus() const;
  // The rows the user has selected in the list, in list order.
  void SelectKeyListRows(std::vector<int> rows);

  std::string CellText(int row, int column) override;
  void SetCellText(int row, int column, const std::string& text) override;
  void SetRowIcon(int row, RowIcon icon) override;
  RowId InsertRow(const std::string& firstCell, RowIcon icon) override;
  RowId RowIdAt(int row) override;
  std::vector<RowId> RowIds() override;
  int RowIndexOf(RowId id) override;
  std::string CellText(RowId id, int column) override;
  void SetCellText(RowId id, int column, const std::string& text) override;
  void SetRowIcon(RowId id, RowIcon icon) override;
  std::vector<RowTexts> RowsWithTexts(const std::vector<int>& columns) override;
  std::vector<RowTexts> TextsOfRows(const std::vector<RowId>& rows,
                                    const std::vector<int>& columns) override;
  // No thread of its own: every caller is served at once, as if from another thread.
  bool OnWindowThread() override { return false; }
  void ApplyRowChanges(const std::vector<RowChange>& changes) override;
  void DeleteAllRows() override;
  int RowCount() override;
  void SortRows(const std::function<int(RowId, RowId)>& compare) override;
  void SetStatusLine(const std::string& text) override;
  void SetLocationSource(RowId id, LocationSource source) override;

  // Controls that have no memory of their own here.
  int SelectedRow() override { return -1; }
  std::vector<int> SelectedRows() override { return {}; }
  void SetColumnArrow(int, HeaderArrow) override {}
  void Redraw() override {}
  int KeyListSelectedRow() override;
  std::vector<int> KeyListSelectedRows() override;
  int KeyListRowCount() override;
  std::string KeyListCellText(int row, int column) override;
  void SetKeyListRows(const std::vector<std::string>& names) override;
  void SetKeyListRow(int row, const KeyListRow& cells) override;
  void SetKeyListStatus(const std::string& text) override;
  void ShowKeyListMenu(int) override {}
  int PeriodSelection() override { return 0; }
  int PeriodItemValue(int) override { return 0; }
  void SelectPeriod(int) override {}
  void SetTimerPeriod(int) override {}
  int ClientWidth() override { return 0; }
  void SetTableWidth(int) override {}
  void ShowRowMenu(int, int, bool) override {}
  void FocusTestButton() override {}
  void SetRowWatchNote(RowId, const std::string&) override {}
  std::optional<AlertWatch> AskAlertWatch(const std::string&, const AlertWatch&) override {
    return std::nullopt;
  }
  void SetTrayToolTip(const std::string&) override {}
  void SetMiniView(const MiniViewState& state) override;
  // What the mini view was last drawn as.
  MiniViewState MiniView() const;
  void SetTableGuide(const std::string&) override {}
  void RunSettingsDialog(SettingsDialog&) override {}

 protected:
  mutable std::mutex mutex_;

 private:
  std::vector<MemoryRow> rows_;
  MiniViewState miniView_;

  // The row's cell, or nullptr when there is no such row or column; under mutex_.
  std::string* Cell(int row, int column);
  int IndexOf(RowId id) const;
  // The row's identity and texts of columns; under mutex_.
  RowTexts TextsAt(int index, const std::vector<int>& columns);

  // Row positions by identity; rebuilt when stale, under mutex_.
  mutable std::unordered_map<std::uint64_t, int> positions_;
  mutable bool positionsStale_ = true;
  std::uint64_t lastRowId_ = 0;
  std::string statusLine_;
  std::vector<MemoryKeyListRow> keyListRows_;
  std::string keyListStatus_;
  std::vector<int> keyListSelection_;
};

}  // namespace vardelle

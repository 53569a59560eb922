// The application's view of the main window, callable from any thread.
#pragma once

#include <atomic>

#include "app/window/main_window_view.h"
#include "ui/qt/window_thread_calls.h"

namespace vardelle::ui {

class MainWindow;

class QtMainWindowView final : public MainWindowView {
 public:
  explicit QtMainWindowView(MainWindow& window) : calls_(window) {}

  // See WindowThreadCalls::Detach.
  void Detach() { calls_.Detach(); }

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
  void ApplyRowChanges(const std::vector<RowChange>& changes) override;
  void DeleteAllRows() override;
  int RowCount() override;
  int SelectedRow() override;
  void SortRows(const std::function<int(RowId, RowId)>& compare) override;
  void SetColumnArrow(int column, HeaderArrow arrow) override;
  void Redraw() override;
  int KeyListSelectedRow() override;
  std::vector<int> KeyListSelectedRows() override;
  int KeyListRowCount() override;
  std::string KeyListCellText(int row, int column) override;
  void SetKeyListRows(const std::vector<std::string>& names) override;
  void SetKeyListRow(int row, const KeyListRow& cells) override;
  void SetKeyListStatus(const std::string& text) override;
  void ShowKeyListMenu(int checkedPlace) override;
  int PeriodSelection() override;
  int PeriodItemValue(int index) override;
  void SetTimerPeriod(int milliseconds) override;
  int ClientWidth() override;
  void SetTableWidth(int width) override;
  void ShowRowMenu(int dx, int dy) override;
  void FocusTestButton() override;
  void SetStatusLine(const std::string& text) override;
  void SetRowWatchNote(RowId id, const std::string& note) override;
  std::optional<AlertWatch> AskAlertWatch(const std::string& serverName,
                                          const AlertWatch& current) override;
  void SetTrayToolTip(const std::string& text) override;

 private:
  // Answers what the window says, or fallback once the window is gone.
  template <typename Result, typename Query>
  Result Ask(Result fallback, Query query) {
    calls_.Run([&](MainWindow& window) { fallback = query(window); });
    return fallback;
  }

  WindowThreadCalls calls_;
  std::atomic<bool> redrawPending_{false};
};

}  // namespace vardelle::ui

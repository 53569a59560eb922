#include "ui/win32/main_window_view.h"

#include <optional>
#include <utility>

#include "app/table/server_table.h"
#include "ui/win32/alert_dialog.h"
#include "ui/win32/main_window.h"
#include "ui/win32/window_text.h"

namespace vardelle::win32 {

Win32MainWindowView::Win32MainWindowView(const MainWindow& window) : calls_(window.Calls()) {}

std::string Win32MainWindowView::CellText(int row, int column) {
  return FromWindowText(
      Ask(std::wstring(), [&](MainWindow& w) { return w.ServerTable().CellText(row, column); }));
}

void Win32MainWindowView::SetCellText(int row, int column, const std::string& text) {
  const std::wstring cell = ToWindowText(text);
  calls_->Run([&](MainWindow& w) { w.ServerTable().SetCellText(row, column, cell); });
}

void Win32MainWindowView::SetRowIcon(int row, RowIcon icon) {
  calls_->Run([&](MainWindow& w) { w.ServerTable().SetRowIcon(row, icon); });
}

RowId Win32MainWindowView::InsertRow(const std::string& firstCell, RowIcon icon) {
  const std::wstring cell = ToWindowText(firstCell);
  return Ask(RowId{}, [&](MainWindow& w) { return w.ServerTable().AppendRow(cell, icon); });
}

RowId Win32MainWindowView::RowIdAt(int row) {
  return Ask(RowId{}, [&](MainWindow& w) { return w.ServerTable().IdAt(row); });
}

std::vector<RowId> Win32MainWindowView::RowIds() {
  return Ask(std::vector<RowId>(), [](MainWindow& w) {
    ReportView& table = w.ServerTable();
    std::vector<RowId> ids;
    for (int row = 0; row < table.RowCount(); ++row) ids.push_back(table.IdAt(row));
    return ids;
  });
}

int Win32MainWindowView::RowIndexOf(RowId id) {
  return Ask(-1, [&](MainWindow& w) { return w.ServerTable().IndexOf(id); });
}

// The row is looked up on the window's thread in the same call as the read or write, so a
// sort in between cannot misdirect it.
std::string Win32MainWindowView::CellText(RowId id, int column) {
  return FromWindowText(Ask(std::wstring(), [&](MainWindow& w) {
    ReportView& table = w.ServerTable();
    return table.CellText(table.IndexOf(id), column);
  }));
}

void Win32MainWindowView::SetCellText(RowId id, int column, const std::string& text) {
  const std::wstring cell = ToWindowText(text);
  calls_->Run([&](MainWindow& w) {
    ReportView& table = w.ServerTable();
    table.SetCellText(table.IndexOf(id), column, cell);
    // A new latency means a new result in the row's history.
    if (column == kLatencyColumn) w.Statistics().Refresh(id);
  });
}

void Win32MainWindowView::SetRowIcon(RowId id, RowIcon icon) {
  calls_->Run([&](MainWindow& w) {
    ReportView& table = w.ServerTable();
    table.SetRowIcon(table.IndexOf(id), icon);
  });
}

// The texts are taken on the window's thread and converted to GBK on the caller's, so the
// window is held no longer than the reading takes.
std::vector<RowTexts> Win32MainWindowView::RowsWithTexts(const std::vector<int>& columns) {
  struct Taken {
    RowId row;
    std::vector<std::wstring> cells;
  };
  const std::vector<Taken> taken = Ask(std::vector<Taken>(), [&](MainWindow& w) {
    ReportView& table = w.ServerTable();
    std::vector<Taken> rows(static_cast<std::size_t>(table.RowCount()));
    for (std::size_t row = 0; row < rows.size(); ++row) {
      rows[row].row = table.IdAt(static_cast<int>(row));
      for (const int column : columns) {
        rows[row].cells.push_back(table.CellText(static_cast<int>(row), column));
      }
    }
    return rows;
  });
  std::vector<RowTexts> rows;
  rows.reserve(taken.size());
  for (const Taken& row : taken) {
    RowTexts& texts = rows.emplace_back(RowTexts{row.row, {}});
    for (const std::wstring& cell : row.cells) texts.cells.push_back(FromWindowText(cell));
  }
  return rows;
}

void Win32MainWindowView::ApplyRowChanges(const std::vector<RowChange>& changes) {
  struct Converted {
    RowId row;
    std::vector<std::pair<int, std::wstring>> cells;
    std::optional<RowIcon> icon;
  };
  std::vector<Converted> converted;
  converted.reserve(changes.size());
  for (const RowChange& change : changes) {
    Converted& row = converted.emplace_back(Converted{change.row, {}, change.icon});
    for (const auto& [column, text] : change.cells)
      row.cells.emplace_back(column, ToWindowText(text));
  }
  calls_->Run([&](MainWindow& w) {
    ReportView& table = w.ServerTable();
    for (const Converted& change : converted) {
      const int row = table.IndexOf(change.row);
      if (row < 0) continue;
      for (const auto& [column, text] : change.cells) {
        table.SetCellText(row, column, text);
        // A new latency means a new result in the row's history.
        if (column == kLatencyColumn) w.Statistics().Refresh(change.row);
      }
      if (change.icon) table.SetRowIcon(row, *change.icon);
    }
    table.Repaint();
  });
}

void Win32MainWindowView::DeleteAllRows() {
  calls_->Run([](MainWindow& w) { w.ServerTable().DeleteAllRows(); });
}

int Win32MainWindowView::RowCount() {
  return Ask(0, [](MainWindow& w) { return w.ServerTable().RowCount(); });
}

int Win32MainWindowView::SelectedRow() {
  return Ask(-1, [](MainWindow& w) { return w.ServerTable().SelectedRow(); });
}

void Win32MainWindowView::SortRows(const std::function<int(RowId, RowId)>& compare) {
  calls_->Run([&](MainWindow& w) { w.ServerTable().SortRows(compare); });
}

void Win32MainWindowView::SetColumnArrow(int column, HeaderArrow arrow) {
  calls_->Run([&](MainWindow& w) { w.ServerTable().SetColumnArrow(column, arrow); });
}

// Over every cell but those with a tooltip of their own (the latency's statistics).
void Win32MainWindowView::SetRowWatchNote(RowId id, const std::string& note) {
  std::wstring tip = ToWindowText(note);
  calls_->Run([&](MainWindow& w) { w.ServerTable().SetToolTip(id, -1, std::move(tip)); });
}

void Win32MainWindowView::Redraw() {
  // Many workers ask at once; one pending request serves them all. The flag drops before the
  // repaint is asked for, so every change made while it was up is painted.
  if (redrawPending_.exchange(true)) return;
  calls_->Run([this](MainWindow& w) {
    redrawPending_ = false;
    w.ServerTable().Repaint();
  });
  // A window gone before the call ran leaves the flag up: nothing is painted any more.
}

int Win32MainWindowView::KeyListSelectedRow() {
  return Ask(-1, [](MainWindow& w) { return w.KeyList().SelectedRow(); });
}

std::vector<int> Win32MainWindowView::KeyListSelectedRows() {
  return Ask(std::vector<int>(), [](MainWindow& w) { return w.KeyList().SelectedRows(); });
}

int Win32MainWindowView::KeyListRowCount() {
  return Ask(0, [](MainWindow& w) { return w.KeyList().RowCount(); });
}

std::string Win32MainWindowView::KeyListCellText(int row, int column) {
  return FromWindowText(
      Ask(std::wstring(), [&](MainWindow& w) { return w.KeyList().CellText(row, column); }));
}

void Win32MainWindowView::SetKeyListRows(const std::vector<std::string>& names) {
  std::vector<std::wstring> rows;
  for (const std::string& name : names) rows.push_back(ToWindowText(name));
  calls_->Run([&](MainWindow& w) {
    ReportView& list = w.KeyList();
    list.DeleteAllRows();
    for (const std::wstring& name : rows) list.AppendRow(name, RowIcon::kNotTested);
  });
}

void Win32MainWindowView::SetKeyListRow(int row, const KeyListRow& cells) {
  const std::pair<int, std::wstring> texts[] = {
      {kKeyListKeyColumn, ToWindowText(cells.key)},
      {kKeyListStateColumn, ToWindowText(cells.state)},
      {kKeyListAverageColumn, ToWindowText(cells.average)},
      {kKeyListRangeColumn, ToWindowText(cells.range)},
      {kKeyListLossColumn, ToWindowText(cells.loss)},
      {kKeyListProbesColumn, ToWindowText(cells.probes)}};
  std::wstring tip = ToWindowText(cells.toolTip);
  calls_->Run([&](MainWindow& w) {
    ReportView& list = w.KeyList();
    const RowId id = list.IdAt(row);
    if (id == RowId{}) return;
    for (const auto& [column, text] : texts) list.SetCellText(row, column, text);
    list.SetRowIcon(row, cells.icon);
    list.SetToolTip(id, -1, std::move(tip));
  });
}

void Win32MainWindowView::SetKeyListStatus(const std::string& text) {
  const std::wstring line = ToWindowText(text);
  calls_->Run([&](MainWindow& w) { w.KeyListStatusLine().SetFullText(line); });
}

namespace {

POINT CursorMovedBy(int dx, int dy) {
  POINT cursor{};
  GetCursorPos(&cursor);
  return POINT{cursor.x + dx, cursor.y + dy};
}

}  // namespace

void Win32MainWindowView::ShowKeyListMenu(int checkedPlace) {
  calls_->Run([&](MainWindow& w) { w.ShowKeyListMenu(checkedPlace, CursorMovedBy(0, 0)); });
}

int Win32MainWindowView::PeriodSelection() {
  return Ask(-1, [](MainWindow& w) {
    return static_cast<int>(SendMessageW(w.PeriodList(), CB_GETCURSEL, 0, 0));
  });
}

int Win32MainWindowView::PeriodItemValue(int index) {
  return Ask(0, [&](MainWindow& w) { return w.PeriodItemValue(index); });
}

void Win32MainWindowView::SetTimerPeriod(int milliseconds) {
  calls_->Run([&](MainWindow& w) { w.Timer().SetPeriod(milliseconds); });
}

int Win32MainWindowView::ClientWidth() {
  return Ask(0, [](MainWindow& w) {
    RECT client{};
    GetClientRect(w.Handle(), &client);
    return static_cast<int>(client.right);
  });
}

void Win32MainWindowView::SetTableWidth(int width) {
  calls_->Run([&](MainWindow& w) {
    HWND table = w.ServerTable().Handle();
    RECT place{};
    GetWindowRect(table, &place);
    SetWindowPos(table, nullptr, 0, 0, width, place.bottom - place.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  });
}

void Win32MainWindowView::ShowRowMenu(int dx, int dy) {
  calls_->Run([&](MainWindow& w) { w.ShowRowMenu(CursorMovedBy(dx, dy)); });
}

void Win32MainWindowView::FocusTestButton() {
  calls_->Run([](MainWindow& w) { SetFocus(w.TestButton()); });
}

std::optional<AlertWatch> Win32MainWindowView::AskAlertWatch(const std::string& serverName,
                                                             const AlertWatch& current) {
  return Ask(std::optional<AlertWatch>(),
             [&](MainWindow& w) { return win32::AskAlertWatch(w.Handle(), serverName, current); });
}

void Win32MainWindowView::SetTrayToolTip(const std::string& text) {
  const std::wstring tip = ToWindowText(text);
  calls_->Run([&](MainWindow& w) { w.Tray().SetToolTip(tip); });
}

void Win32MainWindowView::SetStatusLine(const std::string& text) {
  const std::wstring line = ToWindowText(text);
  calls_->Run([&](MainWindow& w) { w.StatusLine().SetFullText(line); });
}

}  // namespace vardelle::win32

#include "ui/qt/main_window_view.h"

#include <QCursor>
#include <optional>
#include <utility>
#include <vector>

#include "app/table/server_table.h"
#include "ui/qt/alert_dialog.h"
#include "ui/qt/main_window.h"
#include "ui/qt/window_text.h"

namespace vardelle::ui {

std::string QtMainWindowView::CellText(int row, int column) {
  return ToGbkText(
      Ask(QString(), [&](MainWindow& w) { return w.ServerTable().CellText(row, column); }));
}

void QtMainWindowView::SetCellText(int row, int column, const std::string& text) {
  const QString cell = FromGbk(text);
  calls_.Run([&](MainWindow& w) { w.ServerTable().SetCellText(row, column, cell); });
}

void QtMainWindowView::SetRowIcon(int row, RowIcon icon) {
  calls_.Run([&](MainWindow& w) { w.ServerTable().SetRowIcon(row, icon); });
}

RowId QtMainWindowView::InsertRow(const std::string& firstCell, RowIcon icon) {
  const QString cell = FromGbk(firstCell);
  return Ask(RowId{}, [&](MainWindow& w) { return w.ServerTable().AppendRow(cell, icon); });
}

RowId QtMainWindowView::RowIdAt(int row) {
  return Ask(RowId{}, [&](MainWindow& w) {
    ReportView& table = w.ServerTable();
    return table.IdOf(table.RowAt(row));
  });
}

std::vector<RowId> QtMainWindowView::RowIds() {
  return Ask(std::vector<RowId>(), [](MainWindow& w) {
    ReportView& table = w.ServerTable();
    std::vector<RowId> ids;
    ids.reserve(static_cast<std::size_t>(table.topLevelItemCount()));
    for (int row = 0; row < table.topLevelItemCount(); ++row)
      ids.push_back(table.IdOf(table.RowAt(row)));
    return ids;
  });
}

int QtMainWindowView::RowIndexOf(RowId id) {
  return Ask(-1, [&](MainWindow& w) {
    ReportView& table = w.ServerTable();
    QTreeWidgetItem* item = table.RowWithId(id);
    return item ? table.indexOfTopLevelItem(item) : -1;
  });
}

// The row is looked up on the window's thread in the same call as the write, so a sort
// in between cannot misdirect it.
std::string QtMainWindowView::CellText(RowId id, int column) {
  return ToGbkText(Ask(QString(), [&](MainWindow& w) {
    ReportView& table = w.ServerTable();
    return table.CellText(table.RowWithId(id), column);
  }));
}

void QtMainWindowView::SetCellText(RowId id, int column, const std::string& text) {
  const QString cell = FromGbk(text);
  calls_.Run([&](MainWindow& w) {
    ReportView& table = w.ServerTable();
    table.SetCellText(table.RowWithId(id), column, cell);
    // A new latency means a new result in the row's history.
    if (column == kLatencyColumn) w.Statistics().Refresh(id);
  });
}

void QtMainWindowView::SetRowIcon(RowId id, RowIcon icon) {
  calls_.Run([&](MainWindow& w) {
    ReportView& table = w.ServerTable();
    table.SetRowIcon(table.RowWithId(id), icon);
  });
}

// The texts are taken on the window's thread and converted to GBK on the caller's, so the
// window is held no longer than the reading takes.
std::vector<RowTexts> QtMainWindowView::RowsWithTexts(const std::vector<int>& columns) {
  struct Taken {
    RowId row;
    std::vector<QString> cells;
  };
  const std::vector<Taken> taken = Ask(std::vector<Taken>(), [&](MainWindow& w) {
    ReportView& table = w.ServerTable();
    std::vector<Taken> rows(static_cast<std::size_t>(table.topLevelItemCount()));
    for (std::size_t row = 0; row < rows.size(); ++row) {
      const QTreeWidgetItem* item = table.topLevelItem(static_cast<int>(row));
      rows[row].row = table.IdOf(item);
      for (const int column : columns) rows[row].cells.push_back(table.CellText(item, column));
    }
    return rows;
  });
  std::vector<RowTexts> rows;
  rows.reserve(taken.size());
  for (const Taken& row : taken) {
    RowTexts& texts = rows.emplace_back(RowTexts{row.row, {}});
    for (const QString& cell : row.cells) texts.cells.push_back(ToGbkText(cell));
  }
  return rows;
}

void QtMainWindowView::ApplyRowChanges(const std::vector<RowChange>& changes) {
  struct Converted {
    RowId row;
    std::vector<std::pair<int, QString>> cells;
    std::optional<RowIcon> icon;
  };
  std::vector<Converted> converted;
  converted.reserve(changes.size());
  for (const RowChange& change : changes) {
    Converted& row = converted.emplace_back(Converted{change.row, {}, change.icon});
    for (const auto& [column, text] : change.cells) row.cells.emplace_back(column, FromGbk(text));
  }
  calls_.Run([&](MainWindow& w) {
    ReportView& table = w.ServerTable();
    for (const Converted& change : converted) {
      QTreeWidgetItem* item = table.RowWithId(change.row);
      if (item == nullptr) continue;
      for (const auto& [column, text] : change.cells) {
        table.SetCellText(item, column, text);
        // A new latency means a new result in the row's history.
        if (column == kLatencyColumn) w.Statistics().Refresh(change.row);
      }
      if (change.icon) table.SetRowIcon(item, *change.icon);
    }
    table.viewport()->update();
  });
}

void QtMainWindowView::DeleteAllRows() {
  calls_.Run([](MainWindow& w) { w.ServerTable().clear(); });
}

int QtMainWindowView::RowCount() {
  return Ask(0, [](MainWindow& w) { return w.ServerTable().topLevelItemCount(); });
}

int QtMainWindowView::SelectedRow() {
  return Ask(-1, [](MainWindow& w) { return w.ServerTable().SelectedRow(); });
}

void QtMainWindowView::SortRows(const std::function<int(RowId, RowId)>& compare) {
  calls_.Run([&](MainWindow& w) { w.ServerTable().SortRows(compare); });
}

void QtMainWindowView::SetColumnArrow(int column, HeaderArrow arrow) {
  calls_.Run([&](MainWindow& w) { w.ServerTable().SetColumnArrow(column, arrow); });
}

void QtMainWindowView::Redraw() {
  // Many workers ask at once; one pending request serves them all. The flag drops before the
  // repaint is scheduled, so every change made while it was up is painted.
  if (redrawPending_.exchange(true)) return;
  calls_.Run([this](MainWindow& w) {
    redrawPending_ = false;
    w.ServerTable().viewport()->update();
  });
}

int QtMainWindowView::KeyListSelectedRow() {
  return Ask(-1, [](MainWindow& w) { return w.KeyList().SelectedRow(); });
}

std::string QtMainWindowView::KeyListCellText(int row, int column) {
  return ToGbkText(
      Ask(QString(), [&](MainWindow& w) { return w.KeyList().CellText(row, column); }));
}

std::vector<int> QtMainWindowView::KeyListSelectedRows() {
  return Ask(std::vector<int>(), [](MainWindow& w) { return w.KeyList().SelectedRows(); });
}

int QtMainWindowView::KeyListRowCount() {
  return Ask(0, [](MainWindow& w) { return w.KeyList().topLevelItemCount(); });
}

void QtMainWindowView::SetKeyListRows(const std::vector<std::string>& names) {
  QStringList rows;
  for (const std::string& name : names) rows.append(FromGbk(name));
  calls_.Run([&](MainWindow& w) {
    ReportView& list = w.KeyList();
    list.clear();
    for (const QString& name : rows) list.AppendRow(name, RowIcon::kNotTested);
  });
}

void QtMainWindowView::SetKeyListRow(int row, const KeyListRow& cells) {
  const std::pair<int, QString> texts[] = {{kKeyListKeyColumn, FromGbk(cells.key)},
                                           {kKeyListStateColumn, FromGbk(cells.state)},
                                           {kKeyListAverageColumn, FromGbk(cells.average)},
                                           {kKeyListRangeColumn, FromGbk(cells.range)},
                                           {kKeyListLossColumn, FromGbk(cells.loss)},
                                           {kKeyListProbesColumn, FromGbk(cells.probes)}};
  const QString tip = FromGbk(cells.toolTip);
  calls_.Run([&](MainWindow& w) {
    ReportView& list = w.KeyList();
    // Out of range there is no item, and ReportView leaves a missing row alone.
    QTreeWidgetItem* item = list.RowAt(row);
    for (const auto& [column, text] : texts) list.SetCellText(item, column, text);
    list.SetRowIcon(item, cells.icon);
    list.SetRowToolTip(item, tip);
  });
}

void QtMainWindowView::SetKeyListStatus(const std::string& text) {
  const QString line = FromGbk(text);
  calls_.Run([&](MainWindow& w) { w.KeyListStatusLine().SetFullText(line); });
}

void QtMainWindowView::ShowKeyListMenu(int checkedPlace) {
  calls_.Run([&](MainWindow& w) {
    w.CheckGlobalPingPlace(checkedPlace);
    w.KeyListMenu().exec(QCursor::pos());
  });
}

int QtMainWindowView::PeriodSelection() {
  return Ask(-1, [](MainWindow& w) { return w.PeriodList().currentIndex(); });
}

int QtMainWindowView::PeriodItemValue(int index) {
  return Ask(0, [&](MainWindow& w) { return w.PeriodList().itemData(index).toInt(); });
}

void QtMainWindowView::SetTimerPeriod(int milliseconds) {
  calls_.Run([&](MainWindow& w) { w.Timer().SetPeriod(milliseconds); });
}

int QtMainWindowView::ClientWidth() {
  return Ask(0, [](MainWindow& w) { return w.width(); });
}

void QtMainWindowView::SetTableWidth(int width) {
  calls_.Run([&](MainWindow& w) {
    ReportView& table = w.ServerTable();
    table.resize(width, table.height());
  });
}

void QtMainWindowView::ShowRowMenu(int dx, int dy) {
  calls_.Run([&](MainWindow& w) { w.RowMenu().exec(QCursor::pos() + QPoint(dx, dy)); });
}

void QtMainWindowView::FocusTestButton() {
  calls_.Run([](MainWindow& w) { w.TestButton().setFocus(); });
}

void QtMainWindowView::SetStatusLine(const std::string& text) {
  const QString line = FromGbk(text);
  calls_.Run([&](MainWindow& w) { w.StatusLine().SetFullText(line); });
}

void QtMainWindowView::SetRowWatchNote(RowId id, const std::string& note) {
  const QString tip = PlainTextToolTip(FromGbk(note));
  calls_.Run([&](MainWindow& w) {
    ReportView& table = w.ServerTable();
    QTreeWidgetItem* item = table.RowWithId(id);
    if (!item) return;
    // The latency cell keeps its statistics.
    for (int column = 0; column < table.columnCount(); ++column) {
      if (column != kLatencyColumn) item->setToolTip(column, tip);
    }
  });
}

std::optional<AlertWatch> QtMainWindowView::AskAlertWatch(const std::string& serverName,
                                                          const AlertWatch& current) {
  return Ask(std::optional<AlertWatch>(),
             [&](MainWindow& w) { return ui::AskAlertWatch(&w, serverName, current); });
}

void QtMainWindowView::SetTrayToolTip(const std::string& text) {
  const QString tip = FromGbk(text);
  calls_.Run([&](MainWindow& w) { w.SetTrayToolTip(tip); });
}

}  // namespace vardelle::ui

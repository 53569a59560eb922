// A list view in report mode: a flat table of rows with a clickable column header.
#pragma once

#include <QColor>
#include <QItemSelection>
#include <QTreeWidget>
#include <cstdint>
#include <functional>
#include <span>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "app/view/colour.h"
#include "app/view/main_window_view.h"
#include "app/view/window_layout.h"

namespace vardelle::ui {

// A table colour (0x00BBGGRR) as Qt takes it.
QColor ToQColor(Colour colour);

// A tool tip that shows text from the network as it is: Qt reads a tip as rich text when it
// looks like markup, so such a text is turned into rich text that spells it out.
QString PlainTextToolTip(const QString& text);

class ReportView : public QTreeWidget {
  Q_OBJECT

 public:
  ReportView(std::span<const ColumnLayout> columns, QWidget* parent);
  ~ReportView() override;

  // Rows are reached by position or by identity; a row that is not there is left alone
  // and reads as empty.
  QTreeWidgetItem* RowAt(int row) const;
  QTreeWidgetItem* RowWithId(RowId id) const;
  RowId IdOf(const QTreeWidgetItem* item) const;
  // The same by position, as the Win32 edition's list answers them: the row count, the row at
  // a position (empty id when out of range) and a row's position (-1 when it is gone).
  int RowCount() const { return topLevelItemCount(); }
  RowId IdAt(int row) const { return IdOf(RowAt(row)); }
  int IndexOf(RowId id) const {
    QTreeWidgetItem* item = RowWithId(id);
    return item ? indexOfTopLevelItem(item) : -1;
  }

  QString CellText(const QTreeWidgetItem* item, int column) const;
  void SetCellText(QTreeWidgetItem* item, int column, const QString& text);
  void SetRowIcon(QTreeWidgetItem* item, RowIcon icon);
  // The colours the row is drawn in from now on; a new row draws in the defaults. A change
  // repaints the row when it is in sight.
  void SetRowColour(QTreeWidgetItem* item, RowColour colour);
  // The colours a row is painted in now.
  RowColour PaintedRowColour(const QModelIndex& index) const;
  // The colours the row was given, which it is drawn in unless highlighted.
  RowColour OwnColour(int row) const;

  QString CellText(int row, int column) const { return CellText(RowAt(row), column); }
  void SetCellText(int row, int column, const QString& text) {
    SetCellText(RowAt(row), column, text);
  }
  void SetRowIcon(int row, RowIcon icon) { SetRowIcon(RowAt(row), icon); }
  void DeleteAllRows() { clear(); }
  // Paints the rows anew soon: nothing is left to paint, since every change paints the rows
  // in sight that it touched (the model tells the view of cells and icons, SetRowColour of
  // colours), and a table of thousands of rows is mostly out of sight.
  void Repaint() {}

  // Adds a column after the last one; rows appended later get its alignment.
  void AddColumn(const ColumnLayout& column);
  RowId AppendRow(const QString& firstCell, RowIcon icon);
  // A cell whose data holds results under this role (a QVariantList of milliseconds, -1 for
  // a lost probe) is drawn as a sparkline instead of its text.
  static constexpr int kSparklineRole = Qt::UserRole + 1;
  // The selected rows in table order as tab-separated text, a header line first: the shown
  // columns only; a field holding a tab, line end or quote is quoted, quotes doubled.
  QString SelectedRowsAsText() const;
  // The current row when it is selected, else the first selected one; -1 when none is.
  int SelectedRow() const;
  // Every selected row, in table order.
  std::vector<int> SelectedRows() const;
  // The tooltip over every cell of the row; "" takes it away.
  void SetRowToolTip(QTreeWidgetItem* item, const QString& text);
  void SetRowToolTip(int row, const QString& text) { SetRowToolTip(RowAt(row), text); }
  // Reorders the rows by compare of their identities; the current row and the selection stay
  // on their rows.
  void SortRows(const std::function<int(RowId, RowId)>& compare);
  void SetColumnArrow(int column, HeaderArrow arrow);

 signals:
  // Double click on a row, or Enter with a row current.
  void RowActivated();
  void HeaderClicked(int column);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  const QIcon& RowIconImage(RowIcon icon) const;
  void SetColumnCaption(int column, const ColumnLayout& caption);

  void PutRowsInOrder(const QList<QTreeWidgetItem*>& rows);
  // The rows (positions in rows) whose items are chosen, as a selection.
  QItemSelection RowRuns(const QList<QTreeWidgetItem*>& rows,
                         const std::unordered_set<QTreeWidgetItem*>& chosen) const;
  void IndexInsertedRows(const QModelIndex& parent, int first, int last);
  void ForgetRemovedRows(const QModelIndex& parent, int first, int last);

  // Rows by identity, so a worker's write finds its row without scanning the table.
  std::unordered_map<std::uint64_t, QTreeWidgetItem*> rowsById_;
  std::vector<Qt::Alignment> alignments_;
  std::vector<QIcon> rowIcons_;  // by RowIcon index
  std::uint64_t lastRowId_ = 0;
  // Set while a sort takes the rows out and puts them back.
  bool reordering_ = false;
};

}  // namespace vardelle::ui

// A list view in report mode: a flat table of rows with a clickable column header.
#pragma once

#include <QTreeWidget>
#include <functional>
#include <span>
#include <vector>

#include "app/main_window_view.h"

namespace vardelle::ui {

struct ReportColumn {
  const char16_t* caption;
  int width;
  Qt::Alignment alignment;
};

class ReportView : public QTreeWidget {
  Q_OBJECT

 public:
  ReportView(std::span<const ReportColumn> columns, QWidget* parent);

  QString CellText(int row, int column) const;
  void SetCellText(int row, int column, const QString& text);
  void SetRowIcon(int row, RowIcon icon);
  int AppendRow(const QString& firstCell, RowIcon icon);
  int SelectedRow() const;
  // Reorders the rows by compare, which gets row indexes from before the sort.
  void SortRows(const std::function<int(int, int)>& compare);
  void SetColumnArrow(int column, HeaderArrow arrow);

 signals:
  // Double click on a row, or Enter with a row current.
  void RowActivated();
  void HeaderClicked(int column);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QTreeWidgetItem* Row(int row) const;
  const QIcon& RowIconImage(RowIcon icon) const;

  std::vector<Qt::Alignment> alignments_;
  std::vector<QIcon> rowIcons_;  // by RowIcon index
};

}  // namespace vardelle::ui

#include "ui/qt/statistics_columns.h"

#include <QHeaderView>
#include <utility>

#include "app/table/server_table.h"
#include "ui/qt/sparkline.h"
#include "ui/qt/window_text.h"

namespace vardelle::ui {

StatisticsColumns::StatisticsColumns(ReportView& table, const LatencyHistory& history,
                                     Text settingsPath)
    : QObject(&table),
      table_(table),
      history_(history),
      choice_(std::move(settingsPath)),
      menu_(new QMenu(&table)) {
  int column = kLossColumn;
  for (const ColumnLayout& layout : StatisticsColumnLayouts()) {
    table_.AddColumn(layout);
    const bool shown = choice_.ShownAtStart(column);
    table_.setColumnHidden(column, !shown);
    QAction* action = menu_->addAction(FromGbk(layout.caption));
    action->setCheckable(true);
    action->setChecked(shown);
    connect(action, &QAction::toggled, this, [this, column](bool on) { SetShown(column, on); });
    ++column;
  }
  QHeaderView* header = table_.header();
  header->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(header, &QWidget::customContextMenuRequested, this,
          [this, header](const QPoint& place) { menu_->popup(header->mapToGlobal(place)); });
}

void StatisticsColumns::Refresh(RowId row) {
  QTreeWidgetItem* item = table_.RowWithId(row);
  if (!item) return;
  const RowStatistics shown = StatisticsOfRow(history_, row);
  for (int i = 0; i < kStatisticsColumnCount; ++i) {
    table_.SetCellText(item, kLossColumn + i, FromGbk(shown.cells[static_cast<std::size_t>(i)]));
  }
  item->setData(kTrendColumn, ReportView::kSparklineRole, ResultsToVariant(shown.trend));
  item->setToolTip(kLatencyColumn, FromGbk(shown.latencyToolTip));
}

void StatisticsColumns::SetShown(int column, bool shown) {
  table_.setColumnHidden(column, !shown);
  choice_.Save([this](int statistic) { return !table_.isColumnHidden(statistic); });
}

}  // namespace vardelle::ui

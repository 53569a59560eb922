#include "ui/qt/statistics_columns.h"

#include <QHeaderView>
#include <utility>

#include "app/table/server_table.h"
#include "ui/qt/sparkline.h"
#include "ui/qt/window_text.h"

namespace vardelle::ui {

StatisticsColumns::StatisticsColumns(ReportView& table, Text settingsPath)
    : QObject(&table), table_(table), choice_(std::move(settingsPath)), menu_(new QMenu(&table)) {
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

void StatisticsColumns::Show(RowId row, const std::vector<std::optional<int>>& trend,
                             QString latencyToolTip) {
  QTreeWidgetItem* item = table_.RowWithId(row);
  if (!item) return;
  item->setData(kTrendColumn, ReportView::kSparklineRole, ResultsToVariant(trend));
  item->setToolTip(kLatencyColumn, latencyToolTip);
}

void StatisticsColumns::SetShown(int column, bool shown) {
  table_.setColumnHidden(column, !shown);
  choice_.Save([this](int statistic) { return !table_.isColumnHidden(statistic); });
}

}  // namespace vardelle::ui

#include "ui/qt/statistics_columns.h"

#include <QHeaderView>
#include <algorithm>
#include <array>
#include <utility>

#include "app/statistics/statistics_cells.h"
#include "app/table/server_table.h"
#include "app/window/column_settings.h"
#include "ui/qt/sparkline.h"
#include "ui/qt/window_text.h"

namespace vardelle::ui {
namespace {

constexpr std::size_t kTrendLength = 30;

}  // namespace

StatisticsColumns::StatisticsColumns(ReportView& table, const LatencyHistory& history,
                                     Text settingsPath)
    : QObject(&table),
      table_(table),
      history_(history),
      settingsPath_(std::move(settingsPath)),
      menu_(new QMenu(&table)) {
  const std::vector<int> saved = ReadShownColumns(settingsPath_);
  int column = kLossColumn;
  for (const ColumnLayout& layout : StatisticsColumnLayouts()) {
    table_.AddColumn(layout);
    const bool shown = std::find(saved.begin(), saved.end(), column) != saved.end();
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
  const LatencyStatistics statistics = history_.StatisticsOf(row);
  const std::array<Text, kStatisticsColumnCount> cells = StatisticsCellTexts(statistics);
  for (int i = 0; i < kStatisticsColumnCount; ++i) {
    table_.SetCellText(item, kLossColumn + i, FromGbk(cells[static_cast<std::size_t>(i)]));
  }
  const std::vector<LatencySample> trend = history_.RecentResults(row, kTrendLength);
  item->setData(kTrendColumn, ReportView::kSparklineRole, ResultsToVariant(trend));
  item->setToolTip(kLatencyColumn, FromGbk(StatisticsToolTip(statistics, trend)));
}

void StatisticsColumns::SetShown(int column, bool shown) {
  table_.setColumnHidden(column, !shown);
  SaveChoice();
}

void StatisticsColumns::SaveChoice() {
  std::vector<int> shown;
  for (int column = kLossColumn; column < kLossColumn + kStatisticsColumnCount; ++column) {
    if (!table_.isColumnHidden(column)) shown.push_back(column);
  }
  SaveShownColumns(settingsPath_, shown);
}

}  // namespace vardelle::ui

#include "ui/win32/statistics_columns.h"

#include <algorithm>
#include <array>
#include <utility>

#include "app/statistics/statistics_cells.h"
#include "app/table/server_table.h"
#include "app/window/column_settings.h"
#include "ui/win32/sparkline.h"
#include "ui/win32/window_text.h"

namespace vardelle::win32 {
namespace {

constexpr std::size_t kTrendLength = 30;
// Menu item ids: the column, past 0, which TrackPopupMenu keeps for "nothing chosen".
constexpr UINT kFirstMenuItem = 1;

}  // namespace

StatisticsColumns::StatisticsColumns(ReportView& table, const LatencyHistory& history,
                                     Text settingsPath)
    : table_(table), history_(history), settingsPath_(std::move(settingsPath)) {
  const std::vector<int> saved = ReadShownColumns(settingsPath_);
  for (const ReportColumn& column : StatisticsColumnLayouts()) table_.AddColumn(column);
  for (int column = kLossColumn; column < kLossColumn + kStatisticsColumnCount; ++column) {
    table_.SetColumnHidden(column, std::find(saved.begin(), saved.end(), column) == saved.end());
  }
  table_.EventHandlers().headerRightClicked = [this](POINT screen) { ShowHeaderMenu(screen); };
  table_.SetCellPainter(
      {kTrendColumn, [this](HDC dc, const RECT& area, RowId row, COLORREF colour) {
         PaintTrend(dc, area, row, colour);
       }});
}

void StatisticsColumns::Refresh(RowId row) {
  const int index = table_.IndexOf(row);
  if (index < 0) return;
  const LatencyStatistics statistics = history_.StatisticsOf(row);
  const std::array<Text, kStatisticsColumnCount> cells = StatisticsCellTexts(statistics);
  for (int i = 0; i < kStatisticsColumnCount; ++i) {
    table_.SetCellText(index, kLossColumn + i, ToWindowText(cells[static_cast<std::size_t>(i)]));
  }
  std::vector<LatencySample> trend = history_.RecentResults(row, kTrendLength);
  table_.SetToolTip(row, kLatencyColumn, ToWindowText(StatisticsToolTip(statistics, trend)));
  trends_[row.value] = std::move(trend);
}

void StatisticsColumns::SetShown(int column, bool shown) {
  table_.SetColumnHidden(column, !shown);
  SaveChoice();
}

void StatisticsColumns::ShowHeaderMenu(POINT screen) {
  HMENU menu = CreatePopupMenu();
  const std::vector<ReportColumn> columns = StatisticsColumnLayouts();
  for (int i = 0; i < kStatisticsColumnCount; ++i) {
    const UINT checked = table_.IsColumnHidden(kLossColumn + i) ? MF_UNCHECKED : MF_CHECKED;
    AppendMenuW(menu, MF_STRING | checked, kFirstMenuItem + static_cast<UINT>(i),
                columns[static_cast<std::size_t>(i)].caption.c_str());
  }
  const int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, screen.x,
                                    screen.y, 0, GetAncestor(table_.Handle(), GA_ROOT), nullptr);
  DestroyMenu(menu);
  if (chosen <= 0) return;
  const int column = kLossColumn + chosen - static_cast<int>(kFirstMenuItem);
  SetShown(column, table_.IsColumnHidden(column));
}

void StatisticsColumns::SaveChoice() {
  std::vector<int> shown;
  for (int column = kLossColumn; column < kLossColumn + kStatisticsColumnCount; ++column) {
    if (!table_.IsColumnHidden(column)) shown.push_back(column);
  }
  SaveShownColumns(settingsPath_, shown);
}

void StatisticsColumns::PaintTrend(HDC dc, const RECT& area, RowId row, COLORREF colour) const {
  const auto found = trends_.find(row.value);
  if (found != trends_.end()) DrawSparkline(dc, area, found->second, colour);
}

}  // namespace vardelle::win32

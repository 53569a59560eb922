#include "ui/win32/statistics_columns.h"

#include <utility>

#include "app/table/server_table.h"
#include "ui/win32/sparkline.h"
#include "ui/win32/window_text.h"

namespace vardelle::win32 {
namespace {

// Menu item ids: the column, past 0, which TrackPopupMenu keeps for "nothing chosen".
constexpr UINT kFirstMenuItem = 1;

}  // namespace

StatisticsColumns::StatisticsColumns(ReportView& table, Text settingsPath)
    : table_(table), choice_(std::move(settingsPath)) {
  for (const ReportColumn& column : StatisticsColumnLayouts()) table_.AddColumn(column);
  for (int column = kLossColumn; column < kLossColumn + kStatisticsColumnCount; ++column) {
    table_.SetColumnHidden(column, !choice_.ShownAtStart(column));
  }
  table_.EventHandlers().headerRightClicked = [this](POINT screen) { ShowHeaderMenu(screen); };
  table_.SetCellPainter(
      {kTrendColumn, [this](HDC dc, const RECT& area, RowId row, COLORREF colour) {
         PaintTrend(dc, area, row, colour);
       }});
}

void StatisticsColumns::Show(RowId row, const std::vector<std::optional<int>>& trend,
                             std::wstring latencyToolTip) {
  const int index = table_.IndexOf(row);
  if (index < 0) return;
  table_.SetToolTip(row, kLatencyColumn, std::move(latencyToolTip));
  table_.SetRowResults(index, trend);
}

void StatisticsColumns::SetShown(int column, bool shown) {
  table_.SetColumnHidden(column, !shown);
  choice_.Save([this](int statistic) { return !table_.IsColumnHidden(statistic); });
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

void StatisticsColumns::PaintTrend(HDC dc, const RECT& area, RowId row, COLORREF colour) const {
  if (const auto* trend = table_.RowResults(row)) DrawSparkline(dc, area, *trend, colour);
}

}  // namespace vardelle::win32

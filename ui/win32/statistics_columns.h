// The server table's statistics columns (丢包率, 最小/平均/最大, 抖动, 走势), added after the
// layout's seven and hidden until the header's right-click menu shows them; the choice is
// kept in the settings file. Also the latency cell's tooltip and the trend's sparkline.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "support/text/text.h"
#include "ui/win32/report_view.h"
#include "ui/window_view_core.h"

namespace vardelle::win32 {

class StatisticsColumns {
 public:
  // settingsPath "" keeps the choice for this run only.
  StatisticsColumns(ReportView& table, Text settingsPath);
  StatisticsColumns(const StatisticsColumns&) = delete;
  StatisticsColumns& operator=(const StatisticsColumns&) = delete;

  // The row's sparkline and latency tooltip; its statistics cells come with its other cells.
  void Show(RowId row, const std::vector<std::optional<int>>& trend, std::wstring latencyToolTip);
  // Shows or hides a statistics column and saves the choice.
  void SetShown(int column, bool shown);
  // The header's menu at a screen point: a checked item per shown column; the one chosen
  // is shown or hidden. Returns when the menu closes.
  void ShowHeaderMenu(POINT screen);

 private:
  void PaintTrend(HDC dc, const RECT& area, RowId row, COLORREF colour) const;

  ReportView& table_;
  const StatisticsColumnChoice choice_;
};

}  // namespace vardelle::win32

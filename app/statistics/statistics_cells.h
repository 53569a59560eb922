// The texts the server table shows for a row's statistics: the statistics columns' cells
// and the latency cell's tooltip. Numbers are written the C way.
#pragma once

#include <array>
#include <vector>

#include "app/statistics/latency_history.h"
#include "app/table/server_table.h"
#include "app/view/main_window_view.h"
#include "support/text/text.h"

namespace vardelle {

// The results a row's trend sparkline shows, newest last.
inline constexpr std::size_t kTrendLength = 30;

// 丢包率, 最小/平均/最大, 抖动 and 走势 (the average, which the sparkline is drawn over and
// the column sorts by); "-" where there is nothing to show.
std::array<Text, kStatisticsColumnCount> StatisticsCellTexts(const LatencyStatistics& statistics);

// Several lines: sent and received, loss, min/avg/max/mdev, jitter, then the results as a
// text sparkline, a space for a lost probe.
Text StatisticsToolTip(const LatencyStatistics& statistics,
                       const std::vector<LatencySample>& recent);

// A new result's statistics, as the window shows them, added to the row's change: the
// statistics columns' cells, the trend's results and the latency cell's tooltip.
void AddStatistics(const LatencyHistory& history, RowChange& change);

}  // namespace vardelle

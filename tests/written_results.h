// A row's probe results recorded in its history and the last one written to the window as a
// test run writes it: the latency cell with the row's statistics.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/statistics/latency_history.h"
#include "app/statistics/statistics_cells.h"
#include "app/table/server_table.h"
#include "app/view/main_window_view.h"

namespace vardelle::testing {

inline void WriteResults(MainWindowView& view, LatencyHistory& history, RowId row,
                         const std::vector<int>& milliseconds, const std::string& latencyCell) {
  std::uint64_t run = 0;
  for (const int ms : milliseconds) history.Record(row, ++run, ms);
  RowChange change{.row = row, .cells = {{kLatencyColumn, latencyCell}}};
  AddStatistics(history, change);
  view.ApplyRowChanges({change});
}

}  // namespace vardelle::testing

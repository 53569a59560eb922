// What the test-run benchmarks share: an application whose window holds one row per server,
// each with its address as the domain to probe, and run services without a region status
// source (the benchmarks probe, they do not download).
#pragma once

#include <memory>
#include <string>

#include "app/application/application.h"
#include "app/status/region_status.h"
#include "app/table/server_table.h"
#include "app/test_run/run_engine.h"
#include "app/view/main_window_view.h"

namespace vardelle::bench {

// Fills window with `rows` servers, row i probing address(i), and points app at it with the
// process lists a run writes the rows' colours to.
inline void PrepareServerTable(Application& app, MainWindowView& window, int rows,
                               std::string (*address)(int)) {
  for (int row = 0; row < rows; ++row) {
    const RowId id = window.InsertRow("server " + std::to_string(row), RowIcon::kNotTested);
    window.SetCellText(id, kDomainColumn, address(row));
  }
  app.window = &window;
  app.lists = std::make_shared<ProcessLists>();
}

inline TestRunServices ServicesWithoutRegionStatus() {
  TestRunServices services;
  services.fetchRegionStatus = [](const Endpoints&) {
    return std::make_shared<const RegionStatusLists>();
  };
  return services;
}

}  // namespace vardelle::bench

#include "app/headless/global_ping_headless.h"

#include <algorithm>
#include <memory>

#include "app/application/application.h"
#include "app/global_ping/global_ping_report.h"
#include "app/loading/server_list_loading.h"
#include "app/location/location_lookups.h"
#include "app/table/server_table.h"
#include "app/view/memory_window.h"
#include "support/text/text_codec.h"

namespace vardelle {
namespace {

std::vector<GlobalPingServer> TableServers(const MemoryWindow& window) {
  std::vector<GlobalPingServer> servers;
  for (const MemoryRow& row : window.Rows()) {
    servers.push_back({row.cells[kNameColumn], row.cells[kDomainColumn]});
  }
  return servers;
}

std::string StatusLine(const std::vector<ServerMeasurement>& results, const HourlyBudget& budget) {
  const auto finished =
      std::count_if(results.begin(), results.end(),
                    [](const ServerMeasurement& r) { return r.outcome.failure.empty(); });
  return "global ping: " + std::to_string(results.size()) + " servers, " +
         std::to_string(finished) + " finished; " + GbkToUtf8(budget.RemainingText());
}

}  // namespace

HeadlessOutcome RunGlobalPingHeadless(Application& app, const GlobalPingPlace& place,
                                      ReportFormat format, const ClientLimits& limits) {
  MemoryWindow window;
  app.window = &window;
  if (!app.lists.load()) app.lists = std::make_shared<ProcessLists>();
  // The global test replaces the local run.
  app.startTestRun = [] {};
  const bool listRead = LoadServerList(app);
  app.locationLookups.Wait();

  GlobalTestSettings settings{GlobalpingAccessOf(app), place, limits};
  const auto run = GlobalPingTestRun::Start(settings, TableServers(window),
                                            [](size_t, const GlobalPingRowCells&) {});
  run->Wait();
  const std::vector<ServerMeasurement> results = run->Results();
  app.window = nullptr;
  return {listRead ? 0 : 1, FormatGlobalPingReport(place, results, format),
          StatusLine(results, *settings.budget)};
}

}  // namespace vardelle

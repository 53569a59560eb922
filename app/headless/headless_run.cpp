#include "app/headless/headless_run.h"

#include <chrono>
#include <memory>
#include <set>
#include <thread>
#include <vector>

#include "app/application/application.h"
#include "app/loading/server_list_loading.h"
#include "app/location/location_lookups.h"
#include "app/test_run/run_engine.h"
#include "app/view/memory_window.h"
#include "support/text/text_codec.h"

namespace vardelle {
namespace {

std::vector<ReportRow> ReportRows(const Application& app, const MemoryWindow& window,
                                  const std::set<RowId>& intercepted) {
  std::vector<ReportRow> rows;
  for (MemoryRow& row : window.Rows()) {
    const Colour text = row.colour.textColour;
    const LatencyStatistics statistics = app.latencyHistory.StatisticsOf(row.id);
    const bool isIntercepted = intercepted.contains(row.id);
    rows.push_back({std::move(row), text, statistics, isIntercepted});
  }
  return rows;
}

// The runs after the first, each started intervalSeconds after the one before it, whether or
// not that one has finished: a row still being probed keeps its probe.
void MakeFurtherRuns(Application& app, const RunSchedule& schedule,
                     std::chrono::steady_clock::time_point firstStart) {
  const std::chrono::seconds interval(schedule.intervalSeconds);
  for (int run = 1; run < schedule.runs; ++run) {
    std::this_thread::sleep_until(firstStart + run * interval);
    app.startTestRun();
  }
}

}  // namespace

HeadlessOutcome RunHeadless(Application& app, ReportFormat format, const RunSchedule& schedule,
                            const TestRunServices& services) {
  MemoryWindow window;
  app.window = &window;
  app.lists = std::make_shared<ProcessLists>();
  TestRunEngine engine(app.SharedWithTestRuns(), services);
  std::vector<std::shared_ptr<TestRun>> runs;
  std::chrono::steady_clock::time_point firstStart;
  app.startTestRun = [&engine, &runs, &firstStart] {
    if (runs.empty()) firstStart = std::chrono::steady_clock::now();
    runs.push_back(engine.StartRun());
  };

  const bool listRead = LoadServerList(app);
  // Loading starts the first run only when it filled the table.
  if (!runs.empty()) MakeFurtherRuns(app, schedule, firstStart);
  for (const std::shared_ptr<TestRun>& run : runs) run->Wait();
  // The status documents may come after the last echo; the report waits for their words.
  engine.Settle();
  engine.Stop();
  const std::vector<RowId> judged = engine.InterceptedRows();
  const std::set<RowId> intercepted(judged.begin(), judged.end());
  app.startTestRun = nullptr;
  app.locationLookups.Wait();

  HeadlessOutcome outcome;
  outcome.exitCode = listRead ? 0 : 1;
  outcome.report = FormatTableReport(ReportRows(app, window, intercepted), format);
  outcome.statusLine = GbkToUtf8(window.StatusLine());
  // Every thread that wrote to the table has finished with it.
  app.window = nullptr;
  return outcome;
}

}  // namespace vardelle

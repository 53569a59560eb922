#include "app/test_run/test_run.h"

#include <exception>
#include <utility>
#include <vector>

#include "app/start/application.h"
#include "app/status/region_status.h"
#include "app/table/server_table.h"
#include "app/test_run/row_colours.h"
#include "app/window/status_line.h"
#include "runtime/threads/locks.h"
#include "runtime/threads/threads.h"

namespace vardelle {
namespace {

constexpr char kScanningText[] = "Scaning...";
constexpr char kNoAnswerText[] = "...";
constexpr int kNoAnswer = -1;

using SharedServices = std::shared_ptr<const TestRunServices>;

Text LatencyText(int milliseconds) {
  return milliseconds == kNoAnswer ? Text(kNoAnswerText) : std::to_string(milliseconds) + "ms";
}

// Holds tableLock for one block of result writes; a lock deleted with the window is inert.
class TableLockHold {
 public:
  explicit TableLockHold(LockHandle lock) : lock_(lock) { EnterLock(lock_); }
  ~TableLockHold() { LeaveLock(lock_); }
  TableLockHold(const TableLockHold&) = delete;
  TableLockHold& operator=(const TableLockHold&) = delete;

 private:
  const LockHandle lock_;
};

Text OutcomeStatus(const TestRunSummary& summary, const TestRunServices& services) {
  const std::string reason = summary.answered == 0 ? services.probeUnavailableReason() : "";
  if (!reason.empty()) return ProbesUnavailableStatus(reason);
  return TestRunFinishedStatus(summary.servers, summary.answered, summary.fastestServer,
                               summary.fastestMs);
}

// The run's last step: the status line tells what it did, unless a newer run has begun
// since (its figures would be stale) or there was nothing to measure (the line then keeps
// saying why the table is empty).
void FinishRun(Application& app, TestRun& run, const TestRunServices& services,
               MainWindowView* window) {
  const bool measured = run.Summary().servers > 0;
  if (window && measured && app.testRunOrder.IsNewestRun(run.Number())) {
    window->SetStatusLine(OutcomeStatus(run.Summary(), services));
  }
  run.MarkFinished();
}

// One worker: the row is addressed by its identity, so a sort meanwhile moves nothing under
// it; each block of writes happens only while no newer run has reached the row.
void MeasureRow(Application& app, const std::shared_ptr<TestRun>& run,
                const SharedServices& services, const RegionStatusLists& lists,
                MainWindowView& window, RowId row) {
  const Text serverName = window.CellText(row, kNameColumn);
  const std::string address = services->resolveHostAddress(window.CellText(row, kDomainColumn));
  const Text status = LookUpRegionStatus(lists, window.CellText(row, kRegionColumn));
  TestRunOrder& order = app.testRunOrder;
  order.WriteIfCurrent(row, run->Number(), [&] {
    window.SetCellText(row, kAddressColumn, address);
    window.SetCellText(row, kLatencyColumn, kScanningText);
    window.SetCellText(row, kStatusColumn, status);
  });
  const int milliseconds = services->pingHost(address);
  app.latencyHistory.Record(row, run->Number(), milliseconds);
  {
    const TableLockHold hold(app.tableLock);
    order.WriteIfCurrent(row, run->Number(), [&] {
      window.SetCellText(row, kLatencyColumn, LatencyText(milliseconds));
      window.SetRowIcon(row, milliseconds == kNoAnswer ? RowIcon::kNoAnswer : RowIcon::kAnswered);
    });
  }
  {
    const TableLockHold hold(app.tableLock);
    order.WriteIfCurrent(row, run->Number(), [&] {
      SetRowColour(app, row, RowColour{StatusWordColour(status), kDefaultColour});
    });
  }
  if (run->WorkerDone(serverName, milliseconds)) FinishRun(app, *run, *services, &window);
}

void TestRow(Application& app, const std::shared_ptr<TestRun>& run, const SharedServices& services,
             const std::shared_ptr<const RegionStatusLists>& lists, MainWindowView& window,
             RowId row) {
  try {
    MeasureRow(app, run, services, *lists, window, row);
  } catch (const std::exception&) {
    // Out of memory midway: the row keeps what it showed, and the run still ends.
    if (run->WorkerDone({}, kNoAnswer)) FinishRun(app, *run, *services, &window);
  }
}

// The run's starter thread: the status downloads all finish before any worker starts.
void LaunchRowWorkers(Application& app, const std::shared_ptr<TestRun>& run,
                      const SharedServices& services) {
  MainWindowView* window = app.window.load();
  std::shared_ptr<const RegionStatusLists> lists;
  std::vector<RowId> rows;
  try {
    lists = services->fetchRegionStatus ? services->fetchRegionStatus(app) : FetchRegionStatus(app);
    if (window && lists) rows = window->RowIds();
  } catch (const std::exception&) {
    rows.clear();  // out of memory: a run without workers, which still ends
  }
  run->ExpectWorkers(static_cast<int>(rows.size()));
  if (rows.empty()) FinishRun(app, *run, *services, window);
  for (const RowId row : rows) {
    const bool started = StartThread([&app, run, services, lists, window, row] {
      TestRow(app, run, services, lists, *window, row);
    });
    // A row whose worker could not start keeps what it showed.
    if (!started && run->WorkerDone({}, kNoAnswer)) FinishRun(app, *run, *services, window);
  }
}

}  // namespace

void TestRun::Wait() {
  std::unique_lock lock(mutex_);
  finishedChanged_.wait(lock, [this] { return finished_; });
}

void TestRun::MarkFinished() {
  std::lock_guard guard(mutex_);
  finished_ = true;
  finishedChanged_.notify_all();
}

TestRunSummary TestRun::Summary() const {
  std::lock_guard guard(mutex_);
  return summary_;
}

void TestRun::ExpectWorkers(int count) {
  std::lock_guard guard(mutex_);
  expected_ = count;
  summary_.servers = count;
}

bool TestRun::WorkerDone(const Text& serverName, int milliseconds) {
  std::lock_guard guard(mutex_);
  ++done_;
  if (milliseconds != kNoAnswer) {
    ++summary_.answered;
    if (summary_.fastestMs == kNoAnswer || milliseconds < summary_.fastestMs) {
      summary_.fastestMs = milliseconds;
      summary_.fastestServer = serverName;
    }
  }
  return done_ == expected_;
}

std::shared_ptr<TestRun> StartTestRun(Application& app, const TestRunServices& services) {
  auto run = std::make_shared<TestRun>(app.testRunOrder.NextRun());
  ClearRowColours(app);
  auto shared = std::make_shared<const TestRunServices>(services);
  if (!StartThread([&app, run, shared] { LaunchRowWorkers(app, run, shared); })) {
    run->ExpectWorkers(0);
    run->MarkFinished();
  }
  return run;
}

}  // namespace vardelle

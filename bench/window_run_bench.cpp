// The window during test runs of 1,000 and 10,000 rows on loopback: the longest time its
// event loop was kept from running (a 1 ms timer's largest gap between two ticks), and the
// process's peak resident memory while the runs went on. Runs offscreen; the probes need
// root or datagram ICMP sockets.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/application/application.h"
#include "app/test_run/run_engine.h"
#include "app/window/main_window_logic.h"
#include "bench/process_peaks.h"
#include "bench/qt_benchmark_main.h"
#include "bench/run_engine_setup.h"
#include "ui/qt/main_window.h"
#include "ui/qt/main_window_view.h"

namespace vardelle {
namespace {

using std::chrono::duration;
using std::chrono::steady_clock;

double MsBetween(steady_clock::time_point start, steady_clock::time_point end) {
  return duration<double, std::milli>(end - start).count();
}

double MsSince(steady_clock::time_point start) { return MsBetween(start, steady_clock::now()); }

// Far beyond a run's probe time-out.
constexpr std::chrono::seconds kLongestRun{60};

std::string LoopbackAddress(int row) {
  return "127.0." + std::to_string(row / 250) + "." + std::to_string(2 + row % 250);
}

// Over a benchmark's iterations.
struct WindowRunFigures {
  double longestGapMs = 0;
  double longestTickMs = 0;  // the tick's own call, on the window's thread
  double runMs = 0;          // summed
  double answered = 0;       // summed
};

// One tick over the whole table while the event loop runs, watched by a 1 ms timer; false
// when the run did not end within kLongestRun. The tick is asked for on the window's thread,
// as the window's own timer and button do.
bool WatchOneRun(TestRunEngine& engine, WindowRunFigures& figures) {
  steady_clock::time_point lastTick = steady_clock::now();
  QTimer probe;
  QObject::connect(&probe, &QTimer::timeout, [&] {
    const auto now = steady_clock::now();
    figures.longestGapMs = std::max(figures.longestGapMs, MsBetween(lastTick, now));
    lastTick = now;
  });
  probe.start(1);
  const auto start = steady_clock::now();
  const std::shared_ptr<TestRun> run = engine.StartRun();
  figures.longestTickMs = std::max(figures.longestTickMs, MsSince(start));
  while (!run->Finished() && steady_clock::now() - start < kLongestRun) {
    QApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  figures.runMs += MsSince(start);
  figures.answered += run->Summary().answered;
  return run->Finished();
}

void WindowDuringRun(benchmark::State& state) {
  if (!ProbeUnavailableReason().empty()) {
    state.SkipWithError(ProbeUnavailableReason().c_str());
    return;
  }
  Application app;
  MainWindowLogic logic(app);
  ui::MainWindow window(logic);
  ui::QtMainWindowView view(window);
  window.show();
  view.DeleteAllRows();
  bench::PrepareServerTable(app, view, static_cast<int>(state.range(0)), LoopbackAddress);
  TestRunEngine engine(app.SharedWithTestRuns(), bench::ServicesWithoutRegionStatus());
  const double residentBefore = bench::ResidentMiB();
  bench::ResetPeakResident();
  WindowRunFigures figures;
  for (auto _ : state) {
    if (!WatchOneRun(engine, figures)) {
      state.SkipWithError("a run did not end within a minute");
      break;
    }
  }
  const double iterations = static_cast<double>(state.iterations());
  state.counters["longest_blocked_ms"] = figures.longestGapMs;
  state.counters["longest_tick_ms"] = figures.longestTickMs;
  state.counters["run_ms"] = figures.runMs / iterations;
  state.counters["answered"] = figures.answered / iterations;
  state.counters["resident_before_MiB"] = residentBefore;
  state.counters["peak_MiB"] = bench::PeakResidentMiB();
  view.Detach();
}
BENCHMARK(WindowDuringRun)->Arg(1000)->Arg(10000)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vardelle

VARDELLE_QT_BENCHMARK_MAIN()

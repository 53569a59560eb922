// The window during a 1,000-row test run on loopback: the longest time its event loop was
// kept from running (a 1 ms timer's largest gap between two ticks), and the process's peak
// memory. Runs offscreen; the probes need root or datagram ICMP sockets.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "app/start/application.h"
#include "app/status/region_status.h"
#include "app/table/server_table.h"
#include "app/test_run/test_run.h"
#include "app/window/main_window_logic.h"
#include "runtime/threads/locks.h"
#include "ui/main_window.h"
#include "ui/qt_main_window_view.h"

namespace vardelle {
namespace {

using std::chrono::duration;
using std::chrono::steady_clock;

constexpr int kRows = 1000;

std::string LoopbackAddress(int row) {
  return "127.0." + std::to_string(row / 250) + "." + std::to_string(2 + row % 250);
}

double PeakMemoryMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void WindowDuringThousandRowRun(benchmark::State& state) {
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
  app.window = &view;
  app.lists = std::make_shared<ProcessLists>();
  app.tableLock = CreateLock();
  for (int row = 0; row < kRows; ++row) {
    const RowId id = view.InsertRow("server " + std::to_string(row), RowIcon::kNotTested);
    view.SetCellText(id, kDomainColumn, LoopbackAddress(row));
  }
  TestRunServices services;
  services.fetchRegionStatus = [](Application&) {
    return std::make_shared<const RegionStatusLists>();
  };
  TestRunEngine engine(app, services);
  double longestGapMs = 0;
  double runMs = 0;
  double answered = 0;
  for (auto _ : state) {
    std::atomic<bool> done{false};
    steady_clock::time_point lastTick = steady_clock::now();
    double gapMs = 0;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
      const auto now = steady_clock::now();
      gapMs = std::max(gapMs, duration<double, std::milli>(now - lastTick).count());
      lastTick = now;
    });
    probe.start(1);
    const auto start = steady_clock::now();
    const std::shared_ptr<TestRun> run = engine.StartRun();
    std::thread([run, &done] {
      run->Wait();
      done = true;
    }).detach();
    while (!done) QApplication::processEvents(QEventLoop::AllEvents, 5);
    runMs += duration<double, std::milli>(steady_clock::now() - start).count();
    longestGapMs = std::max(longestGapMs, gapMs);
    answered += run->Summary().answered;
  }
  state.counters["longest_blocked_ms"] = longestGapMs;
  state.counters["run_ms"] = runMs / static_cast<double>(state.iterations());
  state.counters["peak_MiB"] = PeakMemoryMiB();
  state.counters["answered"] = answered / static_cast<double>(state.iterations());
  view.Detach();
}
BENCHMARK(WindowDuringThousandRowRun)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vardelle

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

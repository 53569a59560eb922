#include "app/start/start_up.h"

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>

#include "app/application/application.h"
#include "app/headless/global_ping_headless.h"
#include "app/headless/headless_run.h"
#include "app/headless/headless_watch.h"
#include "app/settings/column_settings.h"
#include "app/test_run/run_engine.h"
#include "app/window/main_window_logic.h"
#include "runtime/probes/network_probes.h"
#include "runtime/threads/locks.h"
#include "runtime/threads/threads.h"
#include "support/cookies/cookie_jar.h"

namespace vardelle {
namespace {

void ShutDownAtExit() { ShutDown(); }

// Nothing to save once the jar is gone, as after an earlier ShutDown.
void SaveCookies(const std::string& file) {
  const std::shared_ptr<CookieJar> jar = SharedCookieJar();
  if (jar && !file.empty()) jar->SaveToFile(file);
}

// The process-wide state both ways of running share, freed by ShutDown at program end.
Application& PrepareProcess() {
  Application& app = TheApplication();
  app.lists = std::make_shared<ProcessLists>();
  CreateSharedCookieJar();
  if (!app.cookieFile.empty()) SharedCookieJar()->LoadFromFile(app.cookieFile);
  static std::once_flag registered;
  std::call_once(registered, [] { std::atexit(ShutDownAtExit); });
  return app;
}

}  // namespace

HeadlessOutcome StartUpHeadless(ReportFormat format, const RunSchedule& schedule) {
  return RunHeadless(PrepareProcess(), format, schedule);
}

int StartUpHeadlessWatch(const WatchOptions& options, int intervalSeconds,
                         const WatchControls& controls) {
  return RunHeadlessWatch(PrepareProcess(), options, intervalSeconds, controls);
}

HeadlessOutcome StartUpGlobalPingHeadless(const GlobalPingPlace& place, ReportFormat format) {
  return RunGlobalPingHeadless(PrepareProcess(), place, format);
}

int StartUp(WindowPlatform& platform) {
  Application& app = PrepareProcess();
  // Tests hook in a run of their own before the start.
  if (!app.startTestRun) app.startTestRun = [&app] { app.testRuns.StartRun(); };
  MainWindowLogic logic(app);
  // The window stays reachable after it closed: late workers find its operations inert.
  platform.RunMainWindow(logic);
  return 0;
}

bool StopBackgroundWork(Application& app, const std::function<void()>& alsoStop,
                        std::chrono::milliseconds bound) {
  const auto deadline = std::chrono::steady_clock::now() + bound;
  struct Progress {
    std::mutex mutex;
    std::condition_variable changed;
    bool done = false;
  };
  const auto progress = std::make_shared<Progress>();
  // On a thread of its own, so that a stop that hangs (a name look-up, a lookup waiting
  // out its time-outs) is waited for no longer than bound.
  const auto stopAll = [&app, alsoStop, progress] {
    try {
      app.testRuns.Stop();
      app.stoppingTestRuns.StopAll();
      if (alsoStop) alsoStop();
      app.locationLookups.Stop();
      app.locationLookups.Wait();
      StopProbes();
      SettingsWriter().Stop();
    } catch (...) {
      // Out of memory: the process still ends, the hard way below.
      return;
    }
    std::lock_guard guard(progress->mutex);
    progress->done = true;
    progress->changed.notify_all();
  };
  if (!StartThread(stopAll)) stopAll();
  bool stopped = false;
  {
    std::unique_lock lock(progress->mutex);
    stopped = progress->changed.wait_until(lock, deadline, [&] { return progress->done; });
  }
  // A stop still hanging at the bound is left running: the process ends before it matters.
  return stopped && AwaitStartedThreads(deadline);
}

void EndProcessNow(int code) {
  SaveCookies(TheApplication().cookieFile);
  SettingsWriter().Flush();
  std::fflush(nullptr);
  std::_Exit(code);
}

void ShutDown() {
  // Late workers may still be running: they find the lock gone and the window detached.
  TheApplication().lists.store(nullptr);
  SaveCookies(TheApplication().cookieFile);
  DestroySharedCookieJar();
  SettingsWriter().Stop();
  DeleteAllLocks();
}

}  // namespace vardelle

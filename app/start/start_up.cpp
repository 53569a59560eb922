#include "app/start/start_up.h"

#include <cstdlib>
#include <memory>
#include <mutex>

#include "app/global_ping/global_ping_headless.h"
#include "app/headless/headless_run.h"
#include "app/start/application.h"
#include "app/test_run/test_run.h"
#include "app/window/main_window_logic.h"
#include "runtime/threads/locks.h"
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

HeadlessOutcome StartUpGlobalPingHeadless(const GlobalPingPlace& place, ReportFormat format) {
  return RunGlobalPingHeadless(PrepareProcess(), place, format);
}

int StartUp(WindowPlatform& platform) {
  Application& app = PrepareProcess();
  // Tests hook in a run of their own before the start.
  if (!app.startTestRun) app.startTestRun = [&app] { StartTestRun(app); };
  MainWindowLogic logic(app);
  // The window stays reachable after it closed: late workers find its operations inert.
  platform.RunMainWindow(logic);
  return 0;
}

void ShutDown() {
  // Late workers may still be running: they find the lock gone and the window detached.
  TheApplication().lists.store(nullptr);
  SaveCookies(TheApplication().cookieFile);
  DestroySharedCookieJar();
  DeleteAllLocks();
}

}  // namespace vardelle

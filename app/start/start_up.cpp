#include "app/start/start_up.h"

#include <cstdlib>
#include <memory>
#include <mutex>

#include "app/start/application.h"
#include "app/window/main_window_logic.h"
#include "runtime/threads/locks.h"
#include "support/cookies/cookie_jar.h"

namespace vardelle {
namespace {

void ShutDownAtExit() { ShutDown(); }

}  // namespace

int StartUp(WindowPlatform& platform) {
  Application& app = TheApplication();
  app.lists = std::make_shared<ProcessLists>();
  CreateSharedCookieJar();
  static std::once_flag registered;
  std::call_once(registered, [] { std::atexit(ShutDownAtExit); });

  MainWindowLogic logic(app);
  // The window stays reachable after it closed: late workers find its operations inert.
  platform.RunMainWindow(logic);
  return 0;
}

void ShutDown() {
  // Late workers may still be running: they find the lock gone and the window detached.
  TheApplication().lists.store(nullptr);
  DestroySharedCookieJar();
  DeleteAllLocks();
}

}  // namespace vardelle

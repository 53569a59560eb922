// The running program's state: the window the application drives and the process-wide
// lists. One instance per process, which the program's entry points and the loading
// thread's routine reach through TheApplication(); everything else is handed the instance.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "app/alerts/alert_watching.h"
#include "app/global_ping/global_ping_page.h"
#include "app/location/location_lookups.h"
#include "app/mini_view/mini_view_rows.h"
#include "app/settings/endpoints.h"
#include "app/statistics/latency_history.h"
#include "app/status/process_lists.h"
#include "app/table/table_sort.h"
#include "app/test_run/honest_answers.h"
#include "app/test_run/run_engine.h"
#include "app/view/main_window_view.h"
#include "runtime/platform.h"
#include "runtime/process/process_launch.h"

namespace vardelle {

struct Application {
  // Set before the window is created; afterwards only the settings dialog replaces it, on the
  // window's thread, and other threads read it through EndpointsNow.
  Endpoints endpoints;
  // Where a proxy's resolver takes its fake addresses from; set before the window is created.
  AddressRange fakeAddresses = ProxyFakeAddresses();
  mutable std::mutex endpointsMutex;
  // One server-list loading at a time: the settings dialog starts one while the first may
  // still run, and two would fill the table twice.
  std::mutex oneLoadingAtATime;
  // The shared cookie jar's file, loaded at start and saved at the end; "" keeps the
  // cookies in memory only, as tests do.
  std::string cookieFile;
  // Sent to the Globalping API as a bearer token; "" asks anonymously.
  std::string globalpingToken;
  // Set when the Globalping API is the demo world's stand-in, whose servers are loopback
  // addresses the real service would refuse.
  bool globalpingMeasuresPrivateTargets = false;
  // The user's settings file, where the window keeps choices made in it; "" keeps them in
  // memory only, as tests do.
  std::string settingsFile;
  std::atomic<MainWindowView*> window{nullptr};
  // Shared, so a worker still running while ShutDown frees the lists keeps its own
  // reference instead of reading freed memory.
  SharedProcessLists lists;
  // The server table's sort direction and arrow, shared by header clicks and loading.
  SortState sortState;
  // Starts the console tools and the browser; tests put a recording one here.
  std::unique_ptr<ProcessLauncher> launcher = CreateSystemLauncher();
  // Every row's recent results, for its statistics and trend.
  LatencyHistory latencyHistory;
  // The "全球Ping" page's rows and the global tests running on them.
  GlobalPingPage globalPing;
  // The rows the player watches and the notifications they give; fed by the test runs.
  AlertWatching alerts;
  MiniViewRows miniView;
  // Starts a latency test run; loading asks for the first one when the table is filled.
  // StartUp sets the real run unless one was set before; read-only once the window exists.
  std::function<void()> startTestRun;
  // What test runs read and write of the application: its own, a headless run's, a test's.
  TestRunShared SharedWithTestRuns() {
    return {endpoints,      endpointsMutex, window,   lists,
            latencyHistory, alerts,         miniView, fakeAddresses};
  }
  // Every test run, from the timer, the button and the end of loading; declared after what
  // it writes to, so it stops first.
  TestRunEngine testRuns{SharedWithTestRuns()};
  // Test runs of their own whose stop is under way (the headless watch's); program end
  // finishes them before the echo engine goes.
  StoppingTestRuns stoppingTestRuns;
  // The location lookups that loading started; declared last, so that an Application going
  // out of scope waits for them before anything else of it goes.
  LocationLookups locationLookups;
};

Application& TheApplication();

// A copy of app.endpoints, safe on any thread.
inline Endpoints EndpointsNow(const Application& app) {
  std::lock_guard lock(app.endpointsMutex);
  return app.endpoints;
}

// On the window's thread only, the one thread that reads app.endpoints without the lock.
inline void ReplaceEndpoints(Application& app, Endpoints endpoints) {
  std::lock_guard lock(app.endpointsMutex);
  app.endpoints = std::move(endpoints);
}

inline GlobalpingAccess GlobalpingAccessOf(const Application& app) {
  return {app.endpoints.GlobalpingBase(), app.globalpingToken,
          app.globalpingMeasuresPrivateTargets};
}

}  // namespace vardelle

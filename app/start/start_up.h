// Program start and end.
#pragma once

#include <chrono>
#include <functional>

#include "app/global_ping/global_ping_places.h"
#include "app/headless/headless_run.h"
#include "app/headless/headless_watch.h"
#include "app/view/main_window_view.h"

namespace vardelle {

struct Application;

// Sets up the process-wide lists and the shared cookie jar, registers ShutDown for program end,
// runs the main window on the given platform until it closes and returns the exit code (always 0).
int StartUp(WindowPlatform& platform);

// The same set-up, then one headless run (see RunHeadless) instead of the window.
HeadlessOutcome StartUpHeadless(ReportFormat format, const RunSchedule& schedule = {});
// The same set-up, then a headless watch (see RunHeadlessWatch); its exit code.
int StartUpHeadlessWatch(const WatchOptions& options, int intervalSeconds,
                         const WatchControls& controls);
// The same set-up, then one headless global test (see RunGlobalPingHeadless).
HeadlessOutcome StartUpGlobalPingHeadless(const GlobalPingPlace& place, ReportFormat format);

// Frees the process-wide lists and the shared cookie jar; safe to call more than once.
void ShutDown();

// Program end, after the window closed or the headless run reported: stops the test runs
// (the window's, then those whose stop a headless watch began), then alsoStop (the demo
// world), then waits for the location lookups, stops the echo engine and waits for every
// thread started with StartThread, all within bound. True when
// everything stopped, so the process may end the usual way; false when something is still
// running, and the process must then end with EndProcessNow: static destructors must never
// run under a live thread.
bool StopBackgroundWork(Application& app, const std::function<void()>& alsoStop,
                        std::chrono::milliseconds bound);

// Saves the cookies, finishes the settings writes, flushes the standard streams and ends the
// process at once with code, running no static destructor and no exit handler.
[[noreturn]] void EndProcessNow(int code);

}  // namespace vardelle

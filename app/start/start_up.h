// Program start and end.
#pragma once

#include "app/global_ping/global_ping_places.h"
#include "app/headless/headless_run.h"
#include "app/window/main_window_view.h"

namespace vardelle {

// Sets up the process-wide lists and the shared cookie jar, registers ShutDown for program end, runs the main
// window on the given platform until it closes and returns the exit code (always 0).
int StartUp(WindowPlatform& platform);

// The same set-up, then one headless run (see RunHeadless) instead of the window.
HeadlessOutcome StartUpHeadless(ReportFormat format, const RunSchedule& schedule = {});
// The same set-up, then one headless global test (see RunGlobalPingHeadless).
HeadlessOutcome StartUpGlobalPingHeadless(const GlobalPingPlace& place, ReportFormat format);

// Frees the process-wide lists and the shared cookie jar; safe to call more than once.
void ShutDown();

}  // namespace vardelle

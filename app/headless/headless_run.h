// The application without a window, for scripts, tests and benchmarks: the same loading and
// test run as the window's, on an in-memory table, ending with the table as a report.
#pragma once

#include <string>

#include "app/headless/table_report.h"

namespace vardelle {

struct Application;

struct HeadlessOutcome {
  int exitCode = 0;        // 0, or 1 when the server list could not be read
  std::string report;      // the table, UTF-8, in the asked format
  std::string statusLine;  // the last status line, UTF-8: what went wrong, what the run did
};

// Loads the server list, makes one test run, waits for every worker of that run and every
// location lookup (each bounded by its own time-out), then reports the table. app must not
// drive a window; it is left holding the finished table's state.
HeadlessOutcome RunHeadless(Application& app, ReportFormat format);

}  // namespace vardelle

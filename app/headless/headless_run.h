// The application without a window, for scripts, tests and benchmarks: the same loading and
// test run as the window's, on an in-memory table, ending with the table as a report.
#pragma once

#include <string>

#include "app/report/table_report.h"
#include "app/test_run/run_engine.h"

namespace vardelle {

struct Application;

struct HeadlessOutcome {
  int exitCode = 0;        // 0, or 1 when the server list could not be read
  std::string report;      // the table, UTF-8, in the asked format
  std::string statusLine;  // the last status line, UTF-8: what went wrong, what the run did
};

// How many test runs to make, started this many seconds apart (as the window's timer would).
struct RunSchedule {
  int runs = 1;
  int intervalSeconds = 5;
  friend bool operator==(const RunSchedule&, const RunSchedule&) = default;
};

// Loads the server list, makes the scheduled test runs, waits for every worker of those runs
// and every location lookup (each bounded by its own time-out), then reports the table with
// each row's statistics over the runs. app must not drive a window; it is left holding the
// finished table's state. Tests give their own probes through services.
HeadlessOutcome RunHeadless(Application& app, ReportFormat format, const RunSchedule& schedule = {},
                            const TestRunServices& services = {});

}  // namespace vardelle

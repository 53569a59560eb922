// Watching without a window (--headless --watch): the server list loaded once, then a test
// run every interval until the program is asked to end, the alert rules applied to every row
// (or to the rows named) and each event printed at once as one line of JSON.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/alerts/alert_rules.h"
#include "app/test_run/run_engine.h"
#include "runtime/platform.h"
#include "support/text/text.h"

namespace vardelle {

struct Application;

struct WatchOptions {
  // --watch-server names (GBK), matched without surrounding blanks; none: every row.
  std::vector<Text> servers{};
  int latencyOverMs = kDefaultWatchLatencyOverMs;
  int lossOverPercent = kDefaultWatchLossOverPercent;
  friend bool operator==(const WatchOptions&, const WatchOptions&) = default;
};

using TerminationHooker =
    std::function<std::unique_ptr<TerminationHook>(std::function<void()> onRequest)>;

struct WatchControls {
  // One event's line, UTF-8 with its line end, to be printed and flushed at once.
  std::function<void(const std::string& line)> printEvent;
  // A note for the person watching, UTF-8 without a line end: what cannot be watched.
  std::function<void(const std::string& note)> printNote;
  // Hooks the request that ends the watch; tests give their own.
  TerminationHooker hookTermination = HookTerminationRequests;
  TestRunServices services;
  std::function<AlertTime()> clock = [] { return std::chrono::system_clock::now(); };
};

// How long a run in flight is given to finish once the watch is asked to end.
inline constexpr std::chrono::milliseconds kWatchRunGrace{500};

// Loads the server list, then makes a test run every intervalSeconds from one run's start to
// the next (a run that outlasts the interval delays the next one), until the request that
// controls.hookTermination hooks. After each run, the window's alert watching judges every
// watched row on the run's status fetch and its probe outcome (status: any change; latency and
// loss over the options' thresholds), and the events are printed. At the request, a run in
// flight is given kWatchRunGrace to finish (its events are printed) and otherwise given up.
// Returns 0 after the request, 1 when the list could not be read or holds no row to watch
// (a note says why). app must not drive a window. What still runs when this returns (a list
// download, the stop of the test runs) runs on threads of StartThread that use app: wait for
// them with AwaitStartedThreads before app goes. The test runs' stop is in
// app.stoppingTestRuns, for program end to finish before the echo engine goes.
int RunHeadlessWatch(Application& app, const WatchOptions& options, int intervalSeconds,
                     const WatchControls& controls);

// An event as one line of JSON with its line end, its texts in UTF-8: {"time", "serverName",
// "domain", "kind" ("status", "latency" or "loss"), "from", "to", "value", "threshold"}, null
// for a value or threshold the event has not.
std::string AlertEventJsonLine(const AlertEvent& event);

// The time in UTC as ISO 8601 to the second: "2024-05-01T12:15:03Z".
std::string IsoUtcTime(AlertTime time);

}  // namespace vardelle

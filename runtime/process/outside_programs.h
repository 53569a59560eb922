// The outside programs that the window's actions start: a console tool in a window of its
// own, and the user's web browser. Each platform knows its own tools and how to reach them
// (runtime/linux/outside_programs_linux.cpp here); all of them start through a launcher.
#pragma once

#include <string>
#include <vector>

#include "runtime/process/process_launch.h"

namespace vardelle {

// What an action needs an outside program for.
enum class ProgramRole { kTerminal, kPing, kRouteTracer, kBrowser };

struct LaunchOutcome {
  enum class Result { kStarted, kMissing, kStartFailed };
  Result result = Result::kStarted;
  // kMissing: the role no program was found for, with every name looked for, in order.
  // kStartFailed: the role of the program that was found but would not start, and its name.
  ProgramRole role = ProgramRole::kTerminal;
  std::vector<std::string> programs;
};

// The arguments below go to the programs as they stand: callers pass a host name or
// address, or a web address, that they have checked.

// A console window running ping against host until the user closes it.
LaunchOutcome StartPingConsole(ProcessLauncher& launcher, const std::string& host);
// A console window running a route trace to host.
LaunchOutcome StartRouteTraceConsole(ProcessLauncher& launcher, const std::string& host);
// The user's web browser showing address.
LaunchOutcome OpenInBrowser(ProcessLauncher& launcher, const std::string& address);

}  // namespace vardelle

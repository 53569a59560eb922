// What every edition's main does around its window: reads the command line and the user's
// settings, starts the demo world when asked, runs a headless run instead of the window,
// and ends the program with every thread stopped or left behind safely.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/start/command_line.h"

namespace vardelle {

// The command line taken, the application set up; or the exit code when the program is done
// already (help, version, a usage error, a demo world without a port).
struct ProgramStart {
  CommandLine line;
  std::optional<int> exitCode;
};

// arguments: the program's, after its name, as GBK text (ProgramArguments).
ProgramStart StartProgram(const std::vector<std::string>& arguments);

// The headless run the command line asks for, its report on standard output and its status
// line on standard error, byte for byte; or the watch it asks for, each event's line on
// standard output as it comes and its notes on standard error. Its exit code.
int RunHeadlessProgram(const CommandLine& line);

// Stops everything still running, waiting a second at most; what cannot stop by then is
// left behind by ending the process at once. Returns code.
int FinishProgram(int code);

}  // namespace vardelle

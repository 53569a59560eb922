// The console tools and the browser on Linux desktops. A console tool runs inside a
// terminal emulator, which each name starts with its own option; ping runs until stopped
// by itself (its -t is the TTL here), and traceroute, where missing, gives way to tracepath.
#include <algorithm>
#include <string_view>

#include "runtime/process/outside_programs.h"

namespace vardelle {
namespace {

struct TerminalConvention {
  const char* program;
  // The option after which the rest of the arguments are the command to run.
  const char* commandOption;
};

// Debian's chosen emulator first, then the usual ones.
constexpr TerminalConvention kTerminals[] = {
    {"x-terminal-emulator", "-e"}, {"gnome-terminal", "--"}, {"konsole", "-e"},
    {"xfce4-terminal", "-x"},      {"xterm", "-e"},
};

// Where no browser list names one that is installed, the desktop's own opener decides.
constexpr const char* kDesktopOpener = "xdg-open";

using Command = std::vector<std::string>;

// The first command whose program is installed; otherwise every program looked for.
LaunchOutcome LaunchFirstInstalled(ProcessLauncher& launcher, ProgramRole role,
                                   const std::vector<Command>& commands) {
  std::vector<std::string> names;
  for (const Command& argv : commands) {
    if (!launcher.HasProgram(argv.front())) {
      names.push_back(argv.front());
    } else if (launcher.Start(argv, false)) {
      return {};
    } else {
      return {LaunchOutcome::Result::kStartFailed, role, {argv.front()}};
    }
  }
  return {LaunchOutcome::Result::kMissing, role, names};
}

LaunchOutcome StartInTerminal(ProcessLauncher& launcher, const Command& tool) {
  std::vector<Command> commands;
  for (const TerminalConvention& terminal : kTerminals) {
    Command& argv = commands.emplace_back(Command{terminal.program, terminal.commandOption});
    argv.insert(argv.end(), tool.begin(), tool.end());
  }
  return LaunchFirstInstalled(launcher, ProgramRole::kTerminal, commands);
}

// The first installed one of tools, run for host in a terminal.
LaunchOutcome StartToolInTerminal(ProcessLauncher& launcher, ProgramRole role,
                                  const std::vector<std::string>& tools, const std::string& host) {
  for (const std::string& tool : tools) {
    if (launcher.HasProgram(tool)) return StartInTerminal(launcher, {tool, host});
  }
  return {LaunchOutcome::Result::kMissing, role, tools};
}

std::vector<std::string> SplitAt(std::string_view text, std::string_view separators) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t end = std::min(text.find_first_of(separators, start), text.size());
    if (end > start) parts.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// One browser command of the list, for address: "%s" in a word stands for the address;
// without one the address comes last.
Command BrowserArgv(const std::string& command, const std::string& address) {
  Command argv = SplitAt(command, " \t\n");
  bool placed = false;
  for (std::string& word : argv) {
    for (size_t at = word.find("%s"); at != std::string::npos; at = word.find("%s", at)) {
      word.replace(at, 2, address);
      at += address.size();
      placed = true;
    }
  }
  if (!placed) argv.push_back(address);
  return argv;
}

// $BROWSER as xdg-utils reads it, a ':'-separated list of commands tried in order, then
// the desktop's opener.
std::vector<Command> BrowserCommands(ProcessLauncher& launcher, const std::string& address) {
  std::vector<Command> commands;
  for (const std::string& command : SplitAt(launcher.Environment("BROWSER").value_or(""), ":")) {
    Command argv = BrowserArgv(command, address);
    // An entry that is nothing but the address names no browser.
    if (argv.size() > 1) commands.push_back(std::move(argv));
  }
  commands.push_back({kDesktopOpener, address});
  return commands;
}

}  // namespace

LaunchOutcome StartPingConsole(ProcessLauncher& launcher, const std::string& host) {
  return StartToolInTerminal(launcher, ProgramRole::kPing, {"ping"}, host);
}

LaunchOutcome StartRouteTraceConsole(ProcessLauncher& launcher, const std::string& host) {
  return StartToolInTerminal(launcher, ProgramRole::kRouteTracer, {"traceroute", "tracepath"},
                             host);
}

LaunchOutcome OpenInBrowser(ProcessLauncher& launcher, const std::string& address) {
  return LaunchFirstInstalled(launcher, ProgramRole::kBrowser, BrowserCommands(launcher, address));
}

}  // namespace vardelle

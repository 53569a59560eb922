// The console tools and the browser on Windows. ping and tracert come with the system; the
// launcher gives each detached program a console window of its own. The browser is the
// one the user chose for web addresses, reached through the shell, which alone knows that
// choice.
#include <string>
#include <vector>

#include "runtime/process/outside_programs.h"

namespace vardelle {
namespace {

// What a failed browser start names, there being no program name to give.
constexpr char kDefaultBrowser[] = "默认浏览器";

LaunchOutcome StartConsoleTool(ProcessLauncher& launcher, ProgramRole role,
                               const std::vector<std::string>& argv) {
  if (!launcher.HasProgram(argv.front())) {
    return {LaunchOutcome::Result::kMissing, role, {argv.front()}};
  }
  if (launcher.Start(argv, false)) return {};
  return {LaunchOutcome::Result::kStartFailed, role, {argv.front()}};
}

}  // namespace

LaunchOutcome StartPingConsole(ProcessLauncher& launcher, const std::string& host) {
  // -t: until the user stops it, as the console window is for.
  return StartConsoleTool(launcher, ProgramRole::kPing, {"ping", "-t", host});
}

LaunchOutcome StartRouteTraceConsole(ProcessLauncher& launcher, const std::string& host) {
  return StartConsoleTool(launcher, ProgramRole::kRouteTracer, {"tracert", host});
}

// The shell's choice of browser is no program name to start, so the shell opens the address.
LaunchOutcome OpenInBrowser(ProcessLauncher& launcher, const std::string& address) {
  if (launcher.OpenWithShell(address)) return {};
  return {LaunchOutcome::Result::kStartFailed, ProgramRole::kBrowser, {kDefaultBrowser}};
}

}  // namespace vardelle

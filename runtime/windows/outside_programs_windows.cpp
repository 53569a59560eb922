// The console tools and the browser on Windows. ping and tracert come with the system and are
// started from its folder by full path: a search for the bare name would look in our
// program's folder first, where whoever can write there could leave a ping.exe. The
// launcher gives each detached program a console window of its own. The browser is the
// one the user chose for web addresses, reached through the shell, which alone knows that
// choice.
#include <optional>
#include <string>
#include <vector>

#include "runtime/process/outside_programs.h"
#include "runtime/windows/process_launch_windows.h"
#include "runtime/windows/wide_text.h"

namespace vardelle {
namespace {

// What a failed browser start names, there being no program name to give.
constexpr char kDefaultBrowser[] = "默认浏览器";

LaunchOutcome StartConsoleTool(ProcessLauncher& launcher, ProgramRole role, std::wstring_view file,
                               std::vector<std::string> arguments) {
  const std::optional<std::string> path = SystemProgramPath(file);
  if (!path || !launcher.HasProgram(*path)) {
    return {LaunchOutcome::Result::kMissing, role, {path.value_or(GbkFromWide(file))}};
  }
  arguments.insert(arguments.begin(), *path);
  if (launcher.Start(arguments, false)) return {};
  return {LaunchOutcome::Result::kStartFailed, role, {*path}};
}

}  // namespace

LaunchOutcome StartPingConsole(ProcessLauncher& launcher, const std::string& host) {
  // -t: until the user stops it, as the console window is for.
  return StartConsoleTool(launcher, ProgramRole::kPing, L"PING.EXE", {"-t", host});
}

LaunchOutcome StartRouteTraceConsole(ProcessLauncher& launcher, const std::string& host) {
  return StartConsoleTool(launcher, ProgramRole::kRouteTracer, L"TRACERT.EXE", {host});
}

// The shell's choice of browser is no program name to start, so the shell opens the address.
LaunchOutcome OpenInBrowser(ProcessLauncher& launcher, const std::string& address) {
  if (launcher.OpenWithShell(address)) return {};
  return {LaunchOutcome::Result::kStartFailed, ProgramRole::kBrowser, {kDefaultBrowser}};
}

}  // namespace vardelle

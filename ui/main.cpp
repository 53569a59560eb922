#include <QApplication>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/start/application.h"
#include "app/start/endpoints.h"
#include "app/start/start_up.h"
#include "app/start/user_files.h"
#include "app/start/user_settings.h"
#include "runtime/platform.h"
#include "demo_world/demo_world.h"
#include "ui/qt_window_platform.h"
#include "ui/termination_signals.h"

namespace {

// Stopped at program end, never destroyed: a thread abandoned then may still hold it.
vardelle::demo::DemoWorld* demoWorld = nullptr;

// Every site that the command line left without an address is served by the demo world.
bool UseDemoWorld(vardelle::Endpoints& endpoints) {
  auto* world = demoWorld = new vardelle::demo::DemoWorld;
  if (!world->Start()) return false;
  for (const vardelle::SiteInfo& info : vardelle::SiteTable()) {
    if (!endpoints.HasAddress(info.site)) endpoints.SetBaseUrl(info.site, world->BaseUrl());
  }
  if (endpoints.GlobalpingBase().empty()) {
    endpoints.SetGlobalpingBase(world->BaseUrl());
    vardelle::TheApplication().globalpingMeasuresPrivateTargets = true;
  }
  return true;
}

int PrintHeadless(const vardelle::HeadlessOutcome& outcome) {
  std::fputs(outcome.report.c_str(), stdout);
  if (!outcome.statusLine.empty()) std::fprintf(stderr, "%s\n", outcome.statusLine.c_str());
  return outcome.exitCode;
}

// Stops everything still running, waiting a second at most; what cannot stop by then is
// left behind by ending the process at once.
int Finish(int code) {
  const auto stopWorld = [] {
    if (demoWorld) demoWorld->Stop();
  };
  if (!vardelle::StopBackgroundWork(vardelle::TheApplication(), stopWorld,
                                    std::chrono::seconds(1))) {
    vardelle::EndProcessNow(code);
  }
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  vardelle::InitializeRuntimePlatform();
  vardelle::CommandLine line = vardelle::ParseCommandLine(
      std::vector<std::string>(argv + 1, argv + argc), vardelle::ProcessEnvironment);
  if (line.help) {
    std::fputs(vardelle::CommandLineHelp().c_str(), stdout);
    return 0;
  }
  if (line.version) {
    std::fputs("vardelle " VARDELLE_VERSION "\n", stdout);
    return 0;
  }
  if (line.error.empty()) vardelle::ApplyUserSettingsFile(line);
  if (!line.error.empty()) {
    std::fprintf(stderr, "vardelle: %s\n\n%s", line.error.c_str(),
                 vardelle::CommandLineHelp().c_str());
    return 2;
  }
  vardelle::Endpoints endpoints = line.endpoints;
  if (line.demo && !UseDemoWorld(endpoints)) {
    std::fputs("vardelle: the demo world found no free port on 127.0.0.1\n", stderr);
    return 1;
  }
  vardelle::TheApplication().endpoints = endpoints;
  vardelle::TheApplication().globalpingToken = line.globalpingToken;
  if (vardelle::MakeUserConfigDirectory()) {
    vardelle::TheApplication().cookieFile = vardelle::UserCookiePath();
    vardelle::TheApplication().settingsFile = vardelle::UserSettingsPath();
  }
  // Numbers are read and written the C way (Qt would take the user's locale).
  std::setlocale(LC_NUMERIC, "C");
  if (line.headless) {
    const vardelle::ReportFormat format = line.format.value_or(vardelle::ReportFormat::kText);
    return Finish(PrintHeadless(
        line.globalPingPlace
            ? vardelle::StartUpGlobalPingHeadless(*line.globalPingPlace, format)
            : vardelle::StartUpHeadless(format, line.schedule)));
  }

  // The arguments are all the program's own, so Qt gets none of them.
  int qtArgc = 1;
  QApplication application(qtArgc, argv);
  std::setlocale(LC_NUMERIC, "C");
  vardelle::ui::CloseWindowsOnTerminationSignals();
  // Never destroyed: a thread abandoned at the end may still hold the (detached) window
  // view, and the platform owns it.
  static auto* const platform = new vardelle::ui::QtWindowPlatform;
  return Finish(vardelle::StartUp(*platform));
}

#include "program/program_start.h"

#include <chrono>
#include <clocale>
#include <optional>
#include <string>

#include "app/application/application.h"
#include "app/start/start_up.h"
#include "app/start/user_files.h"
#include "app/start/user_settings.h"
#include "app/test_run/honest_answers.h"
#include "app/settings/column_settings.h"
#include "demo_world/demo_world.h"
#include "runtime/platform.h"
#include "runtime/probes/network_probes.h"

namespace vardelle {
namespace {

// Status fetches, one a test run: about a minute at the timer's 5 s.
constexpr int kDemoRegionBackAfterFetches = 12;

// Stopped at program end, never destroyed: a thread abandoned then may still hold it.
demo::DemoWorld* demoWorld = nullptr;

// Every site that the command line left without an address is served by the demo world.
bool UseDemoWorld(Endpoints& endpoints) {
  auto* world = demoWorld = new demo::DemoWorld;
  if (!world->Start()) return false;
  // 影流 comes back from 维护 after a while, for a player trying alerts offline.
  world->SetRegionStatusCode("15", "1", kDemoRegionBackAfterFetches);
  for (const SiteInfo& info : SiteTable()) {
    if (!endpoints.HasAddress(info.site)) endpoints.SetBaseUrl(info.site, world->BaseUrl());
  }
  if (endpoints.GlobalpingBase().empty()) {
    endpoints.SetGlobalpingBase(world->BaseUrl());
    TheApplication().globalpingMeasuresPrivateTargets = true;
  }
  return true;
}

int PrintHeadless(const HeadlessOutcome& outcome) {
  WriteStandardText(StandardStream::kOutput, outcome.report);
  if (!outcome.statusLine.empty()) {
    WriteStandardText(StandardStream::kError, outcome.statusLine + "\n");
  }
  return outcome.exitCode;
}

// --lang or the environment, else the system's display language; Chinese where none says.
HelpLanguage HelpLanguageOf(const CommandLine& line) {
  if (line.helpLanguage) return *line.helpLanguage;
  const std::optional<std::string> display = SystemDisplayLanguage();
  return display ? HelpLanguageOfTag(*display).value_or(HelpLanguage::kChinese)
                 : HelpLanguage::kChinese;
}

// A script reading the events through a pipe gets each one as it comes.
int WatchHeadless(const CommandLine& line) {
  WatchControls controls;
  controls.printEvent = [](const std::string& event) {
    WriteStandardText(StandardStream::kOutput, event);
  };
  controls.printNote = [](const std::string& note) {
    WriteStandardText(StandardStream::kError, note + "\n");
  };
  return StartUpHeadlessWatch(line.watchOptions, line.schedule.intervalSeconds, controls);
}

}  // namespace

ProgramStart StartProgram(const std::vector<std::string>& arguments) {
  WriteStandardStreamsAsBytes();
  ProgramStart start{ParseCommandLine(arguments, ProcessEnvironment), std::nullopt};
  CommandLine& line = start.line;
  if (line.help) {
    WriteStandardText(StandardStream::kOutput, CommandLineHelp(HelpLanguageOf(line)));
    start.exitCode = 0;
    return start;
  }
  if (line.version) {
    WriteStandardText(StandardStream::kOutput, "vardelle " VARDELLE_VERSION "\n");
    start.exitCode = 0;
    return start;
  }
  if (line.error.empty()) ApplyUserSettingsFile(line);
  if (!line.error.empty()) {
    WriteStandardText(StandardStream::kError,
                      "vardelle: " + line.error + "\n\n" + CommandLineHelp(HelpLanguageOf(line)));
    start.exitCode = 2;
    return start;
  }
  Endpoints endpoints = line.endpoints;
  if (line.demo && !UseDemoWorld(endpoints)) {
    WriteStandardText(StandardStream::kError,
                      "vardelle: the demo world found no free port on 127.0.0.1\n");
    start.exitCode = 1;
    return start;
  }
  Application& app = TheApplication();
  app.endpoints = endpoints;
  app.globalpingToken = line.globalpingToken;
  if (MakeUserConfigDirectory()) {
    app.cookieFile = UserCookiePath();
    app.settingsFile = UserSettingsPath();
  }
  // A proxy client whose fake addresses come from another range than the usual one.
  const std::optional<AddressRange> fakeAddresses =
      ParseAddressRange(ReadSettingsValue(app.settingsFile, "network", "fakeAddressRange")
                            .value_or(kProxyFakeAddressRange));
  if (fakeAddresses) app.fakeAddresses = *fakeAddresses;
  // Which address of a server's name is probed: IPv4 first, as the game client, unless set.
  const std::optional<AddressFamilies> families = ParseAddressFamilies(
      ReadSettingsValue(app.settingsFile, "network", "addressFamily").value_or(""));
  if (families) SetAddressFamilies(*families);
  // Numbers are read and written the C way, whatever the user's locale says.
  std::setlocale(LC_NUMERIC, "C");
  return start;
}

int RunHeadlessProgram(const CommandLine& line) {
  if (line.watch) return WatchHeadless(line);
  const ReportFormat format = line.format.value_or(ReportFormat::kText);
  return PrintHeadless(line.globalPingPlace
                           ? StartUpGlobalPingHeadless(*line.globalPingPlace, format)
                           : StartUpHeadless(format, line.schedule));
}

int FinishProgram(int code) {
  const auto stopWorld = [] {
    if (demoWorld) demoWorld->Stop();
  };
  if (!StopBackgroundWork(TheApplication(), stopWorld, std::chrono::seconds(1))) {
    EndProcessNow(code);
  }
  return code;
}

}  // namespace vardelle

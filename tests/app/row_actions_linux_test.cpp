// The window's events that start outside programs on Linux, through a launcher that only
// records: which argument vector each gesture starts with each set of terminals and
// browsers, and what the status line tells when nothing can be started.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/actions/row_actions.h"
#include "app/view/project_links.h"
#include "row_actions_fixture.h"
#include "tests/support/named_cases.h"

namespace vardelle {
namespace {

using named_cases::CaseName;
using named_cases::PrintTo;
using testing::Gesture;
using testing::kHost;
using testing::kResultsPage;
using testing::RowActionsTest;
using Argv = std::vector<std::string>;

struct StartCase {
  std::string name;
  Gesture gesture;
  std::set<std::string> programs;
  std::map<std::string, std::string> environment;
  Argv expected;
};

class StartTest : public RowActionsTest, public ::testing::WithParamInterface<StartCase> {};

TEST_P(StartTest, StartsOneDetachedProgramWithItsArgumentVector) {
  launcher->programs = GetParam().programs;
  launcher->environment = GetParam().environment;
  Fire(GetParam().gesture);
  EXPECT_EQ(launcher->started, std::vector<Argv>{GetParam().expected});
  EXPECT_EQ(launcher->waited, std::vector<bool>{false});
  EXPECT_TRUE(window.statusLines.empty());
}

INSTANTIATE_TEST_SUITE_P(
    RowActions, StartTest,
    ::testing::Values(
        StartCase{"DebianTerminalComesFirst",
                  Gesture::kActivateRow,
                  {"ping", "xterm", "gnome-terminal", "x-terminal-emulator"},
                  {},
                  {"x-terminal-emulator", "-e", "ping", kHost}},
        StartCase{"GnomeTerminalTakesTheCommandAfterDashes",
                  Gesture::kPingItem,
                  {"ping", "gnome-terminal", "konsole"},
                  {},
                  {"gnome-terminal", "--", "ping", kHost}},
        StartCase{"Konsole",
                  Gesture::kPingItem,
                  {"ping", "konsole", "xterm"},
                  {},
                  {"konsole", "-e", "ping", kHost}},
        StartCase{"XfceTerminalTakesTheRestAfterX",
                  Gesture::kPingItem,
                  {"ping", "xfce4-terminal", "xterm"},
                  {},
                  {"xfce4-terminal", "-x", "ping", kHost}},
        StartCase{
            "Xterm", Gesture::kActivateRow, {"ping", "xterm"}, {}, {"xterm", "-e", "ping", kHost}},
        StartCase{"RouteTraceWithTraceroute",
                  Gesture::kRouteTraceItem,
                  {"traceroute", "tracepath", "xterm"},
                  {},
                  {"xterm", "-e", "traceroute", kHost}},
        StartCase{"RouteTraceFallsBackToTracepath",
                  Gesture::kRouteTraceItem,
                  {"tracepath", "konsole"},
                  {},
                  {"konsole", "-e", "tracepath", kHost}},
        StartCase{"UpdatePageThroughTheDesktopOpener",
                  Gesture::kUpdateLabel,
                  {"xdg-open"},
                  {},
                  {"xdg-open", kProjectPage}},
        StartCase{"FirstInstalledBrowserOfTheList",
                  Gesture::kKeyListRow,
                  {"chromium", "xdg-open"},
                  {{"BROWSER", "firefox:chromium --new-window"}},
                  {"chromium", "--new-window", kResultsPage}},
        StartCase{"BrowserPlaceholderTakesTheAddress",
                  Gesture::kKeyListRow,
                  {"links", "xdg-open"},
                  {{"BROWSER", "links -g --url=%s"}},
                  {"links", "-g", "--url=" + kResultsPage}},
        StartCase{"BrowserListWithNothingInstalledGivesWayToTheOpener",
                  Gesture::kUpdateLabel,
                  {"xdg-open"},
                  {{"BROWSER", "::w3m: %s"}},
                  {"xdg-open", kProjectPage}}),
    CaseName<StartCase>);

struct FailureCase {
  std::string name;
  Gesture gesture;
  std::set<std::string> programs;
  std::map<std::string, std::string> environment;
  bool startSucceeds;
  std::string expectedStatus;
};

class FailureTest : public RowActionsTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(FailureTest, TheStatusLineNamesTheProgram) {
  launcher->programs = GetParam().programs;
  launcher->environment = GetParam().environment;
  launcher->startSucceeds = GetParam().startSucceeds;
  Fire(GetParam().gesture);
  EXPECT_EQ(launcher->started.size(), GetParam().startSucceeds ? 0u : 1u);
  EXPECT_EQ(window.statusLines, std::vector{GetParam().expectedStatus});
}

INSTANTIATE_TEST_SUITE_P(
    RowActions, FailureTest,
    ::testing::Values(
        FailureCase{"NoTerminal",
                    Gesture::kActivateRow,
                    {"ping", "traceroute"},
                    {},
                    true,
                    "未找到终端程序（x-terminal-emulator、gnome-terminal、konsole、"
                    "xfce4-terminal、xterm）"},
        FailureCase{
            "NoPing", Gesture::kPingItem, {"xterm"}, {}, true, "未找到网络测试程序（ping）"},
        FailureCase{"NoRouteTracer",
                    Gesture::kRouteTraceItem,
                    {"ping", "xterm"},
                    {},
                    true,
                    "未找到路由追踪程序（traceroute、tracepath）"},
        FailureCase{"NoBrowser",
                    Gesture::kUpdateLabel,
                    {"ping"},
                    {{"BROWSER", "firefox:lynx %s"}},
                    true,
                    "未找到浏览器（firefox、lynx、xdg-open）"},
        FailureCase{"TerminalWouldNotStart",
                    Gesture::kPingItem,
                    {"ping", "konsole"},
                    {},
                    false,
                    "无法启动终端程序（konsole）"}),
    CaseName<FailureCase>);

}  // namespace
}  // namespace vardelle

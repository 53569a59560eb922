// The window's events that start outside programs, through a launcher that only records:
// which argument vector each gesture starts on each kind of system, what is refused, and
// what the status line tells when nothing can be started.
#include "app/actions/row_actions.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/actions/argument_checks.h"
#include "app/start/application.h"
#include "app/table/server_table.h"
#include "app/window/main_window_logic.h"
#include "app/window/project_links.h"
#include "fake_window.h"
#include "tests/recording_launcher.h"
#include "tests/support/named_cases.h"

namespace vardelle {
namespace {

using named_cases::CaseName;
using named_cases::PrintTo;
using Argv = std::vector<std::string>;

enum class Gesture { kActivateRow, kPingItem, kRouteTraceItem, kUpdateLabel, kKeyListRow };

const std::string kHost = "hn1-new.lol.example.com";
const std::string kKey = "Fz3kQ9wX2bR7";
const std::string kResultsPage = "https://globalping.io/?measurement=" + kKey;

class RowActionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto recording = std::make_unique<testing::RecordingLauncher>();
    launcher = recording.get();
    application.launcher = std::move(recording);
    application.window = &window;
    window.InsertRow("a", RowIcon::kNotTested);
    window.InsertRow("b", RowIcon::kNotTested);
    window.SetCellText(1, kDomainColumn, kHost);
    window.selectedRow = 1;
    window.SetKeyListRows({"server"});
    window.SetKeyListRow(0, {.key = kKey});
    window.SelectKeyListRows({0});
  }

  void Fire(Gesture gesture) {
    switch (gesture) {
      case Gesture::kActivateRow:
        return logic.OnRowActivated();
      case Gesture::kPingItem:
        return logic.OnContinuousPingChosen();
      case Gesture::kRouteTraceItem:
        return logic.OnRouteTraceChosen();
      case Gesture::kUpdateLabel:
        return logic.OnUpdateLabelPressed();
      case Gesture::kKeyListRow:
        return logic.OnKeyListRowActivated();
    }
  }

  Application application;
  MainWindowLogic logic{application};
  testing::FakeWindow window;
  testing::RecordingLauncher* launcher = nullptr;
};

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

struct RefusalCase {
  std::string name;
  Gesture gesture;
  int selectedRow;
  std::string cell;  // the selected row's domain, or the key list's "KEY" cell
  std::string expectedStatus;
};

class RefusalTest : public RowActionsTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusalTest, StartsNothing) {
  launcher->programs = {"ping", "traceroute", "x-terminal-emulator", "xdg-open"};
  window.selectedRow = GetParam().selectedRow;
  window.SelectKeyListRows(GetParam().selectedRow < 0 ? std::vector<int>{} : std::vector{0});
  window.SetCellText(1, kDomainColumn, GetParam().cell);
  window.SetKeyListRow(0, {.key = GetParam().cell});
  Fire(GetParam().gesture);
  EXPECT_TRUE(launcher->started.empty());
  const std::vector<std::string> expected = GetParam().expectedStatus.empty()
                                                ? std::vector<std::string>{}
                                                : std::vector{GetParam().expectedStatus};
  EXPECT_EQ(window.statusLines, expected);
}

const std::string kBadHost = "该行的域名不是有效的主机名或 IPv4 地址，未启动";
const std::string kNoMeasurement = "该行还没有全球Ping测试结果，未打开浏览器";

// 29 labels of 9 letters and one of 10, dots between: 300 bytes of valid labels.
std::string LongHost() {
  std::string host;
  for (int label = 0; label < 29; ++label) host += "aaaaaaaaa.";
  return host + "aaaaaaaaaa";
}

INSTANTIATE_TEST_SUITE_P(
    RowActions, RefusalTest,
    ::testing::Values(
        RefusalCase{"PingWithNoRowSelected", Gesture::kPingItem, -1, kHost, ""},
        RefusalCase{"ActivationWithNoRowSelected", Gesture::kActivateRow, -1, kHost, ""},
        RefusalCase{"RouteTraceWithNoRowSelected", Gesture::kRouteTraceItem, -1, kHost, ""},
        RefusalCase{"KeyListWithNoRowSelected", Gesture::kKeyListRow, -1, kKey, ""},
        RefusalCase{"ShellCommand", Gesture::kPingItem, 1, ";rm -rf ~", kBadHost},
        RefusalCase{"OptionInjection", Gesture::kRouteTraceItem, 1, "-oProxyCommand=x", kBadHost},
        RefusalCase{"CommandSubstitution", Gesture::kActivateRow, 1, "$(id)", kBadHost},
        RefusalCase{"NameOver253Bytes", Gesture::kPingItem, 1, LongHost(), kBadHost},
        RefusalCase{"GbkBytes", Gesture::kRouteTraceItem, 1, "服务器.lol.qq.com", kBadHost},
        RefusalCase{"EmptyDomain", Gesture::kPingItem, 1, "", kBadHost},
        RefusalCase{"KeyNotYetGiven", Gesture::kKeyListRow, 0, "", kNoMeasurement},
        RefusalCase{"AddressInTheKeyCell", Gesture::kKeyListRow, 0, "file:///etc/passwd",
                    kNoMeasurement},
        RefusalCase{"ScriptInTheKeyCell", Gesture::kKeyListRow, 0, "javascript:alert(1)",
                    kNoMeasurement},
        RefusalCase{"KeyWithBlank", Gesture::kKeyListRow, 0, "abc --x", kNoMeasurement}),
    CaseName<RefusalCase>);

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

// The length limits, where an off-by-one would slip through.
TEST(ArgumentChecksTest, HostLengthLimits) {
  const std::string label63(63, 'a');
  const std::string host253 = label63 + "." + label63 + "." + label63 + "." + std::string(61, 'b');
  EXPECT_TRUE(IsPlausibleHost(host253));
  EXPECT_FALSE(IsPlausibleHost(host253 + "b"));
  EXPECT_TRUE(IsPlausibleHost(label63 + ".com"));
  EXPECT_FALSE(IsPlausibleHost(label63 + "a.com"));
  EXPECT_TRUE(IsPlausibleHost("127.0.0.1"));
  EXPECT_FALSE(IsPlausibleHost("example.com."));
  EXPECT_TRUE(IsWebAddress("HTTPS://user@example.com:8080/a?b#c"));
}

}  // namespace
}  // namespace vardelle

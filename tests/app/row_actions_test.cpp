// What the window's row gestures refuse to start, on any system: a host that is no host, a
// key that is no measurement, no row at all.
#include "app/actions/row_actions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/actions/argument_checks.h"
#include "row_actions_fixture.h"
#include "tests/support/named_cases.h"

namespace vardelle {
namespace {

using named_cases::CaseName;
using named_cases::PrintTo;
using testing::Gesture;
using testing::kHost;
using testing::kKey;
using testing::RowActionsTest;

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

// "设置…" in the Win32 window, driven as a player would: the first start's guide and dialog,
// typing a site, "测试" against the demo world and a refused port, OK filling the table at
// once; a base with a path refused at OK; Cancel changing nothing.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "app/application/application.h"
#include "app/settings/column_settings.h"
#include "app/sites/site_check.h"
#include "app/window/main_window_logic.h"
#include "demo_world/demo_world.h"
#include "runtime/threads/threads.h"
#include "testing/loopback_servers.h"
#include "tests/ui/win32/win32_test_support.h"
#include "ui/win32/main_window.h"
#include "ui/win32/main_window_view.h"
#include "ui/win32/settings_dialog.h"
#include "ui/win32/window_text.h"

namespace vardelle::win32 {
namespace {

using testing::Click;
using testing::DialogPlayer;
using testing::Type;

std::wstring TextOf(HWND control) { return WindowCaption(control); }

int SiteId(int first, Site site) { return first + static_cast<int>(site); }

// Types base into the site's field, presses its 测试 and waits for the line that ends the test.
std::wstring TestSite(HWND dialog, Site site, const std::wstring& base) {
  Type(dialog, SiteId(kSiteFieldId, site), base.c_str());
  Click(dialog, SiteId(kSiteTestId, site));
  HWND result = GetDlgItem(dialog, SiteId(kSiteResultId, site));
  const std::wstring underWay = ToWindowText(kSiteTestUnderWay);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while ((TextOf(result).empty() || TextOf(result) == underWay) &&
         std::chrono::steady_clock::now() < deadline) {
    Sleep(10);
  }
  return TextOf(result);
}

class SettingsWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vardelle::testing::KeepLoopbackTrafficDirect();
    ASSERT_TRUE(world.Start());
    app.settingsFile = settings.Path();
    app.startTestRun = [] {};
    app.window = &view;
    window.Show();
  }
  void TearDown() override {
    // The loadings started meanwhile write to the window: they end before it goes.
    EXPECT_TRUE(testing::ServeMessagesUntil(
        [] { return AwaitStartedThreads(std::chrono::steady_clock::now()); }));
  }
  HWND Guide(int id) const { return GetDlgItem(window.Tabs(), id); }
  std::wstring Title() const { return ToWindowText(kSettingsDialogTitle); }

  testing::TemporarySettings settings;
  demo::DemoWorld world;
  Application app;
  MainWindowLogic logic{app};
  MainWindow window{logic, settings.Path()};
  Win32MainWindowView view{window};
};

TEST_F(SettingsWindowTest, FirstStartGuidesAndTheDialogFillsTheTable) {
  DialogPlayer first(Title(), [this](HWND dialog) {
    // The loading finds no site meanwhile, and the table says what to do.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!IsWindowVisible(Guide(kTableGuideTextId)) &&
           std::chrono::steady_clock::now() < deadline) {
      Sleep(10);
    }
    Click(dialog, IDCANCEL);
  });
  logic.OnCreated(view);
  EXPECT_TRUE(first.Finish());
  const std::wstring guide = TextOf(Guide(kTableGuideTextId));
  for (const SiteInfo& info : SiteTable()) {
    EXPECT_NE(guide.find(ToWindowText(SiteCaption(info.site))), std::wstring::npos);
  }

  const std::wstring base = ToWindowText(world.BaseUrl());
  DialogPlayer player(Title(), [&base](HWND dialog) {
    EXPECT_EQ(TestSite(dialog, Site::kStatusSite, L"http://127.0.0.1:1"),
              ToWindowText("连接失败：被拒绝或无法到达"));
    const std::wstring read = TestSite(dialog, Site::kGameBox, base);
    EXPECT_TRUE(read.starts_with(L"HTTP 200")) << FromWindowText(read);
    EXPECT_TRUE(read.ends_with(L"30 个服务器")) << FromWindowText(read);
    Type(dialog, SiteId(kSiteFieldId, Site::kStatusSite), L"");
    Click(dialog, IDOK);
  });
  Click(window.Tabs(), kTableGuideButtonId);
  EXPECT_TRUE(player.Finish());
  HWND table = window.ServerTable().Handle();
  EXPECT_TRUE(testing::ServeMessagesUntil([table] { return ListView_GetItemCount(table) == 30; }));
  EXPECT_TRUE(
      testing::ServeMessagesUntil([this] { return !IsWindowVisible(Guide(kTableGuideTextId)); }));
  EXPECT_EQ(EndpointsNow(app).BaseUrl(Site::kGameBox), world.BaseUrl());
}

TEST_F(SettingsWindowTest, APathIsRefusedAtOkAndCancelChangesNothing) {
  app.endpoints.SetBaseUrl(Site::kGameBox, world.BaseUrl());
  app.globalpingToken = "kept";
  const std::wstring withPath = ToWindowText(world.BaseUrl() + "/lol/box/gameserver.json");
  DialogPlayer player(Title(), [&withPath](HWND dialog) {
    EXPECT_EQ(SendDlgItemMessageW(dialog, kTokenFieldId, EM_GETPASSWORDCHAR, 0, 0) != 0, true);
    Type(dialog, kTokenFieldId, L"other");
    Type(dialog, SiteId(kSiteFieldId, Site::kGameBox), withPath.c_str());
    Click(dialog, IDOK);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_TRUE(TextOf(GetDlgItem(dialog, kSettingsProblemId))
                    .starts_with(ToWindowText(SiteCaption(Site::kGameBox))));
    Click(dialog, IDCANCEL);
  });
  Click(window.Tabs(), kSettingsButtonId);
  EXPECT_TRUE(player.Finish());
  EXPECT_EQ(EndpointsNow(app).BaseUrl(Site::kGameBox), world.BaseUrl());
  EXPECT_EQ(app.globalpingToken, "kept");
  for (const char* key : {"gamebox", "globalpingToken"}) {
    EXPECT_FALSE(ReadSettingsValue(app.settingsFile, "sites", key).has_value()) << key;
  }
}

}  // namespace
}  // namespace vardelle::win32

// The settings dialog's logic as a window drives it: bases checked as typed, each site's
// "测试" against the demo world, a failing document and a refused port, OK saving what the
// start-up reads back and filling the table at once, and the empty table's guide before.
#include "app/settings_dialog/settings_dialog.h"

#include <gtest/gtest.h>

#include <map>

#include "app/application/application.h"
#include "app/loading/server_list_loading.h"
#include "app/settings/column_settings.h"
#include "app/sites/site_check.h"
#include "app/start/user_settings.h"
#include "app/table/server_table.h"
#include "demo_world/demo_world.h"
#include "fake_window.h"
#include "runtime/threads/threads.h"
#include "support/files/file_access.h"
#include "testing/await_condition.h"
#include "testing/loopback_servers.h"
#include "tests/support/temp_dir.h"

namespace vardelle {
namespace {

struct BaseCase {
  const char* typed;
  const char* trimmed;  // nullptr: no site base
};

const BaseCase kBaseCases[] = {
    {"", ""},
    {"  http://127.0.0.1:8080/ ", "http://127.0.0.1:8080"},
    {"HTTPS://lol.example.com", "https://lol.example.com"},
    {"http://[::1]:80", "http://[::1]:80"},
    {"127.0.0.1:8080", nullptr},
    {"ftp://127.0.0.1", nullptr},
    {"http://127.0.0.1/lol/box/gameserver.json", nullptr},
    {"http://127.0.0.1?ip=1", nullptr},
    {"http://", nullptr},
    {"http://a b", nullptr},
    {"http://user@host", nullptr},
    {"http://host:0", nullptr},
    {"http://host:65536", nullptr},
    {"http://host:8o", nullptr},
};

TEST(SiteBaseTest, BasesAreCheckedAsTyped) {
  for (const BaseCase& c : kBaseCases) {
    SCOPED_TRACE(c.typed);
    const std::string trimmed = TrimmedSiteBase(c.typed);
    if (c.trimmed) {
      EXPECT_EQ(trimmed, c.trimmed);
    }
    EXPECT_EQ(SiteBaseProblem(trimmed).empty(), c.trimmed != nullptr) << SiteBaseProblem(trimmed);
  }
}

// Seals by reversing behind a marker, so the file shows whether the token went through it.
class DialogReversingProtector final : public SecretProtector {
 public:
  std::optional<Text> Protect(const Text& secret) const override {
    return "sealed:" + std::string(secret.rbegin(), secret.rend());
  }
  std::optional<Text> Reveal(const Text& kept) const override {
    if (!kept.starts_with("sealed:")) return kept;
    return std::string(kept.rbegin(), kept.rend() - 7);
  }
  bool IsExposed(const Text& kept) const override { return !kept.starts_with("sealed:"); }
};

class SettingsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::KeepLoopbackTrafficDirect();
    ASSERT_TRUE(world.Start());
    app.window = &window;
    app.settingsFile = folder.File("settings.ini");
    app.startTestRun = [] {};
  }
  void TearDown() override {
    AwaitStartedThreads(std::chrono::steady_clock::now() + std::chrono::seconds(30));
    app.locationLookups.Wait();
    world.Stop();
  }

  // Every site tested from its base at once; the lines by site once all are in.
  std::map<Site, Text> TestAll(SettingsDialog& dialog, const std::map<Site, std::string>& bases) {
    std::map<Site, Text> lines;
    for (const auto& [site, base] : bases)
      EXPECT_EQ(dialog.StartTest(site, base), kSiteTestUnderWay);
    EXPECT_TRUE(testing::AwaitCondition(
        [&] {
          for (auto& [site, line] : dialog.TakeResults()) lines[site] = line;
          return lines.size() == bases.size();
        },
        std::chrono::seconds(60)));
    return lines;
  }

  demo::DemoWorld world;
  testing_files::TempDir folder;
  vardelle::testing::FakeWindow window;
  Application app;
  DialogReversingProtector protector;
};

TEST_F(SettingsDialogTest, EachSiteTestSaysWhatCameBack) {
  SettingsDialog dialog(app, window, protector);
  const std::string base = world.BaseUrl();
  const std::map<Site, Text> read = TestAll(dialog, {{Site::kGameBox, base},
                                                     {Site::kStatusSite, base},
                                                     {Site::kStatusService, base + "/"},
                                                     {Site::kSelectorSite, base},
                                                     {Site::kIpLocation, base}});
  const std::map<Site, std::string> expected = {{Site::kGameBox, "30 个服务器"},
                                                {Site::kStatusSite, "29 个大区、5 种状态"},
                                                {Site::kStatusService, "29 个大区状态"},
                                                {Site::kSelectorSite, "30 个大区记录"},
                                                {Site::kIpLocation, "定位正常"}};
  for (const auto& [site, reading] : expected) {
    SCOPED_TRACE(static_cast<int>(site));
    EXPECT_TRUE(read.at(site).starts_with("HTTP 200，")) << read.at(site);
    EXPECT_TRUE(read.at(site).ends_with(reading)) << read.at(site);
  }

  world.FailStatusDocument(demo::DemoWorld::StatusDocument::kScript, 0, 1);
  const std::map<Site, Text> failed =
      TestAll(dialog, {{Site::kGameBox, "http://127.0.0.1:1"}, {Site::kStatusSite, base}});
  EXPECT_EQ(failed.at(Site::kGameBox), "连接失败：被拒绝或无法到达");
  EXPECT_TRUE(failed.at(Site::kStatusSite).starts_with("HTTP 503，"))
      << failed.at(Site::kStatusSite);
  EXPECT_TRUE(failed.at(Site::kStatusSite).ends_with("不是大区状态脚本"));

  EXPECT_EQ(dialog.StartTest(Site::kGameBox, "http://127.0.0.1/x"),
            SiteBaseProblem("http://127.0.0.1/x"));
  EXPECT_EQ(dialog.StartTest(Site::kGameBox, " "), "未填写站点");
}

// The first start: no site, so the table guides; OK with the demo world's sites fills the
// table without a restart, and the file holds what the next start reads.
TEST_F(SettingsDialogTest, OkSavesWhatTheNextStartReadsAndFillsTheTable) {
  LoadServerList(app);
  for (const SiteInfo& info : SiteTable()) {
    EXPECT_NE(window.TableGuide().find(SiteCaption(info.site)), std::string::npos)
        << window.TableGuide();
  }
  SettingsDialog dialog(app, window, protector);
  SettingsValues values = dialog.Initial();
  EXPECT_EQ(values, SettingsValues{});
  values.baseUrls.fill(" " + world.BaseUrl() + "/");
  values.baseUrls[static_cast<std::size_t>(Site::kIpLocation)] = "http://127.0.0.1/service";
  values.globalpingToken = "tok-123";
  values.periodIndex = 2;

  const Text problem = dialog.Accept(values);
  EXPECT_NE(problem.find(SiteCaption(Site::kIpLocation)), std::string::npos) << problem;
  EXPECT_FALSE(ReadWholeFile(app.settingsFile).has_value());
  values.baseUrls[static_cast<std::size_t>(Site::kIpLocation)] = "";
  EXPECT_EQ(dialog.Accept(values), "");

  EXPECT_EQ(EndpointsNow(app).BaseUrl(Site::kGameBox), world.BaseUrl());
  EXPECT_EQ(app.globalpingToken, "tok-123");
  EXPECT_EQ(window.periodSelection, 2);
  EXPECT_EQ(window.timerPeriods.back(), 10000);
  EXPECT_TRUE(testing::AwaitCondition([&] { return window.Rows().size() == 30; },
                                      std::chrono::seconds(60)));
  EXPECT_TRUE(testing::AwaitCondition([&] { return window.TableGuide().empty(); },
                                      std::chrono::seconds(10)));
  SettingsWriter().Flush();
  const SiteSettings saved = ReadSiteSettings(*ReadWholeFile(app.settingsFile), folder.File(""));
  for (const SiteInfo& info : SiteTable()) {
    EXPECT_EQ(saved.baseUrls[static_cast<std::size_t>(info.site)],
              info.site == Site::kIpLocation ? "" : world.BaseUrl());
  }
  EXPECT_EQ(saved.globalpingToken, "sealed:321-kot");
  EXPECT_EQ(SavedPeriodIndex(app.settingsFile), 2);
}

}  // namespace
}  // namespace vardelle

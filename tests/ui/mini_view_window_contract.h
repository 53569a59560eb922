// The mini view (小窗) in a real main window, checked the same way on both windows: 小窗
// from the row menu shows it over everything without taking the focus, with the row's name;
// a run's result brings the row's latency and colour; 点击穿透 from its own menu lets clicks
// through and the tray menu's takes that back; a drag's place is kept in the settings file
// and read back with the servers by a new window. A listed server's row menu offers 移出小窗
// in place of 小窗, as the mini view's own menu does over its line; the last one out closes
// it and leaves no server in the settings file.
// Each window's test file instantiates the suite with a type that builds its window for the
// events and settings file given, shown, with its view, and looks at it:
//   Edition(MainWindowEvents& events, const std::string& settingsPath);
//   MainWindowView& View();
//   bool ServeUntil(const std::function<bool()>& done);  // the window's messages, a minute at most
//   void Release();                       // lets a stuck worker go: the view answers no more
//   // A right click on the row, or on the mini view's line, choosing the item captioned (GBK)
//   // as the player does; false when the menu offers no such item.
//   bool ChooseFromRowMenu(int row, const char* caption);
//   bool ChooseFromMiniMenu(int line, const char* caption);
//   bool ChooseFromTrayMenu(const char* caption);
//   std::vector<std::string> TrayMenuItems();  // captions in order, GBK, no separators
//   RowColour RowColourAt(int row);       // the colours the table row is drawn in
//   std::vector<MiniViewRow> MiniRows();  // what the mini view draws, texts in GBK
//   bool MiniShown();
//   bool MiniOnTopWithoutFocus();         // the window kinds that keep it so
//   bool MiniClickThrough();
//   const void* Foreground();             // the window that has the focus
//   void DragMiniTo(ScreenPoint place);   // as the player drags it
//   ScreenPoint MiniPlace();
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/alerts/alert_watching.h"
#include "app/application/application.h"
#include "app/loading/server_list_loading.h"
#include "app/location/location_lookups.h"
#include "app/settings/column_settings.h"
#include "app/table/server_table.h"
#include "app/test_run/run_engine.h"
#include "app/window/main_window_logic.h"
#include "demo_world/demo_world.h"
#include "tests/support/temp_dir.h"

namespace vardelle::testing {

template <typename Edition>
class MiniViewWindowTest : public ::testing::Test {
 protected:
  // A window over the demo world's server list, its rows loaded and located.
  void SetUp() override {
    ASSERT_TRUE(world.Start());
    app.lists = std::make_shared<ProcessLists>();
    for (const SiteInfo& site : SiteTable()) app.endpoints.SetBaseUrl(site.site, world.BaseUrl());
    app.settingsFile = dir.File("settings.ini");
    app.startTestRun = [] {};  // the test makes its own run
    edition = std::make_unique<Edition>(logic, app.settingsFile);
    app.window = &edition->View();
    ServerListServices services;
    services.probeUnavailableReason = [] { return std::string(); };
    Serve([&] {
      LoadServerList(app, services);
      app.locationLookups.Wait();
    });
  }
  void TearDown() override {
    if (edition) edition->Release();
  }

  // Runs work on a thread of its own while the window serves its messages.
  template <typename Work>
  void Serve(Work work) {
    std::atomic<bool> done = false;
    std::thread worker([&] {
      work();
      done = true;
    });
    if (!edition->ServeUntil([&] { return done.load(); })) edition->Release();
    worker.join();
    ASSERT_TRUE(done);
  }

  demo::DemoWorld world;
  testing_files::TempDir dir;
  Application app;
  MainWindowLogic logic{app};
  std::unique_ptr<Edition> edition;
};

TYPED_TEST_SUITE_P(MiniViewWindowTest);

// 电信15区 in the table sorted by name: region 影流, 维护 in the demo world.
constexpr int kMiniViewRow = 15;

TYPED_TEST_P(MiniViewWindowTest, AChosenRowShowsOverTheGameWithItsLatencyAndStaysWherePut) {
  TypeParam& window = *this->edition;
  MainWindowView& view = window.View();
  ASSERT_EQ(view.CellText(kMiniViewRow, kNameColumn).rfind("电信15区", 0), 0u);

  const void* const focused = window.Foreground();
  EXPECT_TRUE(window.ChooseFromRowMenu(kMiniViewRow, kMiniViewMenuText));
  EXPECT_TRUE(window.MiniShown());
  EXPECT_TRUE(window.MiniOnTopWithoutFocus());
  EXPECT_EQ(window.Foreground(), focused);
  ASSERT_EQ(window.MiniRows().size(), 1u);
  EXPECT_EQ(window.MiniRows()[0].name, "电信15区");

  TestRunServices answering;
  answering.sendPing = [](const std::string&, std::function<void(int)> done) { done(12); };
  answering.probeUnavailableReason = [] { return std::string(); };
  TestRunEngine engine{this->app.SharedWithTestRuns(), answering};
  this->Serve([&] {
    engine.StartRun()->Wait();
    engine.Settle();
  });
  const RowColour colour = window.RowColourAt(kMiniViewRow);
  EXPECT_NE(colour.textColour, kDefaultColour);
  const MiniViewRow expected{"电信15区", view.CellText(kMiniViewRow, kLatencyColumn),
                             colour.textColour, colour.backColour};
  EXPECT_NE(expected.latency.find("12"), std::string::npos);
  EXPECT_EQ(window.MiniRows(), std::vector{expected});
  EXPECT_EQ(window.Foreground(), focused);

  EXPECT_TRUE(window.ChooseFromMiniMenu(0, kClickThroughMenuText));
  EXPECT_TRUE(window.MiniClickThrough());
  EXPECT_TRUE(window.MiniShown());
  // 退出 last, where desktops put it.
  EXPECT_EQ(window.TrayMenuItems(),
            (std::vector<std::string>{ShowWindowMenuText(), kMiniViewMenuText,
                                      kClickThroughMenuText, QuitMenuText()}));
  EXPECT_TRUE(window.ChooseFromTrayMenu(kClickThroughMenuText));
  EXPECT_FALSE(window.MiniClickThrough());

  window.DragMiniTo({300, 200});
  EXPECT_EQ(window.MiniPlace(), (ScreenPoint{300, 200}));
  engine.Stop();

  MiniViewRows restarted;
  TypeParam again(this->logic, this->app.settingsFile);
  restarted.Load(this->app.settingsFile, again.View());
  EXPECT_TRUE(again.MiniShown());
  EXPECT_EQ(again.MiniPlace(), (ScreenPoint{300, 200}));
  ASSERT_EQ(again.MiniRows().size(), 1u);
  EXPECT_EQ(again.MiniRows()[0].name, "电信15区");
}

TYPED_TEST_P(MiniViewWindowTest, ServersLeaveFromEitherMenuAndTheLastClosesIt) {
  TypeParam& window = *this->edition;
  const std::string& settings = this->app.settingsFile;
  constexpr int kOtherRow = kMiniViewRow + 1;
  ASSERT_TRUE(window.ChooseFromRowMenu(kMiniViewRow, kMiniViewMenuText));
  ASSERT_TRUE(window.ChooseFromRowMenu(kOtherRow, kMiniViewMenuText));
  ASSERT_EQ(window.MiniRows().size(), 2u);
  const std::string other = window.MiniRows()[1].name;
  EXPECT_FALSE(window.ChooseFromRowMenu(kMiniViewRow, kMiniViewMenuText)) << "listed already";
  EXPECT_FALSE(window.ChooseFromMiniMenu(2, kRemoveFromMiniViewMenuText)) << "below the lines";

  EXPECT_TRUE(window.ChooseFromRowMenu(kMiniViewRow, kRemoveFromMiniViewMenuText));
  ASSERT_EQ(window.MiniRows().size(), 1u);
  EXPECT_EQ(window.MiniRows()[0].name, other);
  EXPECT_TRUE(window.MiniShown());
  EXPECT_EQ(ReadSettingsValue(settings, "miniView", "server1"), other);
  EXPECT_EQ(ReadSettingsValue(settings, "miniView", "server2"), std::nullopt);

  EXPECT_TRUE(window.ChooseFromMiniMenu(0, kRemoveFromMiniViewMenuText));
  EXPECT_TRUE(window.MiniRows().empty());
  EXPECT_FALSE(window.MiniShown());
  EXPECT_EQ(ReadSettingsValue(settings, "miniView", "server1"), std::nullopt);
  EXPECT_EQ(ReadSettingsValue(settings, "miniView", "count"), "0");
  EXPECT_FALSE(window.ChooseFromRowMenu(kOtherRow, kRemoveFromMiniViewMenuText)) << "gone";
}

REGISTER_TYPED_TEST_SUITE_P(MiniViewWindowTest,
                            AChosenRowShowsOverTheGameWithItsLatencyAndStaysWherePut,
                            ServersLeaveFromEitherMenuAndTheLastClosesIt);

}  // namespace vardelle::testing

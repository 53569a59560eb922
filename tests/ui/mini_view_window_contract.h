// The mini view (小窗) in a real main window, checked the same way on both windows: 小窗
// from the row menu shows it over everything without taking the focus, with the row's name;
// a run's result brings the row's latency and colour; 点击穿透 from its own menu lets clicks
// through and the tray menu's takes that back; a drag's place is kept in the settings file
// and read back with the servers by a new window.
// Each window's test file instantiates the suite with a type that builds its window for the
// events and settings file given, shown, with its view, and looks at it:
//   Edition(MainWindowEvents& events, const std::string& settingsPath);
//   MainWindowView& View();
//   bool ServeUntil(const std::function<bool()>& done);  // the window's messages, a minute at most
//   void Release();                       // lets a stuck worker go: the view answers no more
//   void ChooseMiniViewFor(int row);      // selects the row and chooses 小窗 in its menu
//   RowColour RowColourAt(int row);       // the colours the table row is drawn in
//   std::vector<MiniViewRow> MiniRows();  // what the mini view draws, texts in GBK
//   bool MiniShown();
//   bool MiniOnTopWithoutFocus();         // the window kinds that keep it so
//   bool MiniClickThrough();
//   const void* Foreground();             // the window that has the focus
//   void ChooseClickThroughInMiniMenu();
//   void ChooseClickThroughInTrayMenu();
//   void DragMiniTo(ScreenPoint place);   // as the player drags it
//   ScreenPoint MiniPlace();
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/application/application.h"
#include "app/loading/server_list_loading.h"
#include "app/location/location_lookups.h"
#include "app/table/server_table.h"
#include "app/test_run/run_engine.h"
#include "app/window/main_window_logic.h"
#include "demo_world/demo_world.h"
#include "tests/support/temp_dir.h"

namespace vardelle::testing {

template <typename Edition>
class MiniViewWindowTest : public ::testing::Test {
 protected:
  // Runs work on a thread of its own while the window serves its messages.
  template <typename Work>
  static void Serve(Edition& window, Work work) {
    std::atomic<bool> done = false;
    std::thread worker([&] {
      work();
      done = true;
    });
    if (!window.ServeUntil([&] { return done.load(); })) window.Release();
    worker.join();
    ASSERT_TRUE(done);
  }
};

TYPED_TEST_SUITE_P(MiniViewWindowTest);

// 电信15区 in the table sorted by name: region 影流, 维护 in the demo world.
constexpr int kMiniViewRow = 15;

TYPED_TEST_P(MiniViewWindowTest, AChosenRowShowsOverTheGameWithItsLatencyAndStaysWherePut) {
  demo::DemoWorld world;
  ASSERT_TRUE(world.Start());
  testing_files::TempDir dir;
  Application app;
  app.lists = std::make_shared<ProcessLists>();
  for (const SiteInfo& site : SiteTable()) app.endpoints.SetBaseUrl(site.site, world.BaseUrl());
  app.settingsFile = dir.File("settings.ini");
  app.startTestRun = [] {};  // the test makes its own run
  MainWindowLogic logic{app};
  TypeParam window(logic, app.settingsFile);
  MainWindowView& view = window.View();
  app.window = &view;
  ServerListServices services;
  services.probeUnavailableReason = [] { return std::string(); };
  this->Serve(window, [&] {
    LoadServerList(app, services);
    app.locationLookups.Wait();
  });
  ASSERT_EQ(view.CellText(kMiniViewRow, kNameColumn).rfind("电信15区", 0), 0u);

  const void* const focused = window.Foreground();
  window.ChooseMiniViewFor(kMiniViewRow);
  EXPECT_TRUE(window.MiniShown());
  EXPECT_TRUE(window.MiniOnTopWithoutFocus());
  EXPECT_EQ(window.Foreground(), focused);
  ASSERT_EQ(window.MiniRows().size(), 1u);
  EXPECT_EQ(window.MiniRows()[0].name, "电信15区");

  TestRunServices answering;
  answering.sendPing = [](const std::string&, std::function<void(int)> done) { done(12); };
  answering.probeUnavailableReason = [] { return std::string(); };
  TestRunEngine engine{app.SharedWithTestRuns(), answering};
  this->Serve(window, [&] {
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

  window.ChooseClickThroughInMiniMenu();
  EXPECT_TRUE(window.MiniClickThrough());
  EXPECT_TRUE(window.MiniShown());
  window.ChooseClickThroughInTrayMenu();
  EXPECT_FALSE(window.MiniClickThrough());

  window.DragMiniTo({300, 200});
  EXPECT_EQ(window.MiniPlace(), (ScreenPoint{300, 200}));
  engine.Stop();

  MiniViewRows restarted;
  TypeParam again(logic, app.settingsFile);
  restarted.Load(app.settingsFile, again.View());
  EXPECT_TRUE(again.MiniShown());
  EXPECT_EQ(again.MiniPlace(), (ScreenPoint{300, 200}));
  ASSERT_EQ(again.MiniRows().size(), 1u);
  EXPECT_EQ(again.MiniRows()[0].name, "电信15区");
  window.Release();
}

REGISTER_TYPED_TEST_SUITE_P(MiniViewWindowTest,
                            AChosenRowShowsOverTheGameWithItsLatencyAndStaysWherePut);

}  // namespace vardelle::testing

// The demo world's server list loaded into a real main window from the loading thread, as at
// program start, checked the same way on both windows: every server in name order with its
// texts read back through the window, its state icon and the up arrow on the name column;
// a click on a header sorts by that column with the arrow moved there.
// Each window's test file instantiates the suite with a type that builds its window for the
// events given, shown, with its view, and looks at it:
//   explicit Edition(MainWindowEvents& events);
//   MainWindowView& View();
//   bool ServeUntil(const std::function<bool()>& done);  // the window's messages, a minute at most
//   void Release();                      // lets a stuck loader go: the view answers no more
//   RowIcon IconAt(int row);
//   HeaderArrow ArrowAt(int column);
//   void ClickHeader(int column);        // as the player clicks it
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <iterator>
#include <memory>
#include <string>
#include <thread>

#include "app/application/application.h"
#include "app/loading/server_list_loading.h"
#include "app/location/location_lookups.h"
#include "app/table/server_table.h"
#include "app/table/table_sort.h"
#include "app/window/main_window_logic.h"
#include "demo_world/demo_world.h"
#include "tests/demo_world_servers.h"

namespace vardelle::testing {

template <typename Edition>
class DemoWorldWindowTest : public ::testing::Test {};

TYPED_TEST_SUITE_P(DemoWorldWindowTest);

TYPED_TEST_P(DemoWorldWindowTest, EveryServerInNameOrderThenSortedByAHeaderClick) {
  demo::DemoWorld world;
  ASSERT_TRUE(world.Start());
  Application app;
  app.lists = std::make_shared<ProcessLists>();
  app.endpoints.SetBaseUrl(Site::kGameBox, world.BaseUrl());
  app.endpoints.SetBaseUrl(Site::kIpLocation, world.BaseUrl());
  std::atomic<int> testRunsAsked = 0;
  app.startTestRun = [&] { ++testRunsAsked; };
  MainWindowLogic logic{app};
  TypeParam window(logic);
  MainWindowView& view = window.View();
  app.window = &view;

  ServerListServices services;
  services.probeUnavailableReason = [] { return std::string(); };
  std::atomic<bool> loaded = false;
  std::thread loading([&] {
    LoadServerList(app, services);
    // Waited for here: the lookups write through the window's thread, which must go on
    // serving them.
    app.locationLookups.Wait();
    loaded = true;
  });
  if (!window.ServeUntil([&] { return loaded.load(); })) window.Release();
  loading.join();
  ASSERT_TRUE(loaded);

  ASSERT_EQ(view.RowCount(), static_cast<int>(std::size(kDemoServersByName)));
  for (int row = 0; row < view.RowCount(); ++row) {
    const DemoServerRow& expected = kDemoServersByName[row];
    SCOPED_TRACE(row);
    EXPECT_EQ(view.CellText(row, kNameColumn), expected.name);
    EXPECT_EQ(view.CellText(row, kRegionColumn), expected.region);
    EXPECT_EQ(view.CellText(row, kDomainColumn), expected.domain);
    EXPECT_EQ(view.CellText(row, kAddressColumn), "");
    EXPECT_EQ(view.CellText(row, kLocationColumn), DemoLocationOf(expected.address));
    EXPECT_EQ(window.IconAt(row), RowIcon::kNotTested);
  }
  EXPECT_EQ(window.ArrowAt(kNameColumn), HeaderArrow::kUp);
  for (int column = 1; column <= kTrendColumn; ++column) {
    EXPECT_EQ(window.ArrowAt(column), HeaderArrow::kNone) << column;
  }
  EXPECT_EQ(testRunsAsked, 1);

  // The direction flips with every sort: loading's was ascending.
  window.ClickHeader(kRegionColumn);
  EXPECT_EQ(window.ArrowAt(kRegionColumn), HeaderArrow::kDown);
  EXPECT_EQ(window.ArrowAt(kNameColumn), HeaderArrow::kNone);
  for (int row = 1; row < view.RowCount(); ++row) {
    EXPECT_LE(CompareSortKeys(view.CellText(row - 1, kRegionColumn),
                              view.CellText(row, kRegionColumn), SortMode::kText, false),
              0)
        << row;
  }
  app.window = nullptr;
}

REGISTER_TYPED_TEST_SUITE_P(DemoWorldWindowTest, EveryServerInNameOrderThenSortedByAHeaderClick);

}  // namespace vardelle::testing

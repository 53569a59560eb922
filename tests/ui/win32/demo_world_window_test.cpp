// The demo world's server list loaded into the Win32 window from the loading thread, as at
// program start, read back through the list view's own messages: every server in name order
// with its texts, icon and the up arrow on the name column; a click on a header sorts by
// that column with the arrow moved there; rows are painted in the colours the application
// keeps for them.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <thread>

#include "app/application/application.h"
#include "app/loading/server_list_loading.h"
#include "app/location/location_lookups.h"
#include "app/table/server_table.h"
#include "app/table/table_sort.h"
#include "app/window/main_window_logic.h"
#include "demo_world/demo_world.h"
#include "tests/demo_world_servers.h"
#include "tests/ui/win32/win32_test_support.h"
#include "ui/win32/main_window.h"
#include "ui/win32/main_window_view.h"
#include "ui/win32/window_text.h"

namespace vardelle::win32 {
namespace {

using vardelle::testing::kDemoServersByName;

void ClickHeader(HWND list, int column) {
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  RECT place{};
  SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(column),
               reinterpret_cast<LPARAM>(&place));
  const LPARAM at = MAKELPARAM((place.left + place.right) / 2, (place.top + place.bottom) / 2);
  SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(header, WM_LBUTTONUP, 0, at);
}

class DemoWorldWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(world.Start());
    app.lists = std::make_shared<ProcessLists>();
    window = std::make_unique<MainWindow>(logic, settings.Path());
    view = std::make_unique<Win32MainWindowView>(*window);
    app.window = view.get();
    app.endpoints.SetBaseUrl(Site::kGameBox, world.BaseUrl());
    app.endpoints.SetBaseUrl(Site::kIpLocation, world.BaseUrl());
    app.startTestRun = [this] { ++testRunsAsked; };
    window->Show();
  }
  void TearDown() override { app.window = nullptr; }

  // Loads on a thread of its own while this one serves the window, as the program does.
  bool LoadServerListServed() {
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
    if (!testing::ServeMessagesUntil([&] { return loaded.load(); }))
      window->Destroy();  // lets it go
    loading.join();
    return loaded;
  }

  demo::DemoWorld world;
  testing::TemporarySettings settings;
  Application app;
  MainWindowLogic logic{app};
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<Win32MainWindowView> view;
  std::atomic<int> testRunsAsked = 0;
};

TEST_F(DemoWorldWindowTest, EveryServerInNameOrderThenSortedByAHeaderClick) {
  ASSERT_TRUE(LoadServerListServed());
  HWND list = window->ServerTable().Handle();
  ASSERT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), std::ssize(kDemoServersByName));
  for (int row = 0; row < std::ssize(kDemoServersByName); ++row) {
    const vardelle::testing::DemoServerRow& expected = kDemoServersByName[row];
    SCOPED_TRACE(row);
    EXPECT_EQ(testing::ListCell(list, row, kNameColumn), ToWindowText(expected.name));
    EXPECT_EQ(testing::ListCell(list, row, kRegionColumn), ToWindowText(expected.region));
    EXPECT_EQ(testing::ListCell(list, row, kDomainColumn), ToWindowText(expected.domain));
    EXPECT_EQ(testing::ListCell(list, row, kAddressColumn), L"");
    EXPECT_EQ(testing::ListCell(list, row, kLocationColumn),
              ToWindowText(vardelle::testing::DemoLocationOf(expected.address)));
    EXPECT_EQ(testing::ListIcon(list, row), static_cast<int>(RowIcon::kNotTested));
  }
  EXPECT_EQ(testing::HeaderSortFormat(list, kNameColumn), HDF_SORTUP);
  for (int column = 1; column <= kTrendColumn; ++column) {
    EXPECT_EQ(testing::HeaderSortFormat(list, column), 0) << column;
  }
  EXPECT_EQ(testRunsAsked, 1);

  // The direction flips with every sort: loading's was ascending.
  ClickHeader(list, kRegionColumn);
  EXPECT_EQ(testing::HeaderSortFormat(list, kRegionColumn), HDF_SORTDOWN);
  EXPECT_EQ(testing::HeaderSortFormat(list, kNameColumn), 0);
  for (int row = 1; row < std::ssize(kDemoServersByName); ++row) {
    const std::string above = FromWindowText(testing::ListCell(list, row - 1, kRegionColumn));
    const std::string below = FromWindowText(testing::ListCell(list, row, kRegionColumn));
    EXPECT_LE(CompareSortKeys(above, below, SortMode::kText, false), 0) << row;
  }
}

TEST_F(DemoWorldWindowTest, RowsArePaintedInTheirColoursAndTheFocusedSelectionInTheSystems) {
  ASSERT_TRUE(LoadServerListServed());
  HWND list = window->ServerTable().Handle();
  constexpr Colour kPink = 0x00C0C0FF;
  constexpr Colour kGreen = 0x0080FF80;
  view->ApplyRowChanges({{.row = view->RowIdAt(2), .colour = RowColour{0x000000FF, kPink}},
                         {.row = view->RowIdAt(3), .colour = RowColour{kDefaultColour, kGreen}},
                         {.row = view->RowIdAt(5), .colour = RowColour{0x000000FF, kPink}}});
  // Row 5 is selected and has the focus: the system's highlight, not its own colours.
  LVITEMW state{};
  state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, 5, reinterpret_cast<LPARAM>(&state));
  SetFocus(list);
  ASSERT_EQ(GetFocus(), list);

  const testing::PaintedList painted(list);
  // Right of the domain cell's text lies the row's background, however wide the column came
  // out (its middle fell on the text now and then on a loaded machine).
  const auto background = [&](int row) {
    const POINT at = testing::CellRightMargin(list, row, kDomainColumn);
    return painted.At(at.x, at.y);
  };
  EXPECT_EQ(background(2), kPink);
  EXPECT_EQ(background(3), kGreen);
  EXPECT_EQ(background(4), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(background(5), GetSysColor(COLOR_HIGHLIGHT));

  // The state icon sits in the middle of its row, however tall the font makes the row. The
  // list leaves a line of the bitmap unpainted (black) under the first cell.
  RECT row{LVIR_BOUNDS, 0, 0, 0};
  RECT icon{LVIR_ICON, 0, 0, 0};
  SendMessageW(list, LVM_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&row));
  SendMessageW(list, LVM_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&icon));
  int top = -1;
  int bottom = -1;
  for (int y = row.top; y < row.bottom; ++y) {
    for (int x = icon.left; x < icon.right; ++x) {
      const COLORREF colour = painted.At(x, y);
      if (colour == GetSysColor(COLOR_WINDOW) || colour == 0) continue;
      if (top < 0) top = y;
      bottom = y;
    }
  }
  ASSERT_GE(top, 0) << "no icon painted";
  EXPECT_LE(std::abs((top + bottom + 1) - (row.top + row.bottom)), 2)
      << "icon rows " << top << "-" << bottom << " in row " << row.top << "-" << row.bottom;
}

}  // namespace
}  // namespace vardelle::win32

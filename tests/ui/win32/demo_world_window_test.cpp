// The demo world's loading contract over the Win32 main window, its table read through the
// list view's own messages; and the loaded rows painted in the colours their changes carry,
// with the state icons in the middle of their rows.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "app/table/server_table.h"
#include "tests/recording_events.h"
#include "tests/ui/demo_world_window_contract.h"
#include "tests/ui/win32/win32_test_support.h"
#include "ui/win32/main_window.h"
#include "ui/win32/main_window_view.h"
#include "ui/win32/window_text.h"

namespace vardelle::win32 {
namespace {

class Win32DemoWindow {
 public:
  explicit Win32DemoWindow(MainWindowEvents& events)
      : window_(events, settings_.Path()), view_(window_) {
    window_.Show();
  }

  MainWindowView& View() { return view_; }
  MainWindow& Window() { return window_; }
  bool ServeUntil(const std::function<bool()>& done) { return testing::ServeMessagesUntil(done); }
  void Release() { window_.Destroy(); }
  RowIcon IconAt(int row) {
    return static_cast<RowIcon>(testing::ListIcon(window_.ServerTable().Handle(), row));
  }
  HeaderArrow ArrowAt(int column) {
    switch (testing::HeaderSortFormat(window_.ServerTable().Handle(), column)) {
      case HDF_SORTUP:
        return HeaderArrow::kUp;
      case HDF_SORTDOWN:
        return HeaderArrow::kDown;
      default:
        return HeaderArrow::kNone;
    }
  }
  void ClickHeader(int column) {
    HWND header =
        reinterpret_cast<HWND>(SendMessageW(window_.ServerTable().Handle(), LVM_GETHEADER, 0, 0));
    RECT place{};
    SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(column),
                 reinterpret_cast<LPARAM>(&place));
    const LPARAM at = MAKELPARAM((place.left + place.right) / 2, (place.top + place.bottom) / 2);
    SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(header, WM_LBUTTONUP, 0, at);
  }

 private:
  testing::TemporarySettings settings_;
  MainWindow window_;
  Win32MainWindowView view_;
};

TEST(RowPaintTest, RowsArePaintedInTheirColoursAndTheFocusedSelectionInTheSystems) {
  vardelle::testing::RecordingEvents events;
  Win32DemoWindow shown(events);
  MainWindowView* view = &shown.View();
  view->DeleteAllRows();
  for (int row = 0; row < 6; ++row) {
    view->SetCellText(view->InsertRow("server", RowIcon::kNotTested), kDomainColumn, "127.0.0.1");
  }
  HWND list = shown.Window().ServerTable().Handle();
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

namespace vardelle::testing {
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, DemoWorldWindowTest, win32::Win32DemoWindow);
}  // namespace vardelle::testing

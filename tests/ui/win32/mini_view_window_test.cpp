// The mini view's contract over the Win32 main window, read through the windows' own
// messages and styles.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tests/ui/mini_view_window_contract.h"
#include "tests/ui/win32/win32_test_support.h"
#include "ui/win32/main_window.h"
#include "ui/win32/main_window_view.h"
#include "ui/win32/window_text.h"

namespace vardelle::win32 {
namespace {

class Win32MiniViewWindow {
 public:
  Win32MiniViewWindow(MainWindowEvents& events, const std::string& settingsPath)
      : window_(events, settingsPath), view_(window_) {
    window_.Show();
  }

  MainWindowView& View() { return view_; }
  bool ServeUntil(const std::function<bool()>& done) { return testing::ServeMessagesUntil(done); }
  void Release() { window_.Destroy(); }
  bool ChooseFromRowMenu(int row, const char* caption) {
    return testing::ChooseFromRowMenu(window_.ServerTable().Handle(), row, ToWindowText(caption));
  }
  // The menu key's WM_CONTEXTMENU comes with the mouse's place on the screen.
  bool ChooseFromMiniMenu(int line, const char* caption) {
    const RECT place = window_.Mini().LinePlace(static_cast<size_t>(line));
    POINT at{place.left + 5, (place.top + place.bottom) / 2};
    ClientToScreen(Mini(), &at);
    const auto rightClick = [&] {
      SendMessageW(Mini(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Mini()),
                   MAKELPARAM(at.x, at.y));
    };
    return testing::ChooseFromMenu(ToWindowText(caption), rightClick).chosen;
  }
  bool ChooseFromTrayMenu(const char* caption) {
    return OpenTrayMenu(ToWindowText(caption)).chosen;
  }
  std::vector<std::string> TrayMenuItems() {
    std::vector<std::string> items;
    for (const std::wstring& caption : OpenTrayMenu(L"").captions) {
      items.push_back(FromWindowText(caption));
    }
    return items;
  }
  RowColour RowColourAt(int row) { return window_.ServerTable().OwnColour(row); }
  std::vector<MiniViewRow> MiniRows() {
    std::vector<MiniViewRow> rows;
    for (const auto& row : window_.Mini().Drawn().rows) {
      rows.push_back(
          {FromWindowText(row.name), FromWindowText(row.latency), row.textColour, row.backColour});
    }
    return rows;
  }
  bool MiniShown() { return IsWindowVisible(Mini()) != FALSE; }
  bool MiniOnTopWithoutFocus() {
    constexpr LONG_PTR kStyles =
        WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_LAYERED;
    return (GetWindowLongPtrW(Mini(), GWL_EXSTYLE) & kStyles) == kStyles;
  }
  bool MiniClickThrough() {
    return (GetWindowLongPtrW(Mini(), GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0;
  }
  const void* Foreground() { return GetForegroundWindow(); }
  // The system's drag moves the window and ends its move loop with WM_EXITSIZEMOVE.
  void DragMiniTo(ScreenPoint place) {
    SetWindowPos(Mini(), nullptr, place.x, place.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(Mini(), WM_EXITSIZEMOVE, 0, 0);
  }
  ScreenPoint MiniPlace() {
    RECT place{};
    GetWindowRect(Mini(), &place);
    return {place.left, place.top};
  }

 private:
  HWND Mini() { return window_.Mini().Handle(); }
  // A right click on the icon, as the shell reports it.
  testing::MenuChoice OpenTrayMenu(std::wstring caption) {
    return testing::ChooseFromMenu(std::move(caption), [this] {
      SendMessageW(window_.Handle(), TrayIcon::kCallbackMessage, 1, WM_RBUTTONUP);
    });
  }

  MainWindow window_;
  Win32MainWindowView view_;
};

}  // namespace
}  // namespace vardelle::win32

namespace vardelle::testing {
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, MiniViewWindowTest, win32::Win32MiniViewWindow);
}  // namespace vardelle::testing

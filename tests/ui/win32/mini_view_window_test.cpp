// The mini view's contract over the Win32 main window, read through the windows' own
// messages and styles.
#include <gtest/gtest.h>

#include <functional>
#include <string>
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
  // 提醒… is the third item, 小窗 the fourth.
  void ChooseMiniViewFor(int row) {
    testing::ChooseFromRowMenu(window_.Handle(), window_.ServerTable().Handle(), row,
                               {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
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
  void ChooseClickThroughInMiniMenu() {
    testing::QueueMenuKeys(Mini(), {VK_DOWN, VK_RETURN});
    SendMessageW(Mini(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Mini()), MAKELPARAM(10, 10));
    testing::StopMenuGuard();
  }
  // After 显示窗口, 退出 and a separator: 小窗, then 点击穿透.
  void ChooseClickThroughInTrayMenu() {
    testing::QueueMenuKeys(window_.Handle(), {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    SendMessageW(window_.Handle(), TrayIcon::kCallbackMessage, 1, WM_RBUTTONUP);
    testing::StopMenuGuard();
  }
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

  MainWindow window_;
  Win32MainWindowView view_;
};

}  // namespace
}  // namespace vardelle::win32

namespace vardelle::testing {
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, MiniViewWindowTest, win32::Win32MiniViewWindow);
}  // namespace vardelle::testing

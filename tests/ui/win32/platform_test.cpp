// The window contract over the Win32 main window; and what only it has: a call that is still
// waiting when the window goes is let go with the answer for a window that is gone, and the
// status line's tooltip.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string_view>
#include <thread>
#include <utility>

#include "app/statistics/latency_history.h"
#include "tests/ui/win32/win32_test_support.h"
#include "tests/ui/window_contract_test.h"
#include "ui/win32/main_window.h"
#include "ui/win32/main_window_view.h"
#include "ui/win32/window_platform.h"
#include "ui/win32/window_text.h"

namespace vardelle::win32 {
namespace {

// This thread's main window: other test programs running at the same time show theirs.
HWND MainWindowOnScreen() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM result) {
        wchar_t name[64] = {};
        GetClassNameW(window, name, static_cast<int>(std::size(name)));
        if (std::wstring_view(name) != L"VardelleMainWindow" || !IsWindowVisible(window))
          return TRUE;
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

struct Win32Window {
  void Run(MainWindowEvents& events) { platform.RunMainWindow(events); }

  static std::array<int, 4> Frame() {
    RECT frame{};
    GetWindowRect(MainWindowOnScreen(), &frame);
    return {frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top};
  }

  static bool TestButtonHasFocus() { return GetDlgCtrlID(GetFocus()) == kTestButtonId; }

  static bool OnScreen() { return MainWindowOnScreen() != nullptr; }

  static void CloseOnce(std::function<bool()> ready) {
    closing = MainWindowOnScreen();
    closeWhenReady = std::move(ready);
    SetTimer(nullptr, 0, 1, CloseWhenReady);
  }

  static void CALLBACK CloseWhenReady(HWND, UINT, UINT_PTR timer, DWORD) {
    if (!closeWhenReady()) return;
    KillTimer(nullptr, timer);
    PostMessageW(closing, WM_CLOSE, 0, 0);
  }

  static inline HWND closing = nullptr;
  static inline std::function<bool()> closeWhenReady;
  testing::TemporarySettings settings;
  Win32WindowPlatform platform{settings.Path()};
};

TEST(Win32PlatformTest, ACallStillWaitingWhenTheWindowGoesIsLetGo) {
  testing::TemporarySettings settings;
  testing::RecordingEvents events;
  LatencyHistory history;
  auto window = std::make_unique<MainWindow>(events, history, settings.Path());
  const HWND handle = window->Handle();
  Win32MainWindowView view(*window);
  std::atomic<int> rows = -2;
  std::thread caller([&] { rows = view.RowCount(); });
  // The call waits once its message is in the window's queue; this thread serves none.
  MSG message;
  const auto queued = [&] {
    return PeekMessageW(&message, handle, kRunPostedCallMessage, kRunPostedCallMessage,
                        PM_NOREMOVE) != 0;
  };
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!queued() && std::chrono::steady_clock::now() < deadline) Sleep(1);
  EXPECT_TRUE(queued());
  window.reset();
  caller.join();
  // Served, it would have counted the table's design-time row.
  EXPECT_EQ(rows, 0);
  EXPECT_EQ(view.CellText(0, 0), "");
}

// A line too long for the label is shown cut short, and whole in its tooltip, on one line.
TEST(Win32PlatformTest, StatusLineKeepsALongTextWholeInItsTooltip) {
  testing::TemporarySettings settings;
  testing::RecordingEvents events;
  LatencyHistory history;
  MainWindow window(events, history, settings.Path());
  Win32MainWindowView view(window);
  view.SetStatusLine("测速完成");
  EXPECT_EQ(window.StatusLine().ToolTipText(), L"");
  const std::string longLine = "第一行\r\n" + std::string(120, 'x');
  view.SetStatusLine(longLine);
  EXPECT_EQ(window.StatusLine().ToolTipText(), L"第一行\r\n" + std::wstring(120, L'x'));
  EXPECT_EQ(WindowCaption(window.StatusLine().Handle()), L"第一行  " + std::wstring(120, L'x'));
}

}  // namespace
}  // namespace vardelle::win32

namespace vardelle::testing {
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, WindowContractTest, win32::Win32Window);
}  // namespace vardelle::testing

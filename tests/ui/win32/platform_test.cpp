// A whole run of the Win32 main window: shown at its place, created event with a working
// view, closed while another thread still calls it, destroyed event last; and a call that
// is still waiting when the window goes is let go with the answer for a window that is gone.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string_view>
#include <thread>

#include "app/statistics/latency_history.h"
#include "tests/ui/win32/win32_test_support.h"
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

// Closes the window once a worker's calls are being served, like a user would mid-run.
class ClosingEvents : public testing::RecordingEvents {
 public:
  ~ClosingEvents() override {
    if (worker.joinable()) worker.join();
  }

  void OnCreated(MainWindowView& view) override {
    RecordingEvents::OnCreated(view);
    window = MainWindowOnScreen();
    GetWindowRect(window, &frameAtCreation);
    view.FocusTestButton();
    focusAtCreation = GetDlgCtrlID(GetFocus());
    worker = std::thread([this, &view] {
      const RowId row = view.InsertRow("row", RowIcon::kNotTested);
      for (int round = 0; round < 100000 && !view.CellText(row, 0).empty(); ++round) ++served;
    });
    closing = this;
    SetTimer(nullptr, 0, 1, CloseOnceServed);
  }

  static void CALLBACK CloseOnceServed(HWND, UINT, UINT_PTR timer, DWORD) {
    if (closing->served < 50) return;
    KillTimer(nullptr, timer);
    PostMessageW(closing->window, WM_CLOSE, 0, 0);
  }

  static inline ClosingEvents* closing = nullptr;
  HWND window = nullptr;
  std::thread worker;
  std::atomic<int> served = 0;
  RECT frameAtCreation{};
  int focusAtCreation = 0;
};

TEST(Win32PlatformTest, RunFromShowToCloseWithAWorkerStillCalling) {
  testing::TemporarySettings settings;
  Win32WindowPlatform platform(settings.Path());
  ClosingEvents events;
  platform.RunMainWindow(events);
  events.worker.join();

  ASSERT_GE(events.events.size(), 2u);
  EXPECT_EQ(events.events.front(), "created");
  EXPECT_EQ(events.events.back(), "destroying");
  const RECT frame = events.frameAtCreation;
  EXPECT_EQ((std::vector<LONG>{frame.left, frame.top, frame.right - frame.left,
                               frame.bottom - frame.top}),
            (std::vector<LONG>{50, 50, 848, 583}));
  EXPECT_EQ(events.focusAtCreation, kTestButtonId);
  EXPECT_GE(events.served, 50);
  EXPECT_EQ(MainWindowOnScreen(), nullptr);
  // The view handed out stays callable and answers as for a window that is gone.
  ASSERT_NE(events.createdView, nullptr);
  EXPECT_EQ(events.createdView->RowCount(), 0);
  EXPECT_EQ(events.createdView->CellText(0, 0), "");
  EXPECT_EQ(events.createdView->SelectedRow(), -1);
}

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

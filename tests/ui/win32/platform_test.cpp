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

#include "app/alerts/alert_watching.h"
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
    RECT client{};
    GetClientRect(MainWindowOnScreen(), &client);
    return {frame.left, frame.top, client.right, client.bottom};
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
  auto window = std::make_unique<MainWindow>(events, settings.Path());
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

// Ends the window from another thread once it runs, with rows watched, as the shell and the
// session do: their messages are sent, and run inside the loop's wait. A loop that does not
// end is ended with WM_QUIT after a generous time, failing the test instead of hanging it.
class EndingFromAnotherThread : public testing::RecordingEvents {
 public:
  explicit EndingFromAnotherThread(std::function<void(HWND)> end) : end_(std::move(end)) {
    alertsWatched = true;
  }
  ~EndingFromAnotherThread() override { Finish(); }

  void OnCreated(MainWindowView& view) override {
    RecordingEvents::OnCreated(view);
    thread_ = std::thread([this, window = MainWindowOnScreen(), owner = GetCurrentThreadId()] {
      end_(window);
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
      while (!loopEnded_ && std::chrono::steady_clock::now() < deadline) Sleep(10);
      if (!loopEnded_) {
        rescued = true;
        PostThreadMessageW(owner, WM_QUIT, 0, 0);
      }
    });
  }
  void Finish() {
    loopEnded_ = true;
    if (thread_.joinable()) thread_.join();
  }

  std::atomic<bool> rescued = false;

 private:
  std::function<void(HWND)> end_;
  std::atomic<bool> loopEnded_ = false;
  std::thread thread_;
};

void SendAndWait(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, 60000, &result);
}

// The pop-up menu of thread once it shows, within a generous time.
HWND MenuOnceOpen(DWORD thread) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  HWND menu = testing::OpenMenuWindow(thread);
  while (!menu && std::chrono::steady_clock::now() < deadline) {
    Sleep(10);
    menu = testing::OpenMenuWindow(thread);
  }
  return menu;
}

// The player's close into the notification area (answered 是), then 退出 from the icon's menu.
void QuitFromTheTray(HWND window) {
  PostMessageW(window, WM_CLOSE, 0, 0);
  const std::atomic<bool> stop = false;
  HWND question =
      testing::WaitForDialog(GetWindowThreadProcessId(window, nullptr), L"Vardelle", stop);
  ASSERT_NE(question, nullptr);
  SendMessageW(question, WM_COMMAND, IDYES, 0);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (IsWindowVisible(window) && std::chrono::steady_clock::now() < deadline) Sleep(10);
  ASSERT_FALSE(IsWindowVisible(window));
  // The shell's click comes as a notification; the keys go once the menu's own loop reads
  // them (the window's loop would take them first).
  SendNotifyMessageW(window, TrayIcon::kCallbackMessage, 1, WM_RBUTTONUP);
  HWND menu = MenuOnceOpen(GetWindowThreadProcessId(window, nullptr));
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(testing::ChooseInOpenMenu(menu, ToWindowText(QuitMenuText())).chosen);
}

void EndTheSession(HWND window) {
  SendAndWait(window, WM_QUERYENDSESSION, 0, 0);
  SendAndWait(window, WM_ENDSESSION, TRUE, 0);
}

TEST(Win32PlatformTest, TheLoopEndsWithTheWindowWhateverEndsIt) {
  const struct {
    const char* name;
    void (*end)(HWND);
  } cases[] = {{"退出 from the tray", QuitFromTheTray}, {"the session's end", EndTheSession}};
  for (const auto& c : cases) {
    testing::TemporarySettings settings;
    Win32WindowPlatform platform(settings.Path());
    EndingFromAnotherThread events(c.end);
    platform.RunMainWindow(events);
    events.Finish();
    EXPECT_FALSE(events.rescued) << c.name;
    EXPECT_EQ(events.events.back(), "destroying") << c.name;
    EXPECT_EQ(MainWindowOnScreen(), nullptr) << c.name;
  }
}

// A line too long for the label is shown cut short, and whole in its tooltip, on one line.
TEST(Win32PlatformTest, StatusLineKeepsALongTextWholeInItsTooltip) {
  testing::TemporarySettings settings;
  testing::RecordingEvents events;
  MainWindow window(events, settings.Path());
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

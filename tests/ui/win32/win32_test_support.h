// Shared pieces of the Win32 window's tests: an event recorder, serving the test thread's
// messages, keys for a pop-up menu, a settings file of the test's own, and the list views'
// contents read back through their messages.
#pragma once

// windows.h first: the other system headers need its types.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <atomic>
#include <chrono>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "app/view/main_window_view.h"
#include "tests/recording_events.h"

namespace vardelle::win32::testing {

using vardelle::testing::RecordingEvents;

// Serves this thread's messages until done() holds or the time-out passes; done()'s answer.
bool ServeMessagesUntil(const std::function<bool()>& done,
                        std::chrono::seconds timeout = std::chrono::seconds(60));

// Keys for the pop-up menu about to open on this thread: posted now, read by the menu's own
// loop once it runs. Enter goes as the character the menu acts on. A menu still open after
// a generous time is closed, so a lost key fails the test instead of hanging it.
void QueueMenuKeys(HWND window, std::initializer_list<WORD> keys);
void StopMenuGuard();
// A right click on a row of the list as the mouse makes it, choosing from the row menu by
// keys: the release is queued first, for the list's wait for a drag to find, and the keys
// after it.
void ChooseFromRowMenu(HWND window, HWND list, int row, std::initializer_list<WORD> keys);

// What a pop-up menu offered (the items' captions in order, separators left out) and whether
// the item asked for was chosen.
struct MenuChoice {
  std::vector<std::wstring> captions;
  bool chosen = false;
};
// The window of the pop-up menu open on thread, if any.
HWND OpenMenuWindow(DWORD thread);
// Posts the keys that choose the open menu's item captioned caption, or close the menu
// unchosen when it has none ("" for none); what it offers.
MenuChoice ChooseInOpenMenu(HWND menuWindow, const std::wstring& caption);
// Opens a pop-up menu on this thread with open() and, once it shows, chooses its item
// captioned caption by keys, as the player would; a menu without such an item ("" for none)
// is closed unchosen.
MenuChoice ChooseFromMenu(std::wstring caption, const std::function<void()>& open);
// The right click of ChooseFromRowMenu, choosing by caption.
bool ChooseFromRowMenu(HWND list, int row, std::wstring caption);

// The dialog titled title once it opens on thread (a message box or the alert dialog); null
// once stop is set or after a generous time. Other test programs running at once open theirs.
HWND WaitForDialog(DWORD thread, std::wstring_view title, const std::atomic<bool>& stop);

// Works a dialog the way a player does, from a thread of its own, while this thread sits in
// the dialog's modal loop; one that never opens is waited for only until Finish. A dialog
// its steps leave open is ended after a generous time, failing the test instead of hanging it.
class DialogPlayer {
 public:
  DialogPlayer(std::wstring title, std::function<void(HWND)> steps)
      : thread_([this, title = std::move(title), steps = std::move(steps),
                 owner = GetCurrentThreadId()] {
          HWND dialog = WaitForDialog(owner, title, stop_);
          if (!dialog) return;
          steps(dialog);
          const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
          while (IsWindowVisible(dialog) && std::chrono::steady_clock::now() < deadline) Sleep(10);
          closed_ = !IsWindowVisible(dialog);
          if (!closed_) EndDialog(dialog, IDCANCEL);
        }) {}
  ~DialogPlayer() { Finish(); }
  // Called once the call that would open the dialog has returned: whether it opened and the
  // steps closed it.
  bool Finish() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    return closed_;
  }

 private:
  std::atomic<bool> stop_ = false;
  std::atomic<bool> closed_ = false;
  std::thread thread_;
};

// A click on the dialog's button, and a field's text set as typed.
void Click(HWND dialog, int id);
void Type(HWND dialog, int id, const wchar_t* text);

// A settings file in a folder of its own under the user's temporary folder, removed at the end.
class TemporarySettings {
 public:
  TemporarySettings();
  ~TemporarySettings();
  const std::string& Path() const { return path_; }  // GBK, as the program keeps paths

 private:
  std::wstring folder_;
  std::string path_;
};

// The list view's cells, icons and header as its messages report them.
std::wstring ListCell(HWND list, int row, int column);
int ListIcon(HWND list, int row);
int HeaderSortFormat(HWND list, int column);  // HDF_SORTUP, HDF_SORTDOWN or 0
int ColumnWidth(HWND list, int column);
// The centre of a row's cell in the list's client coordinates.
POINT CellCentre(HWND list, int row, int column);
// A point of the cell's background right of any text it holds (left-aligned, its end
// margin kept even when cut short with an ellipsis).
POINT CellRightMargin(HWND list, int row, int column);

// The list as it paints itself into a bitmap (WM_PRINTCLIENT), custom draw included.
class PaintedList {
 public:
  explicit PaintedList(HWND list);
  ~PaintedList();
  COLORREF At(int x, int y) const;

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_;
};

std::wstring ClipboardText();
// The keys the next messages find held down (Ctrl for a shortcut).
void HoldKey(int key, bool down);

}  // namespace vardelle::win32::testing

// Shared pieces of the Win32 window's tests: an event recorder, serving the test thread's
// messages, keys for a pop-up menu, a settings file of the test's own, and the list views'
// contents read back through their messages.
#pragma once

// windows.h first: the other system headers need its types.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <chrono>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "app/window/main_window_view.h"

namespace vardelle::win32::testing {

// Records every event by name; the column of a header click is appended ("header 3").
class RecordingEvents : public MainWindowEvents {
 public:
  std::vector<std::string> events;
  MainWindowView* createdView = nullptr;
  std::map<std::uint64_t, RowColour> rowColours;

  void OnCreated(MainWindowView& view) override {
    createdView = &view;
    events.push_back("created");
  }
  void OnDestroying() override { events.push_back("destroying"); }
  void OnResized() override { events.push_back("resized"); }
  void OnHeaderClicked(int column) override {
    events.push_back("header " + std::to_string(column));
  }
  void OnRowActivated() override { events.push_back("row activated"); }
  void OnRowRightClicked() override { events.push_back("right click"); }
  void OnContinuousPingChosen() override { events.push_back("continuous ping"); }
  void OnRouteTraceChosen() override { events.push_back("route trace"); }
  void OnPeriodChanged() override { events.push_back("period changed"); }
  void OnTestButtonClicked() override { events.push_back("test button"); }
  void OnTimerElapsed() override { events.push_back("timer"); }
  void OnUpdateLabelPressed() override { events.push_back("update label"); }
  void OnKeyListRowActivated() override { events.push_back("key list activated"); }
  void OnKeyListRightClicked() override { events.push_back("key list right click"); }
  void OnGlobalTestChosen(bool allServers) override {
    events.push_back(allServers ? "global test all" : "global test selected");
  }
  void OnGlobalPlaceChosen(int placeIndex) override {
    events.push_back("global place " + std::to_string(placeIndex));
  }
  RowColour AnswerCustomDraw(RowId row, bool selectedAndFocused) override {
    if (selectedAndFocused) return {};
    const auto found = rowColours.find(row.value);
    return found == rowColours.end() ? RowColour{} : found->second;
  }
};

// Serves this thread's messages until done() holds or the time-out passes; done()'s answer.
bool ServeMessagesUntil(const std::function<bool()>& done,
                        std::chrono::seconds timeout = std::chrono::seconds(60));

// Keys for the pop-up menu about to open on this thread: posted now, read by the menu's own
// loop once it runs. Enter goes as the character the menu acts on. A menu still open after
// a generous time is closed, so a lost key fails the test instead of hanging it.
void QueueMenuKeys(HWND window, std::initializer_list<WORD> keys);
void StopMenuGuard();

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

// The main window: a top-level window holding the tab control (高级选择夹1), whose three
// pages' controls sit on it as the fixed layout places them, and the wiring of their
// messages to the application's events.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "app/application/application.h"
#include "app/start/user_files.h"
#include "app/table/server_table.h"
#include "app/view/main_window_view.h"
#include "app/view/window_keys.h"
#include "support/text/text.h"
#include "ui/win32/global_ping_page.h"
#include "ui/win32/help_page.h"
#include "ui/win32/mini_view.h"
#include "ui/win32/pictures.h"
#include "ui/win32/server_page.h"
#include "ui/win32/tray_icon.h"
#include "ui/win32/window_thread_calls.h"

namespace vardelle::win32 {

// The message that tells the window a call from another thread is waiting.
inline constexpr UINT kRunPostedCallMessage = WM_APP + 1;

// 时钟1: the auto-test timer, driven by a period in milliseconds (0: stopped).
class PeriodTimer {
 public:
  static constexpr UINT_PTR kTimerId = 1;

  explicit PeriodTimer(HWND window) : window_(window) {}
  // The same period again changes nothing, so a running countdown goes on undisturbed;
  // any other period stops the timer and, when above 0, starts it anew.
  void SetPeriod(int milliseconds);
  int Period() const { return period_; }

 private:
  HWND window_;
  int period_ = 0;
};

class MainWindow {
 public:
  // settingsPath: where the statistics columns keep which of them are shown ("" for this run
  // only).
  explicit MainWindow(MainWindowEvents& events, Text settingsPath = UserSettingsPath());
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  HWND Handle() const { return window_; }
  // Until the window is destroyed, by the user closing it or by Destroy; a window the
  // player closed into the notification area stays open, hidden.
  bool IsOpen() const { return window_ != nullptr; }
  void Show();
  void Destroy();
  // From now on size changes reach the application, which has its view by then.
  void MarkCreated() { created_ = true; }
  // How other threads reach this window; closed as the window is destroyed.
  const std::shared_ptr<WindowThreadCalls>& Calls() const { return calls_; }

  HWND Tabs() const { return tabs_; }
  void ShowPage(int page);
  ReportView& ServerTable() { return serverPage_->Table(); }
  StatisticsColumns& Statistics() { return serverPage_->Statistics(); }
  StatusLabel& StatusLine() { return serverPage_->StatusLine(); }
  HWND PeriodList() const { return serverPage_->PeriodList(); }
  int PeriodSelection() const;
  int PeriodItemValue(int index) const { return serverPage_->PeriodItemValue(index); }
  void SelectPeriod(int index) const {
    SendMessageW(PeriodList(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
  HWND SettingsButton() const { return serverPage_->SettingsButton(); }
  void SetTableGuide(const std::wstring& text) { serverPage_->SetTableGuide(text); }
  HWND TestButton() const { return serverPage_->TestButton(); }
  void FocusTestButton() const { SetFocus(TestButton()); }
  // A key the window acts on itself (MainWindowKeyCommand), taken by the message loop before
  // the message is dispatched: true when it was one.
  bool HandleKey(const MSG& message);
  PeriodTimer& Timer() { return timer_; }
  TrayIcon& Tray() { return *tray_; }
  // Shows the notification-area icon with text as its tooltip; "" removes it.
  void SetTrayToolTip(const std::wstring& text);
  MiniView& Mini() { return *miniView_; }
  void SetMiniView(const NativeMiniView<std::wstring>& view);
  ReportView& KeyList() { return globalPingPage_->KeyList(); }
  StatusLabel& KeyListStatusLine() { return globalPingPage_->StatusLine(); }

  // The row menu at the mouse moved by (dx, dy), with 移出小窗 in place of 小窗 for rows the
  // mini view lists, and the key list's with the place of checkedPlace checked; each returns
  // when its menu closes.
  void ShowRowMenu(int dx, int dy, bool listedInMiniView);
  void ShowKeyListMenu(int checkedPlace);
  int ClientWidth() const;
  void SetTableWidth(int width);
  // The DPI the window's places, fonts, columns and pictures are at.
  int Dpi() const { return dpi_; }
  const WindowPictures& Pictures() const { return *pictures_; }
  // Over every cell of the row but those with a tooltip of their own (the latency's
  // statistics).
  void SetRowWatchNote(RowId id, std::wstring note) {
    ServerTable().SetToolTip(id, -1, std::move(note));
  }
  // The location cell's own tooltip; "" gives it the row's again.
  void SetLocationNote(RowId id, std::wstring note) {
    ServerTable().SetToolTip(id, kLocationColumn, std::move(note));
  }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND CreateTabs();
  // Fonts, column widths and pictures at dpi, from the DPI they were at.
  void TakeDpi(int dpi);
  void TakePictures();
  void OnDpiChanged(int dpi, const RECT& suggested);
  // The window sized round a client area of the layout's size.
  void FitClientToLayout();
  SIZE SmallestWindowSize() const;
  LayoutSize ClientSize() const;
  // Every control at its place in the client area as it is now.
  void PlaceControls();
  LRESULT OnNotify(const NMHDR& header);
  void OnCommand(int id, int code);
  HBRUSH OnControlColour(HDC dc, HWND control) const;
  bool OnSetCursor(HWND control) const;
  void OnActivate(WPARAM state);
  std::optional<Control> FocusedControl() const;
  HWND ControlHandle(Control control) const;
  int CurrentPage() const;
  void ShowFocusCues() const;
  void MoveFocus(bool backwards);
  void TurnPage(int step);
  // The player's close: true when it hid the window in the notification area instead.
  bool KeepRunningInTray();
  void OnTrayMessage(UINT mouseMessage);
  void ShowTrayMenu();
  void ShowFromTray();
  // The icon shows while it has a tooltip, the mini view shows (its menu is the way back from
  // click-through) or the window is hidden there.
  void ShowTrayWhenNeeded();
  void OnDestroy();

  MainWindowEvents& events_;
  HWND window_ = nullptr;
  HWND tabs_ = nullptr;
  HWND lastFocus_ = nullptr;
  bool created_ = false;
  int dpi_ = kLayoutDpi;
  // Released after the controls that show them.
  std::unique_ptr<WindowPictures> pictures_;
  std::shared_ptr<WindowThreadCalls> calls_;
  PeriodTimer timer_{nullptr};
  std::unique_ptr<TrayIcon> tray_;
  std::wstring trayToolTip_;
  std::unique_ptr<MiniView> miniView_;
  std::unique_ptr<ServerPage> serverPage_;
  std::unique_ptr<GlobalPingPage> globalPingPage_;
  std::unique_ptr<HelpPage> helpPage_;
};

}  // namespace vardelle::win32

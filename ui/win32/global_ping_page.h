// Page 1, "全球Ping": the list of servers and their global tests (超级列表框1), its pop-up
// menu and its status line.
#pragma once

#include <windows.h>

#include <vector>

#include "app/view/main_window_view.h"
#include "ui/win32/report_view.h"
#include "ui/win32/status_label.h"

namespace vardelle::win32 {

class GlobalPingPage {
 public:
  GlobalPingPage(HWND tabs, MainWindowEvents& events);

  ReportView& KeyList() { return keyList_; }
  StatusLabel& StatusLine() { return statusLine_; }
  std::vector<HWND> Controls() const { return {keyList_.Handle(), statusLine_.Handle()}; }

  // The list's menu at a screen point with the place of that index checked; returns when it
  // closes, the chosen item's event fired.
  void ShowMenu(HWND owner, int checkedPlace, POINT screen);

 private:
  MainWindowEvents& events_;
  ReportView keyList_;
  StatusLabel statusLine_;
};

}  // namespace vardelle::win32

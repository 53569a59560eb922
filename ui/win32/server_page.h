// Page 0, "LOL服务器": the server table with its statistics columns, the auto-test period
// list, the status line, the test button and the table's row menu (右键1).
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/view/main_window_view.h"
#include "support/text/text.h"
#include "ui/win32/report_view.h"
#include "ui/win32/statistics_columns.h"
#include "ui/win32/status_label.h"

namespace vardelle::win32 {

// The empty table's guide, over the table's middle; not part of the fixed layout.
enum TableGuideControl : int { kTableGuideTextId = 1101, kTableGuideButtonId };

class ServerPage {
 public:
  ServerPage(HWND tabs, MainWindowEvents& events, Text settingsPath);

  ReportView& Table() { return table_; }
  StatisticsColumns& Statistics() { return statistics_; }
  StatusLabel& StatusLine() { return statusLine_; }
  HWND PeriodList() const { return periodList_; }
  HWND TestButton() const { return testButton_; }
  HWND SettingsButton() const { return settingsButton_; }
  // The page's controls; the guide's only while it is shown.
  std::vector<HWND> Controls() const;
  // Shows text over the table with its button "设置…", or hides both for "".
  void SetTableGuide(const std::wstring& text);
  // The guide in the middle of the table in a client area of that size at dpi.
  void PlaceTableGuide(LayoutSize client, int dpi);

  // The list's item at index: its value in seconds (0 for an index out of range).
  int PeriodItemValue(int index) const;
  // 右键1 at a screen point, with 移出小窗 in place of 小窗 for rows the mini view lists;
  // returns when it closes, the chosen item's event fired.
  void ShowRowMenu(HWND owner, POINT screen, bool listedInMiniView);
  // WM_COMMAND from the page's controls.
  void OnCommand(int id, int code);
  // The test button's picture beside its caption from now on, its margin at dpi; the page
  // does not keep it.
  void ShowButtonIcon(HIMAGELIST icon, int dpi);

 private:
  void FillPeriodList();

  MainWindowEvents& events_;
  HWND periodLabel_;
  ReportView table_;
  StatisticsColumns statistics_;
  HWND periodList_;
  StatusLabel statusLine_;
  HWND testButton_;
  HWND settingsButton_;
  HWND guideText_;
  HWND guideButton_;
  bool guideShown_ = false;
};

}  // namespace vardelle::win32

// The dialog of "提醒…": what to watch on a row of the server table. A modal dialog of the
// system's dialog manager (Tab, Enter and Escape work as in any), its controls made in
// pixels in the window's font as the main window's are.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "app/alerts/alert_watching.h"
#include "app/view/alert_watch.h"

namespace vardelle::win32 {

// The dialog's controls; its buttons are IDOK (确定) and IDCANCEL (取消).
enum AlertDialogControl : int {
  kAlertStatusCheckId = 101,  // 大区状态变化时提醒
  kAlertAnyChangeId,          // 任何变化
  kAlertBecomesNormalId,      // 变为正常
  kAlertLatencyCheckId,       // 延迟超过
  kAlertLatencyFieldId,       // ms
  kAlertLossCheckId,          // 丢包超过
  kAlertLossFieldId,          // %
};

// Asks, over owner, for the watch of the row of serverName (GBK), filled in with current; the
// watch chosen (empty when nothing is checked), or nothing when cancelled. A figure outside
// its range is brought into it; a checked field that holds no figure keeps the dialog open.
std::optional<AlertWatch> AskAlertWatch(HWND owner, const std::string& serverName,
                                        const AlertWatch& current);

}  // namespace vardelle::win32

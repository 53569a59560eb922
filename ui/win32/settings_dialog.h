// The dialog of "设置…" (app/settings_dialog), drawn with Win32: a modal dialog of the
// system's dialog manager, its controls made in pixels in the window's font as the main
// window's are. A timer brings the sites' test lines in from the tests.
#pragma once

#include <windows.h>

#include "app/settings_dialog/settings_dialog.h"

namespace vardelle::win32 {

// The dialog's controls; a site's three are its base + the site's number (Site). Its
// buttons are IDOK (确定) and IDCANCEL (取消).
enum SettingsDialogControl : int {
  kSiteFieldId = 200,   // + Site: the base as typed
  kSiteTestId = 210,    // + Site: 测试
  kSiteResultId = 220,  // + Site: the last test's line
  kServerListFieldId = 230,
  kChooseServerListId,  // 选择…
  kTokenFieldId,        // masked
  kPeriodFieldId,       // the default period
  kSettingsProblemId,   // why OK did not close the dialog
};

// Runs the dialog over owner until OK (dialog.Accept agreed) or Cancel.
void RunSettingsDialog(HWND owner, SettingsDialog& dialog);

}  // namespace vardelle::win32

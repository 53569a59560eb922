#include "ui/win32/main_window_view.h"

#include "ui/win32/alert_dialog.h"
#include "ui/win32/settings_dialog.h"

namespace vardelle::win32 {

std::optional<AlertWatch> Win32Edition::AskAlertWatch(MainWindow& window,
                                                      const std::string& serverName,
                                                      const AlertWatch& current) {
  return win32::AskAlertWatch(window.Handle(), serverName, current);
}

void Win32Edition::RunSettingsDialog(MainWindow& window, SettingsDialog& dialog) {
  win32::RunSettingsDialog(window.Handle(), dialog);
}

}  // namespace vardelle::win32

#include "ui/win32/main_window_view.h"

#include "ui/win32/alert_dialog.h"

namespace vardelle::win32 {

std::optional<AlertWatch> Win32Edition::AskAlertWatch(MainWindow& window,
                                                      const std::string& serverName,
                                                      const AlertWatch& current) {
  return win32::AskAlertWatch(window.Handle(), serverName, current);
}

}  // namespace vardelle::win32

#include "ui/qt/main_window_view.h"

#include "ui/qt/alert_dialog.h"
#include "ui/qt/settings_dialog.h"

namespace vardelle::ui {

std::optional<AlertWatch> QtEdition::AskAlertWatch(MainWindow& window,
                                                   const std::string& serverName,
                                                   const AlertWatch& current) {
  return ui::AskAlertWatch(&window, serverName, current);
}

void QtEdition::RunSettingsDialog(MainWindow& window, SettingsDialog& dialog) {
  ui::RunSettingsDialog(&window, dialog);
}

}  // namespace vardelle::ui

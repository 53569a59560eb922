// The window's events recorded, with 设置… and 提醒… opening the real dialogs: for the tests of
// both windows that drive a dialog as the player reaches it.
#pragma once

#include "app/alerts/alert_choice.h"
#include "app/application/application.h"
#include "app/settings_dialog/settings_dialog.h"
#include "tests/recording_events.h"

namespace vardelle::testing {

class DialogEvents : public RecordingEvents {
 public:
  void OnAlertChosen() override {
    RecordingEvents::OnAlertChosen();
    ChooseAlertForSelectedRow(*view, app.alerts, app.latencyHistory, app.settingsFile);
  }
  void OnSettingsChosen() override {
    RecordingEvents::OnSettingsChosen();
    SettingsDialog dialog(app, *view);
    view->RunSettingsDialog(dialog);
  }
  Application app;
  MainWindowView* view = nullptr;
};

}  // namespace vardelle::testing

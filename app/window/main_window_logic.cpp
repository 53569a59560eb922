#include "app/window/main_window_logic.h"

#include "app/actions/row_actions.h"
#include "app/alerts/alert_choice.h"
#include "app/loading/server_list_loading.h"
#include "app/settings_dialog/settings_dialog.h"
#include "app/table/table_sort.h"
#include "app/test_run/run_engine.h"
#include "app/view/row_menu.h"
#include "app/view/run_period.h"
#include "runtime/threads/threads.h"

namespace vardelle {

void MainWindowLogic::OnCreated(MainWindowView& view) {
  app.window = &view;
  app.alerts.Load(app.settingsFile);
  app.miniView.Load(app.settingsFile, view);
  if (const std::optional<int> period = SavedPeriodIndex(app.settingsFile)) {
    view.SelectPeriod(*period);
    SelectTestPeriod(view);
  }
  Application* const application = &app;
  StartThread([application] { LoadServerList(*application); });
  view.FocusTestButton();
  // A first start: nothing says where the servers come from, so the player is asked.
  if (!app.settingsFile.empty() && !app.endpoints.HasAddress(Site::kGameBox) &&
      app.endpoints.ServerListFile().empty()) {
    OnSettingsChosen();
  }
}

void MainWindowLogic::OnSettingsChosen() {
  SettingsDialog dialog(app, window());
  window().RunSettingsDialog(dialog);
}

void MainWindowLogic::OnDestroying() {}

void MainWindowLogic::OnResized() { window().SetTableWidth(window().ClientWidth()); }

void MainWindowLogic::OnRowRightClicked() {
  ShowRowMenu(window(), app.miniView.ListsSelectedRows(window()));
}

void MainWindowLogic::OnPeriodChanged() { SelectTestPeriod(window()); }

void MainWindowLogic::OnTestButtonClicked() { app.testRuns.StartRun(); }

void MainWindowLogic::OnTimerElapsed() { app.testRuns.StartRun(); }

void MainWindowLogic::OnHeaderClicked(int column) {
  SortTableByColumn(app.sortState, window(), column, SortModeForColumn(column));
}

void MainWindowLogic::OnRowActivated() { StartContinuousPing(window(), *app.launcher); }

void MainWindowLogic::OnContinuousPingChosen() { StartContinuousPing(window(), *app.launcher); }

void MainWindowLogic::OnRouteTraceChosen() { StartRouteTrace(window(), *app.launcher); }

void MainWindowLogic::OnAlertChosen() {
  ChooseAlertForSelectedRow(window(), app.alerts, app.latencyHistory, app.settingsFile);
}

void MainWindowLogic::OnMiniViewChosen() {
  app.miniView.AddSelectedRows(window(), app.settingsFile);
}

void MainWindowLogic::OnMiniViewRemoveChosen() {
  app.miniView.RemoveSelectedRows(window(), app.settingsFile);
}

void MainWindowLogic::OnMiniViewLineRemoveChosen(const std::string& serverName) {
  app.miniView.Remove({serverName}, window(), app.settingsFile);
}

void MainWindowLogic::OnMiniViewToggled() { app.miniView.ToggleShown(window(), app.settingsFile); }

void MainWindowLogic::OnClickThroughToggled() { app.miniView.ToggleClickThrough(window()); }

void MainWindowLogic::OnMiniViewMoved(ScreenPoint place) {
  app.miniView.Moved(place, app.settingsFile);
}

bool MainWindowLogic::AlertsWatched() { return app.alerts.AnyWatched(); }

void MainWindowLogic::OnUpdateLabelPressed() { OpenUpdatePage(window(), *app.launcher); }

void MainWindowLogic::OnKeyListRowActivated() { OpenKeyInBrowser(window(), *app.launcher); }

void MainWindowLogic::OnKeyListRightClicked() {
  app.globalPing.ShowMenu(window(), app.settingsFile);
}

void MainWindowLogic::OnGlobalPlaceChosen(int placeIndex) {
  if (placeIndex >= 0)
    app.globalPing.ChoosePlace(static_cast<size_t>(placeIndex), app.settingsFile);
}

// The rows and place are taken now, on the window's thread; the run starts on a thread of
// its own, since claiming rows may wait for workers that wait for this thread.
void MainWindowLogic::OnGlobalTestChosen(bool allServers) {
  std::vector<int> rows = GlobalPingPage::RowsToTest(window(), allServers);
  const GlobalPingPlace place = app.globalPing.Place(app.settingsFile);
  const GlobalpingAccess access = GlobalpingAccessOf(app);
  Application* const application = &app;
  StartThread([application, access, rows = std::move(rows), place]() mutable {
    application->globalPing.TestRows(application->window, access, std::move(rows), place);
  });
}

}  // namespace vardelle

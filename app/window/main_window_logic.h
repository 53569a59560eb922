// The main window's event handlers.
#pragma once

#include "app/application/application.h"
#include "app/view/main_window_view.h"

namespace vardelle {

class MainWindowLogic final : public MainWindowEvents {
 public:
  explicit MainWindowLogic(Application& application) : app(application) {}

  void OnCreated(MainWindowView& view) override;
  void OnDestroying() override;
  void OnResized() override;
  void OnHeaderClicked(int column) override;
  void OnRowActivated() override;
  void OnRowRightClicked() override;
  void OnContinuousPingChosen() override;
  void OnRouteTraceChosen() override;
  void OnAlertChosen() override;
  void OnMiniViewChosen() override;
  void OnMiniViewRemoveChosen() override;
  void OnMiniViewLineRemoveChosen(const std::string& serverName) override;
  void OnMiniViewToggled() override;
  void OnClickThroughToggled() override;
  void OnMiniViewMoved(ScreenPoint place) override;
  bool AlertsWatched() override;
  void OnPeriodChanged() override;
  void OnTestButtonClicked() override;
  void OnTimerElapsed() override;
  void OnSettingsChosen() override;
  void OnUpdateLabelPressed() override;
  void OnKeyListRowActivated() override;
  void OnKeyListRightClicked() override;
  void OnGlobalTestChosen(bool allServers) override;
  void OnGlobalPlaceChosen(int placeIndex) override;

 private:
  MainWindowView& window() const { return *app.window.load(); }
  Application& app;
};

}  // namespace vardelle

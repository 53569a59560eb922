// The window's events recorded by name, for the tests of both windows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/view/main_window_view.h"

namespace vardelle::testing {

// Records every event by name; the column of a header click is appended ("header 3").
class RecordingEvents : public MainWindowEvents {
 public:
  std::vector<std::string> events;
  bool alertsWatched = false;  // the answer to AlertsWatched
  MainWindowView* createdView = nullptr;

  void OnCreated(MainWindowView& view) override {
    createdView = &view;
    events.push_back("created");
  }
  void OnDestroying() override { events.push_back("destroying"); }
  void OnResized() override { events.push_back("resized"); }
  void OnHeaderClicked(int column) override {
    events.push_back("header " + std::to_string(column));
  }
  void OnRowActivated() override { events.push_back("row activated"); }
  void OnRowRightClicked() override { events.push_back("right click"); }
  void OnContinuousPingChosen() override { events.push_back("continuous ping"); }
  void OnRouteTraceChosen() override { events.push_back("route trace"); }
  void OnAlertChosen() override { events.push_back("alert chosen"); }
  void OnMiniViewChosen() override { events.push_back("mini view chosen"); }
  void OnMiniViewRemoveChosen() override { events.push_back("mini view remove chosen"); }
  void OnMiniViewLineRemoveChosen(const std::string& serverName) override {
    events.push_back("mini view line remove chosen " + serverName);
  }
  void OnMiniViewToggled() override { events.push_back("mini view toggled"); }
  void OnClickThroughToggled() override { events.push_back("click-through toggled"); }
  void OnMiniViewMoved(ScreenPoint place) override {
    events.push_back("mini view moved " + std::to_string(place.x) + "," + std::to_string(place.y));
  }
  bool AlertsWatched() override {
    events.push_back("alerts watched?");
    return alertsWatched;
  }
  void OnPeriodChanged() override { events.push_back("period changed"); }
  void OnTestButtonClicked() override { events.push_back("test button"); }
  void OnTimerElapsed() override { events.push_back("timer"); }
  void OnSettingsChosen() override { events.push_back("settings"); }
  void OnUpdateLabelPressed() override { events.push_back("update label"); }
  void OnKeyListRowActivated() override { events.push_back("key list activated"); }
  void OnKeyListRightClicked() override { events.push_back("key list right click"); }
  void OnGlobalTestChosen(bool allServers) override {
    events.push_back(allServers ? "global test all" : "global test selected");
  }
  void OnGlobalPlaceChosen(int placeIndex) override {
    events.push_back("global place " + std::to_string(placeIndex));
  }
};

}  // namespace vardelle::testing

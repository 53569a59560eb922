// The row actions' test fixture: a window of two rows and a key list row, the logic, and a
// launcher that only records.
#pragma once

#include <memory>
#include <string>

#include "app/application/application.h"
#include "app/table/server_table.h"
#include "app/window/main_window_logic.h"
#include "fake_window.h"
#include "tests/recording_launcher.h"

namespace vardelle::testing {

enum class Gesture { kActivateRow, kPingItem, kRouteTraceItem, kUpdateLabel, kKeyListRow };

inline const std::string kHost = "hn1-new.lol.example.com";
inline const std::string kKey = "Fz3kQ9wX2bR7";
inline const std::string kResultsPage = "https://globalping.io/?measurement=" + kKey;

class RowActionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto recording = std::make_unique<RecordingLauncher>();
    launcher = recording.get();
    application.launcher = std::move(recording);
    application.window = &window;
    window.InsertRow("a", RowIcon::kNotTested);
    window.InsertRow("b", RowIcon::kNotTested);
    window.SetCellText(1, kDomainColumn, kHost);
    window.selectedRow = 1;
    window.SetKeyListRows({"server"});
    window.SetKeyListRow(0, {.key = kKey});
    window.SelectKeyListRows({0});
  }

  void Fire(Gesture gesture) {
    switch (gesture) {
      case Gesture::kActivateRow:
        return logic.OnRowActivated();
      case Gesture::kPingItem:
        return logic.OnContinuousPingChosen();
      case Gesture::kRouteTraceItem:
        return logic.OnRouteTraceChosen();
      case Gesture::kUpdateLabel:
        return logic.OnUpdateLabelPressed();
      case Gesture::kKeyListRow:
        return logic.OnKeyListRowActivated();
    }
  }

  Application application;
  MainWindowLogic logic{application};
  FakeWindow window;
  RecordingLauncher* launcher = nullptr;
};

}  // namespace vardelle::testing

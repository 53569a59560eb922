// The row gestures of the Win32 window reach the console tool for the row under them,
// through the application's handlers and a launcher that only records: the row menu's two
// items chosen by keys, a double click and Enter.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/application/application.h"
#include "app/table/server_table.h"
#include "app/window/main_window_logic.h"
#include "runtime/windows/process_launch_windows.h"
#include "tests/recording_launcher.h"
#include "tests/ui/win32/win32_test_support.h"
#include "ui/win32/main_window.h"
#include "ui/win32/main_window_view.h"

namespace vardelle::win32 {
namespace {

using Argv = std::vector<std::string>;

// The console tools, by their full paths in the system folder.
const std::string kPing = SystemProgramPath(L"PING.EXE").value_or("");
const std::string kTracert = SystemProgramPath(L"TRACERT.EXE").value_or("");

LPARAM RowPoint(HWND list, int row) {
  const POINT at = testing::CellCentre(list, row, kNameColumn);
  return MAKELPARAM(at.x, at.y);
}

void RightClickChoosing(MainWindow& window, int row, std::initializer_list<WORD> keys) {
  testing::ChooseFromRowMenu(window.Handle(), window.ServerTable().Handle(), row, keys);
}

struct Gesture {
  const char* name;
  std::function<void(MainWindow&)> perform;
  Argv started;
};

class RowActionsWindowTest : public ::testing::TestWithParam<Gesture> {
 protected:
  void SetUp() override {
    auto recording = std::make_unique<vardelle::testing::RecordingLauncher>();
    launcher = recording.get();
    launcher->programs = {kPing, kTracert};
    app.launcher = std::move(recording);
    window = std::make_unique<MainWindow>(logic, settings.Path());
    view = std::make_unique<Win32MainWindowView>(*window);
    app.window = view.get();
    window->Show();
    view->DeleteAllRows();
    for (const char* domain : {"localhost", "127.0.0.1"}) {
      view->SetCellText(view->InsertRow("server", RowIcon::kNotTested), kDomainColumn, domain);
    }
    // The second row selected and current, as a click leaves it.
    LVITEMW state{};
    state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(window->ServerTable().Handle(), LVM_SETITEMSTATE, 1,
                 reinterpret_cast<LPARAM>(&state));
  }
  void TearDown() override { app.window = nullptr; }

  testing::TemporarySettings settings;
  Application app;
  MainWindowLogic logic{app};
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<Win32MainWindowView> view;
  vardelle::testing::RecordingLauncher* launcher = nullptr;
};

TEST_P(RowActionsWindowTest, StartsTheConsoleToolForTheRow) {
  GetParam().perform(*window);
  EXPECT_EQ(launcher->started, std::vector<Argv>{GetParam().started});
}

const Argv kPingSecondRow{kPing, "-t", "127.0.0.1"};
const Argv kTraceSecondRow{kTracert, "127.0.0.1"};

INSTANTIATE_TEST_SUITE_P(
    Gestures, RowActionsWindowTest,
    ::testing::Values(Gesture{"MenuFirstItem",
                              [](MainWindow& w) {
                                RightClickChoosing(w, 1, {VK_DOWN, VK_RETURN});
                              },
                              kPingSecondRow},
                      // The separator between the two items is passed over.
                      Gesture{"MenuSecondItem",
                              [](MainWindow& w) {
                                RightClickChoosing(w, 1, {VK_DOWN, VK_DOWN, VK_RETURN});
                              },
                              kTraceSecondRow},
                      Gesture{"DoubleClick",
                              [](MainWindow& w) {
                                HWND list = w.ServerTable().Handle();
                                SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, RowPoint(list, 1));
                              },
                              kPingSecondRow},
                      Gesture{"Enter",
                              [](MainWindow& w) {
                                SendMessageW(w.ServerTable().Handle(), WM_KEYDOWN, VK_RETURN, 0);
                              },
                              kPingSecondRow}),
    [](const ::testing::TestParamInfo<Gesture>& gesture) {
      return std::string(gesture.param.name);
    });

}  // namespace
}  // namespace vardelle::win32

#include "app/main_window_logic.h"

#include "app/row_menu.h"
#include "app/test_period.h"
#include "runtime/locks.h"

namespace vardelle {

void MainWindowLogic::OnCreated(MainWindowView& view) {
  app.window = &view;
  app.tableLock = CreateLock();
  // The server list loading starts here once the loading thread exists.
  view.FocusTestButton();
}

void MainWindowLogic::OnDestroying() { DeleteLock(app.tableLock.exchange(0)); }

void MainWindowLogic::OnResized() { window().SetTableWidth(window().ClientWidth()); }

void MainWindowLogic::OnRowRightClicked() { ShowRowMenu(window()); }

void MainWindowLogic::OnPeriodChanged() { SelectTestPeriod(window()); }

// Sorting, the test run, the console tools and the browser links are bound here as they
// are built; until then these events change nothing.
void MainWindowLogic::OnHeaderClicked(int) {}
void MainWindowLogic::OnRowActivated() {}
void MainWindowLogic::OnContinuousPingChosen() {}
void MainWindowLogic::OnRouteTraceChosen() {}
void MainWindowLogic::OnTestButtonClicked() {}
void MainWindowLogic::OnTimerElapsed() {}
void MainWindowLogic::OnUpdateLabelPressed() {}
void MainWindowLogic::OnKeyListRowActivated() {}

}  // namespace vardelle

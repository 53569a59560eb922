#include "app/window/main_window_logic.h"

#include "app/window/row_menu.h"
#include "app/loading/server_list_loading.h"
#include "app/table/table_sort.h"
#include "app/window/test_period.h"
#include "runtime/threads/locks.h"
#include "runtime/threads/threads.h"

namespace vardelle {

void MainWindowLogic::OnCreated(MainWindowView& view) {
  app.window = &view;
  app.tableLock = CreateLock();
  StartThread(LoadServerListThread);
  view.FocusTestButton();
}

void MainWindowLogic::OnDestroying() { DeleteLock(app.tableLock.exchange(0)); }

void MainWindowLogic::OnResized() { window().SetTableWidth(window().ClientWidth()); }

void MainWindowLogic::OnRowRightClicked() { ShowRowMenu(window()); }

void MainWindowLogic::OnPeriodChanged() { SelectTestPeriod(window()); }

void MainWindowLogic::OnHeaderClicked(int column) {
  SortTableByColumn(app.sortState, window(), column, SortModeForColumn(column));
}

// The test run, the console tools and the browser links are bound here as they are built;
// until then these events change nothing.
void MainWindowLogic::OnRowActivated() {}
void MainWindowLogic::OnContinuousPingChosen() {}
void MainWindowLogic::OnRouteTraceChosen() {}
void MainWindowLogic::OnTestButtonClicked() {}
void MainWindowLogic::OnTimerElapsed() {}
void MainWindowLogic::OnUpdateLabelPressed() {}
void MainWindowLogic::OnKeyListRowActivated() {}

}  // namespace vardelle

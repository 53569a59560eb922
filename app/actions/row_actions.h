// The actions that start outside programs: a console ping or route trace of the server
// table's selected row, and web pages in the browser. They run on the window's thread,
// return within about a second and tell on the status line why nothing started.
#pragma once

#include "app/view/main_window_view.h"
#include "runtime/process/process_launch.h"

namespace vardelle {

// For the selected row's domain; nothing happens when no row is selected.
void StartContinuousPing(MainWindowView& window, ProcessLauncher& launcher);
void StartRouteTrace(MainWindowView& window, ProcessLauncher& launcher);

// The project's own page.
void OpenUpdatePage(MainWindowView& window, ProcessLauncher& launcher);
// The "KEY" cell of the selected row of 超级列表框1; nothing happens when no row is selected.
void OpenKeyInBrowser(MainWindowView& window, ProcessLauncher& launcher);

}  // namespace vardelle

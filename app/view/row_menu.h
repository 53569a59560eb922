// The server table's pop-up menu.
#pragma once

#include "app/view/main_window_view.h"

namespace vardelle {

// 右键1 with its corner 3 pixels right of and 3 below the mouse, whatever is under it.
void ShowRowMenu(MainWindowView& window, bool listedInMiniView);

}  // namespace vardelle

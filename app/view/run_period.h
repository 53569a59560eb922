// The automatic test period picked in 组合框1.
#pragma once

#include "app/view/main_window_view.h"

namespace vardelle {

// The timer period for a list item value in seconds, in milliseconds; values that do
// not fit an int saturate instead of wrapping.
int TimerPeriodForItemValue(int seconds);

// Sets 时钟1's period from the list's current selection.
void SelectTestPeriod(MainWindowView& window);

}  // namespace vardelle

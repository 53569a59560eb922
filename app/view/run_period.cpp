#include "app/view/run_period.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace vardelle {

int TimerPeriodForItemValue(int seconds) {
  const std::int64_t milliseconds = std::int64_t{seconds} * 1000;
  return static_cast<int>(std::clamp<std::int64_t>(milliseconds, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

void SelectTestPeriod(MainWindowView& window) {
  const int index = window.PeriodSelection();
  window.SetTimerPeriod(TimerPeriodForItemValue(window.PeriodItemValue(index)));
}

}  // namespace vardelle

// A small line chart of probe results, as the Qt edition draws it: one slot per result
// across the width, the fastest at the bottom and the slowest at the top; a lost probe
// leaves its slot empty and breaks the line.
#pragma once

#include <windows.h>

#include <vector>

#include "app/statistics/latency_history.h"

namespace vardelle::win32 {

void DrawSparkline(HDC dc, const RECT& area, const std::vector<LatencySample>& results,
                   COLORREF colour);

}  // namespace vardelle::win32

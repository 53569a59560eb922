#include "ui/win32/sparkline.h"

#include "app/statistics/sparkline_points.h"

namespace vardelle::win32 {

void DrawSparkline(HDC dc, const RECT& area, const std::vector<LatencySample>& results,
                   COLORREF colour) {
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ previousPen = SelectObject(dc, pen);
  const SparklineArea within{area.left, area.top, area.right - area.left, area.bottom - area.top};
  std::optional<SparklinePoint> previous;
  for (const std::optional<SparklinePoint>& point : SparklinePoints(within, results)) {
    if (point && previous) {
      MoveToEx(dc, previous->x, previous->y, nullptr);
      LineTo(dc, point->x, point->y);
    }
    // LineTo leaves out its last pixel, and a lone result has no line at all.
    if (point) SetPixel(dc, point->x, point->y, colour);
    previous = point;
  }
  SelectObject(dc, previousPen);
  DeleteObject(pen);
}

}  // namespace vardelle::win32

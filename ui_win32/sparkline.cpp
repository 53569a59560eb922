#include "ui_win32/sparkline.h"

#include <algorithm>

namespace vardelle::win32 {
namespace {

struct Range {
  int lowest;
  int highest;
};

std::optional<Range> RangeOf(const std::vector<LatencySample>& results) {
  std::optional<Range> range;
  for (const LatencySample& result : results) {
    if (!result) continue;
    range = range ? Range{std::min(range->lowest, *result), std::max(range->highest, *result)}
                  : Range{*result, *result};
  }
  return range;
}

}  // namespace

std::vector<std::optional<POINT>> SparklinePoints(const RECT& area,
                                                  const std::vector<LatencySample>& results) {
  std::vector<std::optional<POINT>> points(results.size());
  const std::optional<Range> range = RangeOf(results);
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (!range || width <= 0 || height <= 0) return points;
  const double slot = static_cast<double>(width) / static_cast<double>(results.size());
  const int span = range->highest - range->lowest;
  for (std::size_t i = 0; i < results.size(); ++i) {
    if (!results[i]) continue;
    const int x = area.left + static_cast<int>(slot * (static_cast<double>(i) + 0.5));
    // A steady server draws a flat line through the middle.
    const int y = span == 0 ? area.top + (height - 1) / 2
                            : area.top + (range->highest - *results[i]) * (height - 1) / span;
    points[i] = POINT{x, y};
  }
  return points;
}

void DrawSparkline(HDC dc, const RECT& area, const std::vector<LatencySample>& results,
                   COLORREF colour) {
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ previousPen = SelectObject(dc, pen);
  std::optional<POINT> previous;
  for (const std::optional<POINT>& point : SparklinePoints(area, results)) {
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

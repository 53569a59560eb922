#include "app/statistics/sparkline_points.h"

#include <algorithm>

namespace vardelle {
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

std::vector<std::optional<SparklinePoint>> SparklinePoints(
    const SparklineArea& area, const std::vector<LatencySample>& results) {
  std::vector<std::optional<SparklinePoint>> points(results.size());
  const std::optional<Range> range = RangeOf(results);
  if (!range || area.width <= 0 || area.height <= 0) return points;
  const double slot = static_cast<double>(area.width) / static_cast<double>(results.size());
  const int span = range->highest - range->lowest;
  for (std::size_t i = 0; i < results.size(); ++i) {
    if (!results[i]) continue;
    const int x = area.left + static_cast<int>(slot * (static_cast<double>(i) + 0.5));
    // A steady server draws a flat line through the middle.
    const int y = span == 0 ? area.top + (area.height - 1) / 2
                            : area.top + (range->highest - *results[i]) * (area.height - 1) / span;
    points[i] = SparklinePoint{x, y};
  }
  return points;
}

}  // namespace vardelle

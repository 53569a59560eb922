// Where a sparkline of probe results is drawn, for both windows: one slot per result across
// the width, the fastest at the bottom and the slowest at the top; a lost probe leaves its
// slot empty and breaks the line.
#pragma once

#include <optional>
#include <vector>

#include "app/statistics/latency_history.h"

namespace vardelle {

struct SparklineArea {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct SparklinePoint {
  int x = 0;
  int y = 0;
};

// Each result's point within area; nothing for a lost probe, and nothing at all when no
// result was answered or the area is empty.
std::vector<std::optional<SparklinePoint>> SparklinePoints(
    const SparklineArea& area, const std::vector<LatencySample>& results);

}  // namespace vardelle

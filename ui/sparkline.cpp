#include "ui/sparkline.h"

#include <algorithm>
#include <optional>

namespace vardelle::ui {
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

void DrawSparkline(QPainter& painter, const QRect& area, const std::vector<LatencySample>& results,
                   const QColor& colour) {
  const std::optional<Range> range = RangeOf(results);
  if (!range || area.width() <= 0 || area.height() <= 0) return;
  const double slot = static_cast<double>(area.width()) / static_cast<double>(results.size());
  const int span = range->highest - range->lowest;
  const auto point = [&](std::size_t index, int ms) {
    const int x = area.left() + static_cast<int>(slot * (static_cast<double>(index) + 0.5));
    // A steady server draws a flat line through the middle.
    const int y = span == 0 ? area.center().y()
                            : area.top() + (range->highest - ms) * (area.height() - 1) / span;
    return QPoint(x, y);
  };
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(colour, 1));
  std::optional<QPoint> previous;
  for (std::size_t i = 0; i < results.size(); ++i) {
    if (!results[i]) {
      previous.reset();
      continue;
    }
    const QPoint here = point(i, *results[i]);
    if (previous) {
      painter.drawLine(*previous, here);
    } else {
      painter.drawPoint(here);
    }
    previous = here;
  }
  painter.restore();
}

QVariant ResultsToVariant(const std::vector<LatencySample>& results) {
  QVariantList list;
  for (const LatencySample& result : results) list.append(result.value_or(-1));
  return list;
}

std::vector<LatencySample> ResultsFromVariant(const QVariant& variant) {
  std::vector<LatencySample> results;
  for (const QVariant& value : variant.toList()) {
    const int ms = value.toInt();
    results.push_back(ms < 0 ? LatencySample() : LatencySample(ms));
  }
  return results;
}

}  // namespace vardelle::ui

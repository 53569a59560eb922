#include "ui/qt/sparkline.h"

#include <optional>

#include "app/statistics/sparkline_points.h"

namespace vardelle::ui {

void DrawSparkline(QPainter& painter, const QRect& area, const std::vector<LatencySample>& results,
                   const QColor& colour) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(colour, 1));
  std::optional<QPoint> previous;
  const SparklineArea within{area.left(), area.top(), area.width(), area.height()};
  for (const std::optional<SparklinePoint>& point : SparklinePoints(within, results)) {
    if (!point) {
      previous.reset();
      continue;
    }
    const QPoint here(point->x, point->y);
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

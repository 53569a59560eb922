// A small line chart of probe results: one slot per result across the width, the fastest
// at the bottom and the slowest at the top; a lost probe leaves its slot empty and breaks
// the line.
#pragma once

#include <QColor>
#include <QPainter>
#include <QRect>
#include <QVariant>
#include <vector>

#include "app/statistics/latency_history.h"

namespace vardelle::ui {

void DrawSparkline(QPainter& painter, const QRect& area, const std::vector<LatencySample>& results,
                   const QColor& colour);

// Results as a cell keeps them (milliseconds, -1 for a lost probe) and back.
QVariant ResultsToVariant(const std::vector<LatencySample>& results);
std::vector<LatencySample> ResultsFromVariant(const QVariant& variant);

}  // namespace vardelle::ui

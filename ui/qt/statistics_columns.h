// The server table's statistics columns (丢包率, 最小/平均/最大, 抖动, 走势), added after the
// layout's seven and hidden until the header's right-click menu shows them; the choice is
// kept in the settings file. Also the latency cell's tooltip.
#pragma once

#include <QMenu>
#include <QObject>
#include <optional>
#include <vector>

#include "support/text/text.h"
#include "ui/qt/report_view.h"
#include "ui/window_view_core.h"

namespace vardelle::ui {

class StatisticsColumns : public QObject {
  Q_OBJECT

 public:
  // settingsPath "" keeps the choice for this run only.
  StatisticsColumns(ReportView& table, Text settingsPath);

  // The row's sparkline and latency tooltip; its statistics cells come with its other cells.
  void Show(RowId row, const std::vector<std::optional<int>>& trend, QString latencyToolTip);
  // Shows or hides a statistics column and saves the choice.
  void SetShown(int column, bool shown);
  QMenu& HeaderMenu() { return *menu_; }

 private:
  ReportView& table_;
  const StatisticsColumnChoice choice_;
  QMenu* menu_;
};

}  // namespace vardelle::ui

#include "ui/qt/period_timer.h"

namespace vardelle::ui {

PeriodTimer::PeriodTimer(QObject* parent) : QObject(parent) {
  connect(&countdown_, &QTimer::timeout, this, &PeriodTimer::Elapsed);
}

void PeriodTimer::SetPeriod(int milliseconds) {
  if (milliseconds == period_) return;
  countdown_.stop();
  period_ = milliseconds;
  if (milliseconds > 0) countdown_.start(milliseconds);
}

}  // namespace vardelle::ui

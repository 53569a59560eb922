// 时钟1: the auto-test timer, driven by a period in milliseconds (0: stopped).
#pragma once

#include <QObject>
#include <QTimer>

namespace vardelle::ui {

class PeriodTimer : public QObject {
  Q_OBJECT

 public:
  explicit PeriodTimer(QObject* parent);

  // The same period again changes nothing, so a running countdown goes on undisturbed;
  // any other period stops the timer and, when above 0, starts it anew.
  void SetPeriod(int milliseconds);
  int Period() const { return period_; }
  const QTimer& Countdown() const { return countdown_; }

 signals:
  void Elapsed();

 private:
  QTimer countdown_;
  int period_ = 0;
};

}  // namespace vardelle::ui

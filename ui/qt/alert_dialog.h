// The dialog of "提醒…": what to watch on one row of the server table.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "app/view/alert_watch.h"

class QCheckBox;
class QRadioButton;
class QSpinBox;

namespace vardelle::ui {

class AlertDialog : public QDialog {
  Q_OBJECT

 public:
  // For the row of serverName (GBK), filled in from current; the kinds it leaves unset show their
  // usual thresholds, unchecked.
  AlertDialog(QWidget* parent, const std::string& serverName, const AlertWatch& current);

  // What the dialog shows now: nothing checked watches nothing.
  AlertWatch ChosenWatch() const;

 private:
  void FillIn(const AlertWatch& current);

  QCheckBox* statusCheck_ = nullptr;
  QRadioButton* anyChange_ = nullptr;
  QRadioButton* becomesNormal_ = nullptr;
  QCheckBox* latencyCheck_ = nullptr;
  QSpinBox* latencyLimit_ = nullptr;
  QCheckBox* lossCheck_ = nullptr;
  QSpinBox* lossLimit_ = nullptr;
};

// Runs the dialog modally; the watch chosen, or nothing when it was cancelled.
std::optional<AlertWatch> AskAlertWatch(QWidget* parent, const std::string& serverName,
                                        const AlertWatch& current);

}  // namespace vardelle::ui

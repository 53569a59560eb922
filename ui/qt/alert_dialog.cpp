#include "ui/qt/alert_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "app/alerts/alert_rules.h"
#include "app/alerts/alert_watching.h"
#include "ui/qt/window_text.h"

namespace vardelle::ui {
namespace {

QSpinBox* LimitField(QWidget* parent, const char* name, int lowest, int highest, const char* unit) {
  auto* field = new QSpinBox(parent);
  field->setObjectName(QLatin1String(name));
  field->setRange(lowest, highest);
  field->setSuffix(QLatin1String(unit));
  return field;
}

}  // namespace

AlertDialog::AlertDialog(QWidget* parent, const std::string& serverName, const AlertWatch& current)
    : QDialog(parent) {
  setObjectName(QStringLiteral("alertDialog"));
  setWindowTitle(FromGbk(kAlertDialogTitle));
  auto* grid = new QGridLayout(this);
  // The server's name came from the network: shown as text, never as markup.
  auto* prompt = new QLabel(FromGbk(AlertDialogPrompt(serverName)), this);
  prompt->setObjectName(QStringLiteral("alertPrompt"));
  prompt->setTextFormat(Qt::PlainText);
  grid->addWidget(prompt, 0, 0, 1, 3);
  statusCheck_ = new QCheckBox(FromGbk(kAlertStatusCaption), this);
  statusCheck_->setObjectName(QStringLiteral("statusCheck"));
  anyChange_ = new QRadioButton(FromGbk(kAlertAnyChangeCaption), this);
  anyChange_->setObjectName(QStringLiteral("anyChange"));
  becomesNormal_ = new QRadioButton(FromGbk(kAlertBecomesNormalCaption), this);
  becomesNormal_->setObjectName(QStringLiteral("becomesNormal"));
  latencyCheck_ = new QCheckBox(FromGbk(kAlertLatencyCaption), this);
  latencyCheck_->setObjectName(QStringLiteral("latencyCheck"));
  latencyLimit_ = LimitField(this, "latencyLimit", 1, kMostLatencyThresholdMs, " ms");
  lossCheck_ = new QCheckBox(FromGbk(kAlertLossCaption), this);
  lossCheck_->setObjectName(QStringLiteral("lossCheck"));
  lossLimit_ = LimitField(this, "lossLimit", 0, kMostLossThresholdPercent, " %");
  grid->addWidget(statusCheck_, 1, 0);
  grid->addWidget(anyChange_, 1, 1);
  grid->addWidget(becomesNormal_, 1, 2);
  grid->addWidget(latencyCheck_, 2, 0);
  grid->addWidget(latencyLimit_, 2, 1);
  grid->addWidget(lossCheck_, 3, 0);
  grid->addWidget(lossLimit_, 3, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(FromGbk(kOkCaption));
  buttons->button(QDialogButtonBox::Cancel)->setText(FromGbk(kCancelCaption));
  grid->addWidget(buttons, 4, 0, 1, 3);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(statusCheck_, &QCheckBox::toggled, anyChange_, &QWidget::setEnabled);
  connect(statusCheck_, &QCheckBox::toggled, becomesNormal_, &QWidget::setEnabled);
  connect(latencyCheck_, &QCheckBox::toggled, latencyLimit_, &QWidget::setEnabled);
  connect(lossCheck_, &QCheckBox::toggled, lossLimit_, &QWidget::setEnabled);
  FillIn(current);
}

void AlertDialog::FillIn(const AlertWatch& current) {
  statusCheck_->setChecked(current.status.has_value());
  becomesNormal_->setChecked(current.status == StatusWatch::kBecomesNormal);
  anyChange_->setChecked(current.status != StatusWatch::kBecomesNormal);
  latencyCheck_->setChecked(current.latencyOverMs.has_value());
  latencyLimit_->setValue(current.latencyOverMs.value_or(kDefaultWatchLatencyOverMs));
  lossCheck_->setChecked(current.lossOverPercent.has_value());
  lossLimit_->setValue(current.lossOverPercent.value_or(kDefaultWatchLossOverPercent));
  for (QWidget* field :
       {static_cast<QWidget*>(anyChange_), static_cast<QWidget*>(becomesNormal_)}) {
    field->setEnabled(statusCheck_->isChecked());
  }
  latencyLimit_->setEnabled(latencyCheck_->isChecked());
  lossLimit_->setEnabled(lossCheck_->isChecked());
}

AlertWatch AlertDialog::ChosenWatch() const {
  AlertWatch watch;
  if (statusCheck_->isChecked()) {
    watch.status =
        becomesNormal_->isChecked() ? StatusWatch::kBecomesNormal : StatusWatch::kAnyChange;
  }
  if (latencyCheck_->isChecked()) watch.latencyOverMs = latencyLimit_->value();
  if (lossCheck_->isChecked()) watch.lossOverPercent = lossLimit_->value();
  return watch;
}

std::optional<AlertWatch> AskAlertWatch(QWidget* parent, const std::string& serverName,
                                        const AlertWatch& current) {
  AlertDialog dialog(parent, serverName, current);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.ChosenWatch();
}

}  // namespace vardelle::ui

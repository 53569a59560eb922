#include "ui/qt/settings_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "app/alerts/alert_watching.h"
#include "app/settings/site_settings.h"
#include "app/sites/site_check.h"
#include "app/view/window_layout.h"
#include "ui/qt/window_text.h"

namespace vardelle::ui {
namespace {

// Test lines arrive from the test threads; the dialog looks for them this often.
constexpr int kResultPollMs = 100;

QLabel* PlainLabel(const std::string& text, QWidget* parent) {
  auto* label = new QLabel(FromGbk(text), parent);
  label->setTextFormat(Qt::PlainText);
  return label;
}

QString SiteName(Site site) { return QString::fromLatin1(SettingsKeyOf(InfoOf(site))); }

}  // namespace

SettingsDialogWindow::SettingsDialogWindow(QWidget* parent, SettingsDialog& dialog)
    : QDialog(parent), dialog_(dialog) {
  setObjectName(QStringLiteral("settingsDialog"));
  setWindowTitle(FromGbk(kSettingsDialogTitle));
  auto* grid = new QGridLayout(this);
  grid->addWidget(PlainLabel(kSettingsNote, this), 0, 0, 1, 4);
  for (const SiteInfo& info : SiteTable()) AddSiteRow(*grid, info.site);
  const SettingsValues& initial = dialog.Initial();
  const int listRow = 2 * kSiteCount + 1;
  grid->addWidget(PlainLabel(kServerListFileCaption, this), listRow, 0);
  serverListField_ = new QLineEdit(FromGbk(initial.serverListFile), this);
  serverListField_->setObjectName(QStringLiteral("serverList"));
  grid->addWidget(serverListField_, listRow, 1, 1, 2);
  auto* choose = new QPushButton(FromGbk(kChooseFileCaption), this);
  choose->setObjectName(QStringLiteral("chooseServerList"));
  grid->addWidget(choose, listRow, 3);
  connect(choose, &QPushButton::clicked, this, [this] { ChooseServerListFile(); });
  grid->addWidget(PlainLabel(kGlobalpingTokenCaption, this), listRow + 1, 0);
  tokenField_ = new QLineEdit(FromGbk(initial.globalpingToken), this);
  tokenField_->setObjectName(QStringLiteral("globalpingToken"));
  tokenField_->setEchoMode(QLineEdit::Password);
  grid->addWidget(tokenField_, listRow + 1, 1, 1, 3);
  grid->addWidget(PlainLabel(kDefaultPeriodCaption, this), listRow + 2, 0);
  periodField_ = new QComboBox(this);
  periodField_->setObjectName(QStringLiteral("defaultPeriod"));
  for (const PeriodItem& item : PeriodItems()) periodField_->addItem(FromGbk(item.caption));
  periodField_->setCurrentIndex(initial.periodIndex);
  grid->addWidget(periodField_, listRow + 2, 1);
  problem_ = PlainLabel("", this);
  problem_->setObjectName(QStringLiteral("settingsProblem"));
  problem_->setStyleSheet(QStringLiteral("color: #b00000"));
  grid->addWidget(problem_, listRow + 3, 0, 1, 4);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(FromGbk(kOkCaption));
  buttons->button(QDialogButtonBox::Cancel)->setText(FromGbk(kCancelCaption));
  grid->addWidget(buttons, listRow + 4, 0, 1, 4);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  grid->setColumnMinimumWidth(1, 320);
  resultTimer_ = new QTimer(this);
  connect(resultTimer_, &QTimer::timeout, this, [this] { ShowResults(); });
  resultTimer_->start(kResultPollMs);
}

// A site takes two lines: caption, field and button, then the last test's answer below.
void SettingsDialogWindow::AddSiteRow(QGridLayout& grid, Site site) {
  const int index = static_cast<int>(site);
  const int row = 1 + 2 * index;
  grid.addWidget(PlainLabel(SiteCaption(site), this), row, 0);
  QLineEdit* field =
      new QLineEdit(FromGbk(dialog_.Initial().baseUrls[static_cast<std::size_t>(index)]), this);
  field->setObjectName(SiteName(site));
  field->setPlaceholderText(QStringLiteral("http://"));
  grid.addWidget(field, row, 1, 1, 2);
  auto* test = new QPushButton(FromGbk(kSiteTestCaption), this);
  test->setObjectName(SiteName(site) + QStringLiteral("Test"));
  grid.addWidget(test, row, 3);
  QLabel* result = PlainLabel("", this);
  result->setObjectName(SiteName(site) + QStringLiteral("Result"));
  grid.addWidget(result, row + 1, 1, 1, 3);
  siteFields_[static_cast<std::size_t>(index)] = field;
  siteResults_[static_cast<std::size_t>(index)] = result;
  connect(test, &QPushButton::clicked, this, [this, site, field, result] {
    result->setText(FromGbk(dialog_.StartTest(site, ToGbkText(field->text()))));
  });
}

void SettingsDialogWindow::ChooseServerListFile() {
  const QString chosen =
      QFileDialog::getOpenFileName(this, FromGbk(kServerListFileCaption), serverListField_->text());
  if (!chosen.isEmpty()) serverListField_->setText(chosen);
}

void SettingsDialogWindow::ShowResults() {
  for (const auto& [site, line] : dialog_.TakeResults()) {
    siteResults_[static_cast<std::size_t>(site)]->setText(FromGbk(line));
  }
}

SettingsValues SettingsDialogWindow::Values() const {
  SettingsValues values;
  for (std::size_t index = 0; index < siteFields_.size(); ++index) {
    values.baseUrls[index] = ToGbkText(siteFields_[index]->text());
  }
  values.serverListFile = ToGbkText(serverListField_->text());
  values.globalpingToken = ToGbkText(tokenField_->text());
  values.periodIndex = periodField_->currentIndex();
  return values;
}

void SettingsDialogWindow::accept() {
  const Text problem = dialog_.Accept(Values());
  if (problem.empty()) {
    QDialog::accept();
  } else {
    problem_->setText(FromGbk(problem));
  }
}

void RunSettingsDialog(QWidget* parent, SettingsDialog& dialog) {
  SettingsDialogWindow window(parent, dialog);
  window.exec();
}

}  // namespace vardelle::ui

// The dialog of "设置…" (app/settings_dialog), drawn with Qt: a line per site with its "测试"
// button and its answer, the server-list file with a file chooser, the token masked and the
// default period.
#pragma once

#include <QDialog>
#include <array>

#include "app/settings_dialog/settings_dialog.h"

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QTimer;

namespace vardelle::ui {

class SettingsDialogWindow : public QDialog {
  Q_OBJECT

 public:
  SettingsDialogWindow(QWidget* parent, SettingsDialog& dialog);

  // What the fields hold now.
  SettingsValues Values() const;

  void accept() override;

 private:
  void AddSiteRow(QGridLayout& grid, Site site);
  void ChooseServerListFile();
  void ShowResults();

  SettingsDialog& dialog_;
  std::array<QLineEdit*, kSiteCount> siteFields_{};
  std::array<QLabel*, kSiteCount> siteResults_{};
  QLineEdit* serverListField_ = nullptr;
  QLineEdit* tokenField_ = nullptr;
  QComboBox* periodField_ = nullptr;
  QLabel* problem_ = nullptr;
  QTimer* resultTimer_ = nullptr;
};

// Runs the dialog modally over parent until OK or Cancel.
void RunSettingsDialog(QWidget* parent, SettingsDialog& dialog);

}  // namespace vardelle::ui

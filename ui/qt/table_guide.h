// The empty server table's guide: a text and a button "设置…" in the middle of the table's
// empty area, shown while there is no server list.
#pragma once

#include <QFrame>
#include <functional>

class QLabel;
class QPushButton;

namespace vardelle::ui {

class TableGuide : public QFrame {
  Q_OBJECT

 public:
  // Over table (its viewport); openSettings runs when the button is pressed.
  TableGuide(QWidget* table, std::function<void()> openSettings);

  // Shows text, or hides the guide for "".
  void SetText(const QString& text);
  QPushButton& SettingsButton() { return *button_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Centre();

  QLabel* text_ = nullptr;
  QPushButton* button_ = nullptr;
};

}  // namespace vardelle::ui

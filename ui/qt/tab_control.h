// A tab control whose pages span the whole control, tab strip included, so the controls
// on a page are placed relative to the tab control itself.
#pragma once

#include <QTabBar>
#include <QWidget>
#include <vector>

namespace vardelle::ui {

class TabControl : public QWidget {
  Q_OBJECT

 public:
  explicit TabControl(QWidget* parent);

  QWidget* AddPage(const QIcon& icon, const QString& caption);
  QTabBar& TabStrip() { return *strip_; }
  QWidget* Page(int index) const { return pages_.at(static_cast<size_t>(index)); }

  // Height of the tab strip; the pages' controls start below it.
  static constexpr int kStripHeight = 23;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ShowPage(int index);

  QTabBar* strip_;
  std::vector<QWidget*> pages_;
};

}  // namespace vardelle::ui

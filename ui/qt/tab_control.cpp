#include "ui/qt/tab_control.h"

#include <QPainter>
#include <QStyleOptionTabWidgetFrame>

namespace vardelle::ui {

TabControl::TabControl(QWidget* parent) : QWidget(parent), strip_(new QTabBar(this)) {
  strip_->setIconSize(QSize(16, 16));
  strip_->setDrawBase(false);
  connect(strip_, &QTabBar::currentChanged, this, &TabControl::ShowPage);
}

QWidget* TabControl::AddPage(const QIcon& icon, const QString& caption) {
  auto* page = new QWidget(this);
  page->setGeometry(rect());
  pages_.push_back(page);
  // The strip stays above the pages, which overlap it.
  page->lower();
  strip_->addTab(icon, caption);
  strip_->setGeometry(0, 0, strip_->sizeHint().width(), kStripHeight);
  ShowPage(strip_->currentIndex());
  return page;
}

void TabControl::ShowPage(int index) {
  for (size_t i = 0; i < pages_.size(); ++i) pages_[i]->setVisible(static_cast<int>(i) == index);
}

void TabControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QStyleOptionTabWidgetFrame frame;
  frame.initFrom(this);
  frame.rect = rect().adjusted(0, kStripHeight - 1, 0, 0);
  frame.tabBarSize = strip_->size();
  frame.shape = strip_->shape();
  style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}

void TabControl::resizeEvent(QResizeEvent*) {
  for (QWidget* page : pages_) page->setGeometry(rect());
}

}  // namespace vardelle::ui

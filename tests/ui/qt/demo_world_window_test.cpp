// The demo world's loading contract over the Qt main window, offscreen.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTest>
#include <functional>

#include "tests/ui/demo_world_window_contract.h"
#include "ui/qt/main_window.h"
#include "ui/qt/main_window_view.h"
#include "ui/qt/pictures.h"
#include "ui_test_support.h"

namespace vardelle::ui {
namespace {

using testing::Pixels;

class QtDemoWindow {
 public:
  explicit QtDemoWindow(MainWindowEvents& events) : window_(events), view_(window_) {
    window_.show();
  }
  ~QtDemoWindow() { view_.Detach(); }

  MainWindowView& View() { return view_; }
  bool ServeUntil(const std::function<bool()>& done) { return testing::ServeEventsUntil(done); }
  void Release() { view_.Detach(); }

  RowIcon IconAt(int row) {
    const QImage shown = Pixels(window_.ServerTable().RowAt(row)->icon(0), QSize(12, 12));
    for (RowIcon icon : {RowIcon::kAnswered, RowIcon::kNoAnswer, RowIcon::kNotTested}) {
      if (shown == RowIconPicture(icon)) return icon;
    }
    return static_cast<RowIcon>(-1);
  }
  HeaderArrow ArrowAt(int column) {
    const QImage shown = Pixels(window_.ServerTable().headerItem()->icon(column), QSize(8, 7));
    for (HeaderArrow arrow : {HeaderArrow::kUp, HeaderArrow::kDown}) {
      if (shown == HeaderArrowPicture(arrow)) return arrow;
    }
    return HeaderArrow::kNone;
  }
  void ClickHeader(int column) {
    QHeaderView* header = window_.ServerTable().header();
    const QPoint middle(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, middle);
  }

 private:
  QApplication& application_ = testing::TestApplication();
  MainWindow window_;
  QtMainWindowView view_;
};

}  // namespace
}  // namespace vardelle::ui

namespace vardelle::testing {
INSTANTIATE_TYPED_TEST_SUITE_P(Qt, DemoWorldWindowTest, ui::QtDemoWindow);
}  // namespace vardelle::testing

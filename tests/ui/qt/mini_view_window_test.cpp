// The mini view's contract over the Qt main window, offscreen.
#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QTest>
#include <functional>
#include <string>
#include <vector>

#include "tests/ui/mini_view_window_contract.h"
#include "ui/qt/main_window.h"
#include "ui/qt/main_window_view.h"
#include "ui/qt/report_view.h"
#include "ui/qt/window_text.h"
#include "ui_test_support.h"

namespace vardelle::ui {
namespace {

class QtMiniViewWindow {
 public:
  QtMiniViewWindow(MainWindowEvents& events, const std::string&) : window_(events), view_(window_) {
    // A pop-up menu holds the focus only while it is open.
    QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, &window_, [this](QWindow* now) {
      if (now && !now->flags().testFlag(Qt::WindowDoesNotAcceptFocus) && now->type() != Qt::Popup) {
        focused_ = now;
      }
    });
    window_.show();
    window_.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window_));
  }
  ~QtMiniViewWindow() { view_.Detach(); }
  MainWindowView& View() { return view_; }
  bool ServeUntil(const std::function<bool()>& done) { return testing::ServeEventsUntil(done); }
  void Release() { view_.Detach(); }
  bool ChooseFromRowMenu(int row, const char* caption) {
    ReportView& table = window_.ServerTable();
    QTreeWidgetItem* item = table.RowAt(row);
    table.scrollToItem(item);
    const QPoint centre = table.viewport()->mapTo(&window_, table.visualItemRect(item).center());
    return testing::ChooseFromPopup(FromGbk(caption), [&] {
      QTest::mouseClick(window_.windowHandle(), Qt::RightButton, {}, centre);
    });
  }
  bool ChooseFromMiniMenu(int line, const char* caption) {
    MiniView& mini = window_.Mini();
    const QPoint at = mini.LinePlace(static_cast<size_t>(line)).center();
    return testing::ChooseFromPopup(FromGbk(caption), [&] {
      QContextMenuEvent event(QContextMenuEvent::Mouse, at, mini.mapToGlobal(at));
      QApplication::sendEvent(&mini, &event);
    });
  }
  // The desktop opens the tray's menu: its items are triggered as it would.
  bool ChooseFromTrayMenu(const char* caption) {
    return testing::TriggerMenuItem(*window_.Tray().contextMenu(), FromGbk(caption));
  }
  std::vector<std::string> TrayMenuItems() {
    std::vector<std::string> items;
    for (const QString& caption : testing::MenuCaptions(*window_.Tray().contextMenu())) {
      items.push_back(ToGbkText(caption));
    }
    return items;
  }
  RowColour RowColourAt(int row) { return window_.ServerTable().OwnColour(row); }
  std::vector<MiniViewRow> MiniRows() {
    std::vector<MiniViewRow> rows;
    for (const auto& row : window_.Mini().Drawn().rows) {
      rows.push_back({ToGbkText(row.name), ToGbkText(row.latency), row.textColour, row.backColour});
    }
    return rows;
  }
  bool MiniShown() { return window_.Mini().isVisible(); }
  bool MiniOnTopWithoutFocus() {
    const Qt::WindowFlags flags = window_.Mini().windowFlags();
    return flags.testFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint |
                           Qt::WindowDoesNotAcceptFocus) &&
           window_.Mini().testAttribute(Qt::WA_ShowWithoutActivating);
  }
  bool MiniClickThrough() {
    return window_.Mini().windowFlags().testFlag(Qt::WindowTransparentForInput) &&
           window_.Mini().windowHandle()->flags().testFlag(Qt::WindowTransparentForInput);
  }
  // The offscreen platform hands every window it shows the focus, whatever its flags; real
  // platforms never give it to one that declines it (Qt::WindowDoesNotAcceptFocus), so such a
  // window leaves the focus where it was.
  const void* Foreground() {
    QApplication::processEvents();
    return focused_;
  }
  // Each event's window position from its screen position and where the window stands when
  // it comes, as the platform gives them.
  void DragMiniTo(ScreenPoint place) {
    MiniView& mini = window_.Mini();
    const QPoint grip(5, 5);
    const auto send = [&](QEvent::Type type, QPoint screen, Qt::MouseButton button,
                          Qt::MouseButtons buttons) {
      QMouseEvent event(type, screen - mini.pos(), screen, button, buttons, {});
      QApplication::sendEvent(&mini, &event);
    };
    const QPoint to = QPoint(place.x, place.y) + grip;
    send(QEvent::MouseButtonPress, mini.pos() + grip, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
  }
  ScreenPoint MiniPlace() {
    QApplication::processEvents();
    return {window_.Mini().x(), window_.Mini().y()};
  }

 private:
  QApplication& application_ = testing::TestApplication();
  MainWindow window_;
  QtMainWindowView view_;
  const QWindow* focused_ = nullptr;
};

}  // namespace
}  // namespace vardelle::ui

namespace vardelle::testing {
INSTANTIATE_TYPED_TEST_SUITE_P(Qt, MiniViewWindowTest, ui::QtMiniViewWindow);
}  // namespace vardelle::testing

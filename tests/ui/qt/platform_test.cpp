// The window contract over the Qt main window.
#include <gtest/gtest.h>

#include <QTimer>
#include <array>
#include <functional>
#include <utility>

#include "tests/ui/window_contract_test.h"
#include "ui/qt/window_platform.h"
#include "ui_test_support.h"

namespace vardelle::ui {
namespace {

QWidget* MainWindowOnScreen() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible() && widget->windowTitle() == QStringLiteral("Vardelle v1.3"))
      return widget;
  }
  return nullptr;
}

struct QtWindow {
  void Run(MainWindowEvents& events) { platform.RunMainWindow(events); }

  static std::array<int, 4> Frame() {
    QWidget* window = MainWindowOnScreen();
    const QRect frame = window ? window->frameGeometry() : QRect();
    const QSize client = window ? window->size() : QSize();
    return {frame.x(), frame.y(), client.width(), client.height()};
  }

  static bool TestButtonHasFocus() {
    QWidget* window = MainWindowOnScreen();
    QWidget* focus = window ? window->focusWidget() : nullptr;
    return focus && focus->objectName() == testing::QText(u"超级按钮1");
  }

  static bool OnScreen() { return MainWindowOnScreen() != nullptr; }

  static void CloseOnce(std::function<bool()> ready) {
    QWidget* window = MainWindowOnScreen();
    auto* closer = new QTimer(window);
    QObject::connect(closer, &QTimer::timeout, window, [ready = std::move(ready), window] {
      if (ready()) window->close();
    });
    closer->start(1);
  }

  QApplication& application = testing::TestApplication();
  QtWindowPlatform platform;
};

}  // namespace
}  // namespace vardelle::ui

namespace vardelle::testing {
INSTANTIATE_TYPED_TEST_SUITE_P(Qt, WindowContractTest, ui::QtWindow);
}  // namespace vardelle::testing

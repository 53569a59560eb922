#include "ui/qt/window_platform.h"

#include <QEventLoop>

#include "ui/qt/main_window.h"
#include "ui/qt/main_window_view.h"

namespace vardelle::ui {

QtWindowPlatform::QtWindowPlatform() = default;
QtWindowPlatform::~QtWindowPlatform() = default;

void QtWindowPlatform::RunMainWindow(MainWindowEvents& events) {
  MainWindow window(events);
  QtMainWindowView& view = *views_.emplace_back(std::make_unique<QtMainWindowView>(window));
  QEventLoop loop;
  QObject::connect(&window, &MainWindow::Closed, &loop, &QEventLoop::quit);
  window.show();
  window.PlaceOnScreen();
  events.OnCreated(view);
  window.MarkCreated();
  if (window.isVisible()) loop.exec();
  // Waiting callers are let go before the application tears down what they may hold.
  view.Detach();
  events.OnDestroying();
}

}  // namespace vardelle::ui

#include "ui/qt/window_platform.h"

#include <QEventLoop>
#include <memory>

#include "app/application/application.h"
#include "ui/qt/main_window.h"
#include "ui/qt/main_window_view.h"
#include "ui/qt/notifier.h"
#include "ui/window_view_core.h"

namespace vardelle::ui {

QtWindowPlatform::QtWindowPlatform() = default;
QtWindowPlatform::~QtWindowPlatform() = default;

void QtWindowPlatform::RunMainWindow(MainWindowEvents& events) {
  MainWindow window(events);
  QtMainWindowView& view = *views_.emplace_back(std::make_unique<QtMainWindowView>(window));
  {
    const WindowAlertNotifier notifier(TheApplication().alerts,
                                       std::make_shared<DesktopNotifier>());
    QEventLoop loop;
    QObject::connect(&window, &MainWindow::Closed, &loop, &QEventLoop::quit);
    window.show();
    window.PlaceOnScreen();
    events.OnCreated(view);
    window.MarkCreated();
    if (window.isVisible()) loop.exec();
    // Waiting callers are let go before the application tears down what they may hold.
    view.Detach();
  }
  events.OnDestroying();
}

}  // namespace vardelle::ui

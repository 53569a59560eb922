#include "ui_test_support.h"

#include <cstdlib>

namespace vardelle::ui::testing {

QApplication& TestApplication() {
  static QApplication* application = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "ui_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: widgets' static resources may outlive the test cases.
    return new QApplication(argc, argv);
  }();
  return *application;
}

bool ServeEventsUntil(const std::function<bool()>& done, std::chrono::seconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done() && std::chrono::steady_clock::now() < deadline) {
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return done();
}

QImage Pixels(const QIcon& icon, QSize size) {
  return icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace vardelle::ui::testing

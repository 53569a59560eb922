#include "ui_test_support.h"

#include <QAction>
#include <QTimer>
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

QStringList MenuCaptions(const QMenu& menu) {
  QStringList captions;
  for (const QAction* item : menu.actions()) {
    if (!item->isSeparator() && item->isVisible()) captions.append(item->text());
  }
  return captions;
}

bool TriggerMenuItem(QMenu& menu, const QString& caption) {
  for (QAction* item : menu.actions()) {
    if (!item->isSeparator() && item->isVisible() && item->text() == caption) {
      item->trigger();
      return true;
    }
  }
  return false;
}

// The timer goes with this call, so it never fires after a menu that did not open.
bool ChooseFromPopup(const QString& caption, const std::function<void()>& open) {
  bool chosen = false;
  QTimer picker;
  picker.setInterval(10);
  QObject::connect(&picker, &QTimer::timeout, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return;
    picker.stop();
    chosen = TriggerMenuItem(*menu, caption);
    menu->close();
  });
  picker.start();
  open();
  return chosen;
}

QImage Pixels(const QIcon& icon, QSize size) {
  return icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace vardelle::ui::testing

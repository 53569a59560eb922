#include <QApplication>

#include "app/start_up.h"
#include "ui/qt_window_platform.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // Never destroyed: detached workers may still hold the (detached) window view while
  // the process exits, and the platform owns it.
  auto* platform = new vardelle::ui::QtWindowPlatform;
  return vardelle::StartUp(*platform);
}

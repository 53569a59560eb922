#include <QApplication>

#include "app/start_up.h"
#include "ui/qt_window_platform.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  vardelle::ui::QtWindowPlatform platform;
  return vardelle::StartUp(platform);
}

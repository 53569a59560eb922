#include "ui/qt/termination_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <csignal>

#include "ui/qt/main_window.h"

namespace vardelle::ui {
namespace {

// The handler may do next to nothing, so it only writes a byte that the event loop reads.
int signalPipe[2] = {-1, -1};
volatile std::sig_atomic_t closing = 0;

void OnTerminationSignal(int signal) {
  if (closing) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    return;
  }
  closing = 1;
  const char byte = 1;
  [[maybe_unused]] const auto written = write(signalPipe[1], &byte, 1);
}

}  // namespace

void CloseWindowsOnTerminationSignals() {
  if (signalPipe[0] >= 0 || pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, qApp);
  QObject::connect(notifier, &QSocketNotifier::activated, [] {
    char byte = 0;
    while (read(signalPipe[0], &byte, 1) > 0) {
    }
    // The main window asks nothing then, and it closes even while it waits in the tray.
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* window = qobject_cast<MainWindow*>(widget)) window->Quit();
    }
    QApplication::closeAllWindows();
  });
  struct sigaction action = {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

}  // namespace vardelle::ui

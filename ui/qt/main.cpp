#include <QApplication>
#include <clocale>

#include "app/start/start_up.h"
#include "program/program_start.h"
#include "runtime/platform.h"
#include "ui/qt/termination_signals.h"
#include "ui/qt/window_platform.h"

int main(int argc, char** argv) {
  vardelle::InitializeRuntimePlatform();
  const vardelle::ProgramStart start =
      vardelle::StartProgram(vardelle::ProgramArguments(argc, argv));
  if (start.exitCode) return *start.exitCode;
  if (start.line.headless) return vardelle::FinishProgram(vardelle::RunHeadlessProgram(start.line));

  // The arguments are all the program's own, so Qt gets none of them.
  int qtArgc = 1;
  QApplication application(qtArgc, argv);
  // Qt takes the user's locale for numbers; the program reads and writes them the C way.
  std::setlocale(LC_NUMERIC, "C");
  vardelle::ui::CloseWindowsOnTerminationSignals();
  // Never destroyed: a thread abandoned at the end may still hold the (detached) window
  // view, and the platform owns it.
  static auto* const platform = new vardelle::ui::QtWindowPlatform;
  return vardelle::FinishProgram(vardelle::StartUp(*platform));
}

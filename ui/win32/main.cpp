// The Windows edition's entry, of vardelle.exe and of vardelle-cli.exe, its console twin:
// the arguments come from the wide command line; a headless run prints as on Linux, to the
// console that started the program or to the streams it was given, and otherwise the main
// window runs.
#include "app/start/start_up.h"
#include "program/program_start.h"
#include "runtime/platform.h"
#include "ui/win32/console_streams.h"
#include "ui/win32/window_platform.h"

int main(int argc, char** argv) {
  vardelle::InitializeRuntimePlatform();
  vardelle::win32::ConnectStandardStreams();
  const vardelle::ProgramStart start =
      vardelle::StartProgram(vardelle::ProgramArguments(argc, argv));
  if (start.exitCode) return *start.exitCode;
  if (start.line.headless) return vardelle::FinishProgram(vardelle::RunHeadlessProgram(start.line));

  vardelle::win32::ReleaseParentConsole();
  // Never destroyed: a thread abandoned at the end may still hold the (detached) window
  // view, and the platform owns it.
  static auto* const platform = new vardelle::win32::Win32WindowPlatform;
  return vardelle::FinishProgram(vardelle::StartUp(*platform));
}

// The Windows edition's entry: the arguments come from the wide command line, and the
// headless runs work as on Linux. The window is not part of this edition yet.
#include <cstdio>

#include "program/program_start.h"
#include "runtime/platform.h"

int main(int argc, char** argv) {
  vardelle::InitializeRuntimePlatform();
  const vardelle::ProgramStart start =
      vardelle::StartProgram(vardelle::ProgramArguments(argc, argv));
  if (start.exitCode) return *start.exitCode;
  if (!start.line.headless) {
    std::fputs("vardelle: this edition has no window yet; run it with --headless (see --help)\n",
               stderr);
    return 2;
  }
  return vardelle::FinishProgram(vardelle::RunHeadlessProgram(start.line));
}

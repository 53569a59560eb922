#include "ui/win32/console_streams.h"

#include <windows.h>

#include <cstdio>

namespace vardelle::win32 {
namespace {

bool attachedToParentConsole = false;

bool LeadsSomewhere(DWORD stream) {
  HANDLE handle = GetStdHandle(stream);
  return handle && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

}  // namespace

void ConnectStandardStreams() {
  const bool outputLost = !LeadsSomewhere(STD_OUTPUT_HANDLE);
  const bool errorLost = !LeadsSomewhere(STD_ERROR_HANDLE);
  if ((!outputLost && !errorLost) || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
  attachedToParentConsole = true;
  // The C streams are what the program writes through.
  if (outputLost) std::freopen("CONOUT$", "w", stdout);
  if (errorLost) std::freopen("CONOUT$", "w", stderr);
}

void ReleaseParentConsole() {
  if (!attachedToParentConsole) return;
  std::fflush(nullptr);
  FreeConsole();
  attachedToParentConsole = false;
}

}  // namespace vardelle::win32

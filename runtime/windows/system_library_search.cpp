// Linked into each Windows program (cmake/windows_library_loading.cmake): from here on, a
// DLL loaded by bare name, the delay-loaded imports among them, comes from the system folder
// alone, never from the program's own folder or the current one, where whoever can write
// there could leave a DLL of that name.
#include <windows.h>

namespace {

// Before main and every other constructor: 101 is the earliest priority a program may use.
__attribute__((constructor(101))) void LoadLibrariesFromTheSystemFolderOnly() {
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace

// The DLL that tests/windows_library_planting_test.sh leaves beside copies of the programs
// under the names of their imports. Loaded, it appends its own path and a line break, in
// UTF-16, to the file that VARDELLE_TEST_PLANTED_MARKER names. It exports nothing: a program
// that calls into it fails, after the mark is made.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  wchar_t marker[MAX_PATH] = {};
  wchar_t line[MAX_PATH + 1] = {};
  if (reason != DLL_PROCESS_ATTACH ||
      GetEnvironmentVariableW(L"VARDELLE_TEST_PLANTED_MARKER", marker, MAX_PATH) == 0) {
    return TRUE;
  }
  DWORD length = GetModuleFileNameW(self, line, MAX_PATH);
  line[length++] = L'\n';
  const HANDLE file = CreateFileW(marker, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, line, length * sizeof(wchar_t), &written, nullptr);
  CloseHandle(file);
  return TRUE;
}

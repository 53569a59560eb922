#include <windows.h>

#include <string>

#include "runtime/platform.h"
#include "runtime/windows/wide_text.h"

namespace vardelle {

// A path with a character GBK lacks gives "": spelled with '?', it would name another file.
std::string ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return "";
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    if (path.size() >= 32768) return "";  // longer than any path Windows takes
    path.resize(path.size() * 2);
  }
  const std::size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return "";
  return ExactGbkFromWide(std::wstring_view(path).substr(0, slash)).value_or("");
}

}  // namespace vardelle

#include "runtime/windows/process_launch_windows.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <algorithm>
#include <array>

#include "runtime/windows/wide_text.h"

namespace vardelle {
namespace {

constexpr wchar_t kDefaultExtension[] = L".exe";
// CreateProcessW hands a batch file to cmd.exe, which would read its arguments as commands;
// only real program files are started.
constexpr std::array<std::wstring_view, 2> kProgramExtensions = {L".exe", L".com"};

// Some handlers of web addresses are COM objects; the shell wants COM set up on the calling
// thread, and leaves it as it found it.
class ComForShell {
 public:
  ComForShell()
      : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED |
                                                          COINIT_DISABLE_OLE1DDE))) {}
  ~ComForShell() {
    if (initialized_) CoUninitialize();
  }
  ComForShell(const ComForShell&) = delete;
  ComForShell& operator=(const ComForShell&) = delete;

 private:
  const bool initialized_;
};

// Registry roots by number, in the order the program's registry reads have always used.
const std::array<HKEY, 5> kRegistryRoots = {HKEY_CLASSES_ROOT, HKEY_CURRENT_CONFIG,
                                               HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS};

bool EndsWithIgnoringCase(std::wstring_view text, std::wstring_view end) {
  return text.size() >= end.size() &&
         CompareStringOrdinal(text.data() + (text.size() - end.size()),
                              static_cast<int>(end.size()), end.data(),
                              static_cast<int>(end.size()), TRUE) == CSTR_EQUAL;
}

bool IsProgramFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
         std::any_of(kProgramExtensions.begin(), kProgramExtensions.end(),
                     [&](std::wstring_view extension) { return EndsWithIgnoringCase(path, extension); });
}

// Calls fill(buffer, size), which answers the length it wrote without the terminator, or
// when the buffer is too small the size it needs (never below size), or nothing on failure.
template <typename Fill>
std::optional<std::wstring> GrowingBufferText(Fill fill) {
  std::wstring text(MAX_PATH, L'\0');
  for (;;) {
    const std::optional<DWORD> length = fill(text.data(), static_cast<DWORD>(text.size()));
    if (!length) return std::nullopt;
    const bool fitted = *length < text.size();
    text.resize(*length);
    if (fitted) return text;
  }
}

std::optional<DWORD> UnlessZero(DWORD length) {
  return length == 0 ? std::nullopt : std::optional<DWORD>(length);
}

std::optional<std::wstring> WideEnvironmentVariable(const std::wstring& name) {
  return GrowingBufferText([&](wchar_t* buffer, DWORD size) -> std::optional<DWORD> {
    SetLastError(ERROR_SUCCESS);
    const DWORD length = GetEnvironmentVariableW(name.c_str(), buffer, size);
    if (length == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
    return length;
  });
}

// The file that runs for name, with ".exe" added to a name without an extension; nothing
// when there is no such program. A bare name is looked for along PATH alone: the system's
// own search looks in our program's folder and the current folder first, where whoever
// can write there could leave a program of that name. A path is taken as it stands.
// No program name holds a quote, and the command line could not carry one in it.
std::optional<std::wstring> ProgramPath(const std::string& name) {
  if (name.empty() || name.find_first_of(std::string("\"\0", 2)) != std::string::npos) {
    return std::nullopt;
  }
  const std::wstring wideName = WideFromGbk(name);
  const std::optional<std::wstring> searchPath = WideEnvironmentVariable(L"PATH");
  if (!searchPath) return std::nullopt;
  std::optional<std::wstring> path = GrowingBufferText([&](wchar_t* buffer, DWORD size) {
    return UnlessZero(SearchPathW(searchPath->c_str(), wideName.c_str(), kDefaultExtension, size,
                                  buffer, nullptr));
  });
  if (!path || !IsProgramFile(*path)) return std::nullopt;
  return path;
}

// A word of the command line after the first, by the rules CommandLineToArgvW reads:
// 2n backslashes before a quote stand for n, 2n+1 for n and a literal quote; elsewhere
// backslashes are literal.
void AppendQuoted(std::wstring& line, std::wstring_view word) {
  if (!word.empty() && word.find_first_of(L" \t\n\v\"") == std::wstring_view::npos) {
    line += word;
    return;
  }
  line += L'"';
  std::size_t backslashes = 0;
  for (const wchar_t c : word) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    line.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    line += c;
    backslashes = 0;
  }
  line.append(2 * backslashes, L'\\');  // the closing quote follows
  line += L'"';
}

bool HasZeroByte(const std::vector<std::string>& argv) {
  return std::any_of(argv.begin(), argv.end(),
                     [](const std::string& word) { return word.find('\0') != std::string::npos; });
}

HKEY RegistryRoot(int root) {
  return root >= 1 && root <= static_cast<int>(kRegistryRoots.size()) ? kRegistryRoots[root - 1]
                                                                       : nullptr;
}

}  // namespace

std::optional<std::string> SystemProgramPath(std::wstring_view file) {
  std::wstring folder(MAX_PATH, L'\0');
  const UINT length = GetSystemDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
  if (length == 0 || length >= folder.size()) return std::nullopt;
  folder.resize(length);
  return ExactGbkFromWide(folder + L"\\" + std::wstring(file));
}

std::wstring CommandLineFromArguments(const std::vector<std::wstring>& argv) {
  std::wstring line;
  for (std::size_t i = 0; i < argv.size(); ++i) {
    if (i == 0) {
      const bool blank = argv[0].empty() || argv[0].find_first_of(L" \t") != std::wstring::npos;
      line += blank ? L'"' + argv[0] + L'"' : argv[0];
    } else {
      line += L' ';
      AppendQuoted(line, argv[i]);
    }
  }
  return line;
}

bool WindowsProcessLauncher::Start(const std::vector<std::string>& argv, bool waitForExit) {
  if (argv.empty() || HasZeroByte(argv)) return false;
  const std::optional<std::wstring> path = ProgramPath(argv[0]);
  if (!path) return false;
  std::vector<std::wstring> words;
  for (const std::string& word : argv) words.push_back(WideFromGbk(word));
  std::wstring commandLine = CommandLineFromArguments(words);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const DWORD flags = waitForExit ? 0 : CREATE_NEW_CONSOLE;
  if (!CreateProcessW(path->c_str(), commandLine.data(), nullptr, nullptr, FALSE, flags, nullptr,
                      nullptr, &startup, &process)) {
    return false;
  }
  if (waitForExit) WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

bool WindowsProcessLauncher::HasProgram(const std::string& name) {
  return ProgramPath(name).has_value();
}

std::optional<std::string> WindowsProcessLauncher::Environment(const std::string& name) {
  return ReadEnvironmentVariable(name);
}

bool WindowsProcessLauncher::OpenWithShell(const std::string& address) {
  if (address.find('\0') != std::string::npos) return false;
  const std::wstring target = WideFromGbk(address);
  const ComForShell com;
  SHELLEXECUTEINFOW request{};
  request.cbSize = sizeof request;
  // NOASYNC: the handler may still be starting when this thread goes on or ends.
  // FLAG_NO_UI: a failure comes back here instead of as a message box.
  request.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  request.lpVerb = L"open";
  request.lpFile = target.c_str();
  request.nShow = SW_SHOWNORMAL;
  return ShellExecuteExW(&request) != FALSE;
}

std::optional<std::string> ReadEnvironmentVariable(std::string_view name) {
  if (name.empty() || name.find('\0') != std::string_view::npos) return std::nullopt;
  const std::optional<std::wstring> value = WideEnvironmentVariable(WideFromGbk(name));
  if (!value) return std::nullopt;
  return GbkFromWide(*value);
}

// The path's last part names the value; a path ending in '\' reads the key's default value.
std::string ReadRegistryText(int root, const std::string& path, const std::string& defaultText) {
  const HKEY rootKey = RegistryRoot(root);
  if (rootKey == nullptr || path.find('\0') != std::string::npos) return defaultText;
  const std::wstring widePath = WideFromGbk(path);
  const std::size_t split = widePath.rfind(L'\\');
  const std::wstring key = split == std::wstring::npos ? L"" : widePath.substr(0, split);
  const std::wstring value = split == std::wstring::npos ? widePath : widePath.substr(split + 1);
  // Expandable strings come back expanded; any other type is no text.
  const std::optional<std::wstring> text =
      GrowingBufferText([&](wchar_t* buffer, DWORD size) -> std::optional<DWORD> {
        DWORD bytes = size * sizeof(wchar_t);
        const LSTATUS status = RegGetValueW(rootKey, key.c_str(), value.c_str(), RRF_RT_REG_SZ,
                                            nullptr, buffer, &bytes);
        const DWORD characters = bytes / sizeof(wchar_t);  // the terminator included
        if (status == ERROR_MORE_DATA) return characters + 1;
        if (status != ERROR_SUCCESS) return std::nullopt;
        return characters == 0 ? 0 : characters - 1;
      });
  return text ? GbkFromWide(*text) : defaultText;
}

}  // namespace vardelle

// The Windows runtime: which engines the portable code gets, and the system's view of the
// program's arguments, streams, environment and folders, converted to GBK at this edge.
#include "runtime/platform.h"

#include <winsock2.h>
#include <windows.h>
#include <fcntl.h>
#include <io.h>
// Defines the folder ids here, so no GUID library has to be linked.
#include <initguid.h>
#include <knownfolders.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string_view>

#include "runtime/windows/host_resolver_winsock.h"
#include "runtime/windows/icmp_engine_windows.h"
#include "runtime/windows/process_launch_windows.h"
#include "runtime/windows/wide_text.h"

namespace vardelle {
namespace {

// Fibre-local storage: its callback runs on the ending thread, as a pthread key's destructor
// does on Linux.
class FlsExitSlot final : public ThreadExitSlot {
 public:
  explicit FlsExitSlot(DWORD index) : index_(index) {}
  void* Value() override { return FlsGetValue(index_); }
  bool SetValue(void* value) override { return FlsSetValue(index_, value) != 0; }

 private:
  DWORD index_;
};

struct LocalMemoryDeleter {
  void operator()(LPWSTR* memory) const { LocalFree(memory); }
};
struct TaskMemoryDeleter {
  void operator()(PWSTR memory) const { CoTaskMemFree(memory); }
};

// A folder that GBK cannot spell is given by its short name, plain ASCII, where the volume
// keeps short names; otherwise its GBK spelling would name some other folder.
std::string GbkFolderPath(const std::wstring& path) {
  if (std::optional<std::string> exact = ExactGbkFromWide(path)) return *exact;
  std::wstring shortPath(MAX_PATH, L'\0');
  const DWORD length =
      GetShortPathNameW(path.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
  if (length > 0 && length < shortPath.size()) {
    shortPath.resize(length);
    if (std::optional<std::string> exact = ExactGbkFromWide(shortPath)) return *exact;
  }
  return GbkFromWide(path);
}

std::wstring WideFromUtf8(std::string_view utf8) {
  const int size = static_cast<int>(utf8.size());
  std::wstring wide(
      static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0)),
      L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), static_cast<int>(wide.size()));
  return wide;
}

// Older consoles refuse a single write of more than about 64 KB; a piece never ends between
// the two halves of a surrogate pair.
void WriteConsoleText(HANDLE console, std::wstring_view text) {
  constexpr std::size_t kPiece = 8192;
  while (!text.empty()) {
    std::size_t length = std::min(kPiece, text.size());
    if (length < text.size() && IS_HIGH_SURROGATE(text[length - 1])) --length;
    DWORD written = 0;
    if (!WriteConsoleW(console, text.data(), static_cast<DWORD>(length), &written, nullptr)) return;
    text.remove_prefix(length);
  }
}

}  // namespace

void InitializeRuntimePlatform() { StartWinsock(); }

IcmpEngineStart StartSystemIcmpEngine() { return StartWindowsIcmpEngine(); }

IcmpEngineStart StartInProcessIcmpEngine() { return StartWindowsIcmpEngine(); }

bool RealUserIsRoot() { return false; }

std::unique_ptr<HostResolver> CreateSystemResolver() {
  return std::make_unique<WinsockResolver>();
}

std::unique_ptr<ProcessLauncher> CreateSystemLauncher() {
  return std::make_unique<WindowsProcessLauncher>();
}

std::optional<Ipv4Address> ParseDottedIpv4(const std::string& text) {
  in_addr address{};
  if (!StartWinsock() || inet_pton(AF_INET, text.c_str(), &address) != 1) return std::nullopt;
  return address.s_addr;
}

std::optional<Ipv6Address> ParseIpv6Literal(const std::string& text) {
  Ipv6Address address{};
  if (!StartWinsock() || inet_pton(AF_INET6, text.c_str(), address.data()) != 1) {
    return std::nullopt;
  }
  return address;
}

ClockTime LocalClockTime(std::chrono::system_clock::time_point moment) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(moment);
  std::tm local{};
  if (localtime_s(&local, &seconds) != 0) return {};
  return {local.tm_hour, local.tm_min};
}

// main's narrow arguments come in the ANSI code page, which loses what it cannot spell; the
// wide command line has every character.
std::vector<std::string> ProgramArguments(int, char**) {
  int count = 0;
  const std::unique_ptr<LPWSTR, LocalMemoryDeleter> words(
      CommandLineToArgvW(GetCommandLineW(), &count));
  std::vector<std::string> arguments;
  for (int i = 1; words && i < count; ++i) arguments.push_back(GbkFromWide(words.get()[i]));
  return arguments;
}

void WriteStandardStreamsAsBytes() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

void WriteStandardText(StandardStream stream, std::string_view utf8) {
  std::FILE* file = stream == StandardStream::kOutput ? stdout : stderr;
  std::fflush(file);
  const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  DWORD mode = 0;
  if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
    WriteConsoleText(handle, WideFromUtf8(utf8));
    return;
  }
  std::fwrite(utf8.data(), 1, utf8.size(), file);
  std::fflush(file);
}

std::optional<std::string> SystemDisplayLanguage() {
  wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
  const LCID language = MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT);
  if (LCIDToLocaleName(language, name, LOCALE_NAME_MAX_LENGTH, 0) == 0) return std::nullopt;
  return GbkFromWide(name);
}

std::optional<std::string> EnvironmentVariable(std::string_view name) {
  return ReadEnvironmentVariable(name);
}

std::optional<std::string> UserApplicationDataFolder() {
  PWSTR found = nullptr;
  const HRESULT result = SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &found);
  const std::unique_ptr<wchar_t, TaskMemoryDeleter> path(found);
  if (FAILED(result) || !path) return std::nullopt;
  return GbkFolderPath(path.get());
}

std::unique_ptr<ThreadExitSlot> CreateThreadExitSlot(ThreadExitSlot::Release release) {
  // The callback's parameter is the same void* under another name.
  const DWORD index = FlsAlloc(reinterpret_cast<PFLS_CALLBACK_FUNCTION>(release));
  if (index == FLS_OUT_OF_INDEXES) return nullptr;
  return std::make_unique<FlsExitSlot>(index);
}

}  // namespace vardelle

// What every platform supplies to the portable runtime. Each platform folder defines these
// in one file of its own (runtime/linux/platform.cpp here), the only place that names the
// platform's engines; RunHttpExchange (runtime/http/http_exchange.h), under the page fetch,
// is the platform's too.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/probes/host_resolver.h"
#include "runtime/probes/icmp_engine.h"
#include "runtime/process/process_launch.h"

namespace vardelle {

// Prepares the platform's libraries whose set-up is not thread-safe. Call it once at program
// start (and in test mains), before any thread exists; later calls do nothing. A program that
// fetches no page needs none of them (on Linux it lives with libcurl's own state, which such
// a program then does not link).
void InitializeRuntimePlatform();

// Starts the system's echo engine; called on the first probe and after a failed start. On
// Linux it is this process's own socket where the system allows one, else the privileged
// helper program (vardelle-ping --serve); the reason when neither names every refusal.
IcmpEngineStart StartSystemIcmpEngine();

// Starts an engine on this process's own socket or handle, never through a helper: what
// vardelle-ping itself runs, on the command line and as the helper.
IcmpEngineStart StartInProcessIcmpEngine();

// Whether the real user is the superuser (root), whose echoes need no pace; never on
// Windows, where the probe program holds no privilege of its own.
bool RealUserIsRoot();

// The system's name resolver.
std::unique_ptr<HostResolver> CreateSystemResolver();

// The system's way of starting programs.
std::unique_ptr<ProcessLauncher> CreateSystemLauncher();

// A dotted IPv4 address ("a.b.c.d", four decimal numbers of 0 to 255) as its wire bytes;
// nothing for any other text.
std::optional<Ipv4Address> ParseDottedIpv4(const std::string& text);

// An IPv6 address in its text form ("fd00::5", no zone) as its wire bytes; nothing for any
// other text.
std::optional<Ipv6Address> ParseIpv6Literal(const std::string& text);

// Per-thread storage whose value the platform hands to release on that thread as it ends,
// while the thread can still unlock what it holds (mingw frees a thread_local's storage
// before its destructor runs). A slot lives as long as the process; a thread's value starts
// as nullptr, and release is called only for values that are not.
class ThreadExitSlot {
 public:
  using Release = void (*)(void* value);
  virtual ~ThreadExitSlot() = default;
  virtual void* Value() = 0;
  // False when the system could not keep the value.
  virtual bool SetValue(void* value) = 0;
};
// Nothing when the system has no slot left.
std::unique_ptr<ThreadExitSlot> CreateThreadExitSlot(ThreadExitSlot::Release release);

// The time of day at moment on the user's clock, in the system's time zone.
struct ClockTime {
  int hour = 0;
  int minute = 0;
};
ClockTime LocalClockTime(std::chrono::system_clock::time_point moment);

// The folder the running program's file lies in, as GBK text without a trailing separator;
// "" when the system does not tell. Each platform's lives in runtime/*/program_folder_*.cpp.
std::string ProgramFolder();

// The program's arguments after its name, as GBK text: main's own on Linux, where they are
// the bytes the caller gave; the wide command line, converted, on Windows.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Standard output and error written byte for byte: no line-end rewriting where the system
// would do some. Call before the first write.
void WriteStandardStreamsAsBytes();

// Writes UTF-8 text to standard output or error, flushed. A Windows console reads bytes in
// its own code page (936 on a Chinese system), so it is given the text as UTF-16; anywhere
// else (a file, a pipe, a Linux terminal) the bytes go as they are.
enum class StandardStream { kOutput, kError };
void WriteStandardText(StandardStream stream, std::string_view utf8);

// The language the user reads the system in, as a tag such as "zh-CN": Windows's display
// language; nothing on Linux, where the environment's LANG says it.
std::optional<std::string> SystemDisplayLanguage();

// An environment variable's value as GBK text; nothing when it is not set.
std::optional<std::string> EnvironmentVariable(std::string_view name);

// The folder the system keeps per-user application data in (%APPDATA% on Windows), as GBK
// text; nothing on a system that leaves it to environment conventions (XDG on Linux).
std::optional<std::string> UserApplicationDataFolder();

// The requests to end the program that a program without a window answers itself: SIGINT or
// SIGTERM on Linux (one left ignored by the caller, as a shell's background job's SIGINT,
// stays ignored); Ctrl+C, Ctrl+Break, the console closing, log-off or shut-down on Windows.
// While a hook lives, the first request calls its onRequest on a thread of the platform's
// instead of ending the process, and a second ends the process at once, as unhooked.
// Destroying the hook waits for an onRequest under way and puts the handling before it back.
// Each platform's hook lives in a file of its own (runtime/*/termination_hook_*.cpp).
class TerminationHook {
 public:
  virtual ~TerminationHook() = default;
};
// Nothing when a hook lives already or the system refused one.
std::unique_ptr<TerminationHook> HookTerminationRequests(std::function<void()> onRequest);

}  // namespace vardelle

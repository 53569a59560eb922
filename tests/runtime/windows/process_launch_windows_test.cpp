// Starting programs on Windows. The program started is this test binary itself: started with
// kRecordTo set, it writes down the arguments and console it got, then ends before any test
// runs.
#include "runtime/windows/process_launch_windows.h"

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "runtime/platform.h"
#include "runtime/process/outside_programs.h"
#include "runtime/windows/wide_text.h"
#include "tests/recording_launcher.h"

namespace vardelle {
namespace {

using Argv = std::vector<std::string>;
using WideArgv = std::vector<std::wstring>;

constexpr wchar_t kRecordTo[] = L"VARDELLE_TEST_RECORD_TO";
constexpr wchar_t kWatchedHandle[] = L"VARDELLE_TEST_WATCHED_HANDLE";
constexpr wchar_t kReleaseEvent[] = L"VARDELLE_TEST_RELEASE_EVENT";

std::wstring Variable(const wchar_t* name) {
  wchar_t value[MAX_PATH] = {};
  return GetEnvironmentVariableW(name, value, MAX_PATH) < MAX_PATH ? value : L"";
}

WideArgv SplitCommandLine(const std::wstring& line) {
  int count = 0;
  LPWSTR* words = CommandLineToArgvW(line.c_str(), &count);
  WideArgv argv(words, words + count);
  LocalFree(words);
  return argv;
}

// GBK lines: the program's arguments as ProgramArguments gives them, then "console N" (how
// many processes share its console) and "handle H" (the file a handle of the parent's names
// here, if any). Written once the parent's release event is set, if it named one.
void RecordAndExit(const std::wstring& file) {
  Sleep(300);  // a waiting start must outlast this
  if (const HANDLE release = OpenEventW(SYNCHRONIZE, FALSE, Variable(kReleaseEvent).c_str())) {
    WaitForSingleObject(release, 20000);
  }
  std::string record;
  for (const std::string& argument : ProgramArguments(0, nullptr)) record += argument + "\n";
  DWORD processes[8];
  record += "console " + std::to_string(GetConsoleProcessList(processes, 8)) + "\n";
  wchar_t named[MAX_PATH] = {};
  const auto handle = reinterpret_cast<HANDLE>(std::stoull(L"0" + Variable(kWatchedHandle)));
  GetFinalPathNameByHandleW(handle, named, MAX_PATH, 0);
  record += "handle " + std::string(named, named + wcslen(named)) + "\n";
  const HANDLE out = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(out, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
  CloseHandle(out);
  ExitProcess(0);
}

[[maybe_unused]] const bool kRecordingChild = [] {
  const std::wstring file = Variable(kRecordTo);
  if (!file.empty()) RecordAndExit(file);
  return false;
}();

std::wstring SelfPath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

std::wstring TempFile(const std::wstring& name) {
  wchar_t directory[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, directory);
  return directory + name + std::to_wstring(GetCurrentProcessId());
}

// A tool of the system's own, by full path.
std::string SystemProgram(const std::wstring& file) {
  wchar_t folder[MAX_PATH] = {};
  GetSystemDirectoryW(folder, MAX_PATH);
  return GbkFromWide(folder + (L"\\" + file));
}

std::string ReadRecord(const std::wstring& file) {
  const HANDLE in = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, 0, nullptr);
  if (in == INVALID_HANDLE_VALUE) return "";
  std::string record(8192, '\0');
  DWORD read = 0;
  ReadFile(in, record.data(), static_cast<DWORD>(record.size()), &read, nullptr);
  CloseHandle(in);
  record.resize(read);
  return record;
}

TEST(CommandLineFromArgumentsTest, TheSystemsParserGetsTheSameWordsBack) {
  const WideArgv cases[] = {
      {L"program", L"plain", L"two words", L"", L"tab\there", L"new\nline"},
      {L"C:\\Program Files\\x.exe", L"say \"hi\"", L"\"", L"\"\""},
      {L"program", L"back\\slash", L"trail\\", L"trail\\\\", L"\\\\server\\share\\"},
      {L"program", L"\\\"", L"a\\\\\"b", L"quoted \\\"tail\\", L"中文 参数"},
  };
  for (const WideArgv& argv : cases) {
    const std::wstring line = CommandLineFromArguments(argv);
    EXPECT_EQ(SplitCommandLine(line), argv) << GbkFromWide(line);
  }
}

class WindowsLauncherTest : public ::testing::Test {
 protected:
  void SetUp() override { SetEnvironmentVariableW(kRecordTo, record.c_str()); }
  void TearDown() override {
    SetEnvironmentVariableW(kRecordTo, nullptr);
    DeleteFileW(record.c_str());
  }

  // What the started program wrote, once it has written it, or "" after ten seconds.
  std::string WaitForRecord() {
    for (int tries = 0; tries < 1000; ++tries) {
      const std::string written = ReadRecord(record);
      if (written.find("handle ") != std::string::npos) return written;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return "";
  }

  const std::wstring record = TempFile(L"vardelle-launch-record-");
  const std::unique_ptr<ProcessLauncher> launcher = CreateSystemLauncher();
};

// The words arrive as given, GBK turned into the system's text; the program inherits no
// handle of ours; the call returns once the program has ended.
TEST_F(WindowsLauncherTest, AWaitedStartPassesTheWordsAndWaits) {
  const std::wstring shared = TempFile(L"vardelle-launch-shared-");
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  const HANDLE ours = CreateFileW(shared.c_str(), GENERIC_WRITE, 0, &inheritable, CREATE_ALWAYS,
                                  FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  ASSERT_NE(ours, INVALID_HANDLE_VALUE);
  SetEnvironmentVariableW(kWatchedHandle,
                          std::to_wstring(reinterpret_cast<std::uintptr_t>(ours)).c_str());
  const std::string self = GbkFromWide(SelfPath());
  EXPECT_TRUE(launcher->Start({self, "one", "two words", "", "quo\"te", "back\\", "中文"}, true));
  const std::string written = ReadRecord(record);
  EXPECT_TRUE(written.starts_with("one\ntwo words\n\nquo\"te\nback\\\n中文\nconsole ")) << written;
  EXPECT_TRUE(written.ends_with("handle \n")) << "the program got our file handle: " << written;
  SetEnvironmentVariableW(kWatchedHandle, nullptr);
  CloseHandle(ours);
}

// Detached, the program returns at once and runs in a console of its own.
TEST_F(WindowsLauncherTest, ADetachedStartGetsAConsoleOfItsOwn) {
  const std::wstring name = L"vardelle-launch-release-" + std::to_wstring(GetCurrentProcessId());
  const HANDLE release = CreateEventW(nullptr, TRUE, FALSE, name.c_str());
  SetEnvironmentVariableW(kReleaseEvent, name.c_str());
  EXPECT_TRUE(launcher->Start({GbkFromWide(SelfPath()), "alone"}, false));
  EXPECT_TRUE(ReadRecord(record).empty()) << "returned before the program wrote anything";
  SetEvent(release);
  SetEnvironmentVariableW(kReleaseEvent, nullptr);
  CloseHandle(release);
  EXPECT_TRUE(WaitForRecord().starts_with("alone\nconsole 1\n")) << WaitForRecord();
}

// Started from a wide command line directly: ProgramArguments has every word, in GBK, and
// '?' for a character GBK lacks.
TEST_F(WindowsLauncherTest, ProgramArgumentsAreTheWideCommandLineInGbk) {
  std::wstring line = CommandLineFromArguments({SelfPath(), L"one", L"two words", L"", L"中文", L"한"});
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  ASSERT_TRUE(CreateProcessW(SelfPath().c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                             nullptr, &startup, &process));
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  EXPECT_TRUE(ReadRecord(record).starts_with("one\ntwo words\n\n中文\n?\nconsole ")) << ReadRecord(record);
}

TEST_F(WindowsLauncherTest, StartsNothingThatIsNoProgram) {
  const std::wstring batch = TempFile(L"vardelle-script-") + L".bat";
  const HANDLE file = CreateFileW(batch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(file);
  const std::string self = GbkFromWide(SelfPath());
  const struct {
    Argv argv;
    bool isProgram;  // the name is fine, the arguments are not
  } cases[] = {
      {{}, false},
      {{"vardelle-no-such-program"}, false},
      {{GbkFromWide(batch), "x"}, false},  // cmd.exe would read its arguments
      {{GbkFromWide(TempFile(L""))}, false},  // a directory
      {{"\"" + self + "\""}, false},
      {{self, std::string("a\0b", 3)}, true},  // would be cut short at the zero byte
  };
  for (const auto& [argv, isProgram] : cases) {
    const std::string name = argv.empty() ? "" : argv[0];
    EXPECT_FALSE(launcher->Start(argv, true)) << name;
    EXPECT_EQ(launcher->HasProgram(name), isProgram) << name;
  }
  EXPECT_TRUE(ReadRecord(record).empty());
  EXPECT_TRUE(launcher->HasProgram(self));
  EXPECT_TRUE(launcher->HasProgram("cmd")) << "found on the system's path with .exe added";
  DeleteFileW(batch.c_str());
}

TEST(WindowsEnvironmentTest, VariablesReadAsGbk) {
  const std::wstring longValue(1000, L'v');
  const struct {
    const wchar_t* set;
    std::optional<std::string> expected;
  } cases[] = {
      {L"值 value", "值 value"},
      {longValue.c_str(), std::string(1000, 'v')},
      {nullptr, std::nullopt},
  };
  for (const auto& c : cases) {
    SetEnvironmentVariableW(L"VARDELLE_TEST_VARIABLE", c.set);
    const auto launcher = CreateSystemLauncher();
    EXPECT_EQ(launcher->Environment("VARDELLE_TEST_VARIABLE"), c.expected);
    EXPECT_EQ(EnvironmentVariable("VARDELLE_TEST_VARIABLE"), c.expected);
  }
  EXPECT_EQ(EnvironmentVariable(""), std::nullopt);
}

// Values under HKEY_CURRENT_USER (root 3) that the test writes and removes again.
TEST(RegistryTextTest, ReadsTextValuesAndFallsBackOtherwise) {
  constexpr wchar_t kKey[] = L"Software\\VardelleRegistryTest";
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  const auto setText = [&](const wchar_t* name, DWORD type, const std::wstring& text) {
    RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  };
  setText(L"text", REG_SZ, L"文本 text");
  setText(L"long", REG_SZ, std::wstring(700, L'x'));
  setText(L"empty", REG_SZ, L"");
  setText(L"expandable", REG_EXPAND_SZ, L"%VARDELLE_REGISTRY_TEST%\\x");
  setText(nullptr, REG_SZ, L"default");
  const DWORD number = 7;
  RegSetValueExW(key, L"number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
  SetEnvironmentVariableW(L"VARDELLE_REGISTRY_TEST", L"expanded");
  const struct {
    int root;
    const char* path;
    std::string expected;
  } cases[] = {
      {3, "Software\\VardelleRegistryTest\\text", "文本 text"},
      {3, "Software\\VardelleRegistryTest\\long", std::string(700, 'x')},
      {3, "Software\\VardelleRegistryTest\\empty", ""},
      {3, "Software\\VardelleRegistryTest\\expandable", "expanded\\x"},
      {3, "Software\\VardelleRegistryTest\\", "default"},
      {3, "Software\\VardelleRegistryTest\\number", "fallback"},
      {3, "Software\\VardelleRegistryTest\\absent", "fallback"},
      {4, "Software\\VardelleRegistryTest\\text", "fallback"},  // local machine
      {0, "Software\\VardelleRegistryTest\\text", "fallback"},
      {6, "Software\\VardelleRegistryTest\\text", "fallback"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ReadRegistryText(c.root, c.path, "fallback"), c.expected) << c.root << " " << c.path;
  }
  RegCloseKey(key);
  RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
  SetEnvironmentVariableW(L"VARDELLE_REGISTRY_TEST", nullptr);
}

TEST(ConsoleToolsTest, EachToolStartsDetachedOrSaysWhatIsMissing) {
  using Start = LaunchOutcome (*)(ProcessLauncher&, const std::string&);
  const struct {
    Start start;
    ProgramRole role;
    Argv argv;
  } tools[] = {
      {StartPingConsole, ProgramRole::kPing, {SystemProgram(L"PING.EXE"), "-t", "127.0.0.1"}},
      {StartRouteTraceConsole,
       ProgramRole::kRouteTracer,
       {SystemProgram(L"TRACERT.EXE"), "127.0.0.1"}},
  };
  for (const auto& tool : tools) {
    const std::string name = tool.argv.front();
    testing::RecordingLauncher installed;
    installed.programs = {name};
    EXPECT_EQ(tool.start(installed, "127.0.0.1").result, LaunchOutcome::Result::kStarted);
    EXPECT_EQ(installed.started, std::vector<Argv>{tool.argv});
    EXPECT_EQ(installed.waited, std::vector<bool>{false});

    testing::RecordingLauncher broken;
    broken.programs = {name};
    broken.startSucceeds = false;
    const LaunchOutcome failed = tool.start(broken, "127.0.0.1");
    EXPECT_EQ(failed.result, LaunchOutcome::Result::kStartFailed);
    EXPECT_EQ(failed.role, tool.role);
    EXPECT_EQ(failed.programs, Argv{name});

    testing::RecordingLauncher empty;
    const LaunchOutcome missing = tool.start(empty, "127.0.0.1");
    EXPECT_EQ(missing.result, LaunchOutcome::Result::kMissing);
    EXPECT_EQ(missing.programs, Argv{name});
    EXPECT_TRUE(empty.started.empty());
  }
}

// Finds programs as the system's launcher does, and only records what it is asked to start.
class FindingLauncher final : public testing::RecordingLauncher {
 public:
  bool HasProgram(const std::string& name) override { return system->HasProgram(name); }

 private:
  const std::unique_ptr<ProcessLauncher> system = CreateSystemLauncher();
};

// A ping.exe in the program's own folder, here a copy of this binary that records its start,
// is never the one started: neither by the row action's ping nor for the bare name.
TEST_F(WindowsLauncherTest, APingBesideTheProgramIsNeverStarted) {
  std::wstring planted = SelfPath();
  planted.replace(planted.rfind(L'\\') + 1, std::wstring::npos, L"ping.exe");
  ASSERT_TRUE(CopyFileW(SelfPath().c_str(), planted.c_str(), FALSE));
  FindingLauncher finding;
  StartPingConsole(finding, "127.0.0.1");
  ASSERT_EQ(finding.started.size(), 1u);
  // One echo, a second waited for, where the console's -t would never end.
  for (const std::string& ping : {finding.started[0][0], std::string("ping")}) {
    EXPECT_TRUE(launcher->Start({ping, "-n", "1", "-w", "1000", "127.0.0.1"}, true)) << ping;
  }
  DeleteFileW(planted.c_str());
  EXPECT_EQ(ReadRecord(record), "") << "the planted ping.exe was started";
}

// A scheme of the test's own stands in for the web: its handler is this binary. Written
// through the merged classes root, which Wine keeps in the machine's hive.
TEST_F(WindowsLauncherTest, TheBrowserIsWhatTheShellOpensTheAddressWith) {
  constexpr wchar_t kScheme[] = L"vardelle-test-scheme";
  const std::wstring command = L"\"" + SelfPath() + L"\" \"%1\"";
  ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, (std::wstring(kScheme) + L"\\shell\\open\\command").c_str(),
                            nullptr, REG_SZ, command.c_str(),
                            static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
  RegSetKeyValueW(HKEY_CLASSES_ROOT, kScheme, L"URL Protocol", REG_SZ, L"", sizeof(wchar_t));

  EXPECT_TRUE(launcher->OpenWithShell("vardelle-test-scheme:page?x=1"));
  EXPECT_TRUE(WaitForRecord().starts_with("vardelle-test-scheme:page?x=1\n")) << WaitForRecord();
  EXPECT_FALSE(launcher->OpenWithShell("vardelle-no-handler-scheme:x"));

  // The action goes through the launcher, so tests never reach a real browser.
  testing::RecordingLauncher recording;
  EXPECT_EQ(OpenInBrowser(recording, "http://127.0.0.1/").result, LaunchOutcome::Result::kStarted);
  recording.startSucceeds = false;
  const LaunchOutcome failed = OpenInBrowser(recording, "http://127.0.0.1/x");
  EXPECT_EQ(failed.result, LaunchOutcome::Result::kStartFailed);
  EXPECT_EQ(failed.role, ProgramRole::kBrowser);
  EXPECT_EQ(recording.openedWithShell,
            (std::vector<std::string>{"http://127.0.0.1/", "http://127.0.0.1/x"}));
  EXPECT_TRUE(recording.started.empty());
  RegDeleteTreeW(HKEY_CLASSES_ROOT, kScheme);
}

}  // namespace
}  // namespace vardelle

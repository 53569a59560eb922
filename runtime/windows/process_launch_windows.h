// Starting programs on Windows: CreateProcessW with a command line that the program's own
// parser reads back as the very argument vector it was given.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/process/process_launch.h"

namespace vardelle {

// A detached start gives the program a console of its own (CREATE_NEW_CONSOLE): it outlives
// ours and must not write into ours or end with it. Programs of the window subsystem get
// no console whatever the flag says, so a browser is not touched by it. A waited start
// shares our console, as a program the user waits for should.
class WindowsProcessLauncher final : public ProcessLauncher {
 public:
  bool Start(const std::vector<std::string>& argv, bool waitForExit) override;
  bool HasProgram(const std::string& name) override;
  std::optional<std::string> Environment(const std::string& name) override;
  // Through ShellExecuteExW, which, unlike ShellExecute, tells when it failed.
  bool OpenWithShell(const std::string& address) override;
};

// The argument vector as one command line that CommandLineToArgvW and the C runtime split
// back into the same words: blanks and quotes inside a word are quoted, and backslashes
// are doubled only where they come before a quote. The first word, the program's name, is
// read by simpler rules: it is only put in quotes, so it must hold no quote itself.
std::wstring CommandLineFromArguments(const std::vector<std::wstring>& argv);

// The full path, in GBK, of file in the system folder (System32); nothing when GBK cannot
// spell it.
std::optional<std::string> SystemProgramPath(std::wstring_view file);

// An environment variable's value as GBK text; nothing when it is not set.
std::optional<std::string> ReadEnvironmentVariable(std::string_view name);

}  // namespace vardelle

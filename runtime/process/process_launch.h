// Starting outside programs: the console tools and the web browser that the user asks for.
// Every start hands the program an argument vector; no shell ever reads a command text, so
// nothing in an argument can turn into more commands or redirections.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vardelle {

class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;

  // Starts argv[0] (looked up on the search path unless it holds a '/') with argv as its
  // argument vector and the program's own environment and directory; it inherits no
  // descriptor beyond standard input, output and error. Without waitForExit the program is
  // detached (it outlives ours, leaves no zombie) and the call returns at once; with it,
  // the call returns when the program has ended. False when argv is empty or the program
  // could not be started.
  virtual bool Start(const std::vector<std::string>& argv, bool waitForExit) = 0;

  // Whether Start would find a program of that name.
  virtual bool HasProgram(const std::string& name) = 0;

  // The value of one of the program's environment variables; nothing when it is not set.
  virtual std::optional<std::string> Environment(const std::string& name) = 0;
  // Opens address as the system's shell does, with the program the user chose for it (the
  // browser, for a web address); false when that failed. Linux has no such shell service and
  // opens addresses through named programs, so its launcher keeps this answer.
  virtual bool OpenWithShell(const std::string& address) {
    static_cast<void>(address);
    return false;
  }
};

// Starts the program that commandLine names: its words, separated by blanks, are the
// argument vector; a double-quoted stretch is one word (quotes dropped), never read by a
// shell. With wait, returns when the program has ended. True when it was started. There is
// no show mode: desktops here let each program place its own window.
bool RunCommandLine(ProcessLauncher& launcher, const std::string& commandLine, bool wait);

// The text value at path under a registry root (1 classes root ... 5 users); a system
// without a registry, this one, answers defaultText for every read.
std::string ReadRegistryText(int root, const std::string& path, const std::string& defaultText);

}  // namespace vardelle

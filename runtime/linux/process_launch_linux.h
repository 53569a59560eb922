// Starting programs on POSIX systems: fork and exec, with a second fork for programs that
// run on their own.
#pragma once

#include "runtime/process/process_launch.h"

namespace vardelle {

class PosixProcessLauncher final : public ProcessLauncher {
 public:
  bool Start(const std::vector<std::string>& argv, bool waitForExit) override;
  bool HasProgram(const std::string& name) override;
  std::optional<std::string> Environment(const std::string& name) override;
};

}  // namespace vardelle

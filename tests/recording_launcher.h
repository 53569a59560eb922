// A launcher that starts nothing: it records every argument vector it is asked to start and
// finds only the programs and environment variables that the test gives it.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "runtime/process/process_launch.h"

namespace vardelle::testing {

class RecordingLauncher : public ProcessLauncher {
 public:
  bool Start(const std::vector<std::string>& argv, bool waitForExit) override {
    started.push_back(argv);
    waited.push_back(waitForExit);
    return startSucceeds;
  }
  bool HasProgram(const std::string& name) override { return programs.contains(name); }
  bool OpenWithShell(const std::string& address) override {
    openedWithShell.push_back(address);
    return startSucceeds;
  }
  std::optional<std::string> Environment(const std::string& name) override {
    const auto found = environment.find(name);
    return found == environment.end() ? std::nullopt : std::optional(found->second);
  }

  std::set<std::string> programs;
  std::map<std::string, std::string> environment;
  bool startSucceeds = true;
  std::vector<std::vector<std::string>> started;
  std::vector<bool> waited;
  std::vector<std::string> openedWithShell;
};

}  // namespace vardelle::testing

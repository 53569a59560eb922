// The whole program, closed while its first test run has requests in flight (the status
// site never answers; in one variant the location service does not either): it ends with 0,
// promptly, without a sanitizer report, whether its work stopped in time or was left behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "testing/await_condition.h"
#include "testing/raw_socket_server.h"
#include "tests/support/temp_dir.h"

namespace vardelle {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

struct Ending {
  int status = -1;
  Clock::duration took{};
  std::string errors;  // the program's standard error
};

// Starts the program with arguments, lets it run until inFlight says its requests are out,
// then sends SIGTERM and waits for the end (killing it after a minute).
Ending CloseDuringRun(const std::vector<std::string>& arguments,
                      const std::function<bool()>& inFlight, const std::string& folder) {
  std::vector<std::string> words{VARDELLE_PROGRAM};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  std::vector<std::string> settings{"QT_QPA_PLATFORM=offscreen", "XDG_CONFIG_HOME=" + folder};
  std::vector<char*> environment;
  for (std::string& variable : settings) environment.push_back(variable.data());
  for (char** variable = environ; *variable != nullptr; ++variable) {
    if (!std::string_view(*variable).starts_with("XDG_CONFIG_HOME=")) {
      environment.push_back(*variable);
    }
  }
  environment.push_back(nullptr);
  const std::string errorFile = folder + "/stderr";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t child = 0;
  Ending ending;
  const bool spawned =
      posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environment.data()) == 0;
  posix_spawn_file_actions_destroy(&actions);
  if (!spawned) return ending;
  EXPECT_TRUE(testing::AwaitCondition(inFlight, 60s)) << "the run's requests never went out";
  kill(child, SIGTERM);
  const auto closed = Clock::now();
  int status = 0;
  if (!testing::AwaitCondition([&] { return waitpid(child, &status, WNOHANG) == child; }, 60s)) {
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
  }
  ending.took = Clock::now() - closed;
  ending.status = status;
  std::ifstream errors(errorFile);
  std::stringstream text;
  text << errors.rdbuf();
  ending.errors = text.str();
  return ending;
}

TEST(ProgramExitTest, ClosingDuringARunEndsCleanlyAndPromptly) {
  testing::KeepLoopbackTrafficDirect();
  for (const bool locationSilent : {false, true}) {
    for (int attempt = 0; attempt < 4; ++attempt) {
      SCOPED_TRACE(std::string(locationSilent ? "location silent" : "location answers") +
                   ", attempt " + std::to_string(attempt));
      std::atomic<int> statusAsked{0};
      std::atomic<int> locationAsked{0};
      testing::RawSocketServer statusSite([&](testing::RawConnection& connection) {
        ++statusAsked;
        connection.Hold(60s);
      });
      testing::RawSocketServer locationSite([&](testing::RawConnection& connection) {
        ++locationAsked;
        connection.Hold(60s);
      });
      std::vector<std::string> arguments{"--demo", "--status-site", statusSite.Url("")};
      if (locationSilent) {
        arguments.insert(arguments.end(), {"--iplocation", locationSite.Url("")});
      }
      testing_files::TempDir folder;
      const Ending ending = CloseDuringRun(
          arguments, [&] { return statusAsked > 0 && (!locationSilent || locationAsked > 0); },
          folder.path.string());
      EXPECT_TRUE(WIFEXITED(ending.status) && WEXITSTATUS(ending.status) == 0)
          << "status " << ending.status << "\n"
          << ending.errors;
      // The program gives its work a second; the rest is a slow machine's margin.
      EXPECT_LT(ending.took, 10s);
      EXPECT_EQ(ending.errors.find("Sanitizer"), std::string::npos) << ending.errors;
      EXPECT_EQ(ending.errors.find("runtime error"), std::string::npos) << ending.errors;
    }
  }
}

}  // namespace
}  // namespace vardelle

// Tests that run in a network namespace of their own: the test as started runs itself again
// in a child process, which moves into a fresh namespace (loopback up, nothing else) and runs
// the test's body; the parent records the child's outcome. Needs root (or CAP_SYS_ADMIN and
// CAP_NET_ADMIN); without it the test is skipped with the reason.
//
//   TEST(...) {
//     RUN_IN_OWN_NETWORK();
//     ... the body, inside the namespace ...
//   }
#pragma once

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "testing/tun_network.h"

extern char** environ;

namespace vardelle::own_network {

inline constexpr char kInsideMarker[] = "VARDELLE_PROBE_TEST_IN_OWN_NETWORK";
inline constexpr int kCannotIsolate = 77;
inline constexpr auto kChildDeadline = std::chrono::seconds(60);

inline std::string CurrentTestName() {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  return std::string(test->test_suite_name()) + "." + test->name();
}

// Runs this very test again in a child process that moves into a network namespace of its
// own; returns the child's wait status, or nothing when it could not be started or ended.
inline std::optional<int> RunCurrentTestInChild() {
  std::string filter = "--gtest_filter=" + CurrentTestName();
  std::string brief = "--gtest_brief=" + std::to_string(GTEST_FLAG_GET(brief) ? 1 : 0);
  std::string exe = "/proc/self/exe";
  std::vector<char*> arguments = {exe.data(), filter.data(), brief.data(), nullptr};
  std::string marker = std::string(kInsideMarker) + "=1";
  std::vector<char*> environment = {marker.data()};
  for (char** variable = environ; *variable != nullptr; ++variable) {
    environment.push_back(*variable);
  }
  environment.push_back(nullptr);
  pid_t child = 0;
  if (posix_spawn(&child, exe.c_str(), nullptr, nullptr, arguments.data(), environment.data()) !=
      0) {
    return std::nullopt;
  }
  const auto deadline = std::chrono::steady_clock::now() + kChildDeadline;
  int status = 0;
  while (waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      return std::nullopt;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return status;
}

inline void RecordChildOutcome(std::optional<int> status) {
  if (!status) {
    ADD_FAILURE() << "the test's child process did not start or did not end in time";
  } else if (WIFEXITED(*status) && WEXITSTATUS(*status) == kCannotIsolate) {
    GTEST_SKIP() << "needs root (or CAP_SYS_ADMIN and CAP_NET_ADMIN) for a network namespace";
  } else {
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0)
        << "the test failed in its own network; its output is above";
  }
}

// True in the child, which then owns a fresh network with loopback up. In the test as
// started, runs the child, records its outcome and answers false.
inline bool RunsInOwnNetwork() {
  if (std::getenv(kInsideMarker) != nullptr) {
    const std::string why = testnet::EnterPrivateNetwork();
    if (!why.empty()) {
      std::fprintf(stderr, "%s\n", why.c_str());
      std::fflush(stderr);
      std::_Exit(kCannotIsolate);
    }
    return true;
  }
  RecordChildOutcome(RunCurrentTestInChild());
  return false;
}

}  // namespace vardelle::own_network

#define RUN_IN_OWN_NETWORK() \
  if (!::vardelle::own_network::RunsInOwnNetwork()) return

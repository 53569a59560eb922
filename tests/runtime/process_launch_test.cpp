// Starting programs: command lines become argument vectors without a shell, and the
// system's launcher really starts a program, detached, seeing only the argv it was given.
#include "runtime/process/process_launch.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "runtime/platform.h"
#include "runtime/process/outside_programs.h"
#include "tests/recording_launcher.h"
#include "tests/support/temp_dir.h"

namespace vardelle {
namespace {

using Argv = std::vector<std::string>;
using testing_files::ReadBytes;
using testing_files::TempDir;
using testing_files::WriteBytes;

TEST(RunCommandLineTest, WordsBecomeTheArgumentVector) {
  const std::vector<std::pair<std::string, Argv>> cases{
      {"ping  127.0.0.1\t-c 1", {"ping", "127.0.0.1", "-c", "1"}},
      {"\"/opt/My Browser/run\" \"a b\"c ;id", {"/opt/My Browser/run", "a bc", ";id"}},
      {"tool \"\"", {"tool", ""}},
  };
  for (const auto& [line, argv] : cases) {
    testing::RecordingLauncher launcher;
    EXPECT_TRUE(RunCommandLine(launcher, line, true)) << line;
    EXPECT_EQ(launcher.started, std::vector<Argv>{argv}) << line;
    EXPECT_EQ(launcher.waited, std::vector{true}) << line;
  }
  testing::RecordingLauncher launcher;
  EXPECT_FALSE(RunCommandLine(launcher, " \t", false));
  EXPECT_TRUE(launcher.started.empty());
}

// A PATH of nothing but a temp dir holding fake programs: each writes its argument words,
// one a line, to a file named after it, then what the test wants to know, then "end".
class SystemLauncherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* path = std::getenv("PATH");
    savedPath = path ? path : "";
    setenv("PATH", dir.path.c_str(), 1);
  }
  void TearDown() override { setenv("PATH", savedPath.c_str(), 1); }

  // afterRecord runs once "end" is written.
  void WriteProgram(const std::string& name, const std::string& extraLines,
                    const std::string& afterRecord = "") {
    const std::string file = dir.File(name);
    WriteBytes(file, "#!/bin/sh\nexec > \"" + file + ".argv\"\n" +
                         "for word in \"$@\"; do printf '%s\\n' \"$word\"; done\n" + extraLines +
                         "echo end\n" + afterRecord);
    chmod(file.c_str(), 0755);
  }
  // What the program wrote once it has finished writing, or "" after five seconds.
  std::string WaitForRecord(const std::string& name) {
    for (int tries = 0; tries < 500; ++tries) {
      const std::string record = ReadBytes(dir.File(name) + ".argv");
      if (record.ends_with("end\n")) return record;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return "";
  }

  TempDir dir;
  std::string savedPath;
  std::unique_ptr<ProcessLauncher> launcher = CreateSystemLauncher();
};

TEST_F(SystemLauncherTest, PingConsoleStartsTheTerminalDetachedAndAlone) {
  // A descriptor of ours that the program must not get.
  int pipeEnds[2] = {-1, -1};
  ASSERT_EQ(pipe(pipeEnds), 0);
  const int ours = fcntl(pipeEnds[0], F_DUPFD, 60);
  WriteProgram("x-terminal-emulator",
               "[ -e /proc/$$/fd/" + std::to_string(ours) + " ] && echo leaked\n" +
                   "read -r stat < /proc/$$/stat; set -- $stat; echo \"parent $4\"; "
                   "echo \"session $6\"\n",
               // Runs until the test lets it go (20 s at most), so a launch that waited
               // for it would take 20 s.
               "i=0; while [ $i -lt 200 ] && [ ! -e \"" + dir.File("release") +
                   "\" ]; do /bin/sleep 0.1; i=$((i + 1)); done\n");
  WriteProgram("ping", "");

  const auto before = std::chrono::steady_clock::now();
  const LaunchOutcome outcome = StartPingConsole(*launcher, "127.0.0.1");
  EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(10));
  WriteBytes(dir.File("release"), "");
  EXPECT_EQ(outcome.result, LaunchOutcome::Result::kStarted);
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1) << "a child of ours is left over";

  const std::string record = WaitForRecord("x-terminal-emulator");
  EXPECT_TRUE(record.starts_with("-e\nping\n127.0.0.1\nparent ")) << record;
  EXPECT_EQ(record.find("leaked"), std::string::npos) << record;
  EXPECT_EQ(record.find("parent " + std::to_string(getpid()) + "\n"), std::string::npos)
      << "still our child: " << record;
  EXPECT_EQ(record.find("session " + std::to_string(getsid(0)) + "\n"), std::string::npos)
      << "still in our session: " << record;
  for (int fd : {pipeEnds[0], pipeEnds[1], ours}) close(fd);
}

TEST_F(SystemLauncherTest, WaitingRunReturnsAfterTheProgramEnded) {
  WriteProgram("record", "");
  ASSERT_TRUE(RunCommandLine(*launcher, "record one \"two words\"", true));
  EXPECT_EQ(ReadBytes(dir.File("record.argv")), "one\ntwo words\nend\n");
}

TEST_F(SystemLauncherTest, StartsNothingThatIsNoProgram) {
  WriteBytes(dir.File("plain"), "#!/bin/sh\n");
  WriteProgram("record", "");
  for (const Argv& argv : {Argv{"plain"}, Argv{"absent"}, Argv{}, Argv{"record", {"a\0b", 3}}}) {
    EXPECT_FALSE(launcher->Start(argv, true)) << (argv.empty() ? "" : argv[0]);
  }
  EXPECT_TRUE(launcher->HasProgram("record"));
  EXPECT_FALSE(launcher->HasProgram("plain"));
  EXPECT_EQ(ReadBytes(dir.File("record.argv")), "") << "cut short at the zero byte";
}

}  // namespace
}  // namespace vardelle

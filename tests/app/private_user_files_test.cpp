// The user's config folder and its files are the user's alone whatever the umask, are
// closed again when found open, and lose what an interrupted write left behind.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "app/start/user_files.h"
#include "support/files/profile_writer.h"
#include "tests/support/temp_dir.h"

namespace vardelle {
namespace {

using testing_files::ReadBytes;
using testing_files::TempDir;
using testing_files::WriteBytes;

mode_t ModeOf(const std::string& path) {
  struct stat status {};
  EXPECT_EQ(::lstat(path.c_str(), &status), 0) << path;
  return status.st_mode & 07777;
}

// The process's umask for one scope.
class ScopedUmask {
 public:
  explicit ScopedUmask(mode_t mask) : old_(::umask(mask)) {}
  ~ScopedUmask() { ::umask(old_); }
  ScopedUmask(const ScopedUmask&) = delete;
  ScopedUmask& operator=(const ScopedUmask&) = delete;

 private:
  mode_t old_;
};

// The user's folder under a temporary XDG_CONFIG_HOME that does not exist yet.
class PrivateUserFiles : public ::testing::Test {
 protected:
  EnvironmentReader Environment() const {
    return [config = dir.File("config")](std::string_view name) -> std::optional<std::string> {
      if (name == "XDG_CONFIG_HOME") return config;
      return std::nullopt;
    };
  }
  std::string Folder() const { return UserConfigDirectory(Environment()); }
  std::string Settings() const { return UserSettingsPath(Environment()); }

  TempDir dir;
};

TEST_F(PrivateUserFiles, NewFoldersAndFilesAreTheUsersAloneWhateverTheUmask) {
  for (const mode_t mask : {0000, 0022, 0277}) {
    SCOPED_TRACE(mask);
    std::filesystem::remove_all(dir.File("config"));
    {
      const ScopedUmask scoped(mask);
      ASSERT_TRUE(MakeUserConfigDirectory(Environment()));
      ASSERT_TRUE(WriteProfileString("sites", "globalpingToken", "secret", Settings()));
      ASSERT_TRUE(WriteProfileString("sites", "serverList", "mine.json", Settings()));
      ASSERT_TRUE(WriteProfileString("a.com", "k", "v", UserCookiePath(Environment())));
    }
    EXPECT_EQ(ModeOf(dir.File("config")), 0700u);  // a missing parent, made too
    EXPECT_EQ(ModeOf(Folder()), 0700u);
    EXPECT_EQ(ModeOf(Settings()), 0600u);
    EXPECT_EQ(ModeOf(UserCookiePath(Environment())), 0600u);
  }
}

TEST_F(PrivateUserFiles, FolderAndFilesFoundOpenAreClosedAtStartAndOnWrite) {
  std::filesystem::create_directories(Folder());
  const std::string outside = dir.File("outside.ini");
  const std::string script = Folder() + "/notify.sh";
  WriteBytes(Settings(), "[sites]\r\nglobalpingToken=secret\r\n");
  WriteBytes(UserCookiePath(Environment()), "");
  WriteBytes(script, "");
  WriteBytes(outside, "");
  std::filesystem::create_symlink(outside, Folder() + "/linked.ini");
  ASSERT_EQ(::chmod(Folder().c_str(), 0755), 0);
  ASSERT_EQ(::chmod(Settings().c_str(), 0644), 0);
  ASSERT_EQ(::chmod(UserCookiePath(Environment()).c_str(), 0640), 0);
  ASSERT_EQ(::chmod(script.c_str(), 0755), 0);
  ASSERT_EQ(::chmod(outside.c_str(), 0644), 0);

  ASSERT_TRUE(MakeUserConfigDirectory(Environment()));
  EXPECT_EQ(ModeOf(Folder()), 0700u);
  EXPECT_EQ(ModeOf(Settings()), 0600u);
  EXPECT_EQ(ModeOf(UserCookiePath(Environment())), 0600u);
  EXPECT_EQ(ModeOf(script), 0700u);   // the user's own bits stay
  EXPECT_EQ(ModeOf(outside), 0644u);  // a link's target is no file of the folder

  // A file opened again between starts is closed by the next write.
  ASSERT_EQ(::chmod(Settings().c_str(), 0664), 0);
  ASSERT_TRUE(WriteProfileString("sites", "serverList", "mine.json", Settings()));
  EXPECT_EQ(ModeOf(Settings()), 0600u);
  EXPECT_EQ(ReadBytes(Settings()), "[sites]\r\nglobalpingToken=secret\r\nserverList=mine.json\r\n");
}

// Only this program's own temporary names, of its own files, written by a process that no
// longer runs, are removed.
TEST_F(PrivateUserFiles, InterruptedWritesAreRemovedAtStartAndNothingElse) {
  // Above Linux's highest process id, so no process has it.
  const std::string gone = "4194305";
  const std::string runs = std::to_string(::getppid());
  const std::string self = std::to_string(::getpid());
  struct Case {
    std::string name;
    bool removed;
  };
  const Case cases[] = {
      {"settings.ini.tmp" + gone + "-1", true},
      {"cookies.ini.tmp" + gone + "-27", true},
      {"settings.ini.tmp" + self + "-3", true},  // an earlier process with this one's id
      {"settings.ini.tmp" + runs + "-1", false},
      {"settings.ini.tmp" + gone, false},
      {"settings.ini.tmp" + gone + "-", false},
      {"settings.ini.tmp" + gone + "-1.bak", false},
      {"settings.ini.tmp-" + gone + "-1", false},
      {"settings.ini.tmp" + gone + "-+1", false},
      {"settings.ini.tmp", false},
      {"settings.ini~", false},
      {"notes.txt.tmp" + gone + "-1", false},
      {"xsettings.ini.tmp" + gone + "-1", false},
  };
  std::filesystem::create_directories(Folder());
  for (const Case& c : cases) WriteBytes(Folder() + "/" + c.name, "[sites]\r\n");
  ASSERT_TRUE(MakeUserConfigDirectory(Environment()));
  for (const Case& c : cases) {
    EXPECT_EQ(std::filesystem::exists(Folder() + "/" + c.name), !c.removed) << c.name;
  }
}

}  // namespace
}  // namespace vardelle

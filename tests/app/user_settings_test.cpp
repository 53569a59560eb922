// The user's config folder and the [sites] section of the settings file, below the options
// and the environment; the values the window saves in the file.
#include "app/start/user_settings.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "app/settings/column_settings.h"
#include "support/files/profile_reader.h"
#include "tests/support/temp_dir.h"

namespace vardelle {
namespace {

using Variables = std::map<std::string, std::string, std::less<>>;

EnvironmentReader ReaderOf(const Variables& variables) {
  return [&variables](std::string_view name) -> std::optional<std::string> {
    const auto found = variables.find(name);
    if (found == variables.end()) return std::nullopt;
    return found->second;
  };
}

TEST(UserSettingsTest, SettingsKeysFollowTheOptions) {
  const char* const expected[] = {"gamebox", "statusSite", "statusService", "selectorSite",
                                  "iplocation"};
  for (const SiteInfo& info : SiteTable()) {
    EXPECT_EQ(SettingsKeyOf(info), expected[static_cast<size_t>(info.site)]);
  }
}

constexpr char kSettings[] =
    "[sites]\n"
    "gamebox=http://127.0.0.1:1/\n"
    "statusSite=http://127.0.0.1:2\n"
    "iplocation=http://127.0.0.1:5\n"
    "globalpingToken=token-from-file\n"
    "serverList=lists/mine.json\n";

// The file fills only what neither an option nor a variable set; --demo takes no site base
// from it.
TEST(UserSettingsTest, TheFileComesAfterOptionsAndEnvironment) {
  struct Case {
    std::vector<std::string> arguments;
    Variables variables;
    std::array<std::string, kSiteCount> bases;
    std::string serverList;
  };
  const std::string fileList = "/cfg/lists/mine.json";
  const Case cases[] = {
      {{},
       {},
       {"http://127.0.0.1:1", "http://127.0.0.1:2", "", "", "http://127.0.0.1:5"},
       fileList},
      {{"--gamebox", "http://10.0.0.1", "--server-list", "own.json"},
       {{"VARDELLE_STATUS_SITE", "http://10.0.0.2"}},
       {"http://10.0.0.1", "http://10.0.0.2", "", "", "http://127.0.0.1:5"},
       "own.json"},
      {{"--demo", "--gamebox=http://10.0.0.1"}, {}, {"http://10.0.0.1", "", "", "", ""}, fileList},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.arguments));
    CommandLine line = ParseCommandLine(c.arguments, ReaderOf(c.variables));
    ApplySiteSettings(ReadSiteSettings(kSettings, "/cfg"), "/cfg/settings.ini", line);
    EXPECT_EQ(line.error, "");
    for (const SiteInfo& info : SiteTable()) {
      EXPECT_EQ(line.endpoints.BaseUrl(info.site), c.bases[static_cast<size_t>(info.site)]);
    }
    EXPECT_EQ(line.endpoints.ServerListFile(), c.serverList);
    EXPECT_EQ(line.globalpingToken, "token-from-file");
  }
}

TEST(UserSettingsTest, ServerListPathsAreTakenFromTheSettingsFolderUnlessAbsolute) {
  const std::pair<std::string, std::string> cases[] = {
      {"mine.json", "/cfg/mine.json"},
      {"/srv/mine.json", "/srv/mine.json"},
      {"C:\\lists\\mine.json", "C:\\lists\\mine.json"},
      {"d:/mine.json", "d:/mine.json"},
      {"\\\\host\\share\\mine.json", "\\\\host\\share\\mine.json"},
      {"C:mine.json", "/cfg/C:mine.json"},
  };
  for (const auto& [entry, path] : cases) {
    EXPECT_EQ(ReadSiteSettings("[sites]\nserverList=" + entry + "\n", "/cfg").serverListFile, path)
        << entry;
  }
}

TEST(UserSettingsTest, AnEntryThatIsNoUrlIsAnError) {
  CommandLine line = ParseCommandLine({}, ReaderOf({}));
  ApplySiteSettings(ReadSiteSettings("[sites]\nselectorSite=127.0.0.1:4\n", "/cfg"),
                    "/cfg/settings.ini", line);
  EXPECT_EQ(line.error,
            "/cfg/settings.ini: selectorSite is not a URL such as http://127.0.0.1:8080");
}

// Saves leave the caller at once; a read after them finds them, and the file holds them in
// the order they were made, in a folder made for it.
TEST(UserSettingsTest, SavedValuesReadBackAtOnceAndLandInOrder) {
  testing_files::TempDir dir;
  const std::string path = dir.File("vardelle/settings.ini");
  SaveSettingsValue(path, "globalPing", "place", "asia");
  SaveShownColumns(path, {7, 10});
  SaveSettingsValue(path, "globalPing", "place", "world");
  EXPECT_EQ(ReadSettingsValue(path, "globalPing", "place"), "world");
  EXPECT_EQ(ReadShownColumns(path), (std::vector<int>{7, 10}));
  EXPECT_EQ(testing_files::ReadBytes(path),
            "[globalPing]\r\nplace=world\r\n[table]\r\nshownColumns=7,10\r\n");
}

// Seals by reversing behind a marker; "sealed:" alone cannot be opened.
class ReversingProtector final : public SecretProtector {
 public:
  std::optional<Text> Protect(const Text& secret) const override {
    return kMarker + std::string(secret.rbegin(), secret.rend());
  }
  std::optional<Text> Reveal(const Text& kept) const override {
    if (!kept.starts_with(kMarker)) return kept;
    if (kept == kMarker) return std::nullopt;
    return std::string(kept.rbegin(), kept.rend() - kMarker.size());
  }
  bool IsExposed(const Text& kept) const override {
    return !kept.empty() && !kept.starts_with(kMarker);
  }

 private:
  const std::string kMarker = "sealed:";
};

// A token in clear is sealed in the file, once, with the rest of the file kept; a sealed one
// is opened and the file left alone.
TEST(UserSettingsTest, TheFilesTokenIsRevealedAndSealedWhenFoundInClear) {
  struct Case {
    std::string kept;
    std::string revealed;
    std::string keptAfter;
  };
  const Case cases[] = {
      {"tok-123", "tok-123", "sealed:321-kot"},
      {"sealed:321-kot", "tok-123", "sealed:321-kot"},
      {"sealed:", "", "sealed:"},
      {"", "", ""},
  };
  const ReversingProtector protector;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kept);
    testing_files::TempDir dir;
    const std::string path = dir.File("settings.ini");
    testing_files::WriteBytes(
        path, "; mine\r\n[sites]\r\nglobalpingToken=" + c.kept + "\r\nserverList=a.json\r\n");
    EXPECT_EQ(RevealFileToken(c.kept, path, protector), c.revealed);
    EXPECT_EQ(testing_files::ReadBytes(path),
              "; mine\r\n[sites]\r\nglobalpingToken=" + c.keptAfter + "\r\nserverList=a.json\r\n");
  }
}

// The platform's own protector, through the file: Windows seals the token, so the file never
// holds it in clear; Linux keeps it as it is in a file that is the user's alone.
TEST(UserSettingsTest, ThePlatformKeepsTheFilesTokenFromOtherUsers) {
  const std::string token = "gp-令牌-0123456789abcdef";
  const std::string before = "[sites]\r\nglobalpingToken=" + token + "\r\nserverList=a.json\r\n";
  testing_files::TempDir dir;
  const std::string path = dir.File("settings.ini");
  testing_files::WriteBytes(path, before);
  EXPECT_EQ(RevealFileToken(token, path, SystemSecretProtector()), token);
  const std::string after = testing_files::ReadBytes(path);
#if defined(_WIN32)
  EXPECT_EQ(after.find("gp-"), std::string::npos) << after;
  const std::string kept = FindProfileString(after, "sites", "globalpingToken").value_or("");
  EXPECT_TRUE(kept.starts_with("dpapi:")) << kept;
  EXPECT_EQ(FindProfileString(after, "sites", "serverList"), "a.json");
  EXPECT_EQ(RevealFileToken(kept, path, SystemSecretProtector()), token);
  EXPECT_EQ(testing_files::ReadBytes(path), after);
#else
  EXPECT_EQ(after, before);
#endif
}

TEST(UserSettingsTest, ServerListAndVersionOptions) {
  struct Case {
    std::vector<std::string> arguments;
    std::string serverList;
    bool version;
    std::string error;
  };
  const Case cases[] = {
      {{"--server-list", "a.json"}, "a.json", false, ""},
      {{"--server-list=/b.json", "--version"}, "/b.json", true, ""},
      {{"--server-list"}, "", false, "--server-list needs a file name"},
      {{"--version=1"}, "", false, "unknown argument: --version=..."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.arguments));
    const CommandLine line = ParseCommandLine(c.arguments, ReaderOf({}));
    EXPECT_EQ(line.endpoints.ServerListFile(), c.serverList);
    EXPECT_EQ(line.version, c.version);
    EXPECT_EQ(line.error, c.error);
  }
}

// The XDG folders are Linux's; on Windows the folder is the system's application data, which a
// test must not write to.
#if !defined(_WIN32)
TEST(UserFilesTest, ConfigFolderFollowsTheXdgRules) {
  struct Case {
    Variables variables;
    std::string directory;
  };
  const Case cases[] = {
      {{{"XDG_CONFIG_HOME", "/x/conf"}, {"HOME", "/home/p"}}, "/x/conf/vardelle"},
      {{{"XDG_CONFIG_HOME", "/x/conf/"}}, "/x/conf/vardelle"},
      {{{"XDG_CONFIG_HOME", "relative"}, {"HOME", "/home/p"}}, "/home/p/.config/vardelle"},
      {{{"XDG_CONFIG_HOME", ""}, {"HOME", "/home/p/"}}, "/home/p/.config/vardelle"},
      {{{"HOME", "/"}}, "/.config/vardelle"},
      {{{"HOME", "p"}}, ""},
      {{}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.directory);
    const EnvironmentReader reader = ReaderOf(c.variables);
    EXPECT_EQ(UserConfigDirectory(reader), c.directory);
    EXPECT_EQ(UserSettingsPath(reader), c.directory.empty() ? "" : c.directory + "/settings.ini");
    EXPECT_EQ(UserCookiePath(reader), c.directory.empty() ? "" : c.directory + "/cookies.ini");
  }
}

TEST(UserSettingsTest, ReadsTheFileInTheUsersConfigFolder) {
  testing_files::TempDir dir;
  const Variables variables{{"XDG_CONFIG_HOME", dir.path.string()}};
  ASSERT_TRUE(MakeUserConfigDirectory(ReaderOf(variables)));
  testing_files::WriteBytes(UserSettingsPath(ReaderOf(variables)), kSettings);
  CommandLine line = ParseCommandLine({}, ReaderOf({}));
  ApplyUserSettingsFile(line, ReaderOf(variables));
  EXPECT_EQ(line.endpoints.BaseUrl(Site::kGameBox), "http://127.0.0.1:1");
  EXPECT_EQ(line.endpoints.ServerListFile(), dir.File("vardelle/lists/mine.json"));
}
#endif

}  // namespace
}  // namespace vardelle

// Where each document comes from: the site table, the command line and the environment.
#include <gtest/gtest.h>

#include <map>

#include "app/start/command_line.h"

namespace vardelle {
namespace {

using Environment = std::map<std::string, std::string, std::less<>>;

CommandLine Parse(const std::vector<std::string>& arguments, const Environment& environment = {}) {
  return ParseCommandLine(arguments, [&](std::string_view name) -> std::optional<std::string> {
    const auto found = environment.find(name);
    if (found == environment.end()) return std::nullopt;
    return found->second;
  });
}

TEST(EndpointsTest, SiteTableNamesOptionsVariablesAndPaths) {
  struct Expected {
    Site site;
    const char* option;
    const char* environment;
    const char* path;
  };
  const Expected expected[] = {
      {Site::kGameBox, "--gamebox", "VARDELLE_GAMEBOX", "/lol/box/gameserver.json"},
      {Site::kStatusSite, "--status-site", "VARDELLE_STATUS_SITE",
       "/act/a20150326dqpd/js/LOL_SERVER_STATUS.js"},
      {Site::kStatusService, "--status-service", "VARDELLE_STATUS_SERVICE",
       "/lol/act/a20150325ServerStatus/getServerStatus.php"},
      {Site::kSelectorSite, "--selector-site", "VARDELLE_SELECTOR_SITE",
       "/comm-htdocs/js/game_area/lol_server_select.js"},
      {Site::kIpLocation, "--iplocation", "VARDELLE_IPLOCATION", "/service/getIpInfo.php?ip="},
  };
  ASSERT_EQ(SiteTable().size(), std::size(expected));
  for (const HelpLanguage language : {HelpLanguage::kChinese, HelpLanguage::kEnglish}) {
    const std::string help = CommandLineHelp(language);
    for (const Expected& site : expected) {
      SCOPED_TRACE(site.option);
      const SiteInfo& info = InfoOf(site.site);
      EXPECT_EQ(info.site, site.site);
      EXPECT_EQ(info.option, site.option);
      EXPECT_EQ(info.environment, site.environment);
      EXPECT_EQ(info.path, site.path);
      EXPECT_NE(help.find(std::string(site.option) + " URL"), std::string::npos);
      EXPECT_NE(help.find(site.environment), std::string::npos);
      EXPECT_NE(help.find(site.path), std::string::npos);
    }
  }
}

// Both texts name every option, the Chinese one in UTF-8 for the terminal.
TEST(EndpointsTest, HelpInChineseOrEnglish) {
  const std::string chinese = CommandLineHelp(HelpLanguage::kChinese);
  const std::string english = CommandLineHelp(HelpLanguage::kEnglish);
  EXPECT_TRUE(chinese.starts_with("\xe7\x94\xa8\xe6\xb3\x95")) << "用法 in UTF-8";
  EXPECT_TRUE(english.starts_with("Usage: vardelle"));
  for (const char* option :
       {"--demo", "--headless", "--runs N", "--interval SECONDS", "--watch-server NAME",
        "--latency-over MS", "--loss-over PERCENT", "--global-ping PLACE", "--globalping URL",
        "--globalping-token TOKEN", "--format text|json|csv", "--server-list FILE", "--lang zh|en",
        "--help", "--version", "settings.ini", "cookies.ini"}) {
    EXPECT_NE(chinese.find(option), std::string::npos) << option;
    EXPECT_NE(english.find(option), std::string::npos) << option;
  }
}

// --lang first, then the first of LC_ALL, LC_MESSAGES and LANG that is set; C names no
// language and leaves it to the system.
TEST(EndpointsTest, HelpLanguageFromTheOptionOrTheEnvironment) {
  using enum HelpLanguage;
  const struct {
    std::vector<std::string> arguments;
    Environment environment;
    std::optional<HelpLanguage> expected;
  } cases[] = {
      {{}, {}, std::nullopt},
      {{"--lang", "en"}, {{"LANG", "zh_CN.UTF-8"}}, kEnglish},
      {{"--lang=zh"}, {{"LANG", "en_US.UTF-8"}}, kChinese},
      {{}, {{"LANG", "zh_CN.GBK"}}, kChinese},
      {{}, {{"LANG", "en_GB.UTF-8"}}, kEnglish},
      {{}, {{"LANG", "zh_CN.UTF-8"}, {"LC_MESSAGES", "de_DE"}}, kEnglish},
      {{}, {{"LC_ALL", "zh_TW"}, {"LC_MESSAGES", "en_US"}}, kChinese},
      {{}, {{"LANG", "C.UTF-8"}}, std::nullopt},
      {{}, {{"LC_ALL", "POSIX"}, {"LANG", "en_US"}}, std::nullopt},
      {{}, {{"LC_ALL", ""}, {"LANG", "en_US"}}, kEnglish},
  };
  for (const auto& c : cases) {
    const CommandLine line = Parse(c.arguments, c.environment);
    EXPECT_EQ(line.error, "");
    EXPECT_EQ(line.helpLanguage, c.expected)
        << ::testing::PrintToString(c.arguments) << ::testing::PrintToString(c.environment);
  }
  EXPECT_NE(Parse({"--lang", "fr"}).error.find("--lang"), std::string::npos);
  EXPECT_EQ(HelpLanguageOfTag("zh-CN"), HelpLanguage::kChinese);
  EXPECT_EQ(HelpLanguageOfTag("en-US"), HelpLanguage::kEnglish);
}

TEST(EndpointsTest, DocumentUrlJoinsBaseAndPath) {
  Endpoints endpoints;
  EXPECT_FALSE(endpoints.HasAddress(Site::kGameBox));
  EXPECT_EQ(endpoints.DocumentUrl(Site::kGameBox), "");
  endpoints.SetBaseUrl(Site::kGameBox, "http://127.0.0.1:8080/");
  endpoints.SetBaseUrl(Site::kIpLocation, "http://127.0.0.2//");
  EXPECT_EQ(endpoints.BaseUrl(Site::kGameBox), "http://127.0.0.1:8080");
  EXPECT_EQ(endpoints.DocumentUrl(Site::kGameBox), "http://127.0.0.1:8080/lol/box/gameserver.json");
  EXPECT_EQ(endpoints.DocumentUrl(Site::kIpLocation), "http://127.0.0.2/service/getIpInfo.php?ip=");
  EXPECT_EQ(endpoints.DocumentUrl(Site::kStatusSite), "");
}

TEST(EndpointsTest, OptionsInBothFormsBeatTheEnvironment) {
  const Environment environment = {{"VARDELLE_GAMEBOX", "http://127.0.0.9"},
                                   {"VARDELLE_STATUS_SITE", "http://127.0.0.8/"},
                                   {"VARDELLE_IPLOCATION", ""}};
  const CommandLine line =
      Parse({"--gamebox", "http://127.0.0.1:1/", "--status-service=https://127.0.0.3",
             "--gamebox=http://127.0.0.2"},
            environment);
  EXPECT_EQ(line.error, "");
  EXPECT_FALSE(line.demo);
  EXPECT_FALSE(line.help);
  // The last of a repeated option counts.
  EXPECT_EQ(line.endpoints.BaseUrl(Site::kGameBox), "http://127.0.0.2");
  EXPECT_EQ(line.endpoints.BaseUrl(Site::kStatusService), "https://127.0.0.3");
  EXPECT_EQ(line.endpoints.BaseUrl(Site::kStatusSite), "http://127.0.0.8");
  // An empty variable is no address; neither option nor variable leaves the site unasked.
  EXPECT_FALSE(line.endpoints.HasAddress(Site::kIpLocation));
  EXPECT_FALSE(line.endpoints.HasAddress(Site::kSelectorSite));
}

TEST(EndpointsTest, DemoKeepsNamedSitesAndIgnoresTheEnvironment) {
  const CommandLine line =
      Parse({"--demo", "--iplocation", "http://127.0.0.5"}, {{"VARDELLE_GAMEBOX", "http://x.y"}});
  EXPECT_EQ(line.error, "");
  EXPECT_TRUE(line.demo);
  EXPECT_EQ(line.endpoints.BaseUrl(Site::kIpLocation), "http://127.0.0.5");
  EXPECT_FALSE(line.endpoints.HasAddress(Site::kGameBox));
}

TEST(EndpointsTest, HelpIsRecognisedAmongOtherOptions) {
  const CommandLine line = Parse({"--gamebox", "http://127.0.0.1", "--help"});
  EXPECT_TRUE(line.help);
  EXPECT_EQ(line.error, "");
  EXPECT_TRUE(Parse({}).error.empty());
}

TEST(EndpointsTest, UnusableArgumentsGiveAnError) {
  const std::vector<std::vector<std::string>> cases = {{"--frobnicate"},
                                                       {"--gamebox"},
                                                       {"--gamebox="},
                                                       {"--gamebox", "--demo"},
                                                       {"--gamebox", "ftp://x"},
                                                       {"127.0.0.1"},
                                                       {"--demo=yes"},
                                                       {"-gamebox", "http://127.0.0.1"},
                                                       {"--headless", "--runs", "0"},
                                                       {"--headless", "--runs=2x"},
                                                       {"--headless", "--interval"},
                                                       {"--headless", "--interval", "-1"},
                                                       {"--runs", "3"}};
  for (const std::vector<std::string>& arguments : cases) {
    SCOPED_TRACE(arguments.front());
    const CommandLine line = Parse(arguments);
    EXPECT_FALSE(line.error.empty());
  }
  EXPECT_NE(Parse({"--frobnicate"}).error.find("--frobnicate"), std::string::npos);
  EXPECT_NE(Parse({"--selector-site"}).error.find("--selector-site"), std::string::npos);
  const CommandLine badVariable = Parse({}, {{"VARDELLE_STATUS_SERVICE", "127.0.0.1:80"}});
  EXPECT_NE(badVariable.error.find("VARDELLE_STATUS_SERVICE"), std::string::npos);
}

}  // namespace
}  // namespace vardelle

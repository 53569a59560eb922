// The command line: the sites' addresses (options, else environment variables) and how the
// program runs: with a window, headless, watching, or one global test.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/global_ping/global_ping_places.h"
#include "app/headless/headless_run.h"
#include "app/headless/headless_watch.h"
#include "app/report/table_report.h"
#include "app/settings/endpoints.h"

namespace vardelle {

// The language of the --help text.
enum class HelpLanguage { kChinese, kEnglish };

// The language a tag names ("zh_CN.UTF-8", "zh-CN", "en_US"): Chinese for zh, English for any
// other; nothing for C and POSIX, which name none.
std::optional<HelpLanguage> HelpLanguageOfTag(std::string_view tag);

struct CommandLine {
  Endpoints endpoints;
  bool demo = false;
  bool help = false;
  bool version = false;
  // Runs without a window and prints the table in format (text when not given).
  bool headless = false;
  std::optional<ReportFormat> format;
  // --runs N (at least 1) and --interval SECONDS (at least 1) of a headless run.
  RunSchedule schedule;
  // --watch: a headless run tests every interval until the program is asked to end and
  // prints the alert rules' events; --watch-server, --latency-over and --loss-over.
  bool watch = false;
  WatchOptions watchOptions;
  // The Globalping API token; "" when none is given.
  std::string globalpingToken;
  // --global-ping PLACE: a headless run makes one global test instead of the local one.
  std::optional<GlobalPingPlace> globalPingPlace;
  // --lang, else the first of LC_ALL, LC_MESSAGES and LANG that is set; nothing when none
  // is or it names no language (C), and the system's display language decides.
  std::optional<HelpLanguage> helpLanguage;
  // Set when the arguments cannot be used; the program prints it with the help and exits.
  std::string error;
};

// Reads the options (--gamebox URL and its siblings, --demo, --headless, --format,
// --server-list, --watch and its options, --lang, --help, --version);
// a site option not given falls back to its environment variable through getEnvironment.
CommandLine ParseCommandLine(
    const std::vector<std::string>& arguments,
    const std::function<std::optional<std::string>(std::string_view)>& getEnvironment);

// The --help text (UTF-8, for a terminal), in Chinese as the rest of the program speaks
// unless asked for in English.
std::string CommandLineHelp(HelpLanguage language);

}  // namespace vardelle

// Where the program's documents come from. The paths are fixed; each site's base URL
// (scheme, host, optional port) comes from a command-line option or, when the option is
// absent, an environment variable. A site without a base URL is never asked.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/global_ping/global_ping_places.h"
#include "app/headless/headless_run.h"
#include "app/headless/headless_watch.h"
#include "app/report/table_report.h"

namespace vardelle {

enum class Site : int { kGameBox, kStatusSite, kStatusService, kSelectorSite, kIpLocation };
inline constexpr int kSiteCount = 5;

struct SiteInfo {
  Site site;
  std::string_view option;       // "--gamebox"
  std::string_view environment;  // "VARDELLE_GAMEBOX"
  std::string_view path;         // "/lol/box/gameserver.json"
};

const std::array<SiteInfo, kSiteCount>& SiteTable();
const SiteInfo& InfoOf(Site site);
// True for "http://" or "https://" followed by more: the form of every site base.
bool IsHttpUrl(std::string_view url);

class Endpoints {
 public:
  // "" when the site has no address.
  const std::string& BaseUrl(Site site) const;
  void SetBaseUrl(Site site, std::string baseUrl);
  bool HasAddress(Site site) const { return !BaseUrl(site).empty(); }
  // Base URL + path (the IP-location path ends with "ip=", the caller appends the
  // address); "" for a site without an address.
  std::string DocumentUrl(Site site) const;
  // A local file in the server list's format, read instead of the game-box site; "" for
  // the site.
  const std::string& ServerListFile() const { return serverListFile; }
  void SetServerListFile(std::string path) { serverListFile = std::move(path); }
  // The Globalping API's base: --globalping, else VARDELLE_GLOBALPING, else the public API;
  // the demo world's stand-in in a --demo run.
  const std::string& GlobalpingBase() const { return globalpingBase; }
  void SetGlobalpingBase(std::string base);

 private:
  std::array<std::string, kSiteCount> baseUrls;
  std::string serverListFile;
  std::string globalpingBase;
};

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
  // Set when the arguments cannot be used; the program prints it with the help and exits.
  std::string error;
};

// Reads the options (--gamebox URL and its siblings, --demo, --headless, --format,
// --server-list, --watch and its options, --help, --version);
// a site option not given falls back to its environment variable through getEnvironment.
CommandLine ParseCommandLine(
    const std::vector<std::string>& arguments,
    const std::function<std::optional<std::string>(std::string_view)>& getEnvironment);

// The --help text (UTF-8, for a terminal).
std::string CommandLineHelp();

}  // namespace vardelle

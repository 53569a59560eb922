// Where the program's documents come from. The paths are fixed; each site's base URL
// (scheme, host, optional port) comes from a command-line option or, when the option is
// absent, an environment variable. A site without a base URL is never asked.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/headless/table_report.h"

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

class Endpoints {
 public:
  // "" when the site has no address.
  const std::string& BaseUrl(Site site) const;
  void SetBaseUrl(Site site, std::string baseUrl);
  bool HasAddress(Site site) const { return !BaseUrl(site).empty(); }
  // Base URL + path (the IP-location path ends with "ip=", the caller appends the
  // address); "" for a site without an address.
  std::string DocumentUrl(Site site) const;

 private:
  std::array<std::string, kSiteCount> baseUrls;
};

struct CommandLine {
  Endpoints endpoints;
  bool demo = false;
  bool help = false;
  // Runs without a window and prints the table in format (text when not given).
  bool headless = false;
  std::optional<ReportFormat> format;
  // Set when the arguments cannot be used; the program prints it with the help and exits.
  std::string error;
};

// Reads the options (--gamebox URL and its siblings, --demo, --headless, --format, --help);
// a site option not given falls back to its environment variable through getEnvironment.
CommandLine ParseCommandLine(
    const std::vector<std::string>& arguments,
    const std::function<std::optional<std::string>(std::string_view)>& getEnvironment);

// The --help text (UTF-8, for a terminal).
std::string CommandLineHelp();

}  // namespace vardelle

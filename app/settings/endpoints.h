// Where the program's documents come from. The paths are fixed; each site's base URL
// (scheme, host, optional port) comes from a command-line option or, when the option is
// absent, an environment variable. A site without a base URL is never asked.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace vardelle {

enum class Site : int { kGameBox, kStatusSite, kStatusService, kSelectorSite, kIpLocation };
inline constexpr int kSiteCount = 5;

constexpr std::size_t SiteIndex(Site site) { return static_cast<std::size_t>(site); }

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

}  // namespace vardelle

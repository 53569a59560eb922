#include "app/settings/endpoints.h"

namespace vardelle {
namespace {

constexpr std::array<SiteInfo, kSiteCount> kSites = {{
    {Site::kGameBox, "--gamebox", "VARDELLE_GAMEBOX", "/lol/box/gameserver.json"},
    {Site::kStatusSite, "--status-site", "VARDELLE_STATUS_SITE",
     "/act/a20150326dqpd/js/LOL_SERVER_STATUS.js"},
    {Site::kStatusService, "--status-service", "VARDELLE_STATUS_SERVICE",
     "/lol/act/a20150325ServerStatus/getServerStatus.php"},
    {Site::kSelectorSite, "--selector-site", "VARDELLE_SELECTOR_SITE",
     "/comm-htdocs/js/game_area/lol_server_select.js"},
    {Site::kIpLocation, "--iplocation", "VARDELLE_IPLOCATION", "/service/getIpInfo.php?ip="},
}};

static_assert(
    [] {
      for (size_t i = 0; i < kSites.size(); ++i) {
        if (SiteIndex(kSites[i].site) != i) return false;
      }
      return true;
    }(),
    "the site table is indexed by Site");

}  // namespace

const std::array<SiteInfo, kSiteCount>& SiteTable() { return kSites; }

bool IsHttpUrl(std::string_view url) {
  for (std::string_view scheme : {"http://", "https://"}) {
    if (url.size() > scheme.size() && url.substr(0, scheme.size()) == scheme) return true;
  }
  return false;
}

const SiteInfo& InfoOf(Site site) { return kSites[SiteIndex(site)]; }

const std::string& Endpoints::BaseUrl(Site site) const { return baseUrls[SiteIndex(site)]; }

void Endpoints::SetBaseUrl(Site site, std::string baseUrl) {
  // The paths begin with "/", so a base ending in one would double it.
  while (!baseUrl.empty() && baseUrl.back() == '/') baseUrl.pop_back();
  baseUrls[SiteIndex(site)] = std::move(baseUrl);
}

void Endpoints::SetGlobalpingBase(std::string base) {
  while (!base.empty() && base.back() == '/') base.pop_back();
  globalpingBase = std::move(base);
}

std::string Endpoints::DocumentUrl(Site site) const {
  return HasAddress(site) ? BaseUrl(site) + std::string(InfoOf(site).path) : std::string();
}

}  // namespace vardelle

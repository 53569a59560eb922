// The [sites] section of the user's settings file: the five site bases, the Globalping token
// and a local server list, so a player sets them once. Read at the start (user_settings.h)
// and written by the settings dialog.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "app/settings/endpoints.h"
#include "support/files/secret_protector.h"

namespace vardelle {

inline constexpr char kSitesSection[] = "sites";
inline constexpr char kTokenKey[] = "globalpingToken";
inline constexpr char kServerListKey[] = "serverList";

struct SiteSettings {
  std::array<std::string, kSiteCount> baseUrls;  // "" for a site the file does not name
  std::string globalpingToken;                   // as the file keeps it (see RevealFileToken)
  std::string serverListFile;
};

// The key of a site's base in the section: its option without "--", in camel case
// ("--status-site" is statusSite).
std::string SettingsKeyOf(const SiteInfo& info);

// The section's entries in the file's contents. A relative serverList is taken from
// settingsDirectory.
SiteSettings ReadSiteSettings(std::string_view contents, std::string_view settingsDirectory);

// The token that the settings file at path keeps as kept. A token kept in clear where the
// platform seals them is sealed in the file now, for a file written by hand or by an older
// version. "" when a sealed token cannot be opened (another user's file): the program then
// asks anonymously, as with no token.
std::string RevealFileToken(const std::string& kept, const std::string& path,
                            const SecretProtector& protector);

}  // namespace vardelle

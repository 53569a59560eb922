// The [sites] section of the user's settings file (see user_files.h): the five site bases,
// the Globalping token and a local server list, so a player sets them once. It is read
// after the options and the environment variables, which win over it.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "app/start/command_line.h"
#include "app/start/user_files.h"
#include "support/files/secret_protector.h"

namespace vardelle {

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

// Gives line what it left empty. In a --demo run the site bases are left out, as the
// environment is. An entry that is no URL sets line.error, naming settingsPath.
void ApplySiteSettings(const SiteSettings& settings, std::string_view settingsPath,
                       CommandLine& line);

// The token that the settings file at path keeps as kept. A token kept in clear where the
// platform seals them is sealed in the file now, for a file written by hand or by an older
// version. "" when a sealed token cannot be opened (another user's file): the program then
// asks anonymously, as with no token.
std::string RevealFileToken(const std::string& kept, const std::string& path,
                            const SecretProtector& protector);

// ApplySiteSettings with the user's settings file (UserSettingsPath), when there is one,
// its token revealed.
void ApplyUserSettingsFile(CommandLine& line,
                           const EnvironmentReader& getEnvironment = ProcessEnvironment,
                           const SecretProtector& protector = SystemSecretProtector());

}  // namespace vardelle

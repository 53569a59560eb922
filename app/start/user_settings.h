// The [sites] section of the user's settings file (see user_files.h and site_settings.h)
// applied to the command line: read after the options and the environment variables, which
// win over it.
#pragma once

#include <string>
#include <string_view>

#include "app/settings/site_settings.h"
#include "app/start/command_line.h"
#include "app/start/user_files.h"
#include "support/files/secret_protector.h"

namespace vardelle {

// Gives line what it left empty. In a --demo run the site bases are left out, as the
// environment is. An entry that is no URL sets line.error, naming settingsPath.
void ApplySiteSettings(const SiteSettings& settings, std::string_view settingsPath,
                       CommandLine& line);

// ApplySiteSettings with the user's settings file (UserSettingsPath), when there is one,
// its token revealed.
void ApplyUserSettingsFile(CommandLine& line,
                           const EnvironmentReader& getEnvironment = ProcessEnvironment,
                           const SecretProtector& protector = SystemSecretProtector());

}  // namespace vardelle

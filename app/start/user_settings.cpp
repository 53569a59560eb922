#include "app/start/user_settings.h"

#include <optional>

#include "support/files/file_access.h"

namespace vardelle {

void ApplySiteSettings(const SiteSettings& settings, std::string_view settingsPath,
                       CommandLine& line) {
  if (line.globalpingToken.empty()) line.globalpingToken = settings.globalpingToken;
  if (line.endpoints.ServerListFile().empty()) {
    line.endpoints.SetServerListFile(settings.serverListFile);
  }
  if (line.demo) return;
  for (const SiteInfo& info : SiteTable()) {
    const std::string& base = settings.baseUrls[static_cast<size_t>(info.site)];
    if (base.empty() || line.endpoints.HasAddress(info.site)) continue;
    if (!IsHttpUrl(base)) {
      line.error = std::string(settingsPath) + ": " + SettingsKeyOf(info) +
                   " is not a URL such as http://127.0.0.1:8080";
      return;
    }
    line.endpoints.SetBaseUrl(info.site, base);
  }
}

void ApplyUserSettingsFile(CommandLine& line, const EnvironmentReader& getEnvironment,
                           const SecretProtector& protector) {
  const std::string path = UserSettingsPath(getEnvironment);
  if (path.empty()) return;
  const std::optional<std::string> contents = ReadWholeFile(path, true);
  if (!contents) return;
  SiteSettings settings = ReadSiteSettings(*contents, UserConfigDirectory(getEnvironment));
  settings.globalpingToken = RevealFileToken(settings.globalpingToken, path, protector);
  ApplySiteSettings(settings, path, line);
}

}  // namespace vardelle

#include "app/start/user_settings.h"

#include <optional>

#include "support/files/file_access.h"
#include "support/files/profile_reader.h"
#include "support/files/profile_writer.h"

namespace vardelle {
namespace {

constexpr std::string_view kSection = "sites";
constexpr std::string_view kTokenKey = "globalpingToken";

std::string Entry(std::string_view contents, std::string_view key) {
  return FindProfileString(contents, kSection, key).value_or("");
}

// Absolute on Linux ("/x") or on Windows ("\\server\share", "\x", "C:\x", "C:/x"); a settings
// file may have been written on either.
bool IsAbsolutePath(std::string_view path) {
  const bool drive = path.size() >= 3 && ((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z') &&
                     path[1] == ':' && (path[2] == '\\' || path[2] == '/');
  return drive || path.starts_with('/') || path.starts_with('\\');
}

}  // namespace

std::string SettingsKeyOf(const SiteInfo& info) {
  std::string key;
  bool upper = false;
  for (const char c : info.option.substr(2)) {
    if (c == '-') {
      upper = true;
    } else {
      key += upper && c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
      upper = false;
    }
  }
  return key;
}

SiteSettings ReadSiteSettings(std::string_view contents, std::string_view settingsDirectory) {
  SiteSettings settings;
  for (const SiteInfo& info : SiteTable()) {
    settings.baseUrls[static_cast<size_t>(info.site)] = Entry(contents, SettingsKeyOf(info));
  }
  settings.globalpingToken = Entry(contents, kTokenKey);
  settings.serverListFile = Entry(contents, "serverList");
  if (!settings.serverListFile.empty() && !IsAbsolutePath(settings.serverListFile)) {
    settings.serverListFile = std::string(settingsDirectory) + "/" + settings.serverListFile;
  }
  return settings;
}

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

std::string RevealFileToken(const std::string& kept, const std::string& path,
                            const SecretProtector& protector) {
  if (protector.IsExposed(kept)) {
    if (const std::optional<std::string> sealed = protector.Protect(kept)) {
      WriteProfileString(std::string(kSection), std::string(kTokenKey), *sealed, path);
    }
  }
  return protector.Reveal(kept).value_or("");
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

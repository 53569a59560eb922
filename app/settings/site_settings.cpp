#include "app/settings/site_settings.h"

#include <optional>

#include "support/files/profile_reader.h"
#include "support/files/profile_writer.h"

namespace vardelle {
namespace {
std::string Entry(std::string_view contents, std::string_view key) {
  return FindProfileString(contents, kSitesSection, key).value_or("");
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
  settings.serverListFile = Entry(contents, kServerListKey);
  if (!settings.serverListFile.empty() && !IsAbsolutePath(settings.serverListFile)) {
    settings.serverListFile = std::string(settingsDirectory) + "/" + settings.serverListFile;
  }
  return settings;
}

std::string RevealFileToken(const std::string& kept, const std::string& path,
                            const SecretProtector& protector) {
  if (protector.IsExposed(kept)) {
    if (const std::optional<std::string> sealed = protector.Protect(kept)) {
      WriteProfileString(std::string(kSitesSection), std::string(kTokenKey), *sealed, path);
    }
  }
  return protector.Reveal(kept).value_or("");
}

}  // namespace vardelle

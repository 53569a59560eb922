#include "app/start/user_files.h"

#include "runtime/platform.h"
#include "support/files/file_access.h"

namespace vardelle {
namespace {

std::optional<std::string> AbsoluteVariable(const EnvironmentReader& getEnvironment,
                                            std::string_view name) {
  std::optional<std::string> value = getEnvironment(name);
  if (!value || !value->starts_with('/')) return std::nullopt;
  while (value->size() > 1 && value->back() == '/') value->pop_back();
  return value;
}

std::string FileInConfigDirectory(const EnvironmentReader& getEnvironment, std::string_view name) {
  const std::string directory = UserConfigDirectory(getEnvironment);
  const char separator = UserApplicationDataFolder() ? '\\' : '/';
  return directory.empty() ? std::string() : directory + separator + std::string(name);
}

}  // namespace

std::optional<std::string> ProcessEnvironment(std::string_view name) {
  return EnvironmentVariable(name);
}

std::string UserConfigDirectory(const EnvironmentReader& getEnvironment) {
  if (const std::optional<std::string> folder = UserApplicationDataFolder()) {
    return *folder + "\\Vardelle";
  }
  if (const auto config = AbsoluteVariable(getEnvironment, "XDG_CONFIG_HOME")) {
    return (*config == "/" ? "" : *config) + "/vardelle";
  }
  if (const auto home = AbsoluteVariable(getEnvironment, "HOME")) {
    return (*home == "/" ? "" : *home) + "/.config/vardelle";
  }
  return {};
}

std::string UserSettingsPath(const EnvironmentReader& getEnvironment) {
  return FileInConfigDirectory(getEnvironment, "settings.ini");
}

std::string UserCookiePath(const EnvironmentReader& getEnvironment) {
  return FileInConfigDirectory(getEnvironment, "cookies.ini");
}

bool MakeUserConfigDirectory(const EnvironmentReader& getEnvironment) {
  const std::string directory = UserConfigDirectory(getEnvironment);
  if (directory.empty() || !CreateDirectories(directory)) return false;
  KeepFolderPrivate(directory);
  RemoveInterruptedReplacements(UserSettingsPath(getEnvironment));
  RemoveInterruptedReplacements(UserCookiePath(getEnvironment));
  return true;
}

}  // namespace vardelle

// Which of the server table's statistics columns the user shows, kept across starts in a
// per-user settings file under the XDG config directory.
#pragma once

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "support/text/text.h"

namespace vardelle {

// $XDG_CONFIG_HOME/vardelle/settings.ini, else $HOME/.config/vardelle/settings.ini; "" when
// neither variable is set.
Text SettingsFilePath(const std::function<std::optional<Text>(std::string_view)>& getEnvironment);

// One value of the file; none when the file, the section or the key is missing.
std::optional<Text> ReadSettingsValue(const Text& path, const char* section, const char* key);
// Writes one value, making the file's folder when needed; false when that fails.
bool SaveSettingsValue(const Text& path, const char* section, const char* key, const Text& value);

// The shown columns saved in the file; none when the file or the key is missing.
std::vector<int> ReadShownColumns(const Text& path);
// Writes them, making the file's folder when needed; false when that fails.
bool SaveShownColumns(const Text& path, const std::vector<int>& columns);

}  // namespace vardelle

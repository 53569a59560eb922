// Which of the server table's statistics columns the user shows, kept across starts in a
// per-user settings file (UserSettingsPath), and the file's single values.
#pragma once

#include <optional>
#include <vector>

#include "support/text/text.h"

namespace vardelle {

// One value of the file; none when the file, the section or the key is missing.
std::optional<Text> ReadSettingsValue(const Text& path, const char* section, const char* key);
// Writes one value, making the file's folder when needed; false when that fails.
bool SaveSettingsValue(const Text& path, const char* section, const char* key, const Text& value);

// The shown columns saved in the file; none when the file or the key is missing.
std::vector<int> ReadShownColumns(const Text& path);
// Writes them, making the file's folder when needed; false when that fails.
bool SaveShownColumns(const Text& path, const std::vector<int>& columns);

}  // namespace vardelle

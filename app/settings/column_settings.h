// Which of the server table's statistics columns the user shows, kept across starts in a
// per-user settings file (UserSettingsPath), and the file's single values.
#pragma once

#include <optional>
#include <vector>

#include "support/files/background_profile_writer.h"
#include "support/text/text.h"

namespace vardelle {

// The writer of the settings file: a save returns at once and the file is written on the
// writer's own thread, so the window's thread never waits for the disk. Never destroyed, so
// the exit path finds it whatever order exit runs in; call SettingsWriter().Stop() there to
// write what is still queued and join the thread.
BackgroundProfileWriter& SettingsWriter();

// One value of the file, after every value saved before it is written; none when the file,
// the section or the key is missing.
std::optional<Text> ReadSettingsValue(const Text& path, const char* section, const char* key);
// Queues one value for SettingsWriter, which makes the file's folder when needed; a path of
// "" saves nothing.
void SaveSettingsValue(const Text& path, const char* section, const char* key, const Text& value);

// The shown columns saved in the file; none when the file or the key is missing.
std::vector<int> ReadShownColumns(const Text& path);
// Queues them as SaveSettingsValue does.
void SaveShownColumns(const Text& path, const std::vector<int>& columns);

}  // namespace vardelle

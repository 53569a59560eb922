// Where the program keeps the files of the user who runs it: in the system's per-user
// application data folder where it has one (%APPDATA%\Vardelle on Windows), else under the
// XDG config directory ($XDG_CONFIG_HOME, else ~/.config) in vardelle/; never beside the
// program, which may sit in a folder the user cannot write (/usr/bin).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vardelle {

using EnvironmentReader = std::function<std::optional<std::string>(std::string_view)>;

// The process's environment as an EnvironmentReader.
std::optional<std::string> ProcessEnvironment(std::string_view name);

// $XDG_CONFIG_HOME/vardelle, else $HOME/.config/vardelle. A relative XDG_CONFIG_HOME is
// ignored, as the XDG base directory rules say. "" when neither gives an absolute path.
std::string UserConfigDirectory(const EnvironmentReader& getEnvironment = ProcessEnvironment);

// settings.ini and cookies.ini in that directory; "" when it is "".
std::string UserSettingsPath(const EnvironmentReader& getEnvironment = ProcessEnvironment);
std::string UserCookiePath(const EnvironmentReader& getEnvironment = ProcessEnvironment);

// Creates the directory (and its parents) for the files above, the user's alone, at the
// program's start: a directory found open to others is closed to them, and the copies that
// an interrupted write of either file left are removed. False when there is none or it
// cannot be made.
bool MakeUserConfigDirectory(const EnvironmentReader& getEnvironment = ProcessEnvironment);

}  // namespace vardelle

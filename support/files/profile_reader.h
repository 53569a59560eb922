// Reads keys of INI-style profile files as the profile writer writes them: section and key
// names match without regard to ASCII case or surrounding blanks, a key's value is the rest
// of its line after the first "=", without surrounding blanks, and the first matching key of
// the first matching section counts. Lines end in LF or CR LF.
#pragma once

#include <optional>
#include <string_view>

#include "support/text/text.h"

namespace vardelle {

// The name between "[" and the last "]" of a section line; nullopt for any other line.
std::optional<std::string_view> ProfileSectionName(std::string_view line);
bool IsProfileSectionOf(std::string_view line, std::string_view section);
bool IsProfileKeyLine(std::string_view line, std::string_view key);

// The value of key in section of the file's contents; nullopt when the key is absent.
std::optional<Text> FindProfileString(std::string_view contents, std::string_view section,
                                      std::string_view key);

}  // namespace vardelle

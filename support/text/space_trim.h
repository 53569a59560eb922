// Trimming of the two spaces that the program's texts use: the ASCII space and the GBK
// full-width space (A1 A1). Double-byte characters are stepped over whole, so the second
// byte of one character and the first of the next never pass for a full-width space.
#pragma once

#include <string_view>

#include "support/text/text.h"

namespace vardelle {

// The text without its leading and trailing spaces.
Text TrimSpaces(std::string_view text);
// True when the text holds nothing but spaces (or nothing at all), which is the same as
// being empty once all its spaces are removed.
bool IsBlankText(std::string_view text);
// The text without leading and trailing ASCII spaces and tabs, as protocol and file
// formats pad their fields.
std::string_view TrimAsciiBlanks(std::string_view text);

}  // namespace vardelle

// Server names that sort by number: the carrier prefix of a server's historic name
// followed by the number its Chinese numeral spells, as two digits.
#pragma once

#include <string_view>

#include "support/text/text.h"

namespace vardelle {

// The number that a Chinese numeral in GBK spells (二十一 is 21, 一百零五 is 105); a
// text without numerals gives 0. formal picks the financial characters (壹, 拾, 佰, …).
double ChineseNumeralValue(std::string_view text, bool formal = false);

// serverName of the server table: the leftmost 4 bytes of oldName (two GBK characters),
// the last two digits of the number the rest spells, and "区 " (电信十一 gives "电信11区 ").
Text ServerNameFromOldName(std::string_view oldName);

}  // namespace vardelle

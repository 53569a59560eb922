// The order in which the server table's texts sort: the order of the user's language, as
// a Chinese reader expects it (Chinese characters by pinyin), rather than by byte values.
#pragma once

#include <string_view>

namespace vardelle {

// Compares two GBK texts; -1, 0 or 1. Texts the language calls equal are ordered by their
// bytes, so the order is total and 0 means the same bytes.
int CollateTexts(std::string_view a, std::string_view b);

}  // namespace vardelle

// Case-blind comparison of ASCII letters only, as protocol names (header names, schemes,
// charsets) are compared; bytes from 0x80 up, GBK included, compare as they are.
#pragma once

#include <algorithm>
#include <string_view>

namespace vardelle {

constexpr char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(),
                    [](char a, char b) { return AsciiLower(a) == AsciiLower(b); });
}

constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && StartsWithIgnoringAsciiCase(a, b);
}

}  // namespace vardelle

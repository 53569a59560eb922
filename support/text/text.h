// The program's text: GBK bytes in a std::string, "" standing for a missing text.
// Positions are 1-based and a failed search answers -1; searches, replacement and case
// changes step over a double-byte character (lead byte >= 0x80 plus the byte after it) as a
// whole, while left, right and mid count plain bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/bytes.h"

namespace vardelle {

using Text = std::string;

int TextLength(std::string_view text);
// Bytes of the character that starts at offset: a lead byte takes the byte after it along.
std::size_t CharWidthAt(std::string_view text, std::size_t offset);
Text JoinTexts(std::initializer_list<std::string_view> parts);
int CompareTexts(std::string_view a, std::string_view b);

struct FindOptions {
  int start = 1;            // 1-based position where the scan begins
  bool ignoreCase = false;  // ASCII letters only
};
int FindText(std::string_view text, std::string_view wanted, FindOptions options = {});

Text LeftText(std::string_view text, int n);
Text RightText(std::string_view text, int n);
Text MidText(std::string_view text, int start, int n);
Text ReplaceText(std::string_view text, std::string_view wanted, std::string_view replacement,
                 bool caseSensitive = true);
Text UpperText(std::string_view text);
Text LowerText(std::string_view text);
Text SpaceText(int n);
int TruncateReal(double value);

// Downloaded bytes in the GB2312 charset (read as code page 936, so GBK decodes too).
Text DecodeBytesAsGb2312(const Bytes& bytes);

}  // namespace vardelle

#include "support/text/text.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>

#include "support/text/text_codec.h"

namespace vardelle {
namespace {

constexpr std::size_t kNotFound = std::string_view::npos;

bool IsLeadByte(char byte) { return static_cast<unsigned char>(byte) >= 0x80; }

char FoldAsciiCase(char byte) {
  return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte + 32) : byte;
}
char RaiseAsciiCase(char byte) {
  return byte >= 'a' && byte <= 'z' ? static_cast<char>(byte - 32) : byte;
}

// Compares wanted with the text at offset; the second byte of a double-byte character in
// the text is compared exactly even when case is ignored, since it is no letter.
bool MatchesAt(std::string_view text, std::size_t offset, std::string_view wanted,
               bool ignoreCase) {
  if (text.size() - offset < wanted.size()) return false;
  bool secondByte = false;
  for (std::size_t i = 0; i < wanted.size(); ++i) {
    const char have = text[offset + i];
    const bool fold = ignoreCase && !secondByte;
    if (fold ? FoldAsciiCase(have) != FoldAsciiCase(wanted[i]) : have != wanted[i]) return false;
    secondByte = !secondByte && IsLeadByte(have);
  }
  return true;
}

std::size_t FindFrom(std::string_view text, std::string_view wanted, std::size_t offset,
                     bool ignoreCase) {
  for (; offset < text.size(); offset += CharWidthAt(text, offset)) {
    if (MatchesAt(text, offset, wanted, ignoreCase)) return offset;
  }
  return kNotFound;
}

int ClampToInt(std::size_t value) {
  return static_cast<int>(std::min<std::size_t>(value, INT_MAX));
}

// How many bytes a count argument takes from a text of the given size: none for n <= 0.
std::size_t BytesToTake(int n, std::size_t size) {
  return n <= 0 ? 0 : std::min(static_cast<std::size_t>(n), size);
}

template <class MapLetter>
Text MapAsciiLetters(std::string_view text, MapLetter mapLetter) {
  Text result(text);
  for (std::size_t i = 0; i < result.size(); i += CharWidthAt(result, i)) {
    result[i] = mapLetter(result[i]);
  }
  return result;
}

}  // namespace

std::size_t CharWidthAt(std::string_view text, std::size_t offset) {
  return IsLeadByte(text[offset]) && offset + 1 < text.size() ? 2 : 1;
}

int TextLength(std::string_view text) { return ClampToInt(text.size()); }

Text JoinTexts(std::initializer_list<std::string_view> parts) {
  std::size_t total = 0;
  for (std::string_view part : parts) total += part.size();
  Text joined;
  joined.reserve(total);
  for (std::string_view part : parts) joined.append(part);
  return joined;
}

// char_traits<char> compares as unsigned bytes, as the C library's strcmp does.
int CompareTexts(std::string_view a, std::string_view b) {
  const int order = a.compare(b);
  return (order > 0) - (order < 0);
}

int FindText(std::string_view text, std::string_view wanted, FindOptions options) {
  if (text.empty()) return -1;
  if (wanted.empty()) return 1;
  const std::size_t offset = options.start <= 1 ? 0 : static_cast<std::size_t>(options.start) - 1;
  const std::size_t found = FindFrom(text, wanted, offset, options.ignoreCase);
  return found == kNotFound ? -1 : ClampToInt(found + 1);
}

Text LeftText(std::string_view text, int n) {
  return Text(text.substr(0, BytesToTake(n, text.size())));
}

Text RightText(std::string_view text, int n) {
  return Text(text.substr(text.size() - BytesToTake(n, text.size())));
}

Text MidText(std::string_view text, int start, int n) {
  if (start < 1 || static_cast<std::size_t>(start) > text.size()) return {};
  const std::size_t offset = static_cast<std::size_t>(start) - 1;
  return Text(text.substr(offset, BytesToTake(n, text.size() - offset)));
}

Text ReplaceText(std::string_view text, std::string_view wanted, std::string_view replacement,
                 bool caseSensitive) {
  if (wanted.empty()) return Text(text);
  Text result;
  result.reserve(text.size());
  std::size_t copied = 0;
  std::size_t found = FindFrom(text, wanted, 0, !caseSensitive);
  while (found != kNotFound) {
    result.append(text.substr(copied, found - copied)).append(replacement);
    copied = found + wanted.size();
    found = FindFrom(text, wanted, copied, !caseSensitive);
  }
  result.append(text.substr(copied));
  return result;
}

Text UpperText(std::string_view text) { return MapAsciiLetters(text, RaiseAsciiCase); }

Text LowerText(std::string_view text) { return MapAsciiLetters(text, FoldAsciiCase); }

Text SpaceText(int n) { return n < 1 ? Text() : Text(static_cast<std::size_t>(n), ' '); }

// Out-of-range values saturate and NaN gives 0, so the conversion itself is always defined.
int TruncateReal(double value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(INT_MAX) + 1.0) return INT_MAX;
  if (value <= static_cast<double>(INT_MIN) - 1.0) return INT_MIN;
  return static_cast<int>(value);
}

Text DecodeBytesAsGb2312(const Bytes& bytes) {
  const std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return ToGbk(ToUtf16(raw));
}

}  // namespace vardelle

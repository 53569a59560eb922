#include "support/text/space_trim.h"

#include <cstddef>

namespace vardelle {
namespace {

constexpr std::string_view kFullWidthSpace = "　";

bool IsSpaceAt(std::string_view text, std::size_t offset) {
  return text[offset] == ' ' || text.substr(offset, 2) == kFullWidthSpace;
}

}  // namespace

Text TrimSpaces(std::string_view text) {
  std::size_t begin = text.size();
  std::size_t end = 0;
  for (std::size_t i = 0; i < text.size(); i += CharWidthAt(text, i)) {
    if (IsSpaceAt(text, i)) continue;
    if (begin == text.size()) begin = i;
    end = i + CharWidthAt(text, i);
  }
  return begin < end ? Text(text.substr(begin, end - begin)) : Text();
}

bool IsBlankText(std::string_view text) { return TrimSpaces(text).empty(); }

std::string_view TrimAsciiBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace vardelle

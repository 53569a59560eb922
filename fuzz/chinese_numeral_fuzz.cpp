// Chinese numerals and server names from any bytes: whatever the text, the name is the
// first four bytes of the old name, two characters of number and the district sign.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/loading/chinese_numeral.h"

namespace {

constexpr std::string_view kDistrictSuffix = "\xC7\xF8 ";  // "区 " in GBK
constexpr std::size_t kPrefixBytes = 4;
constexpr std::size_t kNumberBytes = 2;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  vardelle::ChineseNumeralValue(text, false);
  vardelle::ChineseNumeralValue(text, true);
  const vardelle::Text name = vardelle::ServerNameFromOldName(text);
  const std::string_view prefix = text.substr(0, kPrefixBytes);
  if (!name.starts_with(prefix) || !name.ends_with(kDistrictSuffix) ||
      name.size() != prefix.size() + kNumberBytes + kDistrictSuffix.size()) {
    std::abort();
  }
  return 0;
}

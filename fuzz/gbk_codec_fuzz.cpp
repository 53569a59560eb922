// The GBK codec on any bytes: every byte string survives GBK -> UTF-16 -> GBK unchanged,
// and any UTF-16 text (the input's byte pairs) converts to GBK without fault.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "support/text/text_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (vardelle::ToGbk(vardelle::ToUtf16(bytes)) != bytes) std::abort();
  std::u16string units(size / 2, u'\0');
  std::memcpy(units.data(), data, units.size() * sizeof(char16_t));
  vardelle::ToGbk(units);
  return 0;
}

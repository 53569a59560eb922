// Response decoding on any bytes: the first line is the Content-Type value, the rest the
// body. The text must hold only whole GBK characters, so reading it again escapes no byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "support/text/response_text_decoding.h"
#include "support/text/text_codec.h"

namespace {

bool IsEscapedByte(char16_t unit) { return unit >= 0xDC80 && unit <= 0xDCFF; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t lineEnd = input.find('\n');
  const std::string_view contentType = input.substr(0, lineEnd);
  const vardelle::Bytes body = lineEnd == std::string_view::npos
                                   ? vardelle::Bytes()
                                   : vardelle::Bytes(data + lineEnd + 1, data + size);
  const vardelle::Text text = vardelle::DecodeResponseText(body, contentType);
  for (const char16_t unit : vardelle::ToUtf16(text)) {
    if (IsEscapedByte(unit)) std::abort();
  }
  vardelle::EncodeRequestText(text);
  return 0;
}

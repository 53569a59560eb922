// The IP-location answer's "\u" escapes and its location line on any bytes. An escape takes
// at least three bytes and becomes at most one double-byte character, and "\/" loses its
// backslash, so the decoded text is never longer than the input; a text without a
// backslash comes back as it is. The line is the failure text or six fields around " - ".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/location/server_location.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const vardelle::Text decoded = vardelle::DecodeUnicodeEscapes(text);
  if (decoded.size() > text.size()) std::abort();
  if (text.find('\\') == std::string_view::npos && decoded != text) std::abort();
  const vardelle::Text line = vardelle::LocationLineFromAnswer(text);
  if (line != vardelle::kLocationFailureText && line.find(" - ") == vardelle::Text::npos) {
    std::abort();
  }
  return 0;
}

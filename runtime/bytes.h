// Bytes: a counted byte sequence such as a downloaded body, not zero-terminated.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace vardelle {

using Bytes = std::vector<std::uint8_t>;

inline Bytes BytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

}  // namespace vardelle

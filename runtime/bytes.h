// Bytes: a counted byte sequence such as a downloaded body, not zero-terminated.
#pragma once

#include <cstdint>
#include <vector>

namespace vardelle {

using Bytes = std::vector<std::uint8_t>;

}  // namespace vardelle

// The checksum ICMP and IPv4 headers carry.
#pragma once

#include <cstdint>
#include <span>

namespace vardelle {

// The one's-complement sum of RFC 1071 that ICMP and IPv4 headers carry.
std::uint16_t InternetChecksum(std::span<const std::uint8_t> bytes);

}  // namespace vardelle

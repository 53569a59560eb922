#include "runtime/probes/internet_checksum.h"

#include <cstddef>

namespace vardelle {

std::uint16_t InternetChecksum(std::span<const std::uint8_t> bytes) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    sum += static_cast<std::uint32_t>((bytes[i] << 8) | bytes[i + 1]);
  }
  if (bytes.size() % 2 != 0) {
    sum += static_cast<std::uint32_t>(bytes.back()) << 8;
  }
  while ((sum >> 16) != 0) {
    sum = (sum & 0xffffu) + (sum >> 16);
  }
  return static_cast<std::uint16_t>(~sum);
}

}  // namespace vardelle

#include "runtime/fetch/redirect_policy.h"

#include <algorithm>
#include <array>

#include "runtime/text/ascii_case.h"

namespace vardelle {
namespace {

using Ipv6 = std::array<std::uint8_t, 16>;

// A prefix of an address: the first `bits` bits equal those of `start`.
struct Block {
  std::array<std::uint8_t, 2> start;
  int bits;
};

bool InBlock(std::span<const std::uint8_t> address, const Block& block) {
  for (int bit = 0; bit < block.bits; ++bit) {
    const int mask = 0x80 >> (bit % 8);
    const auto index = static_cast<std::size_t>(bit / 8);
    if ((address[index] & mask) != (block.start[index] & mask)) return false;
  }
  return true;
}

bool IsInternalIpv4(std::span<const std::uint8_t> address) {
  static constexpr Block kInternal[] = {
      {{0, 0}, 8},       // "this network", 0.0.0.0 among it
      {{10, 0}, 8},      // private
      {{100, 64}, 10},   // shared by carrier NAT
      {{127, 0}, 8},     // loopback
      {{169, 254}, 16},  // link-local
      {{172, 16}, 12},   // private
      {{192, 168}, 16},  // private
  };
  return std::any_of(std::begin(kInternal), std::end(kInternal),
                     [&](const Block& block) { return InBlock(address, block); });
}

bool IsInternalIpv6(std::span<const std::uint8_t> address) {
  static constexpr Ipv6 kLoopback = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
  static constexpr std::array<std::uint8_t, 12> kMappedPrefix = {0, 0, 0, 0, 0,    0,
                                                                 0, 0, 0, 0, 0xff, 0xff};
  static constexpr Block kInternal[] = {
      {{0xfc, 0}, 7},      // unique-local
      {{0xfe, 0x80}, 10},  // link-local
      {{0xfe, 0xc0}, 10},  // site-local, retired but still routed inside some networks
  };
  if (std::equal(kMappedPrefix.begin(), kMappedPrefix.end(), address.begin())) {
    return IsInternalIpv4(address.subspan(12));
  }
  const bool unspecified = std::all_of(address.begin(), address.end(), [](auto b) { return !b; });
  return unspecified || std::equal(kLoopback.begin(), kLoopback.end(), address.begin()) ||
         std::any_of(std::begin(kInternal), std::end(kInternal),
                     [&](const Block& block) { return InBlock(address, block); });
}

}  // namespace

bool IsInternalAddress(std::span<const std::uint8_t> address) {
  if (address.size() == 4) return IsInternalIpv4(address);
  if (address.size() == 16) return IsInternalIpv6(address);
  return true;
}

RedirectRefusal JudgeRedirect(const RedirectHop& origin, const RedirectHop& previous,
                              const RedirectHop& next, bool secureToPlainAllowed) {
  if (previous.secure && !next.secure && !secureToPlainAllowed) {
    return RedirectRefusal::kSecureToPlain;
  }
  if (!origin.internal && next.internal) return RedirectRefusal::kPublicToInternal;
  return RedirectRefusal::kNone;
}

RedirectRefusal RedirectChain::Next(const RedirectHop& hop) {
  if (!started_) {
    started_ = true;
    origin_ = hop;
  }
  const RedirectRefusal refusal = JudgeRedirect(origin_, previous_, hop, secureToPlainAllowed_);
  if (refusal == RedirectRefusal::kNone) previous_ = hop;
  return refusal;
}

bool CredentialsFollow(const UrlOrigin& first, const UrlOrigin& next) {
  return first.secure == next.secure && first.port == next.port &&
         EqualsIgnoringAsciiCase(first.host, next.host);
}

bool IsCredentialHeader(std::string_view line) {
  const std::string_view name = line.substr(0, line.find(':'));
  return name.size() < line.size() && (EqualsIgnoringAsciiCase(name, "Authorization") ||
                                       EqualsIgnoringAsciiCase(name, "Cookie"));
}

}  // namespace vardelle

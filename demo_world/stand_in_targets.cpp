#include "demo_world/stand_in_targets.h"

#ifdef _WIN32
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#endif

#include <algorithm>
#include <charconv>

#include "demo_world/stand_in_text.h"

namespace vardelle::demo::stand_in {

// The address's bytes, 4 or 16; none when the text is no IP address.
std::vector<unsigned char> AddressBytes(const std::string& text) {
  unsigned char bytes[sizeof(in6_addr)];
  if (text.find('\0') != std::string::npos) return {};
  if (inet_pton(AF_INET, text.c_str(), bytes) == 1) {
    return std::vector<unsigned char>(bytes, bytes + sizeof(in_addr));
  }
  if (inet_pton(AF_INET6, text.c_str(), bytes) == 1) {
    return std::vector<unsigned char>(bytes, bytes + sizeof(in6_addr));
  }
  return {};
}

// The target's IP address as the API reads it ("[...]" holds an IPv6 one); none for a name.
std::optional<std::string> IpAddressIn(const std::string& target) {
  const bool bracketed = target.size() >= 2 && target.front() == '[' && target.back() == ']';
  const std::string address = bracketed ? target.substr(1, target.size() - 2) : target;
  const size_t length = AddressBytes(address).size();
  if (length == 0 || (bracketed && length != sizeof(in6_addr))) return std::nullopt;
  return address;
}

namespace {

// The API's private-ip.ts: reserved IPv4 blocks and IANA's special-purpose IPv6 ones.
constexpr std::string_view kPrivateRanges[] = {
    "0.0.0.0/8",          "10.0.0.0/8",      "100.64.0.0/10",  "127.0.0.0/8",    "169.254.0.0/16",
    "172.16.0.0/12",      "192.0.0.0/24",    "192.0.2.0/24",   "192.88.99.0/24", "192.168.0.0/16",
    "198.18.0.0/15",      "198.51.100.0/24", "203.0.113.0/24", "224.0.0.0/4",    "240.0.0.0/4",
    "255.255.255.255/32", "::/128",          "::1/128",        "64:ff9b:1::/48", "100::/64",
    "2001::/32",          "2001:10::/28",    "2001:20::/28",   "2001:db8::/32",  "2002::/16",
    "fc00::/7",           "fe80::/10",       "ff00::/8",
};

bool InRange(const std::vector<unsigned char>& address, std::string_view range) {
  const size_t slash = range.find('/');
  const std::vector<unsigned char> network = AddressBytes(std::string(range.substr(0, slash)));
  if (network.size() != address.size()) return false;
  int bits = 0;
  std::from_chars(range.data() + slash + 1, range.data() + range.size(), bits);
  for (size_t i = 0; bits > 0; ++i, bits -= 8) {
    const auto mask = static_cast<unsigned char>(bits >= 8 ? 0xFF : 0xFF << (8 - bits));
    if ((address[i] & mask) != (network[i] & mask)) return false;
  }
  return true;
}

}  // namespace

bool IsPrivateAddress(const std::string& address) {
  const std::vector<unsigned char> bytes = AddressBytes(address);
  return std::ranges::any_of(kPrivateRanges,
                             [&](std::string_view range) { return InRange(bytes, range); });
}

namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
// The validator takes most of Unicode as letters; every byte of UTF-8 beyond ASCII stands in.
bool IsBeyondAscii(char c) { return static_cast<unsigned char>(c) >= 0x80; }

bool IsLabel(std::string_view label) {
  const auto allowed = [](char c) {
    return IsAsciiLetter(c) || IsDigit(c) || c == '-' || c == '_' || IsBeyondAscii(c);
  };
  return !label.empty() && label.size() <= 63 && std::ranges::all_of(label, allowed) &&
         label.front() != '-' && label.back() != '-';
}

// Two letters or more, or an internationalized name's "xn--" form.
bool IsTopLevelLabel(std::string_view label) {
  const auto punycode = [](char c) { return IsAsciiLetter(c) || IsDigit(c) || c == '-'; };
  if (label.size() >= 4 && LowerCase(label.substr(0, 2)) == "xn" &&
      std::ranges::all_of(label.substr(2), punycode)) {
    return true;
  }
  const auto letter = [](char c) { return IsAsciiLetter(c) || IsBeyondAscii(c); };
  return label.size() >= 2 && std::ranges::all_of(label, letter);
}

}  // namespace

// The validator's isFQDN with allow_underscores, as the API checks a target name.
bool IsDomainName(std::string_view name) {
  std::vector<std::string_view> labels;
  for (size_t start = 0; start <= name.size();) {
    const size_t dot = std::min(name.find('.', start), name.size());
    labels.push_back(name.substr(start, dot - start));
    start = dot + 1;
  }
  return labels.size() >= 2 && std::ranges::all_of(labels, IsLabel) &&
         IsTopLevelLabel(labels.back());
}

}  // namespace vardelle::demo::stand_in

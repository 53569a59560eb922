#include "app/global_ping/globalping_target.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace vardelle {
namespace {

using Ipv4 = std::array<std::uint8_t, 4>;
using Ipv6 = std::array<std::uint8_t, 16>;

constexpr char kPrivateTarget[] = "内网、本机或保留地址，全球探针无法测试";
constexpr size_t kMostNameLabelBytes = 63;

struct Range {
  std::array<std::uint8_t, 16> prefix;
  int bits;
};

// The ranges the service refuses, as its own list names them.
constexpr Range kPrivateIpv4[] = {
    {{0}, 8},
    {{10}, 8},
    {{100, 64}, 10},
    {{127}, 8},
    {{169, 254}, 16},
    {{172, 16}, 12},
    {{192, 0, 0}, 24},
    {{192, 0, 2}, 24},
    {{192, 88, 99}, 24},
    {{192, 168}, 16},
    {{198, 18}, 15},
    {{198, 51, 100}, 24},
    {{203, 0, 113}, 24},
    {{224}, 4},
    {{240}, 4},
};
constexpr Range kPrivateIpv6[] = {
    {{}, 128},
    {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}, 128},
    {{0, 0x64, 0xff, 0x9b, 0, 1}, 48},
    {{0x01, 0x00}, 64},
    {{0x20, 0x01}, 32},
    {{0x20, 0x01, 0x00, 0x10}, 28},
    {{0x20, 0x01, 0x00, 0x20}, 28},
    {{0x20, 0x01, 0x0d, 0xb8}, 32},
    {{0x20, 0x02}, 16},
    {{0xfc}, 7},
    {{0xfe, 0x80}, 10},
    {{0xff}, 8},
};

template <size_t N>
bool InRange(const std::array<std::uint8_t, N>& address, const Range& range) {
  // A prefix never reaches past the address, and the loop says so to the compiler too.
  const int bits = std::min(range.bits, static_cast<int>(N * 8));
  for (int bit = 0; bit < bits; ++bit) {
    const int mask = 0x80 >> (bit % 8);
    if ((address[bit / 8] & mask) != (range.prefix[bit / 8] & mask)) return false;
  }
  return true;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  return (c | 0x20) - 'a' + 10;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  while (true) {
    const size_t at = text.find(separator);
    parts.push_back(text.substr(0, at));
    if (at == std::string_view::npos) return parts;
    text.remove_prefix(at + 1);
  }
}

// Four decimal numbers of 0 to 255 without leading zeros.
std::optional<Ipv4> ParseIpv4(std::string_view text) {
  const std::vector<std::string_view> parts = Split(text, '.');
  if (parts.size() != 4) return std::nullopt;
  Ipv4 address{};
  for (size_t i = 0; i < 4; ++i) {
    const std::string_view part = parts[i];
    if (part.empty() || part.size() > 3 || (part.size() > 1 && part[0] == '0') ||
        !std::all_of(part.begin(), part.end(), IsDigit)) {
      return std::nullopt;
    }
    int value = 0;
    for (const char c : part) value = value * 10 + (c - '0');
    if (value > 255) return std::nullopt;
    address[i] = static_cast<std::uint8_t>(value);
  }
  return address;
}

// Groups of up to four hex digits into bytes; false for anything else.
bool ParseGroups(std::string_view text, std::vector<std::uint8_t>& bytes) {
  if (text.empty()) return true;
  for (const std::string_view group : Split(text, ':')) {
    if (group.empty() || group.size() > 4 || !std::all_of(group.begin(), group.end(), IsHexDigit)) {
      return false;
    }
    int value = 0;
    for (const char c : group) value = value * 16 + HexValue(c);
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
    bytes.push_back(static_cast<std::uint8_t>(value & 0xff));
  }
  return true;
}

// Hex groups with at most one "::" and an optional dotted IPv4 tail.
std::optional<Ipv6> ParseIpv6(std::string_view text) {
  std::vector<std::uint8_t> tail;
  const size_t lastColon = text.rfind(':');
  if (lastColon != std::string_view::npos && text.find('.', lastColon) != std::string_view::npos) {
    const std::optional<Ipv4> embedded = ParseIpv4(text.substr(lastColon + 1));
    if (!embedded) return std::nullopt;
    tail.assign(embedded->begin(), embedded->end());
    // The colon before the tail belongs to it; keep a "::" whole.
    text = text.substr(0, lastColon + (lastColon > 0 && text[lastColon - 1] == ':' ? 1 : 0));
  }
  std::vector<std::uint8_t> head;
  std::vector<std::uint8_t> rest;
  const size_t gap = text.find("::");
  if (gap == std::string_view::npos) {
    if (!ParseGroups(text, head)) return std::nullopt;
    head.insert(head.end(), tail.begin(), tail.end());
    if (head.size() != 16) return std::nullopt;
  } else {
    if (text.find("::", gap + 1) != std::string_view::npos ||
        !ParseGroups(text.substr(0, gap), head) || !ParseGroups(text.substr(gap + 2), rest)) {
      return std::nullopt;
    }
    rest.insert(rest.end(), tail.begin(), tail.end());
    if (head.size() + rest.size() > 14) return std::nullopt;
    head.resize(16 - rest.size(), 0);
    head.insert(head.end(), rest.begin(), rest.end());
  }
  Ipv6 address{};
  std::copy(head.begin(), head.end(), address.begin());
  return address;
}

template <size_t N, size_t M>
std::string AddressProblem(const std::array<std::uint8_t, N>& address, const Range (&ranges)[M],
                           bool privateTargetsMeasured) {
  if (privateTargetsMeasured) return {};
  const bool isPrivate = std::any_of(std::begin(ranges), std::end(ranges),
                                     [&](const Range& range) { return InRange(address, range); });
  return isPrivate ? kPrivateTarget : "";
}

// Letters, digits, hyphens and underscores; bytes past ASCII pass as letters of a name in
// another script.
bool IsNameLabel(std::string_view label) {
  return !label.empty() && label.size() <= kMostNameLabelBytes && label.front() != '-' &&
         label.back() != '-' && std::all_of(label.begin(), label.end(), [](char c) {
           return IsAsciiLetter(c) || IsDigit(c) || c == '-' || c == '_' ||
                  static_cast<unsigned char>(c) >= 0x80;
         });
}

bool IsTopLevelDomain(std::string_view label) {
  if (label.size() < 2) return false;
  if (label.size() > 4 && (label.substr(0, 4) == "xn--" || label.substr(0, 4) == "XN--"))
    return true;
  return std::all_of(label.begin(), label.end(), [](char c) {
    return IsAsciiLetter(c) || static_cast<unsigned char>(c) >= 0x80;
  });
}

std::string NameProblem(std::string_view name) {
  const std::vector<std::string_view> labels = Split(name, '.');
  if (labels.size() < 2) return "不是完整的域名 (缺少顶级域名)";
  if (!std::all_of(labels.begin(), labels.end(), IsNameLabel) || !IsTopLevelDomain(labels.back())) {
    return "不是有效的域名或 IP 地址";
  }
  return {};
}

}  // namespace

std::string GlobalpingTargetProblem(std::string_view target, bool privateTargetsMeasured) {
  if (target.empty()) return "域名为空";
  if (target.size() > 2 && target.front() == '[' && target.back() == ']') {
    target = target.substr(1, target.size() - 2);
    if (target.find(':') == std::string_view::npos) return "不是有效的 IPv6 地址";
  }
  if (target.find(':') != std::string_view::npos) {
    const std::optional<Ipv6> address = ParseIpv6(target);
    return address ? AddressProblem(*address, kPrivateIpv6, privateTargetsMeasured)
                   : "不是有效的 IPv6 地址";
  }
  if (const std::optional<Ipv4> address = ParseIpv4(target)) {
    return AddressProblem(*address, kPrivateIpv4, privateTargetsMeasured);
  }
  return NameProblem(target);
}

}  // namespace vardelle

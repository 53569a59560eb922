#include "app/test_run/honest_answers.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <set>

#include "runtime/platform.h"

namespace vardelle {
namespace {

constexpr int kLeastRowsAlike = 4;
constexpr int kLeastNetworksAlike = 2;
// Whole milliseconds: answers within one of each other read at most this far apart.
constexpr int kAlikeSpreadMs = 1;

// A dotted address in host order.
std::optional<std::uint32_t> HostOrderIpv4(std::string_view address) {
  const std::optional<Ipv4Address> wire = ParseDottedIpv4(std::string(address));
  if (!wire) return std::nullopt;
  std::array<unsigned char, 4> bytes{};
  std::memcpy(bytes.data(), &*wire, bytes.size());
  return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
         std::uint32_t{bytes[2]} << 8 | bytes[3];
}

std::uint32_t PrefixMask(int prefixLength) {
  return prefixLength == 0 ? 0 : ~std::uint32_t{0} << (32 - prefixLength);
}

bool Covers(const AddressRange& range, std::uint32_t address) {
  return (address & PrefixMask(range.prefixLength)) == range.first;
}

bool IsNearbyIpv4(std::uint32_t address) {
  static constexpr std::array<AddressRange, 6> kNearby{{
      {0x7F000000, 8},   // loopback
      {0x0A000000, 8},   // private
      {0xAC100000, 12},  // private
      {0xC0A80000, 16},  // private
      {0xA9FE0000, 16},  // link-local
      {0x64400000, 10},  // the carriers' shared space, a hop or two away
  }};
  return std::any_of(kNearby.begin(), kNearby.end(),
                     [address](const AddressRange& range) { return Covers(range, address); });
}

// Read from the text's first group: "::1" exactly, fe80::/10, fc00::/7.
bool IsNearbyIpv6(std::string_view address) {
  if (address == "::1") return true;
  const std::size_t colon = address.find(':');
  if (colon != 4) return false;
  std::string group(address.substr(0, 4));
  std::transform(group.begin(), group.end(), group.begin(),
                 [](char c) { return static_cast<char>(c | 0x20); });
  return group.starts_with("fc") || group.starts_with("fd") || group.starts_with("fe8") ||
         group.starts_with("fe9") || group.starts_with("fea") || group.starts_with("feb");
}

bool IsJudged(const AnsweredRow& answer, const AddressRange& fakeAddresses) {
  return !IsNearbyAddress(answer.address) && !IsInRange(answer.address, fakeAddresses);
}

int NetworkOf(const std::string& address) {
  const std::optional<std::uint32_t> ipv4 = HostOrderIpv4(address);
  return ipv4 ? static_cast<int>(*ipv4 >> 16) : -1;
}

bool AllAlike(const std::vector<AnsweredRow>& remote) {
  if (static_cast<int>(remote.size()) < kLeastRowsAlike) return false;
  std::set<std::string> networks;
  for (const AnsweredRow& answer : remote) {
    const int network = NetworkOf(answer.address);
    networks.insert(network < 0 ? answer.address : std::to_string(network));
  }
  const auto [fastest, slowest] = std::minmax_element(
      remote.begin(), remote.end(),
      [](const AnsweredRow& a, const AnsweredRow& b) { return a.milliseconds < b.milliseconds; });
  return static_cast<int>(networks.size()) >= kLeastNetworksAlike &&
         slowest->milliseconds - fastest->milliseconds <= kAlikeSpreadMs;
}

}  // namespace

std::optional<AddressRange> ParseAddressRange(std::string_view text) {
  const std::size_t slash = text.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  const std::optional<std::uint32_t> first = HostOrderIpv4(text.substr(0, slash));
  const std::string_view length = text.substr(slash + 1);
  if (!first || length.empty() || length.size() > 2 ||
      !std::all_of(length.begin(), length.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  const int prefixLength = std::stoi(std::string(length));
  if (prefixLength > 32) return std::nullopt;
  return AddressRange{*first & PrefixMask(prefixLength), prefixLength};
}

AddressRange ProxyFakeAddresses() { return *ParseAddressRange(kProxyFakeAddressRange); }

bool IsInRange(std::string_view address, const AddressRange& range) {
  const std::optional<std::uint32_t> ipv4 = HostOrderIpv4(address);
  return ipv4 && Covers(range, *ipv4);
}

bool IsNearbyAddress(std::string_view address) {
  const std::optional<std::uint32_t> ipv4 = HostOrderIpv4(address);
  return ipv4 ? IsNearbyIpv4(*ipv4) : IsNearbyIpv6(address);
}

Text FakeAddressCell(const std::string& address) { return address + "（代理假地址）"; }

Text FakeAddressLatencyCell(const Text& latencyCell) { return latencyCell + "（非服务器延迟）"; }

Text FakeAddressLocationCell() { return "未知（代理假地址）"; }

std::vector<RowId> InterceptedRows(const std::vector<AnsweredRow>& answered,
                                   const AddressRange& fakeAddresses) {
  std::vector<AnsweredRow> remote;
  std::copy_if(
      answered.begin(), answered.end(), std::back_inserter(remote),
      [&fakeAddresses](const AnsweredRow& answer) { return IsJudged(answer, fakeAddresses); });
  const bool allAlike = AllAlike(remote);
  std::vector<RowId> rows;
  for (const AnsweredRow& answer : remote) {
    if (allAlike || answer.milliseconds == 0) rows.push_back(answer.row);
  }
  return rows;
}

Text HonestAnswersNote(bool fakeAddresses, bool intercepted) {
  Text note;
  if (fakeAddresses) {
    note +=
        "；标“代理假地址”的服务器地址是代理软件（fake-IP 模式）给的，延迟不是服务器的："
        "请在代理软件中对游戏域名关闭 fake-IP，或关闭代理后再测";
  }
  if (intercepted) {
    note +=
        "；部分延迟是本机的加速器或代理软件（TUN 模式）代答的，不是服务器的真实延迟："
        "请关闭加速器或代理的 TUN 模式后再测";
  }
  return note;
}

Text InterceptedRowNote() {
  return "这个延迟不是服务器的：回应来自本机的加速器或代理软件（TUN 模式），请关闭后再测";
}

}  // namespace vardelle

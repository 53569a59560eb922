// Name resolution behind ResolveHostAddress and PingHost. Each platform has its own
// resolver; network_probes.cpp picks the one for this system.
#pragma once

#include <string>

namespace vardelle {

// Which of a name's addresses is probed. The game client prefers IPv4, and so does the default.
enum class AddressFamilies { kIpv4First, kIpv6First, kIpv4Only, kIpv6Only };

class HostResolver {
 public:
  virtual ~HostResolver() = default;

  // The first IPv4 address of host as dotted text, or "" when it has none. Safe to call
  // from any number of threads at once.
  virtual std::string FirstIpv4Address(const std::string& host) = 0;

  // The first address of host of the preferred family, else the first of the other where
  // both are allowed, in the usual text form; "" when it has none. A resolver that knows
  // only IPv4 (this default) gives its IPv4 address wherever IPv4 is allowed.
  virtual std::string FirstAddress(const std::string& host, AddressFamilies families) {
    return families == AddressFamilies::kIpv6Only ? "" : FirstIpv4Address(host);
  }
};

// The choice as the system's getaddrinfo takes it, for every platform's resolver; ipv4, ipv6
// and both are the system's AF_INET, AF_INET6 and AF_UNSPEC.
struct SystemFamilies {
  int ipv4;
  int ipv6;
  int both;

  int Queried(AddressFamilies families) const {
    if (families == AddressFamilies::kIpv4Only) return ipv4;
    return families == AddressFamilies::kIpv6Only ? ipv6 : both;
  }

  // The first entry of the list (an addrinfo chain) of the preferred family, else its first.
  template <typename Entry>
  const Entry* Chosen(const Entry* list, AddressFamilies families) const {
    const bool ipv6First =
        families == AddressFamilies::kIpv6First || families == AddressFamilies::kIpv6Only;
    for (const Entry* entry = list; entry != nullptr; entry = entry->ai_next) {
      if (entry->ai_family == (ipv6First ? ipv6 : ipv4)) return entry;
    }
    return list;
  }
};

}  // namespace vardelle

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

}  // namespace vardelle

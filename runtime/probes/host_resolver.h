// Name resolution behind ResolveHostAddress and PingHost. Each platform has its own
// resolver; network_probes.cpp picks the one for this system.
#pragma once

#include <string>

namespace vardelle {

class HostResolver {
 public:
  virtual ~HostResolver() = default;

  // The first IPv4 address of host as dotted text, or "" when it has none. Safe to call
  // from any number of threads at once.
  virtual std::string FirstIpv4Address(const std::string& host) = 0;
};

}  // namespace vardelle

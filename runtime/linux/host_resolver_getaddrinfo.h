// The resolver of POSIX systems: the C library's getaddrinfo, so /etc/hosts, DNS and the
// rest of the system's name service configuration apply.
#pragma once

#include <string>

#include "runtime/probes/host_resolver.h"

namespace vardelle {

class GetaddrinfoResolver final : public HostResolver {
 public:
  std::string FirstIpv4Address(const std::string& host) override;
  std::string FirstAddress(const std::string& host, AddressFamilies families) override;
};

}  // namespace vardelle

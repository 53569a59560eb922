// The resolver of Windows: Winsock's GetAddrInfoW, so the hosts file, DNS and the rest of
// the system's name resolution apply.
#pragma once

#include <string>

#include "runtime/probes/host_resolver.h"

namespace vardelle {

// Starts Winsock for the whole process the first time; false when it would not start.
// Every later call answers the first one's outcome.
bool StartWinsock();

class WinsockResolver final : public HostResolver {
 public:
  std::string FirstIpv4Address(const std::string& host) override;
  std::string FirstAddress(const std::string& host, AddressFamilies families) override;
};

}  // namespace vardelle

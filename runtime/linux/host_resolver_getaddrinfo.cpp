#include "runtime/linux/host_resolver_getaddrinfo.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <memory>

namespace vardelle {

namespace {

struct AddrinfoDeleter {
  void operator()(addrinfo* list) const { freeaddrinfo(list); }
};

}  // namespace

std::string GetaddrinfoResolver::FirstIpv4Address(const std::string& host) {
  // A text with a zero byte inside would be cut there by the C library and name another host.
  if (host.empty() || host.find('\0') != std::string::npos) {
    return "";
  }
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_DGRAM;  // one entry per address instead of one per socket type
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
    return "";
  }
  const std::unique_ptr<addrinfo, AddrinfoDeleter> list(found);
  const auto* address = reinterpret_cast<const sockaddr_in*>(list->ai_addr);
  char dotted[INET_ADDRSTRLEN] = {};
  if (inet_ntop(AF_INET, &address->sin_addr, dotted, sizeof dotted) == nullptr) {
    return "";
  }
  return dotted;
}

}  // namespace vardelle

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

constexpr SystemFamilies kSystemFamilies{AF_INET, AF_INET6, AF_UNSPEC};

// The entry's address as text; "" for a family other than the two.
std::string AddressText(const addrinfo& entry) {
  const void* bytes = nullptr;
  if (entry.ai_family == AF_INET) {
    bytes = &reinterpret_cast<const sockaddr_in*>(entry.ai_addr)->sin_addr;
  } else if (entry.ai_family == AF_INET6) {
    bytes = &reinterpret_cast<const sockaddr_in6*>(entry.ai_addr)->sin6_addr;
  } else {
    return "";
  }
  char text[INET6_ADDRSTRLEN] = {};
  return inet_ntop(entry.ai_family, bytes, text, sizeof text) != nullptr ? text : "";
}

}  // namespace

std::string GetaddrinfoResolver::FirstIpv4Address(const std::string& host) {
  return FirstAddress(host, AddressFamilies::kIpv4Only);
}

std::string GetaddrinfoResolver::FirstAddress(const std::string& host, AddressFamilies families) {
  // A text with a zero byte inside would be cut there by the C library and name another host.
  if (host.empty() || host.find('\0') != std::string::npos) {
    return "";
  }
  addrinfo hints{};
  hints.ai_family = kSystemFamilies.Queried(families);
  hints.ai_socktype = SOCK_DGRAM;  // one entry per address instead of one per socket type
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
    return "";
  }
  const std::unique_ptr<addrinfo, AddrinfoDeleter> list(found);
  return AddressText(*kSystemFamilies.Chosen<addrinfo>(list.get(), families));
}

}  // namespace vardelle

#include "runtime/windows/host_resolver_winsock.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <memory>

#include "runtime/windows/wide_text.h"

namespace vardelle {
namespace {

struct AddressListDeleter {
  void operator()(ADDRINFOW* list) const { FreeAddrInfoW(list); }
};

constexpr SystemFamilies kSystemFamilies{AF_INET, AF_INET6, AF_UNSPEC};

// The entry's address as text; "" for a family other than the two.
std::string AddressText(const ADDRINFOW& entry) {
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

bool StartWinsock() {
  // Never cleaned up: sockets may be in use until the process ends.
  static const bool started = [] {
    WSADATA data{};
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return started;
}

std::string WinsockResolver::FirstIpv4Address(const std::string& host) {
  return FirstAddress(host, AddressFamilies::kIpv4Only);
}

std::string WinsockResolver::FirstAddress(const std::string& host, AddressFamilies families) {
  // A text with a zero byte inside would be cut there and name another host.
  if (host.empty() || host.find('\0') != std::string::npos || !StartWinsock()) return "";
  // The wide call, so a name outside the ANSI code page is asked for as it is spelled.
  const std::wstring name = WideFromGbk(host);
  ADDRINFOW hints{};
  hints.ai_family = kSystemFamilies.Queried(families);
  hints.ai_socktype = SOCK_DGRAM;  // one entry per address instead of one per socket type
  ADDRINFOW* found = nullptr;
  if (GetAddrInfoW(name.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) return "";
  const std::unique_ptr<ADDRINFOW, AddressListDeleter> list(found);
  return AddressText(*kSystemFamilies.Chosen<ADDRINFOW>(list.get(), families));
}

}  // namespace vardelle

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
  // A text with a zero byte inside would be cut there and name another host.
  if (host.empty() || host.find('\0') != std::string::npos || !StartWinsock()) return "";
  // The wide call, so a name outside the ANSI code page is asked for as it is spelled.
  const std::wstring name = WideFromGbk(host);
  ADDRINFOW hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_DGRAM;  // one entry per address instead of one per socket type
  ADDRINFOW* found = nullptr;
  if (GetAddrInfoW(name.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) return "";
  const std::unique_ptr<ADDRINFOW, AddressListDeleter> list(found);
  const auto* address = reinterpret_cast<const sockaddr_in*>(list->ai_addr);
  char dotted[INET_ADDRSTRLEN] = {};
  if (inet_ntop(AF_INET, &address->sin_addr, dotted, sizeof dotted) == nullptr) return "";
  return dotted;
}

}  // namespace vardelle

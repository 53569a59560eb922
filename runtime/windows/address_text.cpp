#include "runtime/windows/address_text.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <array>
#include <cstdint>
#include <string>

namespace vardelle {

std::optional<bool> JudgeAddressText(std::wstring_view text, AddressJudge isInternal) {
  if (text.size() > 2 && text.front() == L'[' && text.back() == L']') {
    text = text.substr(1, text.size() - 2);
  }
  const std::wstring address(text.substr(0, text.find(L'%')));  // a zone names no address
  std::array<std::uint8_t, 16> bytes{};
  if (InetPtonW(AF_INET, address.c_str(), bytes.data()) == 1) {
    return isInternal({bytes.data(), 4});
  }
  if (InetPtonW(AF_INET6, address.c_str(), bytes.data()) == 1) return isInternal(bytes);
  return std::nullopt;
}

RedirectRefusal JudgeWrittenAddress(RedirectChain& chain, bool secure, std::wstring_view host,
                                    AddressJudge isInternal) {
  const std::optional<bool> internal = JudgeAddressText(host, isInternal);
  return internal ? chain.Next({secure, *internal}) : RedirectRefusal::kNone;
}

}  // namespace vardelle

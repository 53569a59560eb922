#include "app/actions/argument_checks.h"

#include <algorithm>

#include "runtime/text/ascii_case.h"

namespace vardelle {
namespace {

constexpr size_t kMostHostBytes = 253;
constexpr size_t kMostLabelBytes = 63;

bool IsAsciiLetterOrDigit(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool IsHostLabel(std::string_view label) {
  return !label.empty() && label.size() <= kMostLabelBytes &&
         std::all_of(label.begin(), label.end(),
                     [](char c) { return IsAsciiLetterOrDigit(c) || c == '-'; });
}

bool IsPrintableAscii(char c) { return c > ' ' && c < 0x7F; }

// "http://" or "https://" in any case; 0 when address starts with neither.
size_t WebSchemeLength(std::string_view address) {
  for (std::string_view scheme : {"http://", "https://"}) {
    if (StartsWithIgnoringAsciiCase(address, scheme)) return scheme.size();
  }
  return 0;
}

// The host part of an address's authority: after any user information, before any port.
std::string_view AuthorityHost(std::string_view rest) {
  std::string_view authority = rest.substr(0, rest.find_first_of("/?#"));
  const size_t at = authority.rfind('@');
  if (at != std::string_view::npos) authority.remove_prefix(at + 1);
  return authority.substr(0, authority.find(':'));
}

}  // namespace

bool IsPlausibleHost(std::string_view host) {
  if (host.empty() || host.size() > kMostHostBytes || host.front() == '-') return false;
  while (true) {
    const size_t dot = host.find('.');
    if (!IsHostLabel(host.substr(0, dot))) return false;
    if (dot == std::string_view::npos) return true;
    host.remove_prefix(dot + 1);
  }
}

bool IsWebAddress(std::string_view address) {
  const size_t schemeLength = WebSchemeLength(address);
  return schemeLength > 0 && std::all_of(address.begin(), address.end(), IsPrintableAscii) &&
         !AuthorityHost(address.substr(schemeLength)).empty();
}

}  // namespace vardelle

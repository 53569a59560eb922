// Which redirects the program's HTTP clients follow and what a request carries across one.
// One rule for both fetch engines on both platforms: libcurl asks it before each request of
// a chain goes out, the WinHTTP engines follow redirects themselves and ask it at each hop.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vardelle {

// Whether an address (4 bytes IPv4 or 16 bytes IPv6, network order) is one a public site has
// no business sending a client to: loopback, unspecified, private (RFC 1918), shared (carrier
// NAT, RFC 6598), link-local, unique-local or IPv6 site-local; IPv4 mapped into IPv6 is judged
// as IPv4. Any other length counts as internal, so an address never judged is never public.
bool IsInternalAddress(std::span<const std::uint8_t> address);

// The judgement the engines use; tests put one of their own in its place to play a public
// site on loopback.
using AddressJudge = bool (*)(std::span<const std::uint8_t> address);

// One request of a redirect chain: its scheme and the address it connected to.
struct RedirectHop {
  bool secure = false;    // https
  bool internal = false;  // IsInternalAddress of the address connected to
};

enum class RedirectRefusal {
  kNone,
  kSecureToPlain,     // https -> http
  kPublicToInternal,  // a chain that began at a public address reaching an internal one
};

// Judges the request `next` of a chain that began with `origin` and whose previous request
// was `previous`. A site on an internal address may redirect among internal addresses (the
// demo world, a router's pages), a public one may not lead there.
RedirectRefusal JudgeRedirect(const RedirectHop& origin, const RedirectHop& previous,
                              const RedirectHop& next, bool secureToPlainAllowed = false);

// A chain as it goes: its first request sets the origin, every later one (a redirect, or the
// same request again to answer a logon challenge) is judged before it is sent.
class RedirectChain {
 public:
  explicit RedirectChain(bool secureToPlainAllowed = false)
      : secureToPlainAllowed_(secureToPlainAllowed) {}

  // The verdict on the request about to go out; a refused one does not count as gone.
  RedirectRefusal Next(const RedirectHop& hop);

 private:
  bool secureToPlainAllowed_;
  bool started_ = false;
  RedirectHop origin_;
  RedirectHop previous_;
};

// Where a URL leads, as far as credentials are concerned.
struct UrlOrigin {
  bool secure = false;  // https
  std::string host;     // as written; compared without ASCII case
  int port = 0;         // the scheme's own when the URL names none
};

// Whether the credentials given for the chain's first URL (Authorization and Cookie headers,
// user and password) go along to `next`: only to the same scheme, host and port.
bool CredentialsFollow(const UrlOrigin& first, const UrlOrigin& next);

// Whether a request header line ("Name: value") carries credentials of its host.
bool IsCredentialHeader(std::string_view line);

}  // namespace vardelle

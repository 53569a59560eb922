// The engine under ReadUrl and the limits it works within. Tests pass tighter limits.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

#include "runtime/bytes.h"
#include "runtime/fetch/redirect_policy.h"

namespace vardelle {

struct PageFetchLimits {
  // A body is cut off here; what was read so far is the result.
  std::size_t maxBodyBytes = std::size_t{64} << 20;
  // A server that sends nothing for this long ends the read.
  std::chrono::seconds stallTimeout{30};
  // The whole fetch, redirects included, ends here with what was read so far: a server that
  // trickles its body just fast enough to pass the stall guard cannot hold the caller.
  std::chrono::milliseconds deadline{std::chrono::seconds(120)};
  std::chrono::seconds connectTimeout{60};
  // Trusted certificates (PEM file) in place of the system's; empty: the system's.
  std::string caFile;
  // Which addresses a redirect from a public one may not lead to (RedirectChain).
  AddressJudge isInternal = IsInternalAddress;
};

// ReadUrl with given limits.
Bytes ReadUrl(const std::string& url, const PageFetchLimits& limits);

// GETs a URL that is neither empty nor carries a fragment, as one HTTP exchange
// (runtime/http/http_exchange.h) on the platform's engine. A redirect the policy refuses
// (https to http, a public site to an internal address) ends the fetch with nothing, as a
// failed connection does.
Bytes FetchPage(const std::string& url, const PageFetchLimits& limits);

}  // namespace vardelle

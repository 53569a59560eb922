// The engine under ReadUrl and the limits it works within. Tests pass tighter limits.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

#include "runtime/bytes.h"

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
};

// ReadUrl with given limits.
Bytes ReadUrl(const std::string& url, const PageFetchLimits& limits);

// GETs a URL that is neither empty nor carries a fragment. Defined by the platform's engine.
Bytes FetchPage(const std::string& url, const PageFetchLimits& limits);

}  // namespace vardelle

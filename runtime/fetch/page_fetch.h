// One-call download: the body of the answer to a GET of a URL.
#pragma once

#include <string>

#include "runtime/bytes.h"

namespace vardelle {

// The body as received, whatever the status code; as much as was read when the transfer
// broke off, stalled for 30 s or ran past 120 s in all; empty for an empty or malformed URL
// or when no connection was made.
Bytes ReadUrl(const std::string& url);

}  // namespace vardelle

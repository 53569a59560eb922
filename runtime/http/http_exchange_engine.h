// The platform's engine under RunHttpExchange: runtime/linux/http_exchange_curl.cpp on libcurl,
// runtime/windows/http_exchange_winhttp.cpp on WinHTTP. Each defines IsWebUrl as well.
#pragma once

#include <atomic>

#include "runtime/http/http_exchange.h"

namespace vardelle {

// Runs the exchange as RunHttpExchange does, but may throw (memory running out), which
// RunHttpExchange turns into a failed answer.
HttpAnswer RunExchangeOnEngine(const HttpExchange& exchange, const std::atomic<bool>& abort);

}  // namespace vardelle

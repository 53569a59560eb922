// The page fetch as one HTTP exchange, with the request that the program has
// always sent: GET over HTTP/1.0, an old browser's user agent, "Accept: */*"
// and reload-from-server semantics.
#include "runtime/fetch/page_fetch.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <utility>

#include "runtime/fetch/page_fetch_engine.h"
#include "runtime/http/http_exchange.h"

namespace vardelle {
namespace {

constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";

int Milliseconds(std::chrono::milliseconds length) {
  return static_cast<int>(std::clamp<std::chrono::milliseconds::rep>(length.count(), 0, INT_MAX));
}

HttpExchange PageExchange(const std::string& url, const PageFetchLimits& limits) {
  HttpExchange exchange;
  exchange.method = "GET";
  exchange.url = url;
  exchange.headers = {"Accept: */*", "Cache-Control: no-cache", "Pragma: no-cache"};
  exchange.userAgent = kUserAgent;
  exchange.proxyMode = ProxyMode::kAutomatic;
  exchange.caFile = limits.caFile;
  // Silence counts to the stall time while the request goes out as while the
  // answer comes in. The name's look-up has no limit of its own: libcurl counts
  // it to the connect time, WinHTTP to the whole deadline.
  const int stallMs = Milliseconds(limits.stallTimeout);
  exchange.timeouts = {0, Milliseconds(limits.connectTimeout), stallMs, stallMs,
                       Milliseconds(limits.deadline)};
  exchange.isInternal = limits.isInternal;
  exchange.http11 = false;
  exchange.maxBodyBytes = limits.maxBodyBytes;
  exchange.keepPartialBody = true;
  return exchange;
}

}  // namespace

Bytes ReadUrl(const std::string& url) { return ReadUrl(url, PageFetchLimits{}); }

Bytes ReadUrl(const std::string& url, const PageFetchLimits& limits) {
  const std::string withoutFragment = url.substr(0, url.find('#'));
  if (withoutFragment.empty()) return {};
  return FetchPage(withoutFragment, limits);
}

Bytes FetchPage(const std::string& url, const PageFetchLimits& limits) {
  const std::atomic<bool> keepGoing{false};
  HttpAnswer answer = RunHttpExchange(PageExchange(url, limits), keepGoing);
  // A refused redirect gives nothing, as a failed connection does; every other
  // end leaves what arrived.
  if (answer.failure == HttpFailure::kRedirectToPlain ||
      answer.failure == HttpFailure::kRedirectToInternal) {
    return {};
  }
  return std::move(answer.body);
}

}  // namespace vardelle

// The page fetch over libcurl, with the request that the program has always sent: GET over
// HTTP/1.0, an old browser's user agent, "Accept: */*" and reload-from-server semantics.
#include <curl/curl.h>

#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "runtime/fetch/page_fetch_engine.h"
#include "runtime/linux/curl_handles.h"
#include "runtime/linux/curl_redirect_guard.h"
#include "runtime/linux/curl_root.h"

namespace vardelle {
namespace {

constexpr char kUserAgent[] = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
const std::vector<std::string> kHeaders = {"Accept: */*", "Cache-Control: no-cache",
                                           "Pragma: no-cache"};
constexpr char kProtocols[] = "http,https";
constexpr long kMaxRedirects = 10;
constexpr long kReadSize = 102400;

struct Sink {
  Bytes body;
  std::size_t limit;
};

// Taking fewer bytes than offered ends the transfer, which is how the size cap stops it.
std::size_t Collect(char* data, std::size_t, std::size_t count, void* userData) {
  auto* sink = static_cast<Sink*>(userData);
  try {
    const std::size_t room = sink->limit - sink->body.size();
    const std::size_t taken = count < room ? count : room;
    sink->body.insert(sink->body.end(), data, data + taken);
    return taken;
  } catch (const std::bad_alloc&) {
    return 0;
  }
}

// A URL must name its scheme; libcurl would otherwise guess one.
UrlPtr ParseUrl(const std::string& text) {
  UrlPtr url(curl_url());
  if (!url || curl_url_set(url.get(), CURLUPART_URL, text.c_str(), 0) != CURLUE_OK) return nullptr;
  return url;
}

bool Configure(CURL* easy, CURLU* url, const PageFetchLimits& limits, const curl_slist* headers,
               CURLSH* share, Sink* sink) {
  CurlOptionSetter set(easy);
  set(CURLOPT_CURLU, url);
  set(CURLOPT_SHARE, share);
  set(CURLOPT_PROTOCOLS_STR, kProtocols);
  set(CURLOPT_REDIR_PROTOCOLS_STR, kProtocols);
  set(CURLOPT_FOLLOWLOCATION, 1L);
  set(CURLOPT_MAXREDIRS, kMaxRedirects);
  set(CURLOPT_HTTPGET, 1L);
  set(CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
  set(CURLOPT_USERAGENT, kUserAgent);
  set(CURLOPT_HTTPHEADER, headers);
  set(CURLOPT_NOSIGNAL, 1L);
  set(CURLOPT_BUFFERSIZE, kReadSize);
  set(CURLOPT_CONNECTTIMEOUT, static_cast<long>(limits.connectTimeout.count()));
  // Below one byte a second for the whole stall time: the server has stopped sending.
  set(CURLOPT_LOW_SPEED_LIMIT, 1L);
  set(CURLOPT_LOW_SPEED_TIME, static_cast<long>(limits.stallTimeout.count()));
  set(CURLOPT_TIMEOUT_MS, static_cast<long>(limits.deadline.count()));
  set(CURLOPT_WRITEFUNCTION, Collect);
  set(CURLOPT_WRITEDATA, sink);
  if (!limits.caFile.empty()) set(CURLOPT_CAINFO, limits.caFile.c_str());
  return set.Ok();
}

}  // namespace

Bytes FetchPage(const std::string& url, const PageFetchLimits& limits) {
  const CurlRootLease root;
  if (!root) return {};
  const UrlPtr parsed = ParseUrl(url);
  const EasyPtr easy(curl_easy_init());
  const ListPtr headers = CurlHeaderList(kHeaders);
  Sink sink{{}, limits.maxBodyBytes};
  CurlRedirectGuard guard(limits.isInternal, false);
  if (!parsed || !easy || !headers ||
      !Configure(easy.get(), parsed.get(), limits, headers.get(), root.Share(), &sink) ||
      !guard.Install(easy.get())) {
    return {};
  }
  // Whatever the outcome, the bytes that arrived are the answer, unless a redirect was
  // refused: then none came from where it led.
  curl_easy_perform(easy.get());
  if (guard.Refusal() != RedirectRefusal::kNone) return {};
  return std::move(sink.body);
}

}  // namespace vardelle

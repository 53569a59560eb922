// One HTTP exchange over libcurl.
#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <memory>
#include <string_view>

#include "runtime/http/http_exchange.h"
#include "runtime/http/http_exchange_engine.h"
#include "runtime/linux/curl_handles.h"
#include "runtime/linux/curl_redirect_guard.h"
#include "runtime/linux/curl_root.h"
#include "runtime/text/ascii_case.h"

namespace vardelle {
namespace {

using Clock = std::chrono::steady_clock;

// How often an idle transfer looks at its abort flag and its silence clock.
constexpr int kPollMs = 20;
// libcurl reads 0 as its own default, so "no limit" is spelled as a very long time.
constexpr long kNoLimitMs = INT_MAX;
constexpr char kWebProtocols[] = "http,https";

// What the callbacks gather while the transfer runs.
struct Reception {
  const HttpExchange& exchange;
  HttpAnswer answer;
  std::size_t headerBytes = 0;
  std::uint64_t bytesIn = 0;
  bool tooLarge = false;
};

// "HTTP/1.1 404 Not Found" -> "Not Found". Each status line starts a new answer: the ones
// before it were interim answers or redirects.
void StartAnswer(Reception& reception, std::string_view statusLine) {
  reception.answer.headerLines.clear();
  reception.headerBytes = 0;
  const std::size_t code = statusLine.find(' ');
  const std::size_t text = code == std::string_view::npos ? code : statusLine.find(' ', code + 1);
  reception.answer.statusText =
      text == std::string_view::npos ? std::string() : std::string(statusLine.substr(text + 1));
}

void AddHeaderLine(Reception& reception, std::string_view line) {
  std::vector<std::string>& lines = reception.answer.headerLines;
  const bool folded = (line.front() == ' ' || line.front() == '\t') && !lines.empty();
  if (folded) {
    lines.back().append(line);
  } else {
    lines.emplace_back(line);
  }
}

std::size_t TakeHeader(char* data, std::size_t, std::size_t count, void* user) {
  auto& reception = *static_cast<Reception*>(user);
  try {
    reception.bytesIn += count;
    std::string_view line(data, count);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    if (StartsWithIgnoringAsciiCase(line, "HTTP/")) {
      StartAnswer(reception, line);
    } else if (!line.empty()) {
      AddHeaderLine(reception, line);
    }
    // Taking fewer bytes than offered ends the transfer: that is how the limits stop it.
    reception.headerBytes += count;
    reception.tooLarge = reception.headerBytes > reception.exchange.maxHeaderBytes;
    return reception.tooLarge ? 0 : count;
  } catch (...) {
    return 0;
  }
}

std::size_t TakeBody(char* data, std::size_t, std::size_t count, void* user) {
  auto& reception = *static_cast<Reception*>(user);
  try {
    reception.bytesIn += count;
    Bytes& body = reception.answer.body;
    // libcurl hands over the body undone, so a compressed one stops inflating here.
    const std::size_t room = reception.exchange.maxBodyBytes - body.size();
    reception.tooLarge = count > room;
    const std::size_t taken = !reception.tooLarge                  ? count
                              : reception.exchange.keepPartialBody ? room
                                                                   : 0;
    body.insert(body.end(), data, data + taken);
    return taken;
  } catch (...) {
    return 0;
  }
}

// libcurl's own additions that the platform's component never sends are switched off.
ListPtr HeaderList(const HttpExchange& exchange) {
  std::vector<std::string> lines = exchange.headers;
  if (!HasHeader(exchange, "Expect")) lines.emplace_back("Expect:");
  if (CarriesBody(exchange) && !HasHeader(exchange, "Content-Type")) {
    lines.emplace_back("Content-Type:");
  }
  return CurlHeaderList(lines);
}

long ConnectTimeoutMs(const HttpTimeouts& timeouts) {
  if (timeouts.connectMs <= 0) return kNoLimitMs;
  const long resolve = timeouts.resolveMs > 0 ? timeouts.resolveMs : 0;
  return std::min<long>(kNoLimitMs, resolve + timeouts.connectMs);
}

std::string BypassList(std::string bypass) {
  std::replace(bypass.begin(), bypass.end(), ';', ',');
  return bypass;
}

void SetMethodAndBody(CurlOptionSetter& set, const HttpExchange& exchange) {
  if (exchange.method == "HEAD") {
    set(CURLOPT_NOBODY, 1L);
  } else if (!CarriesBody(exchange)) {
    set(CURLOPT_HTTPGET, 1L);
  } else {
    const bool empty = !exchange.body || exchange.body->empty();
    set(CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(empty ? 0 : exchange.body->size()));
    set(CURLOPT_POSTFIELDS, empty ? "" : reinterpret_cast<const char*>(exchange.body->data()));
    if (exchange.method != "POST") set(CURLOPT_CUSTOMREQUEST, exchange.method.c_str());
  }
}

void SetLogons(CurlOptionSetter& set, const HttpExchange& exchange) {
  if (exchange.serverLogon) {
    set(CURLOPT_USERNAME, exchange.serverLogon->user.c_str());
    set(CURLOPT_PASSWORD, exchange.serverLogon->password.c_str());
    set(CURLOPT_HTTPAUTH, CURLAUTH_ANY);
  } else if (exchange.autoLogon == AutoLogon::kAlways) {
    set(CURLOPT_USERPWD, ":");
    set(CURLOPT_HTTPAUTH, CURLAUTH_NEGOTIATE);
  }
  if (exchange.proxyLogon) {
    set(CURLOPT_PROXYUSERNAME, exchange.proxyLogon->user.c_str());
    set(CURLOPT_PROXYPASSWORD, exchange.proxyLogon->password.c_str());
    set(CURLOPT_PROXYAUTH, CURLAUTH_ANY);
  }
}

void SetConnection(CurlOptionSetter& set, const HttpExchange& exchange, const std::string& bypass) {
  if (exchange.proxyMode == ProxyMode::kDirect) set(CURLOPT_PROXY, "");
  if (exchange.proxyMode == ProxyMode::kNamed) {
    set(CURLOPT_PROXY, exchange.proxy.c_str());
    set(CURLOPT_NOPROXY, bypass.c_str());
  }
  if (!exchange.caFile.empty()) set(CURLOPT_CAINFO, exchange.caFile.c_str());
  if (!exchange.clientCertificate.empty()) {
    set(CURLOPT_SSLCERT, exchange.clientCertificate.c_str());
    set(CURLOPT_SSLKEY, exchange.clientCertificate.c_str());
  }
  // https -> http is the redirect guard's to refuse, with its own failure.
  set(CURLOPT_PROTOCOLS_STR, kWebProtocols);
  set(CURLOPT_REDIR_PROTOCOLS_STR, kWebProtocols);
  set(CURLOPT_FOLLOWLOCATION, exchange.followRedirects ? 1L : 0L);
  set(CURLOPT_MAXREDIRS, static_cast<long>(exchange.maxRedirects));
  set(CURLOPT_HTTP_VERSION,
      static_cast<long>(exchange.http11 ? CURL_HTTP_VERSION_1_1 : CURL_HTTP_VERSION_1_0));
  set(CURLOPT_CONNECTTIMEOUT_MS, ConnectTimeoutMs(exchange.timeouts));
  if (exchange.timeouts.wholeMs > 0) {
    set(CURLOPT_TIMEOUT_MS, static_cast<long>(exchange.timeouts.wholeMs));
  }
}

struct Resources {
  UrlPtr url;
  ListPtr headers;
  std::string bypass;
};

bool Configure(CURL* easy, CURLSH* share, Reception& reception, const Resources& resources) {
  const HttpExchange& exchange = reception.exchange;
  CurlOptionSetter set(easy);
  set(CURLOPT_CURLU, resources.url.get());
  set(CURLOPT_SHARE, share);
  set(CURLOPT_NOSIGNAL, 1L);
  set(CURLOPT_USERAGENT, exchange.userAgent.c_str());
  // "" offers every encoding this libcurl can undo.
  if (exchange.acceptCompressed) set(CURLOPT_ACCEPT_ENCODING, "");
  set(CURLOPT_HTTPHEADER, resources.headers.get());
  set(CURLOPT_HEADERFUNCTION, TakeHeader);
  set(CURLOPT_HEADERDATA, &reception);
  set(CURLOPT_WRITEFUNCTION, TakeBody);
  set(CURLOPT_WRITEDATA, &reception);
  SetMethodAndBody(set, exchange);
  SetLogons(set, exchange);
  SetConnection(set, exchange, resources.bypass);
  return set.Ok();
}

// Tells when the line has gone quiet for longer than the current phase allows.
class SilenceWatch {
 public:
  SilenceWatch(CURL* easy, const Reception& reception)
      : easy_(easy), reception_(reception), lastMove_(Clock::now()) {}

  bool Expired() {
    const auto now = Clock::now();
    curl_off_t out = 0;
    curl_off_t connected = 0;
    curl_easy_getinfo(easy_, CURLINFO_SIZE_UPLOAD_T, &out);
    curl_easy_getinfo(easy_, CURLINFO_PRETRANSFER_TIME_T, &connected);
    // Until the connection stands, the connect time-out is the one that applies.
    if (connected == 0 || out != lastOut_ || reception_.bytesIn != lastIn_) {
      lastOut_ = out;
      lastIn_ = reception_.bytesIn;
      lastMove_ = now;
      return false;
    }
    const Bytes* body = reception_.exchange.body ? &*reception_.exchange.body : nullptr;
    const bool sending = body != nullptr && static_cast<std::size_t>(out) < body->size();
    const HttpTimeouts& timeouts = reception_.exchange.timeouts;
    const int limitMs = sending ? timeouts.sendMs : timeouts.receiveMs;
    return limitMs > 0 && now - lastMove_ > std::chrono::milliseconds(limitMs);
  }

 private:
  CURL* easy_;
  const Reception& reception_;
  Clock::time_point lastMove_;
  curl_off_t lastOut_ = 0;
  std::uint64_t lastIn_ = 0;
};

// Drives the transfer; true when libcurl finished it without error.
bool Drive(CURLM* multi, CURL* easy, const Reception& reception, const std::atomic<bool>& abort) {
  SilenceWatch silence(easy, reception);
  int running = 1;
  while (curl_multi_perform(multi, &running) == CURLM_OK && running > 0) {
    if (abort || silence.Expired()) return false;
    curl_multi_poll(multi, nullptr, 0, kPollMs, nullptr);
  }
  int left = 0;
  const CURLMsg* message = curl_multi_info_read(multi, &left);
  return running == 0 && message != nullptr && message->msg == CURLMSG_DONE &&
         message->data.result == CURLE_OK;
}

void FinishAnswer(CURL* easy, Reception& reception) {
  long status = 0;
  char* finalUrl = nullptr;
  curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
  curl_easy_getinfo(easy, CURLINFO_EFFECTIVE_URL, &finalUrl);
  reception.answer.status = static_cast<int>(status);
  reception.answer.finalUrl = finalUrl != nullptr ? finalUrl : reception.exchange.url;
  reception.answer.complete = true;
}

HttpAnswer Failed(Reception& reception, const CurlRedirectGuard& guard) {
  HttpAnswer failed;
  failed.failure = reception.tooLarge ? HttpFailure::kTooLarge : RedirectFailure(guard.Refusal());
  // A refused redirect's target sent nothing, and the answers before it are no body.
  if (reception.exchange.keepPartialBody && failed.failure != HttpFailure::kRedirectToPlain &&
      failed.failure != HttpFailure::kRedirectToInternal) {
    failed.body = std::move(reception.answer.body);
  }
  return failed;
}

// A URL must name its scheme, http or https, and have a host: libcurl would otherwise guess a
// scheme. Blanks and control characters are refused by the parse.
UrlPtr ParseWebUrl(const std::string& text) {
  UrlPtr url(curl_url());
  char* scheme = nullptr;
  const bool ok =
      url && text.find('\0') == std::string::npos &&
      curl_url_set(url.get(), CURLUPART_URL, text.c_str(), 0) == CURLUE_OK &&
      curl_url_get(url.get(), CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK &&
      (EqualsIgnoringAsciiCase(scheme, "http") || EqualsIgnoringAsciiCase(scheme, "https"));
  curl_free(scheme);
  return ok ? std::move(url) : nullptr;
}

}  // namespace

HttpAnswer RunExchangeOnEngine(const HttpExchange& exchange, const std::atomic<bool>& abort) {
  const CurlRootLease root;
  if (!root) return {};
  Reception reception{exchange, {}};
  const Resources resources{ParseWebUrl(exchange.url), HeaderList(exchange),
                            BypassList(exchange.proxyBypass)};
  const MultiPtr multi(curl_multi_init());
  const EasyPtr easy(curl_easy_init());
  CurlRedirectGuard guard(exchange.isInternal, exchange.httpsToHttpRedirects);
  if (!multi || !easy || !resources.url || !resources.headers ||
      !Configure(easy.get(), root.Share(), reception, resources) || !guard.Install(easy.get()) ||
      curl_multi_add_handle(multi.get(), easy.get()) != CURLM_OK) {
    return {};
  }
  const bool done = Drive(multi.get(), easy.get(), reception, abort);
  curl_multi_remove_handle(multi.get(), easy.get());
  if (!done) return Failed(reception, guard);
  FinishAnswer(easy.get(), reception);
  return std::move(reception.answer);
}

// Only http and https URLs with a host are accepted, as by the platform's component.
bool IsWebUrl(const std::string& url) { return ParseWebUrl(url) != nullptr; }

}  // namespace vardelle

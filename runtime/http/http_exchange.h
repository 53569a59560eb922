// One HTTP exchange, run to its end on the calling thread: the program's one HTTP client on
// each platform. The request component (support/http) hands one over at Send and answers from
// it afterwards; the page fetch (runtime/fetch) runs one for each page. Each platform runs it
// with its own engine (runtime/linux/http_exchange_curl.cpp on libcurl,
// runtime/windows/http_exchange_winhttp.cpp on WinHTTP), so the users above it and the tests
// that drive an exchange serve both.
#pragma once

#include <atomic>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/bytes.h"
#include "runtime/fetch/redirect_policy.h"

namespace vardelle {

// Milliseconds; 0 or below: no limit. Send and receive limit the silence in their phase:
// no byte going out while the request is sent, no byte coming in while the answer is awaited.
// The whole exchange ends after wholeMs whatever moves, so a server trickling bytes cannot
// hold a caller forever.
struct HttpTimeouts {
  int resolveMs = 0;
  int connectMs = 60000;
  int sendMs = 30000;
  int receiveMs = 30000;
  int wholeMs = 120000;
};

struct HttpLogon {
  std::string user;
  std::string password;
};

// kSystem: the configured proxy (libcurl: the proxy environment variables). kAutomatic: on
// Windows 8.1 and later what the system finds itself (detection, a configuration script),
// else the configured one; the same as kSystem on Linux.
enum class ProxyMode { kSystem, kDirect, kNamed, kAutomatic };

// When the system may log on as the current user (Kerberos, NTLM) where a server asks,
// numbered as the platform's request object numbers its policies. Linux has no notion of a
// trusted intranet, so there only kAlways logs on.
enum class AutoLogon { kAlways = 0, kIntranetOnly = 1, kNever = 2 };

struct HttpExchange {
  std::string method;
  std::string url;
  std::vector<std::string> headers;  // "Name: value", sent in this order
  std::optional<Bytes> body;
  std::string userAgent;
  std::optional<HttpLogon> serverLogon;
  std::optional<HttpLogon> proxyLogon;
  AutoLogon autoLogon = AutoLogon::kNever;
  ProxyMode proxyMode = ProxyMode::kSystem;
  std::string proxy;
  std::string proxyBypass;  // host names separated by ";" or ","
  // The client certificate, empty for none. Linux: a PEM file holding the certificate and its
  // key. Windows: a certificate in the system's stores,
  // "[CURRENT_USER\|LOCAL_MACHINE\[store\]]subject" (the current user's MY store unless
  // named), offered to https servers.
  std::string clientCertificate;
  // Trusted certificates (a PEM file) that an https server's chain must end in, in place of
  // the system's; empty: the system's.
  std::string caFile;
  HttpTimeouts timeouts;
  // Redirects go by RedirectChain: never from a public address to an internal one (judged by
  // isInternal), nor from https to http unless httpsToHttpRedirects; the Authorization and
  // Cookie lines only to the first URL's scheme, host and port.
  bool followRedirects = true;
  bool httpsToHttpRedirects = false;
  AddressJudge isInternal = IsInternalAddress;
  int maxRedirects = 10;
  bool http11 = true;
  std::size_t maxHeaderBytes = 64 * 1024;
  std::size_t maxBodyBytes = std::size_t{64} << 20;
  // Offers the compressions the engine can undo (libcurl: gzip, deflate, br, zstd; WinHTTP:
  // gzip and deflate from Windows 8.1 on, nothing under Wine); the body always arrives undone,
  // and maxBodyBytes counts its undone bytes: inflating stops there.
  bool acceptCompressed = false;
  // The page fetch's reading: a body past maxBodyBytes is cut there, and what arrived before
  // the transfer broke off, went silent or ran out of time stays in the answer's body. Such an
  // answer is still no whole one (kTooLarge for a cut body). Without it, both leave no body.
  bool keepPartialBody = false;
};

// Why an exchange gave no whole answer, where the engine can tell.
enum class HttpFailure {
  kNone,                // complete, or failed for a reason not told apart (network, time)
  kRedirectToPlain,     // refused: https -> http
  kRedirectToInternal,  // refused: a public address to an internal one
  kTooLarge,            // the head or the undone body passed its limit
};

struct HttpAnswer {
  bool complete = false;  // false: no whole answer (failure, time-out, limit, abort)
  HttpFailure failure = HttpFailure::kNone;
  int status = 0;
  std::string statusText;
  std::vector<std::string> headerLines;  // of the final answer, "Name: value"
  Bytes body;            // of a whole answer, or as far as it came with keepPartialBody
  std::string finalUrl;  // after redirects
};

// Runs the exchange until it ends or `abort` turns true, giving up soon after either, whatever
// the engine still waits for. Never throws.
HttpAnswer RunHttpExchange(const HttpExchange& exchange, const std::atomic<bool>& abort);

// The failure of a refused redirect.
HttpFailure RedirectFailure(RedirectRefusal refusal);

// Whether an exchange can go to url: http or https, with a host, and no blank or control
// character anywhere.
bool IsWebUrl(const std::string& url);

// Whether the exchange's own header lines name this header (ASCII case ignored).
bool HasHeader(const HttpExchange& exchange, std::string_view name);
// Whether the request states a body length, 0 at least: every method but GET and HEAD, as
// the platform's component does; a GET only when given a body.
bool CarriesBody(const HttpExchange& exchange);

}  // namespace vardelle

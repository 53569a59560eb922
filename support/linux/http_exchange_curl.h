// One HTTP exchange over libcurl, run to its end on the calling thread: what the request
// component hands over at Send and what it answers from afterwards.
#pragma once

#include <atomic>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "runtime/bytes.h"

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

enum class ProxyMode { kSystem, kDirect, kNamed };

struct HttpExchange {
  std::string method;
  std::string url;
  std::vector<std::string> headers;  // "Name: value", sent in this order
  std::optional<Bytes> body;
  std::string userAgent;
  std::optional<HttpLogon> serverLogon;
  std::optional<HttpLogon> proxyLogon;
  bool negotiateAsCurrentUser = false;
  ProxyMode proxyMode = ProxyMode::kSystem;
  std::string proxy;
  std::string proxyBypass;        // host names separated by ";" or ","
  std::string clientCertificate;  // PEM file with certificate and key; empty for none
  HttpTimeouts timeouts;
  bool followRedirects = true;
  bool httpsToHttpRedirects = false;
  int maxRedirects = 10;
  bool http11 = true;
  std::size_t maxHeaderBytes = 64 * 1024;
  std::size_t maxBodyBytes = std::size_t{64} << 20;
  bool acceptCompressed = false;
};

struct HttpAnswer {
  bool complete = false;  // false: no whole answer (failure, time-out, limit, abort)
  int status = 0;
  std::string statusText;
  std::vector<std::string> headerLines;  // of the final answer, "Name: value"
  Bytes body;
  std::string finalUrl;  // after redirects
};

// Runs the exchange until it ends or `abort` turns true. Never throws.
HttpAnswer RunHttpExchange(const HttpExchange& exchange, const std::atomic<bool>& abort);

}  // namespace vardelle

#include "runtime/http/http_exchange.h"

#include <algorithm>

#include "runtime/http/http_exchange_engine.h"
#include "runtime/text/ascii_case.h"

namespace vardelle {

HttpAnswer RunHttpExchange(const HttpExchange& exchange, const std::atomic<bool>& abort) {
  try {
    return RunExchangeOnEngine(exchange, abort);
  } catch (...) {
    return {};
  }
}

bool HasHeader(const HttpExchange& exchange, std::string_view name) {
  return std::any_of(exchange.headers.begin(), exchange.headers.end(),
                     [&](const std::string& line) {
                       return StartsWithIgnoringAsciiCase(line, name) &&
                              line.size() > name.size() && line[name.size()] == ':';
                     });
}

HttpFailure RedirectFailure(RedirectRefusal refusal) {
  switch (refusal) {
    case RedirectRefusal::kSecureToPlain:
      return HttpFailure::kRedirectToPlain;
    case RedirectRefusal::kPublicToInternal:
      return HttpFailure::kRedirectToInternal;
    case RedirectRefusal::kNone:
      break;
  }
  return HttpFailure::kNone;
}

bool CarriesBody(const HttpExchange& exchange) {
  if (exchange.method == "HEAD") return false;
  return exchange.body.has_value() || exchange.method != "GET";
}

}  // namespace vardelle

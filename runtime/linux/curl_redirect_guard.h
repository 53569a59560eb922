// Holds a libcurl transfer's redirect chain to the redirect policy: once each request's
// connection stands and before the request goes out, the address connected to and the
// scheme are judged, and a refused request is never sent.
#pragma once

#include <curl/curl.h>

#include "runtime/fetch/redirect_policy.h"

namespace vardelle {

class CurlRedirectGuard {
 public:
  CurlRedirectGuard(AddressJudge isInternal, bool secureToPlainAllowed)
      : isInternal_(isInternal), chain_(secureToPlainAllowed) {}
  CurlRedirectGuard(const CurlRedirectGuard&) = delete;
  CurlRedirectGuard& operator=(const CurlRedirectGuard&) = delete;

  // Sets the check on the transfer, which must not outlive the guard; false when libcurl
  // would not take it.
  bool Install(CURL* easy);
  // Why the transfer was stopped; kNone when the guard let every request go.
  RedirectRefusal Refusal() const { return refusal_; }

 private:
  static int BeforeRequest(void* guard, char* remoteAddress, char* localAddress, int remotePort,
                           int localPort);
  bool Allows(const char* remoteAddress);

  CURL* easy_ = nullptr;
  AddressJudge isInternal_;
  RedirectChain chain_;
  RedirectRefusal refusal_ = RedirectRefusal::kNone;
};

}  // namespace vardelle

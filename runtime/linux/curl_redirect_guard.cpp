#include "runtime/linux/curl_redirect_guard.h"

#include <arpa/inet.h>
#include <strings.h>

#include <array>

namespace vardelle {
namespace {

// The address libcurl connected to, as written by inet_ntop; an unreadable one is judged
// internal, so that it is never taken for a public origin's harmless hop.
bool IsInternal(const char* text, AddressJudge isInternal) {
  std::array<std::uint8_t, 16> bytes{};
  if (inet_pton(AF_INET, text, bytes.data()) == 1) return isInternal({bytes.data(), 4});
  if (inet_pton(AF_INET6, text, bytes.data()) == 1) return isInternal(bytes);
  return true;
}

}  // namespace

bool CurlRedirectGuard::Install(CURL* easy) {
  easy_ = easy;
  return curl_easy_setopt(easy, CURLOPT_PREREQFUNCTION, BeforeRequest) == CURLE_OK &&
         curl_easy_setopt(easy, CURLOPT_PREREQDATA, this) == CURLE_OK;
}

int CurlRedirectGuard::BeforeRequest(void* guard, char* remoteAddress, char*, int, int) {
  return static_cast<CurlRedirectGuard*>(guard)->Allows(remoteAddress) ? CURL_PREREQFUNC_OK
                                                                       : CURL_PREREQFUNC_ABORT;
}

// The URL libcurl is about to ask for is the effective one, a redirect's target included.
bool CurlRedirectGuard::Allows(const char* remoteAddress) {
  const char* url = nullptr;
  curl_easy_getinfo(easy_, CURLINFO_EFFECTIVE_URL, &url);
  const bool secure = url != nullptr && strncasecmp(url, "https:", 6) == 0;
  const bool internal = remoteAddress == nullptr || IsInternal(remoteAddress, isInternal_);
  refusal_ = chain_.Next({secure, internal});
  return refusal_ == RedirectRefusal::kNone;
}

}  // namespace vardelle

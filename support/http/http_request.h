// A thin object over the HTTP request component: completes scheme-less URLs, remembers the
// last URL and its host, and carries cookies between requests in one of three ways.
// Belongs to the thread that created it.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>

#include "support/http/automation_value.h"
#include "support/cookies/cookie_jar.h"
#include "support/http/http_component.h"
#include "support/text/text.h"

namespace vardelle {

class HttpRequest {
 public:
  // The system's component (CreateHttpComponent); stays empty when it cannot be created.
  HttpRequest();
  // A given component (tests); nullptr makes an object whose every call fails with -1.
  explicit HttpRequest(std::shared_ptr<HttpComponent> component);
  ~HttpRequest();
  HttpRequest(const HttpRequest&) = delete;
  HttpRequest& operator=(const HttpRequest&) = delete;

  void SetCookieMode(int mode);
  void ReleaseComponent();
  Text LastCallError();
  bool HasComponent();
  std::shared_ptr<HttpComponent> GetComponent();
  int GetStatus();
  Text GetStatusText();
  Text GetResponseText();
  Bytes GetResponseBody();
  AutomationValue GetResponseStream();
  AutomationValue AccessOption(int index, std::optional<int> integerValue = std::nullopt,
                               std::optional<Text> textValue = std::nullopt,
                               std::optional<Bytes> bytesValue = std::nullopt,
                               std::optional<AutomationValue> variantValue = std::nullopt);
  void SetProxyServer(int setting = 2, const Text& server = {}, const Text& bypass = {});
  void SetLogonCredentials(const Text& user, const Text& password, int target = 0);
  // url is completed in place ("http://" before anything not starting with "http"); the
  // outcome code afterwards is the Open's.
  void OpenRequest(const std::optional<Text>& method, Text& url,
                   std::optional<bool> async = std::nullopt);
  void AddRequestHeader(const Text& name, const Text& value);
  Text GetHeader(const Text& name);
  Text GetHeaders();
  // Without a body Send gets no argument at all. The outcome code afterwards is the Send's,
  // whatever the cookie steps around it did.
  void SendText(const std::optional<Text>& body = std::nullopt);
  // As SendText, but cookie mode 3 uses the host field, completed in place to "http://host".
  void SendBytes(const std::optional<Bytes>& body = std::nullopt);
  bool WaitResponse(int timeoutSeconds);
  void AbortRequest();
  void SetTimeoutValues(int resolveMs, int connectMs, int sendMs, int receiveMs);
  void SetMaxResponseBodySize(std::size_t bytes);
  void AcceptCompressedAnswers();
  void SetCertificate(const Text& name);
  void SetLogonPolicy(int policy);
  // The value of the first "Set-Cookie: name=" (else "Set-Cookie:name=") header, up to its
  // ";" or its line's end.
  Text GetSetCookieValue(const Text& name);
  // Every header line starting with "Set-Cookie:" (case counts), each ended by CR LF.
  Text GetSetCookieLines();

  const Text& Host() const { return host; }
  const Text& Url() const { return url; }
  CookieJar& OwnCookieJar() { return cookieJar; }

 private:
  // One send between the cookie steps; systemTarget is the field that cookie mode 3 reads
  // and completes in place.
  void SendWithCookies(Text& systemTarget, const std::function<void(HttpComponent&)>& send);
  std::shared_ptr<CookieJar> ModeJar();
  void CookiesToRequest(Text& systemTarget);
  void CookiesFromResponse(Text& systemTarget);

  std::shared_ptr<HttpComponent> component;
  CookieJar cookieJar;
  int cookieMode = 0;
  Text host;
  Text url;
};

}  // namespace vardelle

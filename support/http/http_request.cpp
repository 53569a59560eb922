#include "support/http/http_request.h"

#include <string_view>
#include <type_traits>
#include <utility>

#include "support/call_error.h"
#include "support/regex/compact_regex.h"
#include "support/text/space_trim.h"
#include "support/cookies/system_cookie_store.h"

namespace vardelle {
namespace {

// A member call on a component that may be missing: a missing one fails with kEmptyObject
// and answers the empty value; a present one records its own outcome.
template <typename Call>
std::invoke_result_t<Call, HttpComponent&> CallOn(HttpComponent* component, Call call) {
  using Result = std::invoke_result_t<Call, HttpComponent&>;
  if (!component) {
    SetCallError(CallError::kEmptyObject);
    return Result();
  }
  return call(*component);
}

// Anything not starting with "http" (in any case) is taken as lacking its scheme, so
// "ftp://x" becomes "http://ftp://x" and "httpbin.org/x" stays as it is.
void CompleteUrl(Text& url) {
  if (LeftText(LowerText(url), 4) != "http") url = "http://" + url;
}

// Sub-match 3: after an optional "http://" or "https://", up to the first "/" or ":".
Text ExtractHost(const Text& url) {
  CompactRegex regex;
  regex.Create("(http(s)?://)?([^/:]+)(:(\\d+))?", true, true, false);
  return regex.Execute(url) > 0 ? regex.GetSubMatch(1, 3) : Text();
}

void SystemCookiesToRequest(HttpComponent* component, Text& target) {
  CompleteUrl(target);
  const Text cookies = GetSystemCookies(target);
  if (IsBlankText(cookies)) return;
  CallOn(component, [&](HttpComponent& c) { c.SetRequestHeader("Cookie", cookies); });
}

void ResponseToSystemCookies(HttpComponent* component, Text& target) {
  const Text headers =
      CallOn(component, [](HttpComponent& c) { return c.GetAllResponseHeaders(); });
  CompactRegex regex;
  regex.Create("Set-Cookie: ?([^=]+)=(.*)?", true, true, true);
  const int count = regex.Execute(headers);
  if (count > 0) CompleteUrl(target);
  for (int i = 1; i <= count; ++i) {
    SetSystemCookie(target, regex.GetSubMatch(i, 1), regex.GetSubMatch(i, 2));
  }
}

// The text after the first marker up to the first ";" or the end of that header line; a
// value never runs on into the headers that follow.
Text ValueAfter(const Text& headers, const Text& marker) {
  const int found = FindText(headers, marker);
  if (found == -1) return {};
  const std::string_view rest = std::string_view(headers).substr(found - 1 + marker.size());
  return Text(rest.substr(0, rest.find_first_of(";\r\n")));
}

}  // namespace

// The platform's per-thread component set-up (CoInitialize) has no counterpart here.
HttpRequest::HttpRequest() { component = CreateHttpComponent(); }

HttpRequest::HttpRequest(std::shared_ptr<HttpComponent> given) { component = std::move(given); }

// Parts go in the reverse of their making: the component before the jar, which the members'
// own order would undo. The platform's CoUninitialize between the two has no counterpart.
HttpRequest::~HttpRequest() { component.reset(); }

void HttpRequest::SetCookieMode(int mode) { cookieMode = mode; }

void HttpRequest::ReleaseComponent() { component.reset(); }

Text HttpRequest::LastCallError() { return LastCallErrorText(); }

bool HttpRequest::HasComponent() { return component != nullptr; }

std::shared_ptr<HttpComponent> HttpRequest::GetComponent() { return component; }

int HttpRequest::GetStatus() {
  return CallOn(component.get(), [](HttpComponent& c) { return c.Status(); });
}

Text HttpRequest::GetStatusText() {
  return CallOn(component.get(), [](HttpComponent& c) { return c.StatusText(); });
}

Text HttpRequest::GetResponseText() {
  return CallOn(component.get(), [](HttpComponent& c) { return c.ResponseText(); });
}

Bytes HttpRequest::GetResponseBody() {
  return CallOn(component.get(), [](HttpComponent& c) { return c.ResponseBody(); });
}

AutomationValue HttpRequest::GetResponseStream() {
  return CallOn(component.get(), [](HttpComponent& c) { return c.ResponseStream(); });
}

AutomationValue HttpRequest::AccessOption(int index, std::optional<int> integerValue,
                                          std::optional<Text> textValue,
                                          std::optional<Bytes> bytesValue,
                                          std::optional<AutomationValue> variantValue) {
  std::optional<AutomationValue> written;
  if (integerValue) {
    written = static_cast<std::int32_t>(*integerValue);
  } else if (textValue) {
    written = std::move(*textValue);
  } else if (bytesValue) {
    written = std::move(*bytesValue);
  } else {
    written = std::move(variantValue);
  }
  if (written) CallOn(component.get(), [&](HttpComponent& c) { c.SetOption(index, *written); });
  return CallOn(component.get(), [index](HttpComponent& c) { return c.GetOption(index); });
}

void HttpRequest::SetProxyServer(int setting, const Text& server, const Text& bypass) {
  CallOn(component.get(), [&](HttpComponent& c) { c.SetProxy(setting, server, bypass); });
}

void HttpRequest::SetLogonCredentials(const Text& user, const Text& password, int target) {
  CallOn(component.get(), [&](HttpComponent& c) { c.SetCredentials(user, password, target); });
}

// The outcome reported afterwards is the Open's, not that of the host extraction after it.
void HttpRequest::OpenRequest(const std::optional<Text>& method, Text& givenUrl,
                              std::optional<bool> async) {
  CompleteUrl(givenUrl);
  CallOn(component.get(), [&](HttpComponent& c) {
    c.Open(method.value_or("GET"), givenUrl, async.value_or(false));
  });
  const int opened = LastCallErrorCode();
  url = givenUrl;
  host = ExtractHost(givenUrl);
  SetCallError(static_cast<CallError>(opened));
}

void HttpRequest::AddRequestHeader(const Text& name, const Text& value) {
  CallOn(component.get(), [&](HttpComponent& c) { c.SetRequestHeader(name, value); });
}

Text HttpRequest::GetHeader(const Text& name) {
  return CallOn(component.get(), [&](HttpComponent& c) { return c.GetResponseHeader(name); });
}

Text HttpRequest::GetHeaders() {
  return CallOn(component.get(), [](HttpComponent& c) { return c.GetAllResponseHeaders(); });
}

void HttpRequest::SendText(const std::optional<Text>& body) {
  SendWithCookies(url, [&body](HttpComponent& c) { body ? c.Send(*body) : c.Send(); });
}

// In cookie mode 3 the system store is asked with the host field, which may therefore be
// completed in place to "http://" and the host.
void HttpRequest::SendBytes(const std::optional<Bytes>& body) {
  SendWithCookies(host, [&body](HttpComponent& c) { body ? c.Send(*body) : c.Send(); });
}

bool HttpRequest::WaitResponse(int timeoutSeconds) {
  return CallOn(component.get(),
                [timeoutSeconds](HttpComponent& c) { return c.WaitForResponse(timeoutSeconds); });
}

void HttpRequest::AbortRequest() {
  CallOn(component.get(), [](HttpComponent& c) { c.Abort(); });
}

void HttpRequest::SetTimeoutValues(int resolveMs, int connectMs, int sendMs, int receiveMs) {
  CallOn(component.get(),
         [&](HttpComponent& c) { c.SetTimeouts(resolveMs, connectMs, sendMs, receiveMs); });
}

void HttpRequest::SetMaxResponseBodySize(std::size_t bytes) {
  CallOn(component.get(), [&](HttpComponent& c) { c.SetMaxResponseBodySize(bytes); });
}

void HttpRequest::AcceptCompressedAnswers() {
  CallOn(component.get(), [](HttpComponent& c) { c.AcceptCompressedAnswers(); });
}

void HttpRequest::SetCertificate(const Text& name) {
  CallOn(component.get(), [&](HttpComponent& c) { c.SetClientCertificate(name); });
}

void HttpRequest::SetLogonPolicy(int policy) {
  CallOn(component.get(), [policy](HttpComponent& c) { c.SetAutoLogonPolicy(policy); });
}

// The marker with a space after the colon first; without one when that gives nothing.
Text HttpRequest::GetSetCookieValue(const Text& name) {
  const Text headers = GetHeaders();
  const Text value = ValueAfter(headers, "Set-Cookie: " + name + "=");
  return value.empty() ? ValueAfter(headers, "Set-Cookie:" + name + "=") : value;
}

Text HttpRequest::GetSetCookieLines() {
  const Text headers = GetHeaders();
  Text lines;
  std::string_view rest = headers;
  while (!rest.empty()) {
    const std::size_t end = rest.find("\r\n");
    const std::string_view piece = rest.substr(0, end);
    if (piece.starts_with("Set-Cookie:")) lines.append(piece).append("\r\n");
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 2);
  }
  return lines;
}

// The outcome reported afterwards is the send's: reading the cookies back must not hide a
// failed send, nor report a failure of its own for a send that went through.
void HttpRequest::SendWithCookies(Text& systemTarget,
                                  const std::function<void(HttpComponent&)>& send) {
  CookiesToRequest(systemTarget);
  CallOn(component.get(), send);
  const int sent = LastCallErrorCode();
  CookiesFromResponse(systemTarget);
  SetCallError(static_cast<CallError>(sent));
}

// The jar of cookie modes 1 and 2, held for the call; nullptr in the other modes. The
// shared jar is missing only outside the program's lifetime; its cookies are then left
// alone rather than reached through a null jar.
std::shared_ptr<CookieJar> HttpRequest::ModeJar() {
  if (cookieMode == 1) return std::shared_ptr<CookieJar>(std::shared_ptr<CookieJar>(), &cookieJar);
  if (cookieMode == 2) return SharedCookieJar();
  return nullptr;
}

void HttpRequest::CookiesToRequest(Text& systemTarget) {
  if (cookieMode == 3) {
    SystemCookiesToRequest(component.get(), systemTarget);
  } else if (const std::shared_ptr<CookieJar> jar = ModeJar()) {
    jar->ApplyToRequest(component.get(), host);
  }
}

void HttpRequest::CookiesFromResponse(Text& systemTarget) {
  if (cookieMode == 3) {
    ResponseToSystemCookies(component.get(), systemTarget);
  } else if (const std::shared_ptr<CookieJar> jar = ModeJar()) {
    jar->AbsorbResponse(component.get(), host);
  }
}

}  // namespace vardelle

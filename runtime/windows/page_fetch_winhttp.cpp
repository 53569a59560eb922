// The page fetch over WinHTTP, with the request that the program has always sent: GET over
// HTTP/1.0, an old browser's user agent, "Accept: */*" and reload-from-server semantics.
// WinHTTP's calls block and no other thread can cut them short, so every wait is bounded by
// its own time-out: each one set to what is left of the fetch's deadline when shorter.
// Redirects are followed here rather than by WinHTTP, which does not hold them to http and
// https everywhere and would hand the URL's credentials on to any other host. Each request
// of the chain is judged by the redirect policy: a redirect to an address written in its URL
// before anything goes there, every request by the address it connected to before it is
// sent.
#include <shlwapi.h>
#include <wincrypt.h>
#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <chrono>
#include <cwchar>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/fetch/page_fetch_engine.h"
#include "runtime/windows/address_text.h"
#include "runtime/windows/wide_text.h"

namespace vardelle {
namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

constexpr wchar_t kUserAgent[] = L"Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
constexpr wchar_t kHeaders[] = L"Accept: */*\r\nCache-Control: no-cache\r\nPragma: no-cache";
constexpr DWORD kMaxRedirects = 10;
constexpr std::size_t kReadSize = 102400;
// A certificate file larger than this is not one.
constexpr DWORD kMaxCertificateFileBytes = 1 << 20;

struct InternetHandleCloser {
  void operator()(HINTERNET handle) const { WinHttpCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, InternetHandleCloser>;
struct CertificateStoreCloser {
  void operator()(HCERTSTORE store) const { CertCloseStore(store, 0); }
};
using CertificateStore = std::unique_ptr<void, CertificateStoreCloser>;
struct CertificateCloser {
  void operator()(PCCERT_CONTEXT certificate) const { CertFreeCertificateContext(certificate); }
};
struct ChainCloser {
  void operator()(PCCERT_CHAIN_CONTEXT chain) const { CertFreeCertificateChain(chain); }
};
struct FileCloser {
  void operator()(HANDLE file) const { CloseHandle(file); }
};

// Where a URL leads: the path and query as the URL has them, escapes and all.
struct Target {
  bool secure = false;
  std::wstring host;
  INTERNET_PORT port = 0;
  std::wstring pathAndQuery;
  std::wstring user;
  std::wstring password;

  UrlOrigin Origin() const { return {secure, GbkFromWide(host), port}; }
};

// A blank or control character would otherwise reach the request line as it stands.
bool HasForbiddenCharacter(std::wstring_view url) {
  return std::any_of(url.begin(), url.end(), [](wchar_t c) { return c <= 0x20 || c == 0x7f; });
}

std::wstring Part(const wchar_t* text, DWORD length) {
  return text != nullptr ? std::wstring(text, length) : std::wstring();
}

// A user name or password as the server is to get it: "%40" in the URL is '@'.
std::wstring Unescaped(const wchar_t* text, DWORD length) {
  std::wstring part = Part(text, length);
  if (part.empty() || FAILED(UrlUnescapeW(part.data(), nullptr, nullptr, URL_UNESCAPE_INPLACE))) {
    return part;
  }
  part.resize(wcslen(part.c_str()));
  return part;
}

// An http or https URL with a host; nothing for anything else.
std::optional<Target> ParseUrl(const std::wstring& url) {
  if (url.empty() || HasForbiddenCharacter(url)) return std::nullopt;
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength =
      parts.dwUserNameLength = parts.dwPasswordLength = static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) {
    return std::nullopt;
  }
  const bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  if ((!secure && parts.nScheme != INTERNET_SCHEME_HTTP) || parts.dwHostNameLength == 0) {
    return std::nullopt;
  }
  Target target{secure,
                Part(parts.lpszHostName, parts.dwHostNameLength),
                parts.nPort,
                Part(parts.lpszUrlPath, parts.dwUrlPathLength) +
                    Part(parts.lpszExtraInfo, parts.dwExtraInfoLength),
                Unescaped(parts.lpszUserName, parts.dwUserNameLength),
                Unescaped(parts.lpszPassword, parts.dwPasswordLength)};
  if (target.pathAndQuery.empty()) target.pathAndQuery = L"/";
  return target;
}

// One session for the process, never closed: it holds the proxy settings it found.
HINTERNET Session() {
  static const HINTERNET session = [] {
    HINTERNET opened = WinHttpOpen(kUserAgent, WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY,
                                   WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
    // Systems before Windows 8.1 know only the configured proxy.
    if (opened == nullptr) {
      opened = WinHttpOpen(kUserAgent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                           WINHTTP_NO_PROXY_BYPASS, 0);
    }
    return opened;
  }();
  return session;
}

bool SetNumber(HINTERNET handle, DWORD option, DWORD value) {
  return WinHttpSetOption(handle, option, &value, sizeof value) != FALSE;
}

// The time left until the deadline, as a time-out in milliseconds, at most limit.
class Deadline {
 public:
  explicit Deadline(milliseconds length) : end_(Clock::now() + length) {}
  bool Passed() const { return Clock::now() >= end_; }
  DWORD Bound(milliseconds limit) const {
    const auto left = std::chrono::ceil<milliseconds>(end_ - Clock::now());
    return static_cast<DWORD>(
        std::clamp<milliseconds::rep>(std::min(left, limit).count(), 1, 0x7fffffff));
  }

 private:
  const Clock::time_point end_;
};

// Each time-out is its own option: WinHttpSetTimeouts is not honoured everywhere.
bool BoundWaits(HINTERNET request, const Deadline& deadline, const PageFetchLimits& limits) {
  const DWORD connect = deadline.Bound(limits.connectTimeout);
  const DWORD silence = deadline.Bound(limits.stallTimeout);
  return SetNumber(request, WINHTTP_OPTION_RESOLVE_TIMEOUT, connect) &&
         SetNumber(request, WINHTTP_OPTION_CONNECT_TIMEOUT, connect) &&
         SetNumber(request, WINHTTP_OPTION_SEND_TIMEOUT, silence) &&
         SetNumber(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, silence) &&
         SetNumber(request, WINHTTP_OPTION_RECEIVE_TIMEOUT, silence);
}

// No redirects, cookies or open connections of WinHTTP's own, and never the user's
// Windows credentials; the URL's own go as Basic authorization.
bool Configure(HINTERNET request, const Target& target) {
  return SetNumber(request, WINHTTP_OPTION_DISABLE_FEATURE,
                   WINHTTP_DISABLE_REDIRECTS | WINHTTP_DISABLE_COOKIES |
                       WINHTTP_DISABLE_KEEP_ALIVE) &&
         SetNumber(request, WINHTTP_OPTION_AUTOLOGON_POLICY,
                   WINHTTP_AUTOLOGON_SECURITY_LEVEL_HIGH) &&
         (target.user.empty() ||
          WinHttpSetCredentials(request, WINHTTP_AUTH_TARGET_SERVER, WINHTTP_AUTH_SCHEME_BASIC,
                                target.user.c_str(), target.password.c_str(), nullptr));
}

std::optional<std::string> ReadSmallFile(const std::string& path) {
  const HANDLE opened = CreateFileW(WideFromGbk(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
  if (opened == INVALID_HANDLE_VALUE) return std::nullopt;
  const std::unique_ptr<void, FileCloser> file(opened);
  std::string text(kMaxCertificateFileBytes, '\0');
  DWORD read = 0;
  if (!ReadFile(file.get(), text.data(), kMaxCertificateFileBytes, &read, nullptr)) {
    return std::nullopt;
  }
  text.resize(read);
  return text;
}

// One "-----BEGIN CERTIFICATE-----" block, armour included, into the store.
bool AddPemCertificate(HCERTSTORE store, std::string_view block) {
  DWORD size = 0;
  if (!CryptStringToBinaryA(block.data(), static_cast<DWORD>(block.size()),
                            CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr, nullptr)) {
    return false;
  }
  std::vector<BYTE> der(size);
  return CryptStringToBinaryA(block.data(), static_cast<DWORD>(block.size()),
                              CRYPT_STRING_BASE64HEADER, der.data(), &size, nullptr, nullptr) &&
         CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der.data(), size,
                                          CERT_STORE_ADD_ALWAYS, nullptr);
}

// The certificates of a PEM file (the caFile limit), as a store; nothing when the file
// cannot be read or holds none.
CertificateStore LoadCertificates(const std::string& path) {
  constexpr std::string_view kBegin = "-----BEGIN CERTIFICATE-----";
  constexpr std::string_view kEnd = "-----END CERTIFICATE-----";
  const std::optional<std::string> text = ReadSmallFile(path);
  CertificateStore store(CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, 0, nullptr));
  if (!text || !store) return nullptr;
  bool any = false;
  for (std::size_t begin = text->find(kBegin); begin != std::string::npos;
       begin = text->find(kBegin, begin + kBegin.size())) {
    const std::size_t end = text->find(kEnd, begin);
    if (end == std::string::npos) break;
    const std::string_view block(text->data() + begin, end + kEnd.size() - begin);
    any = AddPemCertificate(store.get(), block) || any;
  }
  return any ? std::move(store) : nullptr;
}

bool NameMatches(PCCERT_CHAIN_CONTEXT chain, std::wstring host) {
  SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl{};
  ssl.cbSize = sizeof ssl;
  ssl.dwAuthType = AUTHTYPE_SERVER;
  ssl.fdwChecks = SECURITY_FLAG_IGNORE_UNKNOWN_CA;  // the root was judged already
  ssl.pwszServerName = host.data();
  CERT_CHAIN_POLICY_PARA policy{};
  policy.cbSize = sizeof policy;
  policy.pvExtraPolicyPara = &ssl;
  CERT_CHAIN_POLICY_STATUS status{};
  status.cbSize = sizeof status;
  return CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain, &policy, &status) &&
         status.dwError == 0;
}

// Whether the server's certificate chains, without any other fault, to one of the trusted
// certificates and names host. The system's roots count for nothing here.
bool IsTrustedServer(PCCERT_CONTEXT server, HCERTSTORE trusted, const std::wstring& host) {
  const CertificateStore candidates(
      CertOpenStore(CERT_STORE_PROV_COLLECTION, 0, 0, 0, nullptr));
  if (!candidates || !CertAddStoreToCollection(candidates.get(), server->hCertStore, 0, 0) ||
      !CertAddStoreToCollection(candidates.get(), trusted, 0, 0)) {
    return false;
  }
  CERT_CHAIN_PARA parameters{};
  parameters.cbSize = sizeof parameters;
  PCCERT_CHAIN_CONTEXT built = nullptr;
  if (!CertGetCertificateChain(nullptr, server, nullptr, candidates.get(), &parameters, 0,
                               nullptr, &built)) {
    return false;
  }
  const std::unique_ptr<const CERT_CHAIN_CONTEXT, ChainCloser> chain(built);
  if ((chain->TrustStatus.dwErrorStatus & ~CERT_TRUST_IS_UNTRUSTED_ROOT) != 0 ||
      chain->cChain == 0 || chain->rgpChain[0]->cElement == 0) {
    return false;
  }
  const CERT_SIMPLE_CHAIN& simple = *chain->rgpChain[0];
  const PCCERT_CONTEXT root = simple.rgpElement[simple.cElement - 1]->pCertContext;
  const std::unique_ptr<const CERT_CONTEXT, CertificateCloser> known(CertFindCertificateInStore(
      trusted, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, root, nullptr));
  return known && NameMatches(chain.get(), host);
}

// Judges the server once the connection stands and before the request goes out: the
// address connected to by the redirect policy, and with trusted certificates given, the
// certificate. A refused server gets its request handle closed there, which keeps the
// request from being sent where the system honours that.
struct ServerCheck {
  HCERTSTORE trusted;  // nullptr: WinHTTP judged the certificate
  const Target& target;
  AddressJudge isInternal;
  RedirectChain& chain;
  std::optional<std::wstring> address;
  bool passed = false;
  bool closed = false;
};

bool CertificatePasses(HINTERNET request, const ServerCheck& check) {
  if (check.trusted == nullptr) return true;
  PCCERT_CONTEXT server = nullptr;
  DWORD size = sizeof server;
  if (!WinHttpQueryOption(request, WINHTTP_OPTION_SERVER_CERT_CONTEXT, &server, &size) ||
      server == nullptr) {
    return false;
  }
  const std::unique_ptr<const CERT_CONTEXT, CertificateCloser> owned(server);
  return IsTrustedServer(server, check.trusted, check.target.host);
}

// An address WinHTTP did not tell, or that reads as none, counts as internal.
bool AddressPasses(ServerCheck& check) {
  const bool internal =
      !check.address || JudgeAddressText(*check.address, check.isInternal).value_or(true);
  return check.chain.Next({check.target.secure, internal}) == RedirectRefusal::kNone;
}

void CALLBACK CheckServerBeforeSending(HINTERNET request, DWORD_PTR context, DWORD status,
                                       LPVOID information, DWORD length) {
  ServerCheck& check = *reinterpret_cast<ServerCheck*>(context);
  try {
    if (status == WINHTTP_CALLBACK_STATUS_CONNECTED_TO_SERVER && information != nullptr) {
      const std::wstring_view address(static_cast<const wchar_t*>(information), length);
      check.address = address.substr(0, address.find(L'\0'));
    }
  } catch (const std::bad_alloc&) {
  }
  if (status != WINHTTP_CALLBACK_STATUS_SENDING_REQUEST) return;
  check.passed = CertificatePasses(request, check) && AddressPasses(check);
  if (!check.passed) {
    check.closed = true;
    WinHttpCloseHandle(request);
  }
}

// A request that was sent and whose answer's head has arrived.
struct Exchange {
  InternetHandle connection;
  InternetHandle request;
};

// With trusted certificates given, a secure server is judged by them alone: WinHTTP's own
// judgement of the root and the name is switched off and made in CheckServerBeforeSending.
std::optional<Exchange> Send(const Target& target, HCERTSTORE trusted, RedirectChain& chain,
                             const Deadline& deadline, const PageFetchLimits& limits) {
  Exchange exchange;
  exchange.connection.reset(WinHttpConnect(Session(), target.host.c_str(), target.port, 0));
  if (!exchange.connection) return std::nullopt;
  exchange.request.reset(WinHttpOpenRequest(
      exchange.connection.get(), L"GET", target.pathAndQuery.c_str(), L"HTTP/1.0",
      WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, target.secure ? WINHTTP_FLAG_SECURE : 0));
  HINTERNET request = exchange.request.get();
  if (!request || !Configure(request, target) || !BoundWaits(request, deadline, limits)) {
    return std::nullopt;
  }
  const bool judgedHere = target.secure && !limits.caFile.empty();
  ServerCheck check{judgedHere ? trusted : nullptr, target, limits.isInternal, chain, {}};
  if ((judgedHere &&
       (trusted == nullptr ||
        !SetNumber(request, WINHTTP_OPTION_SECURITY_FLAGS,
                   SECURITY_FLAG_IGNORE_UNKNOWN_CA | SECURITY_FLAG_IGNORE_CERT_CN_INVALID))) ||
      WinHttpSetStatusCallback(
          request, CheckServerBeforeSending,
          WINHTTP_CALLBACK_FLAG_CONNECT_TO_SERVER | WINHTTP_CALLBACK_FLAG_SEND_REQUEST,
          0) == WINHTTP_INVALID_STATUS_CALLBACK) {
    return std::nullopt;
  }
  const bool sent = WinHttpSendRequest(request, kHeaders, static_cast<DWORD>(-1),
                                       WINHTTP_NO_REQUEST_DATA, 0, 0,
                                       reinterpret_cast<DWORD_PTR>(&check));
  if (check.closed) {
    static_cast<void>(exchange.request.release());  // closed by the check
    return std::nullopt;
  }
  if (!sent || !check.passed || !WinHttpReceiveResponse(request, nullptr)) {
    return std::nullopt;
  }
  return exchange;
}

std::optional<std::wstring> HeaderText(HINTERNET request, DWORD which) {
  DWORD bytes = 0;
  WinHttpQueryHeaders(request, which, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER,
                      &bytes, WINHTTP_NO_HEADER_INDEX);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::nullopt;
  std::wstring value(bytes / sizeof(wchar_t), L'\0');
  if (!WinHttpQueryHeaders(request, which, WINHTTP_HEADER_NAME_BY_INDEX, value.data(), &bytes,
                           WINHTTP_NO_HEADER_INDEX)) {
    return std::nullopt;
  }
  value.resize(bytes / sizeof(wchar_t));
  return value;
}

// Where a redirect answer sends the client, resolved against the URL it answered; nothing
// when the answer is no redirect.
std::optional<std::wstring> RedirectTarget(HINTERNET request, const std::wstring& url) {
  DWORD status = 0;
  DWORD size = sizeof status;
  if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                           WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX) ||
      (status != 301 && status != 302 && status != 303 && status != 307 && status != 308)) {
    return std::nullopt;
  }
  const std::optional<std::wstring> location = HeaderText(request, WINHTTP_QUERY_LOCATION);
  if (!location) return std::nullopt;
  std::wstring resolved(url.size() + location->size() + 1, L'\0');
  DWORD length = static_cast<DWORD>(resolved.size());
  HRESULT result = UrlCombineW(url.c_str(), location->c_str(), resolved.data(), &length, 0);
  if (result == E_POINTER) {  // length is now the size it needs
    resolved.resize(length);
    result = UrlCombineW(url.c_str(), location->c_str(), resolved.data(), &length, 0);
  }
  if (FAILED(result)) return L"";  // a redirect that leads nowhere usable
  resolved.resize(length);
  return resolved.substr(0, resolved.find(L'#'));
}

// Reads the body until it ends, breaks off, stays silent too long, reaches the size cap or
// runs past the deadline; what arrived is the result in every case. Each read takes only
// what is there already, so a slow server cannot keep one read waiting past the deadline.
void ReadBody(HINTERNET request, const Deadline& deadline, const PageFetchLimits& limits,
              Bytes& body) {
  while (body.size() < limits.maxBodyBytes && !deadline.Passed()) {
    SetNumber(request, WINHTTP_OPTION_RECEIVE_TIMEOUT, deadline.Bound(limits.stallTimeout));
    DWORD available = 0;
    if (!WinHttpQueryDataAvailable(request, &available) || available == 0) return;
    const std::size_t had = body.size();
    const std::size_t wanted = std::min({std::size_t{available}, kReadSize,
                                         limits.maxBodyBytes - had});
    body.resize(had + wanted);
    DWORD read = 0;
    const bool ok = WinHttpReadData(request, body.data() + had, static_cast<DWORD>(wanted), &read);
    body.resize(had + (ok ? read : 0));
    if (!ok || read == 0) return;
  }
}

}  // namespace

Bytes FetchPage(const std::string& url, const PageFetchLimits& limits) {
  const Deadline deadline(limits.deadline);
  std::wstring current = WideFromGbk(url);
  const std::optional<Target> first = ParseUrl(current);
  if (!first || Session() == nullptr) return {};
  const CertificateStore trusted =
      limits.caFile.empty() ? nullptr : LoadCertificates(limits.caFile);
  Target target = *first;
  RedirectChain chain;
  for (DWORD redirects = 0;; ++redirects) {
    const std::optional<Exchange> exchange = Send(target, trusted.get(), chain, deadline, limits);
    if (!exchange) return {};
    const std::optional<std::wstring> next = RedirectTarget(exchange->request.get(), current);
    if (!next) {
      Bytes body;
      try {
        ReadBody(exchange->request.get(), deadline, limits, body);
      } catch (const std::bad_alloc&) {
      }
      return body;
    }
    std::optional<Target> followed = ParseUrl(*next);
    if (!followed || redirects == kMaxRedirects ||
        JudgeWrittenAddress(chain, followed->secure, followed->host, limits.isInternal) !=
            RedirectRefusal::kNone) {
      return {};
    }
    // The URL's credentials go only to the host they were given for.
    if (followed->user.empty() && CredentialsFollow(first->Origin(), followed->Origin())) {
      followed->user = first->user;
      followed->password = first->password;
    }
    target = std::move(*followed);
    current = *next;
  }
}

}  // namespace vardelle

// One HTTP exchange over WinHTTP: the program's one HTTP client on Windows, under the request
// component and the page fetch alike.
#include <windows.h>

#include "runtime/http/http_exchange.h"
#include "runtime/http/http_exchange_engine.h"
// After windows.h, which they build on.
#include <shlwapi.h>
#include <wincrypt.h>
#include <winhttp.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cwchar>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <vector>

#include "runtime/fetch/redirect_policy.h"
#include "runtime/text/ascii_case.h"
#include "runtime/windows/address_text.h"
#include "runtime/windows/trusted_certificates.h"
#include "runtime/windows/wide_text.h"

namespace vardelle {
namespace {

using Clock = std::chrono::steady_clock;

// Bytes a single operation sends or takes.
constexpr std::size_t kChunkBytes = 64 * 1024;
constexpr DWORD kNoLimit = 0;  // WinHTTP's "wait as long as it takes"
// How often a wait for WinHTTP looks at the abort flag.
constexpr auto kPoll = std::chrono::milliseconds(20);

struct InternetCloser {
  void operator()(HINTERNET handle) const { WinHttpCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, InternetCloser>;

// The end of the whole exchange, and how much of what is left each blocking call may take.
class Deadline {
 public:
  explicit Deadline(int wholeMs) {
    if (wholeMs > 0) end_ = Clock::now() + std::chrono::milliseconds(wholeMs);
  }

  bool Passed() const { return end_ && Clock::now() >= *end_; }

  // A phase's own limit cut to the time left, at least 1 ms since 0 means no limit.
  DWORD Limit(int phaseMs) const {
    if (!end_) return phaseMs > 0 ? static_cast<DWORD>(phaseMs) : kNoLimit;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*end_ - Clock::now()).count();
    const auto cut =
        std::max<std::int64_t>(1, phaseMs > 0 ? std::min<std::int64_t>(phaseMs, left) : left);
    return static_cast<DWORD>(cut);
  }

 private:
  std::optional<Clock::time_point> end_;
};

bool SetNumber(HINTERNET handle, DWORD option, DWORD value) {
  return WinHttpSetOption(handle, option, &value, sizeof value) != FALSE;
}

// The options, since WinHttpSetTimeouts has no effect under Wine. Each is cut to the whole
// exchange's limit, so no operation left behind by an exchange that gave up outlives it long.
bool LimitPhases(HINTERNET request, const HttpTimeouts& timeouts, const Deadline& deadline) {
  return SetNumber(request, WINHTTP_OPTION_RESOLVE_TIMEOUT, deadline.Limit(timeouts.resolveMs)) &&
         SetNumber(request, WINHTTP_OPTION_CONNECT_TIMEOUT, deadline.Limit(timeouts.connectMs)) &&
         SetNumber(request, WINHTTP_OPTION_SEND_TIMEOUT, deadline.Limit(timeouts.sendMs)) &&
         SetNumber(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT,
                   deadline.Limit(timeouts.receiveMs)) &&
         SetNumber(request, WINHTTP_OPTION_RECEIVE_TIMEOUT, deadline.Limit(timeouts.receiveMs));
}

// What a request's server must pass once the connection stands and before the request goes
// out: the redirect policy's judgement of the address connected to and, with trusted
// certificates given, the certificate.
struct ServerCheck {
  RedirectChain* chain = nullptr;
  AddressJudge isInternal = IsInternalAddress;
  bool secure = false;
  HCERTSTORE trusted = nullptr;  // nullptr: WinHTTP judged the certificate
  std::wstring host;
};

struct ServerVerdict {
  bool judged = false;
  bool certificateRefused = false;
  RedirectRefusal refusal = RedirectRefusal::kNone;

  bool Passed() const { return !certificateRefused && refusal == RedirectRefusal::kNone; }
};

bool CertificatePasses(HINTERNET request, const ServerCheck& check) {
  if (check.trusted == nullptr) return true;
  PCCERT_CONTEXT server = nullptr;
  DWORD size = sizeof server;
  if (!WinHttpQueryOption(request, WINHTTP_OPTION_SERVER_CERT_CONTEXT, &server, &size) ||
      server == nullptr) {
    return false;
  }
  const CertificatePtr owned(server);
  return IsTrustedServer(server, check.trusted, check.host);
}

// Where WinHTTP reports the end of each operation of a request (the handles are opened for
// asynchronous use: a synchronous call cannot be left, Wine ends none when its handle is
// closed). WinHTTP may still report on an operation, and fill or read its buffer, after the
// exchange has given up on it, so the channel and the buffers are held by the request handle
// as well as by the hop: whichever lets go last deletes them.
class Channel {
 public:
  struct Report {
    DWORD status = 0;
    DWORD value = 0;  // bytes available, read or written
    DWORD error = 0;  // of WINHTTP_CALLBACK_STATUS_REQUEST_ERROR
  };

  void Expect() {
    std::lock_guard guard(mutex_);
    report_.reset();
  }

  void Deliver(const Report& report) {
    {
      std::lock_guard guard(mutex_);
      report_ = report;
    }
    arrived_.notify_all();
  }

  // Nothing when the abort or the deadline comes first.
  std::optional<Report> Wait(const std::atomic<bool>& abort, const Deadline& deadline) {
    std::unique_lock lock(mutex_);
    while (!report_) {
      if (abort || deadline.Passed()) return std::nullopt;
      arrived_.wait_for(lock, kPoll);
    }
    return report_;
  }

  void NoteServer(std::wstring_view address) {
    std::lock_guard guard(mutex_);
    server_ = address;
  }

  // The check each sending of the request must pass; none once the hop has let go (Forget),
  // and a request sent after that is refused.
  void SetCheck(ServerCheck check) {
    std::lock_guard guard(mutex_);
    check_ = std::move(check);
  }
  void Forget() {
    std::lock_guard guard(mutex_);
    check_.reset();
  }

  // Judges the server the request is being sent to: as WinHTTP reports the sending, or after
  // the answer's head when it never did.
  bool JudgeServer(HINTERNET request) {
    std::lock_guard guard(mutex_);
    if (!check_) return false;
    verdict_.judged = true;
    verdict_.certificateRefused = !CertificatePasses(request, *check_);
    if (verdict_.certificateRefused) return false;
    // An address WinHTTP did not tell, or that reads as none, counts as internal.
    const bool internal = !server_ || JudgeAddressText(*server_, check_->isInternal).value_or(true);
    verdict_.refusal = check_->chain->Next({check_->secure, internal});
    return verdict_.Passed();
  }

  ServerVerdict Verdict() {
    std::lock_guard guard(mutex_);
    return verdict_;
  }

  // Closes the request handle once, whether the check or the hop comes first.
  void CloseRequest(HINTERNET request) {
    if (!closed_.exchange(true)) WinHttpCloseHandle(request);
  }

  void Release() {
    if (holders_.fetch_sub(1) == 1) delete this;
  }

  std::uint8_t* Buffer() { return buffer_.data(); }

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::optional<Report> report_;        // guarded by mutex_
  std::optional<std::wstring> server_;  // guarded by mutex_
  std::optional<ServerCheck> check_;    // guarded by mutex_
  ServerVerdict verdict_;               // guarded by mutex_
  std::atomic<bool> closed_{false};
  std::atomic<int> holders_{2};  // the request handle and the hop
  std::array<std::uint8_t, kChunkBytes> buffer_{};
};

bool IsOperationEnd(DWORD status) {
  switch (status) {
    case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
    case WINHTTP_CALLBACK_STATUS_WRITE_COMPLETE:
    case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE:
    case WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE:
    case WINHTTP_CALLBACK_STATUS_READ_COMPLETE:
    case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR:
      return true;
  }
  return false;
}

Channel::Report ReportOf(DWORD status, const void* information, DWORD length) {
  Channel::Report report{status, 0, 0};
  if (status == WINHTTP_CALLBACK_STATUS_READ_COMPLETE) {
    report.value = length;
  } else if (status == WINHTTP_CALLBACK_STATUS_REQUEST_ERROR) {
    report.error = information != nullptr
                       ? static_cast<const WINHTTP_ASYNC_RESULT*>(information)->dwError
                       : ERROR_WINHTTP_INTERNAL_ERROR;
  } else if (information != nullptr && length >= sizeof(DWORD)) {
    report.value = *static_cast<const DWORD*>(information);
  }
  return report;
}

// Runs on WinHTTP's threads, or inside the call that started the operation; nothing may
// escape into WinHTTP (an address that finds no memory goes unnoted, and is judged internal).
// A refused server gets its request handle closed as the request is about to go out, which
// keeps it from being sent where the system honours that, and the hop is told at once.
void CALLBACK OnRequestStatus(HINTERNET request, DWORD_PTR context, DWORD status,
                              LPVOID information, DWORD length) {
  auto* channel = reinterpret_cast<Channel*>(context);
  if (channel == nullptr) return;
  try {
    if (status == WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING) {
      channel->Release();
    } else if (status == WINHTTP_CALLBACK_STATUS_CONNECTED_TO_SERVER && information != nullptr) {
      const std::wstring_view address(static_cast<const wchar_t*>(information), length);
      channel->NoteServer(address.substr(0, address.find(L'\0')));
    } else if (status == WINHTTP_CALLBACK_STATUS_SENDING_REQUEST) {
      if (!channel->JudgeServer(request)) {
        channel->Deliver(
            {WINHTTP_CALLBACK_STATUS_REQUEST_ERROR, 0, ERROR_WINHTTP_OPERATION_CANCELLED});
        channel->CloseRequest(request);
      }
    } else if (IsOperationEnd(status)) {
      channel->Deliver(ReportOf(status, information, length));
    }
  } catch (...) {
  }
}

// Hands a new channel to the request handle; nullptr when WinHTTP would not take it.
Channel* AttachChannel(HINTERNET request) {
  auto channel = std::make_unique<Channel>();
  const auto context = reinterpret_cast<DWORD_PTR>(channel.get());
  const DWORD reports = WINHTTP_CALLBACK_FLAG_ALL_COMPLETIONS | WINHTTP_CALLBACK_FLAG_HANDLES |
                        WINHTTP_CALLBACK_FLAG_CONNECT_TO_SERVER |
                        WINHTTP_CALLBACK_FLAG_SEND_REQUEST;
  if (WinHttpSetStatusCallback(request, OnRequestStatus, reports, 0) ==
          WINHTTP_INVALID_STATUS_CALLBACK ||
      !WinHttpSetOption(request, WINHTTP_OPTION_CONTEXT_VALUE, const_cast<DWORD_PTR*>(&context),
                        sizeof context)) {
    return nullptr;
  }
  return channel.release();
}

struct Target {
  std::wstring host;
  INTERNET_PORT port = 0;
  std::wstring pathAndQuery;
  bool secure = false;
  std::wstring user;  // the URL's own credentials, unescaped
  std::wstring password;
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

// http and https URLs with a host; a fragment is not sent.
std::optional<Target> ParseTarget(const std::wstring& url) {
  if (url.empty() || HasForbiddenCharacter(url)) return std::nullopt;
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength =
      parts.dwUserNameLength = parts.dwPasswordLength = static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) return std::nullopt;
  if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) {
    return std::nullopt;
  }
  Target target;
  target.host = Part(parts.lpszHostName, parts.dwHostNameLength);
  target.port = parts.nPort;
  target.pathAndQuery = Part(parts.lpszUrlPath, parts.dwUrlPathLength) +
                        Part(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  target.pathAndQuery.erase(std::min(target.pathAndQuery.find(L'#'), target.pathAndQuery.size()));
  if (target.pathAndQuery.empty() || target.pathAndQuery.front() != L'/') {
    target.pathAndQuery.insert(0, 1, L'/');
  }
  target.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  target.user = Unescaped(parts.lpszUserName, parts.dwUserNameLength);
  target.password = Unescaped(parts.lpszPassword, parts.dwPasswordLength);
  return target.host.empty() ? std::nullopt : std::optional(std::move(target));
}

InternetHandle OpenSession(const HttpExchange& exchange) {
  const std::wstring agent = WideFromGbk(exchange.userAgent);
  if (exchange.proxyMode == ProxyMode::kAutomatic) {
    InternetHandle automatic(WinHttpOpen(agent.c_str(), WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY,
                                         WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS,
                                         WINHTTP_FLAG_ASYNC));
    // Systems before Windows 8.1 know only the configured proxy.
    if (automatic) return automatic;
  }
  if (exchange.proxyMode != ProxyMode::kNamed) {
    const DWORD access = exchange.proxyMode == ProxyMode::kDirect
                             ? WINHTTP_ACCESS_TYPE_NO_PROXY
                             : WINHTTP_ACCESS_TYPE_DEFAULT_PROXY;
    return InternetHandle(WinHttpOpen(agent.c_str(), access, WINHTTP_NO_PROXY_NAME,
                                      WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC));
  }
  std::string bypass = exchange.proxyBypass;
  std::replace(bypass.begin(), bypass.end(), ',', ';');
  const std::wstring proxy = WideFromGbk(exchange.proxy);
  const std::wstring bypassList = WideFromGbk(bypass);
  return InternetHandle(WinHttpOpen(
      agent.c_str(), WINHTTP_ACCESS_TYPE_NAMED_PROXY, proxy.c_str(),
      bypassList.empty() ? WINHTTP_NO_PROXY_BYPASS : bypassList.c_str(), WINHTTP_FLAG_ASYNC));
}

// WinHTTP sends no Accept, and states a length of its own only for some methods (adding
// none where the request states one).
std::wstring RequestHeaders(const HttpExchange& exchange) {
  std::string lines;
  for (const std::string& line : exchange.headers) lines += line + "\r\n";
  if (!HasHeader(exchange, "Accept")) lines += "Accept: */*\r\n";
  if (CarriesBody(exchange) && !HasHeader(exchange, "Content-Length")) {
    const std::size_t length = exchange.body ? exchange.body->size() : 0;
    lines += "Content-Length: " + std::to_string(length) + "\r\n";
  }
  return WideFromGbk(lines);
}

bool IsNamed(std::wstring_view part, std::wstring_view name) {
  return CompareStringOrdinal(part.data(), static_cast<int>(part.size()), name.data(),
                              static_cast<int>(name.size()), TRUE) == CSTR_EQUAL;
}

// "[CURRENT_USER\|LOCAL_MACHINE\[store\]]subject", as the platform's request object names a
// certificate; the first one whose subject holds that text. Split on the UTF-16 form: in
// GBK, a backslash byte may be the second half of a character.
CertificatePtr FindClientCertificate(const std::string& name) {
  std::wstring subject = WideFromGbk(name);
  DWORD location = CERT_SYSTEM_STORE_CURRENT_USER;
  std::wstring store = L"MY";
  const std::size_t slash = subject.find(L'\\');
  const std::wstring_view first = std::wstring_view(subject).substr(0, slash);
  if (slash != std::wstring::npos &&
      (IsNamed(first, L"CURRENT_USER") || IsNamed(first, L"LOCAL_MACHINE"))) {
    if (IsNamed(first, L"LOCAL_MACHINE")) location = CERT_SYSTEM_STORE_LOCAL_MACHINE;
    subject.erase(0, slash + 1);
    if (const std::size_t next = subject.find(L'\\'); next != std::wstring::npos) {
      store = subject.substr(0, next);
      subject.erase(0, next + 1);
    }
  }
  HCERTSTORE opened = CertOpenStore(
      CERT_STORE_PROV_SYSTEM_W, 0, 0,
      location | CERT_STORE_OPEN_EXISTING_FLAG | CERT_STORE_READONLY_FLAG, store.c_str());
  if (opened == nullptr) return nullptr;
  const CERT_CONTEXT* found =
      CertFindCertificateInStore(opened, X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, 0,
                                 CERT_FIND_SUBJECT_STR_W, subject.c_str(), nullptr);
  CertCloseStore(opened, 0);  // a found certificate keeps its store open
  return CertificatePtr(found);
}

DWORD AutoLogonLevel(AutoLogon policy) {
  switch (policy) {
    case AutoLogon::kAlways:
      return WINHTTP_AUTOLOGON_SECURITY_LEVEL_LOW;
    case AutoLogon::kIntranetOnly:
      return WINHTTP_AUTOLOGON_SECURITY_LEVEL_MEDIUM;
    case AutoLogon::kNever:
      break;
  }
  return WINHTTP_AUTOLOGON_SECURITY_LEVEL_HIGH;
}

DWORD ClampToDword(std::size_t value) {
  return static_cast<DWORD>(std::min<std::size_t>(value, MAXDWORD));
}

// With trusted certificates given, a secure server is judged by them alone: WinHTTP's own
// judgement of the root and the name is switched off and made as the request goes out.
bool Configure(HINTERNET request, const HttpExchange& exchange, const Target& target,
               HCERTSTORE trusted) {
  // The program keeps cookies in its own jars and sends them as headers of the request, and
  // follows redirects itself (FollowRedirects), which WinHTTP would follow with every header
  // and logon to any host.
  const bool set =
      SetNumber(request, WINHTTP_OPTION_DISABLE_FEATURE,
                WINHTTP_DISABLE_COOKIES | WINHTTP_DISABLE_REDIRECTS) &&
      SetNumber(request, WINHTTP_OPTION_REDIRECT_POLICY, WINHTTP_OPTION_REDIRECT_POLICY_NEVER) &&
      SetNumber(request, WINHTTP_OPTION_MAX_RESPONSE_HEADER_SIZE,
                ClampToDword(exchange.maxHeaderBytes)) &&
      SetNumber(request, WINHTTP_OPTION_AUTOLOGON_POLICY, AutoLogonLevel(exchange.autoLogon));
  if (!set) return false;
  // The URL's own user and password go as Basic authorization, unless a logon is given.
  if (!exchange.serverLogon && !target.user.empty() &&
      !WinHttpSetCredentials(request, WINHTTP_AUTH_TARGET_SERVER, WINHTTP_AUTH_SCHEME_BASIC,
                             target.user.c_str(), target.password.c_str(), nullptr)) {
    return false;
  }
  if (target.secure && !exchange.caFile.empty() &&
      (trusted == nullptr ||
       !SetNumber(request, WINHTTP_OPTION_SECURITY_FLAGS,
                  SECURITY_FLAG_IGNORE_UNKNOWN_CA | SECURITY_FLAG_IGNORE_CERT_CN_INVALID))) {
    return false;
  }
  // Refused where WinHTTP cannot undo compression (before Windows 8.1, under Wine): then no
  // compression is offered and the answer comes plain.
  if (exchange.acceptCompressed) {
    SetNumber(request, WINHTTP_OPTION_DECOMPRESSION, WINHTTP_DECOMPRESSION_FLAG_ALL);
  }
  if (exchange.clientCertificate.empty() || !target.secure) return true;
  const CertificatePtr certificate = FindClientCertificate(exchange.clientCertificate);
  return certificate &&
         WinHttpSetOption(request, WINHTTP_OPTION_CLIENT_CERT_CONTEXT,
                          const_cast<CERT_CONTEXT*>(certificate.get()), sizeof(CERT_CONTEXT));
}

DWORD StrongestScheme(DWORD offered) {
  for (DWORD scheme : {WINHTTP_AUTH_SCHEME_NEGOTIATE, WINHTTP_AUTH_SCHEME_NTLM,
                       WINHTTP_AUTH_SCHEME_DIGEST, WINHTTP_AUTH_SCHEME_BASIC}) {
    if (offered & scheme) return scheme;
  }
  return 0;
}

// Sets the logon that the challenge in the answer asks for; false when there is none to
// give, and the challenge is then the answer. The current user's own logon goes only by
// the schemes that have one, and only as far as the auto-logon level lets it.
bool AnswerChallenge(HINTERNET request, const HttpExchange& exchange) {
  DWORD offered = 0;
  DWORD preferred = 0;
  DWORD target = 0;
  if (!WinHttpQueryAuthSchemes(request, &offered, &preferred, &target)) return false;
  const DWORD scheme = StrongestScheme(offered);
  if (scheme == 0) return false;
  const auto& logon =
      target == WINHTTP_AUTH_TARGET_PROXY ? exchange.proxyLogon : exchange.serverLogon;
  if (!logon) {
    const bool systemScheme =
        scheme == WINHTTP_AUTH_SCHEME_NEGOTIATE || scheme == WINHTTP_AUTH_SCHEME_NTLM;
    return systemScheme && exchange.autoLogon != AutoLogon::kNever &&
           WinHttpSetCredentials(request, target, scheme, nullptr, nullptr, nullptr);
  }
  const std::wstring user = WideFromGbk(logon->user);
  const std::wstring password = WideFromGbk(logon->password);
  return WinHttpSetCredentials(request, target, scheme, user.c_str(), password.c_str(), nullptr);
}

std::optional<DWORD> QueryNumber(HINTERNET request, DWORD info) {
  DWORD value = 0;
  DWORD size = sizeof value;
  if (!WinHttpQueryHeaders(request, info | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                           &value, &size, WINHTTP_NO_HEADER_INDEX)) {
    return std::nullopt;
  }
  return value;
}

std::optional<std::wstring> QueryText(HINTERNET request, DWORD info) {
  DWORD size = 0;
  WinHttpQueryHeaders(request, info, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER, &size,
                      WINHTTP_NO_HEADER_INDEX);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::nullopt;
  std::wstring text(size / sizeof(wchar_t), L'\0');
  if (!WinHttpQueryHeaders(request, info, WINHTTP_HEADER_NAME_BY_INDEX, text.data(), &size,
                           WINHTTP_NO_HEADER_INDEX)) {
    return std::nullopt;
  }
  text.resize(size / sizeof(wchar_t));
  return text;
}

// The header lines after the status line, continuation lines joined to the line they continue.
std::vector<std::string> HeaderLines(std::wstring_view raw) {
  std::vector<std::string> lines;
  std::size_t start = raw.find(L"\r\n");
  while (start != std::wstring_view::npos) {
    start += 2;
    const std::size_t end = raw.find(L"\r\n", start);
    const std::wstring_view line = raw.substr(start, end - start);
    if (line.empty()) break;
    const bool continued = (line.front() == L' ' || line.front() == L'\t') && !lines.empty();
    if (continued) {
      lines.back() += GbkFromWide(line);
    } else {
      lines.push_back(GbkFromWide(line));
    }
    start = end;
  }
  return lines;
}

// A Location read against the URL that answered with it. Dot segments stay as written.
std::wstring Resolve(const std::wstring& base, const std::wstring& location) {
  const std::size_t schemeEnd = base.find(L"://");
  const std::size_t locationScheme = location.find(L"://");
  if (schemeEnd == std::wstring::npos ||
      (locationScheme != std::wstring::npos && location.find_first_of(L"/?#") > locationScheme)) {
    return location;
  }
  if (location.starts_with(L"//")) return base.substr(0, schemeEnd + 1) + location;
  const std::size_t pathStart = std::min(base.find_first_of(L"/?#", schemeEnd + 3), base.size());
  const std::wstring origin = base.substr(0, pathStart);
  if (location.starts_with(L"/")) return origin + location;
  const std::size_t pathEnd = std::min(base.find_first_of(L"?#", pathStart), base.size());
  const std::wstring path = pathStart < pathEnd && base[pathStart] == L'/'
                                ? base.substr(pathStart, pathEnd - pathStart)
                                : L"/";
  if (location.starts_with(L"?")) return origin + path + location;
  return origin + path.substr(0, path.rfind(L'/') + 1) + location;
}

bool ReadHead(HINTERNET request, const HttpExchange& exchange, HttpAnswer& answer) {
  const std::optional<DWORD> status = QueryNumber(request, WINHTTP_QUERY_STATUS_CODE);
  const std::optional<std::wstring> raw = QueryText(request, WINHTTP_QUERY_RAW_HEADERS_CRLF);
  if (!status || !raw) return false;
  if (raw->size() > exchange.maxHeaderBytes) {
    answer.failure = HttpFailure::kTooLarge;
    return false;
  }
  answer.status = static_cast<int>(*status);
  answer.statusText = GbkFromWide(QueryText(request, WINHTTP_QUERY_STATUS_TEXT).value_or(L""));
  answer.headerLines = HeaderLines(*raw);
  answer.finalUrl = exchange.url;
  return true;
}

// One request's operations, each started and then awaited on the channel, so that the
// exchange gives up on an abort or at its deadline whatever WinHTTP is waiting for.
class Conversation {
 public:
  Conversation(HINTERNET request, Channel& channel, const HttpExchange& exchange,
               const Deadline& deadline, const std::atomic<bool>& abort)
      : request_(request),
        channel_(channel),
        exchange_(exchange),
        deadline_(deadline),
        abort_(abort) {}

  // Sends, and answers the logon challenges that the caller's logons (or the system's) can
  // meet, each target once. True once an answer's head has arrived. The headers are added
  // once, as each send would add them again.
  bool SendAndReceive() {
    const std::wstring headers = RequestHeaders(exchange_);
    if (!WinHttpAddRequestHeaders(request_, headers.c_str(), static_cast<DWORD>(headers.size()),
                                  WINHTTP_ADDREQ_FLAG_ADD)) {
      return false;
    }
    bool serverAnswered = false;
    bool proxyAnswered = false;
    for (;;) {
      if (!SendWithCertificateFallback() ||
          !Await([this] { return WinHttpReceiveResponse(request_, nullptr); },
                 WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE)) {
        return false;
      }
      const DWORD status = QueryNumber(request_, WINHTTP_QUERY_STATUS_CODE).value_or(0);
      const bool proxy = status == HTTP_STATUS_PROXY_AUTH_REQ;
      bool& answered = proxy ? proxyAnswered : serverAnswered;
      if ((status != HTTP_STATUS_DENIED && !proxy) || answered ||
          !AnswerChallenge(request_, exchange_)) {
        return true;
      }
      answered = true;
    }
  }

  bool TooLarge() const { return tooLarge_; }
  bool HeadTooLarge() const { return lastError_ == ERROR_WINHTTP_HEADER_SIZE_OVERFLOW; }

  bool ReadBody(Bytes& body) {
    for (;;) {
      const std::optional<DWORD> available =
          Await([this] { return WinHttpQueryDataAvailable(request_, nullptr); },
                WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE);
      if (!available) return false;
      if (*available == 0) return true;
      // Counted after WinHTTP undid any compression, so an inflating body stops here; one
      // kept in part is read up to the limit first.
      const DWORD wanted = std::min<DWORD>(*available, kChunkBytes);
      const std::size_t room = exchange_.maxBodyBytes - body.size();
      tooLarge_ = wanted > room;
      if (tooLarge_ && (!exchange_.keepPartialBody || room == 0)) return false;
      const DWORD taken = tooLarge_ ? static_cast<DWORD>(room) : wanted;
      const std::optional<DWORD> read =
          Await([&] { return WinHttpReadData(request_, channel_.Buffer(), taken, nullptr); },
                WINHTTP_CALLBACK_STATUS_READ_COMPLETE);
      if (!read || *read > taken) return false;
      if (*read == 0) return true;
      body.insert(body.end(), channel_.Buffer(), channel_.Buffer() + *read);
    }
  }

 private:
  // Starts an operation and waits for its end; its value when it ended as expected.
  template <class Start>
  std::optional<DWORD> Await(Start start, DWORD expected) {
    lastError_ = 0;
    channel_.Expect();
    if (!start()) {
      lastError_ = GetLastError();
      return std::nullopt;
    }
    const std::optional<Channel::Report> report = channel_.Wait(abort_, deadline_);
    if (!report || report->status != expected) {
      lastError_ = report ? report->error : 0;
      return std::nullopt;
    }
    return report->value;
  }

  // The body goes in chunks through the channel's buffer, which outlives an abandoned write.
  bool Send() {
    const Bytes empty;
    const Bytes& body = exchange_.body ? *exchange_.body : empty;
    if (body.size() > MAXDWORD) return false;
    const auto start = [&] {
      return WinHttpSendRequest(request_, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA,
                                0, static_cast<DWORD>(body.size()),
                                reinterpret_cast<DWORD_PTR>(&channel_));
    };
    if (!Await(start, WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE)) return false;
    for (std::size_t sent = 0; sent < body.size();) {
      const DWORD chunk = static_cast<DWORD>(std::min(kChunkBytes, body.size() - sent));
      std::copy_n(body.begin() + static_cast<std::ptrdiff_t>(sent), chunk, channel_.Buffer());
      const std::optional<DWORD> written =
          Await([&] { return WinHttpWriteData(request_, channel_.Buffer(), chunk, nullptr); },
                WINHTTP_CALLBACK_STATUS_WRITE_COMPLETE);
      if (!written || *written == 0) return false;
      sent += *written;
    }
    return true;
  }

  // A server that asks for a certificate when none was chosen is told there is none, as the
  // platform's request object does.
  bool SendWithCertificateFallback() {
    if (Send()) return true;
    return lastError_ == ERROR_WINHTTP_CLIENT_AUTH_CERT_NEEDED &&
           WinHttpSetOption(request_, WINHTTP_OPTION_CLIENT_CERT_CONTEXT,
                            WINHTTP_NO_CLIENT_CERT_CONTEXT, 0) &&
           Send();
  }

  HINTERNET request_;
  Channel& channel_;
  const HttpExchange& exchange_;
  const Deadline& deadline_;
  const std::atomic<bool>& abort_;
  DWORD lastError_ = 0;
  bool tooLarge_ = false;
};

InternetHandle OpenRequest(HINTERNET connection, const HttpExchange& exchange,
                           const Target& target) {
  const std::wstring method = WideFromGbk(exchange.method);
  return InternetHandle(WinHttpOpenRequest(connection, method.c_str(), target.pathAndQuery.c_str(),
                                           exchange.http11 ? L"HTTP/1.1" : L"HTTP/1.0",
                                           WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                           target.secure ? WINHTTP_FLAG_SECURE : 0));
}

HttpAnswer Failed(HttpFailure failure) {
  HttpAnswer failed;
  failed.failure = failure;
  return failed;
}

UrlOrigin OriginOf(const Target& target) {
  return {target.secure, GbkFromWide(target.host), target.port};
}

// The exchange as it goes to one URL of its redirect chain: the first URL's credentials
// only where the redirect policy lets them follow, and the user's own logon nowhere else.
HttpExchange HopExchange(const HttpExchange& exchange, bool credentialsFollow) {
  HttpExchange hop = exchange;
  if (credentialsFollow) return hop;
  std::erase_if(hop.headers, [](const std::string& line) { return IsCredentialHeader(line); });
  hop.serverLogon.reset();
  hop.autoLogon = AutoLogon::kNever;
  return hop;
}

// What a redirect answer asks for next, as the platform's component follows one: a POST
// turned into a GET by 301 and 302, every method but HEAD by 303.
void FollowMethod(DWORD status, HttpExchange& exchange) {
  const bool toGet = (status == 303 && exchange.method != "HEAD") ||
                     ((status == 301 || status == 302) && exchange.method == "POST");
  if (!toGet) return;
  exchange.method = "GET";
  exchange.body.reset();
  std::erase_if(exchange.headers, [](const std::string& line) {
    return StartsWithIgnoringAsciiCase(line, "Content-Type:") ||
           StartsWithIgnoringAsciiCase(line, "Content-Length:");
  });
}

bool IsRedirect(DWORD status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// One request of the chain, its answer's head received. Each has a session of its own, so
// that its connection is a new one and reports the address it went to.
class Hop {
 public:
  Hop(const HttpExchange& exchange, const Target& target)
      : session_(OpenSession(exchange)),
        connection_(session_ ? WinHttpConnect(session_.get(), target.host.c_str(), target.port, 0)
                             : nullptr),
        request_(connection_ ? OpenRequest(connection_.get(), exchange, target).release()
                             : nullptr),
        channel_(request_ != nullptr ? AttachChannel(request_) : nullptr) {}

  // The request is closed before its connection and session.
  ~Hop() {
    if (channel_ == nullptr) {
      if (request_ != nullptr) WinHttpCloseHandle(request_);
      return;
    }
    channel_->Forget();
    channel_->CloseRequest(request_);
    channel_->Release();
  }
  Hop(const Hop&) = delete;
  Hop& operator=(const Hop&) = delete;

  // False when the request could not be made, its server was refused or it got no answer.
  bool Exchange(const HttpExchange& exchange, const Target& target, const ServerCheck& check,
                const Deadline& deadline, const std::atomic<bool>& abort) {
    if (channel_ == nullptr || !Configure(request_, exchange, target, check.trusted) ||
        !LimitPhases(request_, exchange.timeouts, deadline)) {
      return false;
    }
    channel_->SetCheck(check);
    conversation_.emplace(request_, *channel_, exchange, deadline, abort);
    return conversation_->SendAndReceive();
  }

  // The server's verdict; judged now, once the answer's head is in, where WinHTTP never
  // reported the sending.
  ServerVerdict Verdict(bool answered) {
    if (channel_ == nullptr) return {};
    ServerVerdict verdict = channel_->Verdict();
    if (answered && !verdict.judged) {
      channel_->JudgeServer(request_);
      verdict = channel_->Verdict();
    }
    return verdict;
  }

  HINTERNET Request() const { return request_; }
  bool HeadTooLarge() const { return conversation_ && conversation_->HeadTooLarge(); }
  // Only after Exchange succeeded.
  Conversation& Talk() { return *conversation_; }

 private:
  InternetHandle session_;
  InternetHandle connection_;
  HINTERNET request_;
  Channel* channel_;  // held until the destructor lets go
  std::optional<Conversation> conversation_;
};

// With keepPartialBody, a body that broke off or passed its limit is the failed answer's.
HttpAnswer Finish(Hop& hop, const HttpExchange& exchange) {
  HttpAnswer answer;
  if (!ReadHead(hop.Request(), exchange, answer)) return Failed(answer.failure);
  if (!hop.Talk().ReadBody(answer.body)) {
    HttpAnswer failed = Failed(hop.Talk().TooLarge() ? HttpFailure::kTooLarge : HttpFailure::kNone);
    if (exchange.keepPartialBody) failed.body = std::move(answer.body);
    return failed;
  }
  answer.complete = true;
  return answer;
}

// Follows the redirects itself, under the redirect policy: a hop to an address written in
// its URL is judged before anything goes there, every hop by the address it connected to
// (and with trusted certificates, by its certificate) as its request is about to go out.
}  // namespace

HttpAnswer RunExchangeOnEngine(const HttpExchange& exchange, const std::atomic<bool>& abort) {
  const Deadline deadline(exchange.timeouts.wholeMs);
  const std::optional<Target> first = ParseTarget(WideFromGbk(exchange.url));
  if (!first) return {};
  const CertificateStore trusted =
      exchange.caFile.empty() ? nullptr : LoadPemCertificates(exchange.caFile);
  RedirectChain chain(exchange.httpsToHttpRedirects);
  HttpExchange current = exchange;
  for (int redirects = 0;; ++redirects) {
    std::optional<Target> target = ParseTarget(WideFromGbk(current.url));
    if (!target) return {};
    const bool credentialsFollow = CredentialsFollow(OriginOf(*first), OriginOf(*target));
    if (credentialsFollow && target->user.empty()) {
      target->user = first->user;
      target->password = first->password;
    }
    const HttpExchange hop = HopExchange(current, credentialsFollow);
    if (redirects > 0) {
      const RedirectRefusal refusal =
          JudgeWrittenAddress(chain, target->secure, target->host, exchange.isInternal);
      if (refusal != RedirectRefusal::kNone) return Failed(RedirectFailure(refusal));
    }
    Hop request(hop, *target);
    const ServerCheck check{&chain, exchange.isInternal, target->secure, trusted.get(),
                            target->host};
    const bool answered = request.Exchange(hop, *target, check, deadline, abort);
    const ServerVerdict verdict = request.Verdict(answered);
    if (verdict.refusal != RedirectRefusal::kNone) return Failed(RedirectFailure(verdict.refusal));
    if (!answered || verdict.certificateRefused) {
      return Failed(request.HeadTooLarge() ? HttpFailure::kTooLarge : HttpFailure::kNone);
    }
    const DWORD status = QueryNumber(request.Request(), WINHTTP_QUERY_STATUS_CODE).value_or(0);
    const std::optional<std::wstring> location =
        exchange.followRedirects && IsRedirect(status)
            ? QueryText(request.Request(), WINHTTP_QUERY_LOCATION)
            : std::nullopt;
    if (!location) return Finish(request, hop);
    if (redirects >= exchange.maxRedirects) return {};
    current.url = GbkFromWide(Resolve(WideFromGbk(current.url), *location));
    FollowMethod(status, current);
  }
}

bool IsWebUrl(const std::string& url) {
  return url.find('\0') == std::string::npos && ParseTarget(WideFromGbk(url)).has_value();
}

}  // namespace vardelle

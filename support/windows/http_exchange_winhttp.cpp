// One HTTP exchange over WinHTTP.
#include "support/http/http_exchange.h"

#include <windows.h>
// After windows.h, which they build on.
#include <wincrypt.h>
#include <winhttp.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

#include "support/text/ascii_case.h"
#include "support/text/text_codec.h"

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

struct CertificateCloser {
  void operator()(const CERT_CONTEXT* certificate) const {
    CertFreeCertificateContext(certificate);
  }
};
using CertificatePtr = std::unique_ptr<const CERT_CONTEXT, CertificateCloser>;

std::wstring Wide(std::string_view gbk) {
  const std::u16string text = ToUtf16(gbk);
  return std::wstring(text.begin(), text.end());
}

std::string Narrow(std::wstring_view wide) {
  return ToGbk(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

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

// Where WinHTTP reports the end of each operation of a request (the handles are opened for
// asynchronous use: a synchronous call cannot be left, Wine ends none when its handle is
// closed). WinHTTP may still report on an operation, and fill or read its buffer, after the
// exchange has given up on it, so the channel and the buffers belong to the request handle:
// the callback deletes them with the handle's last report.
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

  void NoteRedirect(std::wstring_view location) {
    std::lock_guard guard(mutex_);
    redirects_.emplace_back(location);
  }

  // Where each redirect followed led, in turn, as the answers' Location said it.
  std::vector<std::wstring> Redirects() {
    std::lock_guard guard(mutex_);
    return redirects_;
  }

  std::uint8_t* Buffer() { return buffer_.data(); }

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::optional<Report> report_;         // guarded by mutex_
  std::vector<std::wstring> redirects_;  // guarded by mutex_
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
// escape into WinHTTP (a redirect URL that finds no memory goes unnoted).
void CALLBACK OnRequestStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID information,
                              DWORD length) {
  auto* channel = reinterpret_cast<Channel*>(context);
  if (channel == nullptr) return;
  try {
    if (status == WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING) {
      delete channel;
    } else if (status == WINHTTP_CALLBACK_STATUS_REDIRECT) {
      const std::wstring_view location(static_cast<const wchar_t*>(information), length);
      channel->NoteRedirect(location.substr(0, location.find(L'\0')));
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
                        WINHTTP_CALLBACK_FLAG_REDIRECT;
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
};

// http and https URLs with a host; a fragment is not sent.
std::optional<Target> ParseTarget(const std::wstring& url) {
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwHostNameLength = static_cast<DWORD>(-1);
  parts.dwUrlPathLength = static_cast<DWORD>(-1);
  parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) return std::nullopt;
  if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) {
    return std::nullopt;
  }
  Target target;
  target.host.assign(parts.lpszHostName, parts.dwHostNameLength);
  target.port = parts.nPort;
  target.pathAndQuery.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
  target.pathAndQuery.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  target.pathAndQuery.erase(std::min(target.pathAndQuery.find(L'#'), target.pathAndQuery.size()));
  if (target.pathAndQuery.empty() || target.pathAndQuery.front() != L'/') {
    target.pathAndQuery.insert(0, 1, L'/');
  }
  target.secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  return target.host.empty() ? std::nullopt : std::optional(std::move(target));
}

InternetHandle OpenSession(const HttpExchange& exchange) {
  const std::wstring agent = Wide(exchange.userAgent);
  if (exchange.proxyMode != ProxyMode::kNamed) {
    const DWORD access = exchange.proxyMode == ProxyMode::kDirect
                             ? WINHTTP_ACCESS_TYPE_NO_PROXY
                             : WINHTTP_ACCESS_TYPE_DEFAULT_PROXY;
    return InternetHandle(WinHttpOpen(agent.c_str(), access, WINHTTP_NO_PROXY_NAME,
                                      WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC));
  }
  std::string bypass = exchange.proxyBypass;
  std::replace(bypass.begin(), bypass.end(), ',', ';');
  const std::wstring proxy = Wide(exchange.proxy);
  const std::wstring bypassList = Wide(bypass);
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
  return Wide(lines);
}

bool IsNamed(std::wstring_view part, std::wstring_view name) {
  return CompareStringOrdinal(part.data(), static_cast<int>(part.size()), name.data(),
                              static_cast<int>(name.size()), TRUE) == CSTR_EQUAL;
}

// "[CURRENT_USER\|LOCAL_MACHINE\[store\]]subject", as the platform's request object names a
// certificate; the first one whose subject holds that text. Split on the UTF-16 form: in
// GBK, a backslash byte may be the second half of a character.
CertificatePtr FindClientCertificate(const std::string& name) {
  std::wstring subject = Wide(name);
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

DWORD RedirectPolicy(const HttpExchange& exchange) {
  if (!exchange.followRedirects) return WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
  return exchange.httpsToHttpRedirects ? WINHTTP_OPTION_REDIRECT_POLICY_ALWAYS
                                       : WINHTTP_OPTION_REDIRECT_POLICY_DISALLOW_HTTPS_TO_HTTP;
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

bool Configure(HINTERNET request, const HttpExchange& exchange, const Target& target) {
  // The program keeps cookies in its own jars and sends them as headers of the request.
  const bool set =
      SetNumber(request, WINHTTP_OPTION_DISABLE_FEATURE, WINHTTP_DISABLE_COOKIES) &&
      SetNumber(request, WINHTTP_OPTION_REDIRECT_POLICY, RedirectPolicy(exchange)) &&
      SetNumber(request, WINHTTP_OPTION_MAX_HTTP_AUTOMATIC_REDIRECTS,
                static_cast<DWORD>(std::max(exchange.maxRedirects, 0))) &&
      SetNumber(request, WINHTTP_OPTION_MAX_RESPONSE_HEADER_SIZE,
                ClampToDword(exchange.maxHeaderBytes)) &&
      SetNumber(request, WINHTTP_OPTION_AUTOLOGON_POLICY, AutoLogonLevel(exchange.autoLogon));
  if (!set) return false;
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
  const std::wstring user = Wide(logon->user);
  const std::wstring password = Wide(logon->password);
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
      lines.back() += Narrow(line);
    } else {
      lines.push_back(Narrow(line));
    }
    start = end;
  }
  return lines;
}

// A Location read against the URL that answered with it (Windows reports redirects as
// whole URLs, Wine as the server wrote them). Dot segments stay as written.
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

// WINHTTP_OPTION_URL stays the URL first asked for under Wine, so the redirects followed
// are read from the channel's reports.
std::string FinalUrl(Channel& channel, const std::string& requested) {
  std::wstring url = Wide(requested);
  for (const std::wstring& location : channel.Redirects()) url = Resolve(url, location);
  return Narrow(url);
}

bool ReadHead(HINTERNET request, Channel& channel, const HttpExchange& exchange,
              HttpAnswer& answer) {
  const std::optional<DWORD> status = QueryNumber(request, WINHTTP_QUERY_STATUS_CODE);
  const std::optional<std::wstring> raw = QueryText(request, WINHTTP_QUERY_RAW_HEADERS_CRLF);
  if (!status || !raw || raw->size() > exchange.maxHeaderBytes) return false;
  answer.status = static_cast<int>(*status);
  answer.statusText = Narrow(QueryText(request, WINHTTP_QUERY_STATUS_TEXT).value_or(L""));
  answer.headerLines = HeaderLines(*raw);
  answer.finalUrl = FinalUrl(channel, exchange.url);
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

  bool ReadBody(Bytes& body) {
    for (;;) {
      const std::optional<DWORD> available =
          Await([this] { return WinHttpQueryDataAvailable(request_, nullptr); },
                WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE);
      if (!available) return false;
      if (*available == 0) return true;
      const DWORD wanted = std::min<DWORD>(*available, kChunkBytes);
      if (wanted > exchange_.maxBodyBytes - body.size()) return false;
      const std::optional<DWORD> read =
          Await([&] { return WinHttpReadData(request_, channel_.Buffer(), wanted, nullptr); },
                WINHTTP_CALLBACK_STATUS_READ_COMPLETE);
      if (!read || *read > wanted) return false;
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
};

InternetHandle OpenRequest(HINTERNET connection, const HttpExchange& exchange,
                           const Target& target) {
  const std::wstring method = Wide(exchange.method);
  return InternetHandle(WinHttpOpenRequest(connection, method.c_str(), target.pathAndQuery.c_str(),
                                           exchange.http11 ? L"HTTP/1.1" : L"HTTP/1.0",
                                           WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                           target.secure ? WINHTTP_FLAG_SECURE : 0));
}

HttpAnswer Run(const HttpExchange& exchange, const std::atomic<bool>& abort) {
  const Deadline deadline(exchange.timeouts.wholeMs);
  const std::optional<Target> target = ParseTarget(Wide(exchange.url));
  if (!target) return {};
  const InternetHandle session = OpenSession(exchange);
  const InternetHandle connection(
      session ? WinHttpConnect(session.get(), target->host.c_str(), target->port, 0) : nullptr);
  // Closed before the session and connection; the channel is the request handle's from here.
  const InternetHandle request(connection ? OpenRequest(connection.get(), exchange, *target)
                                          : nullptr);
  Channel* channel = request ? AttachChannel(request.get()) : nullptr;
  if (channel == nullptr || !Configure(request.get(), exchange, *target) ||
      !LimitPhases(request.get(), exchange.timeouts, deadline)) {
    return {};
  }
  Conversation conversation(request.get(), *channel, exchange, deadline, abort);
  HttpAnswer answer;
  if (!conversation.SendAndReceive() || !ReadHead(request.get(), *channel, exchange, answer) ||
      !conversation.ReadBody(answer.body)) {
    return {};
  }
  answer.complete = true;
  return answer;
}

}  // namespace

HttpAnswer RunHttpExchange(const HttpExchange& exchange, const std::atomic<bool>& abort) {
  try {
    return Run(exchange, abort);
  } catch (...) {
    return {};
  }
}

bool IsWebUrl(const std::string& url) {
  return url.find('\0') == std::string::npos && ParseTarget(Wide(url)).has_value();
}

}  // namespace vardelle

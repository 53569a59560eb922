#include "support/http/exchange_http_component.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "runtime/text/ascii_case.h"
#include "support/call_error.h"
#include "support/http/http_exchange.h"
#include "support/text/response_text_decoding.h"
#include "support/text/space_trim.h"

namespace vardelle {
namespace {

constexpr char kDefaultUserAgent[] = "Mozilla/4.0 (compatible; Win32; WinHttp.WinHttpRequest.5)";
constexpr char kTextContentType[] = "Content-Type: text/plain; charset=UTF-8";
constexpr int kProxyDefault = 0;  // the platform names both 0 "default" and "preconfig"
constexpr int kProxyDirect = 1;
constexpr int kProxyNamed = 2;
constexpr int kLogonForProxy = 1;
constexpr int kAutoLogonAlways = 0;
constexpr int kAutoLogonNever = 2;
constexpr int kLargestHeaderLimit = 16 << 20;

// The option indexes of the platform's component that this one serves.
enum Option : int {
  kUserAgent = 0,
  kUrl = 1,
  kEnableRedirects = 6,
  kHttpsToHttpRedirects = 12,
  kMaxRedirects = 14,
  kMaxResponseHeaderSize = 15,
  kEnableHttp11 = 17,
};

// A method or header name: printable ASCII without separators, so it cannot break the
// request's layout.
bool IsToken(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte > 0x20 && byte < 0x7F &&
           std::string_view("()<>@,;:\\\"/[]?={}").find(c) == std::string_view::npos;
  });
}

bool IsHeaderValue(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

// The platform escapes spaces in the URL rather than refusing it.
std::string EscapeSpaces(const Text& url) {
  std::string escaped;
  for (char c : url) {
    if (c == ' ') {
      escaped += "%20";
    } else {
      escaped += c;
    }
  }
  return escaped;
}

std::optional<int> AsInteger(const AutomationValue& value) {
  if (const auto* integer = std::get_if<std::int32_t>(&value)) return *integer;
  if (const auto* flag = std::get_if<bool>(&value)) return *flag ? 1 : 0;
  if (const auto* number = std::get_if<double>(&value)) {
    if (*number > INT32_MIN - 1.0 && *number < INT32_MAX + 1.0) return static_cast<int>(*number);
  }
  return std::nullopt;
}

void Fail() { SetCallError(CallError::kException); }

// A failed exchange's outcome code: its own where the engine told why.
CallError FailureCode(HttpFailure failure) {
  switch (failure) {
    case HttpFailure::kRedirectToPlain:
      return CallError::kRedirectToPlainRefused;
    case HttpFailure::kRedirectToInternal:
      return CallError::kRedirectToInternalRefused;
    case HttpFailure::kTooLarge:
      return CallError::kAnswerTooLarge;
    case HttpFailure::kNone:
      break;
  }
  return CallError::kException;
}

class ExchangeHttpComponent final : public HttpComponent {
 public:
  ExchangeHttpComponent() { settings_.userAgent = kDefaultUserAgent; }
  ~ExchangeHttpComponent() override { StopTransfer(); }
  ExchangeHttpComponent(const ExchangeHttpComponent&) = delete;
  ExchangeHttpComponent& operator=(const ExchangeHttpComponent&) = delete;

  void Open(const Text& method, const Text& url, bool async) override {
    StopTransfer();
    SetStage(Stage::kCreated);
    const std::string escaped = EscapeSpaces(url);
    if (!IsToken(method) || !IsWebUrl(escaped)) return Fail();
    request_ = Request{method, escaped, async, {}, std::nullopt, std::nullopt};
    SetStage(Stage::kOpened);
    ClearCallError();
  }

  void SetRequestHeader(const Text& name, const Text& value) override {
    if (CurrentStage() != Stage::kOpened || !IsToken(name) || !IsHeaderValue(value)) return Fail();
    auto& headers = request_.headers;
    headers.erase(std::remove_if(headers.begin(), headers.end(),
                                 [&](const auto& header) {
                                   return EqualsIgnoringAsciiCase(header.first, name);
                                 }),
                  headers.end());
    headers.emplace_back(name, value);
    ClearCallError();
  }

  void Send() override { SendBody(std::nullopt, false); }
  void Send(const Text& body) override { SendBody(EncodeRequestText(body), true); }
  void Send(const Bytes& body) override { SendBody(body, false); }

  bool WaitForResponse(int timeoutSeconds) override {
    std::unique_lock lock(mutex_);
    const auto ended = [this] { return stage_ != Stage::kSending; };
    if (timeoutSeconds < 0) {
      answered_.wait(lock, ended);
    } else {
      answered_.wait_for(lock, std::chrono::seconds(timeoutSeconds), ended);
    }
    if (stage_ == Stage::kFailed) {
      SetCallError(FailureCode(answer_.failure));
      return false;
    }
    if (stage_ == Stage::kCreated || stage_ == Stage::kOpened) {
      Fail();
      return false;
    }
    ClearCallError();
    return stage_ == Stage::kAnswered;
  }

  void Abort() override {
    StopTransfer();
    SetStage(Stage::kCreated);
    ClearCallError();
  }

  int Status() override { return Answered() ? answer_.status : 0; }
  Text StatusText() override { return Answered() ? answer_.statusText : Text(); }
  Text ResponseText() override {
    return Answered() ? DecodeResponseText(answer_.body, HeaderValue("Content-Type")) : Text();
  }
  Bytes ResponseBody() override { return Answered() ? answer_.body : Bytes(); }
  AutomationValue ResponseStream() override {
    return Answered() ? AutomationValue(answer_.body) : AutomationValue();
  }

  Text GetResponseHeader(const Text& name) override {
    if (!Answered()) return {};
    const auto line = FindHeader(name);
    if (!line) Fail();
    return line ? HeaderValue(name) : Text();
  }

  Text GetAllResponseHeaders() override {
    if (!Answered()) return {};
    Text joined;
    for (const std::string& line : answer_.headerLines) {
      if (!joined.empty()) joined += "\r\n";
      joined += line;
    }
    return joined;
  }

  AutomationValue GetOption(int index) override {
    ClearCallError();
    switch (index) {
      case kUserAgent:
        return settings_.userAgent;
      case kUrl:
        return UrlOption();
      case kEnableRedirects:
        return settings_.followRedirects;
      case kHttpsToHttpRedirects:
        return settings_.httpsToHttpRedirects;
      case kMaxRedirects:
        return settings_.maxRedirects;
      case kMaxResponseHeaderSize:
        return static_cast<std::int32_t>(settings_.maxHeaderBytes);
      case kEnableHttp11:
        return settings_.http11;
    }
    SetCallError(CallError::kInvalidArgumentValue);
    return {};
  }

  void SetOption(int index, const AutomationValue& value) override {
    ClearCallError();
    if (index == kUserAgent) return SetUserAgent(value);
    const std::optional<int> number = AsInteger(value);
    if (!number) return SetCallError(CallError::kTypeMismatch);
    switch (index) {
      case kEnableRedirects:
        return void(settings_.followRedirects = *number != 0);
      case kHttpsToHttpRedirects:
        return void(settings_.httpsToHttpRedirects = *number != 0);
      case kEnableHttp11:
        return void(settings_.http11 = *number != 0);
      case kMaxRedirects:
        if (*number < 0) return Fail();
        return void(settings_.maxRedirects = *number);
      case kMaxResponseHeaderSize:
        if (*number <= 0 || *number > kLargestHeaderLimit) return Fail();
        return void(settings_.maxHeaderBytes = static_cast<std::size_t>(*number));
    }
    SetCallError(CallError::kInvalidArgumentValue);
  }

  void SetMaxResponseBodySize(std::size_t bytes) override {
    ClearCallError();
    settings_.maxBodyBytes = bytes;
  }

  void AcceptCompressedAnswers() override {
    ClearCallError();
    settings_.acceptCompressed = true;
  }

  void SetProxy(int setting, const Text& server, const Text& bypass) override {
    if (setting == kProxyNamed && server.empty()) return Fail();
    switch (setting) {
      case kProxyDefault:
        settings_.proxyMode = ProxyMode::kSystem;
        break;
      case kProxyDirect:
        settings_.proxyMode = ProxyMode::kDirect;
        break;
      case kProxyNamed:
        settings_.proxyMode = ProxyMode::kNamed;
        break;
      default:
        return Fail();
    }
    settings_.proxy = setting == kProxyNamed ? server : Text();
    settings_.proxyBypass = setting == kProxyNamed ? bypass : Text();
    ClearCallError();
  }

  // Applies to the request opened last, as on the platform.
  void SetCredentials(const Text& user, const Text& password, int target) override {
    if (CurrentStage() != Stage::kOpened || target < 0 || target > kLogonForProxy) return Fail();
    auto& logon = target == kLogonForProxy ? request_.proxyLogon : request_.serverLogon;
    logon = HttpLogon{user, password};
    ClearCallError();
  }

  void SetTimeouts(int resolveMs, int connectMs, int sendMs, int receiveMs) override {
    settings_.timeouts = HttpTimeouts{resolveMs, connectMs, sendMs, receiveMs};
    ClearCallError();
  }

  // Named as the platform's engine names one (HttpExchange::clientCertificate).
  void SetClientCertificate(const Text& name) override {
    settings_.clientCertificate = name;
    ClearCallError();
  }

  void SetAutoLogonPolicy(int policy) override {
    if (policy < kAutoLogonAlways || policy > kAutoLogonNever) return Fail();
    settings_.autoLogon = static_cast<AutoLogon>(policy);
    ClearCallError();
  }

 private:
  enum class Stage { kCreated, kOpened, kSending, kAnswered, kFailed };

  // What one Open starts and Send carries out.
  struct Request {
    std::string method;
    std::string url;
    bool async = false;
    std::vector<std::pair<std::string, std::string>> headers;
    std::optional<HttpLogon> serverLogon;
    std::optional<HttpLogon> proxyLogon;
  };

  // What stays from request to request.
  struct Settings {
    std::string userAgent;
    HttpTimeouts timeouts;
    ProxyMode proxyMode = ProxyMode::kSystem;
    std::string proxy;
    std::string proxyBypass;
    std::string clientCertificate;
    // The user's own logon only where the caller asks for it.
    AutoLogon autoLogon = AutoLogon::kNever;
    bool followRedirects = true;
    bool httpsToHttpRedirects = false;
    std::int32_t maxRedirects = 10;
    std::size_t maxHeaderBytes = 64 * 1024;
    std::size_t maxBodyBytes = std::size_t{64} << 20;
    bool http11 = true;
    bool acceptCompressed = false;
  };

  void SendBody(std::optional<Bytes> body, bool isText) {
    if (CurrentStage() != Stage::kOpened) return Fail();
    JoinWorker();
    HttpExchange exchange = Exchange(std::move(body), isText);
    {
      std::lock_guard guard(mutex_);
      stage_ = Stage::kSending;
      answer_ = {};
    }
    abort_ = false;
    try {
      worker_ = std::thread([this, exchange = std::move(exchange)] { Transfer(exchange); });
    } catch (const std::system_error&) {
      SetStage(Stage::kFailed);
      return Fail();
    }
    if (request_.async) return ClearCallError();
    WaitForResponse(-1);
  }

  HttpExchange Exchange(std::optional<Bytes> body, bool isText) const {
    HttpExchange exchange;
    exchange.method = request_.method;
    exchange.url = request_.url;
    for (const auto& [name, value] : request_.headers)
      exchange.headers.push_back(name + ": " + value);
    const bool typed = std::any_of(
        request_.headers.begin(), request_.headers.end(),
        [](const auto& header) { return EqualsIgnoringAsciiCase(header.first, "Content-Type"); });
    if (isText && !typed) exchange.headers.emplace_back(kTextContentType);
    exchange.body = std::move(body);
    exchange.userAgent = settings_.userAgent;
    exchange.serverLogon = request_.serverLogon;
    exchange.proxyLogon = request_.proxyLogon;
    exchange.autoLogon = settings_.autoLogon;
    exchange.proxyMode = settings_.proxyMode;
    exchange.proxy = settings_.proxy;
    exchange.proxyBypass = settings_.proxyBypass;
    exchange.clientCertificate = settings_.clientCertificate;
    exchange.timeouts = settings_.timeouts;
    exchange.followRedirects = settings_.followRedirects;
    exchange.httpsToHttpRedirects = settings_.httpsToHttpRedirects;
    exchange.maxRedirects = settings_.maxRedirects;
    exchange.http11 = settings_.http11;
    exchange.maxHeaderBytes = settings_.maxHeaderBytes;
    exchange.maxBodyBytes = settings_.maxBodyBytes;
    exchange.acceptCompressed = settings_.acceptCompressed;
    return exchange;
  }

  // The worker's body; RunHttpExchange never throws, and neither does what follows.
  void Transfer(const HttpExchange& exchange) {
    HttpAnswer answer = RunHttpExchange(exchange, abort_);
    {
      std::lock_guard guard(mutex_);
      if (stage_ != Stage::kSending) return;
      stage_ = answer.complete ? Stage::kAnswered : Stage::kFailed;
      answer_ = std::move(answer);
    }
    answered_.notify_all();
  }

  void StopTransfer() {
    abort_ = true;
    JoinWorker();
  }

  void JoinWorker() {
    if (worker_.joinable()) worker_.join();
  }

  Stage CurrentStage() {
    std::lock_guard guard(mutex_);
    return stage_;
  }

  void SetStage(Stage stage) {
    std::lock_guard guard(mutex_);
    stage_ = stage;
    if (stage != Stage::kAnswered) answer_ = {};
  }

  // The answer is only read once complete, and the worker writes it no more after that.
  bool Answered() {
    if (CurrentStage() != Stage::kAnswered) {
      Fail();
      return false;
    }
    ClearCallError();
    return true;
  }

  std::optional<std::string_view> FindHeader(std::string_view name) const {
    for (const std::string& line : answer_.headerLines) {
      const std::size_t colon = line.find(':');
      if (colon != std::string::npos &&
          EqualsIgnoringAsciiCase(std::string_view(line).substr(0, colon), name)) {
        return std::string_view(line).substr(colon + 1);
      }
    }
    return std::nullopt;
  }

  // The first header of that name, without the blanks around its value.
  Text HeaderValue(std::string_view name) const {
    return Text(TrimAsciiBlanks(FindHeader(name).value_or(std::string_view())));
  }

  AutomationValue UrlOption() {
    const Stage stage = CurrentStage();
    if (stage == Stage::kCreated) {
      Fail();
      return {};
    }
    return stage == Stage::kAnswered ? answer_.finalUrl : request_.url;
  }

  void SetUserAgent(const AutomationValue& value) {
    const auto* text = std::get_if<Text>(&value);
    if (text == nullptr) return SetCallError(CallError::kTypeMismatch);
    if (!IsHeaderValue(*text)) return Fail();
    settings_.userAgent = *text;
  }

  Request request_;
  Settings settings_;
  std::mutex mutex_;
  std::condition_variable answered_;
  Stage stage_ = Stage::kCreated;  // guarded by mutex_
  HttpAnswer answer_;              // guarded by mutex_ until the stage is kAnswered
  std::atomic<bool> abort_{false};
  std::thread worker_;
};

}  // namespace

std::shared_ptr<HttpComponent> CreateExchangeHttpComponent() {
  try {
    return std::make_shared<ExchangeHttpComponent>();
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

}  // namespace vardelle

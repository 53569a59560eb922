#include "app/global_ping/globalping_client.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <nlohmann/json.hpp>
#include <thread>

#include "app/global_ping/globalping_target.h"
#include "support/call_error.h"
#include "support/http/http_request.h"
#include "support/text/text_codec.h"

namespace vardelle {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kFastestPolling{500};
// A rate-limit answer without a usable retry time is tried again after this long.
constexpr milliseconds kDefaultRateLimitWait{5000};
constexpr milliseconds kLongestExchange{30000};
// The service's budget renews every hour, so no honest wait lies further off; a larger one
// is cut to it before it is turned into a time (9223372036854775 s would overflow).
constexpr long long kLongestResetSeconds = 3600;
// Says who asks, as the service asks of its clients.
constexpr char kUserAgent[] = "Vardelle/" VARDELLE_VERSION " (+https://vardelle.github.io/)";
constexpr size_t kLongestId = 64;
constexpr int kCreated = 202;
constexpr int kOk = 200;
constexpr int kUnauthorized = 401;
constexpr int kTooManyRequests = 429;
constexpr int kUserAgentOption = 0;  // the request object's user agent text
// Past these an answer is refused unparsed, and inflating a compressed one stops at the
// byte limit. The demo world's stand-in answers 5 probes of 16 pings in 7 KiB, 300 values,
// 6 deep; the service's own answers for the program's 10 probes are some tens of KiB.
constexpr std::size_t kLargestAnswerBytes = std::size_t{8} << 20;
constexpr std::size_t kMostAnswerValues = 200000;
constexpr int kDeepestAnswer = 64;
constexpr char kTooLarge[] = "应答过大";

struct Answer {
  int status = 0;  // 0: no answer at all
  std::string body;
  std::string retryAfter;
  BudgetReport budget;
  std::string networkError;
  bool tooLarge = false;
};

bool IsAsciiLetterOrDigit(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Whether a JSON text stays within the answer's limits: containers nested at most
// kDeepestAnswer deep, at most kMostAnswerValues values (about one per comma and container).
// A quick pass over the bytes, so that the parser never builds what is refused.
bool IsModestJson(std::string_view text) {
  std::size_t values = 1;
  int depth = 0;
  bool inString = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      if (c == '\\') ++i;
      inString = c != '"';
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      ++values;
      if (++depth > kDeepestAnswer) return false;
    } else if (c == ']' || c == '}') {
      --depth;
    } else if (c == ',') {
      ++values;
    }
    if (values > kMostAnswerValues) return false;
  }
  return true;
}

// Ids go into addresses, so only what the API's ids are made of is accepted.
bool IsMeasurementId(const std::string& id) {
  return !id.empty() && id.size() <= kLongestId &&
         std::all_of(id.begin(), id.end(), IsAsciiLetterOrDigit);
}

std::optional<long long> WholeNumber(const std::string& text) {
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
  return value;
}

std::optional<int> Count(const std::string& text) {
  const std::optional<long long> value = WholeNumber(text);
  if (!value || *value > std::numeric_limits<int>::max()) return std::nullopt;
  return static_cast<int>(*value);
}

milliseconds RetryWait(const Answer& answer) {
  if (const std::optional<long long> seconds = WholeNumber(answer.retryAfter)) {
    return std::max(milliseconds(std::min(*seconds, kLongestResetSeconds) * 1000), kFastestPolling);
  }
  return kDefaultRateLimitWait;
}

std::string Seconds(milliseconds duration) { return std::to_string((duration.count() + 999) / 1000); }

int Milliseconds(milliseconds duration) {
  return static_cast<int>(std::clamp(duration, milliseconds(1), kLongestExchange).count());
}

std::string StatusCode(const Answer& answer) { return "HTTP " + std::to_string(answer.status); }

// "HTTP 503" or the API's own reason for an error answer.
std::string AnswerFailure(const Answer& answer) {
  if (answer.tooLarge) return kTooLarge;
  if (answer.status == 0) return "网络错误: " + answer.networkError;
  const std::string reason = ReadApiErrorMessage(answer.body);
  return reason.empty() ? StatusCode(answer) : StatusCode(answer) + ": " + reason;
}

// The hour's budget is spent: when it renews, and the service's own words.
std::string BudgetFailure(const Answer& answer) {
  std::optional<std::chrono::system_clock::time_point> renewal;
  if (answer.budget.resetSeconds) {
    renewal = std::chrono::system_clock::now() +
              std::chrono::seconds(std::min(*answer.budget.resetSeconds, kLongestResetSeconds));
  }
  const std::string reason = ReadApiErrorMessage(answer.body);
  return BudgetExhaustedText(renewal) + " (" + (reason.empty() ? StatusCode(answer) : reason) + ")";
}

std::string TokenFailure(const GlobalpingAccess& access) {
  if (access.token.empty()) return "HTTP 401: 服务拒绝了匿名请求";
  return "令牌被拒绝 (HTTP 401)：请检查 settings.ini [sites] 的 globalpingToken、"
         "--globalping-token 或 VARDELLE_GLOBALPING_TOKEN";
}

// Worth asking again: the service or a proxy before it stumbled, or the network did. The
// measurement itself runs on and is kept for days.
// An answer too large would be as large again.
bool IsHiccup(const Answer& answer) {
  return !answer.tooLarge && (answer.status == 0 || answer.status >= 500);
}

BudgetReport BudgetHeaders(HttpRequest& request) {
  BudgetReport report;
  report.limit = Count(request.GetHeader("X-RateLimit-Limit"));
  report.remaining = Count(request.GetHeader("X-RateLimit-Remaining"));
  report.resetSeconds = WholeNumber(request.GetHeader("X-RateLimit-Reset"));
  report.cost = Count(request.GetHeader("X-Request-Cost"));
  return report;
}

Answer Exchange(const GlobalpingAccess& access, const char* method, const std::string& url,
                const std::optional<std::string>& body, milliseconds timeLimit) {
  HttpRequest request;
  const int timeout = Milliseconds(timeLimit);
  request.SetTimeoutValues(timeout, timeout, timeout, timeout);
  std::string address = url;
  request.OpenRequest(method, address);
  request.AccessOption(kUserAgentOption, std::nullopt, Text(kUserAgent));
  request.AcceptCompressedAnswers();
  request.SetMaxResponseBodySize(kLargestAnswerBytes);
  request.AddRequestHeader("Accept", "application/json");
  if (!access.token.empty()) request.AddRequestHeader("Authorization", "Bearer " + access.token);
  if (body) request.AddRequestHeader("Content-Type", "application/json");
  // The body is UTF-8 already; as text it would be converted from GBK once more.
  request.SendBytes(body ? std::optional<Bytes>(Bytes(body->begin(), body->end())) : std::nullopt);
  const int sent = LastCallErrorCode();
  const Text sendError = request.LastCallError();
  Answer answer;
  answer.status = request.GetStatus();
  if (answer.status == 0) {
    answer.tooLarge = sent == static_cast<int>(CallError::kAnswerTooLarge);
    answer.networkError = sendError;
    return answer;
  }
  const Bytes bytes = request.GetResponseBody();
  answer.body.assign(bytes.begin(), bytes.end());
  if (!IsModestJson(answer.body)) {
    answer.tooLarge = true;
    answer.body.clear();
  }
  answer.retryAfter = request.GetHeader("Retry-After");
  answer.budget = BudgetHeaders(request);
  return answer;
}

class MeasurementSession {
 public:
  MeasurementSession(const GlobalpingAccess& access, const ClientLimits& limits,
                     const MeasurementProgress& progress)
      : access_(access),
        limits_(limits),
        progress_(progress),
        deadline_(Clock::now() + limits.timeLimit) {}

  MeasurementOutcome Run(const MeasurementOrder& order) {
    const std::string problem = GlobalpingTargetProblem(order.target, access_.privateTargetsMeasured);
    if (!problem.empty()) {
      TellCreated({});
      Fail(problem);
      return std::move(outcome_);
    }
    Tell("排队中");
    const Answer created = *Ask("POST", access_.baseUrl + "/v1/measurements",
                                MeasurementRequestBody(order));
    TellCreated(created.budget);
    if (created.tooLarge) {
      Fail(kTooLarge);
    } else if (created.status == kCreated) {
      TakeCreated(created);
    } else if (created.status == kTooManyRequests) {
      Fail(BudgetFailure(created));
    } else if (created.status == kUnauthorized) {
      Fail(TokenFailure(access_));
    } else {
      Fail(AnswerFailure(created));
    }
    return std::move(outcome_);
  }

 private:
  void TakeCreated(const Answer& created) {
    const std::optional<Measurement> measurement = ReadCreatedMeasurement(created.body);
    if (!measurement || !IsMeasurementId(measurement->id)) return Fail("应答格式错误");
    outcome_.measurement = *measurement;
    Poll();
  }

  // The measurement's own address is built from its id rather than taken from the Location
  // header, so a hostile answer cannot send the polls elsewhere. Hiccups are asked past,
  // with the same spacing, until the time limit.
  void Poll() {
    const std::string url = access_.baseUrl + "/v1/measurements/" + outcome_.measurement.id;
    std::optional<Answer> hiccup;
    while (!IsFinal(outcome_.measurement)) {
      const Clock::time_point next = lastAnswer_ + std::max(limits_.pollInterval, kFastestPolling);
      if (next >= deadline_) return TimeOut(hiccup);
      std::this_thread::sleep_until(next);
      const std::optional<Answer> answer = AskPastRateLimit(url);
      if (!answer) return;
      if (IsHiccup(*answer)) {
        hiccup = answer;
        Tell("服务暂时无应答 (" + (answer->status ? StatusCode(*answer) : "网络错误") + ")，重试中");
        continue;
      }
      if (answer->tooLarge || answer->status != kOk) return Fail(AnswerFailure(*answer));
      std::optional<Measurement> read = ReadMeasurement(answer->body);
      if (!read || read->id != outcome_.measurement.id) return Fail("应答格式错误");
      hiccup.reset();
      outcome_.measurement = std::move(*read);
      if (progress_.partial) progress_.partial(outcome_.measurement);
    }
  }

  // nullopt when the time or the request budget ran out first; the failure is set then.
  std::optional<Answer> AskPastRateLimit(const std::string& url) {
    while (true) {
      std::optional<Answer> answer = Ask("GET", url, std::nullopt);
      if (!answer || answer->status != kTooManyRequests) return answer;
      const milliseconds wait = RetryWait(*answer);
      if (Clock::now() + wait >= deadline_) {
        Fail("请求受限 (HTTP 429)，等待超过时间限制");
        return std::nullopt;
      }
      Tell("请求受限，" + Seconds(wait) + " 秒后重试");
      std::this_thread::sleep_for(wait);
    }
  }

  // nullopt when the session has asked all it may; the failure is set then.
  std::optional<Answer> Ask(const char* method, const std::string& url,
                            const std::optional<std::string>& body) {
    if (requests_ >= limits_.mostRequests) {
      Fail("请求次数超过上限");
      return std::nullopt;
    }
    ++requests_;
    Answer answer = Exchange(access_, method, url, body,
                             std::chrono::duration_cast<milliseconds>(deadline_ - Clock::now()));
    lastAnswer_ = Clock::now();
    return answer;
  }

  void TimeOut(const std::optional<Answer>& hiccup) {
    std::string text = "超时: " + Seconds(limits_.timeLimit) + " 秒内未完成 (" +
                       std::to_string(FinishedProbeCount(outcome_.measurement)) + "/" +
                       std::to_string(outcome_.measurement.probesCount) + " 探针)";
    if (hiccup) text += "，最后一次应答: " + AnswerFailure(*hiccup);
    Fail(text);
  }

  void Fail(const std::string& failure) { outcome_.failure = failure; }

  void Tell(const std::string& text) const {
    if (progress_.waiting) progress_.waiting(text);
  }

  void TellCreated(const BudgetReport& report) const {
    if (progress_.created) progress_.created(report);
  }

  const GlobalpingAccess& access_;
  const ClientLimits& limits_;
  const MeasurementProgress& progress_;
  const Clock::time_point deadline_;
  // Polls are spaced from the end of the last exchange, so the service never sees two
  // requests closer than the interval, however long the network took.
  Clock::time_point lastAnswer_ = Clock::now();
  int requests_ = 0;
  MeasurementOutcome outcome_;
};

}  // namespace

std::string MeasurementRequestBody(const MeasurementOrder& order) {
  nlohmann::json body = {
      {"type", "ping"},
      {"target", GbkToUtf8(order.target)},
      {"locations", nlohmann::json::array({{{"magic", order.magic}}})},
      {"limit", order.probeLimit},
      {"measurementOptions", {{"packets", order.packets}}},
  };
  if (order.inProgressUpdates) body["inProgressUpdates"] = true;
  return body.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string MeasurementResultsPage(const std::string& id) {
  return IsMeasurementId(id) ? "https://globalping.io/?measurement=" + id : std::string();
}

MeasurementOutcome RunGlobalpingMeasurement(const GlobalpingAccess& access,
                                            const MeasurementOrder& order,
                                            const ClientLimits& limits,
                                            const MeasurementProgress& progress) {
  try {
    return MeasurementSession(access, limits, progress).Run(order);
  } catch (const std::exception&) {
    // Out of memory or a refused thread resource: the row says so instead of the thread dying.
    return {{}, "内部错误"};
  }
}

std::optional<BudgetReport> AskHourlyBudget(const GlobalpingAccess& access,
                                            milliseconds timeLimit) {
  try {
    const Answer answer =
        Exchange(access, "GET", access.baseUrl + "/v1/limits", std::nullopt, timeLimit);
    if (answer.tooLarge || answer.status != kOk) return std::nullopt;
    return ReadLimitsAnswer(answer.body);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace vardelle

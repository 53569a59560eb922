#include "app/global_ping/globalping_client.h"

#include <algorithm>
#include <charconv>
#include <nlohmann/json.hpp>
#include <optional>
#include <thread>

#include "support/http/http_request.h"
#include "support/text/text_codec.h"

namespace vardelle {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr milliseconds kFastestPolling{500};
// A rate-limit answer without a usable reset time is tried again after this long.
constexpr milliseconds kDefaultRateLimitWait{5000};
constexpr milliseconds kLongestExchange{30000};
// The service's budget renews every hour, so no honest reset lies further off; a larger one
// is cut to it before it is turned into a time (9223372036854775 s would overflow).
constexpr long long kLongestResetSeconds = 3600;
// Says who asks, as the service asks of its clients.
constexpr char kUserAgent[] =
    "Vardelle/" VARDELLE_VERSION " (+https://vardelle.github.io/)";
constexpr size_t kLongestId = 64;
constexpr int kTooManyRequests = 429;
constexpr int kUserAgentOption = 0;  // the request object's user agent text

struct Answer {
  int status = 0;  // 0: no answer at all
  std::string body;
  std::string rateLimitReset;  // X-RateLimit-Reset, seconds
  std::string retryAfter;
  std::string networkError;
};

bool IsIdCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '_';
}

// Ids go into addresses, so only the characters the API uses are accepted.
bool IsMeasurementId(const std::string& id) {
  return !id.empty() && id.size() <= kLongestId && std::all_of(id.begin(), id.end(), IsIdCharacter);
}

std::optional<long long> WholeSeconds(const std::string& text) {
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
  return value;
}

milliseconds RateLimitWait(const Answer& answer) {
  for (const std::string* header : {&answer.rateLimitReset, &answer.retryAfter}) {
    if (const std::optional<long long> seconds = WholeSeconds(*header)) {
      return std::max(milliseconds(std::min(*seconds, kLongestResetSeconds) * 1000),
                      kFastestPolling);
    }
  }
  return kDefaultRateLimitWait;
}

std::string Seconds(milliseconds duration) {
  return std::to_string((duration.count() + 999) / 1000);
}

int Milliseconds(milliseconds duration) {
  return static_cast<int>(std::clamp(duration, milliseconds(1), kLongestExchange).count());
}

// "HTTP 503" or the API's own message for an error answer.
std::string AnswerFailure(const Answer& answer) {
  if (answer.status == 0) return "网络错误: " + answer.networkError;
  const std::string message = ReadApiErrorMessage(answer.body);
  const std::string code = "HTTP " + std::to_string(answer.status);
  return message.empty() ? code : code + ": " + message;
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
    Tell("排队中");
    std::optional<Answer> created =
        AskPastRateLimit("POST", access_.baseUrl + "/v1/measurements", MeasurementRequestBody(order));
    if (!created) return std::move(outcome_);
    if (created->status != 202) {
      Fail(AnswerFailure(*created));
    } else if (const std::optional<Measurement> measurement = ReadCreatedMeasurement(created->body);
               !measurement || !IsMeasurementId(measurement->id)) {
      Fail("应答格式错误");
    } else {
      outcome_.measurement = *measurement;
      Poll();
    }
    return std::move(outcome_);
  }

 private:
  // The measurement's own address is built from its id rather than taken from the Location
  // header, so a hostile answer cannot send the polls elsewhere.
  void Poll() {
    const std::string url = access_.baseUrl + "/v1/measurements/" + outcome_.measurement.id;
    while (!IsFinal(outcome_.measurement)) {
      const Clock::time_point next = lastAnswer_ + std::max(limits_.pollInterval, kFastestPolling);
      if (next >= deadline_) return TimeOut();
      std::this_thread::sleep_until(next);
      const std::optional<Answer> answer = AskPastRateLimit("GET", url, std::nullopt);
      if (!answer) return;
      if (answer->status != 200) return Fail(AnswerFailure(*answer));
      std::optional<Measurement> read = ReadMeasurement(answer->body);
      if (!read || read->id != outcome_.measurement.id) return Fail("应答格式错误");
      outcome_.measurement = std::move(*read);
      if (progress_.partial) progress_.partial(outcome_.measurement);
    }
  }

  // nullopt when the time or the request budget ran out first; the failure is set then.
  std::optional<Answer> AskPastRateLimit(const char* method, const std::string& url,
                                         const std::optional<std::string>& body) {
    while (true) {
      if (requests_ >= limits_.mostRequests) {
        Fail("请求次数超过上限");
        return std::nullopt;
      }
      Answer answer = Ask(method, url, body);
      if (answer.status != kTooManyRequests) return answer;
      const milliseconds wait = RateLimitWait(answer);
      if (Clock::now() + wait >= deadline_) {
        Fail("请求受限 (HTTP 429)，等待超过时间限制");
        return std::nullopt;
      }
      Tell("请求受限，" + Seconds(wait) + " 秒后重试");
      std::this_thread::sleep_for(wait);
    }
  }

  Answer Ask(const char* method, const std::string& url, const std::optional<std::string>& body) {
    ++requests_;
    HttpRequest request;
    const int timeout =
        Milliseconds(std::chrono::duration_cast<milliseconds>(deadline_ - Clock::now()));
    request.SetTimeoutValues(timeout, timeout, timeout, timeout);
    std::string address = url;
    request.OpenRequest(method, address);
    request.AccessOption(kUserAgentOption, std::nullopt, Text(kUserAgent));
    request.AddRequestHeader("Accept", "application/json");
    if (!access_.token.empty()) request.AddRequestHeader("Authorization", "Bearer " + access_.token);
    if (body) request.AddRequestHeader("Content-Type", "application/json");
    // The body is UTF-8 already; as text it would be converted from GBK once more.
    request.SendBytes(body ? std::optional<Bytes>(Bytes(body->begin(), body->end())) : std::nullopt);
    lastAnswer_ = Clock::now();
    Answer answer;
    answer.status = request.GetStatus();
    if (answer.status == 0) {
      answer.networkError = request.LastCallError();
      return answer;
    }
    const Bytes bytes = request.GetResponseBody();
    answer.body.assign(bytes.begin(), bytes.end());
    answer.rateLimitReset = request.GetHeader("X-RateLimit-Reset");
    answer.retryAfter = request.GetHeader("Retry-After");
    return answer;
  }

  void TimeOut() {
    Fail("超时: " + Seconds(limits_.timeLimit) + " 秒内未完成 (" +
         std::to_string(FinishedProbeCount(outcome_.measurement)) + "/" +
         std::to_string(outcome_.measurement.probesCount) + " 探针)");
  }

  void Fail(const std::string& failure) { outcome_.failure = failure; }

  void Tell(const std::string& text) const {
    if (progress_.waiting) progress_.waiting(text);
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
  const nlohmann::json body = {
      {"type", "ping"},
      {"target", GbkToUtf8(order.target)},
      {"locations", nlohmann::json::array({{{"magic", order.magic}}})},
      {"limit", order.probeLimit},
      {"measurementOptions", {{"packets", order.packets}}},
  };
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

}  // namespace vardelle

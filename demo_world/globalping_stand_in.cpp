#include "demo_world/globalping_stand_in.h"

#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <utility>

#include "demo_world/stand_in_budget.h"
#include "demo_world/stand_in_probes.h"
#include "demo_world/stand_in_results.h"
#include "demo_world/stand_in_targets.h"
#include "demo_world/stand_in_text.h"
#include "demo_world/stand_in_validation.h"

namespace vardelle::demo::stand_in {
namespace {

// ---- Answers ----

// Exactly this: httplib compresses no other spelling of the JSON type.
constexpr char kJson[] = "application/json";
constexpr std::string_view kDocs = "https://globalping.io/docs/api.globalping.io";
// The routes' anchors in the documentation, which the API links from its errors.
constexpr std::string_view kCreateAnchor = "#post-/v1/measurements";
constexpr std::string_view kPollAnchor = "#get-/v1/measurements/-id-";
constexpr std::string_view kLimitsAnchor = "#get-/v1/limits";

// Indented as the API's JSON middleware writes every body but a measurement's.
void SendJson(httplib::Response& response, int status, const Json& body) {
  response.status = status;
  response.set_content(body.dump(2), kJson);
}

void SendError(httplib::Response& response, int status, std::string_view anchor,
               const std::string& type, const std::string& message, Json params = nullptr) {
  Json error = {{"type", type}, {"message", message}};
  if (!params.is_null()) error["params"] = std::move(params);
  const Json links = {{"documentation", std::string(kDocs).append(anchor)}};
  SendJson(response, status, {{"error", std::move(error)}, {"links", links}});
}

void SendUnauthorized(httplib::Response& response, std::string_view anchor) {
  SendError(response, 401, anchor, "unauthorized", "Unauthorized.");
}

// What a proxy in front of the service answers while the service is away.
void SendBadGateway(httplib::Response& response) {
  response.status = 502;
  response.set_content(
      "<html>\n<head><title>502 Bad Gateway</title></head>\n<body>\n"
      "<center><h1>502 Bad Gateway</h1></center>\n</body>\n</html>\n",
      "text/html");
}

// ---- Time and ids ----

// As JavaScript's toISOString writes it.
std::string Timestamp(std::chrono::system_clock::time_point at) {
  using namespace std::chrono;
  const auto ms = floor<milliseconds>(at);
  const auto day = floor<days>(ms);
  const year_month_day date{day};
  const hh_mm_ss time{ms - day};
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d.%03dZ", int{date.year()},
                unsigned{date.month()}, unsigned{date.day()},
                static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                static_cast<int>(time.seconds().count()),
                static_cast<int>(time.subseconds().count()));
  return text;
}

constexpr std::string_view kBase62 =
    "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

std::string Base62(std::uint64_t number) {
  std::string digits;
  do {
    digits.insert(digits.begin(), kBase62[number % kBase62.size()]);
    number /= kBase62.size();
  } while (number > 0);
  return digits;
}

// ---- The server ----

struct Caller {
  bool authenticated;
  std::string budgetKey;  // the token's user, else the address
};

struct Record {
  Json request;
  std::string target;  // without an IPv6 address's brackets
  Probes probes;
  int packets;
  std::string createdAt;
  int polls = 0;
  bool badGatewaySent = false;
};

class StandIn {
 public:
  explicit StandIn(StandInBehaviour behaviour)
      : behaviour_(std::move(behaviour)), random_(std::random_device()()) {}

  void Create(const httplib::Request& request, httplib::Response& response) {
    std::lock_guard guard(mutex_);
    const std::optional<Caller> caller = Identify(request);
    if (!caller) return SendUnauthorized(response, kCreateAnchor);
    const ParsedBody body = ParseBody(request);
    if (!body.failure.empty()) {
      return SendError(response, 400, kCreateAnchor, "api_error", body.failure);
    }
    const Rules rules{caller->authenticated ? kTokenMostTests : kAnonymousMostTests,
                      behaviour_.acceptPrivateTargets};
    if (const Verdict broken = CheckMeasurement(body.json, rules)) {
      return SendError(response, 400, kCreateAnchor, "validation_error",
                       "Parameter validation failed.", {{broken->path, broken->message}});
    }
    Run(*caller, body.json, request.get_header_value("Host"), response);
  }

  void Poll(const httplib::Request& request, httplib::Response& response) {
    std::lock_guard guard(mutex_);
    const std::string id = request.matches[1];
    const auto found = records_.find(id);
    if (found != records_.end() && behaviour_.badGatewayOnFirstPoll &&
        !found->second.badGatewaySent) {
      found->second.badGatewaySent = true;
      return SendBadGateway(response);
    }
    if (const std::optional<long long> wait = ChargePoll(request.remote_addr + ":" + id)) {
      const std::string waitText = std::to_string(*wait);
      response.set_header("Retry-After", waitText);
      return SendError(response, 429, kPollAnchor, "too_many_requests",
                       "Too many requests. Please retry in " + waitText +
                           (*wait == 1 ? " second." : " seconds."));
    }
    if (found == records_.end()) {
      return SendError(response, 404, kPollAnchor, "not_found",
                       "Couldn't find the requested measurement.");
    }
    response.set_content(MeasurementJson(found->first, found->second).dump(), kJson);
  }

  void Limits(const httplib::Request& request, httplib::Response& response) {
    std::lock_guard guard(mutex_);
    const std::optional<Caller> caller = Identify(request);
    if (!caller) return SendUnauthorized(response, kLimitsAnchor);
    const int budget = Budget(*caller);
    const Clock::time_point now = Clock::now();
    const RateWindow* window = budgets_.Find(caller->budgetKey, now);
    const Json create = {{"type", caller->authenticated ? "user" : "ip"},
                         {"limit", budget},
                         {"remaining", window ? Remaining(*window, budget) : budget},
                         {"reset", window ? RoundedSeconds(window->end - now) : 0}};
    Json body = {{"rateLimit", {{"measurements", {{"create", create}}}}}};
    if (caller->authenticated) body["credits"] = {{"remaining", 0}};
    SendJson(response, 200, body);
  }

 private:
  struct CreditsShortfall {
    double required;
    Clock::time_point at;
  };

  // None when an Authorization header names no accepted token.
  std::optional<Caller> Identify(const httplib::Request& request) const {
    const std::string authorization = request.get_header_value("Authorization");
    if (authorization.empty()) return Caller{false, request.remote_addr};
    if (behaviour_.acceptedToken.empty() || authorization != "Bearer " + behaviour_.acceptedToken) {
      return std::nullopt;
    }
    return Caller{true, "token"};
  }

  int Budget(const Caller& caller) const {
    return caller.authenticated ? behaviour_.tokenHourlyTests : behaviour_.anonymousHourlyTests;
  }

  void Run(const Caller& caller, const Json& body, const std::string& host,
           httplib::Response& response) {
    const Clock::time_point now = Clock::now();
    if (RefusedUpFront(caller, MostProbes(body), response, now)) return;
    Probes probes = FindProbes(body);
    if (probes.empty()) {
      return SendError(
          response, 422, kCreateAnchor, "no_probes_found",
          "No matching IPv" + std::to_string(IpVersionOf(body)) + " probes available.");
    }
    if (!Charge(caller, static_cast<int>(probes.size()), response, now)) return;
    const std::string target = body.at("target").get<std::string>();
    Record record{body, IpAddressIn(target).value_or(target), std::move(probes), PacketsOf(body),
                  Timestamp(std::chrono::system_clock::now())};
    const std::string id = NewId(caller.authenticated);
    response.set_header("Location", "http://" + host + "/v1/measurements/" + id);
    SendJson(response, 202, {{"id", id}, {"probesCount", record.probes.size()}});
    records_.emplace(id, std::move(record));
  }

  // An open window that cannot cover the most probes asked for refuses the creation before
  // any probe is looked for; with a token, only while a shortfall of credits is remembered.
  bool RefusedUpFront(const Caller& caller, std::optional<double> mostProbes,
                      httplib::Response& response, Clock::time_point now) {
    const RateWindow* window = budgets_.Find(caller.budgetKey, now);
    if (!mostProbes || !window) return false;
    const double shortfall = *mostProbes - Remaining(*window, Budget(caller));
    if (shortfall <= 0 || (caller.authenticated && !RecentlyShortOfCredits(shortfall, now))) {
      return false;
    }
    RefuseForBudget(caller, *window, Number(*mostProbes).dump(), response, now);
    return true;
  }

  // All the probes found or nothing: a charge the window cannot take leaves it as it was.
  bool Charge(const Caller& caller, int cost, httplib::Response& response, Clock::time_point now) {
    RateWindow& window = budgets_.Open(caller.budgetKey, kBudgetWindow, now);
    const int budget = Budget(caller);
    if (window.consumed + cost > budget) {
      const double required = std::min(window.consumed + cost - budget, cost);
      if (caller.authenticated && !RecentlyShortOfCredits(required, now)) {
        creditsShortfall_ = CreditsShortfall{required, now};
      }
      RefuseForBudget(caller, window, std::to_string(cost), response, now);
      return false;
    }
    window.consumed += cost;
    response.set_header("X-Request-Cost", std::to_string(cost));
    SetBudgetHeaders(window, budget, cost, response, now);
    return true;
  }

  bool RecentlyShortOfCredits(double required, Clock::time_point now) const {
    return creditsShortfall_ && now - creditsShortfall_->at < kShortfallMemory &&
           required >= creditsShortfall_->required;
  }

  // A token's user has no credits to pay for what the hour's tests do not cover.
  void RefuseForBudget(const Caller& caller, const RateWindow& window, const std::string& cost,
                       httplib::Response& response, Clock::time_point now) const {
    response.set_header("X-Request-Cost", cost);
    SetBudgetHeaders(window, Budget(caller), 0, response, now);
    if (!caller.authenticated) {
      return SendError(response, 429, kCreateAnchor, "rate_limit_exceeded",
                       "This measurement exceeds the remaining hourly rate limit for your IP "
                       "address.");
    }
    response.set_header("X-Credits-Consumed", "0");
    response.set_header("X-Credits-Remaining", "0");
    SendError(response, 429, kCreateAnchor, "insufficient_credits",
              "Not enough credits to run this measurement.");
  }

  static void SetBudgetHeaders(const RateWindow& window, int budget, int consumed,
                               httplib::Response& response, Clock::time_point now) {
    response.set_header("X-RateLimit-Reset", std::to_string(RoundedSeconds(window.end - now)));
    response.set_header("X-RateLimit-Limit", std::to_string(budget));
    response.set_header("X-RateLimit-Consumed", std::to_string(consumed));
    response.set_header("X-RateLimit-Remaining", std::to_string(Remaining(window, budget)));
  }

  // The wait before polls are taken again; none when this one is.
  std::optional<long long> ChargePoll(const std::string& key) {
    const Clock::time_point now = Clock::now();
    RateWindow& window = polls_.Open(key, kPollWindow, now);
    if (++window.consumed <= kPollsPerWindow) return std::nullopt;
    if (window.consumed == kPollsPerWindow + 1) window.end = now + kPollBlock;
    return SecondsUp(window.end - now);
  }

  Probes FindProbes(const Json& body) const {
    // The canned probes only ping.
    if (!IsPing(body)) return {};
    const Json locations = LocationsOf(body);
    if (locations.is_string()) return ProbesOf(locations.get<std::string>());
    Probes found = body.contains("limit") || locations.empty()
                       ? TakeEvenly(locations, Count(GlobalLimit(body)))
                       : TakeFromEach(locations);
    // As the API does, a lone magic that matches no probe is tried as a measurement's id.
    if (found.empty() && locations.size() == 1 && locations[0].contains("magic")) {
      return ProbesOf(locations[0]["magic"].get<std::string>());
    }
    return found;
  }

  Probes ProbesOf(const std::string& id) const {
    const auto found = records_.find(id);
    return found == records_.end() ? Probes() : found->second.probes;
  }

  // As the API's ids: version 2, 16 random characters, the storage's strategy and location,
  // the caller's tier (0 anonymous, 1 member), and the minute of creation.
  std::string NewId(bool authenticated) {
    const auto minute = std::chrono::duration_cast<std::chrono::minutes>(
        std::chrono::system_clock::now().time_since_epoch());
    std::string id;
    do {
      id = "2";
      for (int i = 0; i < 16; ++i) id += kBase62[random_() % kBase62.size()];
      id += authenticated ? "001" : "000";
      id += Base62(static_cast<std::uint64_t>(minute.count()));
    } while (records_.contains(id));
    return id;
  }

  // Each poll finishes one more probe, the last one only once the polls are used up.
  Json MeasurementJson(const std::string& id, Record& record) {
    const size_t count = record.probes.size();
    const bool finished =
        behaviour_.pollsBeforeFinished >= 0 && record.polls >= behaviour_.pollsBeforeFinished;
    const size_t done =
        finished ? count : std::min(static_cast<size_t>(record.polls) + 1, count - 1);
    ++record.polls;
    const PingShot shot{record.target, IpAddressIn(record.target).value_or(kNameAddress),
                        record.packets};
    Json results = Json::array();
    for (size_t i = 0; i < count; ++i) {
      results.push_back({{"probe", ProbeJson(*record.probes[i])},
                         {"result", ResultJson(*record.probes[i], i < done, shot)}});
    }
    Json measurement = {{"id", id},
                        {"type", "ping"},
                        {"status", finished ? "finished" : "in-progress"},
                        {"createdAt", record.createdAt},
                        {"updatedAt", Timestamp(std::chrono::system_clock::now())},
                        {"target", record.target},
                        {"probesCount", count}};
    for (const char* asked : {"timeout", "limit", "locations", "measurementOptions"}) {
      if (record.request.contains(asked)) measurement[asked] = record.request[asked];
    }
    measurement["results"] = std::move(results);
    return measurement;
  }

  const StandInBehaviour behaviour_;
  std::mutex mutex_;
  RateWindows budgets_;
  RateWindows polls_;
  std::optional<CreditsShortfall> creditsShortfall_;
  std::map<std::string, Record> records_;
  std::mt19937_64 random_;
};

}  // namespace
}  // namespace vardelle::demo::stand_in

namespace vardelle::demo {

void ServeGlobalpingStandIn(httplib::Server& http, StandInBehaviour behaviour) {
  using stand_in::StandIn;
  auto standIn = std::make_shared<StandIn>(std::move(behaviour));
  const auto answer =
      [standIn](void (StandIn::*handler)(const httplib::Request&, httplib::Response&)) {
        return [standIn, handler](const httplib::Request& request, httplib::Response& response) {
          (*standIn.*handler)(request, response);
        };
      };
  http.Post("/v1/measurements", answer(&StandIn::Create));
  http.Get(R"(/v1/measurements/([a-zA-Z0-9]+))", answer(&StandIn::Poll));
  // Other ids match no route of the API: its generic 404.
  http.Get(R"(/v1/measurements/[^/]+)", [](const httplib::Request&, httplib::Response& response) {
    stand_in::SendError(response, 404, "", "not_found", "Not Found.");
  });
  http.Get("/v1/limits", answer(&StandIn::Limits));
}

}  // namespace vardelle::demo

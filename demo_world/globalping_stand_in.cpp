#include "demo_world/globalping_stand_in.h"

#include <httplib.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <span>
#include <string>
#include <vector>

namespace vardelle::demo {
namespace {

using nlohmann::json;

// The API speaks UTF-8, while this folder's narrow literals are GBK: text goes in u8"".
struct CannedProbe {
  std::u8string_view city;
  const char* country;
  int asn;
  std::u8string_view network;
  double min, avg, max, loss;
  bool fails;
};

constexpr CannedProbe kChina[] = {
    {u8"Beijing", "CN", 4134, u8"China Telecom", 8.1, 9.4, 11.0, 0, false},
    {u8"Shanghai", "CN", 4812, u8"China Telecom (Group)", 22.5, 24.0, 27.3, 0, false},
    {u8"Chengdu", "CN", 9808, u8"中国移动", 31.2, 35.8, 41.9, 25, false},
    {u8"Guangzhou", "CN", 4837, u8"China Unicom", 0, 0, 0, 0, true},
};
constexpr CannedProbe kAsia[] = {
    {u8"Tokyo", "JP", 2516, u8"KDDI", 61.0, 63.5, 70.2, 0, false},
    {u8"Singapore", "SG", 16509, u8"Amazon.com, Inc.", 70.4, 72.1, 75.0, 0, false},
    {u8"Seoul", "KR", 4766, u8"Korea Telecom", 0, 0, 0, 0, true},
};
constexpr CannedProbe kWorld[] = {
    {u8"Frankfurt", "DE", 24940, u8"Hetzner Online GmbH", 201.0, 205.3, 214.8, 0, false},
    {u8"Ashburn", "US", 14618, u8"Amazon.com, Inc.", 180.2, 184.0, 190.1, 0, false},
    {u8"Zürich", "CH", 3303, u8"Swisscom", 220.5, 230.0, 251.7, 12.5, false},
    {u8"Sydney", "AU", 16276, u8"OVH SAS", 0, 0, 0, 0, true},
};

std::string Utf8(std::u8string_view text) {
  return {reinterpret_cast<const char*>(text.data()), text.size()};
}

std::span<const CannedProbe> ProbesOf(std::string magic) {
  std::transform(magic.begin(), magic.end(), magic.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (magic == "china" || magic == "cn") return kChina;
  if (magic == "asia" || magic == "as") return kAsia;
  if (magic == "world") return kWorld;
  return {};
}

json ProbeJson(const CannedProbe& probe) {
  return {{"continent", "AS"}, {"region", "Eastern Asia"}, {"country", probe.country},
          {"state", nullptr},  {"city", Utf8(probe.city)},  {"asn", probe.asn},
          {"network", Utf8(probe.network)}, {"latitude", 0.0}, {"longitude", 0.0},
          {"tags", json::array()}, {"resolvers", json::array({"private"})}};
}

json ResultJson(const CannedProbe& probe, bool done, const std::string& target) {
  if (!done) return {{"status", "in-progress"}, {"rawOutput", ""}};
  if (probe.fails) return {{"status", "failed"}, {"rawOutput", "ping: unknown host " + target}};
  return {{"status", "finished"},
          {"rawOutput", "PING " + target},
          {"resolvedAddress", "127.0.0.1"},
          {"resolvedHostname", target},
          {"timings", json::array({{{"ttl", 55}, {"rtt", probe.avg}}})},
          {"stats",
           {{"min", probe.min}, {"avg", probe.avg}, {"max", probe.max}, {"total", 4},
            {"rcv", 4 - static_cast<int>(probe.loss / 25)}, {"drop", static_cast<int>(probe.loss / 25)},
            {"loss", probe.loss}}}};
}

struct Record {
  std::string target;
  std::span<const CannedProbe> probes;
  json options;
  int polls = 0;
};

void SendError(httplib::Response& response, int status, const char* type, const std::string& message,
               const json& params = nullptr) {
  json error = {{"type", type}, {"message", message}};
  if (!params.is_null()) error["params"] = params;
  response.status = status;
  response.set_content(json{{"error", error}}.dump(), "application/json; charset=utf-8");
}

bool IsIntegerIn(const json& value, int least, int most) {
  return value.is_number_integer() && value.get<long long>() >= least && value.get<long long>() <= most;
}

// The first rule the body breaks, as the API's "params" names it; "" for a valid body.
std::pair<std::string, std::string> BrokenRule(const json& body) {
  if (!body.is_object()) return {"body", "\"value\" must be of type object"};
  if (body.value("type", json()) != "ping") return {"type", "\"type\" must be [ping]"};
  if (!body.contains("target") || !body["target"].is_string() || body["target"].get<std::string>().empty())
    return {"target", "\"target\" is required"};
  if (body.contains("limit") && !IsIntegerIn(body["limit"], 1, 500))
    return {"limit", "\"limit\" must be less than or equal to 500"};
  const json options = body.value("measurementOptions", json::object());
  if (!options.is_object() || (options.contains("packets") && !IsIntegerIn(options["packets"], 1, 16)))
    return {"measurementOptions.packets", "\"measurementOptions.packets\" must be less than or equal to 16"};
  const json locations = body.value("locations", json::array());
  if (!locations.is_array()) return {"locations", "\"locations\" must be an array"};
  for (const json& location : locations) {
    if (!location.is_object() || !location.value("magic", json()).is_string())
      return {"locations[0]", "\"locations[0]\" must contain a magic string"};
  }
  return {};
}

class StandIn {
 public:
  explicit StandIn(StandInBehaviour behaviour) : behaviour_(behaviour) {}

  void Create(const httplib::Request& request, httplib::Response& response) {
    std::lock_guard guard(mutex_);
    if (!rateLimitUsed_ && behaviour_.rateLimitResetSeconds > 0) {
      rateLimitUsed_ = true;
      return RefuseForRate(response);
    }
    const json body = json::parse(request.body, nullptr, false);
    if (body.is_discarded()) return SendError(response, 400, "invalid_json", "Invalid JSON");
    if (const auto [field, rule] = BrokenRule(body); !field.empty()) {
      return SendError(response, 400, "validation_error", "Validation Failed", {{field, rule}});
    }
    const json locations = body.value("locations", json::array({{{"magic", "world"}}}));
    const std::span<const CannedProbe> probes = locations.empty() ? kWorld : ProbesOf(locations[0]["magic"].get<std::string>());
    if (probes.empty()) return SendError(response, 422, "no_probes_found", "No suitable probes found");
    const size_t limit = static_cast<size_t>(body.value("limit", 1));
    Record record{body["target"].get<std::string>(), probes.first(std::min(limit, probes.size())),
                  body.value("measurementOptions", json::object()), 0};
    const std::string id = "demo" + std::to_string(1000000 + records_.size());
    records_[id] = record;
    response.status = 202;
    response.set_header("Location",
                        "http://" + request.get_header_value("Host") + "/v1/measurements/" + id);
    response.set_content(json{{"id", id}, {"probesCount", record.probes.size()}}.dump(),
                         "application/json; charset=utf-8");
  }

  void Get(const httplib::Request& request, httplib::Response& response) {
    std::lock_guard guard(mutex_);
    const auto found = records_.find(request.matches[1]);
    if (found == records_.end()) {
      response.status = 404;
      return response.set_content("Couldn't find the requested measurement.", "text/plain");
    }
    response.set_content(MeasurementJson(found->first, found->second).dump(),
                         "application/json; charset=utf-8");
  }

 private:
  void RefuseForRate(httplib::Response& response) {
    const std::string reset = std::to_string(behaviour_.rateLimitResetSeconds);
    response.set_header("X-RateLimit-Limit", "250");
    response.set_header("X-RateLimit-Remaining", "0");
    response.set_header("X-RateLimit-Reset", reset);
    response.set_header("Retry-After", reset);
    SendError(response, 429, "rate_limit_exceeded", "API rate limit exceeded.");
  }

  // Each poll finishes one more probe, the last one only once the polls are used up.
  json MeasurementJson(const std::string& id, Record& record) {
    const bool finished =
        behaviour_.pollsBeforeFinished >= 0 && record.polls >= behaviour_.pollsBeforeFinished;
    const size_t done = finished ? record.probes.size()
                                 : std::min<size_t>(static_cast<size_t>(record.polls) + 1,
                                                    record.probes.size() - 1);
    ++record.polls;
    json results = json::array();
    for (size_t i = 0; i < record.probes.size(); ++i) {
      results.push_back({{"probe", ProbeJson(record.probes[i])},
                         {"result", ResultJson(record.probes[i], i < done, record.target)}});
    }
    return {{"id", id}, {"type", "ping"}, {"status", finished ? "finished" : "in-progress"},
            {"createdAt", "2024-01-01T00:00:00.000Z"}, {"updatedAt", "2024-01-01T00:00:01.000Z"},
            {"target", record.target}, {"probesCount", record.probes.size()},
            {"measurementOptions", record.options}, {"results", results}};
  }

  StandInBehaviour behaviour_;
  std::mutex mutex_;
  bool rateLimitUsed_ = false;
  std::map<std::string, Record> records_;
};

}  // namespace

void ServeGlobalpingStandIn(httplib::Server& http, StandInBehaviour behaviour) {
  auto standIn = std::make_shared<StandIn>(behaviour);
  http.Post("/v1/measurements", [standIn](const httplib::Request& request, httplib::Response& response) {
    standIn->Create(request, response);
  });
  http.Get(R"(/v1/measurements/([A-Za-z0-9_-]+))",
           [standIn](const httplib::Request& request, httplib::Response& response) {
             standIn->Get(request, response);
           });
}

}  // namespace vardelle::demo

// The Globalping stand-in through an httplib client on loopback: the API's texts for broken
// bodies, the hourly budget charged per probe found, polls to the end, and the answers a
// client meets on the way.
#include "demo_world/globalping_stand_in.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <cstdint>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "support/json_documents/json_documents.h"
#include "testing/loopback_servers.h"

namespace vardelle::demo {
namespace {

using nlohmann::json;

// What came back; 0 and null when nothing did.
int Status(const httplib::Result& answer) { return answer ? answer->status : 0; }
json Body(const httplib::Result& answer) { return answer ? ParseJson(answer->body) : json(); }
json Error(const httplib::Result& answer) { return Body(answer)["error"]; }

class StandIn {
 public:
  explicit StandIn(StandInBehaviour behaviour = {}) {
    vardelle::testing::KeepLoopbackTrafficDirect();
    ServeGlobalpingStandIn(server_.Server(), std::move(behaviour));
  }
  bool Start() { return server_.Start(); }

  httplib::Result Create(const std::string& body, const std::string& authorization = {}) {
    return Client().Post("/v1/measurements", Authorized(authorization), body, "application/json");
  }
  httplib::Result Get(const std::string& path, const httplib::Headers& headers = {}) {
    return Client().Get(path, headers);
  }
  json Limits(const std::string& authorization = {}) {
    return Body(Client().Get("/v1/limits", Authorized(authorization)));
  }
  // The new measurement's path; "" when it was not created.
  std::string Created(const std::string& body) {
    const httplib::Result answer = Create(body);
    if (Status(answer) != 202) return "";
    return "/v1/measurements/" + Body(answer)["id"].get<std::string>();
  }

 private:
  httplib::Client Client() const { return httplib::Client("127.0.0.1", server_.Port()); }
  static httplib::Headers Authorized(const std::string& authorization) {
    if (authorization.empty()) return {};
    return {{"Authorization", authorization}};
  }

  vardelle::testing::LoopbackHttpServer server_;
};

std::string China(int limit) {
  return R"({"type":"ping","target":"example.com","locations":[{"magic":"China"}],"limit":)" +
         std::to_string(limit) + "}";
}

struct BrokenCase {
  const char* body;
  const char* param;
  const char* message;
};

TEST(GlobalpingStandInTest, BrokenBodiesAreRefusedWithTheirFirstBrokenRule) {
  const BrokenCase cases[] = {
      {"[]", "", R"("value" must be of type object)"},
      {R"({"target":"example.com"})", "type", R"("type" is required)"},
      {R"({"type":"dig","target":"example.com"})", "type",
       R"("type" must be one of [ping, traceroute, dns, mtr, http])"},
      {R"({"type":"ping"})", "target", R"("target" is required)"},
      {R"({"type":"ping","target":"localhost"})", "target",
       R"("target" does not match any of the allowed types)"},
      {R"({"type":"ping","target":"example.123"})", "target",
       R"("target" does not match any of the allowed types)"},
      {R"({"type":"ping","target":"-a.example.com"})", "target",
       R"("target" does not match any of the allowed types)"},
      {R"({"type":"ping","target":"10.1.2.3"})", "target",
       R"("target" must not be a private hostname)"},
      {R"({"type":"ping","target":"[::1]"})", "target",
       R"("target" must not be a private hostname)"},
      {R"({"type":"ping","target":"fd00::1"})", "target",
       R"("target" must not be a private hostname)"},
      {R"({"type":"ping","target":"example.com","limit":51})", "limit",
       R"("limit" must be less than or equal to 50)"},
      {R"({"type":"ping","target":"example.com","limit":0})", "limit",
       R"("limit" must be greater than or equal to 1)"},
      {R"({"type":"ping","target":"example.com","measurementOptions":{"packets":17}})",
       "measurementOptions.packets",
       R"("measurementOptions.packets" must be less than or equal to 16)"},
      {R"({"type":"ping","target":"example.com","locations":{"magic":"China"}})", "locations",
       R"("locations" must be one of [string, array])"},
      {R"({"type":"ping","target":"example.com","locations":[{"magic":""}]})", "locations.0.magic",
       R"("locations[0].magic" is not allowed to be empty)"},
      {R"({"type":"ping","target":"example.com","foo":1,"limit":99})", "limit",
       R"("limit" must be less than or equal to 50)"},
      {R"({"type":"ping","target":"example.com","foo":1})", "foo", R"("foo" is not allowed)"},
  };
  StandIn standIn;
  ASSERT_TRUE(standIn.Start());
  for (const BrokenCase& c : cases) {
    const httplib::Result answer = standIn.Create(c.body);
    ASSERT_TRUE(answer) << c.body;
    EXPECT_EQ(answer->status, 400) << c.body;
    EXPECT_EQ(Error(answer)["message"], "Parameter validation failed.") << c.body;
    EXPECT_EQ(Error(answer)["params"], json({{c.param, c.message}})) << c.body;
  }
}

struct RefusalCase {
  const char* body;
  int status;
  const char* type;
  const char* message;
};

TEST(GlobalpingStandInTest, UnreadableBodiesAndPlacesWithoutProbesAreRefusedInTheApisWords) {
  const RefusalCase cases[] = {
      {R"({"type":)", 400, "api_error", "Unexpected end of JSON input"},
      {R"("ping")", 400, "api_error", "invalid JSON, only supports object and array"},
      {R"({"type":"ping","target":"example.com","locations":[{"magic":"Mars"}]})", 422,
       "no_probes_found", "No matching IPv4 probes available."},
      {R"({"type":"ping","target":"2606:4700::1111","locations":[{"magic":"Mars"}]})", 422,
       "no_probes_found", "No matching IPv6 probes available."},
  };
  StandIn standIn;
  ASSERT_TRUE(standIn.Start());
  for (const RefusalCase& c : cases) {
    const httplib::Result answer = standIn.Create(c.body);
    ASSERT_TRUE(answer) << c.body;
    EXPECT_EQ(answer->status, c.status) << c.body;
    EXPECT_EQ(Body(answer),
              json({{"error", {{"type", c.type}, {"message", c.message}}},
                    {"links",
                     {{"documentation",
                       "https://globalping.io/docs/api.globalping.io#post-/v1/measurements"}}}}))
        << c.body;
  }
}

TEST(GlobalpingStandInTest, AcceptsWhatTheApiAccepts) {
  StandIn standIn;
  StandIn demo({.acceptPrivateTargets = true});
  ASSERT_TRUE(standIn.Start() && demo.Start());
  const char* const accepted[] = {
      R"({"type":"PING","target":"_dmarc.example.com","inProgressUpdates":true})",
      R"({"type":"ping","target":"xn--fiqs8s.xn--fiqs8s","limit":"2"})",
      R"({"type":"ping","target":"[2606:4700::1111]","locations":[{"magic":"as","limit":2}]})",
  };
  for (const char* body : accepted) {
    EXPECT_NE(standIn.Created(body), "") << body;
  }
  EXPECT_NE(demo.Created(R"({"type":"ping","target":"127.0.0.1"})"), "");
}

struct BudgetStep {
  int limit;
  int status;
  const char* cost;
  const char* consumed;
  const char* remaining;
};

TEST(GlobalpingStandInTest, ChargesTheProbesFoundAndRefusesUpFrontWhatTheHourCannotCover) {
  StandIn standIn({.anonymousHourlyTests = 7});
  ASSERT_TRUE(standIn.Start());
  EXPECT_EQ(standIn.Limits()["rateLimit"]["measurements"]["create"],
            json({{"type", "ip"}, {"limit", 7}, {"remaining", 7}, {"reset", 0}}));
  const BudgetStep steps[] = {
      {10, 202, "5", "5", "2"},   // China has five probes
      {10, 429, "10", "0", "2"},  // refused before any probe was looked for: cost is the limit
      {2, 202, "2", "2", "0"},
  };
  for (const BudgetStep& step : steps) {
    const httplib::Result answer = standIn.Create(China(step.limit));
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, step.status) << step.limit;
    EXPECT_EQ(answer->get_header_value("X-Request-Cost"), step.cost) << step.limit;
    EXPECT_EQ(answer->get_header_value("X-RateLimit-Consumed"), step.consumed) << step.limit;
    EXPECT_EQ(answer->get_header_value("X-RateLimit-Remaining"), step.remaining) << step.limit;
    EXPECT_EQ(answer->get_header_value("X-RateLimit-Limit"), "7");
    const auto reset = answer->get_header_value<uint64_t>("X-RateLimit-Reset");
    EXPECT_TRUE(reset > 0 && reset <= 3600) << reset;
    EXPECT_FALSE(answer->has_header("Retry-After"));
  }
  const json refused = Error(standIn.Create(China(1)));
  EXPECT_EQ(refused["type"], "rate_limit_exceeded");
  EXPECT_EQ(refused["message"],
            "This measurement exceeds the remaining hourly rate limit for your IP address.");
  const json create = standIn.Limits()["rateLimit"]["measurements"]["create"];
  EXPECT_EQ(create["remaining"], 0);
  EXPECT_TRUE(create["reset"] > 0 && create["reset"] <= 3600) << create;
}

TEST(GlobalpingStandInTest, OnlyTheAcceptedTokenPassesAndItHasItsOwnBudget) {
  StandIn standIn({.anonymousHourlyTests = 1, .tokenHourlyTests = 10, .acceptedToken = "secret"});
  ASSERT_TRUE(standIn.Start());
  for (const char* authorization : {"Bearer wrong", "secret", "bearer secret", "Bearer  secret"}) {
    EXPECT_EQ(Status(standIn.Create(China(1), authorization)), 401) << authorization;
    EXPECT_EQ(Status(standIn.Get("/v1/limits", {{"Authorization", authorization}})), 401);
  }
  for (const char* remaining : {"5", "0"}) {
    const httplib::Result answer = standIn.Create(China(5), "Bearer secret");
    ASSERT_EQ(Status(answer), 202);
    EXPECT_EQ(answer->get_header_value("X-RateLimit-Limit"), "10");
    EXPECT_EQ(answer->get_header_value("X-RateLimit-Remaining"), remaining);
  }
  const httplib::Result refused = standIn.Create(China(5), "Bearer secret");
  ASSERT_EQ(Status(refused), 429);
  EXPECT_EQ(Error(refused)["type"], "insufficient_credits");
  EXPECT_EQ(refused->get_header_value("X-Credits-Remaining"), "0");
  const json limits = standIn.Limits("Bearer secret");
  EXPECT_EQ(limits["rateLimit"]["measurements"]["create"]["type"], "user");
  EXPECT_EQ(limits["credits"], json({{"remaining", 0}}));
  EXPECT_EQ(standIn.Limits()["rateLimit"]["measurements"]["create"]["remaining"], 1);
}

TEST(GlobalpingStandInTest, PolledToTheEndTheProbeThatLostEveryPacketComesLast) {
  StandIn standIn({.pollsBeforeFinished = 1});
  ASSERT_TRUE(standIn.Start());
  const std::string path = standIn.Created(
      R"({"type":"ping","target":"example.com","locations":[{"magic":"cn"}],"limit":10,
          "measurementOptions":{"packets":4}})");
  ASSERT_NE(path, "");
  EXPECT_EQ(path.find_first_not_of("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz",
                                   std::string("/v1/measurements/").size()),
            std::string::npos);

  const json first = Body(standIn.Get(path));
  EXPECT_EQ(first["status"], "in-progress");
  EXPECT_EQ(first["results"][0]["result"]["status"], "finished");
  EXPECT_EQ(first["results"][1]["result"]["status"], "in-progress");

  const json last = Body(standIn.Get(path));
  EXPECT_EQ(last["status"], "finished");
  ASSERT_EQ(last["results"].size(), 5u);
  const json& chengdu = last["results"][2]["result"]["stats"];
  EXPECT_EQ(chengdu, ParseJson(R"({"min":31.2,"avg":35.8,"max":41.9,"total":4,"rcv":3,
                                     "drop":1,"loss":25})"));
  EXPECT_EQ(last["results"][3]["result"]["status"], "failed");
  const json& lost = last["results"][4]["result"];
  EXPECT_EQ(lost["status"], "finished");
  EXPECT_EQ(lost["timings"], json::array());
  EXPECT_EQ(lost["stats"], ParseJson(R"({"min":null,"avg":null,"max":null,"total":4,"rcv":0,
                                           "drop":4,"loss":100})"));
}

TEST(GlobalpingStandInTest, ABadGatewayComesFirstAndUnknownIdsAreJson404s) {
  StandIn standIn({.pollsBeforeFinished = 1, .badGatewayOnFirstPoll = true});
  ASSERT_TRUE(standIn.Start());
  const std::string path = standIn.Created(China(2));
  ASSERT_NE(path, "");
  EXPECT_EQ(Status(standIn.Get(path)), 502);
  // The proxy's answer was no poll: the measurement finishes a poll later.
  EXPECT_EQ(Body(standIn.Get(path))["status"], "in-progress");
  EXPECT_EQ(Body(standIn.Get(path))["status"], "finished");

  const httplib::Result unknown = standIn.Get("/v1/measurements/2unknown");
  EXPECT_EQ(Status(unknown), 404);
  EXPECT_EQ(Error(unknown),
            json({{"type", "not_found"}, {"message", "Couldn't find the requested measurement."}}));
}

TEST(GlobalpingStandInTest, PollingOneMeasurementTooFastIsToldWhenToRetry) {
  StandIn standIn({.pollsBeforeFinished = -1});
  ASSERT_TRUE(standIn.Start());
  const std::string path = standIn.Created(China(1));
  ASSERT_NE(path, "");
  // Past five polls in two seconds the measurement's polls are held back five seconds.
  int status = 0;
  std::string retryAfter;
  json error;
  for (int poll = 0; poll < 20 && status != 429; ++poll) {
    const httplib::Result answer = standIn.Get(path);
    ASSERT_TRUE(answer);
    status = answer->status;
    retryAfter = answer->get_header_value("Retry-After");
    error = Error(answer);
  }
  EXPECT_EQ(status, 429);
  EXPECT_EQ(retryAfter, "5");
  EXPECT_EQ(error["message"], "Too many requests. Please retry in 5 seconds.");
}

TEST(GlobalpingStandInTest, CompressesJsonForClientsThatAcceptGzip) {
  StandIn standIn;
  ASSERT_TRUE(standIn.Start());
  const httplib::Result answer = standIn.Get("/v1/limits", {{"Accept-Encoding", "gzip"}});
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->get_header_value("Content-Encoding"), "gzip");
  EXPECT_EQ(Body(answer)["rateLimit"]["measurements"]["create"]["limit"], 250);
}

TEST(GlobalpingStandInTest, ConcurrentCreationsAreEachChargedUnderTheirOwnIds) {
  StandIn standIn({.anonymousHourlyTests = 100});
  ASSERT_TRUE(standIn.Start());
  std::vector<std::vector<std::string>> paths(4);
  std::vector<std::thread> callers;
  for (std::vector<std::string>& own : paths) {
    callers.emplace_back([&] {
      for (int i = 0; i < 5; ++i) own.push_back(standIn.Created(China(2)));
    });
  }
  for (std::thread& caller : callers) caller.join();
  std::set<std::string> distinct;
  for (const std::vector<std::string>& own : paths) distinct.insert(own.begin(), own.end());
  distinct.erase("");
  EXPECT_EQ(distinct.size(), 20u);
  EXPECT_EQ(standIn.Limits()["rateLimit"]["measurements"]["create"]["remaining"], 60);
}

}  // namespace
}  // namespace vardelle::demo

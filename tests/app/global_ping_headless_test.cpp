// `--headless --demo --global-ping 中国`: the demo world's server list measured through the
// demo world's Globalping stand-in, reported per server and per probe.
#include "app/headless/global_ping_headless.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "app/application/application.h"
#include "app/global_ping/measurement.h"
#include "app/start/command_line.h"
#include "demo_world/demo_world.h"
#include "support/json_documents/json_documents.h"
#include "support/text/text_codec.h"
#include "testing/loopback.h"
#include "testing/loopback_servers.h"
#include "tests/demo_world_servers.h"

namespace vardelle {
namespace {

using nlohmann::json;

std::string Utf8Text(std::u8string_view text) {
  return {reinterpret_cast<const char*>(text.data()), text.size()};
}

class GlobalPingHeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::KeepLoopbackTrafficDirect();
    ASSERT_TRUE(world.Start());
  }

  HeadlessOutcome Run(const std::vector<std::string>& arguments) {
    const CommandLine line = ParseCommandLine(arguments, [](std::string_view) {
      return std::optional<std::string>("http://127.0.0.1:9");  // never read under --demo
    });
    EXPECT_EQ(line.error, "");
    Application app;
    for (const SiteInfo& site : SiteTable()) app.endpoints.SetBaseUrl(site.site, world.BaseUrl());
    EXPECT_EQ(line.endpoints.GlobalpingBase(), "");
    app.endpoints.SetGlobalpingBase(world.BaseUrl());
    app.globalpingMeasuresPrivateTargets = true;  // as main does for the demo world
    return RunGlobalPingHeadless(app, *line.globalPingPlace,
                                 line.format.value_or(ReportFormat::kText));
  }

  demo::DemoWorld world;
};

TEST_F(GlobalPingHeadlessTest, JsonReportsEveryServerWithItsProbesSortedByAverage) {
  const HeadlessOutcome outcome =
      Run({"--headless", "--demo", "--global-ping", Utf8Text(u8"中国"), "--format", "json"});
  ASSERT_EQ(outcome.exitCode, 0);
  const json report = ParseJson(outcome.report);
  EXPECT_EQ(report.at("place"), Utf8Text(u8"中国"));
  const json& servers = report.at("servers");
  ASSERT_EQ(servers.size(), std::size(testing::kDemoServersByName));
  const json probes =
      ParseJson(Utf8Text(u8R"json([
    {"city":"Beijing","country":"CN","asn":4134,"network":"China Telecom","status":"finished",
     "minMs":8.1,"avgMs":9.4,"maxMs":11.0,"lossPercent":0},
    {"city":"Shanghai","country":"CN","asn":4812,"network":"China Telecom (Group)",
     "status":"finished","minMs":22.5,"avgMs":24.0,"maxMs":27.3,"lossPercent":0},
    {"city":"Chengdu","country":"CN","asn":9808,"network":"中国移动","status":"finished",
     "minMs":31.2,"avgMs":35.8,"maxMs":41.9,"lossPercent":25},
    {"city":"Guangzhou","country":"CN","asn":4837,"network":"China Unicom","status":"failed",
     "minMs":null,"avgMs":null,"maxMs":null,"lossPercent":null}])json"));
  std::set<std::string> ids;
  for (size_t i = 0; i < servers.size(); ++i) {
    const json& server = servers[i];
    const testing::DemoServerRow& expected = testing::kDemoServersByName[i];
    SCOPED_TRACE(expected.region);
    EXPECT_EQ(server.at("serverName"), GbkToUtf8(expected.name));
    EXPECT_EQ(server.at("domain"), expected.domain);
    // The service would refuse these two; the stand-in takes loopback addresses in demo mode.
    const std::string domain = expected.domain;
    if (domain.empty() || domain == "localhost") {
      EXPECT_EQ(server.at("status"), "failed");
      EXPECT_EQ(server.at("failure"),
                domain.empty() ? Utf8Text(u8"域名为空") : Utf8Text(u8"不是完整的域名 (缺少顶级域名)"));
      EXPECT_TRUE(server.at("measurementId").is_null());
      EXPECT_TRUE(server.at("summary").is_null());
      EXPECT_EQ(server.at("probes"), json::array());
      continue;
    }
    EXPECT_EQ(server.at("status"), "finished");
    EXPECT_TRUE(server.at("failure").is_null());
    ids.insert(server.at("measurementId").get<std::string>());
    EXPECT_EQ(server.at("probesCount"), 5);
    const json& summary = server.at("summary");
    EXPECT_NEAR(summary.at("avgMs").get<double>(), (9.4 + 24.0 + 35.8) / 3, 1e-9);
    EXPECT_EQ(summary.at("minMs"), 8.1);
    EXPECT_EQ(summary.at("maxMs"), 41.9);
    // Over the packets of four finished probes: a quarter of Chengdu's, all of the last one's.
    EXPECT_NEAR(summary.at("lossPercent").get<double>(), 125.0 / 4, 1e-9);
    EXPECT_EQ(summary.at("probes"), 3);
    EXPECT_EQ(summary.at("lostProbes"), 1);
    const json& listed = server.at("probes");
    ASSERT_EQ(listed.size(), 5u);
    EXPECT_EQ(json(std::vector<json>(listed.begin(), listed.begin() + 3)),
              json(std::vector<json>(probes.begin(), probes.begin() + 3)));
    // Failed and silent probes follow the answered ones, in the service's order.
    EXPECT_EQ(listed[3], probes[3]);
    EXPECT_EQ(listed[4].at("status"), "finished");
    EXPECT_TRUE(listed[4].at("avgMs").is_null());
    EXPECT_EQ(listed[4].at("lossPercent"), 100);
  }
  EXPECT_EQ(ids.size(), servers.size() - 2);  // one measurement per measured server
}

TEST_F(GlobalPingHeadlessTest, CsvHasALinePerProbeAndTextAnIndentedOne) {
  const std::string csv =
      Run({"--headless", "--demo", "--global-ping", "asia", "--format", "csv"}).report;
  const size_t servers = std::size(testing::kDemoServersByName);
  // The header, four probes per measured server, a line each for the two refused.
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), static_cast<long>(1 + (servers - 2) * 4 + 2));
  EXPECT_NE(csv.find(",Tokyo,JP,2516,KDDI,finished,61,63.5,70.2,0\r\n"), std::string::npos);
  EXPECT_NE(csv.find(",finished,,,,100\r\n"), std::string::npos);  // the probe that lost all

  const std::string text = Run({"--headless", "--demo", "--global-ping", "world"}).report;
  EXPECT_EQ(text.rfind(Utf8Text(u8"全球Ping: 全球\n"), 0), 0u);
  EXPECT_NE(
      text.find(Utf8Text(u8"\n    Zürich, CH, AS3303 Swisscom: 220.5/230.0/251.7ms 丢包 12.5%\n")),
      std::string::npos);
}

}  // namespace
}  // namespace vardelle

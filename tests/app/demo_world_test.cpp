// The offline demo world as a plain HTTP client sees it: each document word for word, the
// location answers, and nothing else.
#include "demo_world/demo_world.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <set>
#include <string>
#include <vector>

namespace vardelle::demo {
namespace {

int CountOf(std::string_view text, std::string_view wanted) {
  int count = 0;
  for (size_t at = text.find(wanted); at != std::string_view::npos;
       at = text.find(wanted, at + 1)) {
    ++count;
  }
  return count;
}

class DemoWorldTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(world.Start()); }

  httplib::Result Get(const std::string& path) {
    httplib::Client client(world.BaseUrl());
    client.set_connection_timeout(5);
    client.set_read_timeout(5);
    return client.Get(path);
  }

  std::string Location(const std::string& address) {
    const httplib::Result result = Get(std::string(kLocationPath) + "?ip=" + address);
    return result ? result->body : "no answer";
  }

  DemoWorld world;
};

TEST_F(DemoWorldTest, ServesEveryDocumentWordForWord) {
  EXPECT_EQ(world.BaseUrl().rfind("http://127.0.0.1:", 0), 0u) << world.BaseUrl();
  ASSERT_EQ(DemoDocuments().size(), 4u);
  for (const DemoDocument& document : DemoDocuments()) {
    SCOPED_TRACE(document.path);
    const httplib::Result result = Get(std::string(document.path));
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 200);
    EXPECT_EQ(result->body, document.body);
    EXPECT_EQ(result->get_header_value("Content-Type"), document.contentType);
  }
}

// The status service's answers, in order: 影流 (region 15) back to 正常 after two more, and
// region 1 after none; the other regions keep their codes.
TEST_F(DemoWorldTest, ARegionComesBackAfterTheRequestsItWasGiven) {
  const std::string path(DemoDocuments()[2].path);
  const httplib::Result first = Get(path);
  ASSERT_TRUE(first);
  ASSERT_EQ(first->body, DemoDocuments()[2].body);
  world.SetRegionStatusCode("15", "1", 2);
  world.SetRegionStatusCode("1", "1");
  std::vector<std::string> answers;
  for (int i = 0; i < 4; ++i) {
    const httplib::Result answer = Get(path);
    ASSERT_TRUE(answer);
    answers.push_back(answer->body);
  }
  const std::vector<bool> back = {false, false, true, true};
  for (std::size_t i = 0; i < answers.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(answers[i].find(R"("15":"1")") != std::string::npos, back[i]);
    EXPECT_NE(answers[i].find(R"({"1":"1","2":"2")"), std::string::npos);
    EXPECT_NE(answers[i].find(R"("28":"5")"), std::string::npos);
  }
}

TEST_F(DemoWorldTest, UnknownPathsAreNotFound) {
  for (const char* path : {"/", "/lol/box/gameserverXjson", "/lol/box/gameserver.json/x",
                           "/service/getIpInfo.php.bak", "/favicon.ico"}) {
    const httplib::Result result = Get(path);
    ASSERT_TRUE(result) << path;
    EXPECT_EQ(result->status, 404) << path;
  }
}

// Later tests lean on these facts of the world; a changed fixture must fail here first.
TEST_F(DemoWorldTest, ServerListIsGbkWithThirtyServers) {
  const std::string_view list = DemoDocuments()[0].body;
  EXPECT_EQ(CountOf(list, "\"old_name\""), 30);
  EXPECT_EQ(CountOf(list, "\"new_name\""), 30);
  EXPECT_EQ(CountOf(list, "\"domain\""), 29);
  EXPECT_EQ(CountOf(list, "\"domain\":\"localhost\""), 1);
  // The narrow literals here are GBK as well; UTF-8's 电 (E7 94 B5) must not occur.
  for (const char* name : {"\"old_name\":\"电信十一\"", "\"old_name\":\"网通六\"",
                           "\"old_name\":\"教育网专区\"", "\"old_name\":\"电信一百零五\"",
                           "\"old_name\":\"电信二十九\"", "\"new_name\":\"体验服\""}) {
    EXPECT_EQ(CountOf(list, name), 1) << name;
  }
  EXPECT_EQ(CountOf(list, "\xE7\x94\xB5"), 0);
}

TEST_F(DemoWorldTest, StatusDocumentsCarryTheirMarkers) {
  const std::string_view script = DemoDocuments()[1].body;
  const size_t info = script.find("ServerInfo : {");
  const size_t status = script.find("ServerStatus : {");
  ASSERT_NE(info, std::string_view::npos);
  ASSERT_NE(status, std::string_view::npos);
  EXPECT_LT(script.find("},", info), status);
  EXPECT_NE(script.find("},", status), std::string_view::npos);
  for (const char* word : {"'正常'", "'拥挤'", "'满载'", "'维护'", "'火爆'"}) {
    EXPECT_EQ(CountOf(script, word), 1) << word;
  }
  EXPECT_EQ(CountOf(script, "体验服"), 0);

  const std::string_view service = DemoDocuments()[2].body;
  EXPECT_LT(service.find("[{"), service.find("},"));
  EXPECT_NE(service.find("},"), std::string_view::npos);

  const std::string_view selector = DemoDocuments()[3].body;
  const size_t data = selector.find("LOLServerSelect.STD_DATA=");
  ASSERT_NE(data, std::string_view::npos);
  EXPECT_NE(selector.find("];", data), std::string_view::npos);
  EXPECT_EQ(CountOf(selector, "status:\"0\"}"), 1);
  EXPECT_EQ(CountOf(selector, "{t:\"巨龙之巢\" v:\"20b\" status:\"0\"}"), 1);
}

TEST_F(DemoWorldTest, LocationAnswersByExactAddress) {
  const std::string answer = Location("127.0.0.2");
  EXPECT_EQ(answer.rfind("{\"code\":0,", 0), 0u) << answer;
  EXPECT_NE(answer.find("\"ip\":\"127.0.0.2\""), std::string::npos);
  EXPECT_NE(answer.find("\"country\":\"\\u4e2d\\u56fd\""), std::string::npos);  // 中国
  for (const char* field : {"\"area\"", "\"region\"", "\"city\"", "\"county\"", "\"isp\""}) {
    EXPECT_NE(answer.find(field), std::string::npos) << field;
  }
  EXPECT_NE(Location("127.0.0.1").find("\"ip\":\"127.0.0.1\""), std::string::npos);
  EXPECT_NE(Location("127.0.0.29").find("\\u7535\\u4fe1\\/\\u8054\\u901a"), std::string::npos);
  EXPECT_EQ(Location("127.0.0.5").find("\"county\""), std::string::npos);
  // Failures: the listed failing address, the empty one, unknown ones, prefixes of known ones.
  for (const char* address : {"127.0.0.13", "", "127.0.0.200", "127.0.0", "10.0.0.1"}) {
    EXPECT_EQ(Location(address).rfind("{\"code\":1,", 0), 0u) << address;
  }
  const httplib::Result noQuery = Get(std::string(kLocationPath));
  ASSERT_TRUE(noQuery);
  EXPECT_EQ(noQuery->body.rfind("{\"code\":1,", 0), 0u);
}

TEST_F(DemoWorldTest, EveryListedAddressHasALocation) {
  const std::string_view list = DemoDocuments()[0].body;
  std::set<std::string> addresses = {"127.0.0.1"};  // localhost
  const std::string_view marker = "\"domain\":\"127.";
  for (size_t at = list.find(marker); at != std::string_view::npos;
       at = list.find(marker, at + 1)) {
    const size_t start = at + marker.size() - 4;
    addresses.insert(std::string(list.substr(start, list.find('"', start) - start)));
  }
  EXPECT_EQ(addresses.size(), 29u);
  for (const std::string& address : addresses) {
    const bool succeeds = DemoLocationAnswer(address).rfind("{\"code\":0,", 0) == 0;
    EXPECT_EQ(succeeds, address != "127.0.0.13") << address;
  }
}

TEST(DemoWorldLifeTest, StopsRestartsAndRunsBesideAnother) {
  DemoWorld first;
  DemoWorld second;
  EXPECT_EQ(first.BaseUrl(), "");
  ASSERT_TRUE(first.Start());
  ASSERT_TRUE(second.Start());
  EXPECT_NE(first.BaseUrl(), second.BaseUrl());
  const std::string firstUrl = first.BaseUrl();
  EXPECT_TRUE(first.Start());
  EXPECT_EQ(first.BaseUrl(), firstUrl);
  first.Stop();
  EXPECT_EQ(first.BaseUrl(), "");
  httplib::Client gone(firstUrl);
  gone.set_connection_timeout(2);
  EXPECT_FALSE(gone.Get("/lol/box/gameserver.json"));
  first.Stop();
  ASSERT_TRUE(first.Start());
  httplib::Client again(first.BaseUrl());
  again.set_connection_timeout(5);
  const httplib::Result result = again.Get("/lol/box/gameserver.json");
  ASSERT_TRUE(result);
  EXPECT_EQ(result->status, 200);
}

}  // namespace
}  // namespace vardelle::demo

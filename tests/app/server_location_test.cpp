// The server location lookup: the "\u" escapes with their digit rule and boundaries, and the
// location line from a loopback service's answers.
#include "app/location/server_location.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "testing/loopback.h"
#include "testing/loopback_site.h"

namespace vardelle {
namespace {

TEST(DecodeUnicodeEscapesTest, ConvertsFrom255OnAndKeepsTheRest) {
  struct Case {
    std::string text, expected;
  };
  const Case cases[] = {
      {R"("\u4e2d\u56fd")", "\"中国\""},
      {R"(a\u4E2Db)", "a中b"},
      // 255 is converted (GBK has no U+00FF, so "?"), 254 and the Latin é are kept.
      {R"(x\u00ffy)", "x?y"},
      {R"(x\u00fey)", R"(x\u00fey)"},
      {R"(Caf\u00e9)", R"(Caf\u00e9)"},
      // Letters beyond F count on to 35, other characters their byte code.
      {R"(\u4e2g)", "丰"},  // 0x4E20 + 16
      {R"(\u4e2!)", "乁"},  // 0x4E20 + 33
      {R"(\U4e2d)", R"(\U4e2d)"},
      // The short tail at the end: what is there is decoded.
      {R"(a\u4e2)", "a?"},  // U+04E2, not in GBK
      {R"(a\u4e)", R"(a\u4e)"},
      {R"(a\u)", R"(a\u)"},
      {R"(\ud83d\ude00)", "??"},  // lone surrogates
      {R"(\u4e2d00)", "中00"},
      {R"(\u7535\u4fe1\/\u8054\u901a a\/\/b)", "电信/联通 a//b"},
      {"\x81\\u4e2d", "\x81\\u4e2d"},  // the backslash is the second byte of a character
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeUnicodeEscapes(c.text), c.expected) << c.text;
}

class LocationServiceTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::KeepLoopbackTrafficDirect(); }

  void SetUp() override {
    site.Serve("/service/getIpInfo.php", [this](const std::string& target) {
      std::lock_guard guard(mutex);
      targets.push_back(target);
      return testing::SiteAnswer{200, answer};
    });
    ASSERT_TRUE(site.Start());
    endpoints.SetBaseUrl(Site::kIpLocation, site.Url(""));
  }

  // The line for address when the service answers with `with`, and the one request made.
  std::string LineFor(const std::string& with, const std::string& address = "183.60.12.7") {
    {
      std::lock_guard guard(mutex);
      answer = with;
      targets.clear();
    }
    const Text line = LookUpServerLocation(endpoints, address);
    std::lock_guard guard(mutex);
    EXPECT_EQ(targets, std::vector<std::string>{"/service/getIpInfo.php?ip=" + address});
    return line;
  }

  testing::LoopbackSite site;
  Endpoints endpoints;
  std::mutex mutex;
  std::string answer;
  std::vector<std::string> targets;
};

TEST_F(LocationServiceTest, JoinsTheSixFieldsOrFails) {
  const std::string failure = "获取地理位置失败!";
  EXPECT_EQ(LineFor(R"({"code":0,"data":{"country":"\u4e2d\u56fd","area":"\u534e\u4e1c",)"
                    R"("region":"\u4e0a\u6d77","city":"\u4e0a\u6d77\u5e02","county":"CN",)"
                    R"("isp":"\u7535\u4fe1\/\u8054\u901a"}})"),
            "中国华东 - 上海上海市CN电信/联通");
  EXPECT_EQ(LineFor(R"({"code":0,"data":{"country":"C","region":"R","city":"T","isp":"I"}})"),
            "C - RTI");
  EXPECT_EQ(LineFor(R"({"code":0,"data":{}})"), " - ");
  EXPECT_EQ(LineFor(R"({"code":0})"), failure);
  EXPECT_EQ(LineFor(R"({"code":0,"data":{"country":"C","isp":"I")"), failure);  // cut short
  EXPECT_EQ(LineFor(R"({"code":"0","data":{"area":"Caf\u00e9"}})"), R"(Caf\u00e9 - )");
  EXPECT_EQ(LineFor(R"({"code":1,"data":{"country":"C"}})"), failure);
  EXPECT_EQ(LineFor(R"({"data":{"country":"C"}})"), failure);
  EXPECT_EQ(LineFor("<html>502 Bad Gateway</html>"), failure);
  EXPECT_EQ(LineFor(""), failure);
  // Blanks are JSON too: an answer past 64 KiB is refused whatever it holds.
  const std::string small = R"({"code":0,"data":{"country":"C","isp":"I"}})";
  EXPECT_EQ(LineFor(small + std::string(60 * 1024, ' ')), "C - I");
  EXPECT_EQ(LineFor(small + std::string(70 * 1024, ' ')), failure);
}

// Some services answer an empty "ip=" with the asker's own location.
TEST_F(LocationServiceTest, AnAddressThatDidNotResolveAsksNothing) {
  {
    std::lock_guard guard(mutex);
    answer = R"({"code":0,"data":{"country":"C","isp":"I"}})";
  }
  EXPECT_EQ(LookUpServerLocation(endpoints, ""), "获取地理位置失败!");
  std::lock_guard guard(mutex);
  EXPECT_EQ(targets, std::vector<std::string>{});
}

TEST(LocationLookupTest, NoSiteOrNoAnswerGivesTheFailureLine) {
  testing::KeepLoopbackTrafficDirect();
  Endpoints endpoints;
  EXPECT_EQ(LookUpServerLocation(endpoints, "127.0.0.2"), "获取地理位置失败!");
  endpoints.SetBaseUrl(Site::kIpLocation, "http://127.0.0.1:1");  // refused
  EXPECT_EQ(LookUpServerLocation(endpoints, "127.0.0.2"), "获取地理位置失败!");
}

}  // namespace
}  // namespace vardelle

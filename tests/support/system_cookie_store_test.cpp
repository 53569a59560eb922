#include "support/cookies/system_cookie_store.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace vardelle {
namespace {

// The store lives as long as the process, so every test keeps to hosts of its own.

struct Setting {
  Text url;
  Text name;
  Text data;
};

struct StoreCase {
  const char* name;
  std::vector<Setting> settings;
  Text askedUrl;
  Text expected;
};

const std::vector<StoreCase> kStoreCases = {
    {"valueEndsAtSemicolon",
     {{"http://value.test/", "sid", " abc ; path=/; HttpOnly"}},
     "http://value.test/",
     "sid=abc"},
    {"valueEndsAtLineBreak",
     {{"http://crlf.test/", "a", "1\r\nX-Other: 2"}},
     "http://crlf.test/",
     "a=1"},
    {"emptyValueKept", {{"http://empty.test/", "a", "; path=/"}}, "http://empty.test/", "a="},
    {"inOrderSetAndReplacedInPlace",
     {{"http://order.test/", "a", "1"},
      {"http://order.test/", "b", "2"},
      {"http://order.test/", "a", "3"}},
     "http://order.test/",
     "a=3; b=2"},
    {"hostWithoutCaseOrPort",
     {{"https://user@Case.TEST:8443/", "a", "1"}},
     "http://case.test:80/",
     "a=1"},
    {"bracketedAddressWithoutPort", {{"http://[::1]:8080/", "v6", "1"}}, "http://[::1]/", "v6=1"},
    {"otherHostGetsNothing", {{"http://one.test/", "a", "1"}}, "http://sub.one.test/", ""},
    {"defaultPathIsTheDirectory",
     {{"http://dir.test/app/login?next=/", "a", "1"}},
     "http://dir.test/app/home",
     "a=1"},
    {"defaultPathNotOutsideTheDirectory",
     {{"http://dir2.test/app/login", "a", "1"}},
     "http://dir2.test/",
     ""},
    {"pathPrefixOnlyAtSlash",
     {{"http://slash.test/", "a", "1; path=/ap"}},
     "http://slash.test/app",
     ""},
    {"pathAttributeWidens",
     {{"http://wide.test/app/x", "a", "1; Path=/"}},
     "http://wide.test/",
     "a=1"},
    {"relativePathAttributeIgnored",
     {{"http://rel.test/app/x", "a", "1; path=app"}},
     "http://rel.test/",
     ""},
    {"longerPathsFirst",
     {{"http://paths.test/", "top", "1; path=/"},
      {"http://paths.test/", "deep", "2; path=/a/b"},
      {"http://paths.test/", "mid", "3; path=/a"}},
     "http://paths.test/a/b/c",
     "deep=2; mid=3; top=1"},
    {"samePathOnlyReplaces",
     {{"http://twice.test/", "a", "1; path=/"}, {"http://twice.test/", "a", "2; path=/x"}},
     "http://twice.test/x/y",
     "a=2; a=1"},
    {"maxAgeZeroRemoves",
     {{"http://gone.test/", "a", "1"},
      {"http://gone.test/", "b", "2"},
      {"http://gone.test/", "a", "x; Max-Age=0"}},
     "http://gone.test/",
     "b=2"},
    {"pastExpiresRemoves",
     {{"http://past.test/", "a", "1"},
      {"http://past.test/", "a", "; expires=Thu, 01 Jan 1970 00:00:00 GMT"}},
     "http://past.test/",
     ""},
    {"oldStyleExpiresRemoves",
     {{"http://dash.test/", "a", "1"},
      {"http://dash.test/", "a", "x; expires=Fri, 02-Jan-98 10:00:00 GMT"}},
     "http://dash.test/",
     ""},
    {"futureExpiresKept",
     {{"http://future.test/", "a", "1; expires=Wed, 09 Jun 2100 10:18:14 GMT"}},
     "http://future.test/",
     "a=1"},
    {"maxAgeOutranksExpires",
     {{"http://outrank.test/", "a", "1; expires=Thu, 01 Jan 1970 00:00:00 GMT; max-age=60"}},
     "http://outrank.test/",
     "a=1"},
    {"unreadableAttributesIgnored",
     {{"http://odd.test/", "a", "1; max-age=soon; expires=tomorrow; domain=.odd.test"}},
     "http://odd.test/",
     "a=1"},
    {"chineseValue",
     {{"http://gbk.test/", "city", "北京; path=/"}},
     "http://gbk.test/",
     "city=北京"},
};

TEST(SystemCookieStore, AnswersTheCookiesThatTheUrlMayCarry) {
  for (const StoreCase& c : kStoreCases) {
    for (const Setting& s : c.settings)
      EXPECT_TRUE(SetSystemCookie(s.url, s.name, s.data)) << c.name;
    EXPECT_EQ(GetSystemCookies(c.askedUrl), c.expected) << c.name;
  }
}

struct RefusedCase {
  const char* name;
  Text url;
  Text cookie;
};

const std::vector<RefusedCase> kRefusedCases = {
    {"noScheme", "refused.test/", "a"},
    {"noHost", "http:///path", "a"},
    {"unclosedBracket", "http://[::1/", "a"},
    {"blankName", "http://refused.test/", "  "},
    {"nameAcrossLines", "http://refused.test/", "broken\r\nServer: x"},
    {"nameWithSemicolon", "http://refused.test/", "a;b"},
};

TEST(SystemCookieStore, RefusesUrlsWithoutHostAndUnusableNames) {
  for (const RefusedCase& c : kRefusedCases) {
    EXPECT_FALSE(SetSystemCookie(c.url, c.cookie, "1")) << c.name;
  }
  EXPECT_EQ(GetSystemCookies("http://refused.test/"), "");
  EXPECT_EQ(GetSystemCookies("refused.test"), "");
}

TEST(SystemCookieStore, ShortMaxAgeRunsOut) {
  ASSERT_TRUE(SetSystemCookie("http://brief.test/", "a", "1; max-age=1"));
  EXPECT_EQ(GetSystemCookies("http://brief.test/"), "a=1");
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));
  EXPECT_EQ(GetSystemCookies("http://brief.test/"), "");
}

TEST(SystemCookieStore, TextOfAnyLengthComesBackWhole) {
  const Text big(3000, 'x');
  ASSERT_TRUE(SetSystemCookie("http://big.test/", "a", big));
  ASSERT_TRUE(SetSystemCookie("http://big.test/", "b", big));
  EXPECT_EQ(GetSystemCookies("http://big.test/"), "a=" + big + "; b=" + big);
}

TEST(SystemCookieStore, ThreadsSetAndReadAtOnce) {
  constexpr int kThreads = 8;
  constexpr int kRounds = 200;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([t] {
      const Text name = "t" + std::to_string(t);
      for (int i = 0; i < kRounds; ++i) {
        SetSystemCookie("http://threads.test/", name, std::to_string(i));
        GetSystemCookies("http://threads.test/");
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  const Text all = GetSystemCookies("http://threads.test/");
  for (int t = 0; t < kThreads; ++t) {
    EXPECT_NE(all.find("t" + std::to_string(t) + "=" + std::to_string(kRounds - 1)), Text::npos);
  }
}

}  // namespace
}  // namespace vardelle

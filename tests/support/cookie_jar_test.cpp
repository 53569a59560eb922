#include "support/cookies/cookie_jar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "fake_http_component.h"
#include "named_cases.h"
#include "temp_dir.h"

namespace vardelle {
namespace {

using named_cases::CaseName;
using named_cases::PrintTo;
using testing::FakeHttpComponent;
using testing_files::TempDir;

using Texts = std::vector<Text>;

// Every record of the domain as "name=value", in record order.
Texts Cookies(CookieJar& jar, const Text& domain) {
  Texts names;
  jar.table.ListNames(domain, names);
  Texts cookies;
  for (const Text& name : names) cookies.push_back(name + "=" + jar.GetCookie(domain, name));
  return cookies;
}

struct SetCookieCase {
  const char* name;
  Text cookieName;
  Text value;
  Texts stored;
};

class CookieJarSetCookie : public ::testing::TestWithParam<SetCookieCase> {};

TEST_P(CookieJarSetCookie, StoresWhatTheBuiltHeaderCarries) {
  const SetCookieCase& c = GetParam();
  CookieJar jar;
  EXPECT_EQ(jar.SetCookie("a.com", c.cookieName, c.value), true);
  EXPECT_EQ(Cookies(jar, "a.com"), c.stored);
}

INSTANTIATE_TEST_SUITE_P(
    CookieJar, CookieJarSetCookie,
    ::testing::Values(SetCookieCase{"plain", "sid", "abc", {"sid=abc"}},
                      SetCookieCase{"chinese", "名", "值", {"名=值"}},
                      SetCookieCase{"emptyValue", "sid", "", {"sid="}},
                      SetCookieCase{"valueCutAtEquals", "sid", "a=b", {"sid=a"}},
                      SetCookieCase{"valueCutAtSemicolon", "sid", "a;b", {"sid=a"}},
                      SetCookieCase{"valueCutAtLineBreak", "sid", "a\r\nX-Evil: 1", {"sid=a"}},
                      SetCookieCase{"blankNameRefusedByTable", " ", "v", {}}),
    CaseName<SetCookieCase>);

struct AbsorbCase {
  const char* name;
  Text headers;
  bool result;
  Texts stored;
};

class CookieJarAbsorbSetCookie : public ::testing::TestWithParam<AbsorbCase> {};

TEST_P(CookieJarAbsorbSetCookie, PutsEveryMatch) {
  const AbsorbCase& c = GetParam();
  CookieJar jar;
  EXPECT_EQ(jar.AbsorbSetCookieText("a.com", c.headers), c.result);
  EXPECT_EQ(Cookies(jar, "a.com"), c.stored);
}

INSTANTIATE_TEST_SUITE_P(
    CookieJar, CookieJarAbsorbSetCookie,
    ::testing::Values(
        AbsorbCase{"empty", "", false, {}},
        AbsorbCase{"noSetCookie", "Content-Type: text/html\r\n", false, {}},
        AbsorbCase{"twoHeaders",
                   "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie: b=2; HttpOnly\r\n",
                   true,
                   {"a=1", "b=2"}},
        AbsorbCase{"ignoresCase", "set-cookie: a=1;\r\nSET-COOKIE: b=2;", true, {"a=1", "b=2"}},
        AbsorbCase{"noSpaceAfterColon", "Set-Cookie:a=1;", true, {"a=1"}},
        AbsorbCase{"laterOneReplaces", "Set-Cookie: a=1;\r\nSet-Cookie: a=2;", true, {"a=2"}},
        AbsorbCase{"emptyNameMatchesButIsRefused", "Set-Cookie: =1;", true, {}},
        // Without a closing ";" the value ends with its line, not in the next header.
        AbsorbCase{"valueEndsAtLineEnd",
                   "Set-Cookie: a=1\r\nContent-Type: text/html; charset=gbk\r\n",
                   true,
                   {"a=1"}},
        AbsorbCase{"lastCookieWithoutSemicolon",
                   "Set-Cookie: a=1; path=/\r\nSet-Cookie: b=2",
                   true,
                   {"a=1", "b=2"}}),
    CaseName<AbsorbCase>);

TEST(CookieJar, AbsorbCookieStringCountsMatchesAndKeepsLeadingSpaces) {
  CookieJar jar;
  EXPECT_EQ(jar.AbsorbCookieString("a.com", "a=1; b=2;c=3"), 3);
  EXPECT_EQ(Cookies(jar, "a.com"), (Texts{"a=1", " b=2", "c=3"}));
  EXPECT_EQ(jar.AbsorbCookieString("a.com", "no pairs here"), 0);
  EXPECT_EQ(jar.AbsorbCookieString("a.com", ""), 0);
  EXPECT_EQ(jar.table.RecordCount(), 3);
}

TEST(CookieJar, BuildCookieHeaderJoinsPairsInRecordOrder) {
  CookieJar jar;
  EXPECT_EQ(jar.BuildCookieHeader("a.com"), "");
  jar.SetCookie("a.com", "b", "2");
  jar.SetCookie("a.com", "a", "1");
  jar.SetCookie("other.com", "c", "3");
  EXPECT_EQ(jar.BuildCookieHeader("a.com"), "b=2; a=1; ");
  EXPECT_EQ(jar.BuildCookieHeader("A.com"), "");
}

TEST(CookieJar, BuildCookieHeaderSkipsBlankValuesAndLineBreaks) {
  CookieJar jar;
  jar.table.Put("a.com", "empty", "");
  jar.table.Put("a.com", "spaces", " 　 ");
  jar.table.Put("a.com", "split", "1\r\nX-Injected: yes");
  jar.table.Put("a.com", "name\nbreak", "2");
  EXPECT_EQ(jar.BuildCookieHeader("a.com"), "");
  jar.table.Put("a.com", "ok", " x ");
  EXPECT_EQ(jar.BuildCookieHeader("a.com"), "ok= x ; ");
}

// 50,000 distinct cookies once took 6 s to absorb and 7 s to turn into a 489 KB header.
TEST(CookieJar, ManyCookiesLeaveTheNewestWithinTheDomainLimit) {
  constexpr int kSent = 50000;
  constexpr int kKept = static_cast<int>(CookieTable::kMaxCookiesPerDomain);
  Text headers;
  Text expected;
  for (int i = 0; i < kSent; ++i) {
    const Text pair = "c" + std::to_string(i) + "=v" + std::to_string(i);
    headers += "Set-Cookie: " + pair + "\r\n";
    if (i >= kSent - kKept) expected += pair + "; ";
  }
  CookieJar jar;
  EXPECT_TRUE(jar.AbsorbSetCookieText("a.com", headers));
  EXPECT_EQ(jar.table.RecordCount(), kKept);
  EXPECT_EQ(jar.BuildCookieHeader("a.com"), expected);
}

TEST(CookieJar, RemoveDomainAndClearCookies) {
  CookieJar jar;
  jar.SetCookie("a.com", "x", "1");
  jar.SetCookie("b.com", "y", "2");
  EXPECT_TRUE(jar.RemoveDomain("a.com"));
  EXPECT_FALSE(jar.RemoveDomain("　"));
  EXPECT_EQ(jar.GetCookie("a.com", "x"), "");
  EXPECT_EQ(jar.table.DomainCount(), 1);
  jar.ClearCookies();
  EXPECT_EQ(jar.GetCookie("b.com", "y"), "");
  EXPECT_EQ(jar.table.DomainCount(), 1);
}

TEST(CookieJar, AbsorbResponseReadsTheComponentsHeaders) {
  CookieJar jar;
  EXPECT_FALSE(jar.AbsorbResponse(nullptr, "a.com"));
  FakeHttpComponent component;
  component.allHeaders = "Server: x\r\nSet-Cookie: sid=42; path=/\r\n";
  EXPECT_TRUE(jar.AbsorbResponse(&component, "a.com"));
  EXPECT_EQ(component.CallsTo("GetAllResponseHeaders").size(), 1u);
  EXPECT_EQ(Cookies(jar, "a.com"), Texts{"sid=42"});
  component.allHeaders = "Server: x\r\n";
  EXPECT_FALSE(jar.AbsorbResponse(&component, "a.com"));
}

TEST(CookieJar, AbsorbResponseFromAFailingComponentStoresNothing) {
  CookieJar jar;
  FakeHttpComponent component;
  component.allHeaders = "Set-Cookie: sid=42;";
  component.failure = CallError::kException;
  EXPECT_FALSE(jar.AbsorbResponse(&component, "a.com"));
  EXPECT_EQ(jar.table.RecordCount(), 0);
}

TEST(CookieJar, ApplyToRequestSetsTheCookieHeaderOnlyWhenThereIsOne) {
  CookieJar jar;
  EXPECT_FALSE(jar.ApplyToRequest(nullptr, "a.com"));
  FakeHttpComponent component;
  EXPECT_FALSE(jar.ApplyToRequest(&component, "a.com"));
  jar.table.Put("a.com", "blank", "  ");
  EXPECT_FALSE(jar.ApplyToRequest(&component, "a.com"));
  EXPECT_TRUE(component.CallsTo("SetRequestHeader").empty());
  jar.SetCookie("a.com", "sid", "42");
  jar.SetCookie("a.com", "lang", "zh");
  EXPECT_TRUE(jar.ApplyToRequest(&component, "a.com"));
  const auto calls = component.CallsTo("SetRequestHeader");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].arguments, (std::vector<std::string>{"Cookie", "sid=42; lang=zh; "}));
  EXPECT_FALSE(jar.ApplyToRequest(nullptr, "a.com"));
}

TEST(CookieJar, SaveLoadFileAndText) {
  TempDir dir;
  const std::string file = dir.File("jar.ini");
  CookieJar saved;
  saved.SetCookie("a.com", "sid", "42");
  ASSERT_TRUE(saved.SaveToFile(file));
  CookieJar loaded;
  ASSERT_TRUE(loaded.LoadFromFile(file));
  EXPECT_EQ(loaded.BuildCookieHeader("a.com"), "sid=42; ");

  Text text = "[c.com]\r\nk=v\r\n";
  EXPECT_TRUE(loaded.LoadFromText(text));
  EXPECT_EQ(text, "");
  EXPECT_EQ(loaded.GetCookie("c.com", "k"), "v");
}

TEST(SharedCookieJar, LivesFromCreateToDestroyAndWithItsHolders) {
  DestroySharedCookieJar();
  EXPECT_EQ(SharedCookieJar(), nullptr);
  CreateSharedCookieJar();
  std::shared_ptr<CookieJar> held = SharedCookieJar();
  ASSERT_NE(held, nullptr);
  held->SetCookie("a.com", "sid", "1");
  CreateSharedCookieJar();
  EXPECT_EQ(SharedCookieJar(), held);
  DestroySharedCookieJar();
  EXPECT_EQ(SharedCookieJar(), nullptr);
  EXPECT_TRUE(held->SetCookie("a.com", "more", "2"));
  EXPECT_EQ(held->BuildCookieHeader("a.com"), "sid=1; more=2; ");
  DestroySharedCookieJar();
}

// Pairs of a header are whole "name=value; " items; anything else means a torn read.
bool IsWellFormedHeader(const Text& header) {
  std::size_t at = 0;
  while (at < header.size()) {
    const std::size_t end = header.find("; ", at);
    if (end == Text::npos) return false;
    const Text pair = header.substr(at, end - at);
    if (pair.find('=') == Text::npos || pair.find('=') != pair.rfind('=')) return false;
    at = end + 2;
  }
  return true;
}

// Works on the shared jar: cookies of its own domain that must all survive, and churn on
// one domain that every worker touches.
void ShareTheJar(int worker, int rounds, std::atomic<int>& tornHeaders) {
  const Text own = "w" + std::to_string(worker) + ".com";
  for (int i = 0; i < rounds; ++i) {
    std::shared_ptr<CookieJar> jar = SharedCookieJar();
    const Text name = "n" + std::to_string(i);
    jar->SetCookie(own, name, std::to_string(i));
    jar->SetCookie("common.com", name, std::to_string(worker));
    if (!IsWellFormedHeader(jar->BuildCookieHeader("common.com"))) ++tornHeaders;
    if (jar->GetCookie(own, name) != std::to_string(i)) ++tornHeaders;
    if (i % 2 == 0) jar->table.Remove("common.com", name);
    if (i % 50 == 0) jar->table.RecordCount(Text("common.com"));
  }
}

TEST(SharedCookieJar, ManyThreadsShareItSafely) {
  constexpr int kWorkers = 8;
  constexpr int kRounds = 150;  // below the per-domain limit, so every own cookie stays
  CreateSharedCookieJar();
  std::atomic<int> tornHeaders{0};
  std::vector<std::thread> workers;
  for (int w = 0; w < kWorkers; ++w) {
    workers.emplace_back(ShareTheJar, w, kRounds, std::ref(tornHeaders));
  }
  for (std::thread& t : workers) t.join();
  std::shared_ptr<CookieJar> jar = SharedCookieJar();
  EXPECT_EQ(tornHeaders.load(), 0);
  for (int w = 0; w < kWorkers; ++w) {
    const Text own = "w" + std::to_string(w) + ".com";
    EXPECT_EQ(jar->table.RecordCount(own), kRounds);
    EXPECT_EQ(jar->GetCookie(own, "n" + std::to_string(kRounds - 1)), std::to_string(kRounds - 1));
  }
  // The common domain is listed again whenever its records ran out in between.
  Texts domains;
  jar->table.ListDomains(domains);
  EXPECT_EQ(std::count(domains.begin(), domains.end(), "w0.com"), 1);
  EXPECT_GE(std::count(domains.begin(), domains.end(), "common.com"), 1);
  EXPECT_EQ(
      static_cast<int>(domains.size()) - std::count(domains.begin(), domains.end(), "common.com"),
      kWorkers);
  EXPECT_LE(jar->table.RecordCount(Text("common.com")), kRounds / 2);
  DestroySharedCookieJar();
}

}  // namespace
}  // namespace vardelle

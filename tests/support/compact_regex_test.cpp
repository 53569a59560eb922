#include "support/regex/compact_regex.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "regex_flags.h"
#include "support/call_error.h"

namespace vardelle {
namespace {

struct Cell {
  int i;
  int j;
  std::string expected;
};

struct CallerCase {
  const char* name;
  std::string pattern;
  RegexFlags flags;
  std::string subject;
  int count;
  std::vector<Cell> cells;
};

const char* const kHostPattern = "(http(s)?://)?([^/:]+)(:(\\d+))?";
const char* const kResponseCookiePattern = "Set-Cookie: ?([^=]+)=(.*)?";
const char* const kSetCookiePattern = "Set-Cookie: ?([^=;]*)=([^=;]*);?";
const char* const kCookieStringPattern = "([^=;]+)=([^=;]+)";

// The patterns and flags with which the request object and the cookie jar use the class;
// a group that took no part reads as "".
const std::vector<CallerCase> kCallerCases = {
    {"hostWithSchemeAndPort",
     kHostPattern,
     {true, true, false},
     "https://Example.com:8080/a:b",
     1,
     {{1, 3, "Example.com"}, {1, 2, "s"}, {1, 5, "8080"}}},
    {"hostWithoutScheme",
     kHostPattern,
     {true, true, false},
     "example.com/x",
     1,
     {{1, 3, "example.com"}, {1, 2, ""}, {1, 5, ""}}},
    {"hostWithUpperCaseScheme",
     kHostPattern,
     {true, true, false},
     "HTTP://服务器.cn",
     1,
     {{1, 3, "服务器.cn"}}},
    {"responseCookies",
     kResponseCookiePattern,
     {},
     "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nset-cookie:b=\r\n",
     2,
     {{1, 1, "a"}, {1, 2, "1; path=/"}, {2, 1, "b"}, {2, 2, ""}}},
    {"setCookieText",
     kSetCookiePattern,
     {true, false, true},
     "Set-Cookie: sid=a b; Path=/",
     1,
     {{1, 1, "sid"}, {1, 2, "a b"}}},
    {"cookieString",
     kCookieStringPattern,
     {},
     "a=1; 名=值;c",
     2,
     {{1, 1, "a"}, {1, 2, "1"}, {2, 1, " 名"}, {2, 2, "值"}}},
};

TEST(CompactRegex, ServesItsCallersPatterns) {
  for (const CallerCase& c : kCallerCases) {
    CompactRegex regex;
    ASSERT_TRUE(regex.Create(c.pattern, c.flags.ignoreCase, c.flags.multiline, c.flags.global));
    EXPECT_EQ(regex.Execute(c.subject), c.count) << c.name;
    EXPECT_EQ(regex.GetCount(), c.count) << c.name;
    for (const Cell& cell : c.cells) {
      SetCallError(CallError::kOther);
      EXPECT_EQ(regex.GetSubMatch(cell.i, cell.j), cell.expected)
          << c.name << " (" << cell.i << "," << cell.j << ")";
      EXPECT_EQ(LastCallErrorCode(), 0) << c.name << " (" << cell.i << "," << cell.j << ")";
    }
  }
}

// The count is cached: reading it, or a sub-match count of no matches, calls nothing and
// leaves the thread's code alone.
TEST(CompactRegex, CachedCountsLeaveTheFailureCodeAlone) {
  CompactRegex regex;
  regex.Create("(a)(b)");
  SetCallError(CallError::kTooManyArguments);
  EXPECT_EQ(regex.GetCount(), 0);
  EXPECT_EQ(regex.GetSubMatchCount(), 0);
  EXPECT_EQ(LastCallErrorCode(), -5);
  ASSERT_EQ(regex.Execute("ab ab"), 2);
  EXPECT_EQ(regex.GetSubMatchCount(), 2);
  EXPECT_EQ(LastCallErrorCode(), 0);
}

TEST(CompactRegex, CreateForgetsTheLastMatches) {
  CompactRegex regex;
  regex.Create("a");
  ASSERT_EQ(regex.Execute("aa"), 2);
  regex.Create("b");
  EXPECT_EQ(regex.GetCount(), 0);
  EXPECT_EQ(regex.GetMatch(1), "");
  EXPECT_EQ(LastCallErrorCode(), -1);
}

TEST(CompactRegex, FailedExecuteLeavesNoMatches) {
  CompactRegex regex;
  regex.Create("(a+)+$");
  ASSERT_EQ(regex.Execute("aaa"), 1);
  EXPECT_EQ(regex.Execute(std::string(30, 'a') + "b"), 0);
  EXPECT_EQ(regex.GetCount(), 0);
  EXPECT_EQ(regex.GetSubMatchCount(), 0);
  EXPECT_EQ(regex.GetMatch(1), "");
  EXPECT_EQ(LastCallErrorCode(), -1);
}

}  // namespace
}  // namespace vardelle

#include "support/regex/regex_object.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/call_error.h"

namespace vardelle {
namespace {

using Escape = std::string (*)(std::string_view);

struct EscapeCase {
  const char* name;
  Escape escape;
  std::string text;
  std::string expected;
};

// "乗亅乕亄" are 81 5C, 81 7C, 81 5B, 81 7B: their second bytes are \ | [ {.
const std::string kTrailBytesInSets = "乗亅乕亄";

const std::vector<EscapeCase> kEscapeCases = {
    {"wildcardBackslashBeforeStar", RegexObject::EscapeWildcardPattern, "a\\*b?(c)-d",
     "a\\\\.*b.?\\(c\\)\\-d"},
    {"wildcardKeepsBar", RegexObject::EscapeWildcardPattern, "x|y.z", "x|y\\.z"},
    {"patternAll", RegexObject::EscapeForPattern, "^$+.{}[]=()?*|\"",
     "\\^\\$\\+\\.\\{\\}\\[\\]\\=\\(\\)\\?\\*\\|\\\""},
    {"patternLeavesHyphen", RegexObject::EscapeForPattern, "a-b\\c", "a-b\\\\c"},
    {"keepBar", RegexObject::EscapeForPatternKeepBar, "(a|b)?", "\\(a|b\\)\\?"},
    {"keepGroups", RegexObject::EscapeForPatternKeepGroups, "(a|b)[c]*", "(a|b)\\[c\\]\\*"},
    {"wildcardTrailBytes", RegexObject::EscapeWildcardPattern, kTrailBytesInSets,
     kTrailBytesInSets},
    {"patternTrailBytes", RegexObject::EscapeForPattern, kTrailBytesInSets, kTrailBytesInSets},
    {"keepBarTrailBytes", RegexObject::EscapeForPatternKeepBar, kTrailBytesInSets,
     kTrailBytesInSets},
    {"keepGroupsTrailBytes", RegexObject::EscapeForPatternKeepGroups, kTrailBytesInSets,
     kTrailBytesInSets},
    {"chineseBetweenEscapes", RegexObject::EscapeForPattern, "中|乗.", "中\\|乗\\."},
};

TEST(RegexObjectEscape, EscapesItsSetAndStepsOverDoubleByteCharacters) {
  for (const EscapeCase& c : kEscapeCases) EXPECT_EQ(c.escape(c.text), c.expected) << c.name;
}

TEST(RegexObjectEscape, EscapedTextMatchesItselfLiterally) {
  const std::string text = "a.b(c)|d*[e]{2}$^+?\\乗中";
  RegexObject regex;
  regex.Create(RegexObject::EscapeForPattern(text));
  ASSERT_EQ(regex.Execute("xx" + text + "xx"), 1);
  EXPECT_EQ(regex.GetMatch(1), text);
}

TEST(RegexObjectEscape, WildcardPatternMatchesLikeAFileMask) {
  RegexObject regex;
  regex.Create("^" + RegexObject::EscapeWildcardPattern("a?c*.txt") + "$");
  EXPECT_EQ(regex.Execute("abc-x.txt\nac.txt\nabbc.txt\nabcxtxt"), 2);
  EXPECT_EQ(regex.GetMatch(2), "ac.txt");
}

TEST(RegexObject, ReadsMatchesAndSubMatchesByOneBasedIndex) {
  RegexObject regex;
  regex.Create("a(b)?");
  ASSERT_EQ(regex.Execute("中a ab"), 2);
  EXPECT_EQ(regex.GetMatch(1), "a");
  EXPECT_EQ(regex.GetMatch(2), "ab");
  EXPECT_EQ(regex.GetSubMatch(2, 1), "b");
  EXPECT_EQ(regex.GetSubMatchCount(), 1);
  EXPECT_EQ(LastCallErrorCode(), 0);
}

// Read as text, a group that took no part is not a text; one that matched "" is.
TEST(RegexObject, UnsetGroupReadsAsTypeMismatch) {
  RegexObject regex;
  regex.Create("a(b)?(c?)");
  ASSERT_EQ(regex.Execute("a"), 1);
  EXPECT_EQ(regex.GetSubMatch(1, 1), "");
  EXPECT_EQ(LastCallErrorCode(), -8);
  EXPECT_EQ(regex.GetSubMatch(1, 2), "");
  EXPECT_EQ(LastCallErrorCode(), 0);
}

TEST(RegexObject, PositionsAreZeroBasedUtf16IndexesOfTheWholeMatch) {
  RegexObject regex;
  regex.Create("x(y)");
  ASSERT_EQ(regex.Execute("中　xy文xy"), 2);
  int position = -5;
  EXPECT_EQ(regex.GetMatchAt(1, &position), "xy");
  EXPECT_EQ(position, 2);
  EXPECT_EQ(regex.GetSubMatchAt(2, 1, &position), "y");
  EXPECT_EQ(position, 5);
  EXPECT_EQ(regex.GetMatchAt(3, &position), "");
  EXPECT_EQ(position, 0);
  EXPECT_EQ(regex.GetMatchAt(1), "xy");
}

struct BadRead {
  const char* name;
  std::function<std::string(const RegexObject&)> read;
};

TEST(RegexObject, IndexOutsideTheMatchesFails) {
  const std::vector<BadRead> reads = {
      {"matchZero", [](const RegexObject& r) { return r.GetMatch(0); }},
      {"matchNegative", [](const RegexObject& r) { return r.GetMatch(-1); }},
      {"matchAfterLast", [](const RegexObject& r) { return r.GetMatch(3); }},
      {"subMatchOfMatchZero", [](const RegexObject& r) { return r.GetSubMatch(0, 1); }},
      {"subMatchZero", [](const RegexObject& r) { return r.GetSubMatch(1, 0); }},
      {"subMatchAfterLast", [](const RegexObject& r) { return r.GetSubMatch(1, 2); }},
      {"subMatchAtAfterLast", [](const RegexObject& r) { return r.GetSubMatchAt(3, 1); }},
  };
  RegexObject regex;
  regex.Create("(a)");
  ASSERT_EQ(regex.Execute("aa"), 2);
  for (const BadRead& bad : reads) {
    SetCallError(CallError::kNone);
    EXPECT_EQ(bad.read(regex), "") << bad.name;
    EXPECT_EQ(LastCallErrorCode(), -11) << bad.name;
  }
}

TEST(RegexObject, ReadersBeforeExecuteFindNoCollection) {
  RegexObject regex;
  regex.Create("a");
  EXPECT_EQ(regex.GetCount(), 0);
  EXPECT_EQ(LastCallErrorText(), "对象为空");
  SetCallError(CallError::kNone);
  EXPECT_EQ(regex.GetSubMatchCount(), 0);
  EXPECT_EQ(LastCallErrorCode(), -1);
}

TEST(RegexObject, SubMatchCountOfNoMatchFails) {
  RegexObject regex;
  regex.Create("(a)(b)");
  ASSERT_EQ(regex.Execute("xyz"), 0);
  EXPECT_EQ(LastCallErrorCode(), 0);
  EXPECT_EQ(regex.GetSubMatchCount(), 0);
  EXPECT_EQ(LastCallErrorCode(), -11);
}

TEST(RegexObject, CreateKeepsTheMatchesOfTheLastExecute) {
  RegexObject regex;
  regex.Create("a+");
  ASSERT_EQ(regex.Execute("aa b a"), 2);
  regex.Create("b");
  EXPECT_EQ(regex.GetCount(), 2);
  EXPECT_EQ(regex.GetMatch(1), "aa");
  EXPECT_EQ(regex.Execute("bb"), 2);
  EXPECT_EQ(regex.GetMatch(1), "b");
}

}  // namespace
}  // namespace vardelle

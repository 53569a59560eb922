// Behaviour that RegexObject and CompactRegex share: the engine's syntax and semantics, the
// replacement rules and the failure codes. Every case runs on both classes.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "named_cases.h"
#include "regex_flags.h"
#include "support/call_error.h"
#include "support/regex/compact_regex.h"
#include "support/regex/regex_engine.h"
#include "support/regex/regex_object.h"

namespace vardelle {
namespace {

struct SearchCase {
  const char* name;
  std::string pattern;
  std::string subject;
  RegexFlags flags;
  std::vector<std::string> expected;
};

struct ReplaceCase {
  const char* name;
  std::string pattern;
  std::string replacement;
  std::string subject;
  RegexFlags flags;
  std::string expected;
};

const RegexFlags kCaseSensitive{false, true, true};
const RegexFlags kSingleLine{true, false, true};
const RegexFlags kFirstOnly{true, true, false};

// Search semantics as JavaScript has them: a code unit is a character (so a Chinese
// character or the full-width space U+3000 is one), \d \w \b are ASCII, \s takes U+3000.
const std::vector<SearchCase> kSearchCases = {
    {"fullWidthSpaceIsWhitespace", "\\s", "a　b", {}, {"　"}},
    {"chineseCharacterIsOneCharacter", "^..$", "中文", {}, {"中文"}},
    {"fullWidthDigitsAreNotDigits", "\\d+", "１２34", {}, {"34"}},
    {"chineseIsNotAWordCharacter", "\\w+", "中ab文", {}, {"ab"}},
    {"boundaryBesideChinese", "\\bab\\b", "中ab文", {}, {"ab"}},
    {"noBoundaryInsideWord", "\\Bb", "ab 中b", {}, {"b"}},
    {"classEscapesAreAscii", "[\\d\\s]+", "５ 5", {}, {" 5"}},
    {"negatedClassEscapesKeepLetters", "[\\W]+", "kKs中!", {}, {"中!"}},
    {"notDigitInClass", "[\\D]+", "12中a34", {}, {"中a"}},
    {"emptyMatchesAdvanceOneUnit", "x*", "中b", {}, {"", "", ""}},
    {"dollarOnlyAtVeryEnd", "a$", "a\n", kSingleLine, {}},
    {"dollarAtLineEnds", "a$", "a\r\na", {}, {"a", "a"}},
    {"caretAtLineStarts", "^\\w", "a\rb\nc", {}, {"a", "b", "c"}},
    {"dotStopsAtLineBreaks", ".+", "ab\r\ncd", {}, {"ab", "cd"}},
    {"unicodeCaseFolding", "дα", "ДΑ", {}, {"ДΑ"}},
    {"caseSensitive", "дα", "ДΑ", kCaseSensitive, {}},
    {"asciiCaseFolding", "set-cookie", "SET-COOKIE", {}, {"SET-COOKIE"}},
    {"firstOnlyWithoutGlobal", "\\d", "1 2 3", kFirstOnly, {"1"}},
    {"unsetBackreferenceMatchesEmpty", "(a)?b\\1", "b", {}, {"b"}},
    {"unicodeEscape", "\\u4e2d", "文中", {}, {"中"}},
    {"verticalTabEscape", "\\v", "\n\x0b", {}, {"\x0b"}},
    {"bracketInsideClassIsLiteral", "[[:a]+", "b[:a", {}, {"[:a"}},
    {"emptyClassMatchesNothing", "a[]", "a", {}, {}},
    {"negatedEmptyClassMatchesAnything", "[^]", "\n", {}, {"\n"}},
    {"readerSpacingPattern", "[\\s　]+(\\[|{|\")", "a :　[ {\t\"x\"", {}, {"　[", " {", "\t\""}},
};

const std::vector<ReplaceCase> kReplaceCases = {
    {"groupsSwapped", "(\\d)(\\d)", "$2$1", "12 34", {}, "21 43"},
    {"wholeMatch", "b", "[$&]", "abc", {}, "a[b]c"},
    {"dollarDollar", "b", "$$", "abc", {}, "a$c"},
    {"textBefore", "b", "$`", "abc", {}, "aac"},
    {"textAfter", "b", "$'", "abc", {}, "acc"},
    {"oneDigitWhenTwoNameNoGroup", "(b)", "$10", "abc", {}, "ab0c"},
    {"twoDigitGroup",
     "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)(l)",
     "$12$11$01",
     "abcdefghijkl",
     {},
     "lka"},
    {"dollarZeroIsLiteral", "(b)", "$0", "abc", {}, "a$0c"},
    {"missingGroupIsLiteral", "(b)", "$2", "abc", {}, "a$2c"},
    {"loneDollar", "b", "$", "abc", {}, "a$c"},
    {"unsetGroupIsEmpty", "(x)?b", "[$1]", "abc", {}, "a[]c"},
    {"emptyMatchesEverywhere", "x*", "-", "ab", {}, "-a-b-"},
    {"firstOnlyWithoutGlobal", "b", "X", "bbb", kFirstOnly, "Xbb"},
    {"chineseCharacters", "文", "字", "中文中文", {}, "中字中字"},
    {"readerCompactSpacing", "[\\s　]+(\\[|{|\")", "$1", "a :　[ {\t\"x\"", {}, "a :[{\"x\""},
    {"readerTrimPerLine", "^[ 　\\t]+|[ 　\\t]+$", "", "  a　\r\n\tb  ", {}, "a\r\nb"},
    {"readerPathNormalising",
     "([^\\.])(\\[\\d+\\])(\\.?)",
     "$1.$2$3",
     "list[0].x[1][2]",
     {},
     "list.[0].x.[1][2]"},
};

using named_cases::CaseName;
using named_cases::PrintTo;

template <class Regex>
std::vector<std::string> AllMatches(const Regex& regex) {
  std::vector<std::string> found;
  for (int i = 1; i <= regex.GetCount(); ++i) found.push_back(regex.GetMatch(i));
  return found;
}

template <class Regex>
class RegexCommon : public ::testing::Test {};

using RegexClasses = ::testing::Types<RegexObject, CompactRegex>;
TYPED_TEST_SUITE(RegexCommon, RegexClasses);

TYPED_TEST(RegexCommon, SearchesLikeJavaScript) {
  for (const SearchCase& c : kSearchCases) {
    TypeParam regex;
    regex.Create(c.pattern, c.flags.ignoreCase, c.flags.multiline, c.flags.global);
    EXPECT_EQ(regex.Execute(c.subject), static_cast<int>(c.expected.size())) << c.name;
    EXPECT_EQ(AllMatches(regex), c.expected) << c.name;
  }
}

TYPED_TEST(RegexCommon, ReplacesLikeJavaScript) {
  for (const ReplaceCase& c : kReplaceCases) {
    TypeParam regex;
    regex.Create(c.pattern, c.flags.ignoreCase, c.flags.multiline, c.flags.global);
    EXPECT_EQ(regex.Replace(c.subject, c.replacement), c.expected) << c.name;
    EXPECT_EQ(LastCallErrorCode(), 0) << c.name;
  }
}

TYPED_TEST(RegexCommon, FlagsDefaultToCaseInsensitiveMultilineGlobal) {
  TypeParam regex;
  regex.Create("^a");
  EXPECT_EQ(regex.Execute("A\na\nb"), 2);
}

// Bytes that are not GBK pass through the engine as characters of their own.
TYPED_TEST(RegexCommon, BytesThatAreNotGbkSurvive) {
  const std::string subject =
      "\xFF"
      "a"
      "\xB0"
      "1中a\xB0";
  TypeParam regex;
  regex.Create("a");
  EXPECT_EQ(regex.Replace(subject, "XY"),
            "\xFF"
            "XY"
            "\xB0"
            "1中XY\xB0");
  regex.Create(".");
  ASSERT_EQ(regex.Execute(subject), 7);
  EXPECT_EQ(regex.GetMatch(1), "\xFF");
  EXPECT_EQ(regex.GetMatch(7), "\xB0");
  regex.Create("[^a]+");
  EXPECT_EQ(regex.Replace(subject, "$&"), subject);
}

TYPED_TEST(RegexCommon, SuccessClearsTheFailureCode) {
  TypeParam regex;
  regex.Create("a");
  SetCallError(CallError::kOther);
  EXPECT_EQ(regex.Execute("a"), 1);
  EXPECT_EQ(LastCallErrorCode(), 0);
  SetCallError(CallError::kOther);
  EXPECT_EQ(regex.GetPattern(), "a");
  EXPECT_EQ(LastCallErrorCode(), 0);
}

TYPED_TEST(RegexCommon, CallsBeforeCreateFindNoObject) {
  TypeParam regex;
  EXPECT_EQ(regex.Execute("a"), 0);
  EXPECT_EQ(LastCallErrorCode(), -1);
  SetCallError(CallError::kOther);
  EXPECT_EQ(regex.Replace("a", "b"), "");
  EXPECT_EQ(LastCallErrorCode(), -1);
  EXPECT_EQ(regex.GetPattern(), "");
  EXPECT_EQ(regex.GetMatch(1), "");
  EXPECT_EQ(LastCallErrorCode(), -1);
}

// The instance exists but refuses the pattern: its searches fail until the next Create.
TYPED_TEST(RegexCommon, UncompilablePatternFailsItsCalls) {
  TypeParam regex;
  EXPECT_TRUE(regex.Create("a(b"));
  EXPECT_EQ(LastCallErrorText(), "发现异常");
  EXPECT_EQ(regex.GetPattern(), "");
  EXPECT_EQ(regex.Execute("ab"), 0);
  EXPECT_EQ(LastCallErrorCode(), -11);
  SetCallError(CallError::kNone);
  EXPECT_EQ(regex.Replace("ab", "x"), "");
  EXPECT_EQ(LastCallErrorCode(), -11);
  EXPECT_TRUE(regex.Create("a(b)"));
  EXPECT_EQ(regex.Execute("ab"), 1);
  EXPECT_EQ(regex.GetPattern(), "a(b)");
}

TYPED_TEST(RegexCommon, RunawaySearchStopsWithAFailure) {
  const std::string subject = std::string(30, 'a') + "b";
  TypeParam regex;
  regex.Create("(a+)+$");
  EXPECT_EQ(regex.Execute(subject), 0);
  EXPECT_EQ(LastCallErrorCode(), -11);
  EXPECT_EQ(regex.GetCount(), 0);
  EXPECT_EQ(regex.Replace(subject, "x"), "");
  EXPECT_EQ(LastCallErrorCode(), -11);
}

TYPED_TEST(RegexCommon, HandlesSixteenMegabyteSubjects) {
  const int repeats = 16 * 1024 * 1024 / 5;
  std::string subject;
  std::string replaced;
  for (int i = 0; i < repeats; ++i) {
    subject += "ab12 ";
    replaced += "ab# ";
  }
  TypeParam regex;
  regex.Create("\\d+");
  EXPECT_EQ(regex.Execute(subject), repeats);
  EXPECT_EQ(regex.GetMatch(repeats), "12");
  EXPECT_EQ(regex.Replace(subject, "#"), replaced);
  regex.Create("^[ 　\\t]+|[ 　\\t]+$");
  EXPECT_EQ(regex.Replace(" \t" + subject, ""), subject.substr(0, subject.size() - 1));
}

// Compiled patterns are shared by pattern and options; failures and patterns past the
// bound are compiled anew each time, so hostile patterns cannot grow the store.
TEST(SharedPatternsTest, SharesByPatternAndOptionsWithinItsBound) {
  SharedPatterns shared(SystemRegexEngine(), 2);
  const auto first = shared.Compile(u"a+b", {});
  ASSERT_TRUE(first.value);
  EXPECT_EQ(shared.Compile(u"a+b", {}).value, first.value);
  const auto caseSensitive = shared.Compile(u"a+b", {.ignoreCase = false});
  EXPECT_NE(caseSensitive.value, first.value);
  const auto broken = shared.Compile(u"a(", {});
  EXPECT_EQ(broken.value, nullptr);
  EXPECT_EQ(broken.error, CallError::kException);
  EXPECT_NE(shared.Compile(u"c", {}).value, shared.Compile(u"c", {}).value);
  EXPECT_EQ(shared.Compile(u"a+b", {.ignoreCase = false}).value, caseSensitive.value);
}

}  // namespace
}  // namespace vardelle

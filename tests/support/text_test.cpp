#include "support/text/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <ostream>
#include <string>

#include "named_cases.h"

namespace vardelle {
namespace {

using named_cases::CaseName;
using named_cases::PrintTo;

// "中" is D6 D0 and "文" is CE C4; "\xB0\x41" is a GBK character whose second byte is 'A'.
const std::string kChinese = "中文";
const std::string kTrailA = "\xB0\x41";

struct FindCase {
  const char* name;
  std::string text;
  std::string wanted;
  FindOptions options;
  int expected;
};

class TextFind : public ::testing::TestWithParam<FindCase> {};

TEST_P(TextFind, AnswersPositionOrMinusOne) {
  const FindCase& c = GetParam();
  EXPECT_EQ(FindText(c.text, c.wanted, c.options), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Text, TextFind,
    ::testing::Values(
        FindCase{"first", "abcabc", "bc", {}, 2},
        FindCase{"fromStart", "abcabc", "bc", {3, false}, 5},
        FindCase{"startAtMatch", "abcabc", "bc", {5, false}, 5},
        FindCase{"startPastMatch", "abcabc", "bc", {6, false}, -1},
        FindCase{"startBeyondEnd", "abc", "c", {4, false}, -1},
        FindCase{"startNegative", "abc", "a", {-5, false}, 1},
        FindCase{"startIntMin", "abc", "b", {INT_MIN, false}, 2},
        FindCase{"startIntMax", "abc", "b", {INT_MAX, false}, -1},
        FindCase{"missing", "abc", "d", {}, -1}, FindCase{"wantedLonger", "ab", "abc", {}, -1},
        FindCase{"atEnd", "abc", "c", {}, 3},
        FindCase{"caseSensitive", "serverinfo", "ServerInfo", {}, -1},
        FindCase{"ignoreCase", "xserverinfo", "ServerInfo", {1, true}, 2},
        FindCase{"ignoreCaseUpperText", "SERVERINFO", "serverinfo", {1, true}, 1},
        FindCase{"emptyWanted", "abc", "", {}, 1},
        FindCase{"emptyWantedLaterStart", "abc", "", {3, false}, 1},
        FindCase{"emptyBoth", "", "", {}, -1}, FindCase{"emptyText", "", "a", {}, -1},
        FindCase{"chineseSecond", "a" + kChinese, "文", {}, 4},
        // "\xD0\xCE" would match across the boundary of 中 and 文, starting at a second byte.
        FindCase{"neverAtSecondByte", kChinese, "\xD0\xCE", {}, -1},
        FindCase{"secondByteAsAscii", kTrailA + "A", "A", {}, 3},
        FindCase{"secondByteNotFolded", kTrailA, "\xB0\x61", {1, true}, -1},
        FindCase{"foldAfterDoubleByte", kTrailA + "x", "\xB0\x41X", {1, true}, 1},
        FindCase{"leadByteAtEnd", "ab\xB0", "\xB0", {}, 3}),
    CaseName<FindCase>);

struct CutCase {
  const char* name;
  std::string text;
  int start;  // used by mid only
  int n;
  std::string left, right, mid;
};

class TextCut : public ::testing::TestWithParam<CutCase> {};

TEST_P(TextCut, LeftRightMid) {
  const CutCase& c = GetParam();
  EXPECT_EQ(LeftText(c.text, c.n), c.left);
  EXPECT_EQ(RightText(c.text, c.n), c.right);
  EXPECT_EQ(MidText(c.text, c.start, c.n), c.mid);
}

INSTANTIATE_TEST_SUITE_P(
    Text, TextCut,
    ::testing::Values(CutCase{"inside", "abcdef", 2, 3, "abc", "def", "bcd"},
                    CutCase{"wholeLength", "abc", 1, 3, "abc", "abc", "abc"},
                    CutCase{"longerThanText", "abc", 2, 10, "abc", "abc", "bc"},
                    CutCase{"hugeN", "abc", 3, INT_MAX, "abc", "abc", "c"},
                    CutCase{"zeroN", "abc", 1, 0, "", "", ""},
                    CutCase{"negativeN", "abc", 1, -1, "", "", ""},
                    CutCase{"intMinN", "abc", 1, INT_MIN, "", "", ""},
                    CutCase{"startBeyondEnd", "abc", 4, 1, "a", "c", ""},
                    CutCase{"startZero", "abc", 0, 2, "ab", "bc", ""},
                    CutCase{"startIntMin", "abc", INT_MIN, 2, "ab", "bc", ""},
                    CutCase{"startIntMax", "abc", INT_MAX, INT_MAX, "abc", "abc", ""},
                    CutCase{"emptyText", "", 1, 1, "", "", ""},
                    // Cuts count bytes, not characters.
                    CutCase{"bytesOfChinese", "中文", 2, 2, "中", "文", "\xD0\xCE"}),
    CaseName<CutCase>);

struct TextReplaceCase {
  const char* name;
  std::string text, wanted, replacement;
  bool caseSensitive;
  std::string expected;
};

class TextReplace : public ::testing::TestWithParam<TextReplaceCase> {};

TEST_P(TextReplace, ReplacesEveryOccurrence) {
  const TextReplaceCase& c = GetParam();
  EXPECT_EQ(ReplaceText(c.text, c.wanted, c.replacement, c.caseSensitive), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Text, TextReplace,
    ::testing::Values(TextReplaceCase{"every", "a-b-c", "-", "+", true, "a+b+c"},
                    TextReplaceCase{"atEdges", "xaxbx", "x", "", true, "ab"},
                    TextReplaceCase{"growing", "aa", "a", "aa", true, "aaaa"},
                    TextReplaceCase{"insertedNotRescanned", "ab", "ab", "aab", true, "aab"},
                    TextReplaceCase{"nonOverlapping", "aaa", "aa", "b", true, "ba"},
                    TextReplaceCase{"noMatch", "abc", "x", "y", true, "abc"},
                    TextReplaceCase{"emptyWanted", "abc", "", "y", true, "abc"},
                    TextReplaceCase{"emptyText", "", "a", "b", true, ""},
                    TextReplaceCase{"caseSensitive", "aAa", "a", "b", true, "bAb"},
                    TextReplaceCase{"ignoreCase", "aAa", "a", "b", false, "bbb"},
                    TextReplaceCase{"chinese", "中文中", "中", "ab", true, "ab文ab"},
                    TextReplaceCase{"notAtSecondByte", "中文", "\xD0\xCE", "!", true, "中文"},
                    TextReplaceCase{"secondByteKept", kTrailA + "A", "A", "b", true, kTrailA + "b"}),
    CaseName<TextReplaceCase>);

struct CaseMapCase {
  const char* name;
  std::string text, upper, lower;
};

class TextCaseMap : public ::testing::TestWithParam<CaseMapCase> {};

TEST_P(TextCaseMap, ChangesOnlyAsciiLetters) {
  const CaseMapCase& c = GetParam();
  EXPECT_EQ(UpperText(c.text), c.upper);
  EXPECT_EQ(LowerText(c.text), c.lower);
}

INSTANTIATE_TEST_SUITE_P(Text, TextCaseMap,
                         ::testing::Values(CaseMapCase{"ascii", "aZ09@[`{", "AZ09@[`{", "az09@[`{"},
                                         CaseMapCase{"empty", "", "", ""},
                                         CaseMapCase{"secondByteSkipped",
                                                     "\xB0\x61"
                                                     "a\xB0\x41"
                                                     "A",
                                                     "\xB0\x61"
                                                     "A\xB0\x41"
                                                     "A",
                                                     "\xB0\x61"
                                                     "a\xB0\x41"
                                                     "a"},
                                         CaseMapCase{"loneLeadAtEnd", "a\xB0", "A\xB0", "a\xB0"}),
                         CaseName<CaseMapCase>);

TEST(TextPrimitives, LengthCountsBytes) {
  EXPECT_EQ(TextLength(""), 0);
  EXPECT_EQ(TextLength("ab" + kChinese), 6);
}

TEST(TextPrimitives, JoinSkipsMissingParts) {
  EXPECT_EQ(JoinTexts({"ab", "", "中"}), "ab中");
  EXPECT_EQ(JoinTexts({"", ""}), "");
  EXPECT_EQ(JoinTexts({}), "");
}

TEST(TextPrimitives, CompareIsBytewiseUnsigned) {
  EXPECT_EQ(CompareTexts("abc", "abc"), 0);
  EXPECT_EQ(CompareTexts("", ""), 0);
  EXPECT_LT(CompareTexts("abc", "abd"), 0);
  EXPECT_GT(CompareTexts("abc", "ab"), 0);
  EXPECT_LT(CompareTexts("", "a"), 0);
  EXPECT_LT(CompareTexts("B", "a"), 0);
  EXPECT_GT(CompareTexts("中", "z"), 0);
}

TEST(TextPrimitives, SpacesOnlyForPositiveCount) {
  EXPECT_EQ(SpaceText(3), "   ");
  EXPECT_EQ(SpaceText(0), "");
  EXPECT_EQ(SpaceText(-1), "");
  EXPECT_EQ(SpaceText(INT_MIN), "");
}

struct TruncateCase {
  double value;
  int expected;
};

class TextTruncate : public ::testing::TestWithParam<TruncateCase> {};

TEST_P(TextTruncate, CutsTowardZeroAndSaturates) {
  EXPECT_EQ(TruncateReal(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Text, TextTruncate,
    ::testing::Values(TruncateCase{2.9, 2}, TruncateCase{-2.9, -2}, TruncateCase{0.5, 0},
                    TruncateCase{-0.5, 0}, TruncateCase{2147483647.9, INT_MAX},
                    TruncateCase{-2147483648.9, INT_MIN}, TruncateCase{2147483648.0, INT_MAX},
                    TruncateCase{-2147483649.0, INT_MIN}, TruncateCase{1e300, INT_MAX},
                    TruncateCase{-1e300, INT_MIN},
                    TruncateCase{std::numeric_limits<double>::infinity(), INT_MAX},
                    TruncateCase{-std::numeric_limits<double>::infinity(), INT_MIN},
                    TruncateCase{std::nan(""), 0}));

TEST(TextDecodeGb2312, GbkBytesBecomeTheSameText) {
  const std::string text = "ServerInfo : {\"电信一\":\"艾欧尼亚\"}";
  EXPECT_EQ(DecodeBytesAsGb2312(BytesOf(text)), text);
}

TEST(TextDecodeGb2312, EmptyBytesGiveEmptyText) { EXPECT_EQ(DecodeBytesAsGb2312({}), ""); }

TEST(TextDecodeGb2312, InvalidBytesSurvive) {
  const Bytes bytes = {'a', 0x81, 0x30, 0xFF, 0xB0};
  EXPECT_EQ(DecodeBytesAsGb2312(bytes), std::string("a\x81\x30\xFF\xB0"));
}

}  // namespace
}  // namespace vardelle

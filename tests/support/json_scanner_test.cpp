#include "support/json/json_scanner.h"

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "support/regex/regex_object.h"

namespace vardelle {
namespace {

// The scanner skips the expression engine where it can; these inputs must come out exactly
// as the engine leaves them, fast path or not.
const std::vector<std::string> kSamples = {
    "",
    "\"old_name\"",
    "\"艾欧尼亚\"",
    "  \"a b\"  ",
    "\t\"x\"\t",
    "\"\"\"",
    "\xA1\xA1\"x\"\xA1\xA1",
    "\"\xA1\xA1x\xA1\xA1\"",
    "a \xA1\xA1 b",
    "\xB0\xA1\xA1\xB0",  // A1 A1 split across two characters is no full-width space
    " 1",
    "true\n",
    "line one \n  \"two\"  \n three",
    "\r\n\"x\"\r\n",
    "p [q] {r} \"s\" ]\t}",
    "[ 1, 2 ] }",
    "\x81 [\x81\"",
    "\xFF\x80 \"",
    "\"\"x\"\"",
    "\"a\" :\"b\"",
};

class JsonScannerPatterns : public ::testing::TestWithParam<std::string> {
 protected:
  static std::string Engine(const char* pattern, const std::string& text, const char* replacement) {
    RegexObject regex;
    regex.Create(pattern);
    return regex.Replace(text, replacement);
  }
  JsonScanner scanner;
};

TEST_P(JsonScannerPatterns, CleanNameEqualsTheCleaningPattern) {
  EXPECT_EQ(scanner.cleanName(GetParam()),
            Engine("[\\s　]+\"|\"[\\s　]+|^[ 　\"\\t]+|[ 　\"\\t]+$", GetParam(), ""));
}

TEST_P(JsonScannerPatterns, TrimValueEqualsTheTrimPattern) {
  EXPECT_EQ(scanner.trimValue(GetParam()), Engine("^[ 　\\t]+|[ 　\\t]+$", GetParam(), ""));
}

TEST_P(JsonScannerPatterns, CompactSpacingEqualsBothSpacingPatterns) {
  const std::string before = Engine("[\\s　]+(\\[|{|\")", GetParam(), "$1");
  EXPECT_EQ(scanner.compactSpacing(GetParam()), Engine("(\\]|}|\")[\\s　]+", before, "$1"));
}

INSTANTIATE_TEST_SUITE_P(JsonSamples, JsonScannerPatterns, ::testing::ValuesIn(kSamples));

TEST(JsonScannerLoad, BlanksStringLiteralsAndProtectsEscapedQuotes) {
  JsonScanner scanner;
  scanner.load(R"({"k":"a\"b","m":"c\\"} "open)");
  EXPECT_EQ(scanner.sourceBuffer(), R"({"k":"a\''b","m":"c\\"}"open)");
  EXPECT_EQ(scanner.scanBuffer(), R"({" ":"     "," ":"   "}"open)");
}

TEST(JsonScannerLoad, BalanceCountsBracketsBracesAndQuotesStrictlyBetween) {
  JsonScanner scanner;
  scanner.load(R"([{"a":[1]},"x",[2)");
  EXPECT_TRUE(scanner.isBalanced(1, 11));    // {"a":[1]}
  EXPECT_FALSE(scanner.isBalanced(1, 10));   // {"a":[1]  misses a brace
  EXPECT_FALSE(scanner.isBalanced(1, 13));   // ...,"  odd quotes
  EXPECT_FALSE(scanner.isBalanced(15, 18));  // [2  misses a bracket
  EXPECT_TRUE(scanner.isBalanced(5, 6));     // nothing between
  EXPECT_FALSE(scanner.isBalanced(JsonScanner::kNone, 6));
}

TEST(JsonScannerMembers, CutNamesAndValuesAtBalancedDelimiters) {
  JsonScanner scanner;
  const auto members =
      scanner.splitObject(R"({ "a" : [1,{"b":2}] , "c":{"d":[3]},"e" :"f"})", true);
  ASSERT_EQ(members.size(), 3u);
  EXPECT_EQ(members[0].name, "a");
  EXPECT_EQ(members[0].value, R"([1,{"b":2}])");
  EXPECT_EQ(members[1].name, "c");
  EXPECT_EQ(members[1].value, R"({"d":[3]})");
  EXPECT_EQ(members[2].name, "e");
  EXPECT_EQ(members[2].value, R"("f")");
}

TEST(JsonScannerMembers, MissingEndsAnswerOutOfRange) {
  JsonScanner scanner;
  scanner.load(R"({"a":"b)");
  EXPECT_EQ(scanner.nextMemberName(1).position, 5);
  const JsonCut value = scanner.nextMemberValue(5);
  EXPECT_EQ(value.text, JsonScanner::kOutOfRange);
  EXPECT_EQ(value.position, JsonScanner::kNone);
  scanner.load(R"({"a")");
  EXPECT_EQ(scanner.nextMemberName(1).position, JsonScanner::kNone);
}

TEST(JsonScannerElements, SplitArraysAtTopLevelCommas) {
  JsonScanner scanner;
  EXPECT_EQ(scanner.splitArray(R"([1, [2,3] ,{"a":[4,5]},"x,y"])", true),
            (std::vector<Text>{"1", "[2,3]", R"({"a":[4,5]})", R"("x,y")"}));
  EXPECT_TRUE(scanner.splitArray("[]", true).empty());
  EXPECT_TRUE(scanner.splitArray("[ ]", true).empty());
  EXPECT_EQ(scanner.splitArray("[,]", true), (std::vector<Text>{"", ""}));
}

TEST(JsonScannerElements, TopLevelKindFollowsTheFirstBracketOrBrace) {
  JsonScanner scanner;
  EXPECT_EQ(scanner.detectTopLevel(R"({"a":[1]})").kind, 1);
  EXPECT_EQ(scanner.detectTopLevel(R"("{" [1])").kind, 2);
  const JsonTopLevel bare = scanner.detectTopLevel("12");
  EXPECT_EQ(bare.kind, 2);
  EXPECT_EQ(bare.elements, std::vector<Text>{"12"});
}

struct SplitCase {
  const char* path;
  std::vector<Text> parts;
};

class JsonScannerPaths : public ::testing::TestWithParam<SplitCase> {};

TEST_P(JsonScannerPaths, SplitAtDotsOutsideQuotes) {
  JsonScanner scanner;
  std::vector<Text> parts;
  EXPECT_EQ(scanner.splitPath(GetParam().path), static_cast<int>(GetParam().parts.size()));
  EXPECT_EQ(scanner.takePathParts(parts), static_cast<int>(GetParam().parts.size()));
  EXPECT_EQ(parts, GetParam().parts);
  // The views of a read are the same parts, and become the parts taken after it.
  JsonScanner reading;
  const std::span<const std::string_view> views = reading.pathPartViews(GetParam().path);
  EXPECT_EQ(std::vector<Text>(views.begin(), views.end()), GetParam().parts);
  reading.takePathParts(parts);
  EXPECT_EQ(parts, GetParam().parts);
}

INSTANTIATE_TEST_SUITE_P(JsonPaths, JsonScannerPaths,
                         ::testing::Values(SplitCase{"data.country", {"data", "country"}},
                                         SplitCase{"[1].old_name", {"[1]", "old_name"}},
                                         SplitCase{"\"a.b\".c", {"a.b", "c"}},
                                         SplitCase{"''a.b''.c", {"a.b", "c"}},
                                         SplitCase{" x . y ", {"x", "y"}},
                                         SplitCase{"a.", {"a", ""}}, SplitCase{"", {""}},
                                         SplitCase{"a.\"b.c", {"a"}}));

TEST(JsonScannerPaths, NormalizeMovesDotsAroundIndexes) {
  JsonScanner scanner;
  EXPECT_EQ(scanner.normalizePath("list[0].x", 1), "list.[0].x");
  EXPECT_EQ(scanner.normalizePath("a[1][2]", 1), "a.[1][2]");
  EXPECT_EQ(scanner.normalizePath("list.[0].x", 1), "list.[0].x");
  EXPECT_EQ(scanner.normalizePath("list.[0].x", 0), "list[0].x");
  EXPECT_EQ(scanner.normalizePath("a.b", 2), "");
}

TEST(JsonScannerMarkers, TextBetweenMarkers) {
  JsonScanner scanner;
  int next = 0;
  EXPECT_EQ(scanner.textBetween(R"(x "a" y "b")", "''", "''", 1, &next), "a");
  EXPECT_EQ(next, 6);
  EXPECT_EQ(scanner.textBetween(R"(x "a" y "b")", "''", "''", next, &next), "b");
  EXPECT_EQ(scanner.textBetween("head:tail", "", ":", 1, &next), "head");
  EXPECT_EQ(scanner.textBetween("head:tail", ":", "", 1, &next), "tail");
  EXPECT_EQ(scanner.textBetween("head", "<", ">", 1, &next), "");
  EXPECT_EQ(next, JsonScanner::kNone);
}

}  // namespace
}  // namespace vardelle

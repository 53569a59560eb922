#include "support/json/json_reader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace vardelle {
namespace {

std::string ReadFixture(const std::string& name) {
  std::ifstream file(std::string(VARDELLE_FIXTURES) + "/json/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string Repeat(std::string_view piece, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

TEST(JsonReaderDocuments, ServerListIsReadEntryByEntry) {
  JsonReader reader;
  reader.parse(ReadFixture("server_list.json"));
  ASSERT_EQ(reader.getCount(""), 6);
  EXPECT_EQ(reader.getText("[1].old_name"), "电信一");
  EXPECT_EQ(reader.getText("[1].new_name"), "艾欧尼亚");
  EXPECT_EQ(reader.getText("[1].domain"), "hn1-new.lol.qq.com");
  EXPECT_EQ(reader.getText("[6].old_name"), "教育网专区");
  EXPECT_EQ(reader.getText("[6].domain"), "edu1.lol.qq.com");
  EXPECT_EQ(reader.getText("[0].old_name"), "");
  EXPECT_EQ(reader.getText("[7].old_name"), "");
  EXPECT_EQ(reader.getCount("[2]"), 3);
}

TEST(JsonReaderDocuments, LocationAnswerKeepsItsEscapes) {
  JsonReader reader;
  reader.parse(ReadFixture("location.json"));
  EXPECT_EQ(reader.getText("code"), "0");
  EXPECT_EQ(reader.getText("data.country"), "\\u4e2d\\u56fd");
  EXPECT_EQ(reader.getText("data.isp"), "\\u7535\\u4fe1");
  EXPECT_EQ(reader.getText("data.county"), "");
  EXPECT_EQ(reader.getText("data.street"), "");
  EXPECT_EQ(reader.getCount("data"), 7);
  const std::string data = reader.getText("data");
  EXPECT_EQ(data.front(), '{');
  EXPECT_NE(data.find("\"city\":\"\\u4e0a\\u6d77\\u5e02\""), std::string::npos);
}

struct PathCase {
  const char* document;
  const char* path;
  const char* expected;
};

class JsonReaderPaths : public ::testing::TestWithParam<PathCase> {};

TEST_P(JsonReaderPaths, AnswerAsDocumented) {
  JsonReader reader;
  reader.parse(GetParam().document);
  EXPECT_EQ(reader.getText(GetParam().path), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    JsonQuirks, JsonReaderPaths,
    ::testing::Values(
        // Escapes come back as written; an escaped backslash still ends its string.
        PathCase{R"({"a":"x\"y","b":2})", "a", R"(x\"y)"},
        PathCase{R"({"a":"x\\","b":"c"})", "a", R"(x\\)"},
        PathCase{R"({"a":"x\\","b":"c"})", "b", "c"},
        PathCase{R"({"u":"http:\/\/a\u0041"})", "u", R"(http:\/\/a\u0041)"},
        // Blanks next to quotes, brackets and braces vanish, also inside strings.
        PathCase{R"({"a":"  x  "})", "a", "x"}, PathCase{R"({"a":"p [q] {r}"})", "a", "p[q]{r}"},
        PathCase{"{\"a\":\"\xA1\xA1x\"}", "a", "x"},
        // Structure characters inside strings do not disturb the cutting.
        PathCase{R"({"a":"[,{:}]","b":1})", "a", "[,{:}]"},
        PathCase{R"({"a":"[,{:}]","b":1})", "b", "1"},
        PathCase{R"({"a":{"b":{"c":1}},"d":[1,[2,3]],"e":"z"})", "a.b.c", "1"},
        PathCase{R"({"a":{"b":{"c":1}},"d":[1,[2,3]],"e":"z"})", "d.[2].[2]", "3"},
        PathCase{R"({"a":{"b":{"c":1}},"d":[1,[2,3]],"e":"z"})", "e", "z"},
        PathCase{R"([[1,2],[3,[4,5]]])", "[2].[2].[1]", "4"},
        // Values are text: numbers, literals, objects and arrays alike.
        PathCase{R"({"n":-1.5e3,"t":true,"z":null})", "n", "-1.5e3"},
        PathCase{R"({"n":-1.5e3,"t":true,"z":null})", "z", "null"},
        PathCase{R"({"o":{ "k" : [ 1, 2 ] }})", "o", R"({"k":[ 1, 2 ]})"},
        // Line breaks stay where no bracket, brace or quote is next to them.
        PathCase{"{\n  \"a\": 1,\n  \"b\": true\n}", "a", "1"},
        PathCase{"{\n  \"a\": 1,\n  \"b\": true\n}", "b", "true\n"},
        // Keys: first of two equal keys, byte-wise and case-sensitive, quoted dots.
        PathCase{R"({"a":1,"a":2})", "a", "1"}, PathCase{R"({"Key":1})", "key", ""},
        PathCase{R"({"a.b":{"c":"x"},"a":{"b":"y"}})", R"("a.b".c)", "x"},
        PathCase{R"({"a.b":{"c":"x"},"a":{"b":"y"}})", "''a.b''.c", "x"},
        PathCase{R"({"a.b":{"c":"x"},"a":{"b":"y"}})", "a.b", "y"},
        PathCase{R"({"a":{"b":1}})", "a.b.c", ""}, PathCase{R"({"a":{"b":1}})", "x", ""},
        // A document without brackets or braces is an array of one element.
        PathCase{"42", "[1]", "42"}, PathCase{R"("hi")", "[1]", "hi"}, PathCase{"word", "[0]", ""},
        // Odd but readable writing: blanks that end a line inside a container, an escaped
        // backslash before a closing quote, a plain value that runs into a string.
        PathCase{"[\n]", "[1]", "\n"}, PathCase{"{\"a\":[1 \n,2]}", "a", "[1\n,2]"},
        PathCase{"{\"a\":[1 \n,2]}", "a.[1]", "1\n"},
        PathCase{R"({"a":"x\\","b":[1]})", "b.[1]", "1"}, PathCase{R"({"k":x"s"})", "k", R"(x"s)"},
        // The empty path gives the whole document with the blanks next to quotes removed.
        PathCase{R"({ "a" : [ 1 ] })", "", R"({"a":[ 1 ]})"}));

struct CountCase {
  const char* document;
  const char* path;
  int expected;
};

class JsonReaderCounts : public ::testing::TestWithParam<CountCase> {};

TEST_P(JsonReaderCounts, CountMembers) {
  JsonReader reader;
  reader.parse(GetParam().document);
  EXPECT_EQ(reader.getCount(GetParam().path), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(JsonShapes, JsonReaderCounts,
                         ::testing::Values(CountCase{"[]", "", 0}, CountCase{"{}", "", 0},
                                         CountCase{"", "", 0}, CountCase{"7", "", 1},
                                         CountCase{R"({"a":[1,2,3],"b":{}})", "", 2},
                                         CountCase{R"({"a":[1,2,3],"b":{}})", "a", 3},
                                         CountCase{R"({"a":[1,2,3],"b":{}})", "b", 0},
                                         CountCase{R"({"a":[1,2,3],"b":{}})", "a.[1]", 0},
                                         CountCase{R"({"a":[1,2,3],"b":{}})", "c", 0},
                                         CountCase{R"([1,[2,[3,4]]])", "[2].[2]", 2},
                                         CountCase{"[ ]", "", 0}, CountCase{"[1,]", "", 2},
                                         CountCase{R"({"a":1,})", "", 1},
                                         CountCase{R"({ "a" })", "", 0}));

TEST(JsonReaderCounts, OutNodeIsWrittenOnlyWhenFound) {
  JsonReader reader;
  reader.parse(R"({"a":{"b":[1,2]}})");
  int node = -7;
  EXPECT_EQ(reader.getCount("a.x", &node), 0);
  EXPECT_EQ(node, -7);
  EXPECT_EQ(reader.getCount("a.b", &node), 2);
  EXPECT_EQ(reader.nodeStore().nameOf(node), "b");
  // Parts above the start node name the way down to it and are skipped.
  EXPECT_EQ(reader.getText("a.b.[1]", node), "1");
  EXPECT_EQ(reader.getText("[1]", node), "");
  EXPECT_EQ(reader.getText("", node), reader.getText(""));
}

TEST(JsonReaderIndexes, ZeroBasedNamesAndNormalisedTextPaths) {
  JsonReader reader;
  reader.parse(R"({"list":[{"x":"p"},{"x":"q"}]})", true);
  EXPECT_EQ(reader.getText("list[0].x"), "p");
  EXPECT_EQ(reader.getText("list.[1].x"), "q");
  EXPECT_EQ(reader.getText("list[2].x"), "");
  EXPECT_EQ(reader.getCount("list[0]"), 0);  // counts never normalise
  EXPECT_EQ(reader.getCount("list.[0]"), 1);
  reader.parse(R"({"list":[{"x":"p"}]})", false);
  EXPECT_EQ(reader.getText("list.[0].x"), "");
  EXPECT_EQ(reader.getText("list.[1].x"), "p");
}

TEST(JsonReaderTree, NodesKeepKindsDepthsAndDocumentOrder) {
  JsonReader reader;
  const std::string document = R"({"a":[1,{"b":2}],"c":"d"})";
  reader.parse(document);
  const JsonNodeStore& store = reader.nodeStore();
  std::vector<std::string> names;
  std::vector<int> depths;
  std::vector<int> kinds;
  for (int i = 1; i <= store.nodeCount(); ++i) {
    names.push_back(store.nameOf(i));
    depths.push_back(store.depthOf(i));
    kinds.push_back(store.kindOf(i));
  }
  EXPECT_EQ(names, (std::vector<std::string>{"JSON", "a", "[1]", "[2]", "b", "c"}));
  EXPECT_EQ(depths, (std::vector<int>{1, 2, 3, 3, 4, 2}));
  EXPECT_EQ(kinds, (std::vector<int>{1, 2, 0, 1, 0, 0}));
  EXPECT_EQ(store.valueOf(1), document);
  EXPECT_EQ(store.valueOf(6), "\"d\"");
  EXPECT_EQ(reader.pathOf(5), "a.[2].b");
}

TEST(JsonReaderTree, LongServerListReadsBackEveryEntry) {
  std::string document = "[";
  for (int i = 1; i <= 3000; ++i) {
    if (i > 1) document += ",";
    document += "{\"old_name\":\"旧" + std::to_string(i) + "\",\"new_name\":\"新 " +
                std::to_string(i) + "\",\"domain\":\"h" + std::to_string(i) + ".example\"}";
  }
  document += "]";
  JsonReader reader;
  reader.parse(document);
  ASSERT_EQ(reader.getCount(""), 3000);
  for (int i = 1; i <= 3000; ++i) {
    const std::string entry = "[" + std::to_string(i) + "]";
    ASSERT_EQ(reader.getText(entry + ".old_name"), "旧" + std::to_string(i));
    ASSERT_EQ(reader.getText(entry + ".new_name"), "新 " + std::to_string(i));
    ASSERT_EQ(reader.getText(entry + ".domain"), "h" + std::to_string(i) + ".example");
  }
}

TEST(JsonReaderOperations, SetValueAddsMissingParts) {
  JsonReader reader;
  reader.parse(R"({"a":{"b":1}})");
  reader.setValue("a.b", "9", 0);
  reader.setValue("a.x.y", "\"z\"", 0);
  EXPECT_EQ(reader.getText("a.b"), "9");
  EXPECT_EQ(reader.getText("a.x.y"), "z");
  EXPECT_EQ(reader.getCount("a"), 2);
  EXPECT_EQ(reader.getText("a"), R"({"b":1})");  // ancestors keep their text
}

TEST(JsonReaderOperations, CopiesAreIndependent) {
  JsonReader reader;
  reader.parse(R"({"a":"1"})");
  const auto copy = reader.copy();
  reader.parse(R"({"a":"2"})");
  EXPECT_EQ(copy->getText("a"), "1");
  EXPECT_EQ(reader.copyStore().valueOf(2), "\"2\"");
}

TEST(JsonReaderOperations, CapitalizeTouchesAsciiLettersOnly) {
  EXPECT_EQ(JsonReader::capitalize("hELLO wORLD"), "Hello world");
  EXPECT_EQ(JsonReader::capitalize("艾Ab"), "艾ab");
  EXPECT_EQ(JsonReader::capitalize(""), "");
}

TEST(JsonReaderOperations, ProcessEventsHookRunsDuringLongLoops) {
  JsonReader reader;
  int calls = 0;
  reader.setProcessEventsHook([&calls] { ++calls; });
  reader.parse(R"({"a":[1,2,3],"b":{"c":1}})");
  EXPECT_GT(calls, 0);
  EXPECT_EQ(reader.getText("b.c"), "1");
}

// Hostile input: every document must parse in bounded time without exhausting the stack.
TEST(JsonReaderHostile, DeepArrayNestingIsCutAtTheDepthLimit) {
  const int levels = 100000;
  JsonReader reader;
  reader.parse(Repeat("[", levels) + Repeat("]", levels));
  const JsonNodeStore& store = reader.nodeStore();
  ASSERT_EQ(store.nodeCount(), JsonReader::kMaxDepth);
  EXPECT_EQ(store.depthOf(store.nodeCount()), JsonReader::kMaxDepth);
  EXPECT_EQ(store.kindOf(store.nodeCount()), 2);
  EXPECT_EQ(store.childCountOf(store.nodeCount()), 0);
  EXPECT_EQ(reader.getCount(""), 1);
}

TEST(JsonReaderHostile, DeepObjectNestingStaysReadable) {
  const int levels = 50000;
  JsonReader reader;
  reader.parse(Repeat(R"({"a":)", levels) + "1" + Repeat("}", levels));
  EXPECT_EQ(reader.nodeStore().nodeCount(), JsonReader::kMaxDepth);
  EXPECT_EQ(reader.getCount("a.a"), 1);
}

TEST(JsonReaderHostile, MalformedDocumentsKeepWhatPrecedesTheFault) {
  const std::vector<std::pair<std::string, int>> cases = {
      {R"({"a":1,"b":)", 2}, {R"({"a":1,"b")", 1}, {R"({"a":"unterminated)", 0},
      {R"([1,2,[3)", 2},     {R"(}}]]{{[[)", 0},   {R"({"a":1}})", 1},
      {"\"\"\"", 0},         {R"({:,:,})", 2}};
  for (const auto& [document, count] : cases) {
    JsonReader reader;
    reader.parse(document);
    EXPECT_EQ(reader.getCount(""), count) << document;
  }
}

TEST(JsonReaderHostile, RandomBytesNeverBreakTheReader) {
  std::mt19937 random(20240611);
  const std::string alphabet = "{}[]\":, \t\r\n\\ab1\xA1\xB0\x81";
  for (int round = 0; round < 40; ++round) {
    std::string document(4096, ' ');
    for (char& byte : document) {
      byte =
          round % 2 == 0 ? alphabet[random() % alphabet.size()] : static_cast<char>(random() % 256);
    }
    JsonReader reader;
    reader.parse(document);
    const int count = reader.getCount("");
    EXPECT_GE(count, 0);
    for (int i = 1; i <= count; ++i) reader.getText("[" + std::to_string(i) + "]");
  }
}

// "[" and a million commas once made 1,000,002 nodes in 223 MB; past the limits a document
// is read as the empty one, so the loaders see no entries at all.
TEST(JsonReaderHostile, DocumentsPastTheLimitsReadAsEmpty) {
  const std::size_t cases[] = {1000000, JsonReader::kMaxStructuralBytes};
  for (const std::size_t commas : cases) {
    SCOPED_TRACE(commas);
    JsonReader reader;
    reader.parse("[" + std::string(commas, ',') + "]");
    EXPECT_EQ(reader.nodeStore().nodeCount(), 1);
    EXPECT_EQ(reader.getCount(""), 0);
    EXPECT_EQ(reader.getText("[1]"), "");
    EXPECT_EQ(reader.getText(""), "");
  }
}

TEST(JsonReaderHostile, LargeFlatDocumentParses) {
  const int elements = 200000;
  std::string document = "[" + Repeat("\"abcdefghijklmnopqrstuvwxyz\",", elements - 1) + "0]";
  JsonReader reader;
  reader.parse(document);
  EXPECT_EQ(reader.getCount(""), elements);
  EXPECT_EQ(reader.getText("[" + std::to_string(elements) + "]"), "0");
}

}  // namespace
}  // namespace vardelle

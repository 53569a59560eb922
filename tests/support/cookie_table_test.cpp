#include "support/cookies/cookie_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "named_cases.h"
#include "temp_dir.h"

namespace vardelle {
namespace {

using named_cases::CaseName;
using named_cases::PrintTo;
using testing_files::ReadBytes;
using testing_files::TempDir;
using testing_files::WriteBytes;

using Texts = std::vector<Text>;

Texts Names(CookieTable& table, const Text& domain) {
  Texts names;
  table.ListNames(domain, names);
  return names;
}

Texts Domains(CookieTable& table) {
  Texts domains;
  table.ListDomains(domains);
  return domains;
}

// Every record as "domain|name=value", in record order.
Texts Dump(CookieTable& table) {
  Texts dump;
  for (const Text& domain : Domains(table)) {
    for (const Text& name : Names(table, domain)) {
      dump.push_back(domain + "|" + name + "=" + table.Lookup(domain, name));
    }
  }
  return dump;
}

struct BlankCase {
  const char* name;
  Text blank;
};

class CookieTableBlank : public ::testing::TestWithParam<BlankCase> {};

TEST_P(CookieTableBlank, IsRefusedAsDomainOrName) {
  const Text& blank = GetParam().blank;
  CookieTable table;
  ASSERT_TRUE(table.Put("a.com", "k", "v"));
  EXPECT_FALSE(table.Put(blank, "k", "v"));
  EXPECT_FALSE(table.Put("a.com", blank, "v"));
  EXPECT_EQ(table.Lookup(blank, "k"), "");
  EXPECT_EQ(table.Lookup("a.com", blank), "");
  EXPECT_FALSE(table.Remove(blank));
  EXPECT_FALSE(table.Remove(blank, Text("k")));
  EXPECT_EQ(Dump(table), Texts{"a.com|k=v"});
}

INSTANTIATE_TEST_SUITE_P(CookieTable, CookieTableBlank,
                         ::testing::Values(BlankCase{"empty", ""}, BlankCase{"asciiSpaces", "   "},
                                         BlankCase{"fullWidthSpace", "　"},
                                         BlankCase{"mixedSpaces", " 　 　"}),
                         CaseName<BlankCase>);

TEST(CookieTable, StoredTextsAreNeverTrimmedAndCompareExactly) {
  CookieTable table;
  ASSERT_TRUE(table.Put(" a.com", "　k ", " v "));
  ASSERT_TRUE(table.Put("A.com", "k", "upper"));
  EXPECT_EQ(table.Lookup(" a.com", "　k "), " v ");
  EXPECT_EQ(table.Lookup("a.com", "k"), "");
  EXPECT_EQ(table.Lookup("A.com", "K"), "");
  EXPECT_EQ(table.Lookup("A.com", "k"), "upper");
  EXPECT_EQ(Domains(table), (Texts{" a.com", "A.com"}));
}

TEST(CookieTable, PutReplacesInPlaceAndKeepsThePosition) {
  CookieTable table;
  table.Put("a.com", "x", "1");
  table.Put("a.com", "y", "2");
  table.Put("b.com", "x", "3");
  table.Put("a.com", "x", "changed");
  EXPECT_EQ(Dump(table), (Texts{"a.com|x=changed", "a.com|y=2", "b.com|x=3"}));
  EXPECT_EQ(table.RecordCount(), 3);
  EXPECT_EQ(table.DomainCount(), 2);
}

TEST(CookieTable, DomainIsListedAgainOnceItsRecordsAreGone) {
  CookieTable table;
  table.Put("a.com", "x", "1");
  table.ClearRecords();
  EXPECT_EQ(table.RecordCount(), 0);
  EXPECT_EQ(Domains(table), Texts{"a.com"});
  table.Put("a.com", "x", "2");
  table.Remove("a.com", Text("x"));
  EXPECT_EQ(Domains(table), (Texts{"a.com", "a.com"}));
  table.Put("a.com", "y", "3");
  EXPECT_EQ(Domains(table), (Texts{"a.com", "a.com", "a.com"}));
  EXPECT_EQ(table.DomainCount(), 3);
}

TEST(CookieTable, RemoveByNameKeepsTheDomainAndOtherRecords) {
  CookieTable table;
  table.Put("a.com", "x", "1");
  table.Put("a.com", "y", "2");
  table.Put("b.com", "x", "3");
  EXPECT_TRUE(table.Remove("a.com", Text("x")));
  EXPECT_TRUE(table.Remove("a.com", Text("missing")));
  EXPECT_EQ(Dump(table), (Texts{"a.com|y=2", "b.com|x=3"}));
  EXPECT_TRUE(table.Remove("a.com", Text("y")));
  EXPECT_EQ(Domains(table), (Texts{"a.com", "b.com"}));
  EXPECT_EQ(table.RecordCount(Text("a.com")), 0);
}

TEST(CookieTable, RemoveWithoutNameDropsEveryEntryOfTheDomain) {
  CookieTable table;
  table.Put("a.com", "x", "1");
  table.Put("b.com", "x", "2");
  table.ClearRecords();
  table.Put("a.com", "x", "3");
  table.Put("a.com", "y", "4");
  table.Put("b.com", "z", "5");
  ASSERT_EQ(Domains(table), (Texts{"a.com", "b.com", "a.com", "b.com"}));
  EXPECT_TRUE(table.Remove("a.com"));
  EXPECT_EQ(Domains(table), (Texts{"b.com", "b.com"}));
  EXPECT_EQ(Dump(table), (Texts{"b.com|z=5", "b.com|z=5"}));
  EXPECT_TRUE(table.Remove("nowhere.com"));
}

TEST(CookieTable, CountsAndListsReplaceTheCallersContents) {
  CookieTable table;
  table.Put("a.com", "x", "1");
  table.Put("b.com", "y", "2");
  table.Put("a.com", "z", "3");
  EXPECT_EQ(table.RecordCount(), 3);
  EXPECT_EQ(table.RecordCount(Text("a.com")), 2);
  EXPECT_EQ(table.RecordCount(Text("c.com")), 0);
  Texts list = {"stale", "stale"};
  EXPECT_EQ(table.ListNames("a.com", list), 2);
  EXPECT_EQ(list, (Texts{"x", "z"}));
  EXPECT_EQ(table.ListNames("c.com", list), 0);
  EXPECT_TRUE(list.empty());
  list = {"stale", "stale", "stale"};
  EXPECT_EQ(table.ListDomains(list), 2);
  EXPECT_EQ(list, (Texts{"a.com", "b.com"}));
}

TEST(CookieTable, OldestCookiesLeaveBeyondTheTotalLimit) {
  constexpr int kPerDomain = static_cast<int>(CookieTable::kMaxCookiesPerDomain);
  constexpr int kDomains = static_cast<int>(CookieTable::kMaxCookies) / kPerDomain + 3;
  CookieTable table;
  for (int d = 0; d < kDomains; ++d) {
    for (int i = 0; i < kPerDomain; ++i) {
      table.Put("d" + std::to_string(d) + ".com", "n" + std::to_string(i), "v");
    }
  }
  const int overflow = kDomains * kPerDomain - static_cast<int>(CookieTable::kMaxCookies);
  const int emptied = overflow / kPerDomain;
  EXPECT_EQ(table.RecordCount(), static_cast<int>(CookieTable::kMaxCookies));
  EXPECT_EQ(table.RecordCount(Text("d" + std::to_string(emptied) + ".com")),
            kPerDomain - overflow % kPerDomain);
  EXPECT_EQ(table.DomainCount(), kDomains - emptied);
  EXPECT_EQ(Names(table, "d0.com"), Texts{});
}

TEST(CookieTable, RefusesCookiesLargerThanBrowsersKeep) {
  const Text name = "k";
  const std::size_t room = CookieTable::kMaxCookieBytes - name.size();
  CookieTable table;
  EXPECT_TRUE(table.Put("a.com", name, Text(room, 'v')));
  EXPECT_FALSE(table.Put("a.com", name, Text(room + 1, 'w')));
  EXPECT_EQ(table.Lookup("a.com", name), Text(room, 'v'));
}

struct ReadCase {
  const char* name;
  std::string file;
  Texts records;
};

// "[中.com" lacks its bracket; "＝" is a full-width sign, not a separator.
const ReadCase kReadCases[] = {
    {"crLf", "[a.com]\r\nx=1\r\ny=2\r\n", {"a.com|x=1", "a.com|y=2"}},
    {"lf", "[a.com]\nx=1\ny=2", {"a.com|x=1", "a.com|y=2"}},
    {"zeroByteEndsLine", std::string("[a.com]\0x=1\0y=2", 15), {"a.com|x=1", "a.com|y=2"}},
    {"byte26EndsLine", "[a.com]\x1ax=1\x1ay=2", {"a.com|x=1", "a.com|y=2"}},
    {"loneCrStaysInLine", "[a.com]\nx=1\ry=2\n", {"a.com|x=1\ry=2"}},
    {"spacesTrimmed", "  [a.com]　\n 　x=1 　\n", {"a.com|x=1"}},
    {"innerSpacesKept", "[a.com]\nx = 1\n", {"a.com|x = 1"}},
    {"tabIsNoSpace", "[a.com]\n\tx=1\t\n", {"a.com|\tx=1\t"}},
    {"blankLinesSkipped", "\n  \n　\n[a.com]\n\n x=1\n", {"a.com|x=1"}},
    {"beforeFirstSection", "x=1\n[a.com]\ny=2\n", {"a.com|y=2"}},
    {"noEqualsSkipped", "[a.com]\njunk\nx=1\n", {"a.com|x=1"}},
    {"firstEqualsSplits", "[a.com]\nx=1=2\n", {"a.com|x=1=2"}},
    {"emptyNameSkipped", "[a.com]\n=1\nx=2\n", {"a.com|x=2"}},
    {"unclosedSection", "[a.com\nx=1\n", {"a.co|x=1"}},
    {"unclosedChinese", "[中文.com\n名=值\n", {"中文.co|名=值"}},
    {"emptySectionRefusesPairs", "[a.com]\n[]\nx=1\n[b.com]\ny=2\n", {"b.com|y=2"}},
    {"laterSectionWins",
     "[a.com]\nx=1\n[b.com]\nx=2\n[a.com]\ny=3\n",
     {"a.com|x=1", "a.com|y=3", "b.com|x=2"}},
    {"fullWidthEqualsIsText", "[a.com]\nx＝1\n", {}},
};

class CookieTableReadFile : public ::testing::TestWithParam<ReadCase> {};

TEST_P(CookieTableReadFile, TakesTheIniLines) {
  TempDir dir;
  const std::string file = dir.File("jar.ini");
  WriteBytes(file, GetParam().file);
  CookieTable table;
  EXPECT_TRUE(table.ReadFile(file));
  EXPECT_EQ(Dump(table), GetParam().records);
}

INSTANTIATE_TEST_SUITE_P(CookieTable, CookieTableReadFile, ::testing::ValuesIn(kReadCases),
                         CaseName<ReadCase>);

TEST(CookieTable, ReadFileAnswersFalseForWhatCannotBeRead) {
  TempDir dir;
  CookieTable table;
  EXPECT_FALSE(table.ReadFile(dir.File("missing.ini")));
  EXPECT_FALSE(table.ReadFile(dir.path.string()));
  EXPECT_FALSE(table.ReadFile(""));
  EXPECT_EQ(table.RecordCount(), 0);
}

struct ReadTextCase {
  const char* name;
  Text text;
  bool result;
  Texts records;
};

class CookieTableReadText : public ::testing::TestWithParam<ReadTextCase> {};

TEST_P(CookieTableReadText, SplitsAtCrLfAndEmptiesTheText) {
  const ReadTextCase& c = GetParam();
  Text text = c.text;
  CookieTable table;
  EXPECT_EQ(table.ReadText(text), c.result);
  EXPECT_EQ(text, "");
  EXPECT_EQ(Dump(table), c.records);
}

INSTANTIATE_TEST_SUITE_P(
    CookieTable, CookieTableReadText,
    ::testing::Values(
        ReadTextCase{"pairs", "[a.com]\r\nx=1\r\n　y=2　\r\n", true, {"a.com|x=1", "a.com|y=2"}},
        ReadTextCase{"loneLfIsNoLineEnd", "[a.com]\r\nx=1\ny=2", true, {"a.com|x=1\ny=2"}},
        ReadTextCase{"unclosedSection", "[ab\r\nx=1", true, {"a|x=1"}},
        ReadTextCase{"onlyJunk", "junk", true, {}}, ReadTextCase{"empty", "", false, {}}),
    CaseName<ReadTextCase>);

TEST(CookieTable, WriteFileThenReadFileGivesTheRecordsBack) {
  TempDir dir;
  const std::string file = dir.File("jar.ini");
  CookieTable written;
  written.Put("a.com", "x", "1");
  written.Put("中文.com", "名字", "值 有空格");
  written.Put("a.com", "y", "");
  written.Put("b.com", "x", "a;b[c]");
  ASSERT_TRUE(written.WriteFile(file));
  EXPECT_EQ(ReadBytes(file),
            "[a.com]\r\nx=1\r\ny=\r\n[中文.com]\r\n名字=值 有空格\r\n[b.com]\r\nx=a;b[c]\r\n");
  CookieTable read;
  ASSERT_TRUE(read.ReadFile(file));
  EXPECT_EQ(Dump(read), Dump(written));
}

TEST(CookieTable, WriteFileUpdatesAnExistingFile) {
  TempDir dir;
  const std::string file = dir.File("jar.ini");
  WriteBytes(file, "; saved jar\r\n[a.com]\r\nx=old\r\nkeep=1\r\n");
  CookieTable table;
  table.Put("a.com", "x", "new");
  table.Put("c.com", "z", "3");
  ASSERT_TRUE(table.WriteFile(file));
  EXPECT_EQ(ReadBytes(file), "; saved jar\r\n[a.com]\r\nx=new\r\nkeep=1\r\n[c.com]\r\nz=3\r\n");
}

// A line break in a stored value would add lines of its own to the file: such a record is
// left out, the rest is saved, and the caller learns that the save was not complete.
TEST(CookieTable, WriteFileLeavesOutRecordsThatWouldBreakTheFormat) {
  TempDir dir;
  const std::string file = dir.File("jar.ini");
  CookieTable table;
  table.Put("a.com", "x", "1");
  table.Put("a.com", "evil", "2\r\n[bank.com]\r\nsession=stolen");
  table.Put("b.com", "y", "3");
  EXPECT_FALSE(table.WriteFile(file));
  CookieTable read;
  ASSERT_TRUE(read.ReadFile(file));
  EXPECT_EQ(Dump(read), (Texts{"a.com|x=1", "b.com|y=3"}));
}

TEST(CookieTable, WriteFileAnswersFalseWhenNothingCanBeWritten) {
  TempDir dir;
  CookieTable table;
  table.Put("a.com", "x", "1");
  EXPECT_FALSE(table.WriteFile(""));
  EXPECT_FALSE(table.WriteFile(" 　"));
  EXPECT_FALSE(table.WriteFile(dir.File("missing/jar.ini")));
  EXPECT_FALSE(table.WriteFile(dir.path.string()));
}

}  // namespace
}  // namespace vardelle

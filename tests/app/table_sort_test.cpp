#include "app/table/table_sort.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "fake_window.h"
#include "support/text/text_collation.h"

namespace vardelle {
namespace {

using testing::FakeWindow;

struct KeyCase {
  std::string a;
  std::string b;
  SortMode mode;
  int expectedSign;  // with ascending order
};

int SignOf(int value) { return (value > 0) - (value < 0); }

TEST(CompareSortKeysTest, EachModeOrdersItsKeysAndDescendingReverses) {
  const KeyCase cases[] = {
      {"电信01区 ", "电信02区 ", SortMode::kText, -1},
      {"电信03区 ", "教育00区 ", SortMode::kText, -1},
      {"教育00区 ", "网通01区 ", SortMode::kText, -1},
      {"00区 ", "电信11区 ", SortMode::kText, -1},
      // Pinyin, not byte order: 锕 (a, 0xEFB9) before 爸 (ba, 0xB0D6), 啊 (a) before the
      // extension character 丂 (kao, 0x8140).
      {"锕", "爸", SortMode::kText, -1},
      {"啊", "丂", SortMode::kText, -1},
      {"祖安", "祖安", SortMode::kText, 0},
      // Equal to the collator, told apart by their bytes so the order stays total.
      {"a", "a\x01", SortMode::kText, -1},
      {"2015-03-26 10:00:00", "2015-03-26 10:00:01", SortMode::kDateTime, -1},
      {"2015/3/26", "2015-03-26 00:00:00", SortMode::kDateTime, 0},
      {"2015年3月26日", "2014年12月31日 23:59", SortMode::kDateTime, 1},
      {"soon", "1970-01-01", SortMode::kDateTime, -1},
      {"2015-13-01", "1970-01-01", SortMode::kDateTime, -1},
      {"soon", "later", SortMode::kDateTime, 0},
      {"37", "0", SortMode::kNumber, 1},
      {"1836000", "1836000", SortMode::kNumberTimes10000, 0},
      {"610000", "1836000", SortMode::kNumberTimes10000, -1},
      // x - y would overflow here.
      {"-2147483648", "2147483647", SortMode::kNumber, -1},
      {"2147483647", "-2147483648", SortMode::kNumberTimes10000, 1},
      {"a", "b", static_cast<SortMode>(9), 0},
  };
  for (const KeyCase& c : cases) {
    const int index = static_cast<int>(&c - cases);
    EXPECT_EQ(SignOf(CompareSortKeys(c.a, c.b, c.mode, true)), c.expectedSign) << "case " << index;
    EXPECT_EQ(SignOf(CompareSortKeys(c.a, c.b, c.mode, false)), -c.expectedSign)
        << "case " << index;
  }
}

TEST(CollateTextsTest, IsAntisymmetricAndZeroOnlyForEqualBytes) {
  const std::vector<std::string> texts{"",   "a",  "A",  "a\x01",    "电信01区 ", "电信1区 ",
                                       "锕", "爸", "丂", "\xFF\xFF", "亅5"};
  for (const std::string& a : texts) {
    for (const std::string& b : texts) {
      EXPECT_EQ(CollateTexts(a, b), -CollateTexts(b, a));
      EXPECT_EQ(CollateTexts(a, b) == 0, a == b);
    }
  }
}

TEST(SortModeForColumnTest, LatencyAndAddressSortAsNumbers) {
  EXPECT_EQ(SortModeForColumn(4), SortMode::kNumber);
  EXPECT_EQ(SortModeForColumn(3), SortMode::kNumberTimes10000);
  for (int column : {0, 1, 2, 5, 6}) EXPECT_EQ(SortModeForColumn(column), SortMode::kText);
}

class TableSortTest : public ::testing::Test {
 protected:
  void AddRows(int column, const std::vector<std::string>& cells) {
    for (const std::string& cell : cells) {
      const RowId row = window.InsertRow(cell, RowIcon::kNotTested);
      window.SetCellText(row, column, cell);
    }
  }
  void Sort(int column, SortMode mode) { SortTableByColumn(state, window, column, mode); }

  SortState state;
  FakeWindow window;
};

TEST_F(TableSortTest, SharedDirectionFlipsWithEverySortAndTheArrowFollows) {
  AddRows(0, {"网通01区 ", "电信02区 ", "电信01区 "});
  Sort(0, SortMode::kText);  // the program's first sort
  EXPECT_EQ(window.Column(0), (std::vector<std::string>{"电信01区 ", "电信02区 ", "网通01区 "}));
  EXPECT_EQ(window.ArrowOf(0), HeaderArrow::kUp);

  Sort(0, SortMode::kText);  // the first header click after start-up
  EXPECT_EQ(window.Column(0), (std::vector<std::string>{"网通01区 ", "电信02区 ", "电信01区 "}));
  EXPECT_EQ(window.ArrowOf(0), HeaderArrow::kDown);

  Sort(1, SortMode::kText);  // another column after a descending sort: ascending
  EXPECT_EQ(window.ArrowOf(0), HeaderArrow::kNone);
  EXPECT_EQ(window.ArrowOf(1), HeaderArrow::kUp);

  Sort(2, SortMode::kText);  // and after that ascending one: descending, arrow moves
  EXPECT_EQ(window.ArrowOf(1), HeaderArrow::kNone);
  EXPECT_EQ(window.ArrowOf(2), HeaderArrow::kDown);
}

TEST_F(TableSortTest, LatencyOrdersByTheNumberBeforeMsWithMarkersAsZero) {
  AddRows(4, {"37ms", "...", "120ms", "Scaning...", "5ms", "0ms"});
  Sort(4, SortModeForColumn(4));
  EXPECT_EQ(window.Column(4),
            (std::vector<std::string>{"...", "Scaning...", "0ms", "5ms", "37ms", "120ms"}));
  Sort(4, SortModeForColumn(4));
  EXPECT_EQ(window.Column(4),
            (std::vector<std::string>{"120ms", "37ms", "5ms", "...", "Scaning...", "0ms"}));
}

TEST_F(TableSortTest, AddressesCompareByTheirFirstTwoPartsOnly) {
  AddRows(3, {"183.7.0.1", "183.60.1.1", "", "61.1.1.1", "183.6.1.1"});
  Sort(3, SortModeForColumn(3));
  EXPECT_EQ(window.Column(3),
            (std::vector<std::string>{"", "61.1.1.1", "183.60.1.1", "183.6.1.1", "183.7.0.1"}));
  Sort(3, SortModeForColumn(3));
  EXPECT_EQ(window.Column(3),
            (std::vector<std::string>{"183.7.0.1", "183.60.1.1", "183.6.1.1", "61.1.1.1", ""}));
}

TEST_F(TableSortTest, AnUnknownModeSortsAsText) {
  AddRows(5, {"正常", "维护", "拥挤"});
  Sort(5, static_cast<SortMode>(0));
  EXPECT_EQ(window.Column(5), (std::vector<std::string>{"维护", "拥挤", "正常"}));
}

TEST_F(TableSortTest, AnEmptyTableFlipsTheDirectionButKeepsItsArrows) {
  Sort(0, SortMode::kText);
  EXPECT_EQ(window.ArrowOf(0), HeaderArrow::kNone);
  AddRows(0, {"a", "b"});
  Sort(0, SortMode::kText);
  EXPECT_EQ(window.Column(0), (std::vector<std::string>{"b", "a"}));
  EXPECT_EQ(window.ArrowOf(0), HeaderArrow::kDown);
}

// Rows added between taking the keys and sorting have none.
class GrowingWindow : public FakeWindow {
 public:
  std::vector<RowId> RowIds() override {
    std::vector<RowId> ids = FakeWindow::RowIds();
    ids.resize(ids.size() - 2);
    return ids;
  }
};

// The names after one sort by name of a window holding them in this order.
std::vector<std::string> SortedByName(FakeWindow& window, const std::vector<std::string>& names) {
  for (const std::string& name : names) window.InsertRow(name, RowIcon::kNotTested);
  SortState state;
  SortTableByColumn(state, window, 0, SortMode::kText);
  return window.Column(0);
}

TEST(TableSortRaceTest, RowsWithoutKeysSortAsEmptyCells) {
  GrowingWindow window;
  EXPECT_EQ(SortedByName(window, {"c", "a", "b", "d"}),
            (std::vector<std::string>{"b", "d", "a", "c"}));
}

// Another sort reorders the rows between taking the keys and sorting.
class InterruptedWindow : public FakeWindow {
 public:
  void SortRows(const std::function<int(RowId, RowId)>& compare) override {
    FakeWindow::SortRows([](RowId a, RowId b) { return (b > a) - (b < a); });
    FakeWindow::SortRows(compare);
  }
};

TEST(TableSortRaceTest, KeysTakenBeforeAnotherSortStillFollowTheirRows) {
  InterruptedWindow window;
  EXPECT_EQ(SortedByName(window, {"c", "a", "d", "b"}),
            (std::vector<std::string>{"a", "b", "c", "d"}));
}

// A header click and the loading thread's sort at the same time: neither may see the
// other's direction half way, and no flip may be lost.
TEST(TableSortRaceTest, ConcurrentSortsEachStayConsistent) {
  constexpr int kSortsPerThread = 200;
  SortState state;
  auto sortRepeatedly = [&state](FakeWindow& window, int& inconsistent) {
    for (const char* name : {"电信02区 ", "网通01区 ", "电信01区 ", "教育00区 "}) {
      window.InsertRow(name, RowIcon::kNotTested);
    }
    for (int i = 0; i < kSortsPerThread; ++i) {
      SortTableByColumn(state, window, 0, SortMode::kText);
      const std::vector<std::string> names = window.Column(0);
      const bool up = window.ArrowOf(0) == HeaderArrow::kUp;
      for (std::size_t r = 1; r < names.size(); ++r) {
        const int order = CollateTexts(names[r - 1], names[r]);
        if (up ? order > 0 : order < 0) ++inconsistent;
      }
    }
  };
  FakeWindow first;
  FakeWindow second;
  int firstInconsistent = 0;
  int secondInconsistent = 0;
  std::thread other([&] { sortRepeatedly(second, secondInconsistent); });
  sortRepeatedly(first, firstInconsistent);
  other.join();
  EXPECT_EQ(firstInconsistent, 0);
  EXPECT_EQ(secondInconsistent, 0);
  EXPECT_TRUE(state.BeginSort(0, SortMode::kText).ascending) << "an even number of flips";
}

}  // namespace
}  // namespace vardelle

// Sorting the server table by a column, with the header arrow showing the direction.
#pragma once

#include <mutex>
#include <string_view>

#include "app/view/main_window_view.h"

namespace vardelle {

// How a column's cells are ordered. Any other value is taken as kText.
enum class SortMode : int {
  kText = 1,                    // the language's text order
  kDateTime = 2,                // "2015-03-26 10:00:00" and the like; unreadable ones first
  kNumber = 3,                  // the leading number ("37ms" is 37, "..." is 0)
  kNumberTimes10000 = 4,        // the leading number × 10000 (183.60.12.7 reads as 183.6)
  kMiddleNumberTimes10000 = 5,  // the number after the first "/" × 10000 (10/20.5/30: 20.5)
};

// The direction and mode one sort uses, fixed when it begins.
struct SortOrder {
  int column = 0;
  SortMode mode = SortMode::kText;
  bool ascending = true;
};

// What lasts from one sort to the next; one per program. The direction is shared by all
// columns and flips with every sort, the first sort being ascending. A mutex keeps a
// header click and the loading thread's sort from tearing it; it is never held while the
// table is asked anything, since the table may wait for the window's thread.
class SortState {
 public:
  // Flips the direction and answers the order this sort uses.
  SortOrder BeginSort(int column, SortMode mode);
  // The next sort is ascending again, as the first one: a table loaded anew starts in order.
  void RestartDirection();
  // Makes column the one whose header shows the arrow; answers the one that showed it.
  int MoveArrowTo(int column);

 private:
  std::mutex mutex;
  bool ascending = false;
  int lastColumn = 0;
};

// The mode a click on a column's header sorts with: latency as a number, the address by
// its first two parts, the statistics by value (min/avg/max by its average), everything
// else as text.
SortMode SortModeForColumn(int column);

// Sorts the table's rows by the cells of column; a table without rows keeps its arrows.
void SortTableByColumn(SortState& state, MainWindowView& table, int column, SortMode mode);

// Negative, zero or positive as key a sorts before, with or after key b in the given order.
int CompareSortKeys(std::string_view a, std::string_view b, SortMode mode, bool ascending);

// The sorted column's header shows the direction; the previous arrow, if elsewhere, goes.
void ShowSortArrow(SortState& state, MainWindowView& table, const SortOrder& order);

}  // namespace vardelle

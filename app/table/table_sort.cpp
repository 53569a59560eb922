#include "app/table/table_sort.h"

#include <algorithm>
#include <array>
#include <climits>
#include <compare>
#include <functional>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "app/table/leading_number.h"
#include "app/table/server_table.h"
#include "support/text/text.h"
#include "support/text/text_collation.h"

namespace vardelle {
namespace {

constexpr std::string_view kDigits = "0123456789";

int Sign(std::strong_ordering order) { return (order > 0) - (order < 0); }

bool IsKnownMode(SortMode mode) {
  return mode >= SortMode::kText && mode <= SortMode::kMiddleNumberTimes10000;
}

// Year, month, day, hour, minute, second.
using DateTime = std::array<int, 6>;

struct FieldRange {
  int lowest;
  int highest;
};
constexpr std::array<FieldRange, 6> kDateTimeRanges{
    {{0, INT_MAX}, {1, 12}, {1, 31}, {0, 23}, {0, 59}, {0, 59}}};

bool FieldsInRange(const DateTime& fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (fields[i] < kDateTimeRanges[i].lowest || fields[i] > kDateTimeRanges[i].highest) {
      return false;
    }
  }
  return true;
}

// Runs of digits with anything between them: year, month and day, then an optional time
// ("2015-03-26 10:00", "2015/3/26", "2015年3月26日 10:00:00"). nullopt, which orders before
// every date-time, when fewer than three numbers are found or one is out of range.
std::optional<DateTime> ReadDateTime(std::string_view text) {
  DateTime fields{};
  std::size_t count = 0;
  std::size_t offset = text.find_first_of(kDigits);
  while (offset != std::string_view::npos && count < fields.size()) {
    const std::size_t end = text.find_first_not_of(kDigits, offset);
    fields[count++] = LeadingInteger(text.substr(offset, end - offset));
    offset = text.find_first_of(kDigits, end);
  }
  if (count < 3 || !FieldsInRange(fields)) return std::nullopt;
  return fields;
}

int CompareInMode(std::string_view a, std::string_view b, SortMode mode) {
  switch (mode) {
    case SortMode::kText:
      return CollateTexts(a, b);
    case SortMode::kDateTime:
      return Sign(ReadDateTime(a) <=> ReadDateTime(b));
    case SortMode::kNumber:
    case SortMode::kNumberTimes10000:
    case SortMode::kMiddleNumberTimes10000:
      return Sign(LeadingInteger(a) <=> LeadingInteger(b));
  }
  return 0;
}

Text SortKeyOf(const Text& cell, SortMode mode) {
  switch (mode) {
    case SortMode::kNumber:
      return DecimalText(LeadingNumber(cell));
    case SortMode::kNumberTimes10000:
      return DecimalText(LeadingNumber(cell) * 10000);
    case SortMode::kMiddleNumberTimes10000: {
      const std::size_t slash = cell.find('/');
      return DecimalText(slash == Text::npos ? 0 : LeadingNumber(cell.substr(slash + 1)) * 10000);
    }
    case SortMode::kText:
    case SortMode::kDateTime:
      break;
  }
  return cell;
}

struct RowIdHash {
  std::size_t operator()(RowId id) const { return std::hash<std::uint64_t>()(id.value); }
};

struct KeyedRow {
  RowId id;
  Text key;
};

// Each row's key once, by the row's identity, so a sort between taking the keys and
// using them cannot pair a key with another row.
std::vector<KeyedRow> CollectKeyedRows(MainWindowView& table, const SortOrder& order) {
  std::vector<KeyedRow> rows;
  for (const RowId id : table.RowIds()) {
    rows.push_back({id, SortKeyOf(table.CellText(id, order.column), order.mode)});
  }
  return rows;
}

// The rows sorted by their keys here, once; the table's own sort then compares only their
// places, which keeps a header click on a long table quick.
class SortedPlaces {
 public:
  SortedPlaces(std::vector<KeyedRow> keyedRows, const SortOrder& sortOrder)
      : rows(std::move(keyedRows)), order(sortOrder) {
    std::stable_sort(rows.begin(), rows.end(), [this](const KeyedRow& a, const KeyedRow& b) {
      return CompareSortKeys(a.key, b.key, order.mode, order.ascending) < 0;
    });
    places.reserve(rows.size());
    for (std::size_t place = 0; place < rows.size(); ++place) places.emplace(rows[place].id, place);
  }

  // A row inserted after the keys were taken has none: it sorts as an empty cell, after
  // the keyed rows of an equal key.
  int Compare(RowId a, RowId b) const {
    const auto placeA = places.find(a);
    const auto placeB = places.find(b);
    const bool keyedA = placeA != places.end();
    const bool keyedB = placeB != places.end();
    if (keyedA && keyedB) return Sign(placeA->second <=> placeB->second);
    const std::string_view keyA = keyedA ? std::string_view(rows[placeA->second].key) : "";
    const std::string_view keyB = keyedB ? std::string_view(rows[placeB->second].key) : "";
    const int byKey = CompareSortKeys(keyA, keyB, order.mode, order.ascending);
    return byKey != 0 ? byKey : static_cast<int>(keyedB) - static_cast<int>(keyedA);
  }

 private:
  std::vector<KeyedRow> rows;
  SortOrder order;
  std::unordered_map<RowId, std::size_t, RowIdHash> places;
};

}  // namespace

SortOrder SortState::BeginSort(int column, SortMode mode) {
  std::lock_guard guard(mutex);
  ascending = !ascending;
  return SortOrder{column, IsKnownMode(mode) ? mode : SortMode::kText, ascending};
}

void SortState::RestartDirection() {
  std::lock_guard guard(mutex);
  ascending = false;
}

int SortState::MoveArrowTo(int column) {
  std::lock_guard guard(mutex);
  const int previous = lastColumn;
  lastColumn = column;
  return previous;
}

SortMode SortModeForColumn(int column) {
  switch (column) {
    case kLatencyColumn:
      return SortMode::kNumber;
    case kAddressColumn:
    case kLossColumn:
    case kJitterColumn:
    case kTrendColumn:
      return SortMode::kNumberTimes10000;
    case kMinAvgMaxColumn:
      return SortMode::kMiddleNumberTimes10000;
    default:
      return SortMode::kText;
  }
}

void SortTableByColumn(SortState& state, MainWindowView& table, int column, SortMode mode) {
  const SortOrder order = state.BeginSort(column, mode);
  std::vector<KeyedRow> rows = CollectKeyedRows(table, order);
  if (rows.empty()) return;
  const SortedPlaces sorted(std::move(rows), order);
  table.SortRows([&sorted](RowId a, RowId b) { return sorted.Compare(a, b); });
  ShowSortArrow(state, table, order);
}

int CompareSortKeys(std::string_view a, std::string_view b, SortMode mode, bool ascending) {
  // Equal bytes are equal in every mode; a column of few values compares them often.
  if (a == b) return 0;
  const int order = CompareInMode(a, b, mode);
  return ascending ? order : -order;
}

void ShowSortArrow(SortState& state, MainWindowView& table, const SortOrder& order) {
  const int previous = state.MoveArrowTo(order.column);
  if (previous != order.column) table.SetColumnArrow(previous, HeaderArrow::kNone);
  table.SetColumnArrow(order.column, order.ascending ? HeaderArrow::kUp : HeaderArrow::kDown);
}

}  // namespace vardelle

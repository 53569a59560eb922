#include "app/colours/row_colours.h"

namespace vardelle {

void RowColourTable::Set(RowId row, RowColour colour) {
  std::lock_guard guard(mutex_);
  rows_[row.value] = colour;
}

void RowColourTable::Clear() {
  std::lock_guard guard(mutex_);
  rows_.clear();
}

std::optional<RowColour> RowColourTable::Find(RowId row) const {
  std::lock_guard guard(mutex_);
  const auto found = rows_.find(row.value);
  if (found == rows_.end()) return std::nullopt;
  return found->second;
}

RowColour AnswerCustomDraw(const RowColourTable& table, RowId row, bool selectedAndFocused) {
  if (selectedAndFocused) return {};
  return table.Find(row).value_or(RowColour{});
}

}  // namespace vardelle

#include "app/colours/row_colours.h"

#include "app/application/application.h"

namespace vardelle {
namespace {

// The table the window draws from; nothing once the process-wide lists are gone.
template <typename Change>
void ChangeRowColours(Application& app, Change change) {
  if (const std::shared_ptr<ProcessLists> lists = app.lists.load()) change(lists->rowColours);
  if (MainWindowView* window = app.window.load()) window->Redraw();
}

}  // namespace

void SetRowColour(Application& app, RowId row, RowColour colour) {
  ChangeRowColours(app, [&](RowColourTable& table) { table.Set(row, colour); });
}

void ClearRowColours(Application& app) {
  ChangeRowColours(app, [](RowColourTable& table) { table.Clear(); });
}

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

#include "app/view/memory_window.h"

#include <algorithm>
#include <unordered_map>

namespace vardelle {

std::vector<MemoryRow> MemoryWindow::Rows() const {
  std::lock_guard guard(mutex_);
  return rows_;
}

std::string MemoryWindow::StatusLine() const {
  std::lock_guard guard(mutex_);
  return statusLine_;
}

MiniViewState MemoryWindow::MiniView() const {
  std::lock_guard guard(mutex_);
  return miniView_;
}

void MemoryWindow::SetMiniView(const MiniViewState& state) {
  std::lock_guard guard(mutex_);
  miniView_ = state;
}

std::vector<RowId> MemoryWindow::RowIds() {
  std::lock_guard guard(mutex_);
  std::vector<RowId> ids;
  for (const MemoryRow& row : rows_) ids.push_back(row.id);
  return ids;
}

std::vector<MemoryKeyListRow> MemoryWindow::KeyListRows() const {
  std::lock_guard guard(mutex_);
  return keyListRows_;
}

void MemoryWindow::SelectKeyListRows(std::vector<int> rows) {
  std::lock_guard guard(mutex_);
  keyListSelection_ = std::move(rows);
}

int MemoryWindow::KeyListSelectedRow() {
  std::lock_guard guard(mutex_);
  return keyListSelection_.empty() ? -1 : keyListSelection_.front();
}

std::vector<int> MemoryWindow::KeyListSelectedRows() {
  std::lock_guard guard(mutex_);
  return keyListSelection_;
}

int MemoryWindow::KeyListRowCount() {
  std::lock_guard guard(mutex_);
  return static_cast<int>(keyListRows_.size());
}

std::string MemoryWindow::KeyListCellText(int row, int column) {
  std::lock_guard guard(mutex_);
  if (row < 0 || row >= static_cast<int>(keyListRows_.size())) return {};
  const MemoryKeyListRow& listed = keyListRows_[static_cast<size_t>(row)];
  switch (column) {
    case kKeyListNameColumn:
      return listed.name;
    case kKeyListKeyColumn:
      return listed.cells.key;
    case kKeyListStateColumn:
      return listed.cells.state;
    case kKeyListAverageColumn:
      return listed.cells.average;
    case kKeyListRangeColumn:
      return listed.cells.range;
    case kKeyListLossColumn:
      return listed.cells.loss;
    case kKeyListProbesColumn:
      return listed.cells.probes;
    default:
      return {};
  }
}

void MemoryWindow::SetKeyListRows(const std::vector<std::string>& names) {
  std::lock_guard guard(mutex_);
  keyListRows_.clear();
  keyListSelection_.clear();
  for (const std::string& name : names) keyListRows_.push_back({name, {}});
}

void MemoryWindow::SetKeyListRow(int row, const KeyListRow& cells) {
  std::lock_guard guard(mutex_);
  if (row < 0 || row >= static_cast<int>(keyListRows_.size())) return;
  keyListRows_[static_cast<size_t>(row)].cells = cells;
}

void MemoryWindow::SetKeyListStatus(const std::string& text) {
  std::lock_guard guard(mutex_);
  keyListStatus_ = text;
}

std::string MemoryWindow::KeyListStatus() const {
  std::lock_guard guard(mutex_);
  return keyListStatus_;
}

std::string* MemoryWindow::Cell(int row, int column) {
  const bool valid =
      row >= 0 && row < static_cast<int>(rows_.size()) && column >= 0 && column < kTableColumns;
  return valid ? &rows_[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)]
               : nullptr;
}

// A table of thousands of rows takes a result per row at every tick, so positions are
// kept by identity and rebuilt only after rows moved or went.
int MemoryWindow::IndexOf(RowId id) const {
  if (positionsStale_) {
    positions_.clear();
    for (std::size_t index = 0; index < rows_.size(); ++index) {
      positions_.emplace(rows_[index].id.value, static_cast<int>(index));
    }
    positionsStale_ = false;
  }
  const auto found = positions_.find(id.value);
  return id.value != 0 && found != positions_.end() ? found->second : -1;
}

std::string MemoryWindow::CellText(int row, int column) {
  std::lock_guard guard(mutex_);
  const std::string* cell = Cell(row, column);
  return cell ? *cell : std::string();
}

void MemoryWindow::SetCellText(int row, int column, const std::string& text) {
  std::lock_guard guard(mutex_);
  if (std::string* cell = Cell(row, column)) *cell = text;
}

void MemoryWindow::SetRowIcon(int row, RowIcon icon) {
  std::lock_guard guard(mutex_);
  if (row >= 0 && row < static_cast<int>(rows_.size())) rows_[row].icon = icon;
}

RowId MemoryWindow::InsertRow(const std::string& firstCell, RowIcon icon) {
  std::lock_guard guard(mutex_);
  MemoryRow row{.id = RowId{++lastRowId_}, .cells = {}, .icon = icon};
  row.cells[0] = firstCell;
  if (!positionsStale_) positions_.emplace(row.id.value, static_cast<int>(rows_.size()));
  rows_.push_back(std::move(row));
  return rows_.back().id;
}

RowId MemoryWindow::RowIdAt(int row) {
  std::lock_guard guard(mutex_);
  return row >= 0 && row < static_cast<int>(rows_.size()) ? rows_[row].id : RowId{};
}

int MemoryWindow::RowIndexOf(RowId id) {
  std::lock_guard guard(mutex_);
  return IndexOf(id);
}

std::string MemoryWindow::CellText(RowId id, int column) {
  std::lock_guard guard(mutex_);
  const std::string* cell = Cell(IndexOf(id), column);
  return cell ? *cell : std::string();
}

void MemoryWindow::SetCellText(RowId id, int column, const std::string& text) {
  std::lock_guard guard(mutex_);
  if (std::string* cell = Cell(IndexOf(id), column)) *cell = text;
}

void MemoryWindow::SetRowIcon(RowId id, RowIcon icon) {
  std::lock_guard guard(mutex_);
  if (const int index = IndexOf(id); index >= 0) rows_[index].icon = icon;
}

void MemoryWindow::SetLocationSource(RowId id, LocationSource source) {
  std::lock_guard guard(mutex_);
  if (const int index = IndexOf(id); index >= 0) rows_[index].locationSource = source;
}

RowTexts MemoryWindow::TextsAt(int index, const std::vector<int>& columns) {
  RowTexts texts{rows_[static_cast<std::size_t>(index)].id, {}};
  for (const int column : columns) {
    const std::string* cell = Cell(index, column);
    texts.cells.push_back(cell ? *cell : std::string());
  }
  return texts;
}

std::vector<RowTexts> MemoryWindow::RowsWithTexts(const std::vector<int>& columns) {
  std::lock_guard guard(mutex_);
  std::vector<RowTexts> rows;
  rows.reserve(rows_.size());
  for (int index = 0; index < static_cast<int>(rows_.size()); ++index) {
    rows.push_back(TextsAt(index, columns));
  }
  return rows;
}

std::vector<RowTexts> MemoryWindow::TextsOfRows(const std::vector<RowId>& rows,
                                                const std::vector<int>& columns) {
  std::lock_guard guard(mutex_);
  std::vector<RowTexts> texts;
  texts.reserve(rows.size());
  for (const RowId row : rows) {
    if (const int index = IndexOf(row); index >= 0) texts.push_back(TextsAt(index, columns));
  }
  return texts;
}

void MemoryWindow::ApplyRowChanges(const std::vector<RowChange>& changes) {
  std::lock_guard guard(mutex_);
  for (const RowChange& change : changes) {
    const int index = IndexOf(change.row);
    if (index < 0) continue;
    for (const auto& [column, text] : change.cells) {
      if (std::string* cell = Cell(index, column)) *cell = text;
    }
    MemoryRow& row = rows_[static_cast<std::size_t>(index)];
    if (change.icon) row.icon = *change.icon;
    if (change.colour) row.colour = *change.colour;
  }
}

void MemoryWindow::DeleteAllRows() {
  std::lock_guard guard(mutex_);
  rows_.clear();
  positionsStale_ = true;
}

int MemoryWindow::RowCount() {
  std::lock_guard guard(mutex_);
  return static_cast<int>(rows_.size());
}

void MemoryWindow::SortRows(const std::function<int(RowId, RowId)>& compare) {
  std::lock_guard guard(mutex_);
  positionsStale_ = true;
  std::stable_sort(rows_.begin(), rows_.end(),
                   [&](const MemoryRow& a, const MemoryRow& b) { return compare(a.id, b.id) < 0; });
}

void MemoryWindow::SetStatusLine(const std::string& text) {
  std::lock_guard guard(mutex_);
  statusLine_ = text;
}

}  // namespace vardelle

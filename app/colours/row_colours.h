// Row colours of the server table, kept by row identity. This table is the one source the
// window draws coloured rows from: it asks AnswerCustomDraw for every row it paints.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "app/view/colour.h"
#include "app/view/main_window_view.h"

namespace vardelle {

// Read by the window's thread while workers write; every member takes the table's own mutex.
class RowColourTable {
 public:
  void Set(RowId row, RowColour colour);
  // Every row back to the default colours.
  void Clear();
  // Nothing for a row that has no colour of its own.
  std::optional<RowColour> Find(RowId row) const;

 private:
  mutable std::mutex mutex_;
  std::unordered_map<std::uint64_t, RowColour> rows_;
};

// How the window draws a row: a selected row of the table that has the keyboard focus in the
// system's highlight colours, any other coloured row in its colours, the rest in the defaults.
RowColour AnswerCustomDraw(const RowColourTable& table, RowId row, bool selectedAndFocused);

}  // namespace vardelle

// A list view in report mode (SysListView32): a flat table of rows with a clickable column
// header, as the Qt edition's ReportView is. Each item's lParam holds its row's identity, so a
// row is found by it whatever order the rows are in, and LVM_SORTITEMS hands the identities
// straight to the comparer.
#pragma once

// windows.h first: the other system headers need its types.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "app/view/main_window_view.h"
#include "ui/win32/layout.h"

namespace vardelle::win32 {

// A table colour, or the system's colour of that index for kDefaultColour.
COLORREF OrSystemColour(Colour colour, int systemColour);

class ReportView {
 public:
  struct Events {
    std::function<void()> rowActivated;  // double click on a row, or Enter with a row current
    std::function<void()> rightClicked;  // right click in the list, or the menu key
    std::function<void(int column)> headerClicked;
    std::function<void(POINT screen)> headerRightClicked;
  };
  // Draws a cell of one column in place of its text, on the row's background.
  struct CellPainter {
    int column = -1;
    std::function<void(HDC dc, const RECT& cell, RowId row, COLORREF textColour)> paint;
  };

  ReportView(HWND parent, ControlId id, const Place& place, std::span<const ReportColumn> columns);
  ~ReportView();
  ReportView(const ReportView&) = delete;
  ReportView& operator=(const ReportView&) = delete;

  HWND Handle() const { return list_; }
  Events& EventHandlers() { return events_; }
  void SetCellPainter(CellPainter painter) { cellPainter_ = std::move(painter); }

  // Adds a column after the last one.
  void AddColumn(const ReportColumn& column);
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  // A hidden column keeps its cells at width 0, and the user cannot drag it open.
  void SetColumnHidden(int column, bool hidden);
  bool IsColumnHidden(int column) const;
  // The last column takes whatever width the others leave.
  void StretchLastColumn();
  // Every column's width, as shown and as shown again once unhidden, from one DPI to another.
  void ScaleColumnWidths(int fromDpi, int toDpi);

  // Rows are reached by position; a row or column that is not there is left alone and
  // reads as empty.
  RowId AppendRow(const std::wstring& firstCell, RowIcon icon);
  int RowCount() const;
  RowId IdAt(int row) const;
  int IndexOf(RowId id) const;  // -1 when the row is gone
  // The row as the cell operations take it, as the Qt edition's ReportView answers it.
  int RowWithId(RowId id) const { return IndexOf(id); }
  std::wstring CellText(int row, int column) const;
  void SetCellText(int row, int column, const std::wstring& text);
  void SetRowIcon(int row, RowIcon icon);
  // The colours the row is drawn in from now on; a new row draws in the defaults.
  void SetRowColour(int row, RowColour colour);
  // Results a cell painter draws for the row (its trend), kept with the row and gone with it;
  // nullptr for a row given none.
  void SetRowResults(int row, std::vector<std::optional<int>> results);
  const std::vector<std::optional<int>>* RowResults(RowId id) const;
  // The colours the row was given, which it is drawn in unless highlighted.
  RowColour OwnColour(int row) const;
  void DeleteAllRows();

  // The tooltip over a cell of the row, or over all its cells for column -1; "" takes it away.
  void SetToolTip(RowId row, int column, std::wstring text);
  // The tooltip over all the cells of the row at a position; a row out of range is left alone.
  void SetRowToolTip(int row, std::wstring text);
  std::wstring ToolTipAt(int row, int column) const;

  // The focused row when it is selected, else the first selected one; -1 when none is.
  int SelectedRow() const;
  // Every selected row, in table order.
  std::vector<int> SelectedRows() const;
  void SelectAll();
  // The selected rows in table order as tab-separated text, a header line first: the shown
  // columns only; a field holding a tab, line end or quote is quoted, quotes doubled.
  std::wstring SelectedRowsAsText() const;

  // Reorders the rows by compare of their identities; rows that compare equal keep their
  // order, and the selection and focus stay on their rows.
  void SortRows(const std::function<int(RowId, RowId)>& compare);
  void SetColumnArrow(int column, HeaderArrow arrow);
  void Repaint();

  // The list's notifications, which reach its parent: the answer to WM_NOTIFY.
  LRESULT OnNotify(const NMHDR& header);

 private:
  struct RowPaint {
    bool custom = false;  // the row's own colours, else the system's
    COLORREF text = 0;
    COLORREF back = 0;
  };

  static LRESULT CALLBACK ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR, DWORD_PTR self);
  LRESULT HandleListMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  LRESULT HandleHeaderNotify(const NMHEADERW& notify, bool& handled);
  void CreateToolTip();
  void ShowToolTipText(NMTTDISPINFOW& info);
  void FollowMouseForToolTip(LPARAM position);
  std::pair<int, int> CellAt(POINT client) const;

  LRESULT OnCustomDraw(NMLVCUSTOMDRAW& draw);
  RowPaint PaintOf(int row, RowId id) const;
  void ApplyRowPaint(NMLVCUSTOMDRAW& draw) const;
  bool PaintCell(const NMLVCUSTOMDRAW& draw) const;
  void OnKeyDown(WORD key);

  HWND list_ = nullptr;
  HWND toolTip_ = nullptr;
  Events events_;
  CellPainter cellPainter_;
  std::vector<ReportColumn> columns_;
  std::vector<bool> hidden_;
  std::unordered_map<std::uint64_t, RowColour> colours_;                        // by row
  std::unordered_map<std::uint64_t, std::vector<std::optional<int>>> results_;  // by row
  std::map<std::pair<std::uint64_t, int>, std::wstring> toolTips_;  // (row, column or -1)
  std::pair<int, int> toolTipCell_{-1, -1};
  std::wstring shownToolTip_;
  RowPaint rowPaint_;  // of the row being drawn
  std::uint64_t lastRowId_ = 0;
};

}  // namespace vardelle::win32

#include "ui/win32/report_view.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "ui/win32/controls.h"
#include "ui/win32/pictures.h"

namespace vardelle::win32 {
namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr UINT_PTR kToolId = 1;
constexpr int kToolTipWidth = 600;  // wide enough for the latency tooltip's lines

RowId IdOfParam(LPARAM param) { return RowId{static_cast<std::uint64_t>(param)}; }

std::wstring TabField(const std::wstring& text) {
  if (text.find_first_of(L"\t\r\n\"") == std::wstring::npos) return text;
  std::wstring quoted = L"\"";
  for (const wchar_t c : text) quoted += c == L'"' ? std::wstring(L"\"\"") : std::wstring(1, c);
  return quoted + L"\"";
}

void PutOnClipboard(HWND owner, const std::wstring& text) {
  if (!OpenClipboard(owner)) return;
  EmptyClipboard();
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory);
  }
  CloseClipboard();
}

}  // namespace

COLORREF OrSystemColour(Colour colour, int systemColour) {
  return colour == kDefaultColour ? GetSysColor(systemColour) : static_cast<COLORREF>(colour);
}

ReportView::ReportView(HWND parent, ControlId id, const Place& place,
                       std::span<const ReportColumn> columns) {
  list_ = CreateWindowExW(
      WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
      place.x, place.y, place.width, place.height, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(SongTiFont()), FALSE);
  SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  for (const ReportColumn& column : columns) AddColumn(column);
  SetWindowSubclass(list_, ListProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  CreateToolTip();
}

ReportView::~ReportView() {
  if (IsWindow(toolTip_)) DestroyWindow(toolTip_);
  if (IsWindow(list_)) {
    RemoveWindowSubclass(list_, ListProc, kSubclassId);
    DestroyWindow(list_);
  }
}

void ReportView::AddColumn(const ReportColumn& column) {
  LVCOLUMNW entry{};
  entry.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
  entry.fmt = column.alignRight ? LVCFMT_RIGHT : LVCFMT_LEFT;
  entry.cx = column.width;
  entry.pszText = const_cast<wchar_t*>(column.caption.c_str());
  entry.iSubItem = ColumnCount();
  SendMessageW(list_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(ColumnCount()),
               reinterpret_cast<LPARAM>(&entry));
  columns_.push_back(column);
  hidden_.push_back(false);
}

void ReportView::SetColumnHidden(int column, bool hidden) {
  if (column < 0 || column >= ColumnCount()) return;
  hidden_[static_cast<std::size_t>(column)] = hidden;
  const int width = hidden ? 0 : columns_[static_cast<std::size_t>(column)].width;
  SendMessageW(list_, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0));
}

bool ReportView::IsColumnHidden(int column) const {
  return column >= 0 && column < ColumnCount() && hidden_[static_cast<std::size_t>(column)];
}

void ReportView::StretchLastColumn() {
  SendMessageW(list_, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(ColumnCount() - 1),
               MAKELPARAM(LVSCW_AUTOSIZE_USEHEADER, 0));
}

void ReportView::ScaleColumnWidths(int fromDpi, int toDpi) {
  for (int column = 0; column < ColumnCount(); ++column) {
    int& width = columns_[static_cast<std::size_t>(column)].width;
    width = MulDiv(width, toDpi, fromDpi);
    const auto shown =
        static_cast<int>(SendMessageW(list_, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
    SendMessageW(list_, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column),
                 MAKELPARAM(MulDiv(shown, toDpi, fromDpi), 0));
  }
}

RowId ReportView::AppendRow(const std::wstring& firstCell, RowIcon icon) {
  const RowId id{++lastRowId_};
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
  item.iItem = RowCount();
  item.pszText = const_cast<wchar_t*>(firstCell.c_str());
  item.iImage = static_cast<int>(icon);
  item.lParam = static_cast<LPARAM>(id.value);
  SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return id;
}

int ReportView::RowCount() const {
  return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
}

RowId ReportView::IdAt(int row) const {
  if (row < 0 || row >= RowCount()) return {};
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  SendMessageW(list_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return IdOfParam(item.lParam);
}

int ReportView::IndexOf(RowId id) const {
  if (id == RowId{}) return -1;
  LVFINDINFOW find{};
  find.flags = LVFI_PARAM;
  find.lParam = static_cast<LPARAM>(id.value);
  return static_cast<int>(
      SendMessageW(list_, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

std::wstring ReportView::CellText(int row, int column) const {
  if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount()) return {};
  std::wstring text(64, L'\0');
  for (;;) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    const auto length = static_cast<std::size_t>(SendMessageW(
        list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
    if (length + 1 < text.size()) return text.substr(0, length);
    text.resize(text.size() * 2);
  }
}

void ReportView::SetCellText(int row, int column, const std::wstring& text) {
  if (row < 0 || row >= RowCount() || column < 0 || column >= ColumnCount()) return;
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(list_, LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

void ReportView::SetRowIcon(int row, RowIcon icon) {
  if (row < 0 || row >= RowCount()) return;
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  item.iImage = static_cast<int>(icon);
  SendMessageW(list_, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void ReportView::SetRowColour(int row, RowColour colour) {
  if (const RowId id = IdAt(row); id != RowId{}) colours_[id.value] = colour;
}

RowColour ReportView::OwnColour(int row) const {
  const auto own = colours_.find(IdAt(row).value);
  return own == colours_.end() ? RowColour{} : own->second;
}

void ReportView::SetRowResults(int row, std::vector<std::optional<int>> results) {
  if (const RowId id = IdAt(row); id != RowId{}) results_[id.value] = std::move(results);
}

const std::vector<std::optional<int>>* ReportView::RowResults(RowId id) const {
  const auto found = results_.find(id.value);
  return found == results_.end() ? nullptr : &found->second;
}

void ReportView::DeleteAllRows() {
  SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
  toolTips_.clear();
  colours_.clear();
  results_.clear();
}

void ReportView::SetToolTip(RowId row, int column, std::wstring text) {
  const std::pair key{row.value, column};
  if (text.empty()) {
    toolTips_.erase(key);
  } else {
    toolTips_[key] = std::move(text);
  }
}

void ReportView::SetRowToolTip(int row, std::wstring text) {
  const RowId id = IdAt(row);
  if (id != RowId{}) SetToolTip(id, -1, std::move(text));
}

std::wstring ReportView::ToolTipAt(int row, int column) const {
  const RowId id = IdAt(row);
  if (id == RowId{}) return {};
  for (const int key : {column, -1}) {
    const auto found = toolTips_.find({id.value, key});
    if (found != toolTips_.end()) return found->second;
  }
  return {};
}

int ReportView::SelectedRow() const {
  const auto next = [this](int flags) {
    return static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), flags));
  };
  const int focused = next(LVNI_FOCUSED);
  if (focused >= 0 &&
      SendMessageW(list_, LVM_GETITEMSTATE, static_cast<WPARAM>(focused), LVIS_SELECTED)) {
    return focused;
  }
  return next(LVNI_SELECTED);
}

std::vector<int> ReportView::SelectedRows() const {
  std::vector<int> rows;
  for (int row = -1;;) {
    row = static_cast<int>(
        SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED));
    if (row < 0) return rows;
    rows.push_back(row);
  }
}

void ReportView::SelectAll() {
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED;
  item.state = LVIS_SELECTED;
  SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
}

std::wstring ReportView::SelectedRowsAsText() const {
  const auto line = [this](const std::function<std::wstring(int)>& field) {
    std::wstring text;
    bool first = true;
    for (int column = 0; column < ColumnCount(); ++column) {
      if (IsColumnHidden(column)) continue;
      if (!first) text += L'\t';
      first = false;
      text += TabField(field(column));
    }
    return text + L"\r\n";
  };
  std::wstring text = line([this](int c) { return columns_[static_cast<std::size_t>(c)].caption; });
  for (const int row : SelectedRows()) text += line([&](int c) { return CellText(row, c); });
  return text;
}

namespace {

struct SortContext {
  const std::function<int(RowId, RowId)>& compare;
  std::unordered_map<std::uint64_t, int> position;
};

int CALLBACK CompareRows(LPARAM a, LPARAM b, LPARAM context) {
  auto& sort = *reinterpret_cast<SortContext*>(context);
  const int order = sort.compare(IdOfParam(a), IdOfParam(b));
  if (order != 0) return order < 0 ? -1 : 1;
  // Ties keep their present order, whatever sort the list runs.
  return sort.position[static_cast<std::uint64_t>(a)] -
         sort.position[static_cast<std::uint64_t>(b)];
}

}  // namespace

void ReportView::SortRows(const std::function<int(RowId, RowId)>& compare) {
  SortContext context{compare, {}};
  for (int row = 0; row < RowCount(); ++row) context.position[IdAt(row).value] = row;
  SendMessageW(list_, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&context),
               reinterpret_cast<LPARAM>(&CompareRows));
}

void ReportView::SetColumnArrow(int column, HeaderArrow arrow) {
  if (column < 0 || column >= ColumnCount()) return;
  HWND header = reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETHEADER, 0, 0));
  HDITEMW item{};
  item.mask = HDI_FORMAT;
  SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
  item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
  if (arrow == HeaderArrow::kUp) item.fmt |= HDF_SORTUP;
  if (arrow == HeaderArrow::kDown) item.fmt |= HDF_SORTDOWN;
  SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
}

void ReportView::Repaint() { InvalidateRect(list_, nullptr, FALSE); }

LRESULT ReportView::OnNotify(const NMHDR& header) {
  switch (header.code) {
    case NM_CUSTOMDRAW:
      return OnCustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(const_cast<NMHDR*>(&header)));
    case NM_DBLCLK:
      if (reinterpret_cast<const NMITEMACTIVATE&>(header).iItem >= 0 && events_.rowActivated) {
        events_.rowActivated();
      }
      return 0;
    case NM_RETURN:
      if (SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED) >= 0 &&
          events_.rowActivated) {
        events_.rowActivated();
      }
      return 0;
    case LVN_COLUMNCLICK:
      if (events_.headerClicked)
        events_.headerClicked(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
      return 0;
    case LVN_KEYDOWN:
      OnKeyDown(reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey);
      return 0;
    default:
      return 0;
  }
}

void ReportView::OnKeyDown(WORD key) {
  if (!KeyIsDown(VK_CONTROL)) return;
  if (key == 'A') SelectAll();
  if (key == 'C') PutOnClipboard(list_, SelectedRowsAsText());
}

// Custom draw: the rows in the colours they were given, the painted column drawn here.
LRESULT ReportView::OnCustomDraw(NMLVCUSTOMDRAW& draw) {
  if (colours_.empty() && !cellPainter_.paint) return CDRF_DODEFAULT;
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      rowPaint_ = PaintOf(static_cast<int>(draw.nmcd.dwItemSpec), IdOfParam(draw.nmcd.lItemlParam));
      ApplyRowPaint(draw);
      return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
      // The colours again for each cell: the list may reset them between cells.
      ApplyRowPaint(draw);
      return PaintCell(draw) ? CDRF_SKIPDEFAULT : CDRF_DODEFAULT;
    default:
      return CDRF_DODEFAULT;
  }
}

ReportView::RowPaint ReportView::PaintOf(int row, RowId id) const {
  // Every selected row is highlighted, not only the current one: Ctrl+A shows all of them.
  const bool listFocused = GetFocus() == list_;
  const bool selected =
      SendMessageW(list_, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) != 0;
  const auto own = colours_.find(id.value);
  const RowColour colour =
      DrawnRowColour(own == colours_.end() ? RowColour{} : own->second, selected && listFocused);
  if (colour.textColour != kDefaultColour || colour.backColour != kDefaultColour) {
    return {true, OrSystemColour(colour.textColour, COLOR_WINDOWTEXT),
            OrSystemColour(colour.backColour, COLOR_WINDOW)};
  }
  // What the list draws of its own, for the painted column to match.
  if (selected && listFocused) {
    return {false, GetSysColor(COLOR_HIGHLIGHTTEXT), GetSysColor(COLOR_HIGHLIGHT)};
  }
  return {false, GetSysColor(COLOR_WINDOWTEXT),
          GetSysColor(selected ? COLOR_BTNFACE : COLOR_WINDOW)};
}

// A row of its own colours is drawn unselected, or the list would draw the selection's.
void ReportView::ApplyRowPaint(NMLVCUSTOMDRAW& draw) const {
  if (!rowPaint_.custom) return;
  draw.clrText = rowPaint_.text;
  draw.clrTextBk = rowPaint_.back;
  draw.nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED);
}

bool ReportView::PaintCell(const NMLVCUSTOMDRAW& draw) const {
  if (!cellPainter_.paint || draw.iSubItem != cellPainter_.column) return false;
  RECT cell{LVIR_BOUNDS, draw.iSubItem, 0, 0};
  SendMessageW(list_, LVM_GETSUBITEMRECT, draw.nmcd.dwItemSpec, reinterpret_cast<LPARAM>(&cell));
  if (cell.right <= cell.left) return true;
  HBRUSH back = CreateSolidBrush(rowPaint_.back);
  FillRect(draw.nmcd.hdc, &cell, back);
  DeleteObject(back);
  const RECT area{cell.left + 2, cell.top + 2, cell.right - 2, cell.bottom - 2};
  cellPainter_.paint(draw.nmcd.hdc, area, IdOfParam(draw.nmcd.lItemlParam), rowPaint_.text);
  return true;
}

// The list's own messages: its menus, its header's dragging and the cell tooltips.
LRESULT CALLBACK ReportView::ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR, DWORD_PTR self) {
  bool handled = false;
  const LRESULT result =
      reinterpret_cast<ReportView*>(self)->HandleListMessage(message, wParam, lParam, handled);
  if (message == WM_NCDESTROY) RemoveWindowSubclass(window, ListProc, kSubclassId);
  return handled ? result : DefSubclassProc(window, message, wParam, lParam);
}

LRESULT ReportView::HandleListMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  switch (message) {
    case WM_CONTEXTMENU: {
      handled = true;
      const HWND header = reinterpret_cast<HWND>(SendMessageW(list_, LVM_GETHEADER, 0, 0));
      POINT screen{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (lParam == -1) GetCursorPos(&screen);
      if (reinterpret_cast<HWND>(wParam) == header) {
        if (events_.headerRightClicked) events_.headerRightClicked(screen);
      } else if (events_.rightClicked) {
        events_.rightClicked();
      }
      return 0;
    }
    case WM_NOTIFY: {
      const auto& notify = *reinterpret_cast<const NMHDR*>(lParam);
      if (notify.hwndFrom == toolTip_ && notify.code == TTN_GETDISPINFOW) {
        handled = true;
        ShowToolTipText(*reinterpret_cast<NMTTDISPINFOW*>(lParam));
        return 0;
      }
      return HandleHeaderNotify(*reinterpret_cast<const NMHEADERW*>(lParam), handled);
    }
    case WM_MOUSEMOVE:
      FollowMouseForToolTip(lParam);
      return 0;
    default:
      return 0;
  }
}

// A hidden column stays shut: neither dragging its divider nor double-clicking it opens it.
LRESULT ReportView::HandleHeaderNotify(const NMHEADERW& notify, bool& handled) {
  const UINT code = notify.hdr.code;
  const bool opens = code == HDN_BEGINTRACKW || code == HDN_BEGINTRACKA ||
                     code == HDN_DIVIDERDBLCLICKW || code == HDN_DIVIDERDBLCLICKA;
  if (!opens || !IsColumnHidden(notify.iItem)) return 0;
  handled = true;
  return TRUE;  // refuses the drag; the double click goes no further
}

void ReportView::CreateToolTip() {
  toolTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, list_, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = list_;
  tool.uId = kToolId;
  tool.rect = RECT{0, 0, 0x7FFF, 0x7FFF};  // the whole list, however large it grows
  tool.lpszText = LPSTR_TEXTCALLBACKW;
  SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(toolTip_, TTM_SETMAXTIPWIDTH, 0, kToolTipWidth);  // and so several lines
}

std::pair<int, int> ReportView::CellAt(POINT client) const {
  LVHITTESTINFO hit{};
  hit.pt = client;
  SendMessageW(list_, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
  return {hit.iItem, hit.iItem >= 0 ? hit.iSubItem : -1};
}

void ReportView::ShowToolTipText(NMTTDISPINFOW& info) {
  POINT cursor{};
  GetCursorPos(&cursor);
  ScreenToClient(list_, &cursor);
  const auto [row, column] = CellAt(cursor);
  shownToolTip_ = ToolTipAt(row, column);
  info.lpszText = shownToolTip_.data();
}

// One tool covers the whole list, so the tip is taken down whenever the mouse reaches
// another cell; it comes back with that cell's text.
void ReportView::FollowMouseForToolTip(LPARAM position) {
  const std::pair<int, int> cell = CellAt(POINT{GET_X_LPARAM(position), GET_Y_LPARAM(position)});
  if (cell == toolTipCell_) return;
  toolTipCell_ = cell;
  SendMessageW(toolTip_, TTM_POP, 0, 0);
}

}  // namespace vardelle::win32

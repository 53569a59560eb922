#include "ui/win32/mini_view.h"

#include <windowsx.h>

#include <algorithm>

#include "ui/win32/dpi.h"
#include "ui/win32/pictures.h"
#include "ui/win32/report_view.h"
#include "ui/win32/window_text.h"

namespace vardelle::win32 {
namespace {

constexpr wchar_t kMiniViewClass[] = L"VardelleMiniView";
// On top, out of the taskbar and the Alt+Tab list, never activated, and layered for its
// see-through.
constexpr DWORD kExtendedStyle =
    WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_LAYERED;
// See-through enough to show the game behind it, solid enough to read.
constexpr BYTE kOpacity = 204;
constexpr int kPadding = 4;  // at 96 DPI
enum MiniViewMenuItem : UINT { kMiniClickThroughItem = 1, kMiniRemoveItem };

void RegisterMiniViewClass(WNDPROC procedure) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_SIZEALL);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
  windowClass.lpszClassName = kMiniViewClass;
  RegisterClassExW(&windowClass);  // fails harmlessly when registered before
}

std::wstring LineText(const NativeMiniView<std::wstring>::Row& row) {
  return row.name + L"  " + row.latency;
}

}  // namespace

MiniView::MiniView(MainWindowEvents& events) : events_(events) {
  RegisterMiniViewClass(WindowProc);
  CreateWindowExW(kExtendedStyle, kMiniViewClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                  GetModuleHandleW(nullptr), this);
  SetLayeredWindowAttributes(window_, 0, kOpacity, LWA_ALPHA);
  dpi_ = DpiOf(window_);
}

MiniView::~MiniView() {
  if (window_) DestroyWindow(window_);
}

void MiniView::Draw(const NativeMiniView<std::wstring>& view) {
  if (view.clickThrough != drawn_.clickThrough) SetClickThrough(view.clickThrough);
  // Moved only to a new place, so a draw during a drag does not pull it back.
  if (view.place && view.place != drawn_.place) {
    SetWindowPos(window_, nullptr, view.place->x, view.place->y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  drawn_ = view;
  FitToRows();
  if (drawn_.shown) {
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  } else {
    ShowWindow(window_, SW_HIDE);
  }
  InvalidateRect(window_, nullptr, TRUE);
}

HFONT MiniView::Font() const { return SongTiFont(dpi_); }

int MiniView::Padding() const { return ScaledToDpi(kPadding, dpi_); }

// The system's corner keeps the view under the mouse while it is dragged between screens; its
// size follows the rows in the new font.
void MiniView::OnDpiChanged(int dpi, const RECT& suggested) {
  dpi_ = dpi;
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  FitToRows();
  InvalidateRect(window_, nullptr, TRUE);
}

// Clicks pass through a layered window that is transparent to the mouse.
void MiniView::SetClickThrough(bool clickThrough) {
  const LONG_PTR style = GetWindowLongPtrW(window_, GWL_EXSTYLE);
  SetWindowLongPtrW(window_, GWL_EXSTYLE,
                    clickThrough ? style | WS_EX_TRANSPARENT : style & ~WS_EX_TRANSPARENT);
}

int MiniView::LineHeight() const {
  HDC dc = GetDC(window_);
  const HGDIOBJ before = SelectObject(dc, Font());
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, before);
  ReleaseDC(window_, dc);
  return metrics.tmHeight + Padding();
}

RECT MiniView::LinePlace(size_t line) const {
  RECT client{};
  GetClientRect(window_, &client);
  const int lineHeight = LineHeight();
  const int top = Padding() + static_cast<int>(line) * lineHeight;
  return RECT{client.left, top, client.right, top + lineHeight};
}

std::optional<std::wstring> MiniView::ServerAt(POINT screen) const {
  POINT point = screen;
  ScreenToClient(window_, &point);
  for (size_t line = 0; line < drawn_.rows.size(); ++line) {
    const RECT place = LinePlace(line);
    if (PtInRect(&place, point)) return drawn_.rows[line].name;
  }
  return std::nullopt;
}

void MiniView::FitToRows() {
  HDC dc = GetDC(window_);
  const HGDIOBJ before = SelectObject(dc, Font());
  int width = 0;
  for (const auto& row : drawn_.rows) {
    const std::wstring text = LineText(row);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    width = std::max<int>(width, size.cx);
  }
  SelectObject(dc, before);
  ReleaseDC(window_, dc);
  const int lines = std::max<int>(1, static_cast<int>(drawn_.rows.size()));
  const int padding = Padding();
  SetWindowPos(window_, nullptr, 0, 0, width + 2 * padding, lines * LineHeight() + 2 * padding,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MiniView::Paint() {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(window_, &paint);
  const HGDIOBJ before = SelectObject(dc, Font());
  const int padding = Padding();
  for (size_t line = 0; line < drawn_.rows.size(); ++line) {
    const auto& row = drawn_.rows[line];
    const RECT place = LinePlace(line);
    SetBkColor(dc, OrSystemColour(row.backColour, COLOR_WINDOW));
    SetTextColor(dc, OrSystemColour(row.textColour, COLOR_WINDOWTEXT));
    const std::wstring text = LineText(row);
    ExtTextOutW(dc, padding, place.top + padding / 2, ETO_OPAQUE, &place, text.c_str(),
                static_cast<UINT>(text.size()), nullptr);
  }
  SelectObject(dc, before);
  EndPaint(window_, &paint);
}

// The line's server is taken now: the lines may change while the menu is open.
void MiniView::ShowMenu(POINT screen) {
  const std::optional<std::wstring> server = ServerAt(screen);
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING | (drawn_.clickThrough ? MF_CHECKED : MF_UNCHECKED),
              kMiniClickThroughItem, ToWindowText(kClickThroughMenuText).c_str());
  if (server) {
    AppendMenuW(menu, MF_STRING, kMiniRemoveItem, ToWindowText(kRemoveFromMiniViewMenuText).c_str());
  }
  const auto chosen =
      static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                       screen.x, screen.y, 0, window_, nullptr));
  DestroyMenu(menu);
  if (chosen == kMiniClickThroughItem) events_.OnClickThroughToggled();
  if (chosen == kMiniRemoveItem && server) events_.OnMiniViewLineRemoveChosen(FromWindowText(*server));
}

void MiniView::ReportPlace() {
  RECT place{};
  GetWindowRect(window_, &place);
  events_.OnMiniViewMoved({place.left, place.top});
}

LRESULT CALLBACK MiniView::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MiniView*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MiniView*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return self->OnMessage(message, wParam, lParam);
}

LRESULT MiniView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    // The whole window is its caption: the system drags it.
    case WM_NCHITTEST:
      return HTCAPTION;
    case WM_EXITSIZEMOVE:
      ReportPlace();
      return 0;
    case WM_CONTEXTMENU:
      ShowMenu(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

}  // namespace vardelle::win32

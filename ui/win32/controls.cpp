#include "ui/win32/controls.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <stdexcept>
#include <vector>

#include "ui/win32/pictures.h"

namespace vardelle::win32 {
namespace {

constexpr UINT_PTR kPainterSubclassId = 2;

LRESULT CALLBACK PaintedControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR, DWORD_PTR data) {
  auto* paint = reinterpret_cast<Painter*>(data);
  switch (message) {
    case WM_ERASEBKGND:
      return TRUE;  // the paint below draws the background
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(window, &ps);
      RECT client;
      GetClientRect(window, &client);
      DrawThemeParentBackground(window, dc, &client);
      HGDIOBJ previousFont =
          SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
      (*paint)(dc, client);
      SelectObject(dc, previousFont);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, PaintedControlProc, kPainterSubclassId);
      delete paint;
      break;
    default:
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

const ControlLayout* FindLayout(int id) {
  static const std::vector<ControlLayout> layouts = ControlLayouts();
  for (const ControlLayout& layout : layouts) {
    if (layout.id == id) return &layout;
  }
  return nullptr;
}

const ControlLayout& LayoutOf(ControlId id) {
  if (const ControlLayout* layout = FindLayout(id)) return *layout;
  throw std::out_of_range("no control with this id in the layout");
}

HWND CreateControl(HWND parent, const wchar_t* className, const ControlLayout& layout, DWORD style,
                   const std::wstring& text) {
  HWND control = CreateWindowExW(
      0, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, layout.place.x, layout.place.y,
      layout.place.width, layout.place.height, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), GetModuleHandleW(nullptr), nullptr);
  if (control) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(SongTiFont()), FALSE);
  return control;
}

HWND CreateLabel(HWND parent, const ControlLayout& layout) {
  const DWORD notify = layout.handCursor ? SS_NOTIFY : 0;
  return CreateControl(parent, L"STATIC", layout, SS_LEFTNOWORDWRAP | SS_NOPREFIX | notify,
                       layout.caption);
}

HWND CreatePaintedControl(HWND parent, const ControlLayout& layout, Painter paint) {
  HWND control = CreateControl(parent, L"STATIC", layout, SS_NOTIFY, L"");
  if (control) {
    SetWindowSubclass(control, PaintedControlProc, kPainterSubclassId,
                      reinterpret_cast<DWORD_PTR>(new Painter(std::move(paint))));
  }
  return control;
}

void PlaceLayoutControls(HWND tabs, LayoutSize client, int dpi) {
  for (const ControlLayout& layout : ControlLayouts()) {
    Place place = PlaceInClient(layout.place, layout.growth, client, dpi);
    // A drop-down list's window holds its open list too; the selection field keeps the
    // font's height whatever the window's.
    if (layout.kind == ControlKind::kDropDown) place.height = ScaledToDpi(kOpenDropDownHeight, dpi);
    PlaceControl(GetDlgItem(tabs, layout.id), place);
  }
}

void PlaceControl(HWND control, const Place& place) {
  SetWindowPos(control, nullptr, place.x, place.y, place.width, place.height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetChildrenFont(HWND parent, HFONT font) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
}

void RepaintBehind(HWND control) {
  HWND parent = GetParent(control);
  RECT place;
  GetWindowRect(control, &place);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
  RedrawWindow(parent, &place, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

bool KeyIsDown(int virtualKey) { return (GetKeyState(virtualKey) & 0x8000) != 0; }

}  // namespace vardelle::win32

// Making the window's child controls from their layout, on the tab control that holds
// them all.
#pragma once

#include <windows.h>

#include <functional>

#include "ui/win32/layout.h"

namespace vardelle::win32 {

// The layout of the control with that id: none for a window of no layout (a header, the
// window itself).
const ControlLayout* FindLayout(int id);
const ControlLayout& LayoutOf(ControlId id);

// A drop-down list's height with its list open, at 96 DPI: every period shown at once.
inline constexpr int kOpenDropDownHeight = 200;

// Whether the key is held down as the message being handled was sent.
bool KeyIsDown(int virtualKey);

// A control of a system class at its layout's place, in the window's font.
HWND CreateControl(HWND parent, const wchar_t* className, const ControlLayout& layout, DWORD style,
                   const std::wstring& text);

// A label of one line, as the Qt edition's labels keep theirs: cut at its right edge rather
// than wrapped. A hand-cursor label takes the mouse, to show the cursor and be clicked.
HWND CreateLabel(HWND parent, const ControlLayout& layout);

// A control whose face paint draws, over its parent's background, in the control's font.
using Painter = std::function<void(HDC dc, const RECT& client)>;
HWND CreatePaintedControl(HWND parent, const ControlLayout& layout, Painter paint);

// Every control of the layout on tabs at its place in a client area of that size at dpi.
void PlaceLayoutControls(HWND tabs, LayoutSize client, int dpi);
void PlaceControl(HWND control, const Place& place);
// The font of every child window of parent, redrawn in it.
void SetChildrenFont(HWND parent, HFONT font);

// Repaints what lies under a control that draws no background of its own, before its new text.
void RepaintBehind(HWND control);

}  // namespace vardelle::win32

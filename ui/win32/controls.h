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

// A control of a system class at its layout's place, in the window's font.
HWND CreateControl(HWND parent, const wchar_t* className, const ControlLayout& layout, DWORD style,
                   const std::wstring& text);

// A label of one line, as the Qt edition's labels keep theirs: cut at its right edge rather
// than wrapped. A hand-cursor label takes the mouse, to show the cursor and be clicked.
HWND CreateLabel(HWND parent, const ControlLayout& layout);

// A control whose face paint draws, over its parent's background.
using Painter = std::function<void(HDC dc, const RECT& client)>;
HWND CreatePaintedControl(HWND parent, const ControlLayout& layout, Painter paint);

// Repaints what lies under a control that draws no background of its own, before its new text.
void RepaintBehind(HWND control);

}  // namespace vardelle::win32

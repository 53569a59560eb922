// The in-memory template of a dialog whose controls are made as it starts, in pixels of
// 96 DPI scaled to the dialog's, and laid anew at a new DPI when the dialog moves to a screen
// of another.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/view/window_layout.h"

namespace vardelle::win32 {

// The dialog alone, titled title (GBK), as DialogBoxIndirectParamW takes it.
std::vector<unsigned short> DialogTemplate(const std::string& title);

// A control on the dialog at place, in the window's font; an edit field with a sunken edge.
// The control's GWLP_USERDATA keeps the place.
HWND MakeDialogControl(HWND dialog, int id, const wchar_t* className, const std::wstring& text,
                       DWORD style, const LayoutPlace& place);
// The client area at its size, centred over the owner; the dialog's GWLP_USERDATA keeps the
// size.
void SizeAndCentre(HWND dialog, LayoutSize client);
// WM_DPICHANGED: the controls' places, sizes and fonts and the client area's size at dpi, the
// dialog's corner where the system suggests.
void LayDialogAtDpi(HWND dialog, int dpi, const RECT& suggested);

}  // namespace vardelle::win32

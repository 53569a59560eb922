// The in-memory template of a dialog whose controls are made as it starts, in pixels of
// 96 DPI scaled to the dialog's.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/view/window_layout.h"

namespace vardelle::win32 {

// The dialog alone, titled title (GBK), as DialogBoxIndirectParamW takes it.
std::vector<unsigned short> DialogTemplate(const std::string& title);

// A control on the dialog at place, in the window's font; an edit field with a sunken edge.
HWND MakeDialogControl(HWND dialog, int id, const wchar_t* className, const std::wstring& text,
                       DWORD style, const LayoutPlace& place);
// The client area at its size, centred over the owner.
void SizeAndCentre(HWND dialog, LayoutSize client);

}  // namespace vardelle::win32

// The window's DPI and the frame around a client area at it. The functions for either come
// from user32 when it has them (Windows 10 1607 on); older systems and Wine get the screen's
// DPI and the system's frame instead.
#pragma once

#include <windows.h>

#include "app/view/window_layout.h"

namespace vardelle::win32 {

int DpiOf(HWND window);

// The window rectangle (at the origin) around a client area of that size.
SIZE WindowSizeAround(LayoutSize client, DWORD style, DWORD extendedStyle, int dpi);

}  // namespace vardelle::win32

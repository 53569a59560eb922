// The window's edge of the program's GBK text: the system's controls hold UTF-16. The
// support layer's codec converts, so bytes that are no GBK survive the round trip; the ANSI
// code page, which differs from system to system, plays no part.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace vardelle::win32 {

std::wstring ToWindowText(std::string_view gbk);
std::string FromWindowText(std::wstring_view text);

// A window's own text (a control's caption), whole.
std::wstring WindowCaption(HWND window);

}  // namespace vardelle::win32

#include "ui/win32/dpi.h"

namespace vardelle::win32 {
namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

// user32 is a KnownDLL, loaded by every program with a window: looked up, never loaded by
// name.
template <typename Function>
Function User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)))
                : nullptr;
}

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kLayoutDpi;
}

}  // namespace

int DpiOf(HWND window) {
  static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
  const UINT dpi = getDpiForWindow ? getDpiForWindow(window) : 0;
  return dpi > 0 ? static_cast<int>(dpi) : ScreenDpi();
}

SIZE WindowSizeAround(LayoutSize client, DWORD style, DWORD extendedStyle, int dpi) {
  static const auto adjustForDpi =
      User32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
  RECT frame{0, 0, client.width, client.height};
  if (!adjustForDpi || !adjustForDpi(&frame, style, FALSE, extendedStyle, static_cast<UINT>(dpi))) {
    AdjustWindowRectEx(&frame, style, FALSE, extendedStyle);
  }
  return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

}  // namespace vardelle::win32

// The mini view (小窗): a small borderless window over the game, always on top, half see-
// through and never activated, that lists the chosen servers in their rows' colours. Dragged
// with the left button as a caption is; its right-click menu holds 点击穿透 and, over a
// server's line, 移出小窗 for that server. Its font and padding are at the DPI of the screen
// it is on, anew when it is moved to another's.
#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>

#include "app/view/main_window_view.h"
#include "app/view/window_layout.h"
#include "ui/window_view_core.h"

namespace vardelle::win32 {

class MiniView {
 public:
  explicit MiniView(MainWindowEvents& events);
  ~MiniView();
  MiniView(const MiniView&) = delete;
  MiniView& operator=(const MiniView&) = delete;

  void Draw(const NativeMiniView<std::wstring>& view);
  const NativeMiniView<std::wstring>& Drawn() const { return drawn_; }
  HWND Handle() const { return window_; }
  int Dpi() const { return dpi_; }
  // Where a line is drawn, in the window's client coordinates.
  RECT LinePlace(size_t line) const;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void SetClickThrough(bool clickThrough);
  int LineHeight() const;
  // The server whose line is at the screen point, if any.
  std::optional<std::wstring> ServerAt(POINT screen) const;
  void FitToRows();
  void OnDpiChanged(int dpi, const RECT& suggested);
  HFONT Font() const;
  int Padding() const;
  void Paint();
  void ShowMenu(POINT screen);
  void ReportPlace();

  MainWindowEvents& events_;
  HWND window_ = nullptr;
  int dpi_ = kLayoutDpi;
  NativeMiniView<std::wstring> drawn_;
};

}  // namespace vardelle::win32

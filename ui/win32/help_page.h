// Page 2, "帮助信息": the logo, the help text, the donation link and QR code, the update
// link and the copyright line.
#pragma once

#include <windows.h>

#include <vector>

#include "app/view/main_window_view.h"

namespace vardelle::win32 {

class HelpPage {
 public:
  HelpPage(HWND tabs, MainWindowEvents& events);

  const std::vector<HWND>& Controls() const { return controls_; }
  // The logo and the donation QR code shown from now on; the page keeps neither.
  void ShowPictures(HBITMAP logo, HBITMAP donationQr);
  // WM_COMMAND and WM_NOTIFY from the page's controls.
  void OnCommand(int id, int code);
  void OnNotify(const NMHDR& header);

 private:
  MainWindowEvents& events_;
  HBITMAP logo_ = nullptr;
  HBITMAP donationQr_ = nullptr;
  std::vector<HWND> controls_;
};

}  // namespace vardelle::win32

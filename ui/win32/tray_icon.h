// The program's icon in the notification area: shown while rows are watched (its tooltip
// lists them) or for an alert's balloon, and the way back to a window hidden there. The
// shell may refuse it (no notification area, as under Wine's null graphics driver): the
// icon then counts as shown all the same and is offered to the shell again with each change.
#pragma once

// windows.h first: the other system headers need its types.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <string>

namespace vardelle::win32 {

class TrayIcon {
 public:
  // What the icon sends its window, the mouse message in lParam's low word.
  static constexpr UINT kCallbackMessage = WM_APP + 2;

  explicit TrayIcon(HWND window);
  ~TrayIcon();
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // Shows the icon with text as its tooltip; "" removes it.
  void SetToolTip(const std::wstring& text);
  // Shows the icon, with the tooltip it has or the program's name.
  void Show();
  // A balloon from the icon, which is shown first when it is not.
  void ShowBalloon(const std::wstring& title, const std::wstring& body);
  void Remove();
  // The shell's notification area was made anew (its process restarted) and has no icons.
  void OfferAgain();

  bool IsShown() const { return shown_; }
  // What was last handed to the shell, cut to its fields.
  const NOTIFYICONDATAW& LastSent() const { return data_; }

 private:
  void Send(UINT extraFlags);

  NOTIFYICONDATAW data_{};
  bool shown_ = false;  // as the window wants it
  bool added_ = false;  // as the shell took it
};

}  // namespace vardelle::win32

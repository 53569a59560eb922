#include "ui/win32/tray_icon.h"

#include <algorithm>
#include <string_view>

#include "ui/win32/resources/resource_ids.h"

namespace vardelle::win32 {
namespace {

constexpr wchar_t kProgramName[] = L"Vardelle";

// text in a fixed field of the shell's, cut with an ellipsis when it does not fit, never
// between the two halves of a surrogate pair, and always ended.
template <std::size_t N>
void CopyCut(wchar_t (&field)[N], std::wstring_view text) {
  std::size_t length = text.size();
  if (length >= N) {
    length = N - 2;
    if (IS_HIGH_SURROGATE(text[length - 1])) --length;
  }
  std::copy_n(text.data(), length, field);
  if (length < text.size()) field[length++] = L'…';
  field[length] = L'\0';
}

HICON SmallProgramIcon() {
  static const HICON icon = static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_VARDELLE), IMAGE_ICON,
                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
  return icon;
}

}  // namespace

TrayIcon::TrayIcon(HWND window) {
  data_.cbSize = sizeof data_;
  data_.hWnd = window;
  data_.uID = 1;
  data_.uCallbackMessage = kCallbackMessage;
  data_.hIcon = SmallProgramIcon();
}

TrayIcon::~TrayIcon() { Remove(); }

void TrayIcon::SetToolTip(const std::wstring& text) {
  if (text.empty()) {
    Remove();
    return;
  }
  CopyCut(data_.szTip, text);
  shown_ = true;
  Send(0);
}

void TrayIcon::Show() {
  if (shown_) return;
  SetToolTip(kProgramName);
}

void TrayIcon::ShowBalloon(const std::wstring& title, const std::wstring& body) {
  Show();
  CopyCut(data_.szInfoTitle, title);
  CopyCut(data_.szInfo, body);
  data_.dwInfoFlags = NIIF_INFO;
  Send(NIF_INFO);
}

void TrayIcon::Remove() {
  if (added_) Shell_NotifyIconW(NIM_DELETE, &data_);
  added_ = shown_ = false;
}

void TrayIcon::OfferAgain() {
  added_ = false;
  if (shown_) Send(0);
}

// A modify the shell refuses (it lost the icon) becomes an add.
void TrayIcon::Send(UINT extraFlags) {
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | extraFlags;
  if (added_ && Shell_NotifyIconW(NIM_MODIFY, &data_)) return;
  added_ = Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
}

}  // namespace vardelle::win32

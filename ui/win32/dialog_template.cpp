#include "ui/win32/dialog_template.h"

#include <cstring>
#include <string_view>

#include "ui/win32/dpi.h"
#include "ui/win32/pictures.h"
#include "ui/win32/window_text.h"

namespace vardelle::win32 {

std::vector<unsigned short> DialogTemplate(const std::string& title) {
  DLGTEMPLATE head{};
  head.style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
  std::vector<WORD> words(sizeof head / sizeof(WORD));
  std::memcpy(words.data(), &head, sizeof head);
  words.push_back(0);  // no menu
  words.push_back(0);  // the dialog class
  for (const wchar_t c : ToWindowText(title)) words.push_back(static_cast<WORD>(c));
  words.push_back(0);
  return words;
}

HWND MakeDialogControl(HWND dialog, int id, const wchar_t* className, const std::wstring& text,
                       DWORD style, const LayoutPlace& place) {
  const int dpi = DpiOf(dialog);
  const LayoutPlace scaled = PlaceInClient(place, Growth::kFixed, {}, dpi);
  HWND made = CreateWindowExW(
      std::wstring_view(className) == L"EDIT" ? WS_EX_CLIENTEDGE : 0, className, text.c_str(),
      WS_CHILD | WS_VISIBLE | style, scaled.x, scaled.y, scaled.width, scaled.height, dialog,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(SongTiFont(dpi)), FALSE);
  return made;
}

void SizeAndCentre(HWND dialog, LayoutSize client) {
  const int dpi = DpiOf(dialog);
  const SIZE size =
      WindowSizeAround({ScaledToDpi(client.width, dpi), ScaledToDpi(client.height, dpi)},
                       static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)),
                       static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)), dpi);
  RECT over{};
  GetWindowRect(GetWindow(dialog, GW_OWNER), &over);
  SetWindowPos(dialog, nullptr, (over.left + over.right - size.cx) / 2,
               (over.top + over.bottom - size.cy) / 2, size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace vardelle::win32

#include "ui/win32/dialog_template.h"

#include <cstdint>
#include <cstring>
#include <string_view>

#include "ui/win32/controls.h"
#include "ui/win32/dpi.h"
#include "ui/win32/pictures.h"
#include "ui/win32/window_text.h"

namespace vardelle::win32 {
namespace {

// A place of the 96 DPI layout, kept in a window's GWLP_USERDATA (free in the system's
// classes and in a dialog's) so a new DPI lays the dialog from the layout rather than from
// rounded pixels: four 16-bit fields, enough for any dialog's.
LONG_PTR Packed(const LayoutPlace& place) {
  std::uint64_t packed = 0;
  for (const int field : {place.x, place.y, place.width, place.height}) {
    packed = packed << 16 | static_cast<std::uint16_t>(field);
  }
  return static_cast<LONG_PTR>(packed);
}

LayoutPlace Unpacked(LONG_PTR kept) {
  const auto packed = static_cast<std::uint64_t>(kept);
  const auto field = [packed](int index) {
    return static_cast<int>(static_cast<std::uint16_t>(packed >> (16 * (3 - index))));
  };
  return {field(0), field(1), field(2), field(3)};
}

LayoutPlace KeptPlace(HWND window) { return Unpacked(GetWindowLongPtrW(window, GWLP_USERDATA)); }

SIZE DialogSizeAt(HWND dialog, int dpi) {
  const LayoutPlace client = KeptPlace(dialog);
  return WindowSizeAround({ScaledToDpi(client.width, dpi), ScaledToDpi(client.height, dpi)},
                          static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)),
                          static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)), dpi);
}

}  // namespace

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
  SetWindowLongPtrW(made, GWLP_USERDATA, Packed(place));
  return made;
}

void SizeAndCentre(HWND dialog, LayoutSize client) {
  SetWindowLongPtrW(dialog, GWLP_USERDATA, Packed({0, 0, client.width, client.height}));
  const SIZE size = DialogSizeAt(dialog, DpiOf(dialog));
  RECT over{};
  GetWindowRect(GetWindow(dialog, GW_OWNER), &over);
  SetWindowPos(dialog, nullptr, (over.left + over.right - size.cx) / 2,
               (over.top + over.bottom - size.cy) / 2, size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void LayDialogAtDpi(HWND dialog, int dpi, const RECT& suggested) {
  SetChildrenFont(dialog, SongTiFont(dpi));
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    PlaceControl(child, PlaceInClient(KeptPlace(child), Growth::kFixed, {}, dpi));
  }
  const SIZE size = DialogSizeAt(dialog, dpi);
  SetWindowPos(dialog, nullptr, suggested.left, suggested.top, size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace vardelle::win32

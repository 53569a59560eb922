#include "tests/ui/win32/win32_test_support.h"

#include <atomic>
#include <iterator>

#include "app/settings/column_settings.h"
#include "ui/win32/window_text.h"

namespace vardelle::win32::testing {
namespace {

constexpr UINT kMenuGuardMilliseconds = 30000;
UINT_PTR menuGuard = 0;

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }

// The choice ChooseFromMenu is making; its timer looks for the menu from the menu's own loop.
struct PendingChoice {
  std::wstring caption;
  MenuChoice made;
  bool seen = false;
};
PendingChoice* pendingChoice = nullptr;

void CALLBACK PickFromMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND menuWindow = OpenMenuWindow(GetCurrentThreadId());
  if (!pendingChoice || pendingChoice->seen || !menuWindow) return;
  KillTimer(nullptr, timer);
  pendingChoice->seen = true;
  pendingChoice->made = ChooseInOpenMenu(menuWindow, pendingChoice->caption);
}

RECT CellRect(HWND list, int row, int column) {
  RECT cell{column == 0 ? LVIR_LABEL : LVIR_BOUNDS, column, 0, 0};
  SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell));
  return cell;
}

}  // namespace

HWND OpenMenuWindow(DWORD thread) {
  HWND found = nullptr;
  EnumThreadWindows(
      thread,
      [](HWND window, LPARAM data) {
        wchar_t name[16] = {};
        GetClassNameW(window, name, static_cast<int>(std::size(name)));
        if (std::wstring_view(name) != L"#32768" || !IsWindowVisible(window)) return TRUE;
        *reinterpret_cast<HWND*>(data) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// Keys reach an item past the separators, which the menu's keys skip.
MenuChoice ChooseInOpenMenu(HWND menuWindow, const std::wstring& caption) {
  const auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
  MenuChoice made;
  int downs = 0;
  for (int position = 0; position < GetMenuItemCount(menu); ++position) {
    if (GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_SEPARATOR) continue;
    wchar_t item[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), item, static_cast<int>(std::size(item)),
                   MF_BYPOSITION);
    made.captions.push_back(item);
    if (!made.chosen) ++downs;
    made.chosen |= !caption.empty() && item == caption;
  }
  if (!made.chosen) {
    PostMessageW(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
    return made;
  }
  for (int down = 0; down < downs; ++down) PostMessageW(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
  PostMessageW(menuWindow, WM_CHAR, L'\r', 0);
  return made;
}

HWND WaitForDialog(DWORD thread, std::wstring_view title, const std::atomic<bool>& stop) {
  struct Search {
    std::wstring_view title;
    HWND found = nullptr;
  } search{title};
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!search.found && !stop && std::chrono::steady_clock::now() < deadline) {
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM data) {
          auto& state = *reinterpret_cast<Search*>(data);
          wchar_t name[16] = {};
          GetClassNameW(window, name, static_cast<int>(std::size(name)));
          if (std::wstring_view(name) != L"#32770" || WindowCaption(window) != state.title ||
              !IsWindowVisible(window)) {
            return TRUE;
          }
          state.found = window;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    Sleep(10);
  }
  return search.found;
}

void Click(HWND dialog, int id) { SendDlgItemMessageW(dialog, id, BM_CLICK, 0, 0); }
void Type(HWND dialog, int id, const wchar_t* text) { SetDlgItemTextW(dialog, id, text); }

bool ServeMessagesUntil(const std::function<bool()>& done, std::chrono::seconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return true;
}

void QueueMenuKeys(HWND window, std::initializer_list<WORD> keys) {
  for (const WORD key : keys) {
    if (key == VK_RETURN) {
      PostMessageW(window, WM_CHAR, L'\r', 0);
    } else {
      PostMessageW(window, WM_KEYDOWN, key, 0);
    }
  }
  menuGuard = SetTimer(nullptr, 0, kMenuGuardMilliseconds, CloseMenu);
}

void StopMenuGuard() {
  if (menuGuard) KillTimer(nullptr, menuGuard);
  menuGuard = 0;
}

void ChooseFromRowMenu(HWND window, HWND list, int row, std::initializer_list<WORD> keys) {
  const POINT at = CellCentre(list, row, 0);
  PostMessageW(list, WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  QueueMenuKeys(window, keys);
  SendMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
  StopMenuGuard();
}

MenuChoice ChooseFromMenu(std::wstring caption, const std::function<void()>& open) {
  PendingChoice choice{std::move(caption), {}, false};
  pendingChoice = &choice;
  const UINT_PTR picker = SetTimer(nullptr, 0, 10, PickFromMenu);
  menuGuard = SetTimer(nullptr, 0, kMenuGuardMilliseconds, CloseMenu);
  open();
  StopMenuGuard();
  KillTimer(nullptr, picker);
  pendingChoice = nullptr;
  return choice.made;
}

bool ChooseFromRowMenu(HWND list, int row, std::wstring caption) {
  const POINT at = CellCentre(list, row, 0);
  const auto rightClick = [&] {
    PostMessageW(list, WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    SendMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
  };
  return ChooseFromMenu(std::move(caption), rightClick).chosen;
}

TemporarySettings::TemporarySettings() {
  static std::atomic<int> made = 0;
  wchar_t temporary[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, temporary);
  folder_ = std::wstring(temporary) + L"vardelle-ui-win32-" +
            std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++made);
  CreateDirectoryW(folder_.c_str(), nullptr);
  path_ = FromWindowText(folder_ + L"\\settings.ini");
}

TemporarySettings::~TemporarySettings() {
  SettingsWriter().Flush();  // nothing may still be on its way into the folder
  DeleteFileW((folder_ + L"\\settings.ini").c_str());
  RemoveDirectoryW(folder_.c_str());
}

std::wstring ListCell(HWND list, int row, int column) {
  wchar_t text[512] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = static_cast<int>(std::size(text));
  SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return text;
}

int ListIcon(HWND list, int row) {
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = row;
  SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return item.iImage;
}

int HeaderSortFormat(HWND list, int column) {
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  HDITEMW item{};
  item.mask = HDI_FORMAT;
  SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
  return item.fmt & (HDF_SORTUP | HDF_SORTDOWN);
}

int ColumnWidth(HWND list, int column) {
  return static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
}

POINT CellCentre(HWND list, int row, int column) {
  const RECT cell = CellRect(list, row, column);
  return POINT{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
}

POINT CellRightMargin(HWND list, int row, int column) {
  const RECT cell = CellRect(list, row, column);
  return POINT{cell.right - 2, (cell.top + cell.bottom) / 2};
}

PaintedList::PaintedList(HWND list) {
  RECT client{};
  GetClientRect(list, &client);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = client.right;
  info.bmiHeader.biHeight = -client.bottom;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  dc_ = CreateCompatibleDC(nullptr);
  bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  previous_ = SelectObject(dc_, bitmap_);
  SendMessageW(list, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_), PRF_CLIENT | PRF_ERASEBKGND);
}

PaintedList::~PaintedList() {
  SelectObject(dc_, previous_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

COLORREF PaintedList::At(int x, int y) const { return GetPixel(dc_, x, y); }

std::wstring ClipboardText() {
  std::wstring text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

void HoldKey(int key, bool down) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[key] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

}  // namespace vardelle::win32::testing

#include "ui/win32/server_page.h"

#include <commctrl.h>

#include "app/table/server_table.h"
#include "ui/win32/controls.h"
#include "ui/win32/pictures.h"
#include "ui/win32/window_text.h"

namespace vardelle::win32 {
namespace {

enum RowMenuItem : UINT {
  kContinuousPingItem = 1,
  kRouteTraceItem,
  kAlertItem,
  kMiniViewItem,
  kRemoveFromMiniViewItem
};

// In the middle of the table's empty area (the table: 0, 23, 832 x 483).
constexpr Place kGuideTextPlace{156, 200, 520, 52};
constexpr Place kGuideButtonPlace{376, 260, 80, 28};

// Hidden until SetTableGuide shows it, above the table.
HWND CreateGuideControl(HWND tabs, int id, const wchar_t* className, DWORD style, Place place) {
  HWND control = CreateWindowExW(
      0, className, L"", WS_CHILD | style, place.x, place.y, place.width, place.height, tabs,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(SongTiFont()), FALSE);
  SetWindowPos(control, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return control;
}

}  // namespace

ServerPage::ServerPage(HWND tabs, MainWindowEvents& events, Text settingsPath)
    : events_(events),
      periodLabel_(CreateLabel(tabs, LayoutOf(kPeriodLabelId))),
      table_(tabs, kServerTableId, LayoutOf(kServerTableId).place,
             LayoutOf(kServerTableId).columns),
      statistics_(table_, std::move(settingsPath)),
      periodList_(CreateControl(tabs, WC_COMBOBOXW, LayoutOf(kPeriodListId),
                                WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, L"")),
      statusLine_(tabs, kStatusLabelId),
      testButton_(CreateControl(tabs, WC_BUTTONW, LayoutOf(kTestButtonId),
                                WS_TABSTOP | BS_PUSHBUTTON, LayoutOf(kTestButtonId).caption)),
      settingsButton_(CreateControl(tabs, WC_BUTTONW, LayoutOf(kSettingsButtonId),
                                    WS_TABSTOP | BS_PUSHBUTTON,
                                    LayoutOf(kSettingsButtonId).caption)),
      guideText_(CreateGuideControl(tabs, kTableGuideTextId, L"STATIC", SS_CENTER | SS_NOPREFIX,
                                    kGuideTextPlace)),
      guideButton_(CreateGuideControl(tabs, kTableGuideButtonId, WC_BUTTONW,
                                      WS_TABSTOP | BS_PUSHBUTTON, kGuideButtonPlace)) {
  SetWindowTextW(guideButton_, LayoutOf(kSettingsButtonId).caption.c_str());
  // The table draws around the guide rather than over it.
  HWND table = table_.Handle();
  SetWindowLongPtrW(table, GWL_STYLE, GetWindowLongPtrW(table, GWL_STYLE) | WS_CLIPSIBLINGS);
  FillPeriodList();
  table_.EventHandlers().headerClicked = [&events](int column) { events.OnHeaderClicked(column); };
  table_.EventHandlers().rowActivated = [&events] { events.OnRowActivated(); };
  table_.EventHandlers().rightClicked = [&events] { events.OnRowRightClicked(); };
  // The table's design-time row; loading the server list replaces it.
  table_.SetCellText(table_.IndexOf(table_.AppendRow(L"测试主机", RowIcon::kNotTested)), 1,
                     L"192.168.1.1");
}

std::vector<HWND> ServerPage::Controls() const {
  std::vector<HWND> controls{periodLabel_,         table_.Handle(), periodList_,
                             statusLine_.Handle(), testButton_,     settingsButton_};
  if (guideShown_) controls.insert(controls.end(), {guideText_, guideButton_});
  return controls;
}

void ServerPage::SetTableGuide(const std::wstring& text) {
  guideShown_ = !text.empty();
  SetWindowTextW(guideText_, text.c_str());
  // Shown only while page 0 is: the table is then visible.
  const bool visible = guideShown_ && IsWindowVisible(table_.Handle());
  for (HWND control : {guideText_, guideButton_}) {
    ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
    if (visible) InvalidateRect(control, nullptr, TRUE);
  }
}

void ServerPage::PlaceTableGuide(LayoutSize client, int dpi) {
  PlaceControl(guideText_, PlaceInClient(kGuideTextPlace, Growth::kCentred, client, dpi));
  PlaceControl(guideButton_, PlaceInClient(kGuideButtonPlace, Growth::kCentred, client, dpi));
}

void ServerPage::FillPeriodList() {
  for (const PeriodItem& item : PeriodItems()) {
    const auto index =
        SendMessageW(periodList_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.caption.c_str()));
    SendMessageW(periodList_, CB_SETITEMDATA, static_cast<WPARAM>(index), item.value);
  }
  SendMessageW(periodList_, CB_SETCURSEL, 0, 0);
}

int ServerPage::PeriodItemValue(int index) const {
  const LRESULT value = SendMessageW(periodList_, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
  return value == CB_ERR ? 0 : static_cast<int>(value);
}

// The picture beside the caption, through an image list so its alpha channel is drawn.
void ServerPage::ShowButtonIcon(HIMAGELIST icon, int dpi) {
  BUTTON_IMAGELIST images{};
  images.himl = icon;
  images.margin = RECT{ScaledToDpi(4, dpi), 0, 0, 0};
  images.uAlign = BUTTON_IMAGELIST_ALIGN_LEFT;
  SendMessageW(testButton_, BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&images));
  InvalidateRect(testButton_, nullptr, TRUE);
}

void ServerPage::ShowRowMenu(HWND owner, POINT screen, bool listedInMiniView) {
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, kContinuousPingItem, L"持续 Ping");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kRouteTraceItem, L"路由追踪");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kAlertItem, L"提醒…");
  if (listedInMiniView) {
    AppendMenuW(menu, MF_STRING, kRemoveFromMiniViewItem,
                ToWindowText(kRemoveFromMiniViewMenuText).c_str());
  } else {
    AppendMenuW(menu, MF_STRING, kMiniViewItem, ToWindowText(kMiniViewMenuText).c_str());
  }
  const auto chosen = static_cast<UINT>(TrackPopupMenu(
      menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, screen.x, screen.y, 0, owner, nullptr));
  DestroyMenu(menu);
  if (chosen == kContinuousPingItem) events_.OnContinuousPingChosen();
  if (chosen == kRouteTraceItem) events_.OnRouteTraceChosen();
  if (chosen == kAlertItem) events_.OnAlertChosen();
  if (chosen == kMiniViewItem) events_.OnMiniViewChosen();
  if (chosen == kRemoveFromMiniViewItem) events_.OnMiniViewRemoveChosen();
}

void ServerPage::OnCommand(int id, int code) {
  // Every choice counts, the same item again included; the period rule sorts that out.
  if (id == kPeriodListId && code == CBN_SELENDOK) events_.OnPeriodChanged();
  if (id == kTestButtonId && code == BN_CLICKED) events_.OnTestButtonClicked();
  if ((id == kSettingsButtonId || id == kTableGuideButtonId) && code == BN_CLICKED) {
    events_.OnSettingsChosen();
  }
}

}  // namespace vardelle::win32

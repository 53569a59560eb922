#include "ui/win32/global_ping_page.h"

#include "app/global_ping/global_ping_places.h"
#include "ui/win32/controls.h"
#include "ui/win32/window_text.h"

namespace vardelle::win32 {
namespace {

enum KeyListMenuItem : UINT { kTestSelectedItem = 1, kTestAllItem, kPlaceHeading, kFirstPlaceItem };

HMENU BuildMenu(int checkedPlace) {
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, kTestSelectedItem, L"测试选中的服务器");
  AppendMenuW(menu, MF_STRING, kTestAllItem, L"测试全部服务器");
  // A section heading: the places below are one choice.
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING | MF_GRAYED, kPlaceHeading, L"测试地点");
  UINT item = kFirstPlaceItem;
  for (const GlobalPingPlace& place : GlobalPingPlaces()) {
    AppendMenuW(menu, MF_STRING, item++, ToWindowText(place.caption).c_str());
  }
  const auto count = static_cast<int>(GlobalPingPlaces().size());
  if (checkedPlace >= 0 && checkedPlace < count) {
    CheckMenuRadioItem(menu, kFirstPlaceItem, kFirstPlaceItem + static_cast<UINT>(count - 1),
                       kFirstPlaceItem + static_cast<UINT>(checkedPlace), MF_BYCOMMAND);
  }
  return menu;
}

}  // namespace

GlobalPingPage::GlobalPingPage(HWND tabs, MainWindowEvents& events)
    : events_(events),
      keyList_(tabs, kKeyListId, LayoutOf(kKeyListId).place, LayoutOf(kKeyListId).columns),
      statusLine_(tabs, kKeyListStatusLabelId) {
  // The last column takes whatever width the others leave, so no bare strip shows on the right.
  keyList_.StretchLastColumn();
  keyList_.EventHandlers().rowActivated = [&events] { events.OnKeyListRowActivated(); };
  keyList_.EventHandlers().rightClicked = [&events] { events.OnKeyListRightClicked(); };
}

void GlobalPingPage::ShowMenu(HWND owner, int checkedPlace, POINT screen) {
  HMENU menu = BuildMenu(checkedPlace);
  const auto chosen = static_cast<UINT>(TrackPopupMenu(
      menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, screen.x, screen.y, 0, owner, nullptr));
  DestroyMenu(menu);
  if (chosen == kTestSelectedItem || chosen == kTestAllItem) {
    events_.OnGlobalTestChosen(chosen == kTestAllItem);
  } else if (chosen >= kFirstPlaceItem) {
    events_.OnGlobalPlaceChosen(static_cast<int>(chosen - kFirstPlaceItem));
  }
}

}  // namespace vardelle::win32

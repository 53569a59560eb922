#include "app/view/row_menu.h"

namespace vardelle {

void ShowRowMenu(MainWindowView& window, bool listedInMiniView) {
  constexpr int kMenuOffset = 3;
  window.ShowRowMenu(kMenuOffset, kMenuOffset, listedInMiniView);
}

}  // namespace vardelle

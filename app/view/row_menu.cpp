#include "app/view/row_menu.h"

namespace vardelle {

void ShowRowMenu(MainWindowView& window) {
  constexpr int kMenuOffset = 3;
  window.ShowRowMenu(kMenuOffset, kMenuOffset);
}

}  // namespace vardelle

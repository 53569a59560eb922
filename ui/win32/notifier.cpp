#include "ui/win32/notifier.h"

#include "ui/win32/main_window.h"
#include "ui/win32/window_text.h"

namespace vardelle::win32 {

void TrayNotifier::Notify(const AlertNotice& notice) {
  calls_->Post([title = ToWindowText(notice.title), body = ToWindowText(notice.body)](
                   MainWindow& window) { window.Tray().ShowBalloon(title, body); });
}

}  // namespace vardelle::win32

#include "ui/win32/window_platform.h"

#include <memory>
#include <utility>

#include "app/application/application.h"
#include "ui/win32/main_window.h"
#include "ui/win32/main_window_view.h"
#include "ui/win32/notifier.h"
#include "ui/window_view_core.h"

namespace vardelle::win32 {

Win32WindowPlatform::Win32WindowPlatform(Text settingsPath)
    : settingsPath_(std::move(settingsPath)) {}

Win32WindowPlatform::~Win32WindowPlatform() = default;

void Win32WindowPlatform::RunMainWindow(MainWindowEvents& events) {
  MainWindow window(events, settingsPath_);
  Win32MainWindowView& view = *views_.emplace_back(std::make_unique<Win32MainWindowView>(window));
  {
    // The notifier only posts to the window's calls, which drop what comes once the window
    // is gone.
    const WindowAlertNotifier notifier(TheApplication().alerts,
                                       std::make_shared<TrayNotifier>(window.Calls()));
    window.Show();
    events.OnCreated(view);
    window.MarkCreated();
    // The window's destruction, by the user or an event, ends the loop; so does WM_QUIT.
    MSG message;
    while (window.IsOpen() && GetMessageW(&message, nullptr, 0, 0) > 0) {
      if (window.HandleKey(message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    // Waiting callers are let go (as the window is destroyed) before the application tears
    // down what they may hold.
    window.Destroy();
  }
  events.OnDestroying();
}

}  // namespace vardelle::win32

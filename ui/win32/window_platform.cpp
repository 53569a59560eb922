#include "ui/win32/window_platform.h"

#include <utility>

#include "app/start/application.h"
#include "ui/win32/main_window.h"
#include "ui/win32/main_window_view.h"
#include "ui/win32/notifier.h"

namespace vardelle::win32 {

Win32WindowPlatform::Win32WindowPlatform(Text settingsPath)
    : settingsPath_(std::move(settingsPath)) {}

Win32WindowPlatform::~Win32WindowPlatform() = default;

void Win32WindowPlatform::RunMainWindow(MainWindowEvents& events) {
  MainWindow window(events, TheApplication().latencyHistory, settingsPath_);
  Win32MainWindowView& view = *views_.emplace_back(std::make_unique<Win32MainWindowView>(window));
  // Alerts are told for the window's life; its notifier only posts to the window's calls,
  // which drop what comes once the window is gone.
  AlertWatching& alerts = TheApplication().alerts;
  alerts.SetNotifier(std::make_shared<TrayNotifier>(window.Calls()));
  window.Show();
  events.OnCreated(view);
  window.MarkCreated();
  // The window's destruction, by the user or an event, ends the loop; so does WM_QUIT.
  MSG message;
  while (window.IsOpen() && GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  // Waiting callers are let go (as the window is destroyed) before the application tears
  // down what they may hold.
  window.Destroy();
  alerts.SetNotifier(nullptr);
  events.OnDestroying();
}

}  // namespace vardelle::win32

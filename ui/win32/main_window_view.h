// The application's view of the main window, callable from any thread.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/view/main_window_view.h"
#include "ui/win32/main_window.h"
#include "ui/win32/window_text.h"
#include "ui/win32/window_thread_calls.h"
#include "ui/window_view_core.h"

namespace vardelle::win32 {

// The Win32 window's types for WindowViewCore.
struct Win32Edition {
  using Window = MainWindow;
  using Calls = std::shared_ptr<WindowThreadCalls>;
  using NativeText = std::wstring;
  static std::wstring ToWindow(const std::string& text) { return ToWindowText(text); }
  static std::string FromWindow(const std::wstring& text) { return FromWindowText(text); }
  static std::optional<AlertWatch> AskAlertWatch(MainWindow& window, const std::string& serverName,
                                                 const AlertWatch& current);
  static void RunSettingsDialog(MainWindow& window, SettingsDialog& dialog);
};

class Win32MainWindowView final : public WindowViewCore<Win32Edition> {
 public:
  explicit Win32MainWindowView(const MainWindow& window) : WindowViewCore(window.Calls()) {}
};

}  // namespace vardelle::win32

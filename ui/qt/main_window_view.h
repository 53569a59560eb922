// The application's view of the main window, callable from any thread.
#pragma once

#include <QString>
#include <optional>
#include <string>

#include "app/view/main_window_view.h"
#include "ui/qt/main_window.h"
#include "ui/qt/window_text.h"
#include "ui/qt/window_thread_calls.h"
#include "ui/window_view_core.h"

namespace vardelle::ui {

// The Qt window's types for WindowViewCore.
struct QtEdition {
  using Window = MainWindow;
  using Calls = WindowThreadCalls;
  using NativeText = QString;
  static QString ToWindow(const std::string& text) { return FromGbk(text); }
  static std::string FromWindow(const QString& text) { return ToGbkText(text); }
  static std::optional<AlertWatch> AskAlertWatch(MainWindow& window, const std::string& serverName,
                                                 const AlertWatch& current);
  static void RunSettingsDialog(MainWindow& window, SettingsDialog& dialog);
};

class QtMainWindowView final : public WindowViewCore<QtEdition> {
 public:
  explicit QtMainWindowView(MainWindow& window) : WindowViewCore(window) {}

  // See WindowThreadCalls::Detach.
  void Detach() { Calls().Detach(); }
};

}  // namespace vardelle::ui

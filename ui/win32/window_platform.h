// Runs the main window with the system's own controls.
#pragma once

#include <memory>
#include <vector>

#include "app/start/user_files.h"
#include "app/view/main_window_view.h"
#include "support/text/text.h"

namespace vardelle::win32 {

class Win32MainWindowView;

class Win32WindowPlatform final : public WindowPlatform {
 public:
  // settingsPath: where the window keeps the user's choices made in it.
  explicit Win32WindowPlatform(Text settingsPath = UserSettingsPath());
  ~Win32WindowPlatform() override;

  // Returns once the window has been closed and destroyed.
  void RunMainWindow(MainWindowEvents& events) override;

 private:
  const Text settingsPath_;
  // Detached threads may still hold a view after its window is gone; the views stay
  // (doing nothing) as long as the platform does.
  std::vector<std::unique_ptr<Win32MainWindowView>> views_;
};

}  // namespace vardelle::win32

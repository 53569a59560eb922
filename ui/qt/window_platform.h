// Runs the main window with Qt.
#pragma once

#include <memory>
#include <vector>

#include "app/view/main_window_view.h"

namespace vardelle::ui {

class QtMainWindowView;

class QtWindowPlatform final : public WindowPlatform {
 public:
  QtWindowPlatform();
  ~QtWindowPlatform() override;

  // Needs a QApplication. Returns once the window has been closed and destroyed.
  void RunMainWindow(MainWindowEvents& events) override;

 private:
  // Detached threads may still hold a view after its window is gone; the views stay
  // (doing nothing) as long as the platform does.
  std::vector<std::unique_ptr<QtMainWindowView>> views_;
};

}  // namespace vardelle::ui

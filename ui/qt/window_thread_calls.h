// Carries calls from any thread to the window's thread while the caller waits.
//
// A call from another thread is posted as an event to a receiver that lives on the
// window's thread; the caller waits until that event is gone. Qt destroys an event both
// after delivering it and when it discards it (its receiver deleted, the queue flushed),
// so a waiting caller is released in every case. Once detached, or once the window is
// destroyed, calls do nothing.
#pragma once

#include <functional>
#include <memory>

namespace vardelle::ui {

class MainWindow;

class WindowThreadCalls {
 public:
  explicit WindowThreadCalls(MainWindow& window);
  WindowThreadCalls(const WindowThreadCalls&) = delete;
  WindowThreadCalls& operator=(const WindowThreadCalls&) = delete;

  // Runs call(window) on the window's thread and returns when it is done, or does nothing
  // when the window is gone or goes before the call could run.
  void Run(const std::function<void(MainWindow&)>& call);

  // Window's thread, before the window is destroyed: refuses further calls and releases
  // the callers still waiting, without running their calls.
  void Detach();

 private:
  struct Shared;
  std::shared_ptr<Shared> shared_;
};

}  // namespace vardelle::ui

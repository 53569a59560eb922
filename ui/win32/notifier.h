// Alerts told as balloons of the window's icon in the notification area.
#pragma once

#include <memory>

#include "app/alerts/alert_watching.h"
#include "ui/win32/window_thread_calls.h"

namespace vardelle::win32 {

// Notify runs on the caller's thread and only posts to the window's thread, never waiting
// for it: the caller may be a test-run worker the window's thread itself waits for. Once
// the window is gone, notices are dropped.
class TrayNotifier final : public AlertNotifier {
 public:
  explicit TrayNotifier(std::shared_ptr<WindowThreadCalls> calls) : calls_(std::move(calls)) {}
  void Notify(const AlertNotice& notice) override;

 private:
  const std::shared_ptr<WindowThreadCalls> calls_;
};

}  // namespace vardelle::win32

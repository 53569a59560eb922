// A notifier that tells nobody: it records every notice, from whichever thread it comes.
#pragma once

#include <mutex>
#include <vector>

#include "app/alerts/alert_watching.h"

namespace vardelle::testing {

class RecordingNotifier : public AlertNotifier {
 public:
  void Notify(const AlertNotice& notice) override {
    std::lock_guard guard(mutex_);
    notices_.push_back(notice);
  }
  std::vector<AlertNotice> Notices() const {
    std::lock_guard guard(mutex_);
    return notices_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<AlertNotice> notices_;
};

}  // namespace vardelle::testing

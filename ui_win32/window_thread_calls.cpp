#include "ui_win32/window_thread_calls.h"

namespace vardelle::win32 {

WindowThreadCalls::WindowThreadCalls(HWND window, UINT message, MainWindow& target)
    : window_(window), message_(message), target_(&target), threadId_(GetCurrentThreadId()) {}

void WindowThreadCalls::Run(const std::function<void(MainWindow&)>& call) {
  std::unique_lock lock(mutex_);
  if (!target_) return;
  if (GetCurrentThreadId() == threadId_) {
    // The window can only go on this very thread, so it outlives the call.
    MainWindow& target = *target_;
    lock.unlock();
    call(target);
    return;
  }
  Posted posted{&call};
  waiting_.push_back(&posted);
  // Posted under the lock: Close cannot come between the check above and the post.
  if (!PostMessageW(window_, message_, 0, 0)) {
    waiting_.pop_back();
    return;
  }
  finished_.wait(lock, [&posted] { return posted.done; });
}

void WindowThreadCalls::RunNextPosted() {
  std::unique_lock lock(mutex_);
  if (waiting_.empty() || !target_) return;
  Posted* posted = waiting_.front();
  waiting_.pop_front();
  MainWindow& target = *target_;
  lock.unlock();
  try {
    (*posted->call)(target);
  } catch (...) {
    // Never across to the caller's thread: it gets what it would once the window is gone.
  }
  lock.lock();
  posted->done = true;
  finished_.notify_all();
}

void WindowThreadCalls::Close() {
  std::lock_guard lock(mutex_);
  target_ = nullptr;
  for (Posted* posted : waiting_) posted->done = true;
  waiting_.clear();
  finished_.notify_all();
}

}  // namespace vardelle::win32

#include "ui/win32/window_thread_calls.h"

#include <utility>

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
  bool done = false;
  if (!Enqueue({[&call](MainWindow& target) { call(target); }, &done})) return;
  finished_.wait(lock, [&done] { return done; });
}

void WindowThreadCalls::Post(std::function<void(MainWindow&)> call) {
  std::lock_guard lock(mutex_);
  if (target_) Enqueue({std::move(call), nullptr});
}

bool WindowThreadCalls::Enqueue(Queued queued) {
  queue_.push_back(std::move(queued));
  // Posted under the lock: Close cannot come between the caller's check and the post.
  if (PostMessageW(window_, message_, 0, 0)) return true;
  queue_.pop_back();
  return false;
}

void WindowThreadCalls::RunQueued() {
  std::unique_lock lock(mutex_);
  while (!queue_.empty() && target_) {
    Queued next = std::move(queue_.front());
    queue_.pop_front();
    MainWindow& target = *target_;
    lock.unlock();
    try {
      next.call(target);
    } catch (...) {
      // Never across to the caller's thread: it gets what it would once the window is gone.
    }
    lock.lock();
    if (next.done) *next.done = true;
    finished_.notify_all();
  }
}

void WindowThreadCalls::Close() {
  std::lock_guard lock(mutex_);
  target_ = nullptr;
  for (const Queued& queued : queue_) {
    if (queued.done) *queued.done = true;
  }
  queue_.clear();
  finished_.notify_all();
}

}  // namespace vardelle::win32

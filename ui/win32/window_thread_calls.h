// Carries calls from any thread to the window's thread while the caller waits.
//
// A call from another thread is queued and the window told by a posted message; the caller
// waits until the window's thread has run it. Each message runs every call queued by then:
// a modal loop that ends inside a sent message (a click sent from another thread) takes the
// next posted message without dispatching it, and the calls it announced run with the next. A plain SendMessage would wait as well, but
// for ever once the window's thread stops serving messages on its way out; here the window
// closes the queue as it is destroyed, which releases every waiting caller without running
// its call. From then on calls do nothing. A call may also be posted without waiting, for
// callers that must never wait for the window; it runs in turn with the others, or not at
// all once the window is gone.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace vardelle::win32 {

class MainWindow;

class WindowThreadCalls {
 public:
  // On the window's thread: calls run on target, announced to window by message.
  WindowThreadCalls(HWND window, UINT message, MainWindow& target);
  WindowThreadCalls(const WindowThreadCalls&) = delete;
  WindowThreadCalls& operator=(const WindowThreadCalls&) = delete;

  // Runs call(target) on the window's thread and returns when it is done, or does nothing
  // when the window is gone or goes before the call could run.
  void Run(const std::function<void(MainWindow&)>& call);
  // Queues call(target) for the window's thread and returns at once; dropped when the window
  // is gone or goes before it could run.
  void Post(std::function<void(MainWindow&)> call);

  // The window's thread, on the message: runs the calls queued, oldest first.
  void RunQueued();
  // The window's thread, as the window is destroyed: refuses further calls and releases
  // the callers still waiting.
  void Close();

 private:
  struct Queued {
    std::function<void(MainWindow&)> call;
    bool* done;  // the waiting caller's flag; null when nobody waits
  };

  // Under mutex_: queues call and tells the window; false when the message could not go.
  bool Enqueue(Queued queued);

  std::mutex mutex_;
  std::condition_variable finished_;
  std::deque<Queued> queue_;
  HWND window_;
  UINT message_;
  MainWindow* target_;  // null once closed
  DWORD threadId_;
};

}  // namespace vardelle::win32

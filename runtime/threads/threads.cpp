#include "runtime/threads/threads.h"

#include <cxxabi.h>

#include <condition_variable>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <utility>

namespace vardelle {

namespace {

// The threads started and not yet finished. Never destroyed: a thread may finish while the
// process's statics are being destroyed.
struct RunningThreads {
  std::mutex mutex;
  std::condition_variable none;
  int count = 0;

  void Add() {
    std::lock_guard guard(mutex);
    ++count;
  }
  void Remove() {
    std::lock_guard guard(mutex);
    if (--count == 0) none.notify_all();
  }
};

RunningThreads& Running() {
  static auto* const running = new RunningThreads;
  return *running;
}

// The routine's result is the thread's exit code, which nobody reads. An exception
// leaving a thread would terminate the whole process, so it stops here. Not noexcept:
// the forced unwind of thread cancellation must be able to pass through. The task and
// everything it holds go before the thread counts as finished.
void RunTask(std::function<void()>& task) {
  std::function<void()> owned = std::move(task);
  try {
    owned();
  } catch (const abi::__forced_unwind&) {
    throw;  // thread cancellation and pthread_exit unwind this way; swallowing it aborts
  } catch (...) {
  }
  owned = nullptr;
  Running().Remove();
}

}  // namespace

bool StartThread(ThreadRoutine routine) { return StartThread(routine, 0); }

bool StartThread(ThreadRoutine routine, int argument) {
  if (routine == nullptr) {
    return false;
  }
  return StartThread([routine, argument] { routine(argument); });
}

bool StartThread(std::function<void()> task) {
  if (!task) {
    return false;
  }
  Running().Add();
  try {
    std::thread([task = std::move(task)]() mutable { RunTask(task); }).detach();
    return true;
  } catch (const std::system_error&) {
    Running().Remove();
    return false;  // the system refused another thread
  } catch (const std::bad_alloc&) {
    Running().Remove();
    return false;  // no memory for the thread's start state
  }
}

bool AwaitStartedThreads(std::chrono::steady_clock::time_point deadline) {
  RunningThreads& running = Running();
  std::unique_lock lock(running.mutex);
  return running.none.wait_until(lock, deadline, [&] { return running.count == 0; });
}

}  // namespace vardelle

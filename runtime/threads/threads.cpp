#include "runtime/threads/threads.h"

#include <cxxabi.h>

#include <condition_variable>
#include <list>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <utility>

namespace vardelle {

namespace {

// Each thread detaches itself as its last step; its starter never does. mingw's thread
// library races when one thread detaches another that is ending (under Wine this crashed
// test programs now and then), whereas a thread detaching itself has nothing to race with.
// Joining them instead would leave the last ones unjoined at exit, which ThreadSanitizer
// reports as leaks.
//
// Never destroyed: a thread may finish while the process's statics are being destroyed.
struct StartedThreads {
  std::mutex mutex;
  std::condition_variable noneRunning;
  std::list<std::thread> running;  // the threads whose task has not yet returned

  void Finish(std::list<std::thread>::iterator self) {
    std::lock_guard guard(mutex);
    self->detach();
    running.erase(self);
    if (running.empty()) noneRunning.notify_all();
  }
};

StartedThreads& Started() {
  static auto* const started = new StartedThreads;
  return *started;
}

// An exception leaving a thread would terminate the whole process, so it stops here. Not
// noexcept: the forced unwind of thread cancellation must be able to pass through. The task
// and everything it holds go before the thread counts as finished.
void RunTask(std::function<void()>& task) {
  std::function<void()> owned = std::move(task);
  try {
    owned();
  } catch (const abi::__forced_unwind&) {
    throw;  // thread cancellation and pthread_exit unwind this way; swallowing it aborts
  } catch (...) {
  }
}

// The handle goes into running before the thread may finish: the thread reaches Finish
// only once this lock is released, by when its handle is in place.
bool Launch(std::function<void()>& task) {
  StartedThreads& started = Started();
  std::lock_guard guard(started.mutex);
  const auto slot = started.running.emplace(started.running.end());
  try {
    *slot = std::thread([slot, task = std::move(task)]() mutable {
      RunTask(task);
      Started().Finish(slot);
    });
    return true;
  } catch (const std::system_error&) {
    // the system refused another thread
  } catch (const std::bad_alloc&) {
    // no memory for the thread's start state
  }
  started.running.erase(slot);
  return false;
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
  return Launch(task);
}

bool AwaitStartedThreads(std::chrono::steady_clock::time_point deadline) {
  StartedThreads& started = Started();
  std::unique_lock lock(started.mutex);
  return started.noneRunning.wait_until(lock, deadline, [&] { return started.running.empty(); });
}

}  // namespace vardelle

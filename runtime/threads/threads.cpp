#include "runtime/threads/threads.h"

#include <cxxabi.h>

#include <condition_variable>
#include <cstdlib>
#include <list>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <utility>

namespace vardelle {

namespace {

// Every thread started here is joined, none detached: mingw's thread library races when a
// thread is detached while it ends, which crashed programs now and then under Wine and made
// other threads' joins fail. A thread that finishes moves its own handle from running to
// finished; whoever starts the next thread, or waits for all of them, joins those, and the
// process's exit joins the last.
//
// Never destroyed: a thread may finish while the process's statics are being destroyed.
struct StartedThreads {
  std::mutex mutex;
  std::condition_variable noneRunning;
  std::list<std::thread> running;
  std::list<std::thread> finished;

  // Takes the finished threads' handles, to be joined outside the lock.
  std::list<std::thread> TakeFinished() {
    std::lock_guard guard(mutex);
    return std::exchange(finished, {});
  }

  void Finish(std::list<std::thread>::iterator self) {
    std::lock_guard guard(mutex);
    finished.splice(finished.end(), running, self);
    if (running.empty()) noneRunning.notify_all();
  }
};

void JoinAll(std::list<std::thread>& threads) {
  for (std::thread& thread : threads) thread.join();
}

void JoinFinishedThreads();

StartedThreads& Started() {
  static auto* const started = [] {
    // The threads that finished last have nobody after them to join them.
    std::atexit(JoinFinishedThreads);
    return new StartedThreads;
  }();
  return *started;
}

void JoinFinishedThreads() {
  std::list<std::thread> finished = Started().TakeFinished();
  JoinAll(finished);
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
  JoinFinishedThreads();
  return Launch(task);
}

bool AwaitStartedThreads(std::chrono::steady_clock::time_point deadline) {
  StartedThreads& started = Started();
  std::list<std::thread> finished;
  {
    std::unique_lock lock(started.mutex);
    if (!started.noneRunning.wait_until(lock, deadline,
                                        [&] { return started.running.empty(); })) {
      return false;
    }
    finished = std::exchange(started.finished, {});
  }
  JoinAll(finished);
  return true;
}

}  // namespace vardelle

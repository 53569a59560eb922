#include "runtime/threads/threads.h"

#include <cxxabi.h>

#include <new>
#include <system_error>
#include <thread>
#include <utility>

namespace vardelle {

namespace {

// The routine's result is the thread's exit code, which nobody reads. An exception
// leaving a thread would terminate the whole process, so it stops here. Not noexcept:
// the forced unwind of thread cancellation must be able to pass through.
void RunTask(const std::function<void()>& task) {
  try {
    task();
  } catch (const abi::__forced_unwind&) {
    throw;  // thread cancellation and pthread_exit unwind this way; swallowing it aborts
  } catch (...) {
  }
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
  try {
    std::thread(RunTask, std::move(task)).detach();
    return true;
  } catch (const std::system_error&) {
    return false;  // the system refused another thread
  } catch (const std::bad_alloc&) {
    return false;  // no memory for the thread's start state
  }
}

}  // namespace vardelle

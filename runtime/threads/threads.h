// Worker threads that nobody waits for one by one. The routine takes one int and its result
// is never read.
#pragma once

#include <chrono>
#include <functional>

namespace vardelle {

using ThreadRoutine = int (*)(int argument);

// Starts routine(argument) on a thread of its own (argument 0 when left out), which nobody
// joins: it detaches itself once the routine has returned.
// Returns whether the thread was created: false, without throwing, when the system
// refuses another thread or routine is null. An exception thrown by the routine ends
// only that routine, never the process.
bool StartThread(ThreadRoutine routine);
bool StartThread(ThreadRoutine routine, int argument);
// The same for a task that carries its own state (an empty task starts nothing).
bool StartThread(std::function<void()> task);

// Waits until every thread started above has finished, at most until deadline; true when
// none is left. For program end: the process's statics may only be destroyed after that.
bool AwaitStartedThreads(std::chrono::steady_clock::time_point deadline);

}  // namespace vardelle

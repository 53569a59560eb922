#include "app/location/location_lookups.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <utility>

#include "runtime/threads/threads.h"

namespace vardelle {

// Held by the object and by every lookup thread, so a thread finishing after its object has
// gone (a process exiting) still finds the queue it reports to.
struct LocationLookups::Shared {
  struct Job {
    std::string address;
    LookUp lookUp;
    Deliver deliver;
  };

  std::mutex mutex;
  std::condition_variable allDone;
  std::deque<Job> queue;
  int threads = 0;     // lookup threads running, at most kMaxLookupsInFlight
  int unfinished = 0;  // jobs queued or running
  bool stopped = false;

  // The next job for a lookup thread; nothing when the queue is empty, and the thread then
  // counts itself out under the same lock, so a job queued meanwhile starts a new thread.
  std::optional<Job> Next() {
    std::lock_guard guard(mutex);
    if (queue.empty()) {
      --threads;
      return std::nullopt;
    }
    Job job = std::move(queue.front());
    queue.pop_front();
    return job;
  }

  void Finished() {
    std::lock_guard guard(mutex);
    if (--unfinished == 0) allDone.notify_all();
  }

  static void Run(Job& job) {
    try {
      const Text result = job.lookUp(job.address);
      job.deliver(result);
    } catch (...) {
      // A lookup that fails this way leaves the placeholder in its cell.
    }
  }

  // A lookup thread: takes jobs until the queue is empty.
  static void Serve(const std::shared_ptr<Shared>& shared) {
    while (std::optional<Job> job = shared->Next()) {
      Run(*job);
      job.reset();  // the job's own captures go before it counts as finished
      shared->Finished();
    }
  }
};

LocationLookups::LocationLookups() : shared(std::make_shared<Shared>()) {}

LocationLookups::~LocationLookups() { Wait(); }

void LocationLookups::Start(std::string address, LookUp lookUp, Deliver deliver) {
  bool startThread = false;
  {
    std::lock_guard guard(shared->mutex);
    if (shared->stopped) return;
    shared->queue.push_back({std::move(address), std::move(lookUp), std::move(deliver)});
    ++shared->unfinished;
    if (shared->threads < kMaxLookupsInFlight) {
      ++shared->threads;
      startThread = true;
    }
  }
  if (!startThread || StartThread([state = shared] { Shared::Serve(state); })) return;
  // No thread to be had: the job is left to a thread already running or, with none, run
  // here, so that every job is delivered in the end.
  bool runHere = false;
  {
    std::lock_guard guard(shared->mutex);
    runHere = --shared->threads == 0;
    if (runHere) ++shared->threads;
  }
  if (runHere) Shared::Serve(shared);
}

void LocationLookups::Stop() {
  std::deque<Shared::Job> dropped;
  std::lock_guard guard(shared->mutex);
  shared->stopped = true;
  dropped.swap(shared->queue);
  shared->unfinished -= static_cast<int>(dropped.size());
  if (shared->unfinished == 0) shared->allDone.notify_all();
}

void LocationLookups::Wait() { Waiter()(); }

std::function<void()> LocationLookups::Waiter() const {
  return [state = shared] {
    std::unique_lock lock(state->mutex);
    state->allDone.wait(lock, [&] { return state->unfinished == 0; });
  };
}

}  // namespace vardelle

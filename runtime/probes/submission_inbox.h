// Where the threads that send echo requests leave them for an engine's own thread. Every
// engine has the same three moves: a Send posts a submission and wakes the engine on the
// first one waiting; the engine's thread takes everything waiting at once; its destructor
// closes the inbox, wakes the engine and joins it. How an engine wakes (an event descriptor,
// an event object) stays its own.
#pragma once

#include <mutex>
#include <utility>
#include <vector>

namespace vardelle {

// Submission is a plain struct whose member done is the request's callback. No callback is
// ever called or destroyed under the inbox's lock: a refused one is handed back.
template <typename Submission>
class SubmissionInbox {
 public:
  using Done = decltype(Submission::done);

  struct Posted {
    // The inbox was empty: the engine's thread may be asleep and must be woken.
    bool wake = false;
    // The inbox is closed and took nothing: this callback (the submission's) is to be
    // called with no reply, by the caller, outside the lock.
    Done refused;
  };

  Posted Post(Submission submission) {
    std::lock_guard guard(mutex_);
    if (closed_) return {false, std::move(submission.done)};
    const bool wake = waiting_.empty();
    waiting_.push_back(std::move(submission));
    return {wake, nullptr};
  }

  struct Taken {
    std::vector<Submission> submissions;  // in the order they were posted
    bool closed = false;                  // nothing more will come
  };

  // Everything waiting, and whether the inbox has been closed: once it has, this is the
  // last of what it took.
  Taken TakeAll() {
    std::lock_guard guard(mutex_);
    return {std::exchange(waiting_, {}), closed_};
  }

  // Later posts are refused; what is waiting stays for the engine's last TakeAll.
  void Close() {
    std::lock_guard guard(mutex_);
    closed_ = true;
  }

 private:
  std::mutex mutex_;
  std::vector<Submission> waiting_;  // under mutex_
  bool closed_ = false;              // under mutex_
};

}  // namespace vardelle

#include "runtime/threads/locks.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace vardelle {
namespace {

// Long enough for a loaded sanitizer run; only a deadlock ever waits it out.
constexpr auto kLockDeadline = std::chrono::seconds(60);

// Runs every job on a thread of its own and joins them all. A deadlock must fail the
// run instead of hanging it, so past the deadline the process ends with a message.
void RunConcurrently(const std::vector<std::function<void()>>& jobs) {
  std::mutex mutex;
  std::condition_variable finished;
  std::size_t finishedCount = 0;
  std::vector<std::thread> threads;
  for (const auto& job : jobs) {
    threads.emplace_back([&, job] {
      job();
      {
        std::lock_guard guard(mutex);
        ++finishedCount;
      }
      finished.notify_all();
    });
  }
  std::unique_lock lock(mutex);
  if (!finished.wait_for(lock, kLockDeadline, [&] { return finishedCount == jobs.size(); })) {
    std::fprintf(stderr, "lock test deadlocked\n");
    std::_Exit(EXIT_FAILURE);
  }
  lock.unlock();
  for (auto& thread : threads) {
    thread.join();
  }
}

void RunOnOtherThread(const std::function<void()>& job) { RunConcurrently({job}); }

// Waits until flag is set; ends the process on a deadlock like RunConcurrently.
void AwaitFlag(const std::atomic<bool>& flag) {
  const auto giveUp = std::chrono::steady_clock::now() + kLockDeadline;
  while (!flag.load()) {
    if (std::chrono::steady_clock::now() > giveUp) {
      std::fprintf(stderr, "lock test deadlocked\n");
      std::_Exit(EXIT_FAILURE);
    }
    std::this_thread::yield();
  }
}

// Enters handle on another thread and reports whether the calling thread had set
// `released` before that enter got through.
std::thread EnterAfterRelease(LockHandle handle, const std::atomic<bool>& released,
                              std::atomic<bool>& waiting, bool& enteredAfterRelease) {
  return std::thread([handle, &released, &waiting, &enteredAfterRelease] {
    waiting = true;
    EnterLock(handle);
    enteredAfterRelease = released.load() && HeldLockDepth(handle) == 1;
    LeaveLock(handle);
  });
}

// Gives a lock that was wrongly let go the chance to be taken by the waiting thread.
void LetWaiterTry(const std::atomic<bool>& waiting) {
  AwaitFlag(waiting);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

TEST(LockHandleTest, NonLiveHandlesDoNothing) {
  const LockHandle deleted = CreateLock();
  ASSERT_TRUE(DeleteLock(deleted));
  const LockHandle neverCreated[] = {std::numeric_limits<LockHandle>::min(), -1};

  for (const LockHandle handle : {LockHandle{0}, deleted, neverCreated[0], neverCreated[1]}) {
    EnterLock(handle);
    EXPECT_EQ(HeldLockDepth(handle), 0) << handle;
    LeaveLock(handle);
    EXPECT_EQ(HeldLockDepth(handle), 0) << handle;
    EXPECT_FALSE(DeleteLock(handle)) << handle;
  }
}

TEST(LockHandleTest, DeletingTwiceSucceedsOnlyOnce) {
  const LockHandle handle = CreateLock();
  EXPECT_TRUE(DeleteLock(handle));
  EXPECT_FALSE(DeleteLock(handle));
}

TEST(LockHandleTest, HandlesAreNonZeroAndNeverReused) {
  std::set<LockHandle> seen;
  for (int round = 0; round < 2; ++round) {
    std::vector<LockHandle> created;
    for (int i = 0; i < 500; ++i) {
      created.push_back(CreateLock());
      EXPECT_NE(created.back(), 0);
      EXPECT_TRUE(seen.insert(created.back()).second) << "reused " << created.back();
    }
    for (const LockHandle handle : created) {
      EXPECT_TRUE(DeleteLock(handle));
    }
  }
}

TEST(LockHandleTest, DeleteAllLocksDeletesEveryLiveLock) {
  const LockHandle first = CreateLock();
  const LockHandle second = CreateLock();
  EnterLock(second);

  DeleteAllLocks();

  EXPECT_FALSE(DeleteLock(first));
  EXPECT_FALSE(DeleteLock(second));
  EnterLock(first);
  EXPECT_EQ(HeldLockDepth(first), 0);
  LeaveLock(second);  // still held by this thread, so still released
  EXPECT_EQ(HeldLockDepth(second), 0);
}

TEST(LockEnterLeaveTest, OwningThreadReentersAndLeavesAsOftenAsItEntered) {
  const LockHandle handle = CreateLock();
  for (int depth = 1; depth <= 3; ++depth) {
    EnterLock(handle);
    EXPECT_EQ(HeldLockDepth(handle), depth);
  }
  std::atomic<bool> released = false;
  std::atomic<bool> waiting = false;
  bool enteredAfterRelease = false;
  std::thread other = EnterAfterRelease(handle, released, waiting, enteredAfterRelease);
  LetWaiterTry(waiting);
  LeaveLock(handle);
  LeaveLock(handle);
  EXPECT_EQ(HeldLockDepth(handle), 1);
  LetWaiterTry(waiting);
  released = true;
  LeaveLock(handle);
  other.join();

  EXPECT_TRUE(enteredAfterRelease);
  EXPECT_EQ(HeldLockDepth(handle), 0);
  EXPECT_TRUE(DeleteLock(handle));
}

TEST(LockEnterLeaveTest, LeaveByAThreadThatDoesNotHoldTheLockDoesNothing) {
  const LockHandle handle = CreateLock();
  EnterLock(handle);
  RunOnOtherThread([handle] {
    LeaveLock(handle);
    EXPECT_EQ(HeldLockDepth(handle), 0);
  });
  EXPECT_EQ(HeldLockDepth(handle), 1);

  std::atomic<bool> released = false;
  std::atomic<bool> waiting = false;
  bool enteredAfterRelease = false;
  std::thread other = EnterAfterRelease(handle, released, waiting, enteredAfterRelease);
  LetWaiterTry(waiting);
  released = true;
  LeaveLock(handle);
  other.join();

  EXPECT_TRUE(enteredAfterRelease);
  EXPECT_TRUE(DeleteLock(handle));
}

TEST(LockEnterLeaveTest, CountsUnderTheLockAddUpExactly) {
  constexpr int kThreads = 16;
  constexpr int kIncrements = 2000;
  const LockHandle handle = CreateLock();
  long counter = 0;  // plain on purpose: only the lock keeps the increments apart
  std::vector<std::function<void()>> jobs(kThreads, [handle, &counter] {
    for (int i = 0; i < kIncrements; ++i) {
      EnterLock(handle);
      EnterLock(handle);
      ++counter;
      LeaveLock(handle);
      ++counter;
      LeaveLock(handle);
    }
  });
  RunConcurrently(jobs);

  EXPECT_EQ(counter, 2L * kThreads * kIncrements);
  EXPECT_TRUE(DeleteLock(handle));
}

TEST(LockDeletionTest, AHolderCanReenterAndLeaveAfterDeletion) {
  const LockHandle handle = CreateLock();
  EnterLock(handle);
  ASSERT_TRUE(DeleteLock(handle));

  EXPECT_EQ(HeldLockDepth(handle), 1);
  EnterLock(handle);
  EXPECT_EQ(HeldLockDepth(handle), 2);
  LeaveLock(handle);
  LeaveLock(handle);
  EXPECT_EQ(HeldLockDepth(handle), 0);

  EnterLock(handle);  // no longer held, and deleted: nothing to enter
  EXPECT_EQ(HeldLockDepth(handle), 0);
}

TEST(LockDeletionTest, OthersCannotEnterADeletedLockStillHeld) {
  const LockHandle handle = CreateLock();
  EnterLock(handle);
  ASSERT_TRUE(DeleteLock(handle));
  RunOnOtherThread([handle] {
    EnterLock(handle);  // would block for good if the deleted lock were still entered
    EXPECT_EQ(HeldLockDepth(handle), 0);
    LeaveLock(handle);
  });
  LeaveLock(handle);
  EXPECT_EQ(HeldLockDepth(handle), 0);
}

TEST(LockDeletionTest, AThreadEndingWhileHoldingReleasesItsLocks) {
  const LockHandle live = CreateLock();
  const LockHandle deleted = CreateLock();
  RunOnOtherThread([live, deleted] {
    EnterLock(live);
    EnterLock(live);
    EnterLock(deleted);
    DeleteLock(deleted);
  });

  RunOnOtherThread([live] {
    EnterLock(live);  // would block for good if the ended thread still held it
    EXPECT_EQ(HeldLockDepth(live), 1);
    LeaveLock(live);
  });
  EXPECT_FALSE(DeleteLock(deleted));
  EXPECT_TRUE(DeleteLock(live));
}

// Many threads enter and leave, recursively, while another thread keeps replacing the
// lock they use: creating a new one, publishing it and deleting the old one.
class LockStressTest : public ::testing::Test {
 protected:
  static constexpr int kWorkers = 32;
  static constexpr int kIterations = 1500;
  static constexpr int kMaxRounds = 4000;
  static constexpr int kEntriesPerRound = 8;  // when the owner moves on to a new lock

  // The first lock is there before any worker looks for it.
  LockStressTest() { rounds_[0].handle = CreateLock(); }

  struct Round {
    LockHandle handle = 0;
    long count = 0;                 // changed only under the round's lock
    std::atomic<int> inside = 0;    // threads between enter and leave
    std::atomic<int> entered = 0;   // successful enters
    std::atomic<int> overlaps = 0;  // enters that found someone else inside
    bool deleted = false;
    bool deletedAgain = true;
  };

  void Work() {
    for (int i = 0; i < kIterations; ++i) {
      Round& round = rounds_[published_.load()];
      EnterLock(round.handle);
      const int depth = HeldLockDepth(round.handle);
      if (depth == 1) {
        WorkInside(round);
      } else if (depth != 0) {
        ++badDepths_;
      }
      LeaveLock(round.handle);
      if (HeldLockDepth(round.handle) != 0) {
        ++badDepths_;
      }
    }
    ++workersDone_;
  }

  static void WorkInside(Round& round) {
    if (round.inside.fetch_add(1) != 0) {
      ++round.overlaps;
    }
    EnterLock(round.handle);
    ++round.count;
    std::this_thread::yield();
    LeaveLock(round.handle);
    ++round.entered;
    round.inside.fetch_sub(1);
  }

  void Own() {
    int current = 0;
    while (workersDone_.load() < kWorkers) {
      if (current + 1 < kMaxRounds && rounds_[current].entered.load() >= kEntriesPerRound) {
        rounds_[current + 1].handle = CreateLock();
        published_ = current + 1;
        Retire(rounds_[current]);
        ++current;
      }
      std::this_thread::yield();
    }
    Retire(rounds_[current]);
    roundsUsed_ = current + 1;
  }

  static void Retire(Round& round) {
    round.deleted = DeleteLock(round.handle);
    round.deletedAgain = DeleteLock(round.handle);
  }

  std::vector<Round> rounds_ = std::vector<Round>(kMaxRounds);
  std::atomic<int> published_ = 0;
  std::atomic<int> workersDone_ = 0;
  std::atomic<int> badDepths_ = 0;
  int roundsUsed_ = 0;
};

TEST_F(LockStressTest, ReplacingTheLockUnderBusyThreadsKeepsItSound) {
  std::vector<std::function<void()>> jobs(kWorkers, [this] { Work(); });
  jobs.emplace_back([this] { Own(); });
  RunConcurrently(jobs);

  EXPECT_EQ(badDepths_.load(), 0);
  std::set<LockHandle> handles;
  long totalEntered = 0;
  for (int r = 0; r < roundsUsed_; ++r) {
    const Round& round = rounds_[r];
    EXPECT_NE(round.handle, 0);
    EXPECT_TRUE(handles.insert(round.handle).second) << "reused " << round.handle;
    EXPECT_TRUE(round.deleted) << "round " << r;
    EXPECT_FALSE(round.deletedAgain) << "round " << r;
    EXPECT_EQ(round.overlaps.load(), 0) << "round " << r;
    EXPECT_EQ(round.inside.load(), 0) << "round " << r;
    EXPECT_EQ(round.count, round.entered.load()) << "round " << r;
    totalEntered += round.count;

    EnterLock(round.handle);  // deleted: the registry no longer knows it
    EXPECT_EQ(HeldLockDepth(round.handle), 0);
  }
  EXPECT_GT(roundsUsed_, 1);
  EXPECT_GT(totalEntered, 0);
}

}  // namespace
}  // namespace vardelle

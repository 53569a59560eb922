#include "runtime/threads/threads.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <stdexcept>
#include <utility>
#include <vector>

namespace vardelle {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAreArray;

// Long enough for a loaded sanitizer run; only a broken StartThread ever waits it out.
constexpr auto kDeadline = std::chrono::seconds(30);

// What the started routines report back to the test.
class Inbox {
 public:
  void Post(int value) {
    {
      std::lock_guard guard(mutex_);
      values_.push_back(value);
    }
    posted_.notify_all();
  }

  // Takes everything posted once `count` values are there, or at the deadline.
  std::vector<int> Await(std::size_t count) {
    std::unique_lock lock(mutex_);
    posted_.wait_for(lock, kDeadline, [&] { return values_.size() >= count; });
    return std::exchange(values_, {});
  }

 private:
  std::mutex mutex_;
  std::condition_variable posted_;
  std::vector<int> values_;
};

// Never destroyed: a started thread may still be returning from Post when a test ends.
Inbox& Received() {
  static auto* const inbox = new Inbox;
  return *inbox;
}

// A one-way door the test opens for routines that must still be running.
class Gate {
 public:
  void Open() {
    {
      std::lock_guard guard(mutex_);
      open_ = true;
    }
    opened_.notify_all();
  }

  bool WaitOpen() {
    std::unique_lock lock(mutex_);
    return opened_.wait_for(lock, kDeadline, [&] { return open_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable opened_;
  bool open_ = false;
};

Gate& StartGate() {
  static auto* const gate = new Gate;
  return *gate;
}

int PostArgument(int argument) {
  Received().Post(argument);
  return argument;
}

constexpr int kGateMissed = -1;

int PostArgumentOnceOpen(int argument) {
  Received().Post(StartGate().WaitOpen() ? argument : kGateMissed);
  return 0;
}

int PostThenThrowStandardError(int argument) {
  Received().Post(argument);
  throw std::runtime_error("routine failed");
}

int PostThenThrowNonStandardValue(int argument) {
  Received().Post(argument);
  throw argument;
}

bool AllStartedThreadsEnd() {
  return AwaitStartedThreads(std::chrono::steady_clock::now() + kDeadline);
}

TEST(StartThreadTest, PassesZeroWhenTheArgumentIsLeftOut) {
  ASSERT_TRUE(StartThread(PostArgument));
  EXPECT_THAT(Received().Await(1), ElementsAre(0));
}

TEST(StartThreadTest, PassesTheArgumentUnchanged) {
  const std::vector<int> arguments{INT_MIN, -1, 1, 42, INT_MAX};
  for (const int argument : arguments) {
    ASSERT_TRUE(StartThread(PostArgument, argument));
  }
  EXPECT_THAT(Received().Await(arguments.size()), UnorderedElementsAreArray(arguments));
}

// Many short threads ending while others start: each is joined by a later start or by the
// wait, and the wait ends once the last has finished.
TEST(StartThreadTest, RunsEveryRoutineOfManyStartedAtOnceAndAllEnd) {
  std::vector<int> rows;
  for (int row = 1; row <= 1000; ++row) {
    rows.push_back(row);
    ASSERT_TRUE(StartThread(PostArgument, row));
  }
  EXPECT_THAT(Received().Await(rows.size()), UnorderedElementsAreArray(rows));
  EXPECT_TRUE(AllStartedThreadsEnd());
}

TEST(StartThreadTest, ReturnsWhileTheRoutineStillRuns) {
  // A StartThread that waited for its routine would only return once the gate timed out.
  ASSERT_TRUE(StartThread(PostArgumentOnceOpen, 5));
  EXPECT_FALSE(AwaitStartedThreads(std::chrono::steady_clock::now()));
  StartGate().Open();
  EXPECT_THAT(Received().Await(1), ElementsAre(5));
  EXPECT_TRUE(AllStartedThreadsEnd());
}

TEST(StartThreadTest, RefusesANullRoutine) {
  EXPECT_FALSE(StartThread(nullptr));
  EXPECT_FALSE(StartThread(nullptr, 3));
}

TEST(StartThreadTest, AnExceptionEndsOnlyItsOwnRoutine) {
  ASSERT_TRUE(StartThread(PostThenThrowStandardError, 11));
  ASSERT_TRUE(StartThread(PostThenThrowNonStandardValue, 12));
  EXPECT_THAT(Received().Await(2), UnorderedElementsAreArray({11, 12}));
  EXPECT_TRUE(AllStartedThreadsEnd());  // both threads ended the normal way

  // The process, and thread creation, carry on.
  ASSERT_TRUE(StartThread(PostArgument, 13));
  EXPECT_THAT(Received().Await(1), ElementsAre(13));
}

}  // namespace
}  // namespace vardelle

#include "runtime/threads/locks.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <utility>
#include <vector>

#include "runtime/platform.h"

namespace vardelle {

namespace {

// Shared by the registry and by every thread that holds or waits for it, so deleting
// the lock never frees a mutex that is still in use.
struct LockRecord {
  std::recursive_mutex mutex;
};
using RecordRef = std::shared_ptr<LockRecord>;

// The live locks by handle. Its own mutex covers only lookups and links; nobody blocks
// on a lock record while holding it.
class LockRegistry {
 public:
  LockHandle Add(RecordRef record) {
    std::lock_guard guard(mutex_);
    if (lastId_ == std::numeric_limits<std::uint32_t>::max()) {
      return 0;
    }
    const auto handle = static_cast<LockHandle>(++lastId_);
    records_.emplace(handle, std::move(record));
    return handle;
  }

  RecordRef Find(LockHandle handle) const {
    std::lock_guard guard(mutex_);
    const auto found = records_.find(handle);
    return found == records_.end() ? nullptr : found->second;
  }

  RecordRef Remove(LockHandle handle) {
    std::lock_guard guard(mutex_);
    const auto found = records_.find(handle);
    if (found == records_.end()) {
      return nullptr;
    }
    RecordRef record = std::move(found->second);
    records_.erase(found);
    return record;
  }

  std::unordered_map<LockHandle, RecordRef> RemoveAll() {
    std::lock_guard guard(mutex_);
    return std::exchange(records_, {});
  }

 private:
  mutable std::mutex mutex_;
  std::unordered_map<LockHandle, RecordRef> records_;
  std::uint32_t lastId_ = 0;  // ids only grow, so none is handed out twice
};

// Never destroyed: detached workers may still enter and leave while the process exits.
LockRegistry& Registry() {
  static auto* const registry = new LockRegistry;
  return *registry;
}

// The locks a thread holds, with how often it entered each. This is what lets a thread
// leave a lock that was deleted while it held it.
class HeldLocks {
 public:
  HeldLocks() = default;
  HeldLocks(const HeldLocks&) = delete;
  HeldLocks& operator=(const HeldLocks&) = delete;

  // A thread that ends without leaving must not keep its locks locked forever.
  ~HeldLocks() {
    for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry) {
      for (int depth = entry->depth; depth > 0; --depth) {
        entry->record->mutex.unlock();
      }
    }
  }

  // Enters a lock this thread already holds, which never blocks, deleted or not.
  // False when this thread does not hold it.
  bool ReEnter(LockHandle handle) {
    const auto entry = Locate(handle);
    if (entry == entries_.end()) {
      return false;
    }
    entry->record->mutex.lock();
    ++entry->depth;
    return true;
  }

  // Records the first enter, made after locking the record.
  void Add(LockHandle handle, RecordRef record) {
    entries_.push_back({handle, std::move(record), 1});
  }

  int Depth(LockHandle handle) {
    const auto entry = Locate(handle);
    return entry == entries_.end() ? 0 : entry->depth;
  }

  // Unlocks once; the last leave drops this thread's reference to the record.
  void Leave(LockHandle handle) {
    const auto entry = Locate(handle);
    if (entry == entries_.end()) {
      return;
    }
    entry->record->mutex.unlock();
    if (--entry->depth == 0) {
      entries_.erase(entry);
    }
  }

 private:
  struct Entry {
    LockHandle handle;
    RecordRef record;
    int depth;
  };

  std::vector<Entry>::iterator Locate(LockHandle handle) {
    return std::find_if(entries_.begin(), entries_.end(),
                        [handle](const Entry& entry) { return entry.handle == handle; });
  }

  std::vector<Entry> entries_;  // a thread holds few locks at once
};

// Each thread's HeldLocks lives on the heap behind a thread-exit slot rather than in a
// thread_local: the slot's release runs on the ending thread while it can still unlock.
// Without the slot the locks could not work at all, hence the aborts.
ThreadExitSlot& HeldLocksSlot() {
  static ThreadExitSlot* const slot = [] {
    const auto release = [](void* held) { delete static_cast<HeldLocks*>(held); };
    std::unique_ptr<ThreadExitSlot> created = CreateThreadExitSlot(release);
    if (created == nullptr) std::abort();
    return created.release();  // kept for the process's life: threads end until the last
  }();
  return *slot;
}

HeldLocks& ThisThreadsLocks() {
  ThreadExitSlot& slot = HeldLocksSlot();
  auto* held = static_cast<HeldLocks*>(slot.Value());
  if (held == nullptr) {
    held = new HeldLocks;
    if (!slot.SetValue(held)) std::abort();
  }
  return *held;
}

}  // namespace

LockHandle CreateLock() { return Registry().Add(std::make_shared<LockRecord>()); }

void EnterLock(LockHandle handle) {
  HeldLocks& held = ThisThreadsLocks();
  if (held.ReEnter(handle)) {
    return;
  }
  RecordRef record = Registry().Find(handle);
  if (record == nullptr) {
    return;
  }
  record->mutex.lock();  // may block: outside the registry's mutex
  held.Add(handle, std::move(record));
}

void LeaveLock(LockHandle handle) { ThisThreadsLocks().Leave(handle); }

bool DeleteLock(LockHandle handle) {
  // Only unlinked: holders and waiters keep the record until they are done with it.
  return Registry().Remove(handle) != nullptr;
}

void DeleteAllLocks() {
  // The records are released here, outside the registry's mutex.
  Registry().RemoveAll();
}

int HeldLockDepth(LockHandle handle) { return ThisThreadsLocks().Depth(handle); }

}  // namespace vardelle

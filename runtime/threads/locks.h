// Recursive locks handed out as integer handles. A handle that is not live (0, never
// created, already deleted) makes every operation do nothing, so late workers can keep
// calling after the owner deleted the lock.
//
// Handles are fresh non-zero ids, never reused, so a stale handle can never reach a
// newer lock. Deleting never waits for a holder and never frees a lock that a thread
// still holds or is waiting for: the lock itself goes away with its last holder.
#pragma once

#include <cstdint>

namespace vardelle {

using LockHandle = std::int32_t;

// A new, unheld lock. Returns 0 (no lock) only once all 2^32 - 1 ids are spent.
LockHandle CreateLock();
// Blocks until the calling thread holds the lock; re-entering a held lock only counts
// up. A thread that holds a lock may still re-enter it after it was deleted, so its
// enters and leaves stay balanced.
void EnterLock(LockHandle handle);
// Undoes one enter of the calling thread, also when the lock was deleted meanwhile.
// Does nothing when the calling thread does not hold the lock.
void LeaveLock(LockHandle handle);
// True when a live lock was deleted.
bool DeleteLock(LockHandle handle);
// Program-end clean-up: deletes every lock still live.
void DeleteAllLocks();
// How many enters of the calling thread on this lock are not yet left (0: not held).
int HeldLockDepth(LockHandle handle);

}  // namespace vardelle

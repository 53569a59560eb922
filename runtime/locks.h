// Recursive locks handed out as integer handles. A handle that is not live (0, never
// created, already deleted) makes every operation do nothing, so late workers can keep
// calling after the owner deleted the lock.
#pragma once

#include <cstdint>

namespace vardelle {

using LockHandle = std::int32_t;

LockHandle CreateLock();
void EnterLock(LockHandle handle);
void LeaveLock(LockHandle handle);
// True when a live lock was deleted.
bool DeleteLock(LockHandle handle);
// Program-end clean-up: deletes every lock still live.
void DeleteAllLocks();

}  // namespace vardelle

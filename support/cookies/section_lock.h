// A critical section owned by one object: the calling thread may enter it again while it
// holds it, and must leave it as often as it entered.
#pragma once

#include <mutex>

namespace vardelle {

class SectionLock {
 public:
  SectionLock() = default;
  SectionLock(const SectionLock&) = delete;
  SectionLock& operator=(const SectionLock&) = delete;

  void Enter();
  void Leave();

 private:
  std::recursive_mutex mutex;
};

// Holds a SectionLock for one scope, so an early return or an exception never leaves it
// entered.
class SectionLockScope {
 public:
  explicit SectionLockScope(SectionLock& held) : lock(held) { lock.Enter(); }
  ~SectionLockScope() { lock.Leave(); }
  SectionLockScope(const SectionLockScope&) = delete;
  SectionLockScope& operator=(const SectionLockScope&) = delete;

 private:
  SectionLock& lock;
};

}  // namespace vardelle

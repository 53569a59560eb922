// An echo engine that holds a sender inside Send, for the tests of what may free an engine
// and when: it answers every address at once in 1 ms but one, whose request waits inside
// Send until the test opens its door and then stays out until the engine ends.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

#include "runtime/probes/icmp_engine.h"

namespace vardelle::testing {

// A door the test holds closed: whoever comes to it waits until the test opens it.
class Door {
 public:
  void PassThrough() {
    std::unique_lock lock(mutex_);
    ++arrived_;
    changed_.notify_all();
    changed_.wait(lock, [this] { return open_; });
  }
  // Whether someone came within limit.
  bool AwaitArrival(std::chrono::steady_clock::duration limit) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, limit, [this] { return arrived_ > 0; });
  }
  void Open() {
    std::lock_guard guard(mutex_);
    open_ = true;
    changed_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int arrived_ = 0;
  bool open_ = false;
};

// What outlives the engine, so that a test can tell what was done to it after it was freed.
struct EngineLife {
  Door sendDoor;  // the held address's request waits here
  std::atomic<bool> destroyed{false};
  std::atomic<bool> heldSendReturned{false};
  std::atomic<int> usesAfterDestruction{0};
};

class HoldingEngine final : public IcmpEngine {
 public:
  HoldingEngine(std::shared_ptr<EngineLife> life, Ipv4Address held)
      : life_(std::move(life)), held_(held) {}
  ~HoldingEngine() override {
    life_->destroyed = true;
    for (EchoDone& done : out_) done(std::nullopt);
  }

  void Send(Ipv4Address address, std::chrono::milliseconds, EchoDone done) override {
    const std::shared_ptr<EngineLife> life = life_;
    if (life->destroyed) ++life->usesAfterDestruction;
    if (address != held_) {
      done(std::chrono::milliseconds(1));
      return;
    }
    life->sendDoor.PassThrough();
    if (life->destroyed) ++life->usesAfterDestruction;
    {
      std::lock_guard guard(mutex_);
      out_.push_back(std::move(done));
    }
    life->heldSendReturned = true;
  }

 private:
  const std::shared_ptr<EngineLife> life_;
  const Ipv4Address held_;
  std::mutex mutex_;
  std::vector<EchoDone> out_;
};

// Starts a HoldingEngine on life, holding requests to held.
inline IcmpEngineStarter HoldingEngineStarter(std::shared_ptr<EngineLife> life, Ipv4Address held) {
  return [life = std::move(life), held] {
    return IcmpEngineStart{std::make_unique<HoldingEngine>(life, held), ""};
  };
}

}  // namespace vardelle::testing

#include "runtime/probes/icmp_engine.h"

#include <condition_variable>
#include <mutex>
#include <utility>

namespace vardelle {

std::optional<std::chrono::nanoseconds> IcmpEngine::Echo(Ipv4Address address,
                                                         std::chrono::milliseconds timeout) {
  return AwaitEcho([&](EchoDone done) { Send(address, timeout, std::move(done)); });
}

std::optional<std::chrono::nanoseconds> AwaitEcho(
    const std::function<void(IcmpEngine::EchoDone)>& send) {
  // Shared with done, which may still be inside notify_one when the wait below returns.
  struct Waiting {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    std::optional<std::chrono::nanoseconds> roundTrip;
  };
  const auto waiting = std::make_shared<Waiting>();
  send([waiting](std::optional<std::chrono::nanoseconds> roundTrip) {
    std::lock_guard guard(waiting->mutex);
    waiting->roundTrip = roundTrip;
    waiting->done = true;
    waiting->ended.notify_one();
  });
  std::unique_lock lock(waiting->mutex);
  waiting->ended.wait(lock, [&] { return waiting->done; });
  return waiting->roundTrip;
}

void CallEchoDone(IcmpEngine::EchoDone& done, std::optional<std::chrono::nanoseconds> roundTrip) {
  try {
    if (done) done(roundTrip);
  } catch (...) {
  }
}

}  // namespace vardelle

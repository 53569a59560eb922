#include "runtime/probes/icmp_engine.h"

#include <condition_variable>
#include <cstring>
#include <mutex>
#include <utility>

namespace vardelle {

EchoAddress::EchoAddress(Ipv4Address ipv4) : family(Family::kIpv4) {
  std::memcpy(bytes.data(), &ipv4, sizeof ipv4);
}

EchoAddress::EchoAddress(const Ipv6Address& ipv6) : family(Family::kIpv6), bytes(ipv6) {}

void IcmpEngine::SendIpv6(const Ipv6Address&, std::chrono::milliseconds, EchoDone done) {
  CallEchoDone(done, std::nullopt);
}

void IcmpEngine::SendTo(const EchoAddress& address, std::chrono::milliseconds timeout,
                        EchoDone done) {
  if (address.family == EchoAddress::Family::kIpv6) {
    SendIpv6(address.bytes, timeout, std::move(done));
    return;
  }
  Ipv4Address ipv4 = 0;
  std::memcpy(&ipv4, address.bytes.data(), sizeof ipv4);
  Send(ipv4, timeout, std::move(done));
}

std::optional<std::chrono::nanoseconds> IcmpEngine::Echo(const EchoAddress& address,
                                                         std::chrono::milliseconds timeout) {
  return AwaitEcho([&](EchoDone done) { SendTo(address, timeout, std::move(done)); });
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

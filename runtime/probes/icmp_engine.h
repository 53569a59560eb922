// The echo service behind the probes: sends ICMP echo requests and times their replies.
// Each platform has its own engine; network_probes.cpp picks the one for this system.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace vardelle {

// An IPv4 address as the four bytes on the wire (network byte order), as inet_pton gives it.
using Ipv4Address = std::uint32_t;
// An IPv6 address as its sixteen bytes on the wire.
using Ipv6Address = std::array<std::uint8_t, 16>;

// An address of either family. The family is part of its identity, so that an IPv4 reply never
// matches an IPv6 request or the other way round.
struct EchoAddress {
  enum class Family : std::uint8_t { kIpv4, kIpv6 };

  // Implicit: an address of either family is an echo address as it stands.
  EchoAddress(Ipv4Address ipv4);
  EchoAddress(const Ipv6Address& ipv6);

  Family family;
  std::array<std::uint8_t, 16> bytes{};  // an IPv4 address in the first four
  friend bool operator==(const EchoAddress&, const EchoAddress&) = default;
};

class IcmpEngine {
 public:
  // A request's end: the round-trip time, or nothing when no echo reply from the very
  // address probed came in time, an ICMP error answered instead, the request could not be
  // sent, or the engine stopped first.
  using EchoDone = std::function<void(std::optional<std::chrono::nanoseconds>)>;

  virtual ~IcmpEngine() = default;

  // Sends one echo request without payload to address and returns at once. done is called
  // exactly once, on the engine's own thread (the engine's destructor included), so it must
  // be quick and never wait for anything that waits for the engine; an exception from it
  // is swallowed. The time-out counts from when the request actually leaves, which pacing
  // may hold back. A time-out of 0 sends the request and waits for nothing.
  // Safe to call from any number of threads at once, done included.
  virtual void Send(Ipv4Address address, std::chrono::milliseconds timeout, EchoDone done) = 0;
  // Send for an IPv6 address. An engine that cannot probe IPv6 (this default) ends the
  // request at once without an answer: the address counts as not probed.
  virtual void SendIpv6(const Ipv6Address& address, std::chrono::milliseconds timeout,
                        EchoDone done);

  // Send or SendIpv6, as the address's family asks.
  void SendTo(const EchoAddress& address, std::chrono::milliseconds timeout, EchoDone done);

  // SendTo, waiting for its end.
  std::optional<std::chrono::nanoseconds> Echo(const EchoAddress& address,
                                               std::chrono::milliseconds timeout);
};

// Calls done with roundTrip on an engine's thread, which no exception from done may leave.
void CallEchoDone(IcmpEngine::EchoDone& done, std::optional<std::chrono::nanoseconds> roundTrip);

// What starting an engine gave: the engine, or why there is none and how to allow it.
struct IcmpEngineStart {
  std::unique_ptr<IcmpEngine> engine;
  std::string unavailableReason;  // one English line; empty when engine is set
};

using IcmpEngineStarter = std::function<IcmpEngineStart()>;

// Calls send with a done and waits until that done has been called: the round trip it got.
std::optional<std::chrono::nanoseconds> AwaitEcho(
    const std::function<void(IcmpEngine::EchoDone)>& send);

}  // namespace vardelle

// The echo service behind PingHost: sends one ICMP echo request and times its reply. Each
// platform has its own engine; network_probes.cpp picks the one for this system.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace vardelle {

// An IPv4 address as the four bytes on the wire (network byte order), as inet_pton gives it.
using Ipv4Address = std::uint32_t;

class IcmpEngine {
 public:
  virtual ~IcmpEngine() = default;

  // Sends one echo request without payload to address and waits at most timeout for the
  // echo reply from that very address. The round-trip time, or nothing when no such reply
  // came in time, an ICMP error answered instead, or the request could not be sent.
  // Safe to call from any number of threads at once.
  virtual std::optional<std::chrono::nanoseconds> Echo(Ipv4Address address,
                                                       std::chrono::milliseconds timeout) = 0;
};

// What starting an engine gave: the engine, or why there is none and how to allow it.
struct IcmpEngineStart {
  std::unique_ptr<IcmpEngine> engine;
  std::string unavailableReason;  // one English line; empty when engine is set
};

using IcmpEngineStarter = std::function<IcmpEngineStart()>;

}  // namespace vardelle

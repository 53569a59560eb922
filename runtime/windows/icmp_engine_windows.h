// The Windows echo engine: ICMP.DLL's asynchronous echo service (its IPv4 and its IPv6 side),
// driven by one thread that issues every request and receives every completion as an APC.
#pragma once

#include <chrono>
#include <optional>
#include <span>

#include "runtime/probes/icmp_engine.h"

namespace vardelle {

// Opens the system's ICMP service and starts the engine's thread.
IcmpEngineStart StartWindowsIcmpEngine();

// What the system handed back for one finished request.
struct EchoCompletion {
  unsigned long repliesParsed = 0;    // what IcmpParseReplies counted
  unsigned long status = 0;           // the first reply's Status: IP_SUCCESS, IP_REQ_TIMED_OUT, ...
  EchoAddress from = Ipv4Address{0};  // the first reply's Address
  std::chrono::milliseconds reported{0};  // the first reply's RoundTripTime, whole milliseconds
  // Steady clock, from this request's own send to its completion. The completion runs only
  // once the engine's thread waits again, after the rest of its batch has gone out, so this
  // is an upper bound that can be far above the round trip.
  std::chrono::nanoseconds elapsed{0};
};

// The first reply in an Icmp6SendEcho2 reply buffer, laid out as the system's
// ICMPV6_ECHO_REPLY (the address's bytes at offset 6, Status at 28, RoundTripTime at 32).
EchoCompletion Ipv6EchoCompletion(std::span<const unsigned char> reply, unsigned long repliesParsed,
                                  std::chrono::nanoseconds elapsed);

// The round trip, when the completion is an echo reply from the very address probed that
// came within the time-out; nothing otherwise. ICMP errors arrive as replies too, with their
// own status and the reporting router's address, and count as no answer.
// The figure is the reply's own, in whole milliseconds as the system measures it, checked
// against the steady clock: never above the time elapsed since the request's own send.
std::optional<std::chrono::nanoseconds> EchoOutcome(const EchoCompletion& completion,
                                                    const EchoAddress& target,
                                                    std::chrono::milliseconds timeout);

}  // namespace vardelle

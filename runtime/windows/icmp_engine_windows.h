// The Windows echo engine: ICMP.DLL's asynchronous echo service, driven by one thread that
// issues every request and receives every completion as an APC.
#pragma once

#include <chrono>
#include <optional>

#include "runtime/probes/icmp_engine.h"

namespace vardelle {

// Opens the system's ICMP service and starts the engine's thread.
IcmpEngineStart StartWindowsIcmpEngine();

// What the system handed back for one finished request.
struct EchoCompletion {
  unsigned long repliesParsed = 0;  // what IcmpParseReplies counted
  unsigned long status = 0;         // the first reply's Status: IP_SUCCESS, IP_REQ_TIMED_OUT, ...
  Ipv4Address from = 0;             // the first reply's Address
  std::chrono::nanoseconds elapsed{0};  // steady clock, from the send to the completion
};

// The round trip, when the completion is an echo reply from the very address probed that
// came within the time-out; nothing otherwise. ICMP errors arrive as replies too, with their
// own status and the reporting router's address, and count as no answer.
std::optional<std::chrono::nanoseconds> EchoOutcome(const EchoCompletion& completion,
                                                    Ipv4Address target,
                                                    std::chrono::milliseconds timeout);

}  // namespace vardelle

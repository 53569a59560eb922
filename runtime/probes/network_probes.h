// The two probes every latency number rests on: one ICMP echo with its round-trip time,
// and a name's first IPv4 address. Both may be called from any number of threads at once.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/probes/host_resolver.h"

namespace vardelle {

inline constexpr int kDefaultPingTimeoutMs = 10000;

// One echo request to host (an IPv4 or IPv6 address, or a name whose first address of the
// families chosen by SetAddressFamilies is probed); the round-trip time in whole milliseconds (a
// sub-millisecond answer is 0), or -1 when no echo reply from that address arrived within the
// time-out or anything failed. Leaving the time-out out waits kDefaultPingTimeoutMs; an explicit 0
// is a time-out of 0 (the request is sent, nothing is waited for). A negative time-out gives -1 at
// once, unsent. ICMP errors (unreachable, time exceeded) and replies from other addresses are no
// answer.
int PingHost(const std::string& host);
int PingHost(const std::string& host, int timeoutMs);

// PingHost without waiting, for an IPv4 or IPv6 address only (a name is never looked up here,
// so this never blocks): done gets the round-trip time in whole milliseconds or -1, exactly
// once, on the echo engine's thread, or at once on this thread when nothing can be sent. done
// must be quick and must not wait for other probes. Callable from any thread.
void SendPing(const std::string& address, int timeoutMs, std::function<void(int)> done);

// Stops the echo engine at program end and waits for its thread: the probes still out end
// with -1, and every later probe fails at once. The engine is freed only once no probe is
// being handed to it (that takes no time); a name look-up under way is not waited for.
void StopProbes();

// The first address of host of the families chosen, as text (an address of either family is
// given back as the system writes it), or "" (also for an empty host, and for a text with a
// zero byte inside, which the system would cut short and take for another host).
std::string ResolveHostAddress(const std::string& host);

// Which address of a name ResolveHostAddress and PingHost take from now on; IPv4 first
// until this is called.
void SetAddressFamilies(AddressFamilies families);

// A setting's text for the families: "ipv4-first", "ipv6-first", "ipv4" or "ipv6"; nothing
// for any other text.
std::optional<AddressFamilies> ParseAddressFamilies(std::string_view text);

// Starts the echo engine when it is not started yet (nothing is sent); "" when echo
// probes can be sent, otherwise one line in English saying why every probe fails and how
// to allow them. A failed start is tried again by the next call or probe.
std::string ProbeUnavailableReason();

}  // namespace vardelle

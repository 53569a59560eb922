// The Linux echo engine: one ICMP socket per engine and one thread that sends every request,
// reads every reply and ends every request.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "runtime/probes/icmp_engine.h"

namespace vardelle {

enum class IcmpSocketKind {
  kDatagram,  // unprivileged "ping socket"; the group must be in net.ipv4.ping_group_range
  kRaw,       // needs root or CAP_NET_RAW; sees every ICMP message the host receives
};

// Opens an engine on a datagram ICMP socket where the system allows one, else on a raw one.
IcmpEngineStart StartLinuxIcmpEngine();
IcmpEngineStart StartLinuxIcmpEngine(IcmpSocketKind kind);

// The interfaces' transmit drops summed over a /proc/net/dev text (the twelfth number of each
// interface's line), or nothing when the text has no such line.
std::optional<std::uint64_t> SumTransmitDrops(std::string_view procNetDev);

}  // namespace vardelle

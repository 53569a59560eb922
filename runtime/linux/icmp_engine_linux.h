// The Linux echo engine: one ICMP socket per engine, one receive thread dispatching
// replies to the requests waiting for them.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "runtime/probes/icmp_engine.h"

namespace vardelle {

enum class IcmpSocketKind {
  kDatagram,  // unprivileged "ping socket"; the group must be in net.ipv4.ping_group_range
  kRaw,       // needs root or CAP_NET_RAW; sees every ICMP message the host receives
};

// Opens an engine on a datagram ICMP socket where the system allows one, else on a raw one.
IcmpEngineStart StartLinuxIcmpEngine();
IcmpEngineStart StartLinuxIcmpEngine(IcmpSocketKind kind);

// The one's-complement sum of RFC 1071 that ICMP and IPv4 headers carry.
std::uint16_t InternetChecksum(std::span<const std::uint8_t> bytes);

// When a request left: the monotonic clock first, then the wall clock, so that the wall
// clock reading can never lie before the monotonic one.
struct SendStamp {
  std::chrono::steady_clock::time_point steady;
  std::chrono::system_clock::time_point wall;
};

// When a reply arrived: the monotonic clock as the receive thread read it, and the
// kernel's own receive stamp (wall clock) when the socket gave one.
struct ReceiveStamp {
  std::chrono::steady_clock::time_point steady;
  std::optional<std::chrono::system_clock::time_point> kernel;
};

// The kernel's stamp is preferred because the receive thread may run late under load. It
// is on the wall clock, which can be stepped: a figure that is negative or longer than the
// monotonic one is such a step, and then the monotonic figure counts.
std::chrono::nanoseconds RoundTripTime(const SendStamp& sent, const ReceiveStamp& received);

// The requests that wait for a reply, and the rule that pairs replies with them.
//
// Each waiting request holds a 16-bit sequence number that no other waiting request holds.
// A new request takes the first free number after the one handed out last, wrapping from
// 65535 to 0 and skipping numbers still waiting, so a number comes round again only after
// all the others: a late reply to a finished request rarely meets a new one. With all
// 65536 numbers waiting a request is refused.
// An echo reply belongs to the waiting request with its sequence number only if it comes
// from the address that request was sent to (the socket has already sorted out replies
// carrying other identifiers); anything else is dropped. An ICMP error quoting a request
// (same sequence number, same destination) ends that request at once without an answer.
// Every request waits on a condition variable of its own, so an arrival wakes its caller
// and nobody else; the receive thread only stores and signals, it never waits on a caller.
class EchoRequestTable {
 public:
  enum class Outcome { kWaiting, kAnswered, kFailed };

  // One request's place in the table. It lives on the waiting caller's stack.
  struct Entry {
    explicit Entry(Ipv4Address to) : address(to) {}
    const Ipv4Address address;
    Outcome outcome = Outcome::kWaiting;
    ReceiveStamp reply;
    std::condition_variable settled;
  };

  EchoRequestTable();

  // Enters entry under a free sequence number; nothing when every number is waiting.
  std::optional<std::uint16_t> Enter(Entry& entry);
  // Waits until the request is answered or failed, or until deadline, then takes it out of
  // the table; the entry keeps the outcome and the reply's stamp.
  Outcome AwaitAndRemove(std::uint16_t sequence, std::chrono::steady_clock::time_point deadline);
  void Remove(std::uint16_t sequence);

  // Whether the arrival matched a waiting request (and settled it).
  bool Answer(std::uint16_t sequence, Ipv4Address from, const ReceiveStamp& stamp);
  bool Fail(std::uint16_t sequence, Ipv4Address to);

  std::size_t WaitingCount() const;

 private:
  Entry* WaitingFor(std::uint16_t sequence, Ipv4Address address) const;
  void RemoveLocked(std::uint16_t sequence);

  mutable std::mutex mutex_;
  std::vector<Entry*> waiting_;  // indexed by sequence number; null when free
  std::size_t waitingCount_ = 0;
  std::uint16_t nextSequence_ = 0;
};

}  // namespace vardelle

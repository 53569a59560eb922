// The requests an echo engine has sent and waits on, how replies and ICMP errors are paired
// with them, and how their round trips are timed.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <queue>
#include <vector>

#include "runtime/probes/icmp_engine.h"

namespace vardelle {

// When a request left: the monotonic clock first, then the wall clock, so that the wall
// clock reading can never lie before the monotonic one.
struct SendStamp {
  std::chrono::steady_clock::time_point steady;
  std::chrono::system_clock::time_point wall;
};

// When a reply arrived: the monotonic and the wall clock as the receive thread read them, one
// right after the other, and the kernel's own receive stamp (wall clock) when the socket gave
// one.
struct ReceiveStamp {
  std::chrono::steady_clock::time_point steady;
  std::chrono::system_clock::time_point wall;
  std::optional<std::chrono::system_clock::time_point> kernel;
};

// How far the wall clock may drift from the monotonic one over a round trip before the
// two are taken to disagree (NTP slews at most half a millisecond a second).
inline constexpr std::chrono::milliseconds kClockAgreement{1};

// The kernel's stamp is preferred because the receive thread may run late under load. It
// is on the wall clock, which can be stepped: when the wall clock's lead over the monotonic
// one differs between the send and the read by more than kClockAgreement, it was stepped
// in between (by however little or much), and the monotonic figure counts; so it does when
// the kernel's figure is negative or longer than the monotonic one.
std::chrono::nanoseconds RoundTripTime(const SendStamp& sent, const ReceiveStamp& received);

// The requests that wait for a reply, and the rule that pairs replies with them. Only the
// engine's own thread uses a table, so it has no lock; every request's end (its done) is
// called from here, once.
//
// Each waiting request holds a 16-bit sequence number that no other waiting request holds.
// A new request takes the first free number after the one handed out last, wrapping from
// 65535 to 0 and skipping numbers still waiting, so a number comes round again only after
// all the others: a late reply to a finished request rarely meets a new one. With all
// 65536 numbers waiting a request is refused.
// The numbers are shared by both families. An echo reply belongs to the waiting request with
// its sequence number only if it comes from the address (family included) that request was
// sent to (the socket has already sorted out replies
// carrying other identifiers); anything else is dropped. An ICMP error quoting a request
// (same sequence number, same destination) ends that request at once without an answer.
// A request still waiting at its deadline ends without an answer; replies read in the
// same turn are matched first, so a reply that came in time is never taken for a time-out.
class EchoRequestTable {
 public:
  using Clock = std::chrono::steady_clock;

  EchoRequestTable();

  // Enters a request to address that ends at deadline; its sequence number, or nothing
  // (and done untouched) when every number is waiting.
  std::optional<std::uint16_t> Enter(const EchoAddress& to, Clock::time_point deadline,
                                     IcmpEngine::EchoDone& done);
  // The request left at stamp; its round trip is timed from there.
  void MarkSent(std::uint16_t sequence, const SendStamp& stamp);
  // Takes a request out that was never sent, handing its done back.
  IcmpEngine::EchoDone Withdraw(std::uint16_t sequence);

  // Whether the arrival matched a waiting request (and ended it).
  bool Answer(std::uint16_t sequence, const EchoAddress& from, const ReceiveStamp& stamp);
  bool Fail(std::uint16_t sequence, const EchoAddress& to);
  // Ends every request whose deadline is at or before now.
  void ExpireDue(Clock::time_point now);
  // Ends every request (the engine stops).
  void FailAll();

  // The earliest deadline of a waiting request, if any.
  std::optional<Clock::time_point> NextDeadline();
  std::size_t WaitingCount() const { return waitingCount_; }

 private:
  struct Request {
    EchoAddress address = Ipv4Address{0};
    std::uint32_t generation = 0;  // tells a deadline of an earlier holder of the number apart
    bool waiting = false;
    SendStamp sent;
    IcmpEngine::EchoDone done;
  };
  struct Deadline {
    Clock::time_point at;
    std::uint16_t sequence;
    std::uint32_t generation;
    bool operator>(const Deadline& other) const { return at > other.at; }
  };

  Request* WaitingFor(std::uint16_t sequence, const EchoAddress& address);
  void End(Request& request, std::optional<std::chrono::nanoseconds> roundTrip);
  void DropStaleDeadlines();

  std::vector<Request> requests_;  // indexed by sequence number
  std::size_t waitingCount_ = 0;
  std::uint16_t nextSequence_ = 0;
  // Earliest first; an entry whose request has ended is dropped when it comes up.
  std::priority_queue<Deadline, std::vector<Deadline>, std::greater<>> deadlines_;
};

}  // namespace vardelle

// The Linux echo engine: one ICMP socket per engine and one thread that sends every request,
// reads every reply and ends every request.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <queue>
#include <span>
#include <string_view>
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

// The pace of the sends. An interface takes packets into a queue of its own (500 packets
// for a tun device, 1,000 for most Ethernet ones) and a tun device drops what its full
// queue cannot hold without telling the sender, so a burst of thousands of echoes would
// lose most of them. The rule, fping's minimum interval made into windows:
// - requests go out in windows: at most Window() of them, then nothing until Pause() after
//   the window opened;
// - a window in which the socket refused a send (no buffer space) or an interface dropped
//   a packet is closed at once, and the pace halves: a narrower window, and once it is a
//   single request, a longer pause (up to kLongestPause);
// - each window that opens after a clean one widens the pace again, pause first, up to
//   kWidestWindow requests every kShortestPause.
// The widest pace (32 every millisecond, 32,000 a second) puts 1,000 requests on the wire in
// about 30 ms; the narrowest still sends 125 a second, so pacing alone never holds a request
// back for long. Only the engine's thread uses a pacer.
class SendPacer {
 public:
  using Clock = std::chrono::steady_clock;
  static constexpr std::size_t kWidestWindow = 32;
  static constexpr std::chrono::milliseconds kShortestPause{1};
  static constexpr std::chrono::milliseconds kLongestPause{8};

  // How many requests may go out at now; opens a new window when the pause is over.
  std::size_t Allowance(Clock::time_point now);
  // count requests went out in the current window.
  void Spent(std::size_t count) { spent_ += count; }
  // A send was refused or a packet dropped: the window closes and the pace halves.
  void Troubled();
  // When the next window opens.
  Clock::time_point NextWindow() const { return opened_ + pause_; }

  std::size_t Window() const { return window_; }
  Clock::duration Pause() const { return pause_; }

 private:
  void Widen();

  std::size_t window_ = kWidestWindow;
  Clock::duration pause_ = kShortestPause;
  Clock::time_point opened_{};  // long ago: the first request goes at once
  std::size_t spent_ = 0;
  bool troubled_ = false;  // in the current window
};

// The interfaces' transmit drops summed over a /proc/net/dev text (the twelfth number of each
// interface's line), or nothing when the text has no such line.
std::optional<std::uint64_t> SumTransmitDrops(std::string_view procNetDev);

// The requests that wait for a reply, and the rule that pairs replies with them. Only the
// engine's own thread uses a table, so it has no lock; every request's end (its done) is
// called from here, once.
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
// A request still waiting at its deadline ends without an answer; replies read in the
// same turn are matched first, so a reply that came in time is never taken for a time-out.
class EchoRequestTable {
 public:
  using Clock = std::chrono::steady_clock;

  EchoRequestTable();

  // Enters a request to address that ends at deadline; its sequence number, or nothing
  // (and done untouched) when every number is waiting.
  std::optional<std::uint16_t> Enter(Ipv4Address to, Clock::time_point deadline,
                                     IcmpEngine::EchoDone& done);
  // The request left at stamp; its round trip is timed from there.
  void MarkSent(std::uint16_t sequence, const SendStamp& stamp);
  // Takes a request out that was never sent, handing its done back.
  IcmpEngine::EchoDone Withdraw(std::uint16_t sequence);

  // Whether the arrival matched a waiting request (and ended it).
  bool Answer(std::uint16_t sequence, Ipv4Address from, const ReceiveStamp& stamp);
  bool Fail(std::uint16_t sequence, Ipv4Address to);
  // Ends every request whose deadline is at or before now.
  void ExpireDue(Clock::time_point now);
  // Ends every request (the engine stops).
  void FailAll();

  // The earliest deadline of a waiting request, if any.
  std::optional<Clock::time_point> NextDeadline();
  std::size_t WaitingCount() const { return waitingCount_; }

 private:
  struct Request {
    Ipv4Address address = 0;
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

  Request* WaitingFor(std::uint16_t sequence, Ipv4Address address);
  void End(Request& request, std::optional<std::chrono::nanoseconds> roundTrip);
  void DropStaleDeadlines();

  std::vector<Request> requests_;  // indexed by sequence number
  std::size_t waitingCount_ = 0;
  std::uint16_t nextSequence_ = 0;
  // Earliest first; an entry whose request has ended is dropped when it comes up.
  std::priority_queue<Deadline, std::vector<Deadline>, std::greater<>> deadlines_;
};

}  // namespace vardelle

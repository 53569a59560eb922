// The line protocol between a program without privilege and `vardelle-ping --serve`, the one
// program that holds CAP_NET_RAW. Any local user can start the server and feed it, so it
// reads every line strictly and bounds what a line may start.
//
// The server's first line: "ready", or "unavailable REASON" and then it ends.
// A request, one line:  TOKEN echo ADDRESS TIMEOUT_MS
//   TOKEN      a decimal number below 2^32 without leading zeros, the caller's to choose
//   ADDRESS    a dotted IPv4 address, or an IPv6 address as all its eight groups of one to
//              four small hex digits without leading zeros, ':' between them (no "::")
//   TIMEOUT_MS 0 to kEchoPipeMostTimeout
// Each request gets one reply line, in any order:
//   TOKEN reply RTT_NS | TOKEN no-reply | TOKEN error WHAT
// A line whose token cannot be read gets "- error WHAT". Lines end with '\n' and are at most
// kEchoPipeMostLineBytes long without it.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

#include "runtime/probes/echo_pace.h"
#include "runtime/probes/icmp_engine.h"

namespace vardelle {

inline constexpr std::size_t kEchoPipeMostLineBytes = 64;
inline constexpr std::size_t kEchoPipeMostInFlight = 10000;
inline constexpr std::chrono::milliseconds kEchoPipeMostTimeout{60000};
inline constexpr std::string_view kEchoPipeReady = "ready";
inline constexpr std::string_view kEchoPipeUnavailable = "unavailable ";

struct EchoPipeRequest {
  std::uint32_t token = 0;
  EchoAddress address = Ipv4Address{0};
  std::chrono::milliseconds timeout{0};
};

// The request as a line, '\n' included.
std::string EchoRequestLine(const EchoPipeRequest& request);

struct EchoPipeReply {
  std::uint32_t token = 0;
  // The round trip; nothing for no-reply and error alike.
  std::optional<std::chrono::nanoseconds> roundTrip;
};

// A reply line ('\n' left out); nothing when it is not one of the three forms with a token.
std::optional<EchoPipeReply> ParseEchoReplyLine(std::string_view line);

// Cuts a byte stream into lines. A line longer than the limit is reported once, as too
// long, with whatever it held; the rest of it up to its '\n' is dropped, so the next line
// starts clean.
class LineSplitter {
 public:
  using OnLine = std::function<void(std::string_view line, bool tooLong)>;

  explicit LineSplitter(std::size_t mostBytes) : mostBytes_(mostBytes) {}
  // Calls onLine for every line the bytes end, '\n' left out.
  void Feed(std::string_view bytes, const OnLine& onLine);

 private:
  const std::size_t mostBytes_;
  std::string line_;
  bool overflowed_ = false;
};

// The server's account of the requests in flight. Not locked: its owner locks.
class EchoPipeFlight {
 public:
  // What a line asks: an echo to send, now in flight, or the error line to answer at once.
  struct Verdict {
    std::optional<EchoPipeRequest> echo;
    std::string answer;  // '\n' included; empty when echo is set
  };
  Verdict Admit(std::string_view line, bool tooLong);
  // The reply line for an echo in flight that ended; its token leaves the flight.
  std::string End(std::uint32_t token, std::optional<std::chrono::nanoseconds> roundTrip);
  std::size_t Count() const { return tokens_.size(); }

 private:
  std::unordered_set<std::uint32_t> tokens_;
};

// Answers the requests read from in on out with engine's echoes, paced when pace is set,
// until in ends or out breaks; then waits for the echoes in flight, which each end by their
// time-out. The caller has written the "ready" line.
void ServeEchoPipe(IcmpEngine& engine, std::FILE* in, std::FILE* out, std::optional<EchoPace> pace);

}  // namespace vardelle

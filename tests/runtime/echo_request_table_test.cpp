#include "runtime/probes/echo_request_table.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <set>
#include <vector>

#include "runtime/probes/internet_checksum.h"
#include "runtime/probes/send_pacer.h"

namespace vardelle {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;
using std::chrono::system_clock;

constexpr Ipv4Address kProbed = 0x0500c80a;  // 10.200.0.5 as it lies in memory
constexpr Ipv4Address kOther = 0x0600c80a;
constexpr std::size_t kAllSequences = 65536;

ReceiveStamp StampAt(steady_clock::time_point when) { return {when, {}, std::nullopt}; }

// A request's end as its done reported it: none yet, or the round trip it ended with.
using End = std::optional<std::optional<std::chrono::nanoseconds>>;
const End kNoAnswer(std::in_place);

// Every request's end, by the order the requests were entered in.
struct Ends {
  std::vector<End> ends;

  IcmpEngine::EchoDone Next() {
    const std::size_t index = ends.size();
    ends.emplace_back();
    return [this, index](std::optional<std::chrono::nanoseconds> roundTrip) {
      EXPECT_FALSE(ends[index].has_value()) << "request " << index << " ended twice";
      ends[index] = roundTrip;
    };
  }
  std::optional<std::uint16_t> Enter(EchoRequestTable& table, steady_clock::time_point deadline,
                                     Ipv4Address to = kProbed) {
    IcmpEngine::EchoDone done = Next();
    return table.Enter(to, deadline, done);
  }
};

const auto kFar = steady_clock::now() + std::chrono::hours(1);

TEST(EchoRequestTableTest, SequencesStayUniqueWhenEveryNumberIsWaiting) {
  EchoRequestTable table;
  Ends ends;
  std::set<std::uint16_t> handedOut;
  for (std::size_t i = 0; i < kAllSequences; ++i) {
    const auto sequence = ends.Enter(table, kFar);
    ASSERT_TRUE(sequence.has_value()) << "refused request " << i;
    handedOut.insert(*sequence);
  }
  EXPECT_EQ(handedOut.size(), kAllSequences);
  EXPECT_FALSE(ends.Enter(table, kFar).has_value()) << "no number is free";

  // Past the wrap, new requests get exactly the numbers that came free, in order.
  EXPECT_TRUE(table.Fail(40000, kProbed));
  EXPECT_TRUE(table.Fail(100, kProbed));
  EXPECT_EQ(ends.Enter(table, kFar), std::optional<std::uint16_t>(100));
  EXPECT_EQ(ends.Enter(table, kFar), std::optional<std::uint16_t>(40000));
  EXPECT_EQ(table.WaitingCount(), kAllSequences);
}

TEST(EchoRequestTableTest, AFinishedNumberIsNotHandedOutAgainAtOnce) {
  EchoRequestTable table;
  Ends ends;
  const auto used = ends.Enter(table, kFar);
  ASSERT_TRUE(used);
  ASSERT_TRUE(table.Withdraw(*used)) << "the unsent request's done comes back";
  const auto next = ends.Enter(table, kFar);
  ASSERT_TRUE(next);
  EXPECT_NE(*next, *used) << "a late reply to the first would be taken for the second's";
  EXPECT_EQ(table.WaitingCount(), 1u);
  EXPECT_FALSE(ends.ends[0].has_value()) << "a withdrawn request has not ended";
}

TEST(EchoRequestTableTest, OnlyAReplyFromTheProbedAddressAnswersAndOnlyOnce) {
  EchoRequestTable table;
  Ends ends;
  const auto sequence = ends.Enter(table, kFar);
  ASSERT_TRUE(sequence);
  const auto sent = steady_clock::now();
  table.MarkSent(*sequence, {sent, system_clock::now()});

  EXPECT_FALSE(table.Answer(*sequence, kOther, StampAt(sent)));
  EXPECT_FALSE(table.Answer(static_cast<std::uint16_t>(*sequence + 1), kProbed, StampAt(sent)));
  EXPECT_TRUE(table.Answer(*sequence, kProbed, StampAt(sent + milliseconds(7))));
  EXPECT_FALSE(table.Answer(*sequence, kProbed, StampAt(sent + milliseconds(9))))
      << "a duplicate reply must not end the request again";
  EXPECT_EQ(ends.ends[0], End(std::in_place, milliseconds(7)));
  EXPECT_EQ(table.WaitingCount(), 0u);
}

TEST(EchoRequestTableTest, AnErrorEndsOnlyTheRequestItQuotes) {
  EchoRequestTable table;
  Ends ends;
  const auto sequence = ends.Enter(table, kFar);
  const auto other = ends.Enter(table, kFar);
  ASSERT_TRUE(sequence && other);
  EXPECT_FALSE(table.Fail(*sequence, kOther));
  EXPECT_TRUE(table.Fail(*sequence, kProbed));
  EXPECT_FALSE(table.Answer(*sequence, kProbed, StampAt(steady_clock::now())))
      << "a reply after the error does not revive the request";
  EXPECT_EQ(ends.ends[0], kNoAnswer);
  EXPECT_FALSE(ends.ends[1].has_value());
}

// Deadlines come due in their own order, whatever order the requests came in, and a number
// that was reused never inherits the deadline of its earlier holder.
TEST(EchoRequestTableTest, RequestsEndAtTheirOwnDeadlines) {
  EchoRequestTable table;
  Ends ends;
  const auto start = steady_clock::now();
  const auto late = ends.Enter(table, start + milliseconds(300));
  const auto early = ends.Enter(table, start + milliseconds(100));
  const auto answered = ends.Enter(table, start + milliseconds(50));
  ASSERT_TRUE(late && early && answered);
  EXPECT_EQ(table.NextDeadline(), start + milliseconds(50));
  EXPECT_TRUE(table.Answer(*answered, kProbed, StampAt(start)));
  EXPECT_EQ(table.NextDeadline(), start + milliseconds(100)) << "an answered request's is gone";

  table.ExpireDue(start + milliseconds(100));
  EXPECT_EQ(ends.ends[1], kNoAnswer);
  EXPECT_FALSE(ends.ends[0].has_value());
  EXPECT_EQ(table.NextDeadline(), start + milliseconds(300));

  table.FailAll();
  EXPECT_EQ(ends.ends[0], kNoAnswer);
  EXPECT_EQ(table.NextDeadline(), std::nullopt);
  EXPECT_EQ(table.WaitingCount(), 0u);
}

// A 100 ms echo read by a thread running 5 ms late, with the wall clock stepped at various
// moments by various amounts. The kernel's figure counts only when the wall clock kept step
// with the monotonic one; a step of any size beyond kClockAgreement falls back to the
// monotonic figure, small ones too, and even one that came after the kernel's stamp.
TEST(RoundTripTimeTest, TheKernelFigureCountsOnlyWhenTheWallClockWasNotStepped) {
  using std::chrono::microseconds;
  const auto at = [](int ms, int us = 0) { return milliseconds(ms) + microseconds(us); };
  const SendStamp sent{steady_clock::time_point(at(1000)), system_clock::time_point(at(5000))};
  struct Case {
    const char* name;
    microseconds readSteady;  // the receive thread's clocks
    microseconds readWall;
    std::optional<microseconds> kernel;  // the kernel's receive stamp
    microseconds expected;
  };
  const Case cases[] = {
      {"no step: the kernel's figure", at(1105), at(5105), at(5100), at(100)},
      {"no kernel stamp: the monotonic figure", at(1105), at(5105), std::nullopt, at(105)},
      {"thread on time", at(1100), at(5100), at(5100), at(100)},
      {"stepped back 90 ms, less than the trip", at(1105), at(5015), at(5010), at(105)},
      {"stepped back 2 ms", at(1105), at(5103), at(5098), at(105)},
      {"stepped back 0.5 ms: within the agreement", at(1105), at(5104, 500), at(5099, 500),
       at(99, 500)},
      {"stepped back 200 ms, more than the trip", at(1105), at(4905), at(4900), at(105)},
      {"stepped forward 3 ms, less than the lateness", at(1105), at(5108), at(5103), at(105)},
      {"stepped forward 0.5 ms: within the agreement", at(1105), at(5105, 500), at(5100, 500),
       at(100, 500)},
      {"stepped forward 90 ms", at(1105), at(5195), at(5190), at(105)},
      {"stepped back 90 ms after the kernel's stamp", at(1105), at(5015), at(5100), at(105)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::optional<system_clock::time_point> kernel;
    if (c.kernel) kernel = system_clock::time_point(*c.kernel);
    const ReceiveStamp received{steady_clock::time_point(c.readSteady),
                                system_clock::time_point(c.readWall), kernel};
    EXPECT_EQ(RoundTripTime(sent, received), c.expected);
  }
}

// The pace through a run of events: each row is what happened, then the window and pause the
// pacer holds after it. Trouble halves the window down to one request, then doubles the pause
// up to its longest; clean windows undo it, the pause first, the window more slowly.
TEST(SendPacerTest, TroubleHalvesThePaceAndCleanWindowsWidenItAgain) {
  enum Event { kTrouble, kCleanWindow };
  struct Step {
    Event event;
    std::size_t window;
    milliseconds pause;
  };
  const Step steps[] = {
      {kTrouble, 64, milliseconds(1)},    {kTrouble, 32, milliseconds(1)},
      {kTrouble, 16, milliseconds(1)},    {kTrouble, 8, milliseconds(1)},
      {kTrouble, 4, milliseconds(1)},     {kTrouble, 2, milliseconds(1)},
      {kTrouble, 1, milliseconds(1)},     {kTrouble, 1, milliseconds(2)},
      {kTrouble, 1, milliseconds(4)},     {kTrouble, 1, milliseconds(8)},
      {kTrouble, 1, milliseconds(8)},     {kCleanWindow, 1, milliseconds(4)},
      {kCleanWindow, 1, milliseconds(2)}, {kCleanWindow, 1, milliseconds(1)},
      {kCleanWindow, 2, milliseconds(1)}, {kCleanWindow, 3, milliseconds(1)},
      {kCleanWindow, 4, milliseconds(1)}, {kTrouble, 2, milliseconds(1)},
  };
  SendPacer pacer;
  auto now = steady_clock::now();
  ASSERT_EQ(pacer.Allowance(now), SendPacer::kWidestWindow) << "the first window opens at once";
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    SCOPED_TRACE("step " + std::to_string(i));
    pacer.Spent(1);
    if (steps[i].event == kTrouble) {
      pacer.Troubled();
      EXPECT_EQ(pacer.Allowance(now), 0u) << "trouble closes the window";
    }
    // The next window opens exactly one pause after this one (and widens the pace, after a
    // clean one).
    EXPECT_EQ(pacer.Allowance(pacer.NextWindow() - std::chrono::nanoseconds(1)),
              steps[i].event == kTrouble ? 0u : pacer.Window() - 1);
    now = pacer.NextWindow();
    pacer.Allowance(now);
    EXPECT_EQ(pacer.Window(), steps[i].window);
    EXPECT_EQ(pacer.Pause(), steps[i].pause);
  }
}

TEST(SendPacerTest, AWindowIsSpentByAnyNumberOfSendsAndAnUnusedOneWidensNothing) {
  SendPacer pacer;
  auto now = steady_clock::now();
  pacer.Allowance(now);
  pacer.Troubled();  // window 64
  now = pacer.NextWindow();
  EXPECT_EQ(pacer.Allowance(now), 64u);
  pacer.Spent(10);
  EXPECT_EQ(pacer.Allowance(now + std::chrono::microseconds(10)), 54u) << "the rest of the window";
  pacer.Spent(54);
  EXPECT_EQ(pacer.Allowance(now + std::chrono::microseconds(20)), 0u);
  now = pacer.NextWindow();
  EXPECT_EQ(pacer.Allowance(now), 73u) << "a clean, used window widens the next";
  now = pacer.NextWindow();
  EXPECT_EQ(pacer.Allowance(now), 73u) << "an unused one proves nothing";
}

TEST(SendPacerTest, AWindowTakenLateIsTimedFromWhenItWasDue) {
  const struct {
    std::chrono::microseconds late;
    bool timedFromDue;
  } cases[] = {{std::chrono::microseconds(0), true},
               {std::chrono::microseconds(400), true},
               {std::chrono::microseconds(999), true},
               {std::chrono::microseconds(1000), false},
               {std::chrono::microseconds(5000), false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.late.count()) + " us late");
    SendPacer pacer;
    pacer.Allowance(steady_clock::now());
    const auto due = pacer.NextWindow();
    const auto taken = due + c.late;
    EXPECT_EQ(pacer.Allowance(taken), SendPacer::kWidestWindow);
    EXPECT_EQ(pacer.NextWindow(), (c.timedFromDue ? due : taken) + SendPacer::kShortestPause);
  }
}

TEST(InternetChecksumTest, MatchesTheReferenceSumAndVerifiesToZero) {
  // The worked example of RFC 1071, section 3.
  std::array<std::uint8_t, 8> words = {0x00, 0x01, 0xf2, 0x03, 0xf4, 0xf5, 0xf6, 0xf7};
  EXPECT_EQ(InternetChecksum(words), 0x220d);
  // An odd last byte counts as the high half of a word.
  const std::array<std::uint8_t, 3> odd = {0x00, 0x01, 0xf2};
  EXPECT_EQ(InternetChecksum(odd), static_cast<std::uint16_t>(~(0x0001 + 0xf200)));
  // A message carrying its checksum sums to zero: how received replies are checked.
  std::array<std::uint8_t, 8> echo = {8, 0, 0, 0, 0x12, 0x34, 0x00, 0x07};
  const std::uint16_t checksum = InternetChecksum(echo);
  echo[2] = static_cast<std::uint8_t>(checksum >> 8);
  echo[3] = static_cast<std::uint8_t>(checksum);
  EXPECT_EQ(InternetChecksum(echo), 0);
}

}  // namespace
}  // namespace vardelle

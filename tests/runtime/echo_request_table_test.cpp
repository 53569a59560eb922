#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <set>
#include <vector>

#include "runtime/linux/icmp_engine_linux.h"

namespace vardelle {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;
using std::chrono::system_clock;

constexpr Ipv4Address kProbed = 0x0500c80a;  // 10.200.0.5 as it lies in memory
constexpr Ipv4Address kOther = 0x0600c80a;
constexpr std::size_t kAllSequences = 65536;

ReceiveStamp StampAt(steady_clock::time_point when) { return {when, std::nullopt}; }

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

TEST(RoundTripTimeTest, PrefersTheKernelStampAndFallsBackWhenTheWallClockJumped) {
  const SendStamp sent{steady_clock::time_point(milliseconds(1000)),
                       system_clock::time_point(milliseconds(5000))};
  const auto receivedSteady = steady_clock::time_point(milliseconds(1025));  // thread ran late
  const auto kernelAt = [](int ms) {
    return std::optional(system_clock::time_point(milliseconds(ms)));
  };
  EXPECT_EQ(RoundTripTime(sent, {receivedSteady, kernelAt(5020)}), milliseconds(20));
  EXPECT_EQ(RoundTripTime(sent, {receivedSteady, std::nullopt}), milliseconds(25));
  EXPECT_EQ(RoundTripTime(sent, {receivedSteady, kernelAt(4000)}), milliseconds(25))
      << "wall clock stepped back";
  EXPECT_EQ(RoundTripTime(sent, {receivedSteady, kernelAt(9000)}), milliseconds(25))
      << "wall clock stepped forward";
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

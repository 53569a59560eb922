#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <future>
#include <set>

#include "runtime/linux/icmp_engine_linux.h"

namespace vardelle {
namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;
using std::chrono::system_clock;
using Outcome = EchoRequestTable::Outcome;

constexpr Ipv4Address kProbed = 0x0500c80a;  // 10.200.0.5 as it lies in memory
constexpr Ipv4Address kOther = 0x0600c80a;
constexpr std::size_t kAllSequences = 65536;

ReceiveStamp StampAt(steady_clock::time_point when) { return {when, std::nullopt}; }

TEST(EchoRequestTableTest, SequencesStayUniqueWhenEveryNumberIsWaiting) {
  EchoRequestTable table;
  std::deque<EchoRequestTable::Entry> entries;
  std::set<std::uint16_t> handedOut;
  for (std::size_t i = 0; i < kAllSequences; ++i) {
    const auto sequence = table.Enter(entries.emplace_back(kProbed));
    ASSERT_TRUE(sequence.has_value()) << "refused request " << i;
    handedOut.insert(*sequence);
  }
  EXPECT_EQ(handedOut.size(), kAllSequences);
  EXPECT_FALSE(table.Enter(entries.emplace_back(kProbed)).has_value()) << "no number is free";

  // Past the wrap, new requests get exactly the numbers that came free, in order.
  table.Remove(40000);
  table.Remove(100);
  EXPECT_EQ(table.Enter(entries.emplace_back(kProbed)), std::optional<std::uint16_t>(100));
  EXPECT_EQ(table.Enter(entries.emplace_back(kProbed)), std::optional<std::uint16_t>(40000));
  EXPECT_EQ(table.WaitingCount(), kAllSequences);
}

TEST(EchoRequestTableTest, AFinishedNumberIsNotHandedOutAgainAtOnce) {
  EchoRequestTable table;
  EchoRequestTable::Entry first(kProbed);
  const auto used = table.Enter(first);
  ASSERT_TRUE(used);
  table.Remove(*used);
  EchoRequestTable::Entry second(kProbed);
  const auto next = table.Enter(second);
  ASSERT_TRUE(next);
  EXPECT_NE(*next, *used) << "a late reply to the first would be taken for the second's";
  table.Remove(*next);
  EXPECT_EQ(table.WaitingCount(), 0u);
}

TEST(EchoRequestTableTest, OnlyAReplyFromTheProbedAddressAnswers) {
  EchoRequestTable table;
  EchoRequestTable::Entry entry(kProbed);
  const auto sequence = table.Enter(entry);
  ASSERT_TRUE(sequence);
  const auto arrival = steady_clock::now();

  EXPECT_FALSE(table.Answer(*sequence, kOther, StampAt(arrival)));
  EXPECT_FALSE(table.Answer(static_cast<std::uint16_t>(*sequence + 1), kProbed, StampAt(arrival)));
  EXPECT_TRUE(table.Answer(*sequence, kProbed, StampAt(arrival)));
  EXPECT_FALSE(table.Answer(*sequence, kProbed, StampAt(arrival + milliseconds(5))))
      << "a duplicate reply must not overwrite the first";

  EXPECT_EQ(table.AwaitAndRemove(*sequence, steady_clock::now()), Outcome::kAnswered);
  EXPECT_EQ(entry.reply.steady, arrival);
  EXPECT_FALSE(table.Answer(*sequence, kProbed, StampAt(arrival))) << "removed requests are gone";
}

TEST(EchoRequestTableTest, AnErrorEndsOnlyTheRequestItQuotes) {
  EchoRequestTable table;
  EchoRequestTable::Entry entry(kProbed);
  const auto sequence = table.Enter(entry);
  ASSERT_TRUE(sequence);
  EXPECT_FALSE(table.Fail(*sequence, kOther));
  EXPECT_TRUE(table.Fail(*sequence, kProbed));
  EXPECT_FALSE(table.Answer(*sequence, kProbed, StampAt(steady_clock::now())))
      << "a reply after the error does not revive the request";
  EXPECT_EQ(table.AwaitAndRemove(*sequence, steady_clock::now()), Outcome::kFailed);
}

TEST(EchoRequestTableTest, AnArrivalWakesItsOwnCallerAndLeavesTheOthersWaiting) {
  EchoRequestTable table;
  EchoRequestTable::Entry answered(kProbed);
  EchoRequestTable::Entry unanswered(kProbed);
  const auto answeredSequence = table.Enter(answered);
  const auto unansweredSequence = table.Enter(unanswered);
  ASSERT_TRUE(answeredSequence && unansweredSequence);
  const auto start = steady_clock::now();
  const auto farDeadline = start + std::chrono::seconds(30);
  const auto shortDeadline = start + milliseconds(300);

  auto answeredWait = std::async(
      std::launch::async, [&] { return table.AwaitAndRemove(*answeredSequence, farDeadline); });
  auto unansweredWait = std::async(
      std::launch::async, [&] { return table.AwaitAndRemove(*unansweredSequence, shortDeadline); });
  ASSERT_TRUE(table.Answer(*answeredSequence, kProbed, StampAt(steady_clock::now())));

  EXPECT_EQ(answeredWait.get(), Outcome::kAnswered);
  EXPECT_LT(steady_clock::now(), farDeadline - std::chrono::seconds(20));
  EXPECT_EQ(unansweredWait.get(), Outcome::kWaiting);
  EXPECT_GE(steady_clock::now(), shortDeadline) << "the other caller waited out its time-out";
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

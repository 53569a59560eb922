// The echo pipe's lines and limits, and the pace of unprivileged echoes.
#include "runtime/probes/echo_pipe.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "runtime/platform.h"
#include "tests/support/named_cases.h"

namespace vardelle {
namespace {

using named_cases::CaseName;
using named_cases::PrintTo;
using std::chrono::milliseconds;
using std::chrono::nanoseconds;

Ipv4Address Address(const std::string& dotted) { return ParseDottedIpv4(dotted).value(); }
Ipv6Address Address6(const std::string& text) { return ParseIpv6Literal(text).value(); }

struct AdmitCase {
  std::string name;
  std::string line;
  bool tooLong;
  std::string answer;  // empty: admitted as the request below
  EchoPipeRequest request;
};

class EchoPipeAdmitTest : public ::testing::TestWithParam<AdmitCase> {};

TEST_P(EchoPipeAdmitTest, AdmitsOnlyWellFormedRequests) {
  const AdmitCase& c = GetParam();
  EchoPipeFlight flight;
  const EchoPipeFlight::Verdict verdict = flight.Admit(c.line, c.tooLong);
  EXPECT_EQ(verdict.answer, c.answer);
  ASSERT_EQ(verdict.echo.has_value(), c.answer.empty());
  EXPECT_EQ(flight.Count(), c.answer.empty() ? 1u : 0u);
  if (verdict.echo) {
    EXPECT_EQ(verdict.echo->token, c.request.token);
    EXPECT_EQ(verdict.echo->address, c.request.address);
    EXPECT_EQ(verdict.echo->timeout, c.request.timeout);
  }
}

AdmitCase Good(std::string name, std::string line, EchoPipeRequest request) {
  return {std::move(name), std::move(line), false, "", request};
}
AdmitCase Bad(std::string name, std::string line, std::string answer) {
  return {std::move(name), std::move(line), false, std::move(answer), {}};
}

INSTANTIATE_TEST_SUITE_P(
    Lines, EchoPipeAdmitTest,
    ::testing::Values(
        Good("Plain", "1 echo 127.0.0.1 1000", {1, Address("127.0.0.1"), milliseconds(1000)}),
        Good("Largest", "4294967295 echo 255.255.255.255 60000",
             {4294967295u, Address("255.255.255.255"), milliseconds(60000)}),
        Good("Zeros", "0 echo 0.0.0.0 0", {0, 0, milliseconds(0)}),
        Good("Ipv6", "7 echo fd00:200:0:0:0:0:0:5 5",
             {7, Address6("fd00:200::5"), milliseconds(5)}),
        Good("LargestIpv6", "4294967295 echo ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff 60000",
             {4294967295u, Address6("ffff:ffff:ffff:ffff:ffff:ffff:ffff:ffff"),
              milliseconds(60000)}),
        AdmitCase{"TooLong", "1 echo 127.0.0.1 1000", true, "- error line-too-long\n", {}},
        Bad("Empty", "", "- error bad-token\n"),
        Bad("TokenTooLarge", "4294967296 echo 1.2.3.4 5", "- error bad-token\n"),
        Bad("TokenLeadingZero", "01 echo 1.2.3.4 5", "- error bad-token\n"),
        Bad("TokenNegative", "-1 echo 1.2.3.4 5", "- error bad-token\n"),
        Bad("TokenPlus", "+1 echo 1.2.3.4 5", "- error bad-token\n"),
        Bad("TokenWord", "one echo 1.2.3.4 5", "- error bad-token\n"),
        Bad("LeadingSpace", " 1 echo 1.2.3.4 5", "- error bad-token\n"),
        Bad("OtherCommand", "7 ping 1.2.3.4 5", "7 error bad-command\n"),
        Bad("NoTimeout", "7 echo 1.2.3.4", "7 error bad-command\n"),
        Bad("ExtraField", "7 echo 1.2.3.4 5 6", "7 error bad-command\n"),
        Bad("DoubleSpace", "7 echo  1.2.3.4 5", "7 error bad-command\n"),
        Bad("TrailingSpace", "7 echo 1.2.3.4 5 ", "7 error bad-command\n"),
        Bad("ThreeParts", "7 echo 1.2.3 5", "7 error bad-address\n"),
        Bad("PartOver255", "7 echo 256.1.1.1 5", "7 error bad-address\n"),
        Bad("PartLeadingZero", "7 echo 01.2.3.4 5", "7 error bad-address\n"),
        Bad("Name", "7 echo localhost 5", "7 error bad-address\n"),
        Bad("Ipv6Shortened", "7 echo ::1 5", "7 error bad-address\n"),
        Bad("Ipv6Capitals", "7 echo FD00:0:0:0:0:0:0:1 5", "7 error bad-address\n"),
        Bad("Ipv6GroupLeadingZero", "7 echo fd00:0200:0:0:0:0:0:1 5", "7 error bad-address\n"),
        Bad("Ipv6FiveDigitGroup", "7 echo fd000:0:0:0:0:0:0:1 5", "7 error bad-address\n"),
        Bad("Ipv6SevenGroups", "7 echo fd00:0:0:0:0:0:1 5", "7 error bad-address\n"),
        Bad("Ipv6NineGroups", "7 echo fd00:0:0:0:0:0:0:0:1 5", "7 error bad-address\n"),
        Bad("Ipv6Zone", "7 echo fe80:0:0:0:0:0:0:1%lo 5", "7 error bad-address\n"),
        Bad("FiveParts", "7 echo 1.2.3.4.5 5", "7 error bad-address\n"),
        Bad("EmptyPart", "7 echo 1..3.4 5", "7 error bad-address\n"),
        Bad("TrailingDot", "7 echo 1.2.3. 5", "7 error bad-address\n"),
        Bad("SignedPart", "7 echo 1.+2.3.4 5", "7 error bad-address\n"),
        Bad("ZeroByte", std::string("7 echo 1.2.3.4\0 5", 17), "7 error bad-address\n"),
        Bad("TimeoutOverLimit", "7 echo 1.2.3.4 60001", "7 error bad-timeout\n"),
        Bad("TimeoutNegative", "7 echo 1.2.3.4 -1", "7 error bad-timeout\n"),
        Bad("TimeoutLeadingZero", "7 echo 1.2.3.4 05", "7 error bad-timeout\n"),
        Bad("TimeoutHuge", "7 echo 1.2.3.4 99999999999999999999", "7 error bad-timeout\n"),
        Bad("CarriageReturn", "7 echo 1.2.3.4 5\r", "7 error bad-timeout\n")),
    CaseName<AdmitCase>);

TEST(EchoPipeFlightTest, RefusesMoreThanTheLimitInFlightAndTokensInFlightTwice) {
  EchoPipeFlight flight;
  for (std::size_t token = 0; token < kEchoPipeMostInFlight; ++token) {
    ASSERT_TRUE(flight.Admit(std::to_string(token) + " echo 127.0.0.1 10", false).echo)
        << "token " << token;
  }
  EXPECT_EQ(flight.Admit("10000 echo 127.0.0.1 10", false).answer, "10000 error busy\n");
  EXPECT_EQ(flight.Admit("5 echo 127.0.0.1 10", false).answer, "5 error token-in-use\n");
  EXPECT_EQ(flight.End(5, nanoseconds(1234)), "5 reply 1234\n");
  EXPECT_EQ(flight.End(6, std::nullopt), "6 no-reply\n");
  EXPECT_EQ(flight.Count(), kEchoPipeMostInFlight - 2);
  EXPECT_TRUE(flight.Admit("5 echo 127.0.0.1 10", false).echo) << "an ended token is free";
  EXPECT_TRUE(flight.Admit("10000 echo 127.0.0.1 10", false).echo);
  EXPECT_EQ(flight.Admit("10001 echo 127.0.0.1 10", false).answer, "10001 error busy\n");
}

TEST(EchoPipeRequestLineTest, IsReadBackAsTheSameRequest) {
  const struct {
    EchoPipeRequest request;
    std::string line;
  } cases[] = {
      {{4000000000u, Address("10.200.0.17"), milliseconds(2500)},
       "4000000000 echo 10.200.0.17 2500\n"},
      {{5, Address6("fd00:200::a:bc0"), milliseconds(70)}, "5 echo fd00:200:0:0:0:0:a:bc0 70\n"}};
  for (const auto& c : cases) {
    const std::string line = EchoRequestLine(c.request);
    EXPECT_EQ(line, c.line);
    EchoPipeFlight flight;
    const auto echo = flight.Admit(std::string_view(line).substr(0, line.size() - 1), false).echo;
    ASSERT_TRUE(echo) << line;
    EXPECT_EQ(echo->address, c.request.address);
  }
}

struct ReplyCase {
  std::string name;
  std::string line;
  std::optional<EchoPipeReply> reply;
};

class EchoPipeReplyTest : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(EchoPipeReplyTest, ReadsTheThreeFormsOnly) {
  const ReplyCase& c = GetParam();
  const std::optional<EchoPipeReply> reply = ParseEchoReplyLine(c.line);
  ASSERT_EQ(reply.has_value(), c.reply.has_value());
  if (reply) {
    EXPECT_EQ(reply->token, c.reply->token);
    EXPECT_EQ(reply->roundTrip, c.reply->roundTrip);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, EchoPipeReplyTest,
    ::testing::Values(ReplyCase{"Reply", "5 reply 1234567", EchoPipeReply{5, nanoseconds(1234567)}},
                      ReplyCase{"NoReply", "5 no-reply", EchoPipeReply{5, std::nullopt}},
                      ReplyCase{"Error", "5 error busy", EchoPipeReply{5, std::nullopt}},
                      ReplyCase{"ErrorWithoutToken", "- error bad-token", std::nullopt},
                      ReplyCase{"ReplyWithoutTime", "5 reply", std::nullopt},
                      ReplyCase{"NegativeTime", "5 reply -3", std::nullopt},
                      ReplyCase{"ExtraField", "5 reply 1 2", std::nullopt},
                      ReplyCase{"OtherWord", "5 maybe", std::nullopt},
                      ReplyCase{"Ready", "ready", std::nullopt}),
    CaseName<ReplyCase>);

TEST(LineSplitterTest, JoinsChunksAndReportsAnOverlongLineOnce) {
  std::vector<std::pair<std::string, bool>> lines;
  const LineSplitter::OnLine record = [&](std::string_view line, bool tooLong) {
    lines.emplace_back(std::string(line), tooLong);
  };
  LineSplitter splitter(8);
  splitter.Feed("ab\ncd", record);
  splitter.Feed("e\n12345678", record);
  splitter.Feed("9 and more\nok\nunfin", record);  // the last line is not over yet
  const std::vector<std::pair<std::string, bool>> expected = {
      {"ab", false}, {"cde", false}, {"12345678", true}, {"ok", false}};
  EXPECT_EQ(lines, expected);
}

using Clock = EchoPace::Clock;

TEST(EchoPaceTest, AllowsABurstThenTheSteadyPace) {
  const Clock::time_point start{};
  EchoPace pace(1000, 3, start);  // a turn every millisecond
  std::vector<bool> taken;
  for (int i = 0; i < 4; ++i) taken.push_back(pace.TryTake(start));
  taken.push_back(pace.TryTake(start + milliseconds(1)));
  taken.push_back(pace.TryTake(start + milliseconds(1)));
  const Clock::time_point later = start + std::chrono::seconds(10);
  for (int i = 0; i < 4; ++i) taken.push_back(pace.TryTake(later));
  EXPECT_EQ(taken, (std::vector<bool>{true, true, true, false, true, false,  // the burst, then pace
                                      true, true, true, false}));  // a pause refills the burst
  EXPECT_EQ(pace.NextTurn(), later + milliseconds(1));
}

TEST(EchoPaceTest, HoldsTheUnprivilegedPaceOverASecondOfEagerSends) {
  const Clock::time_point start{};
  EchoPace pace(kUnprivilegedEchoesPerSecond, kUnprivilegedEchoBurst, start);
  int sent = 0;
  for (auto now = start; now < start + std::chrono::seconds(1);
       now += std::chrono::microseconds(1)) {
    while (pace.TryTake(now)) ++sent;
  }
  EXPECT_GE(sent, kUnprivilegedEchoesPerSecond);
  EXPECT_LE(sent, kUnprivilegedEchoesPerSecond + kUnprivilegedEchoBurst);
}

}  // namespace
}  // namespace vardelle

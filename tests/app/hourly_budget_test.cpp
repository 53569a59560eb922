// The hourly budget as global tests share it: limits that fit what is left, reports of
// concurrent answers taken in any order, and the hour's renewal.
#include "app/global_ping/hourly_budget.h"

#include <gtest/gtest.h>

#include <numeric>

namespace vardelle {
namespace {

using std::chrono::seconds;
using WallClock = std::chrono::system_clock;

struct ShareCase {
  std::optional<int> remaining;
  int held;  // shared before, by a test still running
  size_t rows;
  std::vector<int> shares;
};

TEST(HourlyBudgetTest, SharesWhatIsLeftAndNeverMore) {
  const ShareCase cases[] = {
      {250, 0, 3, {10, 10, 10}},
      {240, 0, 30, std::vector<int>(30, 8)},
      {7, 0, 5, {2, 2, 1, 1, 1}},
      {3, 0, 5, {1, 1, 1, 0, 0}},
      {0, 0, 2, {0, 0}},
      {12, 10, 3, {1, 1, 0}},
      {std::nullopt, 0, 2, {10, 10}},
  };
  for (const ShareCase& c : cases) {
    HourlyBudget budget;
    budget.Learn({250, c.remaining, 3000, std::nullopt});
    if (c.held > 0) budget.Share(1, c.held);
    EXPECT_EQ(budget.Share(c.rows, 10).limits, c.shares)
        << c.remaining.value_or(-1) << " " << c.rows;
  }
  // Released shares are free again.
  HourlyBudget budget;
  budget.Learn({250, 4, 3000, std::nullopt});
  const std::vector<int> first = budget.Share(1, 10).limits;
  EXPECT_EQ(budget.Share(1, 10).shortfall, "剩余额度已分给进行中的测试，请稍后再测");
  budget.Release(std::accumulate(first.begin(), first.end(), 0));
  EXPECT_EQ(budget.Share(1, 10).limits, std::vector<int>{4});
}

TEST(HourlyBudgetTest, ReportsOfOneHourOnlyLowerWhatIsLeftUntilTheHourRenews) {
  WallClock::time_point now = WallClock::now();
  HourlyBudget budget([&] { return now; });
  EXPECT_EQ(budget.RemainingText(), "本小时额度未知");
  budget.Learn({250, 250, 0, std::nullopt});     // before any charge
  budget.Learn({250, 240, 3600, std::nullopt});  // the hour starts
  budget.Learn({250, 245, 3599, std::nullopt});  // an older answer, arriving late
  EXPECT_EQ(budget.RemainingText(), "本小时剩余额度 240/250 次测试");
  budget.Learn({std::nullopt, std::nullopt, std::nullopt, 5});  // charged, balance untold
  EXPECT_EQ(budget.RemainingText(), "本小时剩余额度 235/250 次测试");
  budget.Learn({250, 1, 1800, std::nullopt});
  const BudgetShares last = budget.Share(2, 10);
  EXPECT_EQ(last.limits, (std::vector<int>{1, 0}));
  EXPECT_EQ(last.shortfall, BudgetExhaustedText(now + seconds(3600)));  // the hour began at 240
  now += seconds(3601);
  EXPECT_EQ(budget.RemainingText(), "本小时剩余额度 250/250 次测试");
  EXPECT_EQ(budget.Share(1, 10).limits, std::vector<int>{10});
}

TEST(HourlyBudgetTest, ReadsTheLimitsAnswerAndNothingElse) {
  const std::optional<BudgetReport> report = ReadLimitsAnswer(
      R"({"rateLimit":{"measurements":{"create":{"type":"ip","limit":250,"remaining":95,"reset":3599}}}})");
  ASSERT_TRUE(report);
  EXPECT_EQ(report->limit, 250);
  EXPECT_EQ(report->remaining, 95);
  EXPECT_EQ(report->resetSeconds, 3599);
  for (const char* hostile :
       {"", "[]", R"({"rateLimit":7})", R"({"rateLimit":{"measurements":{"create":[]}}})",
        R"({"rateLimit":{"measurements":{"create":{"remaining":-1}}}})",
        R"({"rateLimit":{"measurements":{"create":{"remaining":1e300}}}})"}) {
    EXPECT_FALSE(ReadLimitsAnswer(hostile)) << hostile;
  }
  EXPECT_EQ(BudgetExhaustedText(std::nullopt), "本小时额度已用完，请稍后再测");
}

}  // namespace
}  // namespace vardelle

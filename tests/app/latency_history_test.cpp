// Statistics of hand-computed result sequences, and the history's ordering by run.
#include "app/statistics/latency_history.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace vardelle {
namespace {

constexpr std::nullopt_t kLost = std::nullopt;

struct StatisticsCase {
  std::string name;
  std::vector<LatencySample> results;
  LatencyStatistics expected;
};

void ExpectNear(const std::optional<double>& actual, const std::optional<double>& expected) {
  ASSERT_EQ(actual.has_value(), expected.has_value());
  if (expected) {
    EXPECT_NEAR(*actual, *expected, 1e-9);
  }
}

void ExpectStatistics(const LatencyStatistics& actual, const LatencyStatistics& expected) {
  EXPECT_EQ(actual.sent, expected.sent);
  EXPECT_EQ(actual.received, expected.received);
  ExpectNear(actual.lossPercent, expected.lossPercent);
  EXPECT_EQ(actual.lastMs, expected.lastMs);
  EXPECT_EQ(actual.minMs, expected.minMs);
  ExpectNear(actual.avgMs, expected.avgMs);
  EXPECT_EQ(actual.maxMs, expected.maxMs);
  ExpectNear(actual.mdevMs, expected.mdevMs);
  ExpectNear(actual.jitterMs, expected.jitterMs);
}

TEST(LatencyStatisticsTest, HandComputedSequences) {
  const std::vector<StatisticsCase> cases = {
      {"nothing sent", {}, {}},
      {"all lost",
       {kLost, kLost, kLost},
       {3, 0, 100.0, kLost, kLost, kLost, kLost, kLost, kLost}},
      {"one answered",
       {kLost, 20},
       {2, 1, 50.0, 20, 20, 20.0, 20, 0.0, 0.0}},
      // Answers 10 30 20 20: mean 20, variance (100 + 100 + 0 + 0) / 4 = 50. Jitter over
      // the answered ones, the lost probe skipped: |D| = 20, 10, 0 gives
      // J = 20/16 = 1.25, then 1.25 + (10 - 1.25)/16 = 1.796875, then 1.796875 * 15/16.
      {"jitter worked example",
       {10, kLost, 30, 20, 20},
       {5, 4, 20.0, 20, 10, 20.0, 30, 7.0710678118654755, 1.796875 * 15 / 16}},
      {"newest probe lost",
       {40, kLost},
       {2, 1, 50.0, kLost, 40, 40.0, 40, 0.0, 0.0}},
  };
  for (const StatisticsCase& test : cases) {
    SCOPED_TRACE(test.name);
    ExpectStatistics(ComputeStatistics(test.results), test.expected);
  }
}

// The counts cover every run, the figures only the window: the five lost runs have left it.
TEST(LatencyHistoryTest, KeepsTheLastHundredRunsAndDropsOlderOnesOnceFull) {
  LatencyHistory history;
  const RowId row{7};
  for (int run = 1; run <= 105; ++run) {
    history.Record(row, static_cast<std::uint64_t>(run), run <= 5 ? -1 : run);
  }
  history.Record(row, 3, 3);  // older than every kept run: too old to count
  const LatencyStatistics statistics = history.StatisticsOf(row);
  EXPECT_EQ(statistics.sent, 105);
  EXPECT_EQ(statistics.received, 100);
  EXPECT_DOUBLE_EQ(*statistics.lossPercent, 100.0 * 5 / 105);
  EXPECT_EQ(statistics.minMs, 6);
  EXPECT_EQ(statistics.maxMs, 105);
  EXPECT_DOUBLE_EQ(*statistics.avgMs, 55.5);
  const std::vector<LatencySample> recent = history.RecentResults(row, 30);
  ASSERT_EQ(recent.size(), 30u);
  EXPECT_EQ(recent.front(), 76);
  EXPECT_EQ(recent.back(), 105);
  EXPECT_TRUE(history.RecentResults(RowId{8}, 30).empty());
}

TEST(LatencyHistoryTest, OverlappingRunsCountOnceInTheOrderTheyWereSent) {
  LatencyHistory history;
  const RowId row{1};
  const RowId other{2};
  history.Record(row, 3, 30);
  history.Record(row, 2, -1);
  history.Record(other, 2, 99);
  history.Record(row, 1, 10);
  history.Record(row, 2, -1);
  history.Record(other, 2, -1);  // the newer result replaces the answer
  EXPECT_EQ(history.RecentResults(row, 30), (std::vector<LatencySample>{10, kLost, 30}));
  const LatencyStatistics statistics = history.StatisticsOf(row);
  EXPECT_EQ(statistics.sent, 3);
  EXPECT_EQ(statistics.received, 2);
  EXPECT_EQ(statistics.lastMs, 30);
  EXPECT_DOUBLE_EQ(*statistics.jitterMs, 20.0 / 16);
  EXPECT_EQ(history.StatisticsOf(other).sent, 1);
  EXPECT_EQ(history.StatisticsOf(other).received, 0);
}

}  // namespace
}  // namespace vardelle

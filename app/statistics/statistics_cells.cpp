#include "app/statistics/statistics_cells.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace vardelle {
namespace {

constexpr char kNothing[] = "-";

Text Decimal(double value) {
  char text[32];
  const auto [end, error] =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 1);
  return error == std::errc() ? Text(text, end) : Text(kNothing);
}

Text MinAvgMax(const LatencyStatistics& statistics) {
  if (!statistics.avgMs) return kNothing;
  return std::to_string(*statistics.minMs) + "/" + Decimal(*statistics.avgMs) + "/" +
         std::to_string(*statistics.maxMs);
}

// Eight heights of block characters, lowest to highest.
constexpr const char* kBlocks[] = {"▁", "▂", "▃", "▄", "▅", "▆", "▇", "█"};

Text TextSparkline(const std::vector<LatencySample>& recent) {
  int lowest = 0;
  int highest = 0;
  bool any = false;
  for (const LatencySample& result : recent) {
    if (!result) continue;
    lowest = any ? std::min(lowest, *result) : *result;
    highest = any ? std::max(highest, *result) : *result;
    any = true;
  }
  Text line;
  for (const LatencySample& result : recent) {
    const int span = std::max(highest - lowest, 1);
    line += result ? kBlocks[(*result - lowest) * 7 / span] : " ";
  }
  return line;
}

}  // namespace

std::array<Text, kStatisticsColumnCount> StatisticsCellTexts(const LatencyStatistics& statistics) {
  const auto optional = [](const std::optional<double>& value, const char* unit) {
    return value ? Decimal(*value) + unit : Text(kNothing);
  };
  return {optional(statistics.lossPercent, "%"), MinAvgMax(statistics),
          optional(statistics.jitterMs, ""), optional(statistics.avgMs, "")};
}

Text StatisticsToolTip(const LatencyStatistics& statistics,
                       const std::vector<LatencySample>& recent) {
  const std::array<Text, kStatisticsColumnCount> cells = StatisticsCellTexts(statistics);
  const Text mdev = statistics.mdevMs ? Decimal(*statistics.mdevMs) : Text(kNothing);
  return "发送 " + std::to_string(statistics.sent) + "，收到 " +
         std::to_string(statistics.received) + "，丢包率 " + cells[0] + "\n最小/平均/最大/mdev " +
         cells[1] + "/" + mdev + " ms\n抖动 " + cells[2] + " ms\n" + TextSparkline(recent);
}

void AddStatistics(const LatencyHistory& history, RowChange& change) {
  const LatencyStatistics statistics = history.StatisticsOf(change.row);
  const std::array<Text, kStatisticsColumnCount> cells = StatisticsCellTexts(statistics);
  for (int i = 0; i < kStatisticsColumnCount; ++i) {
    change.cells.emplace_back(kLossColumn + i, cells[static_cast<std::size_t>(i)]);
  }
  std::vector<LatencySample> trend = history.RecentResults(change.row, kTrendLength);
  Text toolTip = StatisticsToolTip(statistics, trend);
  change.statistics = RowStatistics{std::move(trend), std::move(toolTip)};
}

}  // namespace vardelle

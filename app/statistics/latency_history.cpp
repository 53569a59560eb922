#include "app/statistics/latency_history.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>

namespace vardelle {

namespace {

void SetCounts(int sent, int received, LatencyStatistics& statistics) {
  statistics.sent = sent;
  statistics.received = received;
  if (sent > 0) statistics.lossPercent = 100.0 * (sent - received) / sent;
}

}  // namespace

void LatencyHistory::Record(RowId row, std::uint64_t sendOrder, int milliseconds) {
  const LatencySample result = milliseconds < 0 ? LatencySample() : LatencySample(milliseconds);
  std::lock_guard guard(mutex_);
  RowResults& rowResults = rows_[row.value];
  RunResults& recent = rowResults.recent;
  const bool tooOld = recent.size() == kKeptRuns && sendOrder < recent.begin()->first;
  if (tooOld) return;
  const auto [slot, isNewProbe] = recent.try_emplace(sendOrder);
  if (isNewProbe) ++rowResults.sent;
  if (slot->second) --rowResults.received;  // a probe recorded again counts its newer result
  if (result) ++rowResults.received;
  slot->second = result;
  if (recent.size() > kKeptRuns) recent.erase(recent.begin());
}

LatencyStatistics LatencyHistory::StatisticsOf(RowId row) const {
  std::lock_guard guard(mutex_);
  const auto found = rows_.find(row.value);
  if (found == rows_.end()) return {};
  const RowResults& results = found->second;
  LatencyStatistics statistics = ComputeStatistics(NewestOf(results.recent, kKeptRuns));
  SetCounts(results.sent, results.received, statistics);
  return statistics;
}

std::vector<LatencySample> LatencyHistory::RecentResults(RowId row, std::size_t count) const {
  std::lock_guard guard(mutex_);
  const auto found = rows_.find(row.value);
  return found == rows_.end() ? std::vector<LatencySample>()
                              : NewestOf(found->second.recent, count);
}

std::vector<LatencySample> LatencyHistory::NewestOf(const RunResults& results, std::size_t count) {
  auto first = results.begin();
  std::advance(first, results.size() - std::min(count, results.size()));
  std::vector<LatencySample> recent;
  for (auto it = first; it != results.end(); ++it) recent.push_back(it->second);
  return recent;
}

namespace {

// RFC 3550, 6.4.1: J += (|D| - J) / 16, D the change between consecutive answered probes.
double Jitter(const std::vector<int>& answers) {
  double jitter = 0;
  for (std::size_t i = 1; i < answers.size(); ++i) {
    jitter += (std::abs(answers[i] - answers[i - 1]) - jitter) / 16.0;
  }
  return jitter;
}

void AddAnswerFigures(const std::vector<int>& answers, LatencyStatistics& statistics) {
  double sum = 0;
  double squares = 0;
  for (const int ms : answers) {
    sum += ms;
    squares += static_cast<double>(ms) * ms;
  }
  const double count = static_cast<double>(answers.size());
  const double mean = sum / count;
  statistics.minMs = *std::min_element(answers.begin(), answers.end());
  statistics.maxMs = *std::max_element(answers.begin(), answers.end());
  statistics.avgMs = mean;
  statistics.mdevMs = std::sqrt(std::max(squares / count - mean * mean, 0.0));
  statistics.jitterMs = Jitter(answers);
}

}  // namespace

LatencyStatistics ComputeStatistics(const std::vector<LatencySample>& results) {
  LatencyStatistics statistics;
  std::vector<int> answers;
  for (const LatencySample& result : results) {
    if (result) answers.push_back(*result);
  }
  SetCounts(static_cast<int>(results.size()), static_cast<int>(answers.size()), statistics);
  if (results.empty()) return statistics;
  statistics.lastMs = results.back();
  if (!answers.empty()) AddAnswerFigures(answers, statistics);
  return statistics;
}

}  // namespace vardelle

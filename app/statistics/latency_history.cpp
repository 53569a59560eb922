#include "app/statistics/latency_history.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>

namespace vardelle {

void LatencyHistory::Record(RowId row, std::uint64_t run, int milliseconds) {
  std::lock_guard guard(mutex_);
  RunResults& results = rows_[row.value];
  results[run] = milliseconds < 0 ? LatencySample() : LatencySample(milliseconds);
  if (results.size() > kKeptRuns) results.erase(results.begin());
}

LatencyStatistics LatencyHistory::StatisticsOf(RowId row) const {
  return ComputeStatistics(RecentResults(row, kKeptRuns));
}

std::vector<LatencySample> LatencyHistory::RecentResults(RowId row, std::size_t count) const {
  std::lock_guard guard(mutex_);
  const auto found = rows_.find(row.value);
  if (found == rows_.end()) return {};
  const RunResults& results = found->second;
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
  statistics.sent = static_cast<int>(results.size());
  statistics.received = static_cast<int>(answers.size());
  if (results.empty()) return statistics;
  statistics.lossPercent = 100.0 * (statistics.sent - statistics.received) / statistics.sent;
  statistics.lastMs = results.back();
  if (!answers.empty()) AddAnswerFigures(answers, statistics);
  return statistics;
}

}  // namespace vardelle

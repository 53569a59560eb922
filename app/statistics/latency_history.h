// Each row's recent probe results and the figures a player compares servers by: loss,
// min/avg/max, mdev (the population standard deviation, as ping prints it) and the
// interarrival jitter estimate of RFC 3550. Loss counts every run; the other figures cover
// the recent window. Safe to call from any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

#include "app/view/main_window_view.h"

namespace vardelle {

// nullopt where nothing was answered (lossPercent: where nothing was sent).
struct LatencyStatistics {
  int sent = 0;
  int received = 0;
  std::optional<double> lossPercent;
  std::optional<int> lastMs;  // the newest run's result
  std::optional<int> minMs;
  std::optional<double> avgMs;
  std::optional<int> maxMs;
  std::optional<double> mdevMs;
  std::optional<double> jitterMs;
};

// One probe's result: milliseconds, or nullopt for no answer.
using LatencySample = std::optional<int>;

class LatencyHistory {
 public:
  static constexpr std::size_t kKeptRuns = 100;

  // Keeps the row's result of one probe; a negative time is no answer. sendOrder grows with
  // every probe sent, and results are ordered by it, so a late answer lands where its probe
  // was sent; a probe recorded twice counts once (its newer result), and one sent before
  // every kept one is dropped uncounted once full.
  void Record(RowId row, std::uint64_t sendOrder, int milliseconds);

  // sent, received and lossPercent over every run recorded; the rest over the newest
  // kKeptRuns.
  LatencyStatistics StatisticsOf(RowId row) const;
  // The row's newest results, at most count of them, oldest first.
  std::vector<LatencySample> RecentResults(RowId row, std::size_t count) const;

 private:
  using RunResults = std::map<std::uint64_t, LatencySample>;

  struct RowResults {
    RunResults recent;  // the kKeptRuns newest, by send order
    int sent = 0;       // every probe recorded, including those that left the window
    int received = 0;
  };

  static std::vector<LatencySample> NewestOf(const RunResults& results, std::size_t count);

  mutable std::mutex mutex_;
  std::unordered_map<std::uint64_t, RowResults> rows_;
};

// The figures of a sequence of results, oldest first.
LatencyStatistics ComputeStatistics(const std::vector<LatencySample>& results);

}  // namespace vardelle

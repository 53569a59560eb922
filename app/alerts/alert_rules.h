// Alerts on the rows a player watches: a region's status word changing, a server's latency or
// loss going over a threshold. The rules are fed each status fetch's word and each run's probe
// outcome of a watched row and answer with the events to tell. They keep no clock and start no
// thread (times come with each feed), so the window and the headless watch feed them alike,
// from one thread at a time.
//
// Against alarms on a single spike, and against alarms about the state a row starts in:
// - A status word counts once kStatusConfirmations fetches in a row read it. Only a reading of
//   whole documents counts (RegionWord::Reading); a failed read (a document failed, 未知状态)
//   neither confirms nor breaks a pending change: it says nothing about the region, and a
//   player whose region comes back from 维护 wants to hear it even if the status site stumbled
//   once meanwhile. The first word read is where a row starts, told to nobody.
// - Latency turns "over" after kLatencyConfirmations runs over the threshold in a row and back
//   to "ok" after as many runs not over it; a lost probe is over. Where a row starts takes as
//   many runs over, or one run under: a single lost probe at start is no state to recover from.
// - Loss is judged on a full window of kRecentLossRuns results, so a row's first lost probe is
//   never a share of a handful; one lost probe in the window is never over, whatever the
//   threshold, since any path loses one now and then. A window moves by one result per run, so
//   one reading over is evidence enough; the first reading is where the row starts.
// - A row without a domain has no address to measure: it is watched for its status only.
// - Each row and kind is told at most once per kQuietPeriod, whichever way the change went: a
//   server flapping back is as noisy as one going bad. A change held back is told once the
//   period is over, if it still stands, from what was told last; so a recovery is never lost
//   (the player would think the server still bad) and a change that undid itself meanwhile is
//   never told at all. A time before the last one told (the clock was set back) ends the
//   period rather than stretching it.
#pragma once

#include <chrono>
#include <cstddef>
#include <map>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "app/statistics/latency_history.h"
#include "app/view/alert_watch.h"
#include "support/text/text.h"

namespace vardelle {

inline constexpr int kStatusConfirmations = 2;
inline constexpr int kLatencyConfirmations = 3;
inline constexpr std::chrono::minutes kQuietPeriod{5};
// The runs a row's loss is taken over, and the results it needs before it is judged.
inline constexpr std::size_t kRecentLossRuns = 20;
// The lost probes in the window that can be over a threshold.
inline constexpr int kFewestLostOver = 2;
// The thresholds a watch takes: a probe is lost after the echo time-out of 10 s, and a loss
// of 100 % is never over a threshold.
inline constexpr int kMostLatencyThresholdMs = 10'000;
inline constexpr int kMostLossThresholdPercent = 99;

// The word a region that is up shows; what "becomes normal" waits for.
inline constexpr char kNormalStatusWord[] = "正常";
// The two states of a latency or loss alert, as its events name them.
inline constexpr char kThresholdOkState[] = "ok";
inline constexpr char kThresholdOverState[] = "over";

enum class AlertKind { kStatus, kLatency, kLoss };

// A row by what survives a new server list: its server name and its domain, each without the
// blanks around it (TrimBlanksAndLineBreaks), which the settings file would not keep.
struct AlertTarget {
  Text serverName;
  Text domain;
  friend auto operator<=>(const AlertTarget&, const AlertTarget&) = default;
};

// The target of a table row from its name and domain cells.
AlertTarget AlertTargetOf(std::string_view serverName, std::string_view domain);

using AlertTime = std::chrono::system_clock::time_point;

// from and to are status words (GBK) or the threshold states above. value is the run's
// latency (nothing for a lost probe) or its loss percent, threshold the watch's; both are
// nothing for status events.
struct AlertEvent {
  AlertTime time;
  Text serverName;
  Text domain;
  AlertKind kind = AlertKind::kStatus;
  Text from;
  Text to;
  std::optional<double> value;
  std::optional<double> threshold;
  friend bool operator==(const AlertEvent&, const AlertEvent&) = default;
};

// One run's outcome on a row.
struct ProbeOutcome {
  LatencySample latencyMs;  // nothing: the probe was lost
  // Over the row's kRecentLossRuns newest results; nothing before it has that many.
  std::optional<double> recentLossPercent;
  int recentLost = 0;  // the lost probes among them
};

// The row's newest result and its loss over its recent ones; nothing before its first result.
std::optional<ProbeOutcome> NewestProbeOutcome(const LatencyHistory& history, RowId row);

// How one kind takes its readings: the readings in a row that confirm a change, the readings in
// a row that confirm where a row starts, and a state that confirms the start in one reading
// ("" for none).
struct AlertConfirmation {
  int change;
  int start;
  const char* startsAtOnce = "";
};

// One kind's state on one row: the state confirmed, another one being confirmed, and the
// state told last. Until a state is confirmed nothing is told: the first one confirmed is
// where the row starts, told to nobody.
class AlertTracker {
 public:
  explicit AlertTracker(AlertConfirmation confirmation);
  // One reading; "" is none, which neither confirms nor breaks.
  void Read(const Text& reading);
  // The change to tell at now, as from and to, if any. A change to a state other than
  // onlyTo (when given) is never told: the state told follows it silently.
  std::optional<std::pair<Text, Text>> Tell(AlertTime now,
                                            std::optional<std::string_view> onlyTo = {});

 private:
  // The readings in a row that confirm reading as the next state.
  int Needed(const Text& reading) const;

  AlertConfirmation confirmation_;
  Text confirmed_;
  Text pending_;
  int streak_ = 0;
  Text told_;
  std::optional<AlertTime> toldAt_;
};

class AlertRules {
 public:
  // Sets what target's row is watched for; an empty watch forgets the row. A kind whose
  // setting changed starts afresh, since its state was judged by the old setting. Latency
  // and loss are not judged on a target without a domain. newest, the row's outcome when the
  // watch was chosen, is the first reading of the latency and loss watches that start here.
  void SetWatch(const AlertTarget& target, const AlertWatch& watch,
                const std::optional<ProbeOutcome>& newest = std::nullopt);
  // Empty for a row not watched.
  AlertWatch WatchOf(const AlertTarget& target) const;
  std::vector<AlertTarget> WatchedTargets() const;
  std::size_t WatchedCount() const { return rows_.size(); }

  // The status word one fetch gave the row's region (RegionWord::Reading); "" or 未知状态
  // for a failed read.
  std::vector<AlertEvent> StatusRead(const AlertTarget& target, std::string_view word,
                                     AlertTime now);
  // The row's outcome of one run.
  std::vector<AlertEvent> ProbeResult(const AlertTarget& target, const ProbeOutcome& outcome,
                                      AlertTime now);

 private:
  struct RowState {
    AlertWatch watch;
    std::optional<AlertTracker> status;
    std::optional<AlertTracker> latency;
    std::optional<AlertTracker> loss;
  };

  std::map<AlertTarget, RowState> rows_;
};

}  // namespace vardelle

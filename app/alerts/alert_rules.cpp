#include "app/alerts/alert_rules.h"

#include <utility>

#include "app/status/region_status.h"
#include "support/text/space_trim.h"

namespace vardelle {
namespace {

bool IsFailedRead(std::string_view word) { return IsBlankText(word) || word == kUnknownStatusWord; }

// A clock set back ends the period: a stretched one could mute a row for hours.
bool InQuietPeriod(AlertTime toldAt, AlertTime now) {
  return now >= toldAt && now - toldAt < kQuietPeriod;
}

constexpr AlertConfirmation kStatusConfirmation{kStatusConfirmations, 1};
constexpr AlertConfirmation kLatencyConfirmation{kLatencyConfirmations, kLatencyConfirmations,
                                                 kThresholdOkState};
constexpr AlertConfirmation kLossConfirmation{1, 1};

// A kind starts afresh when its setting changed, and goes when it is no longer watched; true
// when it started.
template <typename Setting>
bool Restart(std::optional<AlertTracker>& tracker, const Setting& before, const Setting& after,
             AlertConfirmation confirmation) {
  if (before == after) return false;
  tracker.reset();
  if (after) tracker.emplace(confirmation);
  return tracker.has_value();
}

struct Reading {
  AlertKind kind;
  std::optional<bool> over;  // nothing: the run gave no figure
  std::optional<double> value;
  int threshold;
};

Reading LatencyReading(const ProbeOutcome& outcome, int threshold) {
  const LatencySample& ms = outcome.latencyMs;
  return {AlertKind::kLatency, !ms || *ms > threshold,
          ms ? std::optional<double>(*ms) : std::nullopt, threshold};
}

Reading LossReading(const ProbeOutcome& outcome, int threshold) {
  const std::optional<double>& loss = outcome.recentLossPercent;
  std::optional<bool> over;
  if (loss) over = outcome.recentLost >= kFewestLostOver && *loss > threshold;
  return {AlertKind::kLoss, over, loss, threshold};
}

Text StateOf(const Reading& reading) {
  if (!reading.over) return {};
  return *reading.over ? kThresholdOverState : kThresholdOkState;
}

// A latency or loss reading, and the event it makes, if any.
void JudgeThreshold(AlertTracker& tracker, const Reading& reading, const AlertTarget& target,
                    AlertTime now, std::vector<AlertEvent>& events) {
  tracker.Read(StateOf(reading));
  if (const auto change = tracker.Tell(now)) {
    events.push_back({now, target.serverName, target.domain, reading.kind, change->first,
                      change->second, reading.value, static_cast<double>(reading.threshold)});
  }
}

}  // namespace

AlertTarget AlertTargetOf(std::string_view serverName, std::string_view domain) {
  return {TrimBlanksAndLineBreaks(serverName), TrimBlanksAndLineBreaks(domain)};
}

std::optional<ProbeOutcome> NewestProbeOutcome(const LatencyHistory& history, RowId row) {
  const std::vector<LatencySample> recent = history.RecentResults(row, kRecentLossRuns);
  if (recent.empty()) return std::nullopt;
  ProbeOutcome outcome{recent.back(), std::nullopt, 0};
  if (recent.size() < kRecentLossRuns) return outcome;
  const LatencyStatistics statistics = ComputeStatistics(recent);
  outcome.recentLossPercent = statistics.lossPercent;
  outcome.recentLost = statistics.sent - statistics.received;
  return outcome;
}

AlertTracker::AlertTracker(AlertConfirmation confirmation) : confirmation_(confirmation) {}

int AlertTracker::Needed(const Text& reading) const {
  if (!confirmed_.empty()) return confirmation_.change;
  return reading == confirmation_.startsAtOnce ? 1 : confirmation_.start;
}

void AlertTracker::Read(const Text& reading) {
  if (reading.empty()) return;
  if (reading == confirmed_) {
    pending_.clear();
    streak_ = 0;
    return;
  }
  if (reading != pending_) {
    pending_ = reading;
    streak_ = 0;
  }
  if (++streak_ < Needed(reading)) return;
  const bool starting = confirmed_.empty();
  confirmed_ = std::exchange(pending_, Text());
  streak_ = 0;
  if (starting) told_ = confirmed_;
}

std::optional<std::pair<Text, Text>> AlertTracker::Tell(AlertTime now,
                                                        std::optional<std::string_view> onlyTo) {
  if (confirmed_ == told_) return std::nullopt;
  if (onlyTo && confirmed_ != *onlyTo) {
    told_ = confirmed_;
    return std::nullopt;
  }
  if (toldAt_ && InQuietPeriod(*toldAt_, now)) return std::nullopt;
  toldAt_ = now;
  return std::pair(std::exchange(told_, confirmed_), confirmed_);
}

void AlertRules::SetWatch(const AlertTarget& target, const AlertWatch& watch,
                          const std::optional<ProbeOutcome>& newest) {
  if (watch.IsEmpty()) {
    rows_.erase(target);
    return;
  }
  RowState& row = rows_[target];
  // Without a domain every probe is lost: its latency and loss say nothing about a server.
  const bool measurable = !target.domain.empty();
  const auto ifMeasurable = [measurable](std::optional<int> setting) {
    return measurable ? setting : std::nullopt;
  };
  Restart(row.status, row.watch.status, watch.status, kStatusConfirmation);
  const bool latencyStarted = Restart(row.latency, ifMeasurable(row.watch.latencyOverMs),
                                      ifMeasurable(watch.latencyOverMs), kLatencyConfirmation);
  const bool lossStarted = Restart(row.loss, ifMeasurable(row.watch.lossOverPercent),
                                   ifMeasurable(watch.lossOverPercent), kLossConfirmation);
  row.watch = watch;
  // Only a kind that starts here reads it: the others have read it already.
  if (!newest) return;
  if (latencyStarted) row.latency->Read(StateOf(LatencyReading(*newest, *watch.latencyOverMs)));
  if (lossStarted) row.loss->Read(StateOf(LossReading(*newest, *watch.lossOverPercent)));
}

AlertWatch AlertRules::WatchOf(const AlertTarget& target) const {
  const auto found = rows_.find(target);
  return found == rows_.end() ? AlertWatch{} : found->second.watch;
}

std::vector<AlertTarget> AlertRules::WatchedTargets() const {
  std::vector<AlertTarget> targets;
  for (const auto& [target, row] : rows_) targets.push_back(target);
  return targets;
}

std::vector<AlertEvent> AlertRules::StatusRead(const AlertTarget& target, std::string_view word,
                                               AlertTime now) {
  const auto found = rows_.find(target);
  if (found == rows_.end() || !found->second.status) return {};
  RowState& row = found->second;
  AlertTracker& tracker = *row.status;
  tracker.Read(IsFailedRead(word) ? Text() : Text(word));
  const bool onlyNormal = row.watch.status == StatusWatch::kBecomesNormal;
  const auto change =
      tracker.Tell(now, onlyNormal ? std::optional(kNormalStatusWord) : std::nullopt);
  if (!change) return {};
  return {{now, target.serverName, target.domain, AlertKind::kStatus, change->first, change->second,
           std::nullopt, std::nullopt}};
}

std::vector<AlertEvent> AlertRules::ProbeResult(const AlertTarget& target,
                                                const ProbeOutcome& outcome, AlertTime now) {
  const auto found = rows_.find(target);
  if (found == rows_.end()) return {};
  RowState& row = found->second;
  std::vector<AlertEvent> events;
  if (row.latency) {
    JudgeThreshold(*row.latency, LatencyReading(outcome, *row.watch.latencyOverMs), target, now,
                   events);
  }
  if (row.loss) {
    JudgeThreshold(*row.loss, LossReading(outcome, *row.watch.lossOverPercent), target, now,
                   events);
  }
  return events;
}

}  // namespace vardelle

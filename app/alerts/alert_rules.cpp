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

// A kind starts afresh when its setting changed, and goes when it is no longer watched.
template <typename Setting>
void Restart(std::optional<AlertTracker>& tracker, const Setting& before, const Setting& after,
             int confirmations, const char* start) {
  if (before == after) return;
  tracker.reset();
  if (after) tracker.emplace(confirmations, start);
}

struct Reading {
  AlertKind kind;
  std::optional<bool> over;  // nothing: the run gave no figure
  std::optional<double> value;
  int threshold;
};

// A latency or loss reading, and the event it makes, if any.
void JudgeThreshold(AlertTracker& tracker, const Reading& reading, const AlertTarget& target,
                    AlertTime now, std::vector<AlertEvent>& events) {
  tracker.Read(!reading.over   ? Text()
               : *reading.over ? Text(kThresholdOverState)
                               : Text(kThresholdOkState));
  if (const auto change = tracker.Tell(now)) {
    events.push_back({now, target.serverName, target.domain, reading.kind, change->first,
                      change->second, reading.value, static_cast<double>(reading.threshold)});
  }
}

}  // namespace

AlertTarget AlertTargetOf(std::string_view serverName, std::string_view domain) {
  return {TrimSpaces(serverName), TrimSpaces(domain)};
}

std::optional<ProbeOutcome> NewestProbeOutcome(const LatencyHistory& history, RowId row) {
  const std::vector<LatencySample> recent = history.RecentResults(row, kRecentLossRuns);
  if (recent.empty()) return std::nullopt;
  return ProbeOutcome{recent.back(), ComputeStatistics(recent).lossPercent};
}

AlertTracker::AlertTracker(int confirmations, Text start)
    : confirmations_(confirmations), confirmed_(start), told_(std::move(start)) {}

void AlertTracker::Read(const Text& reading) {
  if (reading.empty()) return;
  if (confirmed_.empty()) {
    confirmed_ = told_ = reading;
    return;
  }
  if (reading == confirmed_) {
    pending_.clear();
    streak_ = 0;
    return;
  }
  if (reading != pending_) {
    pending_ = reading;
    streak_ = 0;
  }
  if (++streak_ < confirmations_) return;
  confirmed_ = std::exchange(pending_, Text());
  streak_ = 0;
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

void AlertRules::SetWatch(const AlertTarget& target, const AlertWatch& watch) {
  if (watch.IsEmpty()) {
    rows_.erase(target);
    return;
  }
  RowState& row = rows_[target];
  Restart(row.status, row.watch.status, watch.status, kStatusConfirmations, "");
  Restart(row.latency, row.watch.latencyOverMs, watch.latencyOverMs, kThresholdConfirmations,
          kThresholdOkState);
  Restart(row.loss, row.watch.lossOverPercent, watch.lossOverPercent, kThresholdConfirmations,
          kThresholdOkState);
  row.watch = watch;
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
    const int threshold = *row.watch.latencyOverMs;
    const LatencySample& ms = outcome.latencyMs;
    JudgeThreshold(*row.latency,
                   {AlertKind::kLatency, !ms || *ms > threshold,
                    ms ? std::optional<double>(*ms) : std::nullopt, threshold},
                   target, now, events);
  }
  if (row.loss) {
    const int threshold = *row.watch.lossOverPercent;
    const std::optional<double>& loss = outcome.recentLossPercent;
    JudgeThreshold(
        *row.loss,
        {AlertKind::kLoss, loss ? std::optional(*loss > threshold) : std::nullopt, loss, threshold},
        target, now, events);
  }
  return events;
}

}  // namespace vardelle

#include "app/alerts/alert_watching.h"

#include <charconv>
#include <cmath>
#include <utility>
#include <vector>

#include "app/alerts/alert_settings.h"

namespace vardelle {
namespace {

// A figure as the table writes it: whole, or to one decimal.
Text WholeOrOneDecimal(double value) {
  char text[32];
  const double rounded = std::round(value * 10) / 10;
  const int decimals = rounded == std::floor(rounded) ? 0 : 1;
  const auto [end, error] =
      std::to_chars(text, text + sizeof text, rounded, std::chars_format::fixed, decimals);
  return error == std::errc() ? Text(text, end) : Text("?");
}

Text LatencyFigure(const std::optional<double>& ms) {
  return ms ? WholeOrOneDecimal(*ms) + "ms" : "超时";
}

Text ThresholdBody(const AlertEvent& event) {
  const bool over = event.to == kThresholdOverState;
  const Text threshold = WholeOrOneDecimal(event.threshold.value_or(0));
  if (event.kind == AlertKind::kLatency) {
    return JoinTexts({over ? "延迟超过 " : "延迟恢复到 ", threshold, over ? "ms" : "ms 以下",
                      "，当前 ", LatencyFigure(event.value)});
  }
  return JoinTexts({over ? "丢包超过 " : "丢包恢复到 ", threshold, over ? "%" : "% 以下", "，当前 ",
                    event.value ? WholeOrOneDecimal(*event.value) + "%" : Text("-")});
}

}  // namespace

AlertWatching::AlertWatching(std::function<AlertTime()> clock) : clock_(std::move(clock)) {}

void AlertWatching::SetNotifier(std::shared_ptr<AlertNotifier> notifier) {
  std::lock_guard guard(mutex_);
  notifier_ = std::move(notifier);
}

void AlertWatching::Load(const Text& settingsPath) {
  const AlertWatchFile file = ReadAlertWatchFile(settingsPath);
  std::lock_guard guard(mutex_);
  rules_ = AlertRules();
  for (const SavedAlertWatch& entry : file.watches) rules_.SetWatch(entry.target, entry.watch);
  rows_.clear();
  tableOrder_.clear();
  savedEntries_ = file.entries;
}

void AlertWatching::SetWatch(const WatchedRow& row, const AlertWatch& watch,
                             const Text& settingsPath, const std::optional<ProbeOutcome>& newest) {
  std::lock_guard guard(mutex_);
  rules_.SetWatch(row.target, watch, newest);
  if (watch.IsEmpty()) {
    Forget(row.id);
  } else {
    Track(row);
  }
  std::vector<SavedAlertWatch> saved;
  for (const AlertTarget& target : rules_.WatchedTargets()) {
    saved.push_back({target, rules_.WatchOf(target)});
  }
  // Under the lock, so that saves are queued in the order their lists were made: queuing
  // returns at once (only once the writer has stopped, at exit, is the file written here).
  savedEntries_ = SaveAlertWatches(settingsPath, saved, savedEntries_);
}

AlertWatch AlertWatching::WatchOf(const AlertTarget& target) const {
  std::lock_guard guard(mutex_);
  return rules_.WatchOf(target);
}

bool AlertWatching::AnyWatched() const {
  std::lock_guard guard(mutex_);
  return rules_.WatchedCount() > 0;
}

std::vector<std::pair<RowId, Text>> AlertWatching::TrackRows(const std::vector<RowTexts>& table) {
  std::lock_guard guard(mutex_);
  rows_.clear();
  tableOrder_.clear();
  if (rules_.WatchedCount() == 0) return {};
  std::vector<std::pair<RowId, Text>> notes;
  for (const RowTexts& texts : table) {
    const AlertTarget target = AlertTargetOf(texts.cells[0], texts.cells[2]);
    if (rules_.WatchOf(target).IsEmpty()) continue;
    Track({texts.row, target, texts.cells[1]});
    if (rows_.contains(texts.row)) notes.emplace_back(texts.row, NoteOf(target));
  }
  return notes;
}

void AlertWatching::Track(const WatchedRow& row) {
  for (const auto& [id, tracked] : rows_) {
    if (id != row.id && tracked.target == row.target) return;
  }
  if (!rows_.contains(row.id)) tableOrder_.push_back(row.id);
  rows_[row.id] = row;
}

void AlertWatching::Forget(RowId row) {
  rows_.erase(row);
  std::erase(tableOrder_, row);
}

Text AlertWatching::NoteOf(const AlertTarget& target) const {
  return "提醒：" + AlertWatchDescription(rules_.WatchOf(target));
}

void AlertWatching::StatusFetched(const RegionStatusWords& words) {
  std::vector<AlertNotice> notices;
  {
    std::lock_guard guard(mutex_);
    // A fetch that failed or was cut short hands on the set before it: no new reading.
    if (words.Query() != 0 && words.Query() == lastQueryRead_) return;
    lastQueryRead_ = words.Query();
    if (judgingAfterRuns_) {
      unjudgedWords_ = words;
      return;
    }
    const AlertTime now = clock_();
    for (const auto& [id, row] : rows_) {
      for (const AlertEvent& event :
           rules_.StatusRead(row.target, words.Of(row.region).Reading(), now)) {
        notices.push_back(AlertNoticeOf(event));
      }
    }
  }
  Tell(notices);
}

void AlertWatching::ResultIn(RowId row, const LatencyHistory& history) {
  std::vector<AlertNotice> notices;
  {
    std::lock_guard guard(mutex_);
    const auto found = rows_.find(row);
    if (judgingAfterRuns_ || found == rows_.end()) return;
    const std::optional<ProbeOutcome> outcome = NewestProbeOutcome(history, row);
    if (!outcome) return;
    for (const AlertEvent& event : rules_.ProbeResult(found->second.target, *outcome, clock_())) {
      notices.push_back(AlertNoticeOf(event));
    }
  }
  Tell(notices);
}

void AlertWatching::JudgeAfterRuns() {
  std::lock_guard guard(mutex_);
  judgingAfterRuns_ = true;
}

std::vector<AlertEvent> AlertWatching::JudgeRun(const LatencyHistory& history, AlertTime now) {
  std::lock_guard guard(mutex_);
  const std::optional<RegionStatusWords> words = std::exchange(unjudgedWords_, std::nullopt);
  std::vector<AlertEvent> events;
  const auto add = [&events](std::vector<AlertEvent> more) {
    events.insert(events.end(), more.begin(), more.end());
  };
  for (const RowId id : tableOrder_) {
    const WatchedRow& row = rows_.at(id);
    add(rules_.StatusRead(row.target, words ? words->Of(row.region).Reading() : Text(), now));
    if (const std::optional<ProbeOutcome> outcome = NewestProbeOutcome(history, id)) {
      add(rules_.ProbeResult(row.target, *outcome, now));
    }
  }
  return events;
}

void AlertWatching::Tell(const std::vector<AlertNotice>& notices) {
  if (notices.empty()) return;
  std::shared_ptr<AlertNotifier> notifier;
  {
    std::lock_guard guard(mutex_);
    notifier = notifier_;
  }
  if (!notifier) return;
  for (const AlertNotice& notice : notices) notifier->Notify(notice);
}

Text AlertWatching::StatusNote() const {
  std::lock_guard guard(mutex_);
  const std::size_t watched = rules_.WatchedCount();
  return watched == 0 ? Text() : "；提醒中：" + std::to_string(watched) + " 个服务器";
}

Text AlertWatching::ToolTipNote(RowId row) const {
  std::lock_guard guard(mutex_);
  const auto found = rows_.find(row);
  return found == rows_.end() ? Text() : NoteOf(found->second.target);
}

Text AlertWatching::TrayToolTip(const LatencyHistory& history) const {
  std::lock_guard guard(mutex_);
  if (rules_.WatchedCount() == 0) return {};
  Text tip = "Vardelle 提醒中";
  for (const auto& [id, row] : rows_) {
    const std::vector<LatencySample> newest = history.RecentResults(id, 1);
    const Text latency = newest.empty()  ? Text("未测试")
                         : newest.back() ? std::to_string(*newest.back()) + "ms"
                                         : Text("超时");
    tip += "\n" + row.target.serverName + " " + latency;
  }
  return tip;
}

Text AlertWatchDescription(const AlertWatch& watch) {
  std::vector<Text> parts;
  if (watch.status) {
    parts.push_back(*watch.status == StatusWatch::kBecomesNormal ? "状态变为正常" : "状态变化");
  }
  if (watch.latencyOverMs)
    parts.push_back("延迟超过 " + std::to_string(*watch.latencyOverMs) + "ms");
  if (watch.lossOverPercent) {
    parts.push_back("丢包超过 " + std::to_string(*watch.lossOverPercent) + "%");
  }
  Text description;
  for (const Text& part : parts) description += (description.empty() ? "" : "；") + part;
  return description;
}

AlertNotice AlertNoticeOf(const AlertEvent& event) {
  const Text title = event.domain.empty() ? event.serverName
                                          : JoinTexts({event.serverName, "（", event.domain, "）"});
  if (event.kind == AlertKind::kStatus) {
    return {title, JoinTexts({"大区状态：", event.from, " → ", event.to})};
  }
  return {title, ThresholdBody(event)};
}

Text AlertSetStatus(const Text& serverName, const AlertWatch& watch) {
  if (watch.IsEmpty()) return JoinTexts({"已取消对 ", serverName, " 的提醒"});
  return JoinTexts({"已设置提醒：", serverName, " ", AlertWatchDescription(watch)});
}

Text AlertDialogPrompt(const Text& serverName) {
  return JoinTexts({serverName, " 出现以下情况时提醒："});
}

Text KeepRunningInTrayQuestion() {
  return "有服务器正在提醒中。关闭窗口后在通知区域继续运行并提醒吗？\n选“否”退出程序。";
}

Text ShowWindowMenuText() { return "显示窗口"; }

Text QuitMenuText() { return "退出"; }

}  // namespace vardelle

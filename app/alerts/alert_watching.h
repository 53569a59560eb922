// The window's alerts: the rows the player watches, fed with every status fetch and every
// probe result the test runs show, and the notifications their rules give. The test-run
// engine feeds it from its own threads; the window's logic sets the watches; a notifier of
// the platform tells the player. Safe to call from any thread: the rules are judged under a
// lock, and the notifier is called after it is released, so a notifier that waits for the
// window never waits for a caller holding that lock.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "app/alerts/alert_rules.h"
#include "app/status/region_status.h"
#include "app/view/main_window_view.h"
#include "support/text/text.h"

namespace vardelle {

// What a notification says, GBK: the server as the title, what changed with its figure as
// the body.
struct AlertNotice {
  Text title;
  Text body;
  friend bool operator==(const AlertNotice&, const AlertNotice&) = default;
};

// Tells the player, the platform's way; called on any thread, must return soon.
class AlertNotifier {
 public:
  virtual ~AlertNotifier() = default;
  virtual void Notify(const AlertNotice& notice) = 0;
};

// A watched row of the table as the latest tick took it.
struct WatchedRow {
  RowId id;
  AlertTarget target;
  Text region;
};

class AlertWatching {
 public:
  explicit AlertWatching(std::function<AlertTime()> clock = [] {
    return std::chrono::system_clock::now();
  });

  // The platform's notifier; none tells nobody.
  void SetNotifier(std::shared_ptr<AlertNotifier> notifier);

  // The watches kept in the settings file at path, in place of any set before.
  void Load(const Text& settingsPath);
  // Watches row (an empty watch forgets it) and queues every watch for the settings file.
  // newest: the row's outcome the player saw when choosing, where its latency and loss
  // watches start from.
  void SetWatch(const WatchedRow& row, const AlertWatch& watch, const Text& settingsPath,
                const std::optional<ProbeOutcome>& newest = std::nullopt);
  AlertWatch WatchOf(const AlertTarget& target) const;
  bool AnyWatched() const;

  // A tick's rows, each with the columns 服务器名称, 大区名称 and 域名: which of them are
  // watched, until the next tick. A server listed twice is judged on its first row only, so
  // one fetch never counts twice. Returns each watched row with its tooltip note.
  std::vector<std::pair<RowId, Text>> TrackRows(const std::vector<RowTexts>& table);
  // A status fetch has ended with words; every watched row's region word is taken, once per
  // query: the same query's set handed on again reads nothing.
  void StatusFetched(const RegionStatusWords& words);
  // A row's probe result is in history.
  void ResultIn(RowId row, const LatencyHistory& history);

  // For a watch without a window, which judges each run whole once it is done: from now on
  // fetches and results are kept for JudgeRun rather than judged as they come.
  void JudgeAfterRuns();
  // The run's events at now, row by row in the table's order: each watched row's status word
  // of the fetch since the last call ("" when none came) and its newest probe outcome.
  std::vector<AlertEvent> JudgeRun(const LatencyHistory& history, AlertTime now);

  // "" when nothing is watched, else what the status line adds: "；提醒中：N 个服务器".
  Text StatusNote() const;
  // What the row's tooltip adds: the watch of a watched row of the latest tick, "" otherwise.
  Text ToolTipNote(RowId row) const;
  // The tray icon's tooltip: each watched row of the latest tick with its last latency; ""
  // when nothing is watched (no tray icon then).
  Text TrayToolTip(const LatencyHistory& history) const;

 private:
  void Tell(const std::vector<AlertNotice>& notices);
  // Under mutex_: adds row unless its target is tracked on another row already.
  void Track(const WatchedRow& row);
  void Forget(RowId row);
  Text NoteOf(const AlertTarget& target) const;

  const std::function<AlertTime()> clock_;
  mutable std::mutex mutex_;
  AlertRules rules_;
  std::map<RowId, WatchedRow> rows_;  // the watched rows of the latest tick
  std::vector<RowId> tableOrder_;     // rows_ as the table lists them
  std::shared_ptr<AlertNotifier> notifier_;
  int savedEntries_ = 0;  // the entries of the settings file's list, as loaded or last saved
  std::uint64_t lastQueryRead_ = 0;
  bool judgingAfterRuns_ = false;
  std::optional<RegionStatusWords> unjudgedWords_;  // the fetch since the last JudgeRun
};

// GBK texts of alerts.
// "状态变为正常；延迟超过 150ms；丢包超过 10%"; "" for an empty watch.
Text AlertWatchDescription(const AlertWatch& watch);
// The notification of an event.
AlertNotice AlertNoticeOf(const AlertEvent& event);
// The status line after a watch was set on serverName.
Text AlertSetStatus(const Text& serverName, const AlertWatch& watch);
// The "提醒…" dialog's captions, and the line above its choices for serverName.
inline constexpr char kAlertDialogTitle[] = "提醒";
inline constexpr char kAlertStatusCaption[] = "大区状态变化时提醒";
inline constexpr char kAlertAnyChangeCaption[] = "任何变化";
inline constexpr char kAlertBecomesNormalCaption[] = "变为正常";
inline constexpr char kAlertLatencyCaption[] = "延迟超过";
inline constexpr char kAlertLossCaption[] = "丢包超过";
inline constexpr char kOkCaption[] = "确定";
inline constexpr char kCancelCaption[] = "取消";
Text AlertDialogPrompt(const Text& serverName);
// The question when the window closes while rows are watched, yes keeping the program in the
// notification area; and the tray menu's items.
Text KeepRunningInTrayQuestion();
Text ShowWindowMenuText();
Text QuitMenuText();

}  // namespace vardelle

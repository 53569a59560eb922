// The alert rules on sequences of status reads and probe outcomes: single spikes, flapping,
// recovery, failed fetches, the quiet period, status confirmation, where a row starts, and a
// row's early lost probe judged on its own history.
#include "app/alerts/alert_rules.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <ostream>
#include <utility>
#include <vector>

namespace vardelle {

void PrintTo(const AlertEvent& event, std::ostream* out) {
  *out << static_cast<int>(event.kind) << " " << event.from << "->" << event.to << " at "
       << event.time.time_since_epoch().count() << " value "
       << (event.value ? std::to_string(*event.value) : "null");
}

namespace {

const AlertTarget kTarget{"电信15区", "127.0.0.16"};

AlertTime At(int seconds) {
  return AlertTime(std::chrono::hours(480'000) + std::chrono::seconds(seconds));
}

// An event expected after the step with this index.
struct Told {
  std::size_t step;
  const char* from;
  const char* to;
  std::optional<double> value = std::nullopt;
};

using StepEvents = std::vector<std::pair<std::size_t, AlertEvent>>;

StepEvents Expected(const std::vector<Told>& told, AlertKind kind, const std::vector<int>& seconds,
                    std::optional<double> threshold) {
  StepEvents events;
  for (const Told& t : told) {
    events.emplace_back(t.step, AlertEvent{At(seconds[t.step]), kTarget.serverName, kTarget.domain,
                                           kind, t.from, t.to, t.value, threshold});
  }
  return events;
}

struct RuleStatusCase {
  const char* name;
  StatusWatch watch;
  std::vector<std::pair<int, const char*>> reads;  // seconds, word
  std::vector<Told> told;
};

TEST(AlertRulesTest, StatusChangesAreToldOnceConfirmedAndNotMoreOftenThanTheQuietPeriod) {
  const RuleStatusCase cases[] = {
      {"a change read twice is told once",
       StatusWatch::kAnyChange,
       {{0, "维护"}, {60, "维护"}, {120, "正常"}, {180, "正常"}, {240, "正常"}},
       {{3, "维护", "正常"}}},
      {"single spikes are not",
       StatusWatch::kAnyChange,
       {{0, "正常"}, {60, "维护"}, {120, "正常"}, {180, "维护"}, {240, "正常"}},
       {}},
      {"failed reads neither confirm nor break a change",
       StatusWatch::kAnyChange,
       {{0, "维护"}, {60, "正常"}, {120, "未知状态"}, {180, ""}, {240, "正常"}},
       {{4, "维护", "正常"}}},
      {"failed reads alone confirm nothing",
       StatusWatch::kAnyChange,
       {{0, "维护"}, {60, "正常"}, {120, "未知状态"}, {180, "未知状态"}},
       {}},
      {"the first word read is where the row starts",
       StatusWatch::kAnyChange,
       {{0, "未知状态"}, {60, "停机"}, {120, "停机"}},
       {}},
      {"another new word starts the count again",
       StatusWatch::kAnyChange,
       {{0, "正常"}, {60, "维护"}, {120, "停机"}, {180, "停机"}},
       {{3, "正常", "停机"}}},
      {"becoming normal tells only the return, from the word before it",
       StatusWatch::kBecomesNormal,
       {{0, "正常"},
        {60, "维护"},
        {120, "维护"},
        {180, "停机"},
        {240, "停机"},
        {300, "正常"},
        {360, "正常"}},
       {{6, "停机", "正常"}}},
      {"a change within the quiet period is told when it is over",
       StatusWatch::kAnyChange,
       {{0, "正常"},
        {60, "维护"},
        {120, "维护"},
        {180, "正常"},
        {240, "正常"},
        {360, "正常"},
        {420, "正常"}},
       {{2, "正常", "维护"}, {6, "维护", "正常"}}},
      {"a change undone within the quiet period is never told",
       StatusWatch::kAnyChange,
       {{0, "正常"},
        {60, "维护"},
        {120, "维护"},
        {180, "正常"},
        {240, "正常"},
        {300, "维护"},
        {360, "维护"},
        {600, "维护"}},
       {{2, "正常", "维护"}}},
      {"a clock set back ends the quiet period",
       StatusWatch::kAnyChange,
       {{0, "正常"}, {600, "维护"}, {660, "维护"}, {60, "正常"}, {120, "正常"}},
       {{2, "正常", "维护"}, {4, "维护", "正常"}}},
  };
  for (const RuleStatusCase& c : cases) {
    SCOPED_TRACE(c.name);
    AlertRules rules;
    rules.SetWatch(kTarget, {.status = c.watch});
    StepEvents events;
    std::vector<int> seconds;
    for (std::size_t step = 0; step < c.reads.size(); ++step) {
      seconds.push_back(c.reads[step].first);
      for (AlertEvent& event :
           rules.StatusRead(kTarget, c.reads[step].second, At(seconds.back()))) {
        events.emplace_back(step, std::move(event));
      }
    }
    EXPECT_EQ(events, Expected(c.told, AlertKind::kStatus, seconds, std::nullopt));
  }
}

constexpr int kLostMs = -1;
constexpr int kNoFigure = -1;

struct ThresholdCase {
  const char* name;
  AlertKind kind;
  std::vector<std::pair<int, int>> runs;  // seconds; latency ms or kLostMs, loss % or kNoFigure
  std::vector<Told> told;
  std::optional<int> threshold = std::nullopt;  // nothing: 100 ms, 10 %
};

// A loss figure as a full window of kRecentLossRuns results gives it.
ProbeOutcome OutcomeOf(AlertKind kind, int figure) {
  if (kind == AlertKind::kLoss) {
    if (figure == kNoFigure) return {20, std::nullopt};
    const int lost = figure * static_cast<int>(kRecentLossRuns) / 100;
    return {20, static_cast<double>(figure), lost};
  }
  return {figure == kLostMs ? std::nullopt : LatencySample(figure), 0.0};
}

TEST(AlertRulesTest, ThresholdsAreToldFromAConfirmedStateAndLossNeverFromOneLostProbe) {
  const ThresholdCase cases[] = {
      {"a single spike is not told",
       AlertKind::kLatency,
       {{0, 50}, {60, 500}, {120, 50}, {180, 50}, {240, 500}},
       {}},
      {"three runs over are",
       AlertKind::kLatency,
       {{0, 50}, {60, 150}, {120, 160}, {180, 170}, {240, 180}},
       {{3, "ok", "over", 170}}},
      {"lost probes are over",
       AlertKind::kLatency,
       {{0, 50}, {60, kLostMs}, {120, kLostMs}, {180, kLostMs}},
       {{3, "ok", "over"}}},
      {"flapping never confirms",
       AlertKind::kLatency,
       {{0, 150}, {60, 50}, {120, 150}, {180, 50}, {240, 150}, {300, 150}},
       {}},
      {"the threshold itself is not over",
       AlertKind::kLatency,
       {{0, 100}, {60, 100}, {120, 100}},
       {}},
      {"a recovery takes three runs under",
       AlertKind::kLatency,
       {{0, 50},
        {60, 150},
        {120, 150},
        {180, 150},
        {500, 50},
        {560, 150},
        {620, 50},
        {680, 50},
        {740, 50}},
       {{3, "ok", "over", 150}, {8, "over", "ok", 50}}},
      {"a recovery within the quiet period is told when it ends",
       AlertKind::kLatency,
       {{0, 50},
        {10, 150},
        {20, 150},
        {30, 150},
        {40, 50},
        {50, 50},
        {60, 50},
        {329, 60},
        {330, 70}},
       {{3, "ok", "over", 150}, {8, "over", "ok", 70}}},
      // Where a row starts is told to nobody: a row never measurable starts over.
      {"a row lost from the start is not told",
       AlertKind::kLatency,
       {{0, kLostMs}, {60, kLostMs}, {120, kLostMs}, {180, kLostMs}, {240, kLostMs}},
       {}},
      {"a row that starts over is told when it recovers",
       AlertKind::kLatency,
       {{0, kLostMs}, {60, kLostMs}, {120, kLostMs}, {180, 50}, {240, 50}, {300, 50}},
       {{5, "over", "ok", 50}}},
      {"one lost probe at the start is no state to recover from",
       AlertKind::kLatency,
       {{0, kLostMs}, {60, 50}, {120, 50}, {180, 50}, {240, 50}},
       {}},
      {"over before the start is confirmed counts for nothing",
       AlertKind::kLatency,
       {{0, 150}, {60, 150}, {120, 50}, {180, 150}, {240, 150}, {300, 150}},
       {{5, "ok", "over", 150}}},
      {"loss over is told at once",
       AlertKind::kLoss,
       {{0, 0}, {60, 5}, {120, 10}, {180, 15}},
       {{3, "ok", "over", 15}}},
      {"loss starts where its first figure is",
       AlertKind::kLoss,
       {{0, 30}, {60, 30}, {120, 5}},
       {{2, "over", "ok", 5}}},
      {"runs without a loss figure are not read",
       AlertKind::kLoss,
       {{0, kNoFigure}, {60, 0}, {120, kNoFigure}, {180, 20}},
       {{3, "ok", "over", 20}}},
      {"one lost probe is never over, even at a threshold of 0",
       AlertKind::kLoss,
       {{0, 0}, {60, 5}, {120, 5}, {180, 5}, {240, 10}},
       {{4, "ok", "over", 10}},
       0},
  };
  for (const ThresholdCase& c : cases) {
    SCOPED_TRACE(c.name);
    const bool loss = c.kind == AlertKind::kLoss;
    const int threshold = c.threshold.value_or(loss ? 10 : 100);
    AlertRules rules;
    rules.SetWatch(kTarget, loss ? AlertWatch{.lossOverPercent = threshold}
                                 : AlertWatch{.latencyOverMs = threshold});
    StepEvents events;
    std::vector<int> seconds;
    for (std::size_t step = 0; step < c.runs.size(); ++step) {
      seconds.push_back(c.runs[step].first);
      const ProbeOutcome outcome = OutcomeOf(c.kind, c.runs[step].second);
      for (AlertEvent& event : rules.ProbeResult(kTarget, outcome, At(seconds.back()))) {
        events.emplace_back(step, std::move(event));
      }
    }
    EXPECT_EQ(events, Expected(c.told, c.kind, seconds, threshold));
  }
}

// Results as a row's history holds them, judged by rules watching latency over 150 ms and
// loss over the threshold from the watch's first run on.
struct HistoryCase {
  const char* name;
  std::vector<int> results;  // ms, or kLostMs
  std::size_t watchFrom;     // the results already in when the rules start
  int lossThreshold;
  std::vector<std::pair<std::size_t, AlertKind>> told;  // result index, kind
};

std::vector<int> Results(std::size_t count, std::initializer_list<std::size_t> lost) {
  std::vector<int> results(count, 20);
  for (std::size_t at : lost) results[at] = kLostMs;
  return results;
}

std::vector<HistoryCase> OneEarlyLossCases() {
  std::vector<HistoryCase> cases;
  for (int threshold : {10, 0}) {
    for (std::size_t lost : {0u, 1u, 6u, 19u}) {
      for (std::size_t from : {0u, 3u, 19u, 20u}) {
        cases.push_back({"one early loss", Results(45, {lost}), from, threshold, {}});
      }
    }
  }
  return cases;
}

TEST(AlertRulesTest, OneLostProbeAmongARowsFirstResultsIsNeverToldAtStartOrAfterARestart) {
  std::vector<HistoryCase> cases = OneEarlyLossCases();
  // A real outage: the latency three runs in, and the loss once it is over the threshold with
  // a full window, three runs in at 10 % and two at 0 %.
  cases.push_back({"an outage",
                   Results(36, {30, 31, 32, 33, 34}),
                   0,
                   10,
                   {{32, AlertKind::kLatency}, {32, AlertKind::kLoss}}});
  cases.push_back({"an outage at 0 %",
                   Results(36, {30, 31, 32, 33, 34}),
                   25,
                   0,
                   {{31, AlertKind::kLoss}, {32, AlertKind::kLatency}}});
  // Before the window is full the latency alone tells it.
  cases.push_back({"an outage early on",
                   Results(12, {5, 6, 7, 8, 9, 10, 11}),
                   0,
                   10,
                   {{7, AlertKind::kLatency}}});
  for (const HistoryCase& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.name << ": " << ::testing::PrintToString(c.results) << ", watched from "
                 << c.watchFrom << ", over " << c.lossThreshold << " %");
    LatencyHistory history;
    const RowId row{3};
    AlertRules rules;
    const AlertWatch watch{.latencyOverMs = 150, .lossOverPercent = c.lossThreshold};
    if (c.watchFrom == 0) rules.SetWatch(kTarget, watch);
    std::vector<std::pair<std::size_t, AlertKind>> told;
    for (std::size_t at = 0; at < c.results.size(); ++at) {
      history.Record(row, at + 1, c.results[at]);
      if (at + 1 < c.watchFrom) continue;
      if (at + 1 == c.watchFrom) {
        // A watch chosen now (the window's 提醒…), or the rules restarted with the history kept.
        rules.SetWatch(kTarget, watch, NewestProbeOutcome(history, row));
        continue;
      }
      for (const AlertEvent& event : rules.ProbeResult(kTarget, *NewestProbeOutcome(history, row),
                                                       At(60 * static_cast<int>(at)))) {
        told.emplace_back(at, event.kind);
      }
    }
    EXPECT_EQ(told, c.told);
  }
}

// Each kind keeps its own state, only watched rows and kinds answer, a changed setting starts
// its kind afresh from the outcome the watch was chosen on while the others go on, and a row
// without a domain is watched for its status only.
TEST(AlertRulesTest, WatchesAreKeptPerRowAndKind) {
  AlertRules rules;
  const AlertTarget other{"电信15区", "127.0.0.99"};
  rules.SetWatch(kTarget, {.latencyOverMs = 100, .lossOverPercent = 10});
  EXPECT_EQ(rules.WatchedTargets(), std::vector<AlertTarget>{kTarget});
  EXPECT_TRUE(rules.StatusRead(kTarget, "维护", At(0)).empty());
  const ProbeOutcome good{20, 0.0, 0};
  const ProbeOutcome bad{std::nullopt, 50.0, 10};
  EXPECT_TRUE(rules.ProbeResult(kTarget, good, At(0)).empty());
  EXPECT_TRUE(rules.ProbeResult(other, bad, At(1)).empty());
  const std::vector<AlertEvent> loss = rules.ProbeResult(kTarget, bad, At(1));
  ASSERT_EQ(loss.size(), 1u);
  EXPECT_EQ(loss[0].kind, AlertKind::kLoss);
  EXPECT_EQ(loss[0].value, 50.0);
  EXPECT_TRUE(rules.ProbeResult(kTarget, bad, At(2)).empty());
  rules.SetWatch(kTarget, {.latencyOverMs = 200, .lossOverPercent = 10}, good);
  EXPECT_TRUE(rules.ProbeResult(kTarget, bad, At(3)).empty());
  EXPECT_TRUE(rules.ProbeResult(kTarget, bad, At(4)).empty());
  const std::vector<AlertEvent> restarted = rules.ProbeResult(kTarget, bad, At(5));
  ASSERT_EQ(restarted.size(), 1u);
  EXPECT_EQ(restarted[0].kind, AlertKind::kLatency);
  EXPECT_EQ(restarted[0].threshold, 200.0);
  // Started again without an outcome, the kind takes the bad runs as where the row starts.
  rules.SetWatch(kTarget, {.latencyOverMs = 300, .lossOverPercent = 10});
  for (int second = 6; second < 12; ++second) {
    EXPECT_TRUE(rules.ProbeResult(kTarget, bad, At(second)).empty());
  }

  rules.SetWatch(kTarget, {});
  EXPECT_TRUE(rules.WatchedTargets().empty());
  EXPECT_TRUE(rules.WatchOf(kTarget).IsEmpty());
  EXPECT_TRUE(rules.ProbeResult(kTarget, bad, At(400)).empty());

  const AlertTarget noDomain{"电信05区", ""};
  const AlertWatch everything{StatusWatch::kAnyChange, 100, 10};
  rules.SetWatch(noDomain, everything, good);
  EXPECT_EQ(rules.WatchOf(noDomain), everything);
  for (int second = 500; second < 510; ++second) {
    EXPECT_TRUE(rules.ProbeResult(noDomain, bad, At(second)).empty());
  }
  EXPECT_TRUE(rules.StatusRead(noDomain, "维护", At(600)).empty());
  EXPECT_TRUE(rules.StatusRead(noDomain, "正常", At(660)).empty());
  EXPECT_EQ(rules.StatusRead(noDomain, "正常", At(720)).size(), 1u);
}

TEST(AlertRulesTest, OutcomesComeFromTheRowsNewestResults) {
  LatencyHistory history;
  const RowId row{7};
  EXPECT_FALSE(NewestProbeOutcome(history, row));
  EXPECT_EQ(AlertTargetOf("电信15区 ", " 127.0.0.16"), kTarget);
  for (std::uint64_t run = 1; run <= 5; ++run) history.Record(row, run, -1);
  // Fewer results than a window: no loss figure yet.
  std::optional<ProbeOutcome> outcome = NewestProbeOutcome(history, row);
  ASSERT_TRUE(outcome);
  EXPECT_EQ(outcome->latencyMs, std::nullopt);
  EXPECT_EQ(outcome->recentLossPercent, std::nullopt);
  for (std::uint64_t run = 6; run <= 20; ++run) history.Record(row, run, static_cast<int>(run));
  outcome = NewestProbeOutcome(history, row);
  ASSERT_TRUE(outcome);
  EXPECT_EQ(outcome->recentLossPercent, 25.0);
  EXPECT_EQ(outcome->recentLost, 5);
  for (std::uint64_t run = 21; run <= 25; ++run) history.Record(row, run, static_cast<int>(run));
  // The five lost runs left the window of twenty: no loss, though a fifth of all were lost.
  outcome = NewestProbeOutcome(history, row);
  ASSERT_TRUE(outcome);
  EXPECT_EQ(outcome->latencyMs, 25);
  EXPECT_EQ(outcome->recentLossPercent, 0.0);
  EXPECT_EQ(outcome->recentLost, 0);
  history.Record(row, 26, -1);
  outcome = NewestProbeOutcome(history, row);
  ASSERT_TRUE(outcome);
  EXPECT_EQ(outcome->latencyMs, std::nullopt);
  EXPECT_EQ(outcome->recentLossPercent, 5.0);
  EXPECT_EQ(outcome->recentLost, 1);
}

}  // namespace
}  // namespace vardelle

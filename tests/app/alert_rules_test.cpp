// The alert rules on sequences of status reads and probe outcomes: single spikes, flapping,
// recovery, failed fetches, the quiet period and status confirmation.
#include "app/alerts/alert_rules.h"

#include <gtest/gtest.h>

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

struct StatusCase {
  const char* name;
  StatusWatch watch;
  std::vector<std::pair<int, const char*>> reads;  // seconds, word
  std::vector<Told> told;
};

TEST(AlertRulesTest, StatusChangesAreToldOnceConfirmedAndNotMoreOftenThanTheQuietPeriod) {
  const StatusCase cases[] = {
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
  for (const StatusCase& c : cases) {
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

constexpr int kLost = -1;
constexpr int kNoFigure = -1;

struct ThresholdCase {
  const char* name;
  AlertKind kind;
  std::vector<std::pair<int, int>> runs;  // seconds; latency ms or kLost, loss % or kNoFigure
  std::vector<Told> told;
};

ProbeOutcome OutcomeOf(AlertKind kind, int figure) {
  if (kind == AlertKind::kLoss) {
    return {20, figure == kNoFigure ? std::nullopt : std::optional<double>(figure)};
  }
  return {figure == kLost ? std::nullopt : LatencySample(figure), 0.0};
}

TEST(AlertRulesTest, ThresholdsTurnOverAfterThreeRunsAndBackAfterThree) {
  const ThresholdCase cases[] = {
      {"a single spike is not told",
       AlertKind::kLatency,
       {{0, 50}, {60, 500}, {120, 50}, {180, 50}, {240, 500}},
       {}},
      {"three runs over are",
       AlertKind::kLatency,
       {{0, 150}, {60, 160}, {120, 170}, {180, 180}},
       {{2, "ok", "over", 170}}},
      {"lost probes are over",
       AlertKind::kLatency,
       {{0, kLost}, {60, kLost}, {120, kLost}},
       {{2, "ok", "over"}}},
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
       {{0, 150}, {60, 150}, {120, 150}, {400, 50}, {460, 150}, {520, 50}, {580, 50}, {640, 50}},
       {{2, "ok", "over", 150}, {7, "over", "ok", 50}}},
      {"a recovery within the quiet period is told when it ends",
       AlertKind::kLatency,
       {{0, 150}, {10, 150}, {20, 150}, {30, 50}, {40, 50}, {50, 50}, {319, 60}, {320, 70}},
       {{2, "ok", "over", 150}, {7, "over", "ok", 70}}},
      {"loss over for three runs",
       AlertKind::kLoss,
       {{0, 0}, {60, 20}, {120, 25}, {180, 30}},
       {{3, "ok", "over", 30}}},
      {"runs without a loss figure neither confirm nor break",
       AlertKind::kLoss,
       {{0, 20}, {60, kNoFigure}, {120, 20}, {180, kNoFigure}, {240, 20}},
       {{4, "ok", "over", 20}}},
  };
  for (const ThresholdCase& c : cases) {
    SCOPED_TRACE(c.name);
    const bool loss = c.kind == AlertKind::kLoss;
    const int threshold = loss ? 10 : 100;
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

// Each kind keeps its own state, only watched rows and kinds answer, and a changed setting
// starts its kind afresh while the others go on.
TEST(AlertRulesTest, WatchesAreKeptPerRowAndKind) {
  AlertRules rules;
  const AlertTarget other{"电信15区", "127.0.0.99"};
  rules.SetWatch(kTarget, {.latencyOverMs = 100, .lossOverPercent = 10});
  EXPECT_EQ(rules.WatchedTargets(), std::vector<AlertTarget>{kTarget});
  EXPECT_TRUE(rules.StatusRead(kTarget, "维护", At(0)).empty());
  const ProbeOutcome bad{std::nullopt, 50.0};
  EXPECT_TRUE(rules.ProbeResult(other, bad, At(0)).empty());
  EXPECT_TRUE(rules.ProbeResult(kTarget, bad, At(0)).empty());
  EXPECT_TRUE(rules.ProbeResult(kTarget, bad, At(1)).empty());
  rules.SetWatch(kTarget, {.latencyOverMs = 200, .lossOverPercent = 10});
  const std::vector<AlertEvent> third = rules.ProbeResult(kTarget, bad, At(2));
  ASSERT_EQ(third.size(), 1u);
  EXPECT_EQ(third[0].kind, AlertKind::kLoss);
  EXPECT_EQ(third[0].value, 50.0);
  EXPECT_TRUE(rules.ProbeResult(kTarget, bad, At(3)).empty());
  const std::vector<AlertEvent> restarted = rules.ProbeResult(kTarget, bad, At(4));
  ASSERT_EQ(restarted.size(), 1u);
  EXPECT_EQ(restarted[0].kind, AlertKind::kLatency);
  EXPECT_EQ(restarted[0].threshold, 200.0);

  rules.SetWatch(kTarget, {});
  EXPECT_TRUE(rules.WatchedTargets().empty());
  EXPECT_TRUE(rules.WatchOf(kTarget).IsEmpty());
  EXPECT_TRUE(rules.ProbeResult(kTarget, bad, At(400)).empty());
}

TEST(AlertRulesTest, OutcomesComeFromTheRowsNewestResults) {
  LatencyHistory history;
  const RowId row{7};
  EXPECT_FALSE(NewestProbeOutcome(history, row));
  EXPECT_EQ(AlertTargetOf("电信15区 ", " 127.0.0.16"), kTarget);
  for (std::uint64_t run = 1; run <= 5; ++run) history.Record(row, run, -1);
  for (std::uint64_t run = 6; run <= 25; ++run) history.Record(row, run, static_cast<int>(run));
  // The five lost runs left the window of twenty: no loss, though a fifth of all were lost.
  std::optional<ProbeOutcome> outcome = NewestProbeOutcome(history, row);
  ASSERT_TRUE(outcome);
  EXPECT_EQ(outcome->latencyMs, 25);
  EXPECT_EQ(outcome->recentLossPercent, 0.0);
  history.Record(row, 26, -1);
  outcome = NewestProbeOutcome(history, row);
  ASSERT_TRUE(outcome);
  EXPECT_EQ(outcome->latencyMs, std::nullopt);
  EXPECT_EQ(outcome->recentLossPercent, 5.0);
}

}  // namespace
}  // namespace vardelle

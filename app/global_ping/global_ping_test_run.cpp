#include "app/global_ping/global_ping_test_run.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "app/global_ping/globalping_target.h"
#include "runtime/threads/threads.h"

namespace vardelle {
namespace {

constexpr int kMostProbes = 10;
constexpr int kPackets = 3;
// Measurements mostly wait on the service, so a few workers keep many rows going; the
// service itself runs each measurement's probes at once.
constexpr size_t kMostWorkers = 16;
constexpr std::chrono::milliseconds kBudgetQuestionLimit{10000};

std::string ProbeCount(const Measurement& measurement, int answered) {
  return std::to_string(answered) + "/" + std::to_string(measurement.probesCount);
}

// The figures of a measurement as far as it has come, and its probe lines.
KeyListRow FigureCells(const Measurement& measurement) {
  KeyListRow row;
  row.key = measurement.id;
  row.toolTip = ProbeListText(measurement);
  const std::optional<MeasurementSummary> summary = Summarize(measurement);
  row.probes = ProbeCount(measurement, summary ? summary->probes : 0);
  if (!summary) return row;
  row.average = AverageText(*summary);
  row.range = RangeText(*summary);
  row.loss = LossText(*summary);
  return row;
}

std::string FinishedState(const std::optional<MeasurementSummary>& summary) {
  if (!summary) return "无探针应答";
  return summary->probes > 0 ? "完成" : "全部丢包";
}

GlobalPingRowCells RefusedCells(const std::string& reason) {
  GlobalPingRowCells cells;
  cells.row.state = reason;
  cells.row.icon = RowIcon::kNoAnswer;
  cells.final = true;
  return cells;
}

}  // namespace

GlobalPingRowCells ProgressCells(const Measurement& measurement) {
  GlobalPingRowCells cells{FigureCells(measurement), false};
  cells.row.state = ProgressText(measurement);
  return cells;
}

GlobalPingRowCells FinalCells(const MeasurementOutcome& outcome) {
  GlobalPingRowCells cells{FigureCells(outcome.measurement), true};
  const std::optional<MeasurementSummary> summary = Summarize(outcome.measurement);
  const bool answered = outcome.failure.empty() && summary && summary->probes > 0;
  cells.row.state = outcome.failure.empty() ? FinishedState(summary) : outcome.failure;
  cells.row.icon = answered ? RowIcon::kAnswered : RowIcon::kNoAnswer;
  if (outcome.measurement.id.empty()) cells.row.probes.clear();
  return cells;
}

struct GlobalPingTestRun::Shared {
  GlobalTestSettings settings;
  RowUpdate update;
  std::vector<ServerMeasurement> results;
  // The rows the workers measure, each with its probe limit; taken in order.
  std::vector<std::pair<size_t, int>> queue;
  std::atomic<size_t> nextInQueue{0};
  std::mutex mutex;
  std::condition_variable ended;
  size_t running = 0;

  void Work() {
    for (size_t next = nextInQueue++; next < queue.size(); next = nextInQueue++) {
      Measure(queue[next].first, queue[next].second);
    }
  }

  void Measure(size_t index, int probeLimit) {
    bool shareReturned = false;
    const auto returnShare = [&](const BudgetReport& report) {
      settings.budget->Release(probeLimit);
      settings.budget->Learn(report);
      shareReturned = true;
    };
    const MeasurementProgress progress{
        [&](const std::string& text) {
          GlobalPingRowCells cells;
          cells.row.state = text;
          update(index, cells);
        },
        [&](const Measurement& m) { update(index, ProgressCells(m)); }, returnShare};
    const MeasurementOrder order{results[index].server.domain, std::string(settings.place.magic),
                                 probeLimit, kPackets, settings.inProgressUpdates};
    MeasurementOutcome outcome = RunGlobalpingMeasurement(settings.access, order, settings.limits,
                                                          progress);
    if (!shareReturned) settings.budget->Release(probeLimit);
    update(index, FinalCells(outcome));
    Finish(index, std::move(outcome));
  }

  void End(size_t index, const std::string& reason) {
    update(index, RefusedCells(reason));
    Finish(index, {{}, reason});
  }

  void Finish(size_t index, MeasurementOutcome outcome) {
    std::lock_guard guard(mutex);
    results[index].outcome = std::move(outcome);
    if (--running == 0) ended.notify_all();
  }

  // Rows whose target the service would refuse end here; the others share the budget.
  void Plan() {
    std::vector<size_t> measurable;
    for (size_t index = 0; index < results.size(); ++index) {
      const std::string problem = GlobalpingTargetProblem(results[index].server.domain,
                                                          settings.access.privateTargetsMeasured);
      if (problem.empty()) {
        measurable.push_back(index);
      } else {
        End(index, problem);
      }
    }
    if (measurable.empty()) return;
    if (const std::optional<BudgetReport> report =
            AskHourlyBudget(settings.access, kBudgetQuestionLimit)) {
      settings.budget->Learn(*report);
    }
    const BudgetShares shares = settings.budget->Share(measurable.size(), kMostProbes);
    for (size_t i = 0; i < measurable.size(); ++i) {
      if (shares.limits[i] > 0) {
        queue.emplace_back(measurable[i], shares.limits[i]);
      } else {
        End(measurable[i], shares.shortfall);
      }
    }
  }
};

std::shared_ptr<GlobalPingTestRun> GlobalPingTestRun::Start(const GlobalTestSettings& settings,
                                                            std::vector<GlobalPingServer> servers,
                                                            RowUpdate update) {
  auto shared = std::make_shared<Shared>();
  shared->settings = settings;
  shared->update = std::move(update);
  for (GlobalPingServer& server : servers) shared->results.push_back({std::move(server), {}});
  shared->running = shared->results.size();
  for (size_t index = 0; index < shared->results.size(); ++index) {
    GlobalPingRowCells queued;
    queued.row.state = "排队中";
    shared->update(index, queued);
  }
  shared->Plan();
  const size_t workers = std::min(kMostWorkers, shared->queue.size());
  size_t started = 0;
  while (started < workers && StartThread([shared] { shared->Work(); })) ++started;
  // Without any worker the rows still end, each saying why.
  if (started == 0) {
    for (size_t next = shared->nextInQueue++; next < shared->queue.size(); next = shared->nextInQueue++) {
      shared->settings.budget->Release(shared->queue[next].second);
      shared->End(shared->queue[next].first, "无法启动测试线程");
    }
  }
  return std::shared_ptr<GlobalPingTestRun>(new GlobalPingTestRun(shared));
}

void GlobalPingTestRun::Wait() {
  std::unique_lock lock(shared_->mutex);
  shared_->ended.wait(lock, [this] { return shared_->running == 0; });
}

bool GlobalPingTestRun::Ended() {
  std::lock_guard guard(shared_->mutex);
  return shared_->running == 0;
}

std::vector<ServerMeasurement> GlobalPingTestRun::Results() {
  std::lock_guard guard(shared_->mutex);
  return shared_->results;
}

}  // namespace vardelle

#include "app/global_ping/global_ping_test_run.h"

#include <condition_variable>
#include <mutex>

#include "app/actions/argument_checks.h"
#include "runtime/threads/threads.h"

namespace vardelle {
namespace {

constexpr int kProbeLimit = 10;
constexpr int kPackets = 3;

}  // namespace

struct GlobalPingTestRun::Shared {
  GlobalpingAccess access;
  ClientLimits limits;
  std::string magic;
  RowUpdate update;
  std::mutex mutex;
  std::condition_variable ended;
  size_t running = 0;
  std::vector<ServerMeasurement> results;

  void Measure(size_t index) {
    const GlobalPingServer& server = results[index].server;
    MeasurementOutcome outcome;
    if (!IsPlausibleHost(server.domain)) {
      outcome.failure = "域名不可用";
    } else {
      MeasurementProgress progress{
          [&](const std::string& text) { update(index, {"", text, ""}); },
          [&](const Measurement& m) { update(index, {m.id, ProgressText(m), ""}); }};
      outcome = RunGlobalpingMeasurement(access, {server.domain, magic, kProbeLimit, kPackets},
                                         limits, progress);
    }
    update(index, FinalCells(outcome));
    Finish(index, std::move(outcome));
  }

  void Finish(size_t index, MeasurementOutcome outcome) {
    std::lock_guard guard(mutex);
    results[index].outcome = std::move(outcome);
    if (--running == 0) ended.notify_all();
  }
};

GlobalPingRowCells FinalCells(const MeasurementOutcome& outcome) {
  const Measurement& measurement = outcome.measurement;
  if (!outcome.failure.empty()) {
    return {measurement.id, outcome.failure, ProbeListText(measurement), true};
  }
  return {measurement.id, SummaryText(measurement), ProbeListText(measurement), true};
}

std::shared_ptr<GlobalPingTestRun> GlobalPingTestRun::Start(const GlobalpingAccess& access,
                                                            std::vector<GlobalPingServer> servers,
                                                            const GlobalPingPlace& place,
                                                            RowUpdate update,
                                                            const ClientLimits& limits) {
  auto shared = std::make_shared<Shared>();
  shared->access = access;
  shared->limits = limits;
  shared->magic = std::string(place.magic);
  shared->update = std::move(update);
  for (GlobalPingServer& server : servers) shared->results.push_back({std::move(server), {}});
  shared->running = shared->results.size();
  for (size_t index = 0; index < shared->results.size(); ++index) {
    shared->update(index, {"", "排队中", ""});
    if (!StartThread([shared, index] { shared->Measure(index); })) {
      MeasurementOutcome refused{{}, "无法启动测试线程"};
      shared->update(index, FinalCells(refused));
      shared->Finish(index, std::move(refused));
    }
  }
  return std::shared_ptr<GlobalPingTestRun>(new GlobalPingTestRun(shared));
}

void GlobalPingTestRun::Wait() {
  std::unique_lock lock(shared_->mutex);
  shared_->ended.wait(lock, [this] { return shared_->running == 0; });
}

std::vector<ServerMeasurement> GlobalPingTestRun::Results() {
  std::lock_guard guard(shared_->mutex);
  return shared_->results;
}

}  // namespace vardelle

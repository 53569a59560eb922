// A whole test run over 1,000 servers: the run's wall time from StartTestRun until the last
// row was written, beside the slowest probe's configured delay and beside fping sending one
// echo to each of the same hosts. The hosts live on a private tun network in a namespace of
// the process's own (root only), answering after 2 to 251 ms.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/headless/memory_window.h"
#include "app/start/application.h"
#include "app/status/region_status.h"
#include "app/table/server_table.h"
#include "app/test_run/test_run.h"
#include "runtime/probes/network_probes.h"
#include "runtime/threads/locks.h"
#include "testing/tun_network.h"

namespace vardelle {
namespace {

using std::chrono::duration;
using std::chrono::milliseconds;
using std::chrono::steady_clock;

constexpr int kHosts = 1000;
constexpr int kSlowestDelayMs = 251;

int DelayOf(int host) { return 2 + host % 250; }
std::string HostAddress(int host) {
  return "10.200." + std::to_string(1 + host / 250) + "." + std::to_string(2 + host % 250);
}

testnet::PrivateTunNetwork& Network() { return testnet::BenchTunNetwork(); }

// Before any thread exists: only the calling thread enters the namespace.
void BuildNetwork() {
  std::vector<testnet::Target> targets;
  for (int host = 0; host < kHosts; ++host) {
    targets.push_back({HostAddress(host), testnet::Target::Answer::kEcho,
                       milliseconds(DelayOf(host))});
  }
  testnet::StartBenchTunNetwork(std::move(targets));
}

// fping's wall time for one echo to every host, one millisecond between sends.
double FpingWallMs() {
  std::string command = "fping -q -i1 -c1 -t 2000";
  for (int host = 0; host < kHosts; ++host) command += " " + HostAddress(host);
  const auto start = steady_clock::now();
  FILE* output = popen((command + " 2>/dev/null").c_str(), "r");
  if (output == nullptr) return -1;
  char discard[4096];
  while (std::fread(discard, 1, sizeof discard, output) > 0) {
  }
  pclose(output);
  return duration<double, std::milli>(steady_clock::now() - start).count();
}

void ThousandRowTestRun(benchmark::State& state) {
  if (!Network().unavailable.empty()) {
    state.SkipWithError(Network().unavailable.c_str());
    return;
  }
  MemoryWindow window;
  Application app;
  app.window = &window;
  app.lists = std::make_shared<ProcessLists>();
  app.tableLock = CreateLock();
  for (int host = 0; host < kHosts; ++host) {
    const RowId row = window.InsertRow("server " + std::to_string(host), RowIcon::kNotTested);
    window.SetCellText(row, kDomainColumn, HostAddress(host));
  }
  TestRunServices services;
  services.fetchRegionStatus = [](Application&) {
    return std::make_shared<const RegionStatusLists>();
  };
  // When the probes went out, from the run's start: their spread is the run's own cost.
  std::mutex sentMutex;
  std::vector<steady_clock::time_point> sent;
  services.sendPing = [&](const std::string& address, std::function<void(int)> done) {
    {
      std::lock_guard guard(sentMutex);
      sent.push_back(steady_clock::now());
    }
    SendPing(address, kDefaultPingTimeoutMs, std::move(done));
  };
  TestRunEngine engine(app, services);
  double runMs = 0;
  double answered = 0;
  double lastSendMs = 0;
  double firstSendMs = 0;
  for (auto _ : state) {
    sent.clear();
    const auto start = steady_clock::now();
    const std::shared_ptr<TestRun> run = engine.StartRun();
    run->Wait();
    const double wallMs = duration<double, std::milli>(steady_clock::now() - start).count();
    lastSendMs += duration<double, std::milli>(sent.back() - start).count();
    firstSendMs += duration<double, std::milli>(sent.front() - start).count();
    state.SetIterationTime(wallMs / 1000);
    runMs += wallMs;
    answered += run->Summary().answered;
  }
  const double iterations = static_cast<double>(state.iterations());
  state.counters["run_ms"] = runMs / iterations;
  state.counters["slowest_probe_ms"] = kSlowestDelayMs;
  state.counters["over_slowest_ms"] = runMs / iterations - kSlowestDelayMs;
  state.counters["answered"] = answered / iterations;
  state.counters["last_send_ms"] = lastSendMs / iterations;
  state.counters["first_send_ms"] = firstSendMs / iterations;
  state.counters["fping_ms"] = FpingWallMs();
  DeleteLock(app.tableLock);
}
BENCHMARK(ThousandRowTestRun)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vardelle

int main(int argc, char** argv) {
  vardelle::BuildNetwork();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

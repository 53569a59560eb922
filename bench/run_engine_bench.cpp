// Whole test runs over 1,000 and 10,000 servers: each run's wall time from the tick until the
// last row was written (the mean of five runs; of their times past the slowest probe, the
// median and the longest), beside the slowest probe's configured delay and beside fping sending
// one echo to each of the same hosts; and the process's most threads and peak resident memory
// while the runs went on. The hosts live on a private tun network in a namespace of the
// process's own (root only), answering after 2 to 251 ms.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/application/application.h"
#include "app/test_run/run_engine.h"
#include "app/view/memory_window.h"
#include "bench/process_peaks.h"
#include "bench/run_engine_setup.h"
#include "runtime/probes/network_probes.h"
#include "testing/tun_network.h"

namespace vardelle {
namespace {

using std::chrono::duration;
using std::chrono::milliseconds;
using std::chrono::steady_clock;

constexpr int kNetworkHosts = 10000;  // the largest run's; a smaller run takes the first ones
constexpr int kSlowestDelayMs = 251;  // every run of 250 hosts or more has one this slow

int DelayOf(int host) { return 2 + host % 250; }

// 250 hosts to a /24 from 10.200.1.2 on, all inside the tun device's /16.
std::string HostAddress(int host) {
  return "10.200." + std::to_string(1 + host / 250) + "." + std::to_string(2 + host % 250);
}

double MsSince(steady_clock::time_point start) {
  return duration<double, std::milli>(steady_clock::now() - start).count();
}

testnet::PrivateTunNetwork& Network() { return testnet::BenchTunNetwork(); }

// Before any thread exists: only the calling thread enters the namespace.
void BuildNetwork() {
  std::vector<testnet::Target> targets;
  for (int host = 0; host < kNetworkHosts; ++host) {
    targets.push_back(
        {HostAddress(host), testnet::Target::Answer::kEcho, milliseconds(DelayOf(host))});
  }
  testnet::StartBenchTunNetwork(std::move(targets));
}

struct FpingRound {
  double wallMs = -1;
  int answered = -1;
};

// Runs an fping command that reports one summary line per host, counting the hosts that
// answered their one echo.
FpingRound RunFping(const std::string& command) {
  const auto start = steady_clock::now();
  FILE* output = popen((command + " 2>&1").c_str(), "r");
  if (output == nullptr) return {};
  FpingRound round{0, 0};
  char line[256];
  while (std::fgets(line, sizeof line, output) != nullptr) {
    if (std::strstr(line, "= 1/1/") != nullptr) ++round.answered;  // "xmt/rcv/%loss = 1/1/0%"
  }
  pclose(output);
  round.wallMs = MsSince(start);
  return round;
}

// fping sending one echo to each of the first `hosts` hosts, one millisecond between sends.
// The hosts go in through a file: 10,000 of them would pass the length of one shell argument.
FpingRound FpingOver(int hosts) {
  char path[] = "/tmp/vardelle-fping-XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) return {};
  std::string list;
  for (int host = 0; host < hosts; ++host) list += HostAddress(host) + "\n";
  const bool written = write(fd, list.data(), list.size()) == static_cast<ssize_t>(list.size());
  close(fd);
  const FpingRound round =
      written ? RunFping(std::string("fping -q -i1 -c1 -t 2000 -f ") + path) : FpingRound{};
  unlink(path);
  return round;
}

// When the probes went out and when the last answer came in: from the run's start, the
// sends' spread is the run's own cost, and what follows the last answer is the writing's.
class ProbeTimes {
 public:
  struct Spread {
    double firstMs = 0;
    double lastMs = 0;
    double lastAnswerMs = 0;
  };

  void RecordSend() {
    std::lock_guard guard(mutex_);
    times_.push_back(steady_clock::now());
  }
  void RecordAnswer() {
    std::lock_guard guard(mutex_);
    lastAnswer_ = steady_clock::now();
  }
  void Clear() {
    std::lock_guard guard(mutex_);
    times_.clear();
  }
  Spread From(steady_clock::time_point start) const {
    std::lock_guard guard(mutex_);
    if (times_.empty()) return {};
    return {duration<double, std::milli>(times_.front() - start).count(),
            duration<double, std::milli>(times_.back() - start).count(),
            duration<double, std::milli>(lastAnswer_ - start).count()};
  }

 private:
  mutable std::mutex mutex_;
  std::vector<steady_clock::time_point> times_;
  steady_clock::time_point lastAnswer_;
};

TestRunServices RecordingProbes(ProbeTimes& probes) {
  TestRunServices services = bench::ServicesWithoutRegionStatus();
  services.sendPing = [&probes](const std::string& address, std::function<void(int)> done) {
    probes.RecordSend();
    SendPing(address, kDefaultPingTimeoutMs, [&probes, done = std::move(done)](int ms) {
      probes.RecordAnswer();
      done(ms);
    });
  };
  return services;
}

// Sums over a benchmark's iterations, and each run's time.
struct RunTotals {
  double runMs = 0;
  std::vector<double> runsMs;
  double answered = 0;
  double firstSendMs = 0;
  double lastSendMs = 0;
  double lastAnswerMs = 0;
};

// One tick over the whole table, timed until its last row was written.
void TimeOneRun(benchmark::State& state, TestRunEngine& engine, ProbeTimes& probes,
                RunTotals& totals) {
  probes.Clear();
  const auto start = steady_clock::now();
  const std::shared_ptr<TestRun> run = engine.StartRun();
  run->Wait();
  const double runMs = MsSince(start);
  state.SetIterationTime(runMs / 1000);
  const ProbeTimes::Spread spread = probes.From(start);
  totals.runMs += runMs;
  totals.runsMs.push_back(runMs);
  totals.answered += run->Summary().answered;
  totals.firstSendMs += spread.firstMs;
  totals.lastSendMs += spread.lastMs;
  totals.lastAnswerMs += spread.lastAnswerMs;
}

void TestRunOverTun(benchmark::State& state) {
  if (!Network().unavailable.empty()) {
    state.SkipWithError(Network().unavailable.c_str());
    return;
  }
  const int hosts = static_cast<int>(state.range(0));
  MemoryWindow window;
  Application app;
  bench::PrepareServerTable(app, window, hosts, HostAddress);
  ProbeTimes probes;
  TestRunEngine engine(app.SharedWithTestRuns(), RecordingProbes(probes));
  ProbeUnavailableReason();  // starts the echo engine's thread, so the count before has it
  const long threadsBefore = bench::ThreadCount();
  const double residentBefore = bench::ResidentMiB();
  bench::ResetPeakResident();
  RunTotals totals;
  long peakThreads = 0;
  {
    const bench::ThreadCountWatcher threads;
    for (auto _ : state) TimeOneRun(state, engine, probes, totals);
    peakThreads = threads.Peak();
  }
  const double iterations = static_cast<double>(state.iterations());
  state.counters["run_ms"] = totals.runMs / iterations;
  state.counters["slowest_probe_ms"] = kSlowestDelayMs;
  std::sort(totals.runsMs.begin(), totals.runsMs.end());
  state.counters["over_slowest_median_ms"] =
      totals.runsMs[totals.runsMs.size() / 2] - kSlowestDelayMs;
  state.counters["over_slowest_max_ms"] = totals.runsMs.back() - kSlowestDelayMs;
  state.counters["answered"] = totals.answered / iterations;
  state.counters["first_send_ms"] = totals.firstSendMs / iterations;
  state.counters["last_send_ms"] = totals.lastSendMs / iterations;
  state.counters["last_answer_ms"] = totals.lastAnswerMs / iterations;
  state.counters["threads_before"] = static_cast<double>(threadsBefore);
  state.counters["peak_threads"] = static_cast<double>(peakThreads);
  state.counters["resident_before_MiB"] = residentBefore;
  state.counters["peak_MiB"] = bench::PeakResidentMiB();
  const FpingRound fping = FpingOver(hosts);
  state.counters["fping_ms"] = fping.wallMs;
  state.counters["fping_answered"] = fping.answered;
}
BENCHMARK(TestRunOverTun)
    ->Arg(1000)
    ->Arg(kNetworkHosts)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

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

// Echo probe benchmarks. The process first moves into a network namespace of its own, so
// every probe stays on its private loopback or on the tun test network built here, whose
// responder answers after a chosen delay; the system's ping and fping run in the same
// namespace against the same hosts for comparison. Without root the namespace cannot be
// made: the loopback benchmarks then use the host's loopback and the tun ones are skipped.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <latch>
#include <memory>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

#include "runtime/linux/icmp_engine_linux.h"
#include "runtime/probes/network_probes.h"
#include "testing/tun_network.h"

namespace vardelle {
namespace {

using std::chrono::duration;
using std::chrono::milliseconds;
using std::chrono::steady_clock;
using testnet::Target;

constexpr int kSlowestDelayMs = 100;
constexpr int kProbeTimeoutMs = 2000;
constexpr int kComparisonCount = 10;  // echoes per tool and host for the delay comparison
constexpr int kRoundHosts = 1000;
constexpr int kRoundDelayMs = 20;

std::string TunTarget(int delayMs, int family = 4) {
  return (family == 6 ? "fd00:200::" : "10.200.0.") + std::to_string(delayMs);
}

// The round's hosts, 10.200.1.2 onwards, 250 to a /24; or the IPv6 ones, fd00:200::1:0
// onwards (the number read as hexadecimal: distinct all the same).
std::string RoundHost(int host, int family = 4) {
  if (family == 6) return "fd00:200::1:" + std::to_string(host);
  return "10.200." + std::to_string(1 + host / 250) + '.' + std::to_string(2 + host % 250);
}

testnet::PrivateTunNetwork& Network() { return testnet::BenchTunNetwork(); }

// Must run before any thread exists.
void BuildNetwork() {
  std::vector<Target> targets;
  for (const int delayMs : {5, 20, kSlowestDelayMs}) {
    for (const int family : {4, 6}) {
      targets.push_back({TunTarget(delayMs, family), Target::Answer::kEcho, milliseconds(delayMs)});
    }
  }
  for (int host = 0; host < kRoundHosts; ++host) {
    for (const int family : {4, 6}) {
      targets.push_back(
          {RoundHost(host, family), Target::Answer::kEcho, milliseconds(kRoundDelayMs)});
    }
  }
  testnet::StartBenchTunNetwork(std::move(targets));
}

// Runs probe(i) for i < count on count threads released together; every result, and the
// time from the first probe's start until the last probe returned.
struct ConcurrentRun {
  std::vector<int> results;
  duration<double> wall;
};

template <class Probe>
ConcurrentRun RunConcurrently(int count, Probe probe) {
  ConcurrentRun run{std::vector<int>(static_cast<std::size_t>(count)), {}};
  std::vector<steady_clock::time_point> started(run.results.size());
  std::vector<steady_clock::time_point> finished(run.results.size());
  std::latch ready(count + 1);
  std::vector<std::thread> threads;
  threads.reserve(run.results.size());
  for (int i = 0; i < count; ++i) {
    threads.emplace_back([&, i] {
      ready.arrive_and_wait();
      started[i] = steady_clock::now();
      run.results[i] = probe(i);
      finished[i] = steady_clock::now();
    });
  }
  ready.arrive_and_wait();
  for (std::thread& thread : threads) thread.join();
  // From the first probe's start to the last one's return: creating the threads before the
  // gate opens is not part of a run.
  run.wall = *std::max_element(finished.begin(), finished.end()) -
             *std::min_element(started.begin(), started.end());
  return run;
}

double Share(const std::vector<int>& results, bool (*counts)(int)) {
  return static_cast<double>(std::count_if(results.begin(), results.end(), counts)) /
         static_cast<double>(results.size());
}

// The numbers of simultaneous callers every concurrency run is measured at.
void CallerCounts(benchmark::internal::Benchmark* benchmark) {
  for (int callers : {1, 100, 1000, 5000}) benchmark->Arg(callers);
  benchmark->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);
}

void ConcurrentLoopbackProbes(benchmark::State& state) {
  const int callers = static_cast<int>(state.range(0));
  if (!ProbeUnavailableReason().empty()) {
    state.SkipWithError(ProbeUnavailableReason().c_str());
    return;
  }
  double answered = 0;
  double wallSeconds = 0;
  for (auto _ : state) {
    const ConcurrentRun run =
        RunConcurrently(callers, [](int) { return PingHost("127.0.0.1", kProbeTimeoutMs); });
    state.SetIterationTime(run.wall.count());
    wallSeconds += run.wall.count();
    answered += Share(run.results, [](int ms) { return ms >= 0; });
  }
  const double iterations = static_cast<double>(state.iterations());
  state.counters["answered"] = answered / iterations;
  state.counters["per_probe_us"] = wallSeconds * 1e6 / iterations / callers;
}
BENCHMARK(ConcurrentLoopbackProbes)->Apply(CallerCounts);

// The same release of the same number of threads with no probe at all: what waking the
// callers costs on this machine, to be told apart from the probes' own cost.
void ConcurrentWakeBaseline(benchmark::State& state) {
  const int callers = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.SetIterationTime(RunConcurrently(callers, [](int) { return 0; }).wall.count());
  }
}
BENCHMARK(ConcurrentWakeBaseline)->Apply(CallerCounts);

bool SkipWithoutTunNetwork(benchmark::State& state) {
  const testnet::PrivateTunNetwork& network = Network();
  if (network.responder) return false;
  state.SkipWithError(("no tun test network: " + network.unavailable).c_str());
  return true;
}

// 1000 probes at once over the three delayed hosts; the run should end within 1.2 times the
// slowest delay, and each probe should report its own host's delay.
void ThousandConcurrentTunProbes(benchmark::State& state) {
  if (SkipWithoutTunNetwork(state)) return;
  constexpr int kCallers = 1000;
  const int delays[] = {5, 20, kSlowestDelayMs};
  double wallMs = 0;
  double ownDelay = 0;
  for (auto _ : state) {
    const ConcurrentRun run = RunConcurrently(kCallers, [&](int i) {
      return PingHost(TunTarget(delays[i % 3]), kProbeTimeoutMs) - delays[i % 3];
    });
    state.SetIterationTime(run.wall.count());
    wallMs += run.wall.count() * 1000;
    // Whole milliseconds are cut, so a right reply reports its delay or a little more.
    ownDelay += Share(run.results, [](int excess) { return excess >= 0 && excess <= 3; });
  }
  const double iterations = static_cast<double>(state.iterations());
  state.counters["wall_over_slowest_delay"] = wallMs / iterations / kSlowestDelayMs;
  state.counters["reported_own_delay"] = ownDelay / iterations;
}
BENCHMARK(ThousandConcurrentTunProbes)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

// The round-trip times a command printed, one number after each marker.
std::vector<double> TimesPrinted(const std::string& command, const std::string& marker) {
  std::vector<double> times;
  FILE* output = popen(command.c_str(), "r");
  if (output == nullptr) return times;
  char line[4096];
  while (std::fgets(line, sizeof line, output) != nullptr) {
    const std::string text = line;
    for (std::size_t at = text.find(marker); at != std::string::npos;
         at = text.find(marker, at + 1)) {
      double value = 0;
      const char* start = text.c_str() + at + marker.size();
      if (std::from_chars(start, text.c_str() + text.size(), value).ec == std::errc()) {
        times.push_back(value);
      }
    }
  }
  pclose(output);
  return times;
}

double MeanAbsoluteError(const std::vector<double>& times, int delayMs) {
  if (times.empty()) return NAN;
  const double sum = std::accumulate(times.begin(), times.end(), 0.0,
                                     [&](double s, double t) { return s + std::abs(t - delayMs); });
  return sum / static_cast<double>(times.size());
}

// What the system's ping and fping report for the same host, from the same namespace.
void CompareWithSystemTools(benchmark::State& state, int delayMs, int family) {
  const std::string host = TunTarget(delayMs, family);
  const std::string count = std::to_string(kComparisonCount);
  const auto ping = TimesPrinted(
      "LC_ALL=C ping -n -c " + count + " -i 0.05 -W 1 -w 5 " + host + " 2>/dev/null", "time=");
  const auto fping =
      TimesPrinted("LC_ALL=C fping -C " + count + " -p 50 -t 1000 -q " + host + " 2>&1", " ");
  state.counters["ping_err_ms"] = MeanAbsoluteError(ping, delayMs);
  state.counters["fping_err_ms"] = MeanAbsoluteError(fping, delayMs);
}

// The reported time against the responder's configured delay: PingHost's whole
// milliseconds and the engine's own unrounded figure, beside ping and fping. family: 4, or 6
// for ICMPv6 echoes.
void RunDelayAccuracy(benchmark::State& state, int family) {
  if (SkipWithoutTunNetwork(state)) return;
  const int delayMs = static_cast<int>(state.range(0));
  const std::string host = TunTarget(delayMs, family);
  IcmpEngineStart engine = StartLinuxIcmpEngine();
  if (!engine.engine) {
    state.SkipWithError(engine.unavailableReason.c_str());
    return;
  }
  std::vector<double> reported;
  std::vector<double> exact;
  for (auto _ : state) {
    reported.push_back(PingHost(host, kProbeTimeoutMs));
    const auto roundTrip =
        engine.engine->Echo(testnet::ParseEchoAddress(host), milliseconds(kProbeTimeoutMs));
    exact.push_back(roundTrip ? duration<double, std::milli>(*roundTrip).count() : -1);
  }
  state.counters["reported_err_ms"] = MeanAbsoluteError(reported, delayMs);
  state.counters["exact_err_ms"] = MeanAbsoluteError(exact, delayMs);
  CompareWithSystemTools(state, delayMs, family);
}
void TunDelayAccuracy(benchmark::State& state) { RunDelayAccuracy(state, 4); }
void TunIpv6DelayAccuracy(benchmark::State& state) { RunDelayAccuracy(state, 6); }
BENCHMARK(TunDelayAccuracy)
    ->Arg(5)
    ->Arg(20)
    ->Arg(kSlowestDelayMs)
    ->Iterations(kComparisonCount)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(TunIpv6DelayAccuracy)
    ->Arg(5)
    ->Arg(20)
    ->Arg(kSlowestDelayMs)
    ->Iterations(kComparisonCount)
    ->Unit(benchmark::kMillisecond);

// One echo to each of 1,000 hosts at once, one thread per host as a test run sends them, with
// the tun device's queue at the first argument's length (the kernel's 500 for a tun device,
// 64, or 20,000 where nothing is ever dropped) and drained at the second's packets a second
// (a 100 Mbit/s link, or a slow host that takes a third of the engine's widest pace): what
// pacing costs a short queue. extra_requests are the echoes sent again after the device
// dropped some of a window. Beside it fping sending one echo to each of the same hosts a
// millisecond apart: its shortest interval for other users than root (with -i0 it lost a
// quarter of the answers here). family: 4, or 6 for ICMPv6 echoes to the IPv6 hosts.
void RunThousandHostRound(benchmark::State& state, int family) {
  if (SkipWithoutTunNetwork(state)) return;
  testnet::TunResponder& responder = *Network().responder;
  if (!testnet::TunResponder::SetQueueLength(static_cast<int>(state.range(0)))) {
    state.SkipWithError("the tun device's queue length cannot be set");
    return;
  }
  responder.SetDrainRate(static_cast<double>(state.range(1)));
  const std::size_t requestsBefore = responder.RequestCount();
  double wallMs = 0;
  double answered = 0;
  for (auto _ : state) {
    const ConcurrentRun run = RunConcurrently(kRoundHosts, [family](int host) {
      return PingHost(RoundHost(host, family), kProbeTimeoutMs);
    });
    state.SetIterationTime(run.wall.count());
    wallMs += run.wall.count() * 1000;
    answered += Share(run.results, [](int ms) { return ms >= 0; }) * kRoundHosts;
  }
  const double iterations = static_cast<double>(state.iterations());
  state.counters["round_ms"] = wallMs / iterations;
  state.counters["answered"] = answered / iterations;
  state.counters["extra_requests"] =
      static_cast<double>(responder.RequestCount() - requestsBefore) / iterations - kRoundHosts;
  std::string command = "LC_ALL=C fping -C 1 -q -i1 -t " + std::to_string(kProbeTimeoutMs);
  for (int host = 0; host < kRoundHosts; ++host) {
    command.append(" ").append(RoundHost(host, family));
  }
  const auto start = steady_clock::now();
  // A lost echo prints "-", which is no number: only answers are counted.
  const std::vector<double> fpingTimes = TimesPrinted(command + " 2>&1", " : ");
  state.counters["fping_round_ms"] =
      duration<double, std::milli>(steady_clock::now() - start).count();
  state.counters["fping_answered"] = static_cast<double>(fpingTimes.size());
  testnet::TunResponder::SetQueueLength(testnet::kDefaultTunQueueLength);
  responder.SetDrainRate(testnet::LinkDrain::kFastLink);
}

void ThousandHostRound(benchmark::State& state) { RunThousandHostRound(state, 4); }
BENCHMARK(ThousandHostRound)
    ->ArgsProduct({{testnet::kDefaultTunQueueLength, 64, 20000},
                   {static_cast<std::int64_t>(testnet::LinkDrain::kFastLink),
                    static_cast<std::int64_t>(testnet::LinkDrain::kSlowHost)}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

// The same round to 1,000 IPv6 hosts, on the default queue and link.
void ThousandIpv6HostRound(benchmark::State& state) { RunThousandHostRound(state, 6); }
BENCHMARK(ThousandIpv6HostRound)
    ->Args({testnet::kDefaultTunQueueLength,
            static_cast<std::int64_t>(testnet::LinkDrain::kFastLink)})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace
}  // namespace vardelle

int main(int argc, char** argv) {
  vardelle::BuildNetwork();
  if (!vardelle::Network().unavailable.empty()) {
    std::fprintf(stderr, "ping_bench: %s\n", vardelle::Network().unavailable.c_str());
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

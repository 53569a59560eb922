// vardelle-ping: the table's latency probe on the command line. Probes every host at once,
// round after round, and prints one line per probe: HOST ADDRESS RTT. With --serve it is the
// echo helper of the window and the headless runs (runtime/probes/echo_pipe.h): the package
// gives only this program CAP_NET_RAW, so it loads no plugin, sets no locale and reads no
// environment variable of its own; it bounds what any user may make it send.
#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <climits>
#include <cstdio>
#include <latch>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_set>
#include <vector>

#include "runtime/platform.h"
#include "runtime/probes/echo_pace.h"
#include "runtime/probes/echo_pipe.h"
#include "runtime/probes/echo_probes.h"
#include "runtime/probes/network_probes.h"

namespace {

constexpr int kUsageError = 2;
constexpr int kMostRounds = 100;
constexpr std::size_t kMostHosts = 10000;
constexpr auto kRoundPeriod = std::chrono::seconds(1);
// Look-ups block, so a few threads share them; the echoes themselves go out from the echo
// engine's one thread, in paced windows that the interface's queue can take.
constexpr std::size_t kMostResolvers = 8;

constexpr char kUsage[] =
    "usage: vardelle-ping [--timeout MS] [--count N] [--] HOST...\n"
    "       vardelle-ping --serve\n"
    "       vardelle-ping --help | --version\n"
    "Sends one ICMP echo request to every HOST at once, N rounds (1 to 100, default 1) one\n"
    "second apart, and prints a line per probe: HOST ADDRESS RTT, with ADDRESS the address\n"
    "probed (an IPv4 or IPv6 address as given; for a name its first IPv4 address, else its\n"
    "first IPv6 one; - when it has none) and RTT in whole milliseconds or -1.\n"
    "A HOST given more than once is probed and printed once, where it first appears; at\n"
    "most 10000 different hosts. -- ends the options, for a HOST that begins with -.\n"
    "MS is the time-out per probe (default 10000). A user other than root sends at most\n"
    "20000 echo requests a second. Exit status 0 when every probe was answered, 1\n"
    "otherwise, 2 for bad arguments.\n"
    "--serve answers echo requests read from standard input, a line each, for the vardelle\n"
    "program (see vardelle-ping(1)).\n";

struct Options {
  std::optional<int> timeoutMs;  // left out: the probe's own default
  int rounds = 1;
  std::vector<std::string> hosts;  // each once, in the order first given
};

struct Probe {
  std::string address;
  int roundTripMs = -1;
};

// A whole decimal number in [minimum, maximum], read the same whatever the locale.
std::optional<int> ParseCount(std::string_view text, int minimum, int maximum) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < minimum ||
      value > maximum) {
    return std::nullopt;
  }
  return value;
}

// Reads the value of --timeout or --count at arguments[i + 1]; false (with the complaint
// printed) when it is missing or out of range.
bool ParseOptionValue(const std::vector<std::string>& arguments, std::size_t& i, Options& options) {
  const bool isTimeout = arguments[i] == "--timeout";
  const std::optional<int> value =
      i + 1 < arguments.size()
          ? ParseCount(arguments[++i], isTimeout ? 0 : 1, isTimeout ? INT_MAX : kMostRounds)
          : std::nullopt;
  if (!value) {
    std::fprintf(stderr, "vardelle-ping: %s needs a whole number%s\n",
                 isTimeout ? "--timeout" : "--count",
                 isTimeout ? " of milliseconds, 0 or more" : " from 1 to 100");
    return false;
  }
  if (isTimeout) {
    options.timeoutMs = *value;
  } else {
    options.rounds = *value;
  }
  return true;
}

// The options, or nothing (with the complaint printed) when the arguments are not usable.
std::optional<Options> ParseArguments(const std::vector<std::string>& arguments) {
  Options options;
  std::unordered_set<std::string> seen;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (!optionsEnded && argument == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && (argument == "--timeout" || argument == "--count")) {
      if (!ParseOptionValue(arguments, i, options)) return std::nullopt;
    } else if (!optionsEnded && argument.starts_with("-")) {
      std::fprintf(stderr, "vardelle-ping: unknown option %s\n", argument.c_str());
      return std::nullopt;
    } else if (seen.insert(argument).second) {
      options.hosts.emplace_back(argument);
    }
  }
  if (options.hosts.empty()) {
    std::fprintf(stderr, "vardelle-ping: no host given\n");
    return std::nullopt;
  }
  if (options.hosts.size() > kMostHosts) {
    std::fprintf(stderr, "vardelle-ping: at most %zu different hosts, not %zu\n", kMostHosts,
                 options.hosts.size());
    return std::nullopt;
  }
  return options;
}

// Every host's first address, looked up once a round, so the printed address is the probed one.
void ResolveAll(vardelle::EchoProbes& engine, const Options& options, std::vector<Probe>& probes) {
  std::atomic<std::size_t> next{0};
  const auto resolve = [&] {
    for (std::size_t i = next++; i < probes.size(); i = next++) {
      probes[i].address = engine.Resolve(options.hosts[i]);
    }
  };
  std::vector<std::thread> resolvers;
  const std::size_t count = std::min(kMostResolvers, probes.size());
  for (std::size_t i = 1; i < count; ++i) resolvers.emplace_back(resolve);
  resolve();
  for (std::thread& resolver : resolvers) resolver.join();
}

std::vector<Probe> ProbeAllAtOnce(vardelle::EchoProbes& engine, const Options& options,
                                  std::optional<vardelle::EchoPace>& pace) {
  std::vector<Probe> probes(options.hosts.size());
  ResolveAll(engine, options, probes);
  std::latch ended(static_cast<std::ptrdiff_t>(probes.size()));
  const int timeoutMs = options.timeoutMs.value_or(vardelle::kDefaultPingTimeoutMs);
  for (Probe& probe : probes) {
    if (probe.address.empty()) {
      ended.count_down();
      continue;
    }
    if (pace) pace->Take();
    engine.Send(probe.address, timeoutMs, [&probe, &ended](int roundTripMs) {
      probe.roundTripMs = roundTripMs;
      ended.count_down();
    });
  }
  ended.wait();
  return probes;
}

// Prints in the C locale, which this program never leaves: no digit grouping, ASCII digits.
bool PrintRound(const Options& options, const std::vector<Probe>& probes) {
  bool allAnswered = true;
  for (std::size_t i = 0; i < probes.size(); ++i) {
    const std::string& address = probes[i].address;
    std::printf("%s %s %d\n", options.hosts[i].c_str(), address.empty() ? "-" : address.c_str(),
                probes[i].roundTripMs);
    allAnswered = allAnswered && probes[i].roundTripMs >= 0;
  }
  std::fflush(stdout);
  return allAnswered;
}

// Root may send as fast as the engine goes; anyone else at the unprivileged pace.
std::optional<vardelle::EchoPace> PaceForCaller() {
  if (vardelle::RealUserIsRoot()) return std::nullopt;
  return vardelle::EchoPace(vardelle::kUnprivilegedEchoesPerSecond,
                            vardelle::kUnprivilegedEchoBurst, vardelle::EchoPace::Clock::now());
}

int ProbeHosts(const Options& options) {
  vardelle::EchoProbes engine(vardelle::StartInProcessIcmpEngine, vardelle::CreateSystemResolver());
  const std::string unavailable = engine.UnavailableReason();
  if (!unavailable.empty()) {
    std::fprintf(stderr, "vardelle-ping: %s\n", unavailable.c_str());
  }
  std::optional<vardelle::EchoPace> pace = PaceForCaller();
  bool allAnswered = true;
  for (int round = 0; round < options.rounds; ++round) {
    const auto started = std::chrono::steady_clock::now();
    allAnswered = PrintRound(options, ProbeAllAtOnce(engine, options, pace)) && allAnswered;
    if (round + 1 < options.rounds) {
      std::this_thread::sleep_until(started + kRoundPeriod);
    }
  }
  engine.Stop();
  return allAnswered ? 0 : 1;
}

// The helper's side of the echo pipe.
int Serve() {
  vardelle::IcmpEngineStart start = vardelle::StartInProcessIcmpEngine();
  if (!start.engine) {
    std::printf("%s%s\n", std::string(vardelle::kEchoPipeUnavailable).c_str(),
                start.unavailableReason.c_str());
    return 1;
  }
  std::printf("%s\n", std::string(vardelle::kEchoPipeReady).c_str());
  std::fflush(stdout);
  vardelle::ServeEchoPipe(*start.engine, stdin, stdout, PaceForCaller());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  vardelle::WriteStandardStreamsAsBytes();
  const std::vector<std::string> arguments = vardelle::ProgramArguments(argc, argv);
  if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (arguments.size() == 1 && arguments[0] == "--version") {
    std::fputs("vardelle-ping " VARDELLE_VERSION "\n", stdout);
    return 0;
  }
  if (arguments.size() == 1 && arguments[0] == "--serve") {
    return Serve();
  }
  const std::optional<Options> options = ParseArguments(arguments);
  if (!options) {
    std::fputs(kUsage, stderr);
    return kUsageError;
  }
  return ProbeHosts(*options);
}

// vardelle-ping: the table's latency probe on the command line. Probes every host at once,
// round after round, and prints one line per probe: HOST ADDRESS RTT.
#include <algorithm>
#include <atomic>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <latch>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "runtime/platform.h"
#include "runtime/probes/network_probes.h"

namespace {

constexpr int kUsageError = 2;
constexpr auto kRoundPeriod = std::chrono::seconds(1);
// Look-ups block, so a few threads share them; the echoes themselves all go out at once from
// the echo engine's one thread.
constexpr std::size_t kMostResolvers = 8;

constexpr char kUsage[] =
    "usage: vardelle-ping [--timeout MS] [--count N] HOST...\n"
    "       vardelle-ping --help | --version\n"
    "Sends one ICMP echo request to every HOST at once, N rounds (default 1) one second\n"
    "apart, and prints a line per probe: HOST ADDRESS RTT, with ADDRESS the first IPv4\n"
    "address probed (- when the name has none) and RTT in whole milliseconds or -1.\n"
    "MS is the time-out per probe (default 10000). Exit status 0 when every probe was\n"
    "answered, 1 otherwise, 2 for bad arguments.\n";

struct Options {
  std::optional<int> timeoutMs;  // left out: the probe's own default
  int rounds = 1;
  std::vector<std::string> hosts;
};

struct Probe {
  std::string address;
  int roundTripMs = -1;
};

// A whole decimal number in [minimum, INT_MAX], read the same whatever the locale.
std::optional<int> ParseCount(std::string_view text, int minimum) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < minimum) {
    return std::nullopt;
  }
  return value;
}

// The options, or nothing (with the complaint printed) when the arguments are not usable.
std::optional<Options> ParseArguments(const std::vector<std::string>& arguments) {
  Options options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const bool isTimeout = argument == "--timeout";
    if (isTimeout || argument == "--count") {
      const std::optional<int> value = i + 1 < arguments.size()
                                           ? ParseCount(arguments[++i], isTimeout ? 0 : 1)
                                           : std::nullopt;
      if (!value) {
        std::fprintf(stderr, "vardelle-ping: %s needs a whole number%s\n", argument.c_str(),
                     isTimeout ? " of milliseconds, 0 or more" : ", 1 or more");
        return std::nullopt;
      }
      if (isTimeout) {
        options.timeoutMs = *value;
      } else {
        options.rounds = *value;
      }
    } else if (argument.starts_with("-")) {
      std::fprintf(stderr, "vardelle-ping: unknown option %s\n", argument.c_str());
      return std::nullopt;
    } else {
      options.hosts.emplace_back(argument);
    }
  }
  if (options.hosts.empty()) {
    std::fprintf(stderr, "vardelle-ping: no host given\n");
    return std::nullopt;
  }
  return options;
}

// Every host's first address, looked up once a round, so the printed address is the probed one.
void ResolveAll(const Options& options, std::vector<Probe>& probes) {
  std::atomic<std::size_t> next{0};
  const auto resolve = [&] {
    for (std::size_t i = next++; i < probes.size(); i = next++) {
      probes[i].address = vardelle::ResolveHostAddress(options.hosts[i]);
    }
  };
  std::vector<std::thread> resolvers;
  const std::size_t count = std::min(kMostResolvers, probes.size());
  for (std::size_t i = 1; i < count; ++i) resolvers.emplace_back(resolve);
  resolve();
  for (std::thread& resolver : resolvers) resolver.join();
}

std::vector<Probe> ProbeAllAtOnce(const Options& options) {
  std::vector<Probe> probes(options.hosts.size());
  ResolveAll(options, probes);
  std::latch ended(static_cast<std::ptrdiff_t>(probes.size()));
  const int timeoutMs = options.timeoutMs.value_or(vardelle::kDefaultPingTimeoutMs);
  for (Probe& probe : probes) {
    if (probe.address.empty()) {
      ended.count_down();
      continue;
    }
    vardelle::SendPing(probe.address, timeoutMs, [&probe, &ended](int roundTripMs) {
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

}  // namespace

int main(int argc, char** argv) {
  vardelle::InitializeRuntimePlatform();
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
  const std::optional<Options> options = ParseArguments(arguments);
  if (!options) {
    std::fputs(kUsage, stderr);
    return kUsageError;
  }
  const std::string unavailable = vardelle::ProbeUnavailableReason();
  if (!unavailable.empty()) {
    std::fprintf(stderr, "vardelle-ping: %s\n", unavailable.c_str());
  }
  bool allAnswered = true;
  for (int round = 0; round < options->rounds; ++round) {
    const auto started = std::chrono::steady_clock::now();
    allAnswered = PrintRound(*options, ProbeAllAtOnce(*options)) && allAnswered;
    if (round + 1 < options->rounds) {
      std::this_thread::sleep_until(started + kRoundPeriod);
    }
  }
  vardelle::StopProbes();
  return allAnswered ? 0 : 1;
}

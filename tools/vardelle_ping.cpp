// vardelle-ping: the table's latency probe on the command line. Probes every host at once,
// round after round, and prints one line per probe: HOST ADDRESS RTT.
#include <charconv>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "runtime/probes/network_probes.h"

namespace {

constexpr int kUsageError = 2;
constexpr auto kRoundPeriod = std::chrono::seconds(1);

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
std::optional<Options> ParseArguments(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    const bool isTimeout = argument == "--timeout";
    if (isTimeout || argument == "--count") {
      const std::optional<int> value =
          i + 1 < argc ? ParseCount(argv[++i], isTimeout ? 0 : 1) : std::nullopt;
      if (!value) {
        std::fprintf(stderr, "vardelle-ping: %s needs a whole number%s\n", argv[i - 1],
                     isTimeout ? " of milliseconds, 0 or more" : ", 1 or more");
        return std::nullopt;
      }
      if (isTimeout) {
        options.timeoutMs = *value;
      } else {
        options.rounds = *value;
      }
    } else if (argument.starts_with("-")) {
      std::fprintf(stderr, "vardelle-ping: unknown option %s\n", argv[i]);
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

// Resolves once and probes what was resolved, so that the printed address is the probed one.
Probe ProbeHost(const std::string& host, const std::optional<int>& timeoutMs) {
  Probe probe{vardelle::ResolveHostAddress(host)};
  if (!probe.address.empty()) {
    probe.roundTripMs = timeoutMs ? vardelle::PingHost(probe.address, *timeoutMs)
                                  : vardelle::PingHost(probe.address);
  }
  return probe;
}

std::vector<Probe> ProbeAllAtOnce(const Options& options) {
  std::vector<Probe> probes(options.hosts.size());
  std::vector<std::thread> workers;
  workers.reserve(options.hosts.size());
  for (std::size_t i = 0; i < options.hosts.size(); ++i) {
    workers.emplace_back([&, i] { probes[i] = ProbeHost(options.hosts[i], options.timeoutMs); });
  }
  for (std::thread& worker : workers) worker.join();
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
  if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc == 2 && std::string_view(argv[1]) == "--version") {
    std::fputs("vardelle-ping " VARDELLE_VERSION "\n", stdout);
    return 0;
  }
  const std::optional<Options> options = ParseArguments(argc, argv);
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
  return allAnswered ? 0 : 1;
}

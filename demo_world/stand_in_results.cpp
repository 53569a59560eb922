#include "demo_world/stand_in_results.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

namespace vardelle::demo::stand_in {

// As JavaScript writes numbers: whole ones without a fraction.
Json Number(double value) {
  if (std::trunc(value) == value) return static_cast<long long>(value);
  return value;
}

namespace {

constexpr int kTtl = 55;
constexpr int kPacketIntervalMs = 500;

std::string Millis(double value) {
  char text[32];
  const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 3);
  return {text, written.ptr};
}

double Deviation(const std::vector<double>& rtts) {
  double sum = 0, squares = 0;
  for (double rtt : rtts) {
    sum += rtt;
    squares += rtt * rtt;
  }
  const auto count = static_cast<double>(rtts.size());
  return std::sqrt(std::max(squares / count - (sum / count) * (sum / count), 0.0));
}

// The first reply is the quickest and the last the slowest; those between take the average.
std::vector<double> Rtts(const Figures& figures, int received) {
  std::vector<double> rtts(static_cast<size_t>(std::max(received, 0)), figures.avg);
  if (rtts.size() > 1) {
    rtts.front() = figures.min;
    rtts.back() = figures.max;
  }
  return rtts;
}

// ping's own text (iputils, as the probes run it), which the probe's figures are read from.
std::string PingOutput(const Figures& figures, const PingShot& shot,
                       const std::vector<double>& rtts) {
  std::string text = "PING " + shot.target + " (" + shot.address + ") 56(84) bytes of data.\n";
  for (size_t reply = 0; reply < static_cast<size_t>(shot.packets); ++reply) {
    const std::string sequence = "icmp_seq=" + std::to_string(reply + 1);
    text += reply < rtts.size() ? "64 bytes from " + shot.address + ": " + sequence +
                                      " ttl=" + std::to_string(kTtl) +
                                      " time=" + Number(rtts[reply]).dump() + " ms\n"
                                : "no answer yet for " + sequence + "\n";
  }
  text += "\n--- " + shot.target + " ping statistics ---\n" + std::to_string(shot.packets) +
          " packets transmitted, " + std::to_string(rtts.size()) + " received, " +
          Number(figures.loss).dump() + "% packet loss, time " +
          std::to_string((shot.packets - 1) * kPacketIntervalMs) + "ms";
  if (rtts.empty()) return text;
  return text + "\nrtt min/avg/max/mdev = " + Millis(figures.min) + "/" + Millis(figures.avg) +
         "/" + Millis(figures.max) + "/" + Millis(Deviation(rtts)) + " ms";
}

// The canned loss in whole packets: rounded up, so that any loss drops one, yet short of all
// unless the loss is total.
int DroppedPackets(const Figures& figures, int packets) {
  if (figures.loss >= 100) return packets;
  return std::min(static_cast<int>(std::ceil(packets * figures.loss / 100)), packets - 1);
}

Json FinishedResult(const Figures& figures, const PingShot& shot) {
  const int dropped = DroppedPackets(figures, shot.packets);
  const std::vector<double> rtts = Rtts(figures, shot.packets - dropped);
  const auto figure = [&](double value) { return rtts.empty() ? Json(nullptr) : Number(value); };
  Json timings = Json::array();
  for (double rtt : rtts) timings.push_back({{"ttl", kTtl}, {"rtt", Number(rtt)}});
  const Json stats = {{"min", figure(figures.min)},
                      {"max", figure(figures.max)},
                      {"avg", figure(figures.avg)},
                      {"total", shot.packets},
                      {"loss", Number(figures.loss)},
                      {"rcv", rtts.size()},
                      {"drop", dropped}};
  return {{"status", "finished"},
          {"rawOutput", PingOutput(figures, shot, rtts)},
          {"resolvedAddress", shot.address},
          {"resolvedHostname", rtts.empty() ? Json(nullptr) : Json(shot.address)},
          {"timings", timings},
          {"stats", stats}};
}

// When ping itself fails the probe parses nothing from its words: every figure is null.
Json FailedResult() {
  Json stats = Json::object();
  for (const char* figure : {"min", "max", "avg", "total", "loss", "rcv", "drop"}) {
    stats[figure] = nullptr;
  }
  return {{"status", "failed"},         {"rawOutput", "ping: connect: Network is unreachable"},
          {"resolvedAddress", nullptr}, {"resolvedHostname", nullptr},
          {"timings", Json::array()},   {"stats", stats}};
}

}  // namespace

Json ProbeJson(const CannedProbe& probe) {
  return {{"continent", probe.area.continent},
          {"region", probe.area.region},
          {"country", probe.country},
          {"state", probe.state ? Json(probe.state) : Json(nullptr)},
          {"city", Utf8(probe.city)},
          {"asn", probe.asn},
          {"longitude", 0},
          {"latitude", 0},
          {"network", Utf8(probe.network)},
          {"tags", Json::array()},
          {"resolvers", Json::array({"private"})}};
}

Json ResultJson(const CannedProbe& probe, bool done, const PingShot& shot) {
  if (!done) return {{"status", "in-progress"}, {"rawOutput", ""}};
  return probe.fails ? FailedResult() : FinishedResult(probe.figures, shot);
}

}  // namespace vardelle::demo::stand_in

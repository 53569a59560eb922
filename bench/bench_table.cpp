// Prints the benchmarks' figures as one table, each beside its reference from the same run:
// bench_table RESULT.json... where every file is a benchmark's --benchmark_out (JSON). A
// figure whose benchmark was skipped says why ("needs root" when that is the reason); one
// whose benchmark left no result says so.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

namespace {

using nlohmann::json;

// A benchmark's entry by name as Google Benchmark writes it ("TunDelayAccuracy/5/iterations:10").
using Results = std::map<std::string, json>;

// One number of the table: a field of a benchmark's entry times scale, or, without a
// benchmark, scale itself. "real_time" is read in nanoseconds whatever unit the entry uses.
struct Figure {
  Figure(std::string benchmarkName, std::string fieldName, double factor = 1,
         std::string prefix = "")
      : benchmark(std::move(benchmarkName)),
        field(std::move(fieldName)),
        scale(factor),
        label(std::move(prefix)) {}
  std::string benchmark;
  std::string field;
  double scale;
  std::string label;  // written before the number, for a reference of several parts
};

struct Row {
  std::string measurement;
  Figure ours;
  std::vector<Figure> reference;
  std::string note;
};

Figure Fixed(double value, std::string label) { return {"", "", value, std::move(label)}; }

constexpr double kToUs = 1e-3;
constexpr double kToMs = 1e-6;

// The JSON reader's rows and the echo engine's.
std::vector<Row> ReaderAndProbeRows() {
  return {
      {"JSON read: server list, 30 entries",
       {"ReaderServerList/30", "real_time", kToUs},
       {{"NlohmannServerList/30", "real_time", kToUs}},
       "us per document (parse, read all); ref: nlohmann::json"},
      {"JSON read: server list, 1,000 entries",
       {"ReaderServerList/1000", "real_time", kToUs},
       {{"NlohmannServerList/1000", "real_time", kToUs}},
       "us per document"},
      {"JSON read: server list, 10,000 entries",
       {"ReaderServerList/10000", "real_time", kToUs},
       {{"NlohmannServerList/10000", "real_time", kToUs}},
       "us per document"},
      {"JSON read speed: server list, 10,000 entries",
       {"ReaderServerList/10000", "bytes_per_second", 1e-6},
       {{"NlohmannServerList/10000", "bytes_per_second", 1e-6}},
       "MB/s of input (ours GBK, nlohmann UTF-8)"},
      {"JSON read: location answer",
       {"ReaderLocation", "real_time", kToUs},
       {{"NlohmannLocation", "real_time", kToUs}},
       "us per document"},
      {"JSON read: status-service answer",
       {"ReaderStatus", "real_time", kToUs},
       {{"NlohmannStatus", "real_time", kToUs}},
       "us per document"},
      {"JSON memory: server list, 10,000 entries",
       {"ReaderServerList/10000", "heap_per_input_byte"},
       {{"NlohmannServerList/10000", "heap_per_input_byte"}},
       "peak heap bytes per input byte"},
      {"JSON memory: location answer",
       {"ReaderLocation", "heap_per_input_byte"},
       {{"NlohmannLocation", "heap_per_input_byte"}},
       "peak heap bytes per input byte"},
      {"JSON memory: status-service answer",
       {"ReaderStatus", "heap_per_input_byte"},
       {{"NlohmannStatus", "heap_per_input_byte"}},
       "peak heap bytes per input byte"},
      {"offline location look-up",
       {"OfflineLocationLookUp", "real_time", kToUs},
       {Fixed(10, "aim ")},
       "us per address (683,591 ranges, line in GBK)"},
      {"echo error, 5 ms host",
       {"TunDelayAccuracy/5", "exact_err_ms"},
       {{"TunDelayAccuracy/5", "ping_err_ms", 1, "ping "},
        {"TunDelayAccuracy/5", "fping_err_ms", 1, "fping "}},
       "ms, mean |time - delay| of 10 echoes (tun)"},
      {"echo error, 20 ms host",
       {"TunDelayAccuracy/20", "exact_err_ms"},
       {{"TunDelayAccuracy/20", "ping_err_ms", 1, "ping "},
        {"TunDelayAccuracy/20", "fping_err_ms", 1, "fping "}},
       "ms, as above"},
      {"echo error, 100 ms host",
       {"TunDelayAccuracy/100", "exact_err_ms"},
       {{"TunDelayAccuracy/100", "ping_err_ms", 1, "ping "},
        {"TunDelayAccuracy/100", "fping_err_ms", 1, "fping "}},
       "ms; ping, fping round to whole ms here"},
      {"IPv6 echo error, 5 ms host",
       {"TunIpv6DelayAccuracy/5", "exact_err_ms"},
       {{"TunDelayAccuracy/5", "exact_err_ms", 1, "IPv4 "},
        {"TunIpv6DelayAccuracy/5", "ping_err_ms", 1, "ping "}},
       "ms, mean |time - delay| of 10 ICMPv6 echoes (tun)"},
      {"IPv6 echo error, 100 ms host",
       {"TunIpv6DelayAccuracy/100", "exact_err_ms"},
       {{"TunDelayAccuracy/100", "exact_err_ms", 1, "IPv4 "},
        {"TunIpv6DelayAccuracy/100", "ping_err_ms", 1, "ping "}},
       "ms, as above"},
      {"1,000-host round (20 ms hosts)",
       {"ThousandHostRound/500/148800", "round_ms"},
       {{"ThousandHostRound/500/148800", "fping_round_ms", 1, "fping -i1 "}},
       "ms wall, one echo per host (tun, queue 500, 100 Mbit/s)"},
      {"1,000-host round: answers",
       {"ThousandHostRound/500/148800", "answered"},
       {{"ThousandHostRound/500/148800", "fping_answered", 1, "fping "}},
       "hosts answered of 1,000"},
      {"1,000-host IPv6 round (20 ms hosts)",
       {"ThousandIpv6HostRound/500/148800", "round_ms"},
       {{"ThousandHostRound/500/148800", "round_ms", 1, "IPv4 "},
        {"ThousandIpv6HostRound/500/148800", "fping_round_ms", 1, "fping -i1 "}},
       "ms wall, one ICMPv6 echo per host (tun, queue 500, 100 Mbit/s)"},
      {"1,000-host IPv6 round: answers",
       {"ThousandIpv6HostRound/500/148800", "answered"},
       {{"ThousandIpv6HostRound/500/148800", "fping_answered", 1, "fping "}},
       "hosts answered of 1,000"},
      {"1,000-host round, slow host, queue 500",
       {"ThousandHostRound/500/10000", "round_ms"},
       {{"ThousandHostRound/20000/10000", "round_ms", 1, "queue 20,000 "}},
       "ms wall, host taking 10,000 packets/s: what pacing costs"},
      {"1,000-host round, slow host, queue 64",
       {"ThousandHostRound/64/10000", "round_ms"},
       {{"ThousandHostRound/20000/10000", "round_ms", 1, "queue 20,000 "}},
       "ms wall"},
      {"1,000-host round, slow host: answers",
       {"ThousandHostRound/64/10000", "answered"},
       {{"ThousandHostRound/500/10000", "answered", 1, "queue 500 "}},
       "hosts answered of 1,000 at queue 64"},
      {"1,000-host round, slow host: echoes sent again",
       {"ThousandHostRound/64/10000", "extra_requests"},
       {{"ThousandHostRound/500/10000", "extra_requests", 1, "queue 500 "}},
       "after the device dropped some of a window, at queue 64"},
      {"1,000 probes over 5/20/100 ms hosts",
       {"ThousandConcurrentTunProbes", "real_time", kToMs},
       {Fixed(100, "slowest delay ")},
       "ms wall (tun)"},
      {"1,000 loopback probes at once",
       {"ConcurrentLoopbackProbes/1000", "real_time", kToMs},
       {{"ConcurrentWakeBaseline/1000", "real_time", kToMs, "threads alone "}},
       "ms wall"},
      {"5,000 loopback probes at once",
       {"ConcurrentLoopbackProbes/5000", "real_time", kToMs},
       {{"ConcurrentWakeBaseline/5000", "real_time", kToMs, "threads alone "}},
       "ms wall"},
  };
}

// 10000 as "10,000".
std::string WithThousands(int count) {
  const std::string digits = std::to_string(count);
  std::string text;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text += ',';
    text += digits[i];
  }
  return text;
}

// A whole test run over count servers on the tun network (TestRunOverTun/COUNT), against
// aims for its time past the slowest probe: the median run's and every run's.
std::vector<Row> TestRunRows(int count, double medianAimMs, double eachAimMs) {
  const std::string benchmark = "TestRunOverTun/" + std::to_string(count);
  const std::string name = "test run, " + WithThousands(count) + " servers";
  return {
      {name + " (2-251 ms)",
       {benchmark, "run_ms"},
       {{benchmark, "slowest_probe_ms", 1, "slowest probe "},
        {benchmark, "fping_ms", 1, "fping -i1 "}},
       "ms, start to last row written (tun)"},
      {name + ": past slowest probe",
       {benchmark, "over_slowest_median_ms"},
       {Fixed(medianAimMs, "aim ")},
       "ms, run time - slowest probe's delay, median of 5 runs"},
      {name + ": past slowest, slowest run",
       {benchmark, "over_slowest_max_ms"},
       {Fixed(eachAimMs, "aim under ")},
       "ms, the slowest of the 5 runs"},
      {name + ": answers",
       {benchmark, "answered"},
       {Fixed(count, "hosts "), {benchmark, "fping_answered", 1, "fping "}},
       "rows with a time"},
      {name + ": peak threads",
       {benchmark, "peak_threads"},
       {{benchmark, "threads_before", 1, "before the run "}},
       "threads, whole process (sampled every ms)"},
      {name + ": peak memory",
       {benchmark, "peak_MiB"},
       {{benchmark, "resident_before_MiB", 1, "before the run "}},
       "MiB resident, whole process"},
  };
}

// The window during count-row loopback runs (WindowDuringRun/COUNT).
std::vector<Row> WindowRows(int count) {
  const std::string benchmark = "WindowDuringRun/" + std::to_string(count);
  const std::string rows = WithThousands(count) + " rows";
  return {
      {"window, " + rows + ": longest event-loop block",
       {benchmark, "longest_blocked_ms"},
       {Fixed(20, "aim ")},
       "ms, during " + WithThousands(count) + "-row loopback runs"},
      {"window, " + rows + ": peak memory",
       {benchmark, "peak_MiB"},
       {{benchmark, "resident_before_MiB", 1, "before the run "}},
       "MiB resident, whole process (offscreen)"},
  };
}

const std::vector<Row>& TableRows() {
  static const std::vector<Row> rows = [] {
    std::vector<Row> all = ReaderAndProbeRows();
    for (const std::vector<Row>& group : {TestRunRows(1000, 20, 50), TestRunRows(10000, 50, 100),
                                          WindowRows(1000), WindowRows(10000)}) {
      all.insert(all.end(), group.begin(), group.end());
    }
    return all;
  }();
  return rows;
}

// Every entry of every readable result file; unreadable files add nothing, so their rows
// say "no result".
Results ReadResults(int count, char** paths) {
  Results results;
  for (int i = 0; i < count; ++i) {
    std::ifstream file(paths[i]);
    const json document = json::parse(file, nullptr, false);
    if (!document.is_object() || !document.contains("benchmarks")) continue;
    for (const json& entry : document["benchmarks"]) {
      if (entry.is_object() && entry.value("run_type", std::string()) == "iteration") {
        results[entry.value("name", std::string())] = entry;
      }
    }
  }
  return results;
}

// The entry named benchmark, or one whose name goes on after it with "/" (the iteration
// count and time mode Google Benchmark appends).
const json* Find(const Results& results, const std::string& benchmark) {
  for (auto found = results.lower_bound(benchmark);
       found != results.end() && found->first.starts_with(benchmark); ++found) {
    if (found->first.size() == benchmark.size() || found->first[benchmark.size()] == '/') {
      return &found->second;
    }
  }
  return nullptr;
}

double NanosecondsPerUnit(const std::string& unit) {
  static const std::map<std::string, double> kScale = {
      {"ns", 1}, {"us", 1e3}, {"ms", 1e6}, {"s", 1e9}};
  const auto found = kScale.find(unit);
  return found == kScale.end() ? 1 : found->second;
}

// Three significant figures or so; a whole number (a count) as it is.
std::string Number(double value) {
  const double size = std::abs(value);
  const char* format = size >= 100 || value == std::round(value) ? "%.0f"
                       : size >= 10                              ? "%.1f"
                                                                 : "%.2f";
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// Why a benchmark gave no figure, shortened to "needs root" when that is the reason.
std::string Missing(const json* entry) {
  if (entry == nullptr) return "no result";
  const std::string why = entry->value("error_message", std::string("skipped"));
  return why.find("root") != std::string::npos ? "needs root" : why;
}

std::string Cell(const Results& results, const Figure& figure) {
  if (figure.benchmark.empty()) return figure.label + Number(figure.scale);
  const json* entry = Find(results, figure.benchmark);
  if (entry == nullptr || entry->value("error_occurred", false)) return Missing(entry);
  if (!entry->contains(figure.field) || !(*entry)[figure.field].is_number()) return "no result";
  double value = (*entry)[figure.field].get<double>() * figure.scale;
  if (figure.field == "real_time") value *= NanosecondsPerUnit(entry->value("time_unit", "ns"));
  return figure.label + Number(value);
}

std::string ReferenceCell(const Results& results, const std::vector<Figure>& reference) {
  std::string cell;
  for (const Figure& figure : reference) {
    const std::string part = Cell(results, figure);
    if (cell.find(part) != std::string::npos) continue;  // one "needs root" for all parts
    cell += (cell.empty() ? "" : ", ") + part;
  }
  return cell.empty() ? "-" : cell;
}

void PrintTable(const std::vector<std::vector<std::string>>& lines) {
  std::vector<std::size_t> widths(lines.front().size(), 0);
  for (const auto& line : lines) {
    for (std::size_t i = 0; i < line.size(); ++i) widths[i] = std::max(widths[i], line[i].size());
  }
  const auto print = [&](const std::vector<std::string>& line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
      std::printf("| %-*s ", static_cast<int>(widths[i]), line[i].c_str());
    }
    std::printf("|\n");
  };
  print(lines.front());
  std::vector<std::string> rule;
  for (const std::size_t width : widths) rule.push_back(std::string(width, '-'));
  print(rule);
  std::for_each(lines.begin() + 1, lines.end(), print);
}

}  // namespace

int main(int argc, char** argv) {
  const Results results = ReadResults(argc - 1, argv + 1);
  std::vector<std::vector<std::string>> lines = {
      {"measurement", "ours", "reference", "unit, note"}};
  for (const Row& row : TableRows()) {
    lines.push_back({row.measurement, Cell(results, row.ours),
                     ReferenceCell(results, row.reference), row.note});
  }
  PrintTable(lines);
  return 0;
}

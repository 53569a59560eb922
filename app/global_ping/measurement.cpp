#include "app/global_ping/measurement.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <nlohmann/json.hpp>

#include "support/text/text_codec.h"

namespace vardelle {
namespace {

using nlohmann::json;

std::optional<json> ParseObject(std::string_view utf8Json) {
  json document = json::parse(utf8Json, nullptr, false);
  if (document.is_discarded() || !document.is_object()) return std::nullopt;
  return document;
}

std::string TextMember(const json& object, const char* name) {
  const auto found = object.find(name);
  return found != object.end() && found->is_string() ? found->get<std::string>() : std::string();
}

std::optional<double> NumberMember(const json& object, const char* name) {
  const auto found = object.find(name);
  if (found == object.end() || !found->is_number()) return std::nullopt;
  return found->get<double>();
}

// A whole number from 0 to most; nothing for any other value, which no cast could hold.
std::optional<std::uint64_t> WholeMember(const json& object, const char* name, std::uint64_t most) {
  const auto found = object.find(name);
  if (found == object.end() || !found->is_number_unsigned()) return std::nullopt;
  const auto value = found->get<std::uint64_t>();
  if (value > most) return std::nullopt;
  return value;
}

// The answer's probe count; nothing when it is no count an int holds.
std::optional<int> ProbesCountMember(const json& document) {
  const std::optional<std::uint64_t> count =
      WholeMember(document, "probesCount", std::numeric_limits<int>::max());
  if (!count) return std::nullopt;
  return static_cast<int>(*count);
}

ProbeResult ReadProbe(const json& item) {
  ProbeResult probe;
  const json& where = item.at("probe");
  probe.city = GbkFromUtf8(TextMember(where, "city"));
  probe.country = GbkFromUtf8(TextMember(where, "country"));
  probe.network = GbkFromUtf8(TextMember(where, "network"));
  probe.asn = static_cast<long long>(
      WholeMember(where, "asn", std::numeric_limits<std::uint32_t>::max()).value_or(0));
  const json& result = item.at("result");
  probe.status = TextMember(result, "status");
  if (probe.status == "finished" && result.contains("stats") && result["stats"].is_object()) {
    const json& stats = result["stats"];
    probe.minMs = NumberMember(stats, "min");
    probe.avgMs = NumberMember(stats, "avg");
    probe.maxMs = NumberMember(stats, "max");
    probe.lossPercent = NumberMember(stats, "loss");
  }
  return probe;
}

std::optional<Measurement> ReadMeasurementObject(const json& document) {
  Measurement measurement;
  measurement.id = document.at("id").get<std::string>();
  measurement.status = document.at("status").get<std::string>();
  const std::optional<int> probesCount = ProbesCountMember(document);
  if (!probesCount) return std::nullopt;
  measurement.probesCount = *probesCount;
  for (const json& item : document.at("results")) measurement.probes.push_back(ReadProbe(item));
  return measurement;
}

bool HasFigures(const ProbeResult& probe) { return probe.avgMs.has_value(); }

// The mean of count values from the mean of the first count - 1 and the last: unlike a sum,
// it stays finite for any non-negative figures.
double NextMean(double mean, double value, int count) { return mean + (value - mean) / count; }

// Sized to what it writes: a cut at a fixed length could split a double-byte character.
std::string Format(const char* pattern, auto... values) {
  const int length = std::snprintf(nullptr, 0, pattern, values...);
  std::string text(static_cast<size_t>(std::max(length, 0)), '\0');
  std::snprintf(text.data(), text.size() + 1, pattern, values...);
  return text;
}

std::string Figure(const std::optional<double>& value) {
  return value ? Format("%.1f", *value) : std::string("-");
}

std::string ProbeLine(const ProbeResult& probe) {
  const std::string figures =
      HasFigures(probe) ? Figure(probe.minMs) + "/" + Figure(probe.avgMs) + "/" +
                              Figure(probe.maxMs) + "ms 丢包 " + Figure(probe.lossPercent) + "%"
                        : GbkFromUtf8(probe.status);
  return probe.city + ", " + probe.country + ", AS" + std::to_string(probe.asn) + " " +
         probe.network + ": " + figures;
}

}  // namespace

std::optional<Measurement> ReadCreatedMeasurement(std::string_view utf8Json) {
  try {
    const std::optional<json> document = ParseObject(utf8Json);
    if (!document) return std::nullopt;
    Measurement measurement;
    measurement.id = document->at("id").get<std::string>();
    const std::optional<int> probesCount = ProbesCountMember(*document);
    if (measurement.id.empty() || !probesCount) return std::nullopt;
    measurement.probesCount = *probesCount;
    measurement.status = "in-progress";
    return measurement;
  } catch (const json::exception&) {
    return std::nullopt;
  }
}

std::optional<Measurement> ReadMeasurement(std::string_view utf8Json) {
  try {
    const std::optional<json> document = ParseObject(utf8Json);
    if (!document) return std::nullopt;
    return ReadMeasurementObject(*document);
  } catch (const json::exception&) {
    return std::nullopt;
  }
}

std::string ReadApiErrorMessage(std::string_view utf8Json) {
  const std::optional<json> document = ParseObject(utf8Json);
  if (!document || !document->contains("error") || !(*document)["error"].is_object()) return {};
  return GbkFromUtf8(TextMember((*document)["error"], "message"));
}

bool IsFinal(const Measurement& measurement) { return measurement.status != "in-progress"; }

int FinishedProbeCount(const Measurement& measurement) {
  return static_cast<int>(std::count_if(
      measurement.probes.begin(), measurement.probes.end(),
      [](const ProbeResult& probe) { return probe.status != "in-progress"; }));
}

std::optional<MeasurementSummary> Summarize(const Measurement& measurement) {
  MeasurementSummary summary;
  for (const ProbeResult& probe : measurement.probes) {
    if (!HasFigures(probe)) continue;
    const double least = probe.minMs.value_or(*probe.avgMs);
    const double most = probe.maxMs.value_or(*probe.avgMs);
    summary.minMs = summary.probes == 0 ? least : std::min(summary.minMs, least);
    summary.maxMs = summary.probes == 0 ? most : std::max(summary.maxMs, most);
    ++summary.probes;
    summary.averageMs = NextMean(summary.averageMs, *probe.avgMs, summary.probes);
    summary.lossPercent =
        NextMean(summary.lossPercent, probe.lossPercent.value_or(0), summary.probes);
  }
  if (summary.probes == 0) return std::nullopt;
  // Rounding can leave the mean a hair outside the figures it averages.
  summary.averageMs = std::min(std::max(summary.averageMs, summary.minMs), summary.maxMs);
  return summary;
}

std::string ProgressText(const Measurement& measurement) {
  return Format("测试中 (%d/%d 探针)", FinishedProbeCount(measurement), measurement.probesCount);
}

std::string SummaryText(const Measurement& measurement) {
  const std::optional<MeasurementSummary> summary = Summarize(measurement);
  if (!summary) return "无探针应答";
  return Format("平均 %.1fms (%.1f~%.1fms) 丢包 %.1f%% %d 个探针", summary->averageMs,
                summary->minMs, summary->maxMs, summary->lossPercent, summary->probes);
}

std::vector<ProbeResult> ProbesByAverage(const Measurement& measurement) {
  std::vector<ProbeResult> probes = measurement.probes;
  std::stable_sort(probes.begin(), probes.end(), [](const ProbeResult& a, const ProbeResult& b) {
    if (HasFigures(a) != HasFigures(b)) return HasFigures(a);
    return HasFigures(a) && *a.avgMs < *b.avgMs;
  });
  return probes;
}

std::string ProbeListText(const Measurement& measurement) {
  std::string text;
  for (const ProbeResult& probe : ProbesByAverage(measurement)) {
    if (!text.empty()) text += '\n';
    text += ProbeLine(probe);
  }
  return text;
}

std::string GbkFromUtf8(std::string_view utf8) {
  const std::optional<std::u16string> wide = SystemTextCodec().DecodeCharset(utf8, "UTF-8");
  return wide ? ToGbk(*wide) : std::string();
}

}  // namespace vardelle

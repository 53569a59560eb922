#include "app/global_ping/measurement.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <nlohmann/json.hpp>

#include "support/json_documents/json_documents.h"
#include "support/text/text_codec.h"

namespace vardelle {
namespace {

using nlohmann::json;

std::optional<json> ParseObject(std::string_view utf8Json) {
  json document = ParseJsonOrDiscarded(utf8Json);
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

// More packets than any ping sends are no count to weigh losses by.
std::optional<int> PacketsMember(const json& stats) {
  constexpr std::uint64_t kMostPackets = 1000;
  const std::optional<std::uint64_t> total = WholeMember(stats, "total", kMostPackets);
  if (!total) return std::nullopt;
  return static_cast<int>(*total);
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
    probe.packets = PacketsMember(stats);
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

// A hostile answer's reason could be any length; a row shows this much of it.
constexpr size_t kLongestReason = 400;

// At most `bytes` bytes of text, never ending inside a character.
std::string CutUtf8(std::string text, size_t bytes) {
  if (text.size() <= bytes) return text;
  size_t end = bytes;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.resize(end);
  return text + "...";
}

// The broken rules a validation error names in "params", as "(rule; rule)".
std::string ParamReasons(const json& error) {
  const auto params = error.find("params");
  if (params == error.end() || !params->is_object()) return {};
  std::string reasons;
  for (const auto& [field, rule] : params->items()) {
    if (!rule.is_string()) continue;
    reasons += (reasons.empty() ? "" : "; ") + rule.get<std::string>();
  }
  return reasons.empty() ? reasons : "(" + reasons + ")";
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

bool IsFinished(const ProbeResult& probe) { return probe.status == "finished"; }

// A finished probe without figures had no packet back, whatever its loss says.
bool LostEverything(const ProbeResult& probe) { return IsFinished(probe) && !HasFigures(probe); }

std::string ProbeOutcomeText(const ProbeResult& probe) {
  if (HasFigures(probe) || LostEverything(probe)) {
    const double loss = LostEverything(probe) ? 100.0 : probe.lossPercent.value_or(0);
    return Figure(probe.minMs) + "/" + Figure(probe.avgMs) + "/" + Figure(probe.maxMs) +
           "ms 丢包 " + Figure(loss) + "%";
  }
  if (probe.status == "failed") return "测试失败";
  if (probe.status == "in-progress") return "测试中";
  return GbkFromUtf8(probe.status);
}

std::string ProbeLine(const ProbeResult& probe) {
  return probe.city + ", " + probe.country + ", AS" + std::to_string(probe.asn) + " " +
         probe.network + ": " + ProbeOutcomeText(probe);
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
  const json& error = (*document)["error"];
  std::string reason = TextMember(error, "message");
  const std::string params = ParamReasons(error);
  if (!params.empty()) reason += (reason.empty() ? "" : " ") + params;
  return GbkFromUtf8(CutUtf8(reason, kLongestReason));
}

bool IsFinal(const Measurement& measurement) { return measurement.status != "in-progress"; }

int FinishedProbeCount(const Measurement& measurement) {
  return static_cast<int>(
      std::count_if(measurement.probes.begin(), measurement.probes.end(),
                    [](const ProbeResult& probe) { return probe.status != "in-progress"; }));
}

std::optional<MeasurementSummary> Summarize(const Measurement& measurement) {
  MeasurementSummary summary;
  double sentPackets = 0;
  double lostPackets = 0;
  for (const ProbeResult& probe : measurement.probes) {
    if (!IsFinished(probe)) continue;
    // Probes of one measurement send alike; a probe that does not say counts as one packet.
    const double packets = probe.packets.value_or(0) > 0 ? *probe.packets : 1;
    sentPackets += packets;
    if (LostEverything(probe)) {
      ++summary.lostProbes;
      lostPackets += packets;
      continue;
    }
    lostPackets += packets * std::clamp(probe.lossPercent.value_or(0), 0.0, 100.0) / 100;
    const double least = probe.minMs.value_or(*probe.avgMs);
    const double most = probe.maxMs.value_or(*probe.avgMs);
    summary.minMs = std::min(summary.minMs.value_or(least), least);
    summary.maxMs = std::max(summary.maxMs.value_or(most), most);
    ++summary.probes;
    summary.averageMs = NextMean(summary.averageMs.value_or(0), *probe.avgMs, summary.probes);
  }
  if (sentPackets == 0) return std::nullopt;
  summary.lossPercent = 100 * lostPackets / sentPackets;
  // Rounding can leave the mean a hair outside the figures it averages.
  if (summary.averageMs) {
    summary.averageMs = std::clamp(*summary.averageMs, *summary.minMs, *summary.maxMs);
  }
  return summary;
}

std::string ProgressText(const Measurement& measurement) {
  return Format("测试中 (%d/%d 探针)", FinishedProbeCount(measurement), measurement.probesCount);
}

std::string SummaryText(const Measurement& measurement) {
  const std::optional<MeasurementSummary> summary = Summarize(measurement);
  if (!summary) return "无探针应答";
  if (summary->probes == 0) return Format("全部丢包 (%d 个探针均未收到应答)", summary->lostProbes);
  std::string text =
      Format("平均 %.1fms (%.1f~%.1fms) 丢包 %.1f%% %d 个探针", *summary->averageMs,
             *summary->minMs, *summary->maxMs, summary->lossPercent, summary->probes);
  if (summary->lostProbes > 0) text += Format("，%d 个探针全部丢包", summary->lostProbes);
  return text;
}

std::string AverageText(const MeasurementSummary& summary) {
  return summary.averageMs ? Format("%.1fms", *summary.averageMs) : std::string();
}

std::string RangeText(const MeasurementSummary& summary) {
  return summary.minMs ? Format("%.1f–%.1fms", *summary.minMs, *summary.maxMs) : std::string();
}

std::string LossText(const MeasurementSummary& summary) {
  return Format("%.1f%%", summary.lossPercent);
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

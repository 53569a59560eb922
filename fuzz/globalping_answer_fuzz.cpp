// A Globalping answer on any bytes, read as a creation answer, a measurement and an error
// answer. What a measurement reads as must give a summary over exactly the finished probes:
// figures over those that answered, finite and in order (least <= average <= most) when every
// such probe is well-formed, and a loss that is a percentage whatever the probes said; probes sorted by average, those without figures last; and display
// texts that never end in half a double-byte character.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/global_ping/measurement.h"

namespace {

using vardelle::Measurement;
using vardelle::ProbeResult;

bool HasFigures(const ProbeResult& probe) { return probe.avgMs.has_value(); }

bool IsFiniteIn(double value, double least, double most) {
  return std::isfinite(value) && least <= value && value <= most;
}

// Figures a probe could really report: all four, 0 <= min <= avg <= max, loss in 0..100.
bool IsWellFormed(const ProbeResult& probe) {
  if (!HasFigures(probe)) return true;
  if (!probe.minMs || !probe.maxMs || !probe.lossPercent) return false;
  return IsFiniteIn(*probe.minMs, 0, *probe.avgMs) &&
         IsFiniteIn(*probe.avgMs, *probe.minMs, *probe.maxMs) && std::isfinite(*probe.maxMs) &&
         IsFiniteIn(*probe.lossPercent, 0, 100);
}

bool IsFinished(const ProbeResult& probe) { return probe.status == "finished"; }

void CheckSummary(const Measurement& measurement) {
  const std::optional<vardelle::MeasurementSummary> summary = vardelle::Summarize(measurement);
  const auto finished = std::count_if(measurement.probes.begin(), measurement.probes.end(), IsFinished);
  const auto withFigures =
      std::count_if(measurement.probes.begin(), measurement.probes.end(), HasFigures);
  if (summary.has_value() != (finished > 0)) std::abort();
  if (!summary) return;
  if (summary->probes != withFigures || summary->probes + summary->lostProbes != finished) {
    std::abort();
  }
  // The loss is over packets, each probe's share cut to a percentage: never outside 0..100.
  if (!IsFiniteIn(summary->lossPercent, 0, 100)) std::abort();
  if (summary->averageMs.has_value() != (withFigures > 0)) std::abort();
  if (!summary->averageMs) return;
  if (!std::all_of(measurement.probes.begin(), measurement.probes.end(), IsWellFormed)) return;
  if (!IsFiniteIn(*summary->minMs, 0, *summary->averageMs) ||
      !IsFiniteIn(*summary->averageMs, *summary->minMs, *summary->maxMs) ||
      !std::isfinite(*summary->maxMs)) {
    std::abort();
  }
}

void CheckOrder(const Measurement& measurement) {
  const std::vector<ProbeResult> sorted = vardelle::ProbesByAverage(measurement);
  if (sorted.size() != measurement.probes.size()) std::abort();
  for (std::size_t i = 1; i < sorted.size(); ++i) {
    const ProbeResult& before = sorted[i - 1];
    const ProbeResult& after = sorted[i];
    if (HasFigures(after) && (!HasFigures(before) || *after.avgMs < *before.avgMs)) std::abort();
  }
}

// Whether the GBK text's last double-byte character has both its bytes.
bool EndsOnWholeCharacter(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size()) at += static_cast<unsigned char>(text[at]) >= 0x80 ? 2 : 1;
  return at == text.size();
}

void CheckTexts(const Measurement& measurement) {
  for (const std::string& text :
       {vardelle::ProgressText(measurement), vardelle::SummaryText(measurement),
        vardelle::ProbeListText(measurement)}) {
    if (!EndsOnWholeCharacter(text)) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view answer(reinterpret_cast<const char*>(data), size);
  if (!EndsOnWholeCharacter(vardelle::ReadApiErrorMessage(answer))) std::abort();
  if (const std::optional<Measurement> created = vardelle::ReadCreatedMeasurement(answer)) {
    if (created->id.empty() || vardelle::IsFinal(*created)) std::abort();
    CheckTexts(*created);
  }
  if (const std::optional<Measurement> measurement = vardelle::ReadMeasurement(answer)) {
    CheckSummary(*measurement);
    CheckOrder(*measurement);
    CheckTexts(*measurement);
  }
  return 0;
}

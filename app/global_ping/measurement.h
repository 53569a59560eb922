// A Globalping ping measurement as the program keeps it: the API's UTF-8 documents read
// into GBK texts for display, with the summary and cell texts the "全球Ping" page shows.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vardelle {

// One probe's part of a measurement. Figures are milliseconds; they are missing while the
// probe is still testing, when it failed, and when no packet came back (the loss is 100
// then).
struct ProbeResult {
  std::string city;     // GBK
  std::string country;  // ISO code
  long long asn = 0;
  std::string network;  // GBK
  std::string status;   // "in-progress", "finished" or "failed"
  std::optional<double> minMs;
  std::optional<double> avgMs;
  std::optional<double> maxMs;
  std::optional<double> lossPercent;
  std::optional<int> packets;  // sent, when the probe says
};

struct Measurement {
  std::string id;
  std::string status;  // "in-progress" while probes still test; anything else is final
  int probesCount = 0;
  std::vector<ProbeResult> probes;
};

// Over the finished probes: the figures over those that answered (none when no probe did),
// the loss over the packets of them all, those that lost every packet included.
struct MeasurementSummary {
  std::optional<double> averageMs;  // the average of the probes' averages
  std::optional<double> minMs;
  std::optional<double> maxMs;
  double lossPercent = 0;
  int probes = 0;      // probes that answered
  int lostProbes = 0;  // finished probes that lost every packet
};

// The creation answer's id and probe count, or a measurement document; nothing when the
// text is not the document it should be (the parser's exceptions stop here).
std::optional<Measurement> ReadCreatedMeasurement(std::string_view utf8Json);
std::optional<Measurement> ReadMeasurement(std::string_view utf8Json);
// The reason of an API error answer (GBK): its "error.message" followed by the rules its
// "error.params" names ("Parameter validation failed. (\"target\" must ...)"), cut to a
// few hundred bytes; "" when there is none.
std::string ReadApiErrorMessage(std::string_view utf8Json);

bool IsFinal(const Measurement& measurement);
int FinishedProbeCount(const Measurement& measurement);
// Nothing while no probe has finished.
std::optional<MeasurementSummary> Summarize(const Measurement& measurement);

// GBK texts: "测试中 (n/m 探针)" while in progress; the summary in one line when done.
std::string ProgressText(const Measurement& measurement);
std::string SummaryText(const Measurement& measurement);
// "23.1ms", "8.1–41.9ms", "8.3%" ("" for a figure that is missing).
std::string AverageText(const MeasurementSummary& summary);
std::string RangeText(const MeasurementSummary& summary);
std::string LossText(const MeasurementSummary& summary);
// One line per probe sorted by average, probes without figures last.
std::string ProbeListText(const Measurement& measurement);
std::vector<ProbeResult> ProbesByAverage(const Measurement& measurement);

// GBK from the API's UTF-8 (the way back is GbkToUtf8 of the text codec).
std::string GbkFromUtf8(std::string_view utf8);

}  // namespace vardelle

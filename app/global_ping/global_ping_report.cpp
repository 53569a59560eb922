#include "app/global_ping/global_ping_report.h"

#include <cstdio>
#include <nlohmann/json.hpp>

#include "app/global_ping/measurement.h"
#include "app/report/report_text.h"
#include "support/text/text_codec.h"

namespace vardelle {
namespace {

using nlohmann::json;

json JsonFigure(const std::optional<double>& value) { return value ? json(*value) : json(nullptr); }

json ProbeJson(const ProbeResult& probe) {
  return {{"city", GbkToUtf8(probe.city)},
          {"country", GbkToUtf8(probe.country)},
          {"asn", probe.asn},
          {"network", GbkToUtf8(probe.network)},
          {"status", probe.status},
          {"minMs", JsonFigure(probe.minMs)},
          {"avgMs", JsonFigure(probe.avgMs)},
          {"maxMs", JsonFigure(probe.maxMs)},
          {"lossPercent", JsonFigure(probe.lossPercent)}};
}

json SummaryJson(const Measurement& measurement) {
  const std::optional<MeasurementSummary> summary = Summarize(measurement);
  if (!summary) return nullptr;
  return {{"avgMs", JsonFigure(summary->averageMs)}, {"minMs", JsonFigure(summary->minMs)},
          {"maxMs", JsonFigure(summary->maxMs)},     {"lossPercent", summary->lossPercent},
          {"probes", summary->probes},           {"lostProbes", summary->lostProbes}};
}

json ServerJson(const ServerMeasurement& result) {
  const Measurement& measurement = result.outcome.measurement;
  const bool failed = !result.outcome.failure.empty();
  json probes = json::array();
  for (const ProbeResult& probe : ProbesByAverage(measurement)) probes.push_back(ProbeJson(probe));
  return {{"serverName", GbkToUtf8(result.server.name)},
          {"domain", GbkToUtf8(result.server.domain)},
          {"measurementId", measurement.id.empty() ? json(nullptr) : json(measurement.id)},
          {"status", failed ? "failed" : "finished"},
          {"failure", failed ? json(GbkToUtf8(result.outcome.failure)) : json(nullptr)},
          {"probesCount", measurement.probesCount},
          {"summary", SummaryJson(measurement)},
          {"probes", probes}};
}

std::string JsonReport(const GlobalPingPlace& place,
                       const std::vector<ServerMeasurement>& results) {
  json servers = json::array();
  for (const ServerMeasurement& result : results) servers.push_back(ServerJson(result));
  const json report = {{"place", GbkToUtf8(place.caption)}, {"servers", servers}};
  return EscapeJsonControls(report.dump(2, ' ', false, json::error_handler_t::replace) + "\n");
}

std::string Number(const std::optional<double>& value) {
  if (!value) return {};
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%g", *value);
  return buffer;
}

std::string CsvLine(const std::vector<std::string>& fields) {
  std::string line;
  for (const std::string& field : fields) line += (line.empty() ? "" : ",") + CsvCell(field);
  return line + "\r\n";
}

constexpr size_t kCsvColumns = 14;

std::string CsvReport(const std::vector<ServerMeasurement>& results) {
  std::string csv =
      CsvLine({"serverName", "domain", "measurementId", "status", "failure", "city", "country",
               "asn", "network", "probeStatus", "minMs", "avgMs", "maxMs", "lossPercent"});
  for (const ServerMeasurement& result : results) {
    const MeasurementOutcome& outcome = result.outcome;
    const std::vector<std::string> server{
        GbkToUtf8(result.server.name), GbkToUtf8(result.server.domain), outcome.measurement.id,
        outcome.failure.empty() ? "finished" : "failed", GbkToUtf8(outcome.failure)};
    const std::vector<ProbeResult> probes = ProbesByAverage(outcome.measurement);
    if (probes.empty()) {
      std::vector<std::string> line = server;
      line.resize(kCsvColumns);
      csv += CsvLine(line);
    }
    for (const ProbeResult& probe : probes) {
      std::vector<std::string> line = server;
      line.insert(line.end(),
                  {GbkToUtf8(probe.city), GbkToUtf8(probe.country), std::to_string(probe.asn),
                   GbkToUtf8(probe.network), probe.status, Number(probe.minMs), Number(probe.avgMs),
                   Number(probe.maxMs), Number(probe.lossPercent)});
      csv += CsvLine(line);
    }
  }
  return csv;
}

std::string TextReport(const GlobalPingPlace& place,
                       const std::vector<ServerMeasurement>& results) {
  std::string text = "全球Ping: " + std::string(place.caption) + "\n";
  for (const ServerMeasurement& result : results) {
    const Measurement& measurement = result.outcome.measurement;
    const std::string state =
        result.outcome.failure.empty() ? SummaryText(measurement) : result.outcome.failure;
    text += result.server.name + "  " + result.server.domain + "  " +
            (measurement.id.empty() ? "-" : GbkFromUtf8(measurement.id)) + "  " + state + "\n";
    const std::string probeList = ProbeListText(measurement);
    std::string_view lines = probeList;
    while (!lines.empty()) {
      const size_t end = std::min(lines.find('\n'), lines.size());
      text += "    " + std::string(lines.substr(0, end)) + "\n";
      lines.remove_prefix(std::min(end + 1, lines.size()));
    }
  }
  return GbkToUtf8(text);
}

// The results as a terminal or a spreadsheet may take them, every text from the network
// with its controls shown; JSON escapes controls itself.
std::vector<ServerMeasurement> WithVisibleControls(std::vector<ServerMeasurement> results) {
  for (ServerMeasurement& result : results) {
    for (std::string* text :
         {&result.server.name, &result.server.domain, &result.outcome.failure}) {
      *text = VisibleControls(*text);
    }
    // The id and the probes' status words are kept as the API spelt them, in UTF-8.
    result.outcome.measurement.id = VisibleUtf8Controls(result.outcome.measurement.id);
    for (ProbeResult& probe : result.outcome.measurement.probes) {
      for (std::string* text : {&probe.city, &probe.country, &probe.network}) {
        *text = VisibleControls(*text);
      }
      probe.status = VisibleUtf8Controls(probe.status);
    }
  }
  return results;
}

}  // namespace

std::string FormatGlobalPingReport(const GlobalPingPlace& place,
                                   const std::vector<ServerMeasurement>& results,
                                   ReportFormat format) {
  switch (format) {
    case ReportFormat::kJson:
      return JsonReport(place, results);
    case ReportFormat::kCsv:
      return CsvReport(WithVisibleControls(results));
    case ReportFormat::kText:
      break;
  }
  return TextReport(place, WithVisibleControls(results));
}

}  // namespace vardelle

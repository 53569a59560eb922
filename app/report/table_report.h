// The server table as a report for scripts and terminals, in UTF-8: an aligned text table,
// JSON ({"rows": [...]}, one object per row in table order) or CSV (RFC 4180, a header
// line). JSON and CSV rows carry serverName, regionName, domain, address, latency (the cell
// text), latencyMs (null without an answer), regionStatus, location, locationSource ("site",
// or "offline" for a line from the offline database), stateIcon (0 answered,
// 1 no answer, 2 not tested), textColour ("#RRGGBB", null for the default colours) and the
// row's statistics over the runs made: sent, received, lossPercent, minMs, avgMs, maxMs,
// mdevMs and jitterMs (null where nothing was answered), and intercepted (true when its answer
// cannot be the server's).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/statistics/latency_history.h"
#include "app/view/colour.h"
#include "app/view/memory_window.h"

namespace vardelle {

enum class ReportFormat { kText, kJson, kCsv };

// "text", "json" or "csv"; nothing for any other name.
std::optional<ReportFormat> ReportFormatNamed(std::string_view name);

struct ReportRow {
  MemoryRow row;
  Colour textColour = kDefaultColour;
  LatencyStatistics statistics;
  bool intercepted = false;  // its answer came from a proxy on the way, not the server
};

std::string FormatTableReport(const std::vector<ReportRow>& rows, ReportFormat format);

}  // namespace vardelle

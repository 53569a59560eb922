// A global test as a report for scripts and terminals, UTF-8, servers in table order.
//
// json: {"place": "中国", "servers": [{"serverName", "domain", "measurementId" (null before
// one was created), "status" ("finished", or "failed" with "failure" holding why, else
// null), "probesCount", "summary" ({"avgMs", "minMs", "maxMs" (over the probes that
// answered, null when none did), "lossPercent" (over the packets of every finished probe),
// "probes" (that answered), "lostProbes" (that lost every packet)}, null while no probe
// finished), "probes": [{"city", "country", "asn", "network", "status",
// "minMs", "avgMs", "maxMs", "lossPercent"}]}]}, probes sorted by avgMs, figures null when
// the probe gave none.
// csv: one line per probe (one with empty probe fields for a server without probes):
// serverName, domain, measurementId, status, failure, city, country, asn, network,
// probeStatus, minMs, avgMs, maxMs, lossPercent.
// text: per server a line with its id and summary or failure, then one indented line per
// probe.
#pragma once

#include <string>
#include <vector>

#include "app/global_ping/global_ping_places.h"
#include "app/global_ping/global_ping_test_run.h"
#include "app/report/table_report.h"

namespace vardelle {

std::string FormatGlobalPingReport(const GlobalPingPlace& place,
                                   const std::vector<ServerMeasurement>& results,
                                   ReportFormat format);

}  // namespace vardelle

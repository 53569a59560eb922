// The headless global test: the server list loaded as for a local run, then one global test
// of every server instead of the local probes, reported per server and per probe.
#pragma once

#include "app/global_ping/global_ping_places.h"
#include "app/global_ping/globalping_client.h"
#include "app/headless/headless_run.h"

namespace vardelle {

// Uses app.endpoints (the server list's sites and the Globalping access); app must not
// drive a window. Exit code 1 when the server list could not be read.
HeadlessOutcome RunGlobalPingHeadless(Application& app, const GlobalPingPlace& place,
                                      ReportFormat format, const ClientLimits& limits = {});

}  // namespace vardelle

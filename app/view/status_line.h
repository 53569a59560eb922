// The texts of the status line below the server table: what the program is doing and what
// keeps it from working. They are the only place problems are told; no dialog ever opens.
#pragma once

#include <string>

#include "app/settings/endpoints.h"
#include "runtime/process/outside_programs.h"
#include "support/text/text.h"

namespace vardelle {

Text FetchingServerListStatus();
// loaded of total rows are in the table or being added.
Text LoadingServerListStatus(int loaded, int total);
Text ServerListLoadedStatus(int serverCount);
// The list held more servers than the table takes: the first loaded are in, leftOut are not.
Text ServerListCutStatus(int loaded, int leftOut);

// The site has no address; names the option and environment variable that give it one.
Text MissingSiteAddressStatus(const SiteInfo& site);

// Why the server list gave no servers.
Text ServerListFileUnreadableStatus(const std::string& path);
Text ServerListNoContentStatus();
Text ServerListNotAnArrayStatus();
Text ServerListEmptyStatus();

// Echo probes cannot be sent: how to allow them (the package's capability first, then the
// sysctl), then reason, the probes' own one-line explanation.
Text ProbesUnavailableStatus(const std::string& reason);

// A row action started nothing: its outside program is missing (every name looked for is
// told) or would not start.
Text LaunchFailedStatus(const LaunchOutcome& outcome);
// The row's domain is no host name or IPv4 address, or the list's cell no web address, so
// it is not handed to an outside program.
Text UnusableHostStatus();
Text UnusableWebAddressStatus();
// The "全球Ping" row activated holds no measurement id yet.
Text NoMeasurementResultsStatus();

// A test run has ended: how many servers it measured, how many answered and the fastest
// (fastestMs -1 when none answered).
Text TestRunFinishedStatus(int servers, int answered, const Text& fastestServer, int fastestMs);
// Added to it when rows were left alone because their probe of an earlier tick was still out.
Text StillProbingNote(int rows);

}  // namespace vardelle

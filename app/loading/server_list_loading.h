// Fills the server table once at program start from the game-box site's server list.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/application/application.h"
#include "runtime/bytes.h"
#include "runtime/fetch/page_fetch.h"
#include "runtime/probes/network_probes.h"
#include "support/files/file_access.h"
#include "support/text/text.h"

namespace vardelle {

// At most this many servers of a list are put in the table, the first ones in list order;
// the rest are left out and the status line says how many. The real list holds about 30, so
// only a hostile site reaches it, and the table and the first test run (a thread per row)
// stay bounded.
inline constexpr int kMaxServers = 10'000;

// The network services loading uses; tests give their own.
struct ServerListServices {
  std::function<Bytes(const std::string& url)> readUrl = ReadUrl;
  // The local list file's bytes (Endpoints::ServerListFile); nullopt when unreadable.
  std::function<std::optional<std::string>(const std::string& path)> readFile =
      [](const std::string& path) { return ReadWholeFile(path); };
  std::function<std::string(const std::string& host)> resolveHostAddress = ResolveHostAddress;
  std::function<std::string()> probeUnavailableReason = ProbeUnavailableReason;
  // The location line of an address; empty: LookUpServerLocation with the
  // application's endpoints. Called on the lookup threads, several at once.
  std::function<Text(const std::string& address)> lookUpServerLocation;
};

// Empties app's window's table, adds one row per server of the list, kMaxServers at most
// (name, region, domain, yellow icon, location pending), each as soon as its domain is
// resolved, sorts the table by name, tells the outcome on the status line and asks
// app.startTestRun for the first test run, also when the list gave no rows. Each row's
// location is looked up beside the loading (app.locationLookups, at most 8 at once) and
// written into the row's cell 6 by the row's identity when it arrives; the first test run
// does not wait for them, and app.locationLookups.Wait() does. Does nothing without a
// window. Blocks for as long as the list's download and the name resolutions take. False
// when there was no list to read (no site address, no answer, an unreadable list file, an
// answer that is no JSON array); an empty list was read. A local list file
// (Endpoints::ServerListFile) stands in for the site. A table left without servers shows
// EmptyTableGuide, a filled one none. Loadings started meanwhile wait for each other.
bool LoadServerList(Application& app, const ServerListServices& services = {});

}  // namespace vardelle

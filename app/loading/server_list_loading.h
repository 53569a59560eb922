// Fills the server table once at program start from the game-box site's server list.
#pragma once

#include <functional>
#include <string>

#include "app/start/application.h"
#include "runtime/bytes.h"
#include "runtime/probes/network_probes.h"
#include "runtime/fetch/page_fetch.h"

namespace vardelle {

// The network services loading uses; tests give their own.
struct ServerListServices {
  std::function<Bytes(const std::string& url)> readUrl = ReadUrl;
  std::function<std::string(const std::string& host)> resolveHostAddress = ResolveHostAddress;
  std::function<std::string()> probeUnavailableReason = ProbeUnavailableReason;
};

// Empties app's window's table, adds one row per server of the list (name, region,
// domain, yellow icon, location pending), sorts the table by name, tells the outcome on the
// status line and asks app.startTestRun for the first test run, also when the list gave no
// rows. Does nothing without a window. Blocks for as long as the downloads take.
void LoadServerList(Application& app, const ServerListServices& services = {});

// The loading thread's routine: LoadServerList for TheApplication(). The argument is unused.
int LoadServerListThread(int);

}  // namespace vardelle

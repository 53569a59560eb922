#include "app/actions/row_actions.h"

#include "app/actions/argument_checks.h"
#include "app/global_ping/global_ping_page.h"
#include "app/global_ping/globalping_client.h"
#include "app/table/server_table.h"
#include "app/view/project_links.h"
#include "app/view/status_line.h"
#include "runtime/process/outside_programs.h"

namespace vardelle {
namespace {

using ConsoleStart = LaunchOutcome (*)(ProcessLauncher&, const std::string&);

void TellFailure(MainWindowView& window, const LaunchOutcome& outcome) {
  if (outcome.result != LaunchOutcome::Result::kStarted) {
    window.SetStatusLine(LaunchFailedStatus(outcome));
  }
}

void StartConsoleForSelectedRow(MainWindowView& window, ProcessLauncher& launcher,
                                ConsoleStart start) {
  const int row = window.SelectedRow();
  if (row < 0) return;
  const std::string host = window.CellText(row, kDomainColumn);
  if (!IsPlausibleHost(host)) {
    window.SetStatusLine(UnusableHostStatus());
    return;
  }
  TellFailure(window, start(launcher, host));
}

void OpenAddress(MainWindowView& window, ProcessLauncher& launcher, const std::string& address) {
  if (!IsWebAddress(address)) {
    window.SetStatusLine(UnusableWebAddressStatus());
    return;
  }
  TellFailure(window, OpenInBrowser(launcher, address));
}

}  // namespace

void StartContinuousPing(MainWindowView& window, ProcessLauncher& launcher) {
  StartConsoleForSelectedRow(window, launcher, StartPingConsole);
}

void StartRouteTrace(MainWindowView& window, ProcessLauncher& launcher) {
  StartConsoleForSelectedRow(window, launcher, StartRouteTraceConsole);
}

void OpenUpdatePage(MainWindowView& window, ProcessLauncher& launcher) {
  OpenAddress(window, launcher, kProjectPage);
}

// The address is built from the row's measurement id, never taken from the cell as it stands.
void OpenKeyInBrowser(MainWindowView& window, ProcessLauncher& launcher) {
  const int row = window.KeyListSelectedRow();
  if (row < 0) return;
  const std::string page = MeasurementResultsPage(window.KeyListCellText(row, kKeyListKeyColumn));
  if (page.empty()) {
    window.SetStatusLine(NoMeasurementResultsStatus());
    return;
  }
  OpenAddress(window, launcher, page);
}

}  // namespace vardelle

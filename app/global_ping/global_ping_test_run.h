// One global test: a Globalping measurement of every given server, run by a fixed set of
// workers, each row told of every step. Before any measurement the test asks the hourly
// budget and gives each row a probe limit that fits it; a row the budget cannot cover, or
// whose target the service would refuse, ends at once and says why.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/global_ping/global_ping_places.h"
#include "app/global_ping/globalping_client.h"
#include "app/global_ping/hourly_budget.h"
#include "app/view/main_window_view.h"

namespace vardelle {

struct GlobalPingServer {
  std::string name;  // GBK, as the table shows it
  std::string domain;
};

struct ServerMeasurement {
  GlobalPingServer server;
  MeasurementOutcome outcome;
};

// What a row shows, and whether it is the row's last write of the test.
struct GlobalPingRowCells {
  KeyListRow row;
  bool final = false;
};

// The row as a measurement that is still running shows it.
GlobalPingRowCells ProgressCells(const Measurement& measurement);
// The row's cells for a finished outcome: the figures, and the failure if any.
GlobalPingRowCells FinalCells(const MeasurementOutcome& outcome);

struct GlobalTestSettings {
  GlobalpingAccess access;
  GlobalPingPlace place;
  ClientLimits limits;
  bool inProgressUpdates = false;
  // Shared by the tests of one program run, so a test started while another runs shares
  // only what the other does not hold.
  std::shared_ptr<HourlyBudget> budget = std::make_shared<HourlyBudget>();
};

class GlobalPingTestRun {
 public:
  // Called from the workers, several at once, with the server's index in the given list.
  using RowUpdate = std::function<void(size_t index, const GlobalPingRowCells& cells)>;

  // Asks the budget, so call it off the window's thread; the workers run on.
  static std::shared_ptr<GlobalPingTestRun> Start(const GlobalTestSettings& settings,
                                                  std::vector<GlobalPingServer> servers,
                                                  RowUpdate update);
  // Returns once every row has ended (each is bounded by the limits' time limit).
  void Wait();
  bool Ended();
  std::vector<ServerMeasurement> Results();

  struct Shared;

 private:
  explicit GlobalPingTestRun(std::shared_ptr<Shared> shared) : shared_(std::move(shared)) {}
  std::shared_ptr<Shared> shared_;
};

}  // namespace vardelle

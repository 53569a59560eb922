// One global test: a Globalping measurement of every given server at once, each on a
// thread of its own, its row told of every step.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/global_ping/global_ping_places.h"
#include "app/global_ping/globalping_client.h"

namespace vardelle {

struct GlobalPingServer {
  std::string name;    // GBK, as the table shows it
  std::string domain;
};

struct ServerMeasurement {
  GlobalPingServer server;
  MeasurementOutcome outcome;
};

// What a row shows: "KEY" (the measurement id, "" before there is one) and "测试状态".
struct GlobalPingRowCells {
  std::string key;
  std::string state;
  // The per-probe lines for the tooltip, "" until the measurement is final.
  std::string probeList;
  bool final = false;  // the row's last write of the test
};

// The row's cells for a finished outcome: the summary, or the failure.
GlobalPingRowCells FinalCells(const MeasurementOutcome& outcome);

class GlobalPingTestRun {
 public:
  // Called from the workers, several at once, with the server's index in the given list.
  using RowUpdate = std::function<void(size_t index, const GlobalPingRowCells& cells)>;

  static std::shared_ptr<GlobalPingTestRun> Start(const GlobalpingAccess& access,
                                                  std::vector<GlobalPingServer> servers,
                                                  const GlobalPingPlace& place, RowUpdate update,
                                                  const ClientLimits& limits = {});
  // Returns once every worker has ended (each is bounded by the limits' time limit).
  void Wait();
  std::vector<ServerMeasurement> Results();

  struct Shared;

 private:
  explicit GlobalPingTestRun(std::shared_ptr<Shared> shared) : shared_(std::move(shared)) {}
  std::shared_ptr<Shared> shared_;
};

}  // namespace vardelle

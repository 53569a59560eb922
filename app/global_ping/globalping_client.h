// A client of the Globalping API: creates one ping measurement and polls it until it is
// final, within a time limit; asks the hourly budget. Blocking; run it on a thread of its
// own. Never throws.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "app/global_ping/hourly_budget.h"
#include "app/global_ping/measurement.h"

namespace vardelle {

inline constexpr char kPublicGlobalpingApi[] = "https://api.globalping.io";

// Where the API is and who asks: an empty token asks anonymously.
struct GlobalpingAccess {
  std::string baseUrl;
  std::string token;
  // Private and loopback targets are sent rather than refused here: the demo world's
  // stand-in measures its loopback servers, which the real service refuses.
  bool privateTargetsMeasured = false;
};

struct MeasurementOrder {
  std::string target;  // the server's domain
  std::string magic;   // the location filter
  int probeLimit = 10;
  int packets = 3;
  // Asks for partial results while probes still test, as a window showing progress wants.
  bool inProgressUpdates = false;
};

// The API asks clients to poll no faster than every 500 ms; tests shorten the rest.
struct ClientLimits {
  std::chrono::milliseconds pollInterval{500};
  std::chrono::milliseconds timeLimit{120000};
  // Requests in all, retries included.
  int mostRequests = 400;
};

struct MeasurementOutcome {
  Measurement measurement;  // what arrived, partial results included
  std::string failure;      // GBK; "" when the measurement finished
};

// Told on the calling thread whenever there is news: a GBK text for the row while waiting
// ("排队中", a retry) or the measurement as far as it has come. `created` is told exactly
// once, when the creation has its answer or never will (the target was refused here, the
// network failed): what the answer said of the hourly budget.
struct MeasurementProgress {
  std::function<void(const std::string& text)> waiting;
  std::function<void(const Measurement&)> partial;
  std::function<void(const BudgetReport&)> created;
};

MeasurementOutcome RunGlobalpingMeasurement(const GlobalpingAccess& access,
                                            const MeasurementOrder& order,
                                            const ClientLimits& limits = {},
                                            const MeasurementProgress& progress = {});

// The caller's hourly budget from /v1/limits, which costs nothing; nothing when the service
// does not tell it within timeLimit.
std::optional<BudgetReport> AskHourlyBudget(const GlobalpingAccess& access,
                                            std::chrono::milliseconds timeLimit);

// The request body the client sends (UTF-8 JSON).
std::string MeasurementRequestBody(const MeasurementOrder& order);

// The public page that shows a measurement's results; "" for an id that is not one.
std::string MeasurementResultsPage(const std::string& id);

}  // namespace vardelle

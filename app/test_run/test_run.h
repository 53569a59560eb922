// A latency test run: every row of the server table measured at once, one worker thread
// per row. The window's thread only starts a run; the status downloads and the probes run
// on threads of their own.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "app/window/main_window_view.h"
#include "runtime/probes/network_probes.h"
#include "support/text/text.h"

namespace vardelle {

struct Application;
struct RegionStatusLists;

// The services a run uses; tests give their own.
struct TestRunServices {
  // Downloads and publishes the region status; empty: FetchRegionStatus.
  std::function<std::shared_ptr<const RegionStatusLists>(Application&)> fetchRegionStatus;
  std::function<std::string(const std::string& host)> resolveHostAddress = ResolveHostAddress;
  std::function<int(const std::string& address)> pingHost = [](const std::string& address) {
    return PingHost(address);
  };
  std::function<std::string()> probeUnavailableReason = ProbeUnavailableReason;
};

// What a run did.
struct TestRunSummary {
  int servers = 0;
  int answered = 0;
  Text fastestServer;  // the first column of the fastest row
  int fastestMs = -1;  // -1: nothing answered
};

// One run's progress, shared by the thread that starts it and its workers.
class TestRun {
 public:
  explicit TestRun(std::uint64_t number) : number_(number) {}
  std::uint64_t Number() const { return number_; }

  // Blocks until every worker of the run has written its row and the run's outcome has
  // been told (at once for a run that found no rows or no window).
  void Wait();
  // Final once Wait has returned.
  TestRunSummary Summary() const;

  // For the run's own threads: how many workers to wait for, and one worker's result.
  // WorkerDone answers true for the run's last worker, which then tells the outcome and
  // marks the run finished.
  void ExpectWorkers(int count);
  bool WorkerDone(const Text& serverName, int milliseconds);
  void MarkFinished();

 private:
  const std::uint64_t number_;
  mutable std::mutex mutex_;
  std::condition_variable finishedChanged_;
  int expected_ = -1;  // not known until the rows are counted
  int done_ = 0;
  bool finished_ = false;
  TestRunSummary summary_;
};

// Starts a run: forgets every row colour, then, on a thread of its own, downloads the
// region status and starts one worker per row present at that moment. Never blocks on the
// network. Runs may overlap; a row keeps the result of the newest run that reached it.
std::shared_ptr<TestRun> StartTestRun(Application& app, const TestRunServices& services = {});

}  // namespace vardelle

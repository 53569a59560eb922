// Latency test runs: one engine measures the whole table at every tick (the timer, the
// button, the end of loading) with a fixed set of threads, whatever the number of rows.
//
// The rule of a tick: every row that has no probe out gets one; a row whose probe of an
// earlier tick is still out keeps it, and that probe's answer or time-out is written when it
// comes, so no result is ever thrown away for a newer tick. A row shows, in this order, its
// address, "Scaning..." and its region's status word, then its latency and icon, then its
// colour. The probes never wait for the region status: a tick asks for the three status
// documents (one fetch at a time; a tick during a fetch starts none) and probes at once with
// the newest status set there is; when a fetch ends, every row's status word is brought up
// to date, and the colour of every row that is not being probed.
//
// Threads: a few resolvers take the rows' names in turn (a name look-up blocks); echo
// requests go out through the one echo engine, whose own thread ends them; one status
// fetcher; one writer, the only thread that writes results to the window, in batches, so
// the window is asked once per batch rather than once per cell.
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
  // Sends one echo request to a dotted address; done gets the milliseconds or -1, once, on
  // any thread, and must not be waited for by the caller (SendPing).
  std::function<void(const std::string& address, std::function<void(int)> done)> sendPing =
      [](const std::string& address, std::function<void(int)> done) {
        SendPing(address, kDefaultPingTimeoutMs, std::move(done));
      };
  std::function<std::string()> probeUnavailableReason = ProbeUnavailableReason;
};

// What a tick did.
struct TestRunSummary {
  int servers = 0;     // rows probed by this tick
  int answered = 0;
  Text fastestServer;  // the first column of the fastest row
  int fastestMs = -1;  // -1: nothing answered
  int stillOut = 0;    // rows left alone because a probe of an earlier tick was still out
};

// One tick's progress.
class TestRun {
 public:
  explicit TestRun(std::uint64_t number) : number_(number) {}
  std::uint64_t Number() const { return number_; }

  // Blocks until every probe of the tick has been written and its status line told (at
  // once for a tick that had nothing to probe), or until the engine stopped.
  void Wait();
  bool Finished() const;
  // Final once Wait has returned.
  TestRunSummary Summary() const;

  // For the engine.
  void Begin(int probed, int stillOut);
  // One probe's result; true for the tick's last.
  bool ResultIn(const Text& serverName, int milliseconds);
  void MarkFinished();

 private:
  const std::uint64_t number_;
  mutable std::mutex mutex_;
  std::condition_variable finishedChanged_;
  int outstanding_ = 0;
  bool finished_ = false;
  TestRunSummary summary_;
};

class TestRunEngine {
 public:
  explicit TestRunEngine(Application& app, TestRunServices services = {});
  // Stops the engine (see Stop).
  ~TestRunEngine();
  TestRunEngine(const TestRunEngine&) = delete;
  TestRunEngine& operator=(const TestRunEngine&) = delete;

  // A tick, from any thread: takes the table's rows in one step and starts probing every row
  // without a probe out. Never blocks on the network. The engine's threads start with the
  // first tick. After Stop, a tick does nothing and its run is finished at once.
  std::shared_ptr<TestRun> StartRun();

  // Blocks until no status download is wanted or under way and everything posted so far is
  // written to the window, or until the engine stopped; probes still out are not waited
  // for (a run's Wait does that). For a caller that reports the table afterwards; never on
  // the window's thread.
  void Settle();

  // Stops the engine: no tick starts anything more, nothing more is written to the window,
  // unfinished runs are marked finished, and the engine's threads are joined. A name look-up
  // or a status download under way is waited for (each is bounded by its time-outs); a probe
  // still out ends in the echo engine, unheard. Safe to call more than once. Not on the
  // window's thread while the window still takes calls: the writer may be waiting for it.
  void Stop();

 private:
  struct Core;
  std::shared_ptr<Core> core_;
};

// The application's own engine, with the system's services: Application::testRuns.
std::shared_ptr<TestRun> StartTestRun(Application& app);

}  // namespace vardelle

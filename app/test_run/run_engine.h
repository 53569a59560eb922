// Latency test runs: one engine measures the whole table at every tick (the timer, the
// button, the end of loading) with a fixed set of threads, whatever the number of rows.
//
// The rule of a tick: every row that has no probe out gets one; a row whose probe of an
// earlier tick is still out keeps it, and that probe's answer or time-out is written when it
// comes, so no result is ever thrown away for a newer tick. A row shows its address,
// "Scaning..." and its region's status word when its probe goes out, then its latency and
// icon. Its colour is its status word's, written with the word every time: a probe changes
// only the latency cell, so a row keeps its colour while its next probe is out. The probes
// never wait for the region status: a tick asks for the three status documents (one fetch at
// a time; a tick during a fetch starts none) and probes at once with the words of the newest
// fetch; when a fetch ends, its words (RegionStatusWords, read once) go to the alerts and
// every row's status word and colour are brought up to date.
// The history files each result by when its probe was sent, so a tick whose table read was
// slow never puts its figure behind a later tick's.
//
// Threads: a few resolvers take the rows' names in turn (a name look-up blocks); echo
// requests go out through the one echo engine, whose own thread ends them; one status
// fetcher; one writer, the only thread that writes results to the window, in batches, so
// the window is asked once per batch rather than once per cell, and that reads the table
// for a tick on the window's thread. The writer waits for each batch and each slice of the
// table to be served on the window's thread; the resolvers, the probes and the status
// fetcher never wait for the window.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/mini_view/mini_view_rows.h"
#include "app/status/region_status.h"
#include "app/test_run/honest_answers.h"
#include "app/view/main_window_view.h"
#include "runtime/probes/network_probes.h"
#include "support/text/text.h"

namespace vardelle {

class AlertWatching;
class LatencyHistory;

// What runs read and write of the program around them; its owner outlives the engine.
struct TestRunShared {
  const Endpoints& endpoints;
  // Held while endpoints is read: the settings dialog replaces them on the window's thread.
  std::mutex& endpointsMutex;
  const std::atomic<MainWindowView*>& window;
  const SharedProcessLists& lists;
  LatencyHistory& latencyHistory;
  AlertWatching& alerts;
  MiniViewRows& miniView;
  const AddressRange& fakeAddresses;
};

// The services a run uses; tests give their own.
struct TestRunServices {
  // Downloads and publishes the region status; empty: FetchRegionStatus.
  std::function<std::shared_ptr<const RegionStatusLists>(const Endpoints&)> fetchRegionStatus;
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
  int servers = 0;  // rows probed by this tick
  int answered = 0;
  Text fastestServer;  // the first column of the fastest row
  int fastestMs = -1;  // -1: nothing answered
  int stillOut = 0;    // rows left alone because a probe of an earlier tick was still out
};

// One tick's progress.
class TestRun {
 public:
  // Blocks until every probe of the tick has been written and its status line told (only
  // the line for a tick whose rows all had a probe out; nothing for an empty table), or until
  // the engine stopped.
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
  mutable std::mutex mutex_;
  std::condition_variable finishedChanged_;
  int outstanding_ = 0;
  bool finished_ = false;
  TestRunSummary summary_;
};

class TestRunEngine {
 public:
  explicit TestRunEngine(TestRunShared shared, TestRunServices services = {});
  // Stops the engine (see Stop).
  ~TestRunEngine();
  TestRunEngine(const TestRunEngine&) = delete;
  TestRunEngine& operator=(const TestRunEngine&) = delete;

  // A tick, from any thread: takes the table's rows, their identities in one step and their
  // texts a slice at a time, and starts probing every row without a probe out. A tick from
  // another thread than the window's reads them itself, waiting for the window's thread to
  // hand each slice; one on the window's thread leaves the reading to the writer and returns
  // at once, so the window keeps running between the slices. Never blocks on the network.
  // The engine's threads start with the first tick. After Stop, a tick does nothing and its
  // run is finished at once.
  std::shared_ptr<TestRun> StartRun();

  // Blocks until no status download is wanted or under way and everything posted so far is
  // written to the window, or until the engine stopped; probes still out are not waited
  // for (a run's Wait does that). For a caller that reports the table afterwards; never on
  // the window's thread.
  void Settle();

  // Stops the engine: no tick starts anything more, nothing more is written to the window,
  // unfinished runs are marked finished, and the engine's threads are joined. A name look-up
  // or a status download under way is waited for (each is bounded by its time-outs); a probe
  // still out ends in the echo engine, unheard. Safe to call more than once and from several
  // threads at once: each call returns once the engine has stopped. Not on the window's
  // thread while the window still takes calls: the writer may be waiting for it.
  void Stop();

  // The rows whose last answer the latest finished tick judged not the server's (see
  // InterceptedRows).
  std::vector<RowId> InterceptedRows() const;

 private:
  struct Core;
  std::shared_ptr<Core> core_;
};

// The order in which a tick's probes go out, as indexes into lastRoundTripsMs: each row's last
// round trip, -1 where it has none. A run ends with its last answer, so the rows that answered
// slowest go first and the quick ones last: over thousands of rows, whose sends take a while,
// the run then ends soon after its slowest answer rather than the send time later. Rows without
// a round trip go first, as they may be the slowest; rows alike keep the table's order.
std::vector<std::size_t> SlowestFirstOrder(const std::vector<int>& lastRoundTripsMs);

// Engines whose stop was begun on a thread of its own (the headless watch's, so that a name
// look-up under way keeps the watch no longer): program end finishes each stop before the
// echo engine they send through goes. Safe to call from any thread.
class StoppingTestRuns {
 public:
  void Add(std::shared_ptr<TestRunEngine> engine);
  // Stops every engine added (waiting for a stop under way) and lets it go.
  void StopAll();

 private:
  std::mutex mutex_;
  std::vector<std::shared_ptr<TestRunEngine>> engines_;
};

}  // namespace vardelle

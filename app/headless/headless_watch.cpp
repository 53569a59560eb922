#include "app/headless/headless_watch.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <thread>
#include <utility>

#include "app/alerts/alert_watching.h"
#include "app/application/application.h"
#include "app/loading/server_list_loading.h"
#include "app/status/region_status.h"
#include "app/table/server_table.h"
#include "app/view/memory_window.h"
#include "runtime/threads/threads.h"
#include "support/text/space_trim.h"
#include "support/text/text_codec.h"

namespace vardelle {
namespace {

using SteadyClock = std::chrono::steady_clock;

// How often a run in flight is looked at: it tells nobody when it ends.
constexpr auto kRunCheck = std::chrono::milliseconds(20);

// Counts the run's status fetches, whatever becomes of them: a run is judged once its fetch
// is in. A set cut short by the end of the watch is never published.
TestRunServices CountingFetches(TestRunServices services, const SharedProcessLists& processLists,
                                std::atomic<int>& fetches, const std::atomic<bool>& stopping) {
  services.fetchRegionStatus = [fetch = std::move(services.fetchRegionStatus), &processLists,
                                &fetches, &stopping](const Endpoints& endpoints) {
    std::shared_ptr<const RegionStatusLists> lists;
    try {
      lists = fetch ? fetch(endpoints) : FetchRegionStatus(endpoints, processLists, stopping);
    } catch (const std::exception&) {
      // A failed fetch: no new words, so every row's read fails.
    }
    ++fetches;
    return lists;
  };
  return services;
}

// What the watch shares with the threads it starts, which keep it alive after the watch
// ended: the loading, the stop of the test runs and the termination hook's thread.
struct WatchShared {
  WatchShared(Application& app, const TestRunServices& services)
      : engine(app.SharedWithTestRuns(), CountingFetches(services, app.lists, fetches, stopping)) {}

  void RequestStop() {
    std::lock_guard guard(mutex);
    stopRequested = true;
    changed.notify_all();
  }
  bool StopRequested() {
    std::lock_guard guard(mutex);
    return stopRequested;
  }
  // True on a stop request, false at the deadline.
  bool AwaitStop(SteadyClock::time_point deadline) {
    std::unique_lock lock(mutex);
    return changed.wait_until(lock, deadline, [this] { return stopRequested; });
  }
  void LoadingEnded(bool read) {
    std::lock_guard guard(mutex);
    loaded = true;
    listRead = read;
    changed.notify_all();
  }
  // True once the list is loaded, false when a stop request came first.
  bool AwaitLoading() {
    std::unique_lock lock(mutex);
    changed.wait(lock, [this] { return loaded || stopRequested; });
    return loaded;
  }

  std::shared_ptr<TestRun> FirstRun() {
    std::lock_guard guard(mutex);
    return firstRun;
  }

  std::atomic<int> fetches{0};
  std::atomic<bool> stopping{false};  // ends a status download under way
  MemoryWindow window;
  TestRunEngine engine;  // after what its threads use, so it stops first

  std::mutex mutex;
  std::condition_variable changed;
  bool stopRequested = false;
  bool loaded = false;
  bool listRead = false;
  std::shared_ptr<TestRun> firstRun;  // the run the loading asked for
};

class Watch {
 public:
  Watch(Application& app, const WatchOptions& options, int intervalSeconds,
        const WatchControls& controls)
      : app_(app),
        options_(options),
        interval_(intervalSeconds),
        controls_(controls),
        shared_(std::make_shared<WatchShared>(app, controls.services)) {}

  int Run() {
    const std::unique_ptr<TerminationHook> hook =
        controls_.hookTermination([shared = shared_] { shared->RequestStop(); });
    if (!hook) {
      controls_.printNote("vardelle: Ctrl+C cannot be caught; the watch runs until it is killed");
    }
    Attach();
    StartLoading();
    const int code = shared_->AwaitLoading() ? WatchRows() : 0;
    Detach();
    return code;
  }

 private:
  void Attach() {
    app_.alerts.JudgeAfterRuns();
    app_.window = &shared_->window;
    app_.lists = std::make_shared<ProcessLists>();
    app_.startTestRun = [weak = std::weak_ptr(shared_)] {
      if (const std::shared_ptr<WatchShared> shared = weak.lock()) {
        std::shared_ptr<TestRun> run = shared->engine.StartRun();
        std::lock_guard guard(shared->mutex);
        shared->firstRun = std::move(run);
      }
    };
  }

  void StartLoading() {
    const auto load = [&app = app_, shared = shared_] {
      bool read = false;
      try {
        read = LoadServerList(app);
      } catch (const std::exception&) {
        // Out of memory: read as a list that could not be had.
      }
      shared->LoadingEnded(read);
    };
    if (!StartThread(load)) load();
  }

  int WatchRows() {
    if (!shared_->listRead) {
      controls_.printNote("vardelle: " + GbkToUtf8(shared_->window.StatusLine()));
      return 1;
    }
    if (!SetUpRules()) return 1;
    std::shared_ptr<TestRun> run = shared_->FirstRun();
    int fetchesBefore = 0;
    for (;;) {
      const SteadyClock::time_point started = SteadyClock::now();
      if (!run) run = shared_->engine.StartRun();
      if (!AwaitRun(*run, fetchesBefore)) return 0;
      shared_->engine.Settle();  // the fetch is in: only its last writes are left
      Print(app_.alerts.JudgeRun(app_.latencyHistory, controls_.clock()));
      if (shared_->AwaitStop(std::max(started + interval_, SteadyClock::now()))) return 0;
      fetchesBefore = shared_->fetches;
      run = nullptr;
    }
  }

  // Every row, or the rows named, each target once; false when none is left. A name comes
  // as the command line gave it: UTF-8 from a Linux terminal, GBK from Windows' wide one.
  bool SetUpRules() {
    std::set<Text> named;
    for (const Text& name : options_.servers) named.insert(TrimSpaces(name));
    const AlertWatch watch{StatusWatch::kAnyChange, options_.latencyOverMs,
                           options_.lossOverPercent};
    std::set<Text> found;
    for (const MemoryRow& row : shared_->window.Rows()) {
      const AlertTarget target = AlertTargetOf(row.cells[kNameColumn], row.cells[kDomainColumn]);
      const Text utf8Name = GbkToUtf8(target.serverName);
      const bool isNamed = named.contains(target.serverName) || named.contains(utf8Name);
      if (!named.empty() && !isNamed) continue;
      if (!app_.alerts.WatchOf(target).IsEmpty()) continue;
      app_.alerts.SetWatch({row.id, target, row.cells[kRegionColumn]}, watch, "");
      found.insert({target.serverName, utf8Name});
    }
    for (const Text& name : named) {
      if (found.contains(name)) continue;
      const Text shown = SystemTextCodec().IsValidUtf8(name) ? name : GbkToUtf8(name);
      controls_.printNote("vardelle: no server named " + shown + " in the list");
    }
    const bool any = app_.alerts.AnyWatched();
    if (!any) controls_.printNote("vardelle: no server to watch");
    return any;
  }

  // True once the run and the status fetch it asked for are done; false when a stop request
  // came and they were not done within kWatchRunGrace of it.
  bool AwaitRun(const TestRun& run, int fetchesBefore) {
    std::optional<SteadyClock::time_point> giveUpAt;
    while (!run.Finished() || shared_->fetches <= fetchesBefore) {
      if (!giveUpAt && shared_->StopRequested()) giveUpAt = SteadyClock::now() + kWatchRunGrace;
      if (giveUpAt && SteadyClock::now() >= *giveUpAt) return false;
      std::this_thread::sleep_for(kRunCheck);
    }
    return true;
  }

  void Print(const std::vector<AlertEvent>& events) {
    for (const AlertEvent& event : events) controls_.printEvent(AlertEventJsonLine(event));
  }

  // The test runs stop on a thread of their own, so that one waiting out a name look-up keeps
  // the watch no longer; program end finishes that stop before the echo engine goes. A list
  // download still under way finds the window detached.
  void Detach() {
    shared_->stopping = true;
    {
      std::lock_guard guard(shared_->mutex);
      if (shared_->loaded) app_.startTestRun = nullptr;
    }
    // Keeps the whole of what the engine's threads use.
    const std::shared_ptr<TestRunEngine> engine(shared_, &shared_->engine);
    app_.stoppingTestRuns.Add(engine);
    if (!StartThread([engine] { engine->Stop(); })) engine->Stop();
    app_.window = nullptr;
    // The location lookups write into the window through the pointer they were given, so it
    // lives until the last of them is done; the watch does not wait for them.
    const std::function<void()> lookupsDone = app_.locationLookups.Waiter();
    if (!StartThread([shared = shared_, lookupsDone] { lookupsDone(); })) lookupsDone();
  }

  Application& app_;
  const WatchOptions& options_;
  const std::chrono::seconds interval_;
  const WatchControls& controls_;
  const std::shared_ptr<WatchShared> shared_;
};

const char* KindName(AlertKind kind) {
  switch (kind) {
    case AlertKind::kLatency:
      return "latency";
    case AlertKind::kLoss:
      return "loss";
    case AlertKind::kStatus:
      break;
  }
  return "status";
}

// To three decimals, as the report's figures; a whole number without a fraction.
nlohmann::ordered_json JsonNumber(const std::optional<double>& value) {
  if (!value) return nullptr;
  const double rounded = std::round(*value * 1000) / 1000;
  if (rounded == std::floor(rounded)) return static_cast<std::int64_t>(rounded);
  return rounded;
}

}  // namespace

int RunHeadlessWatch(Application& app, const WatchOptions& options, int intervalSeconds,
                     const WatchControls& controls) {
  return Watch(app, options, intervalSeconds, controls).Run();
}

std::string AlertEventJsonLine(const AlertEvent& event) {
  nlohmann::ordered_json line;
  line["time"] = IsoUtcTime(event.time);
  line["serverName"] = GbkToUtf8(event.serverName);
  line["domain"] = GbkToUtf8(event.domain);
  line["kind"] = KindName(event.kind);
  line["from"] = GbkToUtf8(event.from);
  line["to"] = GbkToUtf8(event.to);
  line["value"] = JsonNumber(event.value);
  line["threshold"] = JsonNumber(event.threshold);
  return line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

std::string IsoUtcTime(AlertTime time) {
  using namespace std::chrono;
  const sys_seconds seconds = floor<std::chrono::seconds>(time);
  const sys_days day = floor<days>(seconds);
  const year_month_day date(day);
  const hh_mm_ss clock(seconds - day);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                static_cast<int>(clock.seconds().count()));
  return text;
}

}  // namespace vardelle

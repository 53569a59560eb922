#include "app/test_run/run_engine.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <iterator>
#include <limits>
#include <numeric>
#include <set>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

#include "app/alerts/alert_watching.h"
#include "app/settings/endpoints.h"
#include "app/statistics/latency_history.h"
#include "app/statistics/statistics_cells.h"
#include "app/status/process_lists.h"
#include "app/status/region_status.h"
#include "app/table/server_table.h"
#include "app/test_run/honest_answers.h"
#include "app/view/status_line.h"

namespace vardelle {
namespace {

constexpr char kScanningText[] = "Scaning...";
constexpr char kNoAnswerText[] = "...";
constexpr int kNoAnswer = -1;
// Name look-ups at once; each blocks its thread for as long as the system's resolver takes.
constexpr int kResolverThreads = 4;
// Rows written to the window in one call: large enough that a big table takes few calls,
// small enough that no call holds the window's thread for long.
constexpr std::size_t kRowsPerWrite = 500;
// Rows read from the window in one call, for the same reason.
constexpr std::size_t kRowsPerRead = 1000;

Text LatencyText(int milliseconds) {
  return milliseconds == kNoAnswer ? Text(kNoAnswerText) : std::to_string(milliseconds) + "ms";
}

// A row is drawn in its region status word's colour.
RowColour StatusColours(const Text& status) { return {StatusWordColour(status), kDefaultColour}; }

Text OutcomeStatus(const TestRunSummary& summary, const TestRunServices& services) {
  const std::string reason = summary.answered == 0 ? services.probeUnavailableReason() : "";
  if (!reason.empty()) return ProbesUnavailableStatus(reason);
  const Text done = TestRunFinishedStatus(summary.servers, summary.answered, summary.fastestServer,
                                          summary.fastestMs);
  return summary.stillOut == 0 ? done : JoinTexts({done, StillProbingNote(summary.stillOut)});
}

// The rows a tick probes, with their name, region and domain: their identities in one step,
// their texts a slice at a time.
std::vector<RowTexts> TableRows(MainWindowView& window) {
  const std::vector<RowId> ids = window.RowIds();
  std::vector<RowTexts> table;
  table.reserve(ids.size());
  for (std::size_t first = 0; first < ids.size(); first += kRowsPerRead) {
    const auto begin = ids.begin() + static_cast<std::ptrdiff_t>(first);
    const auto end =
        begin + static_cast<std::ptrdiff_t>(std::min(kRowsPerRead, ids.size() - first));
    std::vector<RowTexts> slice =
        window.TextsOfRows({begin, end}, {kNameColumn, kRegionColumn, kDomainColumn});
    std::move(slice.begin(), slice.end(), std::back_inserter(table));
  }
  return table;
}

}  // namespace

std::vector<std::size_t> SlowestFirstOrder(const std::vector<int>& lastRoundTripsMs) {
  const auto expected = [&](std::size_t row) {
    const int last = lastRoundTripsMs[row];
    return last == kNoAnswer ? std::numeric_limits<int>::max() : last;
  };
  std::vector<std::size_t> order(lastRoundTripsMs.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return expected(a) > expected(b); });
  return order;
}

void TestRun::Wait() {
  std::unique_lock lock(mutex_);
  finishedChanged_.wait(lock, [this] { return finished_; });
}

bool TestRun::Finished() const {
  std::lock_guard guard(mutex_);
  return finished_;
}

TestRunSummary TestRun::Summary() const {
  std::lock_guard guard(mutex_);
  return summary_;
}

void TestRun::Begin(int probed, int stillOut) {
  std::lock_guard guard(mutex_);
  outstanding_ = probed;
  summary_.servers = probed;
  summary_.stillOut = stillOut;
}

bool TestRun::ResultIn(const Text& serverName, int milliseconds) {
  std::lock_guard guard(mutex_);
  if (milliseconds != kNoAnswer) {
    ++summary_.answered;
    if (summary_.fastestMs == kNoAnswer || milliseconds < summary_.fastestMs) {
      summary_.fastestMs = milliseconds;
      summary_.fastestServer = serverName;
    }
  }
  return --outstanding_ == 0;
}

void TestRun::MarkFinished() {
  std::lock_guard guard(mutex_);
  finished_ = true;
  finishedChanged_.notify_all();
}

// Everything the engine's threads share, under one mutex. Probe ends hold a reference, so
// one that comes after the engine stopped finds it stopped rather than gone.
struct TestRunEngine::Core : std::enable_shared_from_this<Core> {
  // A row to probe: its texts as the tick took them from the table, which the tick's probes
  // share (thousands of copies of them were the most of a first tick's start).
  struct Probe {
    std::shared_ptr<const std::vector<RowTexts>> table;
    std::size_t index = 0;  // of the row in table
    std::shared_ptr<TestRun> run;
    std::uint64_t sendOrder = 0;  // set when the probe goes out, for the history
    std::string address;          // set when the probe goes out

    RowId Row() const { return (*table)[index].row; }
    const Text& Name() const { return (*table)[index].cells[0]; }
    const Text& Domain() const { return (*table)[index].cells[2]; }
  };
  // One step for the writer, in the order the rule above gives.
  struct Write {
    enum class Kind { kProbeStart, kResult, kStatus, kRunEnd } kind;
    RowId row;
    Text address;
    Text status;
    int milliseconds = kNoAnswer;
    std::shared_ptr<TestRun> run;
  };
  struct RowState {
    bool probing = false;
    Text region;
    Text statusShown;  // the status word last written to the row
    // The last probe's end, for the judgement of answers that cannot be the server's.
    std::string address;
    int milliseconds = kNoAnswer;
    bool intercepted = false;
  };

  Core(TestRunShared sharedState, TestRunServices runServices)
      : shared(sharedState), services(std::move(runServices)) {}

  std::shared_ptr<TestRun> StartRun();
  void Settle();
  void Stop();

  // Reads the rows and queues their probes; on any thread but the window's.
  void TakeRows(const std::shared_ptr<TestRun>& run, MainWindowView* window);
  void HandRowsToWriter(const std::shared_ptr<TestRun>& run);
  // Under the lock, with the engine's threads started: step, unless the engine stopped.
  template <typename Step>
  bool StepUnlessStopped(Step step);

  // Under mutex.
  void StartThreads();
  void QueueRows(std::vector<RowTexts> table, const std::shared_ptr<TestRun>& run);
  void Post(Write write);

  void ResolveRows();
  void StartProbe(Probe probe, const std::string& address);
  void ProbeEnded(const Probe& probe, int milliseconds);
  // Under mutex: sets the row's word to the current one; whether it changed.
  bool RestateStatus(RowState& state);
  void FetchStatus();
  std::vector<Text> RowRegions();
  std::shared_ptr<const RegionStatusLists> DownloadStatus();
  Endpoints EndpointsNow() const {
    std::lock_guard guard(shared.endpointsMutex);
    return shared.endpoints;
  }
  void WriteResults();
  void Apply(std::vector<Write>& writes);
  void FinishRun(const TestRun& run, MainWindowView* window);
  // Judges the rows' last answers, retells the tooltips of rows whose judgement changed, and
  // returns what the status line adds.
  Text JudgeAnswers(MainWindowView* window);
  // The row's tooltip: its watch note, and why its answer is not the server's.
  Text RowNote(RowId row, const Text& watchNote);
  Text AddressCell(const std::string& address) const;
  Text ResultLatencyCell(const std::string& address, int milliseconds) const;
  std::vector<RowId> InterceptedRowIds();

  const TestRunShared shared;
  const TestRunServices services;

  std::mutex stopMutex;  // held by Stop until the threads are joined
  std::mutex mutex;
  std::condition_variable resolverWake;
  std::condition_variable fetcherWake;
  std::condition_variable writerWake;
  std::condition_variable idleChanged;
  bool stopping = false;
  std::atomic<bool> stopRequested{false};  // read by a status download under way
  std::uint64_t probesSent = 0;
  std::unordered_map<std::uint64_t, RowState> rows;
  std::deque<Probe> toResolve;
  // Ticks on the window's thread whose rows the writer is to read.
  std::deque<std::shared_ptr<TestRun>> toTake;
  // The last fetch's words, which every probe shows until the next fetch ends.
  RegionStatusWords words;
  bool fetchWanted = false;
  bool fetching = false;
  bool writing = false;
  std::vector<Write> outbox;
  std::vector<std::shared_ptr<TestRun>> openRuns;
  std::vector<std::thread> threads;
};

// A tick on the window's thread would hold the window for as long as a whole table takes to
// read; the writer reads it instead, a slice per call, and the window runs between them.
std::shared_ptr<TestRun> TestRunEngine::Core::StartRun() {
  const auto run = std::make_shared<TestRun>();
  MainWindowView* window = shared.window.load();
  if (window && window->OnWindowThread()) {
    HandRowsToWriter(run);
  } else {
    TakeRows(run, window);
  }
  return run;
}

void TestRunEngine::Core::TakeRows(const std::shared_ptr<TestRun>& run, MainWindowView* window) {
  try {
    std::vector<RowTexts> table = window ? TableRows(*window) : std::vector<RowTexts>();
    shared.miniView.TrackRows(table);
    for (const auto& [row, note] : shared.alerts.TrackRows(table)) {
      window->SetRowWatchNote(row, RowNote(row, note));
    }
    if (StepUnlessStopped([&] { QueueRows(std::move(table), run); })) return;
  } catch (const std::exception&) {
    // Out of memory or no thread to be had: a run without probes, which still ends.
  }
  run->MarkFinished();
}

void TestRunEngine::Core::HandRowsToWriter(const std::shared_ptr<TestRun>& run) {
  try {
    const bool handed = StepUnlessStopped([&] {
      toTake.push_back(run);
      writerWake.notify_one();
    });
    if (handed) return;
  } catch (const std::exception&) {
    // As in TakeRows.
  }
  run->MarkFinished();
}

template <typename Step>
bool TestRunEngine::Core::StepUnlessStopped(Step step) {
  std::lock_guard guard(mutex);
  if (stopping) return false;
  StartThreads();
  step();
  return true;
}

void TestRunEngine::Core::StartThreads() {
  if (!threads.empty()) return;
  for (int i = 0; i < kResolverThreads; ++i) threads.emplace_back([this] { ResolveRows(); });
  threads.emplace_back([this] { FetchStatus(); });
  threads.emplace_back([this] { WriteResults(); });
}

void TestRunEngine::Core::QueueRows(std::vector<RowTexts> table,
                                    const std::shared_ptr<TestRun>& run) {
  const auto texts = std::make_shared<const std::vector<RowTexts>>(std::move(table));
  int stillOut = 0;
  std::vector<std::size_t> probed;  // indices into texts
  std::vector<int> lastRoundTrips;
  probed.reserve(texts->size());
  lastRoundTrips.reserve(texts->size());
  if (rows.empty()) rows.reserve(texts->size());  // a first tick enters every row
  for (std::size_t i = 0; i < texts->size(); ++i) {
    RowState& state = rows[(*texts)[i].row.value];
    state.region = (*texts)[i].cells[1];
    if (state.probing) {
      ++stillOut;
      continue;
    }
    state.probing = true;
    probed.push_back(i);
    lastRoundTrips.push_back(state.milliseconds);
  }
  for (const std::size_t i : SlowestFirstOrder(lastRoundTrips)) {
    toResolve.push_back({texts, probed[i], run, 0, {}});
  }
  run->Begin(static_cast<int>(probed.size()), stillOut);
  if (texts->empty()) {
    run->MarkFinished();  // the status line keeps saying why the table is empty
    return;
  }
  if (!fetching) {  // a download under way serves this tick too
    fetchWanted = true;
    fetcherWake.notify_one();
  }
  openRuns.push_back(run);
  if (probed.empty()) Post({Write::Kind::kRunEnd, {}, {}, {}, kNoAnswer, run});
  resolverWake.notify_all();
}

void TestRunEngine::Core::Post(Write write) {
  outbox.push_back(std::move(write));
  writerWake.notify_one();
}

void TestRunEngine::Core::Settle() {
  std::unique_lock lock(mutex);
  idleChanged.wait(lock, [this] {
    return stopping || (!fetchWanted && !fetching && toTake.empty() && outbox.empty() && !writing);
  });
}

void TestRunEngine::Core::Stop() {
  const std::lock_guard stopGuard(stopMutex);  // a second caller returns once this one joined
  std::vector<std::thread> joined;
  std::vector<std::shared_ptr<TestRun>> unfinished;
  {
    std::lock_guard guard(mutex);
    stopping = true;
    stopRequested = true;
    joined.swap(threads);
    unfinished.swap(openRuns);
    unfinished.insert(unfinished.end(), toTake.begin(), toTake.end());
    toTake.clear();
  }
  resolverWake.notify_all();
  fetcherWake.notify_all();
  writerWake.notify_all();
  idleChanged.notify_all();
  for (std::thread& thread : joined) thread.join();
  for (const std::shared_ptr<TestRun>& run : unfinished) run->MarkFinished();
}

void TestRunEngine::Core::ResolveRows() {
  for (;;) {
    Probe probe;
    {
      std::unique_lock lock(mutex);
      resolverWake.wait(lock, [this] { return stopping || !toResolve.empty(); });
      if (stopping) return;
      probe = std::move(toResolve.front());
      toResolve.pop_front();
    }
    std::string address;
    try {
      address = services.resolveHostAddress(probe.Domain());
    } catch (const std::exception&) {
      // An address that cannot be had is no answer, as for a name that does not resolve.
    }
    StartProbe(probe, address);
  }
}

void TestRunEngine::Core::StartProbe(Probe probe, const std::string& address) {
  {
    std::lock_guard guard(mutex);
    if (stopping) return;
    probe.sendOrder = ++probesSent;
    probe.address = address;
    RowState& state = rows[probe.Row().value];
    RestateStatus(state);
    Post({Write::Kind::kProbeStart, probe.Row(), address, state.statusShown, kNoAnswer, nullptr});
  }
  try {
    services.sendPing(address, [core = shared_from_this(), probe](int milliseconds) {
      core->ProbeEnded(probe, milliseconds);
    });
  } catch (const std::exception&) {
    ProbeEnded(probe, kNoAnswer);
  }
}

// On the echo engine's thread (or the caller's for a probe that never went out): quick, and
// nothing here waits for anything but the engine's lock.
void TestRunEngine::Core::ProbeEnded(const Probe& probe, int milliseconds) {
  std::lock_guard guard(mutex);
  if (stopping) return;
  RowState& state = rows[probe.Row().value];
  state.probing = false;
  state.address = probe.address;
  state.milliseconds = milliseconds;
  shared.latencyHistory.Record(probe.Row(), probe.sendOrder, milliseconds);
  RestateStatus(state);
  Post(
      {Write::Kind::kResult, probe.Row(), probe.address, state.statusShown, milliseconds, nullptr});
  if (probe.run->ResultIn(probe.Name(), milliseconds)) {
    Post({Write::Kind::kRunEnd, {}, {}, {}, kNoAnswer, probe.run});
  }
}

bool TestRunEngine::Core::RestateStatus(RowState& state) {
  const Text& shown = words.Keep(state.region).shown;
  if (shown == state.statusShown) return false;
  state.statusShown = shown;
  return true;
}

void TestRunEngine::Core::FetchStatus() {
  for (;;) {
    {
      std::unique_lock lock(mutex);
      fetcherWake.wait(lock, [this] { return stopping || fetchWanted; });
      if (stopping) return;
      fetchWanted = false;
      fetching = true;
    }
    RegionStatusWords fetched(DownloadStatus(), RowRegions());
    shared.alerts.StatusFetched(fetched);
    std::lock_guard guard(mutex);
    if (stopping) return;
    words = std::move(fetched);
    // Only the rows whose word changed: under this lock, which every probe's start and end
    // waits for, thousands of writes of words the rows already show held them all up.
    for (auto& [row, state] : rows) {
      if (!RestateStatus(state)) continue;
      Post({Write::Kind::kStatus, RowId{row}, {}, state.statusShown, kNoAnswer, nullptr});
    }
    fetching = false;
    idleChanged.notify_all();
  }
}

// Each region once, for its word to be read outside the lock: a table has thousands of rows
// but a few dozen regions.
std::vector<Text> TestRunEngine::Core::RowRegions() {
  std::set<Text> regions;
  std::lock_guard guard(mutex);
  for (const auto& [row, state] : rows) regions.insert(state.region);
  return {regions.begin(), regions.end()};
}

// The set downloaded becomes the current one; a failed download hands on the one before it.
std::shared_ptr<const RegionStatusLists> TestRunEngine::Core::DownloadStatus() {
  try {
    const Endpoints endpoints = EndpointsNow();
    if (!services.fetchRegionStatus)
      return FetchRegionStatus(endpoints, shared.lists, stopRequested);
    std::shared_ptr<const RegionStatusLists> lists = services.fetchRegionStatus(endpoints);
    PublishRegionStatus(shared.lists, lists);
    return lists ? lists : CurrentRegionStatus(shared.lists);
  } catch (const std::exception&) {
    return CurrentRegionStatus(shared.lists);
  }
}

// A tick's rows are read before the results waiting are written: its probes start sooner.
void TestRunEngine::Core::WriteResults() {
  for (;;) {
    std::shared_ptr<TestRun> taking;
    std::vector<Write> writes;
    {
      std::unique_lock lock(mutex);
      writerWake.wait(lock, [this] { return stopping || !toTake.empty() || !outbox.empty(); });
      if (stopping) return;
      if (toTake.empty()) {
        writes.swap(outbox);
      } else {
        taking = std::move(toTake.front());
        toTake.pop_front();
      }
      writing = true;
    }
    if (taking) {
      TakeRows(taking, shared.window.load());
    } else {
      try {
        Apply(writes);
      } catch (const std::exception&) {
        // Out of memory: these results stay unwritten; the rows show them at the next tick.
      }
    }
    std::lock_guard guard(mutex);
    writing = false;
    idleChanged.notify_all();
  }
}

// Writes a batch in slices, each one call to the window; a run's status line follows the
// slice that holds its last result.
void TestRunEngine::Core::Apply(std::vector<Write>& writes) {
  MainWindowView* window = shared.window.load();
  std::vector<RowChange> changes;
  std::vector<RowId> results;
  std::vector<std::shared_ptr<TestRun>> ended;
  const auto flush = [&] {
    if (window && !changes.empty()) {
      window->ApplyRowChanges(changes);
      shared.miniView.RowsChanged(changes, *window);
    }
    changes.clear();
    // Judged once the window shows them, so a notification never runs ahead of the table.
    for (RowId row : results) shared.alerts.ResultIn(row, shared.latencyHistory);
    results.clear();
    for (const std::shared_ptr<TestRun>& run : ended) FinishRun(*run, window);
    ended.clear();
  };
  for (Write& write : writes) {
    switch (write.kind) {
      case Write::Kind::kProbeStart:
        changes.push_back({.row = write.row,
                           .cells = {{kAddressColumn, AddressCell(write.address)},
                                     {kLatencyColumn, kScanningText},
                                     {kStatusColumn, write.status}},
                           .colour = StatusColours(write.status)});
        break;
      case Write::Kind::kResult:
      case Write::Kind::kStatus: {
        RowChange& change = changes.emplace_back(
            RowChange{.row = write.row, .colour = StatusColours(write.status)});
        if (write.kind == Write::Kind::kResult) {
          change.cells.emplace_back(kLatencyColumn,
                                    ResultLatencyCell(write.address, write.milliseconds));
          change.icon = write.milliseconds == kNoAnswer ? RowIcon::kNoAnswer : RowIcon::kAnswered;
          AddStatistics(shared.latencyHistory, change);
          results.push_back(write.row);
        }
        change.cells.emplace_back(kStatusColumn, write.status);
        break;
      }
      case Write::Kind::kRunEnd:
        ended.push_back(std::move(write.run));
        break;
    }
    if (changes.size() >= kRowsPerWrite || !ended.empty()) flush();
  }
  flush();
}

// The tick's last step: the status line tells what it did.
void TestRunEngine::Core::FinishRun(const TestRun& run, MainWindowView* window) {
  if (window) {
    const Text honesty = JudgeAnswers(window);
    window->SetStatusLine(OutcomeStatus(run.Summary(), services) + honesty +
                          shared.alerts.StatusNote());
    window->SetTrayToolTip(shared.alerts.TrayToolTip(shared.latencyHistory));
  }
  std::shared_ptr<TestRun> finished;
  {
    std::lock_guard guard(mutex);
    for (auto it = openRuns.begin(); it != openRuns.end(); ++it) {
      if (it->get() == &run) {
        finished = std::move(*it);
        openRuns.erase(it);
        break;
      }
    }
  }
  if (finished) finished->MarkFinished();
}

Text TestRunEngine::Core::JudgeAnswers(MainWindowView* window) {
  std::vector<AnsweredRow> answered;
  bool fakeAddresses = false;
  {
    std::lock_guard guard(mutex);
    for (const auto& [row, state] : rows) {
      fakeAddresses |= IsInRange(state.address, shared.fakeAddresses);
      if (state.milliseconds != kNoAnswer) {
        answered.push_back({RowId{row}, state.address, state.milliseconds});
      }
    }
  }
  const std::vector<RowId> judged = vardelle::InterceptedRows(answered, shared.fakeAddresses);
  const std::set<RowId> intercepted(judged.begin(), judged.end());
  std::vector<RowId> retold;
  {
    std::lock_guard guard(mutex);
    for (auto& [row, state] : rows) {
      const bool now = intercepted.contains(RowId{row});
      if (now != state.intercepted) retold.push_back(RowId{row});
      state.intercepted = now;
    }
  }
  for (const RowId row : retold) {
    window->SetRowWatchNote(row, RowNote(row, shared.alerts.ToolTipNote(row)));
  }
  return HonestAnswersNote(fakeAddresses, !intercepted.empty());
}

Text TestRunEngine::Core::RowNote(RowId row, const Text& watchNote) {
  {
    std::lock_guard guard(mutex);
    const auto state = rows.find(row.value);
    if (state == rows.end() || !state->second.intercepted) return watchNote;
  }
  return watchNote.empty() ? InterceptedRowNote()
                           : JoinTexts({watchNote, "\n", InterceptedRowNote()});
}

Text TestRunEngine::Core::AddressCell(const std::string& address) const {
  return IsInRange(address, shared.fakeAddresses) ? FakeAddressCell(address) : address;
}

Text TestRunEngine::Core::ResultLatencyCell(const std::string& address, int milliseconds) const {
  const Text cell = LatencyText(milliseconds);
  return milliseconds != kNoAnswer && IsInRange(address, shared.fakeAddresses)
             ? FakeAddressLatencyCell(cell)
             : cell;
}

std::vector<RowId> TestRunEngine::Core::InterceptedRowIds() {
  std::lock_guard guard(mutex);
  std::vector<RowId> intercepted;
  for (const auto& [row, state] : rows) {
    if (state.intercepted) intercepted.push_back(RowId{row});
  }
  return intercepted;
}

TestRunEngine::TestRunEngine(TestRunShared shared, TestRunServices services)
    : core_(std::make_shared<Core>(shared, std::move(services))) {}

TestRunEngine::~TestRunEngine() { Stop(); }

std::shared_ptr<TestRun> TestRunEngine::StartRun() { return core_->StartRun(); }

void TestRunEngine::Settle() { core_->Settle(); }

void TestRunEngine::Stop() { core_->Stop(); }

std::vector<RowId> TestRunEngine::InterceptedRows() const { return core_->InterceptedRowIds(); }

void StoppingTestRuns::Add(std::shared_ptr<TestRunEngine> engine) {
  std::lock_guard guard(mutex_);
  engines_.push_back(std::move(engine));
}

void StoppingTestRuns::StopAll() {
  std::vector<std::shared_ptr<TestRunEngine>> stopping;
  {
    std::lock_guard guard(mutex_);
    stopping.swap(engines_);
  }
  for (const std::shared_ptr<TestRunEngine>& engine : stopping) engine->Stop();
}

}  // namespace vardelle

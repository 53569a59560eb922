// Test runs end to end: the demo world's documents and table through the real status
// look-up, with the probes held at a gate so what the table shows meanwhile can be seen;
// overlapping runs and a sort during a run; and the headless report of a whole run.
#include "app/test_run/run_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <fstream>
#include <functional>
#include <future>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "app/application/application.h"
#include "app/headless/headless_run.h"
#include "app/loading/server_list_loading.h"
#include "app/location/location_lookups.h"
#include "app/start/command_line.h"
#include "app/status/region_status.h"
#include "app/table/server_table.h"
#include "app/test_run/honest_answers.h"
#include "app/view/memory_window.h"
#include "demo_world/demo_world.h"
#include "support/json_documents/json_documents.h"
#include "support/text/text_codec.h"
#include "testing/raw_socket_server.h"
#include "tests/app/fake_window.h"
#include "tests/demo_world_servers.h"

namespace vardelle {
namespace {

using testing::kDemoServersByName;

using Done = std::function<void(int)>;

// Holds every probe it is handed until the test ends it, counting the probes waiting.
class ProbeGate {
 public:
  void Hold(const std::string& address, Done done) {
    std::lock_guard guard(mutex_);
    held_.emplace_back(address, std::move(done));
    changed_.notify_all();
  }
  void AwaitWaiting(std::size_t count) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return held_.size() >= count; });
  }
  // Ends every held probe to address (every one, for ""), from this thread.
  void End(int milliseconds, const std::string& address = "") {
    std::vector<Done> ending;
    {
      std::lock_guard guard(mutex_);
      for (auto it = held_.begin(); it != held_.end();) {
        if (address.empty() || it->first == address) {
          ending.push_back(std::move(it->second));
          it = held_.erase(it);
        } else {
          ++it;
        }
      }
    }
    for (Done& done : ending) done(milliseconds);
  }
  // Ends each held probe with the time answer(address) gives.
  void EndEach(const std::function<int(const std::string&)>& answer) {
    std::vector<std::pair<std::string, Done>> ending;
    {
      std::lock_guard guard(mutex_);
      ending.swap(held_);
    }
    for (auto& [address, done] : ending) done(answer(address));
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::pair<std::string, Done>> held_;
};

// The status word each demo region shows, and its colour.
struct StatusCase {
  const char* word;
  Colour colour;
};
const std::map<std::string, StatusCase> kDemoStatus{
    {"艾欧尼亚", {"满载", 0x000000FF}},  {"祖安", {"拥挤", 0x000080FF}},
    {"黑色玫瑰", {"拥挤", 0x000080FF}},  {"影流", {"维护", 0x00808080}},
    {"男爵领域", {"火爆", 0x00808080}},  {"巨龙之巢", {"停机", 0x00808080}},
    {"体验服", {"未知状态", 0x00808080}}};
StatusCase DemoStatusOf(const std::string& region) {
  const auto found = kDemoStatus.find(region);
  return found == kDemoStatus.end() ? StatusCase{"正常", 0x00000000} : found->second;
}

// A status set in which 艾欧尼亚 is 满载.
std::shared_ptr<const RegionStatusLists> IoniaFull(const Endpoints&) {
  auto lists = std::make_shared<RegionStatusLists>();
  lists->serverInfoItems = {"'1':'艾欧尼亚'"};
  lists->statusCodeItems = {"\"1\":\"3\""};
  lists->serverStatusItems = {"3:'满载'"};
  return lists;
}

std::shared_ptr<const RegionStatusLists> NoStatus(const Endpoints&) {
  return std::make_shared<const RegionStatusLists>();
}

class TestRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.window = &window;
    app.lists = lists;
    services.fetchRegionStatus = NoStatus;
    services.sendPing = [this](const std::string& address, Done done) {
      gate.Hold(address, std::move(done));
    };
  }

  void AddRows(const std::vector<std::string>& domains, const std::string& region = "") {
    for (const std::string& domain : domains) {
      const RowId row = window.InsertRow(domain + " server", RowIcon::kNotTested);
      window.SetCellText(row, kDomainColumn, domain);
      window.SetCellText(row, kRegionColumn, region);
    }
  }
  std::vector<std::string> Column(int column) { return window.Column(column); }

  Application app;
  testing::FakeWindow window;
  std::shared_ptr<ProcessLists> lists = std::make_shared<ProcessLists>();
  ProbeGate gate;
  TestRunServices services;
};

TEST_F(TestRunTest, DemoWorldRowsShowScanningThenTheirResultInTheirStatusColour) {
  demo::DemoWorld world;
  ASSERT_TRUE(world.Start());
  for (const SiteInfo& site : SiteTable()) app.endpoints.SetBaseUrl(site.site, world.BaseUrl());
  LoadServerList(app);
  app.locationLookups.Wait();
  services.fetchRegionStatus = nullptr;  // the demo world's documents
  TestRunEngine engine(app.SharedWithTestRuns(), services);

  const std::shared_ptr<TestRun> run = engine.StartRun();
  gate.AwaitWaiting(std::size(kDemoServersByName));
  engine.Settle();  // the status documents are in; only the probes are held
  for (const MemoryRow& row : window.Rows()) {
    EXPECT_EQ(row.cells[kLatencyColumn], "Scaning...") << row.cells[kNameColumn];
    EXPECT_EQ(row.icon, RowIcon::kNotTested);
  }
  // 电信01区 (127.0.0.2) is the fastest; the server without a domain has no address.
  gate.EndEach([](const std::string& address) {
    return address.empty() ? -1 : address == "127.0.0.2" ? 7 : 20;
  });
  run->Wait();

  const std::vector<MemoryRow> rows = window.Rows();
  ASSERT_EQ(rows.size(), std::size(kDemoServersByName));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const MemoryRow& row = rows[i];
    const testing::DemoServerRow& server = kDemoServersByName[i];
    SCOPED_TRACE(server.region);
    const bool answered = !std::string(server.address).empty();
    EXPECT_EQ(row.cells[kAddressColumn], server.address);
    EXPECT_EQ(row.cells[kLatencyColumn], !answered ? "..." : i == 0 ? "7ms" : "20ms");
    EXPECT_EQ(row.icon, answered ? RowIcon::kAnswered : RowIcon::kNoAnswer);
    EXPECT_EQ(row.cells[kStatusColumn], DemoStatusOf(server.region).word);
    EXPECT_EQ(row.colour.textColour, DemoStatusOf(server.region).colour);
    EXPECT_EQ(row.colour.backColour, kDefaultColour);
  }
  EXPECT_EQ(window.StatusLine(), "测速完成：30 个服务器，29 个有响应，最快 电信01区 7ms");
  EXPECT_EQ(run->Summary().answered, 29);

  // With the network gone, every row says so in grey.
  TestRunServices unreachable;
  unreachable.fetchRegionStatus = NoStatus;
  unreachable.sendPing = [](const std::string&, Done done) { done(-1); };
  TestRunEngine gone(app.SharedWithTestRuns(), unreachable);
  gone.StartRun()->Wait();
  gone.Settle();
  for (const MemoryRow& row : window.Rows()) {
    EXPECT_EQ(row.colour.textColour, 0x00808080u);
  }
  EXPECT_EQ(Column(kLatencyColumn), std::vector<std::string>(rows.size(), "..."));
  EXPECT_EQ(Column(kStatusColumn), std::vector<std::string>(rows.size(), "未知状态"));
}

// The timer ticks while one row's probe waits out its time-out: that row keeps its probe,
// the others are probed at every tick, and every tick ends with its own status line.
TEST_F(TestRunTest, ASilentRowKeepsItsProbeAcrossTicksAndEveryTickEnds) {
  AddRows({"127.0.0.2", "127.0.0.3", "127.0.0.9"}, "艾欧尼亚");
  services.fetchRegionStatus = IoniaFull;
  TestRunEngine engine(app.SharedWithTestRuns(), services);

  const std::shared_ptr<TestRun> first = engine.StartRun();
  gate.AwaitWaiting(3);
  gate.End(5, "127.0.0.2");
  gate.End(6, "127.0.0.3");
  const std::shared_ptr<TestRun> second = engine.StartRun();
  gate.AwaitWaiting(3);  // the two answered rows again; the silent one's probe is still out
  gate.End(4, "127.0.0.2");
  gate.End(3, "127.0.0.3");
  second->Wait();
  EXPECT_FALSE(first->Finished());
  EXPECT_EQ(window.StatusLine(),
            "测速完成：2 个服务器，2 个有响应，最快 127.0.0.3 server 3ms；"
            "1 个服务器仍在等待上一轮的应答");

  gate.End(-1, "127.0.0.9");  // its time-out
  first->Wait();
  engine.Settle();
  EXPECT_EQ(window.StatusLine(), "测速完成：3 个服务器，2 个有响应，最快 127.0.0.2 server 5ms");
  EXPECT_EQ(Column(kLatencyColumn), (std::vector<std::string>{"4ms", "3ms", "..."}));
  const MemoryRow silent = window.Rows()[2];
  EXPECT_EQ(silent.icon, RowIcon::kNoAnswer);
  EXPECT_EQ(silent.cells[kStatusColumn], "满载");
  EXPECT_EQ(silent.colour.textColour, 0x000000FFu) << "满载 is red";
  EXPECT_EQ(window.statusLines.size(), 2u);
}

// 艾欧尼亚 is 满载 (red) at every fetch. Its silent row is red as soon as the status is in and
// stays red through every probe: a probe changes the latency cell, never the row's colour.
TEST_F(TestRunTest, ASilentRowKeepsItsStatusColourWhileItsNextProbeIsOut) {
  AddRows({"127.0.0.9"}, "艾欧尼亚");
  services.fetchRegionStatus = IoniaFull;
  TestRunEngine engine(app.SharedWithTestRuns(), services);
  const auto expectShown = [&](const std::string& latency) {
    engine.Settle();
    const MemoryRow row = window.Rows()[0];
    EXPECT_EQ(row.cells[kLatencyColumn], latency);
    EXPECT_EQ(row.cells[kStatusColumn], "满载");
    EXPECT_EQ(row.colour.textColour, 0x000000FFu);
  };
  for (int tick = 1; tick <= 3; ++tick) {
    SCOPED_TRACE(tick);
    const std::shared_ptr<TestRun> run = engine.StartRun();
    gate.AwaitWaiting(1);
    expectShown("Scaning...");
    gate.End(-1);  // its time-out
    run->Wait();
    expectShown("...");
  }
}

// Two ticks at once, the first one's table read held up by the window's thread: the second
// probes the row first, and its result stays the older one in the history.
TEST_F(TestRunTest, ResultsAreOrderedByWhenTheirProbeWasSent) {
  class SlowFirstRead : public testing::FakeWindow {
   public:
    std::vector<RowTexts> TextsOfRows(const std::vector<RowId>& rows,
                                      const std::vector<int>& columns) override {
      if (!held_.exchange(true)) {
        reading_.set_value();
        released_.wait();
      }
      return MemoryWindow::TextsOfRows(rows, columns);
    }
    void AwaitRead() { reading_.get_future().wait(); }
    void Release() { release_.set_value(); }

   private:
    std::atomic<bool> held_{false};
    std::promise<void> reading_;
    std::promise<void> release_;
    std::shared_future<void> released_ = release_.get_future().share();
  } slow;
  app.window = &slow;
  const RowId id = slow.InsertRow("server", RowIcon::kNotTested);
  slow.SetCellText(id, kDomainColumn, "127.0.0.2");
  TestRunEngine engine(app.SharedWithTestRuns(), services);

  std::shared_ptr<TestRun> first;
  std::thread slowTick([&] { first = engine.StartRun(); });
  slow.AwaitRead();
  const std::shared_ptr<TestRun> second = engine.StartRun();
  gate.AwaitWaiting(1);
  gate.End(20);
  second->Wait();
  slow.Release();
  slowTick.join();
  gate.AwaitWaiting(1);
  gate.End(30);
  first->Wait();
  engine.Stop();
  app.window = &window;

  EXPECT_EQ(app.latencyHistory.RecentResults(id, 10), (std::vector<LatencySample>{20, 30}));
  EXPECT_EQ(app.latencyHistory.StatisticsOf(id).lastMs, 30);
}

TEST_F(TestRunTest, ASortDuringTheRunLeavesEveryResultInItsOwnRow) {
  AddRows({"127.0.0.2", "127.0.0.3", "127.0.0.4"});
  TestRunEngine engine(app.SharedWithTestRuns(), services);
  const std::shared_ptr<TestRun> run = engine.StartRun();
  gate.AwaitWaiting(3);
  window.SortRows([](RowId a, RowId b) { return b.value < a.value ? -1 : 1; });
  gate.EndEach([](const std::string& address) { return address.back() - '0'; });
  run->Wait();

  EXPECT_EQ(Column(kDomainColumn),
            (std::vector<std::string>{"127.0.0.4", "127.0.0.3", "127.0.0.2"}));
  EXPECT_EQ(Column(kLatencyColumn), (std::vector<std::string>{"4ms", "3ms", "2ms"}));
}

// A header click may sort the table while the run takes its rows: each row is still
// measured once.
TEST_F(TestRunTest, ASortWhileTheRunTakesItsRowsMeasuresEveryRowOnce) {
  class SortingWindow : public MemoryWindow {
   public:
    std::vector<RowId> RowIds() override {
      Flip();
      return MemoryWindow::RowIds();
    }
    std::vector<RowTexts> TextsOfRows(const std::vector<RowId>& rows,
                                      const std::vector<int>& columns) override {
      Flip();
      return MemoryWindow::TextsOfRows(rows, columns);
    }

   private:
    void Flip() {
      descending_ = !descending_;
      SortRows([this](RowId a, RowId b) {
        const int order = (a > b) - (a < b);
        return descending_ ? -order : order;
      });
    }
    bool descending_ = false;
  } sorting;
  app.window = &sorting;
  for (const char* address : {"127.0.0.2", "127.0.0.3", "127.0.0.4"}) {
    sorting.SetCellText(sorting.InsertRow("server", RowIcon::kNotTested), kDomainColumn, address);
  }
  std::mutex mutex;
  std::multiset<std::string> probed;
  services.sendPing = [&](const std::string& address, Done done) {
    {
      std::lock_guard guard(mutex);
      probed.insert(address);
    }
    done(1);
  };
  TestRunEngine engine(app.SharedWithTestRuns(), services);
  engine.StartRun()->Wait();
  engine.Stop();
  app.window = &window;
  EXPECT_EQ(probed, (std::multiset<std::string>{"127.0.0.2", "127.0.0.3", "127.0.0.4"}));
}

// A tick on the window's thread leaves the reading to the writer, a slice at a time. The
// table sorted and a row edited between two slices, or emptied: every row read gets its
// own result, the edited one by its new text, and rows gone get nothing.
TEST_F(TestRunTest, ATableChangedBetweenTheSlicesOfItsReadGivesEachRowItsOwnResult) {
  class ChangingWindow : public testing::FakeWindow {
   public:
    explicit ChangingWindow(std::function<void(MemoryWindow&)> change)
        : change_(std::move(change)) {}
    bool OnWindowThread() override { return true; }
    std::vector<RowTexts> TextsOfRows(const std::vector<RowId>& rows,
                                      const std::vector<int>& columns) override {
      if (++slices_ == 2) change_(*this);
      std::vector<RowTexts> texts = MemoryWindow::TextsOfRows(rows, columns);
      if (slices_ == 1) firstSliceRows = static_cast<int>(texts.size());
      return texts;
    }
    std::atomic<int> firstSliceRows{0};

   private:
    std::function<void(MemoryWindow&)> change_;
    std::atomic<int> slices_{0};
  };
  const auto reverseAndEditFirst = [](MemoryWindow& changing) {
    changing.SortRows([](RowId a, RowId b) { return b.value < a.value ? -1 : 1; });
    changing.SetCellText(changing.RowIdAt(0), kDomainColumn, "127.0.99.77");
  };
  const struct {
    const char* change;
    std::function<void(MemoryWindow&)> between;
    bool emptied;
  } cases[] = {{"sorted and edited", reverseAndEditFirst, false},
               {"emptied", [](MemoryWindow& changing) { changing.DeleteAllRows(); }, true}};
  const auto lastNumber = [](const std::string& address) {
    return address.substr(address.rfind('.') + 1);
  };
  services.resolveHostAddress = [](const std::string& domain) { return domain; };
  services.sendPing = [&](const std::string& address, Done done) {
    done(std::stoi(lastNumber(address)));
  };
  constexpr int kRows = 2500;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.change);
    ChangingWindow changing(c.between);
    for (int i = 0; i < kRows; ++i) {
      const RowId row = changing.InsertRow("server", RowIcon::kNotTested);
      changing.SetCellText(row, kDomainColumn,
                           "127.0." + std::to_string(i / 250) + "." + std::to_string(1 + i % 250));
    }
    app.window = &changing;
    TestRunEngine engine(app.SharedWithTestRuns(), services);
    const std::shared_ptr<TestRun> run = engine.StartRun();
    run->Wait();
    engine.Settle();
    engine.Stop();
    app.window = &window;

    ASSERT_LT(changing.firstSliceRows, kRows) << "the table was read in one slice";
    const int read = c.emptied ? changing.firstSliceRows.load() : kRows;
    EXPECT_EQ(run->Summary().servers, read);
    EXPECT_EQ(run->Summary().answered, read);
    const std::vector<MemoryRow> rows = changing.Rows();
    ASSERT_EQ(rows.size(), c.emptied ? 0u : static_cast<std::size_t>(kRows));
    for (const MemoryRow& row : rows) {
      const std::string& domain = row.cells[kDomainColumn];
      EXPECT_EQ(row.cells[kAddressColumn], domain);
      EXPECT_EQ(row.cells[kLatencyColumn], lastNumber(domain) + "ms") << domain;
    }
    if (!c.emptied) {
      EXPECT_EQ(rows[0].cells[kAddressColumn], "127.0.99.77");
    }
  }
}

// The probes go out at once and their latencies are written while the status site has not
// answered yet; a table without rows asks for no status at all.
TEST_F(TestRunTest, AStatusSiteThatNeverAnswersDelaysNoLatency) {
  testing::KeepLoopbackTrafficDirect();
  std::atomic<int> asked{0};
  std::atomic<bool> answered{false};
  testing::RawSocketServer blackhole([&](testing::RawConnection& connection) {
    ++asked;
    connection.Hold(std::chrono::seconds(60));
    answered = true;
  });
  app.endpoints.SetBaseUrl(Site::kStatusSite, blackhole.Url(""));
  services.fetchRegionStatus = nullptr;
  services.sendPing = [](const std::string&, Done done) { done(9); };
  TestRunEngine engine(app.SharedWithTestRuns(), services);
  engine.StartRun()->Wait();
  EXPECT_EQ(asked, 0) << "an empty table fetches nothing";

  AddRows({"127.0.0.2", "127.0.0.3"});
  engine.StartRun()->Wait();
  EXPECT_EQ(Column(kLatencyColumn), (std::vector<std::string>{"9ms", "9ms"}));
  EXPECT_FALSE(answered) << "the run waited for the status site";
  engine.Stop();  // ends the download under way
}

// Ticks that come while the status documents are downloaded start no download of their own.
TEST_F(TestRunTest, ATickDuringAStatusDownloadStartsNoOther) {
  AddRows({"127.0.0.2"});
  std::mutex mutex;
  std::condition_variable changed;
  int downloads = 0;
  bool released = false;
  services.fetchRegionStatus = [&](const Endpoints& endpoints) {
    std::unique_lock lock(mutex);
    ++downloads;
    changed.notify_all();
    changed.wait(lock, [&] { return released; });
    return NoStatus(endpoints);
  };
  services.sendPing = [](const std::string&, Done done) { done(1); };
  TestRunEngine engine(app.SharedWithTestRuns(), services);
  engine.StartRun()->Wait();
  {
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return downloads == 1; });
  }
  engine.StartRun()->Wait();
  engine.StartRun()->Wait();
  {
    std::lock_guard guard(mutex);
    released = true;
    changed.notify_all();
  }
  engine.Settle();
  std::lock_guard guard(mutex);
  EXPECT_EQ(downloads, 1);
}

// A tick over rows that never answer, again and again: the engine's threads stay a fixed
// few, however many rows and ticks.
TEST_F(TestRunTest, ThreadsStayFewOverManyTicksOfAThousandSilentRows) {
  const auto threadCount = [] {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
      if (line.starts_with("Threads:")) return std::stoi(line.substr(8));
    }
    return -1;
  };
  std::vector<std::string> domains;
  for (int i = 0; i < 1000; ++i)
    domains.push_back("127.0." + std::to_string(i / 250) + "." + std::to_string(1 + i % 250));
  AddRows(domains);
  const int before = threadCount();
  TestRunEngine engine(app.SharedWithTestRuns(), services);
  int most = before;
  std::vector<std::shared_ptr<TestRun>> runs;
  for (int tick = 0; tick < 5; ++tick) {
    runs.push_back(engine.StartRun());
    gate.AwaitWaiting(domains.size());
    most = std::max(most, threadCount());
  }
  EXPECT_LE(most - before, 10);
  for (std::size_t tick = 1; tick < runs.size(); ++tick) runs[tick]->Wait();  // nothing to probe
  gate.End(-1);
  runs.front()->Wait();
  EXPECT_EQ(runs.front()->Summary().servers, 1000);
  EXPECT_EQ(runs.back()->Summary().stillOut, 1000);
}

// RFC 4180 fields of a CSV text, line by line.
std::vector<std::vector<std::string>> ParseCsv(const std::string& csv) {
  std::vector<std::vector<std::string>> lines(1);
  std::string field;
  bool quoted = false;
  for (std::size_t i = 0; i < csv.size(); ++i) {
    const char c = csv[i];
    if (quoted && c == '"' && i + 1 < csv.size() && csv[i + 1] == '"') {
      field += '"';
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && c == ',') {
      lines.back().push_back(std::exchange(field, {}));
    } else if (!quoted && c == '\r' && i + 1 < csv.size() && csv[i + 1] == '\n') {
      lines.back().push_back(std::exchange(field, {}));
      lines.emplace_back();
      ++i;
    } else {
      field += c;
    }
  }
  if (lines.back().empty()) lines.pop_back();
  return lines;
}

std::string CsvValue(const nlohmann::json& value) {
  if (value.is_null()) return "";
  return value.is_string() ? value.get<std::string>() : value.dump();
}

// A proxy on the way: a fake-IP row is marked in its cells, a remote row answered at once is
// told in its tooltip, the status line says what both mean once, and a LAN or loopback row
// answered at once is left alone. A later tick with a real answer takes the warning back.
TEST_F(TestRunTest, AnswersAProxyGaveAreToldOnTheirRowsAndTheStatusLine) {
  AddRows({"198.18.0.7", "61.151.1.2", "192.168.1.20", "127.0.0.2"});
  services.resolveHostAddress = [](const std::string& domain) { return domain; };
  TestRunEngine engine(app.SharedWithTestRuns(), services);
  const auto tick = [&](int remoteMs) {
    const std::shared_ptr<TestRun> run = engine.StartRun();
    gate.AwaitWaiting(4);
    gate.EndEach(
        [&](const std::string& address) { return address == "61.151.1.2" ? remoteMs : 0; });
    run->Wait();
  };
  tick(0);
  EXPECT_EQ(Column(kAddressColumn),
            (std::vector<std::string>{"198.18.0.7（代理假地址）", "61.151.1.2", "192.168.1.20",
                                      "127.0.0.2"}));
  EXPECT_EQ(Column(kLatencyColumn),
            (std::vector<std::string>{"0ms（非服务器延迟）", "0ms", "0ms", "0ms"}));
  const std::vector<MemoryRow> rows = window.Rows();
  EXPECT_EQ(window.watchNotes, (std::map<RowId, std::string>{{rows[1].id, InterceptedRowNote()}}));
  EXPECT_EQ(engine.InterceptedRows(), std::vector<RowId>{rows[1].id});
  // Which row of those at 0 ms is named fastest depends on the order the answers came in.
  EXPECT_TRUE(window.StatusLine().starts_with("测速完成：4 个服务器，4 个有响应，最快 "));
  EXPECT_TRUE(window.StatusLine().ends_with(" 0ms" + HonestAnswersNote(true, true)));

  tick(31);
  EXPECT_EQ(window.watchNotes.at(rows[1].id), "");
  EXPECT_TRUE(engine.InterceptedRows().empty());
  EXPECT_TRUE(window.StatusLine().ends_with(" 0ms" + HonestAnswersNote(true, false)));
}

TEST(HeadlessRunTest, DemoWorldReportHoldsEveryRowFieldByFieldInJsonAndCsv) {
  demo::DemoWorld world;
  ASSERT_TRUE(world.Start());
  Application app;
  for (const SiteInfo& site : SiteTable()) app.endpoints.SetBaseUrl(site.site, world.BaseUrl());
  const HeadlessOutcome jsonRun = RunHeadless(app, ReportFormat::kJson);
  ASSERT_EQ(jsonRun.exitCode, 0);
  const nlohmann::json report = ParseJson(jsonRun.report);
  const nlohmann::json& rows = report.at("rows");
  ASSERT_EQ(rows.size(), std::size(kDemoServersByName));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const nlohmann::json& row = rows[i];
    const testing::DemoServerRow& server = kDemoServersByName[i];
    SCOPED_TRACE(server.region);
    EXPECT_EQ(row.at("serverName"), GbkToUtf8(server.name));
    EXPECT_EQ(row.at("regionName"), GbkToUtf8(server.region));
    EXPECT_EQ(row.at("domain"), server.domain);
    EXPECT_EQ(row.at("address"), server.address);
    EXPECT_EQ(row.at("regionStatus"), GbkToUtf8(DemoStatusOf(server.region).word));
    EXPECT_EQ(row.at("location"), GbkToUtf8(testing::DemoLocationOf(server.address)));
    // The site fails for 127.0.0.13 alone, and the offline database says where it is.
    EXPECT_EQ(row.at("locationSource"),
              std::string_view(server.address) == "127.0.0.13" ? "offline" : "site");
    // Whether a loopback echo is answered depends on the machine's ICMP permissions.
    const int icon = row.at("stateIcon");
    if (icon == 0) {
      EXPECT_EQ(row.at("latency"), std::to_string(row.at("latencyMs").get<int>()) + "ms");
    } else {
      EXPECT_EQ(icon, 1);
      EXPECT_EQ(row.at("latency"), "...");
      EXPECT_TRUE(row.at("latencyMs").is_null());
    }
    char colour[8];
    const Colour expected = DemoStatusOf(server.region).colour;
    std::snprintf(colour, sizeof colour, "#%02X%02X%02X", expected & 0xFF, (expected >> 8) & 0xFF,
                  (expected >> 16) & 0xFF);
    EXPECT_EQ(row.at("textColour"), colour);
    EXPECT_EQ(row.at("intercepted"), false) << "loopback answers are the demo servers' own";
  }
  EXPECT_EQ(rows[5].at("stateIcon"), 1) << "the server without a domain is never answered";

  Application csvApp;
  csvApp.endpoints = app.endpoints;
  const std::vector<std::vector<std::string>> csv =
      ParseCsv(RunHeadless(csvApp, ReportFormat::kCsv).report);
  ASSERT_EQ(csv.size(), rows.size() + 1);
  const std::vector<std::string>& header = csv.front();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    ASSERT_EQ(csv[i + 1].size(), header.size());
    for (std::size_t f = 0; f < header.size(); ++f) {
      // Times differ from one run to the next.
      if (header[f] == "latency" || header[f].ends_with("Ms") || header[f] == "stateIcon") continue;
      const nlohmann::json& value = rows[i].at(header[f]);
      if (value.is_number()) {
        EXPECT_DOUBLE_EQ(std::stod(csv[i + 1][f]), value.get<double>()) << header[f];
      } else {
        EXPECT_EQ(csv[i + 1][f], CsvValue(value)) << header[f];
      }
    }
  }
}

// A probe stand-in: 127.0.0.9 never answers (every demo address is loopback, which always
// does), every other address answers 10, 20, 30 ms on its first, second and third probe.
class ScriptedProbes {
 public:
  static constexpr char kSilentAddress[] = "127.0.0.9";
  int Ping(const std::string& address) {
    std::lock_guard guard(mutex_);
    if (address.empty() || address == kSilentAddress) return -1;
    return 10 * ++probes_[address];
  }

 private:
  std::mutex mutex_;
  std::map<std::string, int> probes_;
};

TEST(HeadlessRunTest, ThreeRunsOneSecondApartReportEachRowsStatisticsInJson) {
  const CommandLine line = ParseCommandLine(
      {"--headless", "--demo", "--runs", "3", "--interval", "1", "--format", "json"},
      [](std::string_view) { return std::nullopt; });
  ASSERT_EQ(line.error, "");
  demo::DemoWorld world;
  ASSERT_TRUE(world.Start());
  Application app;
  for (const SiteInfo& site : SiteTable()) app.endpoints.SetBaseUrl(site.site, world.BaseUrl());
  ScriptedProbes probes;
  TestRunServices services;
  services.sendPing = [&probes](const std::string& address, std::function<void(int)> done) {
    done(probes.Ping(address));
  };
  const HeadlessOutcome outcome = RunHeadless(app, *line.format, line.schedule, services);
  ASSERT_EQ(outcome.exitCode, 0);
  const nlohmann::json rows = ParseJson(outcome.report).at("rows");
  ASSERT_EQ(rows.size(), std::size(kDemoServersByName));
  // Answers 10, 20, 30: mean 20, mdev sqrt(200 / 3). Which run got which answer depends on
  // how the runs' threads were scheduled, so the newest answer and the jitter (pinned on
  // exact sequences by the statistics tests) are checked for being one of them.
  const nlohmann::json answered = {{"sent", 3},      {"received", 3}, {"lossPercent", 0.0},
                                   {"minMs", 10},    {"avgMs", 20.0}, {"maxMs", 30},
                                   {"mdevMs", 8.165}};
  const nlohmann::json silent = {
      {"sent", 3},         {"received", 0},       {"lossPercent", 100.0},
      {"minMs", nullptr},  {"avgMs", nullptr},    {"maxMs", nullptr},
      {"mdevMs", nullptr}, {"jitterMs", nullptr}, {"latencyMs", nullptr}};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::string address = kDemoServersByName[i].address;
    SCOPED_TRACE(address);
    const bool answers = !address.empty() && address != ScriptedProbes::kSilentAddress;
    for (const auto& [field, value] : (answers ? answered : silent).items()) {
      EXPECT_EQ(rows[i].at(field), value) << field;
    }
    if (!answers) continue;
    EXPECT_EQ(rows[i].at("latencyMs").get<int>() % 10, 0);
    // Each |D| is 10 or 20: from 10/16 + (10 - 10/16)/16 up to 20/16 + (20 - 20/16)/16.
    EXPECT_GE(rows[i].at("jitterMs").get<double>(), 1.210);
    EXPECT_LE(rows[i].at("jitterMs").get<double>(), 2.422);
  }
}

TEST(SlowestFirstOrderTest, RowsGoOutSlowestFirstThoseWithoutATimeFirstOfAllTiesInTableOrder) {
  const struct {
    std::vector<int> lastMs;
    std::vector<std::size_t> order;
  } cases[] = {
      {{}, {}},
      {{-1, -1, -1}, {0, 1, 2}},  // a first tick keeps the table's order
      {{5, 50, -1, 20, 50, 0}, {2, 1, 4, 3, 0, 5}},
  };
  for (const auto& [lastMs, order] : cases) {
    EXPECT_EQ(SlowestFirstOrder(lastMs), order) << ::testing::PrintToString(lastMs);
  }
}

TEST(HeadlessRunTest, AListThatCannotBeReadExitsWithOne) {
  Application app;  // no site has an address
  const HeadlessOutcome outcome = RunHeadless(app, ReportFormat::kText);
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_EQ(outcome.statusLine,
            GbkToUtf8("未设置游戏盒子站点地址（--gamebox 或 VARDELLE_GAMEBOX）"));
}

}  // namespace
}  // namespace vardelle

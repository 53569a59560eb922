// The fault table: every document the program reads, served broken in each way that applies
// to it, while the demo world serves the other sites. Each case runs the window's loading and
// first test run on their worker threads against the in-memory window, while this thread
// plays the window's and repaints the table every few milliseconds; it checks the table and the
// status line against what the good documents give, that the window answered while the
// broken answer was under way, and the peak memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/application/application.h"
#include "app/loading/server_list_loading.h"
#include "app/location/location_lookups.h"
#include "app/table/server_table.h"
#include "app/test_run/run_engine.h"
#include "app/view/memory_window.h"
#include "demo_world/demo_world.h"
#include "support/text/text.h"
#include "testing/raw_socket_server.h"
#include "tests/demo_world_servers.h"

namespace vardelle {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

enum class Document { kList, kScript, kService, kSelector, kLocation };

enum class Failure {
  kNoAnswer,     // the server reads the request and closes
  kReset,        // half the body, then a reset
  kEndless,      // the good document over and over, no length
  kGarbage,      // 100 MB of binary garbage
  kNotGbk,       // a byte pair that is no GBK character
  kCutInHalf,    // a whole answer holding half the document
  kCutEscape,    // cut two hex digits into its last "\u" escape
  kNoMarker,     // the marker the script's list is cut at is gone
  kMarkerTwice,  // the script twice, the second copy changed
};

struct DocumentTraits {
  Site site;
  // The byte pair that is not GBK goes before the first occurrence of this.
  std::string_view notGbkBefore;
  // Scripts: the marker their list is cut at, and what the second copy changes.
  std::string_view marker;
  std::string_view secondCopyFrom;
  std::string_view secondCopyTo;
};

const DocumentTraits& TraitsOf(Document document) {
  static const DocumentTraits kTraits[] = {
      {Site::kGameBox, "艾欧尼亚", "", "", ""},
      {Site::kStatusSite, "艾欧尼亚", "ServerInfo : {", "正常", "维护"},
      {Site::kStatusService, R"("1":"3")", "", "", ""},
      {Site::kSelectorSite, R"(巨龙之巢" v:"20b")", "LOLServerSelect.STD_DATA=", R"(status:"1")",
       R"(status:"0")"},
      {Site::kIpLocation, "\\u676d", "", "", ""},
  };
  return kTraits[static_cast<int>(document)];
}

// The location cases break the answer for this address only; the rest are the demo world's.
constexpr char kBrokenAddress[] = "127.0.0.2";
constexpr char kNotGbkBytes[] = "\x81\x20";  // a lead byte, then no trail byte
constexpr std::size_t kGarbageBytes = 100'000'000;
constexpr std::size_t kChunkBytes = 64 * 1024;
// Far past the 64 MiB body cap that ends it; only a client that never stops meets it.
constexpr std::size_t kEndlessBytes = std::size_t{1} << 30;
// How long a broken site waits for the window to answer once the request is in: a window
// stuck behind the fetch never answers in that time, a busy machine answers well within it.
constexpr auto kWindowWait = std::chrono::seconds(10);
constexpr auto kRepaintPeriod = milliseconds(5);
constexpr auto kCaseLimit = std::chrono::seconds(60);

// A fetch's buffer doubles up to the 64 MiB body cap, so it and the blocks it outgrew (which
// the allocator may keep) hold less than two caps; the server list adds one copy as text.
// AddressSanitizer keeps freed blocks in quarantine, so it gets more room.
constexpr long kBodyCapMib = 64;
#if defined(__SANITIZE_ADDRESS__)
constexpr long kPeakGrowthBoundMib = 6 * kBodyCapMib;
#else
constexpr long kPeakGrowthBoundMib = 3 * kBodyCapMib;
#endif

std::string GoodDocument(Document document, const std::string& address) {
  if (document == Document::kLocation) return demo::DemoLocationAnswer(address);
  return std::string(demo::DemoDocuments()[static_cast<std::size_t>(document)].body);
}

std::string ContentType(Document document) {
  if (document == Document::kLocation) return "application/json";
  return std::string(demo::DemoDocuments()[static_cast<std::size_t>(document)].contentType);
}

std::string Head(Document document, std::optional<std::size_t> length) {
  std::string head = "HTTP/1.1 200 OK\r\nContent-Type: " + ContentType(document) + "\r\n";
  if (length) head += "Content-Length: " + std::to_string(*length) + "\r\n";
  return head + "Connection: close\r\n\r\n";
}

// The address of a location request's head ("GET /...?ip=127.0.0.2 HTTP/1.1").
std::string AddressAsked(const std::string& head) {
  const std::size_t start = head.find("ip=");
  if (start == std::string::npos) return {};
  return head.substr(start + 3, head.find(' ', start) - start - 3);
}

void SendWhole(testing::RawConnection& connection, Document document, const std::string& body) {
  connection.Send(Head(document, body.size()) + body);
}

// Sends up to `total` bytes, a chunk at a time as `next` makes it, until the client leaves.
template <typename MakeChunk>
void SendLazily(testing::RawConnection& connection, std::size_t total, MakeChunk next) {
  std::string chunk;
  for (std::size_t sent = 0; sent < total; sent += chunk.size()) {
    next(chunk, std::min(kChunkBytes, total - sent));
    if (!connection.Send(chunk)) return;
  }
}

void SendGarbage(testing::RawConnection& connection) {
  std::uint64_t state = 0x9E3779B97F4A7C15u;
  SendLazily(connection, kGarbageBytes, [&state](std::string& chunk, std::size_t size) {
    chunk.resize(size);
    for (std::size_t at = 0; at < size; at += sizeof state) {
      state ^= state << 13;
      state ^= state >> 7;
      state ^= state << 17;
      std::memcpy(chunk.data() + at, &state, std::min(sizeof state, size - at));
    }
  });
}

void SendEndlessly(testing::RawConnection& connection, const std::string& document) {
  std::string copies;
  while (copies.size() < kChunkBytes) copies += document;
  SendLazily(connection, kEndlessBytes,
             [&copies](std::string& chunk, std::size_t) { chunk = copies; });
}

struct Change {
  std::string domain;  // "*": every row
  int column;
  std::string text;
};

struct FaultCase {
  std::string name;
  Document document;
  Failure failure;
  std::vector<Change> changes;  // to the table that the good documents give
  std::string loadStatus = "服务器列表已加载，共 30 个服务器";
  std::size_t rows = std::size(testing::kDemoServersByName);
};

// A raw-socket site that answers the case's document broken (no case: every document whole),
// and is the IP-location service of every case with the demo world's answers: the demo
// world's own server drops connections past its listen backlog of 5, and eight lookups at
// once then wait a second for the connection to be retried. Before breaking a document it
// waits for the window to finish a repaint, which it can only do while the fetch is under way
// if the fetch runs off the window's thread.
class BrokenSite {
 public:
  BrokenSite(const FaultCase* fault, const std::atomic<int>& windowAnswers)
      : fault_(fault), windowAnswers_(windowAnswers) {}

  int Port() const { return server_.Port(); }
  std::string Url() const { return server_.Url(""); }
  bool WindowAnsweredDuringFetch() const { return windowAnswered_; }

 private:
  void Answer(testing::RawConnection& connection) {
    const std::string head = server_.Requests().back();
    const bool location = head.find(demo::kLocationPath) != std::string::npos;
    // Without a case, only the IP-location service points here.
    const Document document = location || !fault_ ? Document::kLocation : fault_->document;
    const std::string address = AddressAsked(head);
    const std::string good = GoodDocument(document, address);
    if (!fault_ || document != fault_->document || (location && address != kBrokenAddress)) {
      SendWhole(connection, document, good);
      return;
    }
    AwaitWindowAnswer();
    Break(connection, document, good);
  }

  void Break(testing::RawConnection& connection, Document document, std::string good) {
    const DocumentTraits& traits = TraitsOf(document);
    switch (fault_->failure) {
      case Failure::kNoAnswer:
        return;
      case Failure::kReset:
        connection.Send(Head(document, good.size()) + good.substr(0, good.size() / 2));
        connection.Hold(milliseconds(50));  // the client reads the half before the reset
        connection.Reset();
        return;
      case Failure::kEndless:
        connection.Send(Head(document, std::nullopt));
        return SendEndlessly(connection, good);
      case Failure::kGarbage:
        connection.Send(Head(document, kGarbageBytes));
        return SendGarbage(connection);
      case Failure::kNotGbk:
        return SendWhole(connection, document,
                         good.insert(good.find(traits.notGbkBefore), kNotGbkBytes));
      case Failure::kCutInHalf:
        return SendWhole(connection, document, good.substr(0, good.size() / 2));
      case Failure::kCutEscape:
        return SendWhole(connection, document, good.substr(0, good.rfind("\\u") + 4));
      case Failure::kNoMarker:
        return SendWhole(connection, document, ReplaceText(good, traits.marker, ""));
      case Failure::kMarkerTwice:
        return SendWhole(connection, document,
                         good + ReplaceText(good, traits.secondCopyFrom, traits.secondCopyTo));
    }
  }

  void AwaitWindowAnswer() {
    const int before = windowAnswers_;
    const auto deadline = Clock::now() + kWindowWait;
    while (windowAnswers_ == before && Clock::now() < deadline) {
      std::this_thread::sleep_for(milliseconds(1));
    }
    windowAnswered_ = windowAnswers_ > before;
  }

  const FaultCase* fault_;
  const std::atomic<int>& windowAnswers_;
  std::atomic<bool> windowAnswered_{false};
  // Last, so it stops before what its script reaches goes.
  testing::RawSocketServer server_{[this](testing::RawConnection& c) { Answer(c); }};
};

// The last number of the address as its time, so the fastest row is always the same.
void PingByLastNumber(const std::string& address, const std::function<void(int)>& done) {
  const std::size_t dot = address.rfind('.');
  int time = -1;
  if (dot != std::string::npos) {
    std::from_chars(address.data() + dot + 1, address.data() + address.size(), time);
  }
  done(time);
}

struct Outcome {
  std::string loadStatus;  // when loading asked for the first run
  std::vector<MemoryRow> rows;
  bool finished = false;
};

// What the window's thread does on every repaint: each row's cells.
void Repaint(MainWindowView& window) {
  for (int row = 0; row < window.RowCount(); ++row) {
    const RowId id = window.RowIdAt(row);
    for (int column = 0; column < kTableColumns; ++column) window.CellText(id, column);
  }
}

// The window's loading and first test run, with the sites at bases, on worker threads, the
// real fetches, name resolution and location lookups; only the echo probes are stand-ins.
Outcome RunApplication(const std::array<std::string, kSiteCount>& bases,
                       std::atomic<int>& windowAnswers) {
  Application app;
  for (int site = 0; site < kSiteCount; ++site) {
    app.endpoints.SetBaseUrl(static_cast<Site>(site), bases[site]);
  }
  MemoryWindow window;
  app.window = &window;
  app.lists = std::make_shared<ProcessLists>();
  Outcome outcome;
  std::shared_ptr<TestRun> run;
  TestRunServices runServices;
  runServices.sendPing = PingByLastNumber;
  runServices.probeUnavailableReason = [] { return std::string(); };
  TestRunEngine engine(app.SharedWithTestRuns(), runServices);
  app.startTestRun = [&] {
    outcome.loadStatus = window.StatusLine();
    run = engine.StartRun();
  };
  ServerListServices listServices;
  listServices.probeUnavailableReason = [] { return std::string(); };
  std::atomic<bool> done{false};
  std::thread worker([&] {
    LoadServerList(app, listServices);
    if (run) run->Wait();
    engine.Settle();
    app.locationLookups.Wait();
    done = true;
  });
  const auto deadline = Clock::now() + kCaseLimit;
  while (!done && Clock::now() < deadline) {
    Repaint(window);
    ++windowAnswers;
    std::this_thread::sleep_for(kRepaintPeriod);
  }
  outcome.finished = done;
  worker.join();
  outcome.rows = window.Rows();
  app.window = nullptr;
  return outcome;
}

using TableByDomain = std::map<std::string, MemoryRow>;

// Every site on the demo world but the IP-location service, which is the broken site's.
std::array<std::string, kSiteCount> Bases(const demo::DemoWorld& world, const BrokenSite& site) {
  std::array<std::string, kSiteCount> bases;
  bases.fill(world.BaseUrl());
  bases[static_cast<int>(Site::kIpLocation)] = site.Url();
  return bases;
}

// What the demo world's good documents give, keyed by domain (unique in its list).
const TableByDomain& GoodTable() {
  static const TableByDomain* const table = [] {
    auto* rows = new TableByDomain;
    demo::DemoWorld world;
    std::atomic<int> answers{0};
    BrokenSite locations(nullptr, answers);
    if (!world.Start()) return rows;
    for (MemoryRow& row : RunApplication(Bases(world, locations), answers).rows) {
      (*rows)[row.cells[kDomainColumn]] = std::move(row);
    }
    return rows;
  }();
  return *table;
}

TableByDomain ExpectedTable(const std::vector<Change>& changes) {
  TableByDomain table = GoodTable();
  for (const Change& change : changes) {
    for (auto& [domain, row] : table) {
      if (change.domain == "*" || change.domain == domain) row.cells[change.column] = change.text;
    }
  }
  return table;
}

// A size line of /proc/self/status ("VmHWM:    60668 kB").
std::optional<long> ProcessStatusKib(std::string_view field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (!line.starts_with(field)) continue;
    const std::size_t digits = line.find_first_of("0123456789");
    long kib = 0;
    if (digits == std::string::npos ||
        std::from_chars(line.data() + digits, line.data() + line.size(), kib).ec != std::errc()) {
      return std::nullopt;
    }
    return kib;
  }
  return std::nullopt;
}

// The growth of the process's peak resident size from here on: the peak is reset first.
class PeakMemory {
 public:
  PeakMemory() {
    std::ofstream clear("/proc/self/clear_refs");
    reset_ = static_cast<bool>(clear << "5" << std::flush);
    start_ = ProcessStatusKib("VmRSS:");
  }
  bool Ready() const { return reset_ && start_.has_value(); }
  long GrowthMib() const { return (ProcessStatusKib("VmHWM:").value_or(0) - *start_) / 1024; }

 private:
  bool reset_ = false;
  std::optional<long> start_;
};

class FaultTable : public ::testing::TestWithParam<FaultCase> {
 protected:
  static void SetUpTestSuite() { testing::KeepLoopbackTrafficDirect(); }
};

TEST_P(FaultTable, Shows) {
  const FaultCase& fault = GetParam();
#if defined(__SANITIZE_THREAD__)
  // Under ThreadSanitizer a 64 MiB body takes seconds to read and several times its size in
  // shadow memory, and these cases run no threads that the short ones do not.
  if (fault.failure == Failure::kEndless || fault.failure == Failure::kGarbage) {
    GTEST_SKIP() << "a 64 MiB body under ThreadSanitizer";
  }
#endif
  ASSERT_EQ(GoodTable().size(), std::size(testing::kDemoServersByName));
  demo::DemoWorld world;
  ASSERT_TRUE(world.Start());
  std::atomic<int> windowAnswers{0};
  BrokenSite site(&fault, windowAnswers);
  ASSERT_NE(site.Port(), 0);
  std::array<std::string, kSiteCount> bases = Bases(world, site);
  bases[static_cast<int>(TraitsOf(fault.document).site)] = site.Url();
  const PeakMemory memory;
  ASSERT_TRUE(memory.Ready());

  const Outcome outcome = RunApplication(bases, windowAnswers);

  ASSERT_TRUE(outcome.finished);
  EXPECT_EQ(outcome.loadStatus, fault.loadStatus);
  EXPECT_EQ(outcome.rows.size(), fault.rows);
  const TableByDomain expected = ExpectedTable(fault.changes);
  for (const MemoryRow& row : outcome.rows) {
    const auto wanted = expected.find(row.cells[kDomainColumn]);
    ASSERT_NE(wanted, expected.end()) << row.cells[kDomainColumn];
    EXPECT_EQ(row.cells, wanted->second.cells);
    EXPECT_EQ(row.icon, wanted->second.icon) << row.cells[kDomainColumn];
  }
  EXPECT_TRUE(site.WindowAnsweredDuringFetch());
  EXPECT_LT(memory.GrowthMib(), kPeakGrowthBoundMib);
}

// A location site that fails leaves the row to the offline database: a loopback address.
constexpr char kLoopbackLocation[] = "本机地址";
constexpr char kUnknown[] = "未知状态";
constexpr char kStopped[] = "停机";
constexpr char kDragonNest[] = "127.0.0.21";  // 巨龙之巢, stopped by its second selector record
const Change kAllUnknown{"*", kStatusColumn, kUnknown};
const Change kDragonNestStopped{kDragonNest, kStatusColumn, kStopped};
const Change kDragonNestUp{kDragonNest, kStatusColumn, "正常"};
const Change kLocationFellBack{kBrokenAddress, kLocationColumn, kLoopbackLocation};
// The reader drops the unclosed "data" object: code 0 and no fields, as for {"code":0}.

using enum Document;
using enum Failure;

INSTANTIATE_TEST_SUITE_P(
    Fault, FaultTable,
    ::testing::Values(
        FaultCase{"ListNoAnswer", kList, kNoAnswer, {}, "无法读取服务器列表：没有收到内容", 0},
        FaultCase{"ListReset", kList, kReset, {}, "服务器列表已加载，共 15 个服务器", 15},
        FaultCase{"ListEndless", kList, kEndless, {}, "服务器列表为空", 0},
        FaultCase{"ListGarbage", kList, kGarbage, {}, "无法读取服务器列表：应答不是 JSON 数组", 0},
        FaultCase{"ListNotGbk",
                  kList,
                  kNotGbk,
                  {{kBrokenAddress, kRegionColumn, "\x81\x20艾欧尼亚"},
                   {kBrokenAddress, kStatusColumn, kUnknown}}},
        FaultCase{"ListHalf", kList, kCutInHalf, {}, "服务器列表已加载，共 15 个服务器", 15},
        FaultCase{"ScriptNoAnswer", kScript, kNoAnswer, {kAllUnknown, kDragonNestStopped}},
        FaultCase{"ScriptReset", kScript, kReset, {kAllUnknown, kDragonNestStopped}},
        FaultCase{"ScriptEndless", kScript, kEndless, {kAllUnknown, kDragonNestStopped}},
        FaultCase{"ScriptGarbage", kScript, kGarbage, {kAllUnknown, kDragonNestStopped}},
        FaultCase{"ScriptNotGbk", kScript, kNotGbk, {{kBrokenAddress, kStatusColumn, kUnknown}}},
        FaultCase{"ScriptNoMarker", kScript, kNoMarker, {kAllUnknown, kDragonNestStopped}},
        FaultCase{"ScriptTwice", kScript, kMarkerTwice, {}},
        FaultCase{"ServiceNoAnswer", kService, kNoAnswer, {kAllUnknown, kDragonNestStopped}},
        FaultCase{"ServiceReset", kService, kReset, {kAllUnknown, kDragonNestStopped}},
        FaultCase{"ServiceEndless", kService, kEndless, {kAllUnknown, kDragonNestStopped}},
        FaultCase{"ServiceGarbage", kService, kGarbage, {kAllUnknown, kDragonNestStopped}},
        FaultCase{"ServiceNotGbk", kService, kNotGbk, {}},
        FaultCase{"SelectorNoAnswer", kSelector, kNoAnswer, {kDragonNestUp}},
        FaultCase{"SelectorReset", kSelector, kReset, {kDragonNestUp}},
        FaultCase{"SelectorEndless", kSelector, kEndless, {kDragonNestUp}},
        FaultCase{"SelectorGarbage", kSelector, kGarbage, {kDragonNestUp}},
        FaultCase{"SelectorNotGbk", kSelector, kNotGbk, {kDragonNestUp}},
        FaultCase{"SelectorNoMarker", kSelector, kNoMarker, {kDragonNestUp}},
        FaultCase{"SelectorTwice", kSelector, kMarkerTwice, {}},
        FaultCase{"LocationNoAnswer", kLocation, kNoAnswer, {kLocationFellBack}},
        FaultCase{"LocationReset", kLocation, kReset, {kLocationFellBack}},
        FaultCase{"LocationEndless", kLocation, kEndless, {kLocationFellBack}},
        FaultCase{"LocationGarbage", kLocation, kGarbage, {kLocationFellBack}},
        FaultCase{"LocationNotGbk",
                  kLocation,
                  kNotGbk,
                  {{kBrokenAddress, kLocationColumn, "中国华东 - 浙江省? 杭州市西湖区电信"}}},
        FaultCase{"LocationHalf", kLocation, kCutInHalf, {kLocationFellBack}},
        FaultCase{"LocationCutEscape", kLocation, kCutEscape, {kLocationFellBack}}),
    [](const ::testing::TestParamInfo<FaultCase>& test) { return test.param.name; });

}  // namespace
}  // namespace vardelle

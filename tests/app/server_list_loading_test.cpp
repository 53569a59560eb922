#include "app/loading/server_list_loading.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/location/location_lookups.h"
#include "app/table/server_table.h"
#include "fake_window.h"
#include "runtime/bytes.h"
#include "runtime/threads/threads.h"
#include "testing/loopback_site.h"
#include "testing/raw_socket_server.h"
#include "tests/support/temp_dir.h"

namespace vardelle {
namespace {

using testing::FakeWindow;
using Names = std::vector<std::string>;

std::string ReadFixture(const std::string& name) {
  std::ifstream file(std::string(VARDELLE_FIXTURES) + "/" + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

const std::string kGameBox = "http://gamebox.test";

// The captured list after the first sort: names in pinyin order, each with its region and
// domain.
const Names kSortedNames{"电信01区 ", "电信02区 ", "电信03区 ",
                         "教育00区 ", "网通01区 ", "网通02区 "};
const Names kSortedRegions{"艾欧尼亚", "祖安", "诺克萨斯", "教育网", "比尔吉沃特", "德玛西亚"};
const Names kSortedDomains{"hn1-new.lol.qq.com", "hn2.lol.qq.com", "hn3.lol.qq.com",
                           "edu1.lol.qq.com",    "wt1.lol.qq.com", "wt2.lol.qq.com"};

class ServerListLoadingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.window = &window;
    app.endpoints.SetBaseUrl(Site::kGameBox, kGameBox);
    app.startTestRun = [this] {
      ++testRunsAsked;
      namesWhenAsked = window.Column(kNameColumn);
    };
    services.readUrl = [this](const std::string& url) {
      requestedUrls.push_back(url);
      return BytesOf(document);
    };
    services.resolveHostAddress = [this](const std::string& host) {
      resolvedHosts.push_back(host);
      return std::string("127.0.0.1");
    };
    services.probeUnavailableReason = [this] { return probeReason; };
    services.lookUpServerLocation = [](const std::string& address) { return "机房 " + address; };
  }

  // Loading and the location lookups it started.
  void Load() {
    LoadServerList(app, services);
    app.locationLookups.Wait();
  }
  std::string LastStatus() {
    return window.statusLines.empty() ? std::string() : window.statusLines.back();
  }

  Application app;
  FakeWindow window;
  ServerListServices services;
  std::string document = ReadFixture("json/server_list.json");
  std::string probeReason;
  std::vector<std::string> requestedUrls;
  std::vector<std::string> resolvedHosts;
  int testRunsAsked = 0;
  Names namesWhenAsked;
};

TEST_F(ServerListLoadingTest, FillsTheTableFromTheCapturedListSortedByName) {
  window.InsertRow("测试主机", RowIcon::kNotTested);  // the design-time placeholder
  Load();
  EXPECT_EQ(requestedUrls, Names{kGameBox + "/lol/box/gameserver.json"});
  EXPECT_EQ(window.Column(kNameColumn), kSortedNames);
  EXPECT_EQ(window.Column(kRegionColumn), kSortedRegions);
  EXPECT_EQ(window.Column(kDomainColumn), kSortedDomains);
  EXPECT_EQ(window.Column(kLocationColumn), Names(6, "机房 127.0.0.1"));
  for (int column : {kAddressColumn, kLatencyColumn, kStatusColumn}) {
    EXPECT_EQ(window.Column(column), Names(6, "")) << "column " << column;
  }
  for (const MemoryRow& row : window.Rows()) EXPECT_EQ(row.icon, RowIcon::kNotTested);
  EXPECT_EQ(window.ArrowOf(kNameColumn), HeaderArrow::kUp);
}

TEST_F(ServerListLoadingTest, ResolvesEveryDomainInListOrderAndReportsProgress) {
  Load();
  EXPECT_EQ(resolvedHosts, (Names{"hn1-new.lol.qq.com", "hn2.lol.qq.com", "hn3.lol.qq.com",
                                  "wt1.lol.qq.com", "wt2.lol.qq.com", "edu1.lol.qq.com"}));
  const Names expectedStatus{"正在下载服务器列表...",  "正在加载服务器列表 1/6",
                             "正在加载服务器列表 2/6", "正在加载服务器列表 3/6",
                             "正在加载服务器列表 4/6", "正在加载服务器列表 5/6",
                             "正在加载服务器列表 6/6", "服务器列表已加载，共 6 个服务器"};
  EXPECT_EQ(window.statusLines, expectedStatus);
}

TEST_F(ServerListLoadingTest, AsksForTheFirstTestRunOnceAfterTheSort) {
  Load();
  EXPECT_EQ(testRunsAsked, 1);
  EXPECT_EQ(namesWhenAsked, kSortedNames);
}

TEST_F(ServerListLoadingTest, BlockedEchoProbesAreToldWithTheirReason) {
  probeReason = "ICMP sockets are not permitted; run: sudo sysctl net.ipv4.ping_group_range";
  Load();
  const std::string status = LastStatus();
  EXPECT_TRUE(status.starts_with("无法发送 ICMP 回显：请用 vardelle 软件包安装")) << status;
  EXPECT_LT(status.find("cap_net_raw"), status.find("sysctl -w net.ipv4.ping_group_range"));
  EXPECT_TRUE(status.ends_with("原因：" + probeReason)) << status;
}

TEST_F(ServerListLoadingTest, ASiteWithoutAddressIsNeverAskedAndTheStatusSaysHowToSetIt) {
  app.endpoints.SetBaseUrl(Site::kGameBox, "");
  window.InsertRow("测试主机", RowIcon::kNotTested);
  Load();
  EXPECT_TRUE(requestedUrls.empty());
  EXPECT_EQ(window.RowCount(), 0);
  EXPECT_EQ(LastStatus(), "未设置游戏盒子站点地址（--gamebox 或 VARDELLE_GAMEBOX）");
  EXPECT_EQ(testRunsAsked, 1);
}

// A player's own list file stands in for the site; the site is not asked then.
TEST_F(ServerListLoadingTest, ALocalListFileReplacesTheSite) {
  testing_files::TempDir dir;
  testing_files::WriteBytes(dir.File("list.json"), document);
  services.readFile = ServerListServices{}.readFile;
  struct Case {
    std::string file;
    int rows;
    std::string status;
  };
  const Case cases[] = {
      {dir.File("list.json"), 6, "服务器列表已加载，共 6 个服务器"},
      {dir.File("missing.json"), 0, "无法读取服务器列表文件：" + dir.File("missing.json")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    app.endpoints.SetServerListFile(c.file);
    Load();
    EXPECT_EQ(window.RowCount(), c.rows);
    EXPECT_EQ(LastStatus(), c.status);
  }
  EXPECT_TRUE(requestedUrls.empty());
}

// The location service sees one request per row with the written URL, as before, and each
// answer lands in its row.
TEST_F(ServerListLoadingTest, AsksTheLocationServiceOncePerRow) {
  testing::KeepLoopbackTrafficDirect();
  testing::LoopbackSite service;
  std::mutex mutex;
  std::vector<std::string> targets;
  service.Serve("/service/getIpInfo.php", [&](const std::string& target) {
    std::lock_guard guard(mutex);
    targets.push_back(target);
    return testing::SiteAnswer{
        200, R"({"code":0,"data":{"country":"\u4e2d\u56fd","isp":"\u7535\u4fe1"}})"};
  });
  ASSERT_TRUE(service.Start());
  app.endpoints.SetBaseUrl(Site::kIpLocation, service.Url(""));
  services.lookUpServerLocation = nullptr;  // the real lookup
  Load();
  std::lock_guard guard(mutex);
  EXPECT_EQ(targets, Names(6, "/service/getIpInfo.php?ip=127.0.0.1"));
  EXPECT_EQ(window.Column(kLocationColumn), Names(6, "中国 - 电信"));
}

// A location service that takes the connection and never answers would hold each lookup
// for the request's whole receive time-out; the rows and the first run must not wait.
TEST_F(ServerListLoadingTest, ASilentLocationServiceDoesNotDelayTheFirstRun) {
  testing::KeepLoopbackTrafficDirect();
  auto silent = std::make_unique<testing::RawSocketServer>(
      [](testing::RawConnection& connection) { connection.Hold(std::chrono::minutes(5)); });
  app.endpoints.SetBaseUrl(Site::kIpLocation, silent->Url(""));
  services.lookUpServerLocation = nullptr;
  Names locationsWhenAsked;
  app.startTestRun = [&] { locationsWhenAsked = window.Column(kLocationColumn); };

  const auto started = std::chrono::steady_clock::now();
  LoadServerList(app, services);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(15));
  EXPECT_EQ(locationsWhenAsked, Names(6, kLocationPendingText));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(window.Column(kLocationColumn), Names(6, kLocationPendingText));
  EXPECT_GE(silent->Connections(), 1);

  // The service goes away: the held connection closes, the waiting ones are refused, and the
  // offline database tells the rows' loopback address.
  silent.reset();
  app.locationLookups.Wait();
  EXPECT_EQ(window.Column(kLocationColumn), Names(6, "本机地址"));
}

struct DocumentCase {
  std::string name;
  std::string document;
  std::string status;
  Names names;  // column 0 after the first sort
  Names regions;
};

class UnusualDocumentTest : public ServerListLoadingTest,
                            public ::testing::WithParamInterface<DocumentCase> {};

TEST_P(UnusualDocumentTest, GivesTheDocumentedRowsAndStillSortsAndStartsARun) {
  document = GetParam().document;
  Load();
  EXPECT_EQ(window.Column(kNameColumn), GetParam().names);
  EXPECT_EQ(window.Column(kRegionColumn), GetParam().regions);
  EXPECT_EQ(LastStatus(), GetParam().status);
  EXPECT_EQ(testRunsAsked, 1);
  EXPECT_FALSE(app.sortState.BeginSort(0, SortMode::kText).ascending)
      << "the first sort was made, so the next one is descending";
}

const std::string kLoaded1 = "服务器列表已加载，共 1 个服务器";
const std::string kNoContent = "无法读取服务器列表：没有收到内容";
const std::string kNotAnArray = "无法读取服务器列表：应答不是 JSON 数组";

INSTANTIATE_TEST_SUITE_P(
    Documents, UnusualDocumentTest,
    ::testing::Values(
        DocumentCase{"NoAnswer", "", kNoContent, {}, {}},
        DocumentCase{"StartsWithAZeroByte", std::string("\0[{}]", 5), kNoContent, {}, {}},
        // The reader takes a text without brackets as an array of one element.
        DocumentCase{
            "NotJson", "<html><body>502 Bad Gateway</body></html>", kNotAnArray, {"00区 "}, {""}},
        DocumentCase{"EmptyArray", " [ ] ", "服务器列表为空", {}, {}},
        // An object's members are counted as elements, which have no members of their own.
        DocumentCase{"Object", R"({"old_name":"电信一"})", kNotAnArray, {"00区 "}, {""}},
        DocumentCase{"CutAtTheFirstZeroByte",
                     std::string(R"([{"old_name":"电信十一","new_name":"祖安"}])") +
                         std::string("\0,{\"old_name\":\"x\"}]", 19),
                     kLoaded1,
                     {"电信11区 "},
                     {"祖安"}},
        DocumentCase{"MissingMembers",
                     R"([{"old_name":"电信十一"},{"new_name":"祖安","domain":"x"},{}])",
                     "服务器列表已加载，共 3 个服务器",
                     {"00区 ", "00区 ", "电信11区 "},
                     {"祖安", "", ""}}),
    [](const ::testing::TestParamInfo<DocumentCase>& test) { return test.param.name; });

// Skips the cell writes by row identity, which the fake window serves by a linear search:
// with ten thousand rows they would make the load quadratic.
class RowCountingWindow : public FakeWindow {
 public:
  using FakeWindow::SetCellText;
  void SetCellText(RowId, int, const std::string&) override {}
};

// Hostile lengths: the first kMaxServers servers in list order are loaded and the status
// line tells how many were left out; a list past the JSON reader's node limit reads as empty.
TEST_F(ServerListLoadingTest, AListIsCutAfterTheFirstTenThousandServers) {
  RowCountingWindow lean;
  app.window = &lean;
  struct Case {
    std::string name;
    std::string document;
    int listed;  // servers named in list order s1.test, s2.test, ...
    std::string status;
  };
  const auto listOf = [](int servers) {
    std::string list = "[";
    for (int i = 1; i <= servers; ++i) {
      list += R"({"old_name":"电信一","new_name":"祖安","domain":"s)" + std::to_string(i) +
              R"(.test"},)";
    }
    list.back() = ']';
    return list;
  };
  const Case cases[] = {
      {"3,000,000 commas", "[" + std::string(3'000'000, ',') + "]", 0, "服务器列表为空"},
      {"20,000 servers", listOf(20'000), 20'000,
       "服务器列表过长，只加载了前 10000 个服务器，其余 10000 个未加载"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    document = c.document;
    resolvedHosts.clear();
    testRunsAsked = 0;
    Load();
    Names loaded;
    for (int i = 1; i <= std::min(c.listed, kMaxServers); ++i) {
      loaded.push_back("s" + std::to_string(i) + ".test");
    }
    EXPECT_EQ(resolvedHosts, loaded);
    EXPECT_EQ(lean.RowCount(), static_cast<int>(loaded.size()));
    EXPECT_EQ(lean.statusLines.back(), c.status);
    EXPECT_EQ(testRunsAsked, 1);
  }
}

// A header click between inserting a row and writing its cells reorders the table; the
// cells must still reach the row they belong to.
class SortingOnInsertWindow : public FakeWindow {
 public:
  RowId InsertRow(const std::string& firstCell, RowIcon icon) override {
    const RowId row = FakeWindow::InsertRow(firstCell, icon);
    SortTableByColumn(headerClicks, *this, kNameColumn, SortMode::kText);
    SortTableByColumn(headerClicks, *this, kNameColumn, SortMode::kText);  // now descending
    return row;
  }
  SortState headerClicks;
};

TEST(ServerListLoadingRaceTest, CellsFollowTheirRowThroughASortDuringLoading) {
  Application app;
  SortingOnInsertWindow window;
  app.window = &window;
  app.endpoints.SetBaseUrl(Site::kGameBox, kGameBox);
  ServerListServices services;
  services.readUrl = [](const std::string&) {
    return BytesOf(ReadFixture("json/server_list.json"));
  };
  services.resolveHostAddress = [](const std::string& host) { return "ip of " + host; };
  services.probeUnavailableReason = [] { return std::string(); };
  services.lookUpServerLocation = [](const std::string& address) { return "at " + address; };
  LoadServerList(app, services);
  app.locationLookups.Wait();
  ASSERT_EQ(window.Column(kNameColumn), kSortedNames);
  EXPECT_EQ(window.Column(kRegionColumn), kSortedRegions);
  EXPECT_EQ(window.Column(kDomainColumn), kSortedDomains);
  for (const MemoryRow& row : window.Rows()) {
    EXPECT_EQ(row.cells[kLocationColumn], "at ip of " + row.cells[kDomainColumn]);
  }
}

TEST(ServerListLoadingWithoutWindowTest, DoesNothing) {
  Application app;
  app.endpoints.SetBaseUrl(Site::kGameBox, kGameBox);
  int calls = 0;
  app.startTestRun = [&calls] { ++calls; };
  ServerListServices services;
  services.readUrl = [&calls](const std::string&) {
    ++calls;
    return Bytes();
  };
  LoadServerList(app, services);
  EXPECT_EQ(calls, 0);
}

// The real page fetch against a server on 127.0.0.1 that serves the captured list.
TEST(ServerListLoadingEndToEndTest, LoadsTheListFromALoopbackSite) {
  testing::LoopbackSite site;
  const std::string body = ReadFixture("json/server_list.json");
  site.Serve("/lol/box/gameserver.json", [&body](const std::string&) {
    return testing::SiteAnswer{200, body};
  });
  ASSERT_TRUE(site.Start());
  Application app;
  FakeWindow window;
  app.window = &window;
  app.endpoints.SetBaseUrl(Site::kGameBox, site.Url(""));
  ServerListServices services;
  services.resolveHostAddress = [](const std::string&) { return std::string(); };
  services.probeUnavailableReason = [] { return std::string(); };
  LoadServerList(app, services);
  app.locationLookups.Wait();
  EXPECT_EQ(window.Column(kNameColumn), kSortedNames);
  EXPECT_EQ(window.Column(kRegionColumn), kSortedRegions);
  // No IP-location site: every lookup fails without asking.
  EXPECT_EQ(window.Column(kLocationColumn), Names(6, "获取地理位置失败!"));
}

}  // namespace
}  // namespace vardelle

namespace vardelle {
namespace {

// The window closes and the program exits while the loading thread still waits for the
// list; the thread wakes during exit and sorts through the process-wide application, which
// must still be alive then. Run in a fresh process, so that the exit handler below is
// registered before anything else and so runs last, after every static destructor.
TEST(ServerListLoadingDeathTest, ALoadEndingDuringExitFindsTheApplicationAlive) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        static auto* const window = new FakeWindow;
        std::atexit([] {
          // Waits for the loading to end (30 s at most), however slow the machine.
          bool sorted = false;
          for (int look = 0; look < 3000 && !sorted; ++look) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            sorted = window->ArrowOf(kNameColumn) == HeaderArrow::kUp;
          }
          std::fputs(sorted ? "sorted after exit began\n" : "not sorted\n", stderr);
        });
        Application& app = TheApplication();
        app.window = window;
        app.endpoints.SetBaseUrl(Site::kGameBox, kGameBox);
        ServerListServices services;
        services.readUrl = [](const std::string&) {
          std::this_thread::sleep_for(std::chrono::milliseconds(100));
          return BytesOf(ReadFixture("json/server_list.json"));
        };
        services.resolveHostAddress = [](const std::string&) { return std::string(); };
        services.probeUnavailableReason = [] { return std::string(); };
        StartThread([services] { LoadServerList(TheApplication(), services); });
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "sorted after exit began");
}

}  // namespace
}  // namespace vardelle

// The demo world's server list loaded into the in-memory table with the real page fetch,
// name resolution and location lookups: every server's row, in name order, with its
// location, before any test run.
#include <gtest/gtest.h>

#include <map>
#include <mutex>

#include "app/loading/server_list_loading.h"
#include "app/location/location_lookups.h"
#include "app/table/server_table.h"
#include "demo_world/demo_world.h"
#include "fake_window.h"
#include "tests/demo_world_servers.h"

namespace vardelle {
namespace {

using testing::kDemoServersByName;

TEST(DemoWorldLoadingTest, EveryServerGetsItsRowInNameOrder) {
  demo::DemoWorld world;
  ASSERT_TRUE(world.Start());
  testing::FakeWindow window;
  Application app;
  app.window = &window;
  app.endpoints.SetBaseUrl(Site::kGameBox, world.BaseUrl());
  app.endpoints.SetBaseUrl(Site::kIpLocation, world.BaseUrl());
  int testRunsAsked = 0;
  app.startTestRun = [&] { ++testRunsAsked; };
  std::mutex resolvedMutex;
  std::map<std::string, std::string> resolved;
  ServerListServices services;
  services.resolveHostAddress = [&](const std::string& host) {
    const std::string address = ResolveHostAddress(host);
    std::lock_guard guard(resolvedMutex);
    resolved[host] = address;
    return address;
  };
  services.probeUnavailableReason = [] { return std::string(); };
  window.InsertRow("测试主机", RowIcon::kNotTested);

  LoadServerList(app, services);
  app.locationLookups.Wait();

  const std::vector<MemoryRow> rows = window.Rows();
  ASSERT_EQ(rows.size(), std::size(kDemoServersByName));
  for (size_t i = 0; i < rows.size(); ++i) {
    const MemoryRow& row = rows[i];
    const testing::DemoServerRow& expected = kDemoServersByName[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(row.cells[kNameColumn], expected.name);
    EXPECT_EQ(row.cells[kRegionColumn], expected.region);
    EXPECT_EQ(row.cells[kDomainColumn], expected.domain);
    // The address is the test run's to write; the location is the lookup's.
    EXPECT_EQ(row.cells[kAddressColumn], "");
    EXPECT_EQ(row.cells[kLocationColumn], testing::DemoLocationOf(expected.address));
    EXPECT_EQ(row.icon, RowIcon::kNotTested);
    EXPECT_EQ(resolved[expected.domain], expected.address);
  }
  EXPECT_EQ(resolved.size(), std::size(kDemoServersByName));
  EXPECT_EQ(window.ArrowOf(kNameColumn), HeaderArrow::kUp);
  EXPECT_EQ(testRunsAsked, 1);
}

}  // namespace
}  // namespace vardelle

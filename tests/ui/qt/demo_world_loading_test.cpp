// The demo world's server list loaded into the real window offscreen, from the loading
// thread as at program start: the Qt table shows every server in name order with its
// location and the up arrow on the name column.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "app/loading/server_list_loading.h"
#include "app/location/location_lookups.h"
#include "app/table/server_table.h"
#include "demo_world/demo_world.h"
#include "support/text/text_codec.h"
#include "tests/demo_world_servers.h"
#include "ui/qt/main_window.h"
#include "ui/qt/main_window_view.h"
#include "ui/qt/pictures.h"
#include "ui_test_support.h"

namespace vardelle::ui {
namespace {

using vardelle::testing::kDemoServersByName;

QString FromGbk(const char* text) {
  const std::u16string wide = ToUtf16(text);
  return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

QImage Pixels(const QIcon& icon, QSize size) {
  return icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

TEST(DemoWorldLoadingTest, QtTableShowsEveryServerInNameOrder) {
  testing::TestApplication();
  demo::DemoWorld world;
  ASSERT_TRUE(world.Start());
  testing::RecordingEvents events;
  MainWindow window(events);
  QtMainWindowView view(window);
  Application app;
  app.window = &view;
  app.endpoints.SetBaseUrl(Site::kGameBox, world.BaseUrl());
  app.endpoints.SetBaseUrl(Site::kIpLocation, world.BaseUrl());
  std::atomic<int> testRunsAsked = 0;
  app.startTestRun = [&] { ++testRunsAsked; };
  ServerListServices services;
  services.probeUnavailableReason = [] { return std::string(); };

  std::atomic<bool> loaded = false;
  std::thread loading([&] {
    LoadServerList(app, services);
    // Waited for here: the lookups write through the window's thread, which must go on
    // serving them.
    app.locationLookups.Wait();
    loaded = true;
  });
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!loaded && std::chrono::steady_clock::now() < deadline) {
    QApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  if (!loaded) view.Detach();  // lets a stuck loader go before the window does
  loading.join();
  ASSERT_TRUE(loaded);

  const ReportView& table = window.ServerTable();
  ASSERT_EQ(table.topLevelItemCount(), static_cast<int>(std::size(kDemoServersByName)));
  const QImage yellow = RowIconPicture(RowIcon::kNotTested);
  for (int row = 0; row < table.topLevelItemCount(); ++row) {
    const vardelle::testing::DemoServerRow& expected = kDemoServersByName[row];
    SCOPED_TRACE(row);
    EXPECT_EQ(table.CellText(row, kNameColumn), FromGbk(expected.name));
    EXPECT_EQ(table.CellText(row, kRegionColumn), FromGbk(expected.region));
    EXPECT_EQ(table.CellText(row, kDomainColumn), FromGbk(expected.domain));
    EXPECT_EQ(table.CellText(row, kAddressColumn), QString());
    EXPECT_EQ(table.CellText(row, kLocationColumn),
              FromGbk(vardelle::testing::DemoLocationOf(expected.address)));
    EXPECT_EQ(Pixels(table.topLevelItem(row)->icon(0), QSize(12, 12)), yellow);
  }
  const QTreeWidgetItem* header = table.headerItem();
  EXPECT_EQ(Pixels(header->icon(kNameColumn), QSize(8, 7)), HeaderArrowPicture(HeaderArrow::kUp));
  for (int column = 1; column < table.columnCount(); ++column) {
    EXPECT_TRUE(header->icon(column).isNull()) << column;
  }
  EXPECT_EQ(testRunsAsked, 1);
  view.Detach();
}

}  // namespace
}  // namespace vardelle::ui

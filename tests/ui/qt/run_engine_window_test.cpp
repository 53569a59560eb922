// A test run against the real window: rows painted in their status colours through the
// application's colour table, the button starting a run, and the window closing while the
// run's probes are still out.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "app/application/application.h"
#include "app/status/region_status.h"
#include "app/table/server_table.h"
#include "app/test_run/run_engine.h"
#include "app/window/main_window_logic.h"
#include "ui/qt/main_window.h"
#include "ui/qt/main_window_view.h"
#include "ui_test_support.h"

namespace vardelle::ui {
namespace {

// Probes wait here until the test lets them go; each then answers in 12 ms.
struct Gate {
  std::mutex mutex;
  std::vector<std::function<void(int)>> held;
  std::atomic<int> waiting{0};
  void Hold(std::function<void(int)> done) {
    std::lock_guard guard(mutex);
    held.push_back(std::move(done));
    ++waiting;
  }
  void Open() {
    std::vector<std::function<void(int)>> ending;
    {
      std::lock_guard guard(mutex);
      ending.swap(held);
    }
    for (const auto& done : ending) done(12);
  }
};

class TestRunWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::TestApplication();
    window = std::make_unique<MainWindow>(logic);
    view = std::make_unique<QtMainWindowView>(*window);
    view->DeleteAllRows();
    app.window = view.get();
    app.lists = std::make_shared<ProcessLists>();
    for (const char* region : {"艾欧尼亚", "祖安"}) {
      const RowId row = view->InsertRow(region, RowIcon::kNotTested);
      view->SetCellText(row, kRegionColumn, region);
      view->SetCellText(row, kDomainColumn, "127.0.0.2");
    }
    services.fetchRegionStatus = [](const Endpoints&) {
      auto lists = std::make_shared<RegionStatusLists>();
      lists->serverInfoItems = {"'1':'艾欧尼亚'", "'2':'祖安'"};
      lists->statusCodeItems = {"\"1\":\"3\"", "\"2\":\"2\""};
      lists->serverStatusItems = {"2:'拥挤'", "3:'满载'"};
      return std::shared_ptr<const RegionStatusLists>(std::move(lists));
    };
    services.sendPing = [this](const std::string&, std::function<void(int)> done) {
      gate.Hold(std::move(done));
    };
    engine = std::make_unique<TestRunEngine>(app.SharedWithTestRuns(), services);
  }
  void TearDown() override {
    view->Detach();  // a write still on its way would otherwise wait for this thread
    engine.reset();
  }

  // Serves the window's thread until the run is over.
  void ServeUntilDone(const std::shared_ptr<TestRun>& run, const std::atomic<bool>& done) {
    while (!done) QApplication::processEvents(QEventLoop::AllEvents, 10);
    run->Wait();
  }

  Application app;
  MainWindowLogic logic{app};
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<QtMainWindowView> view;
  TestRunServices services;
  Gate gate;
  std::unique_ptr<TestRunEngine> engine;
};

// The colour tells the region's status, which a probe in flight does not change.
TEST_F(TestRunWindowTest, RowsArePaintedInTheirStatusColourWhileAndAfterTheirProbe) {
  std::shared_ptr<TestRun> run = engine->StartRun();
  ReportView& table = window->ServerTable();
  // The status download and the probes start side by side: a probe may go out before the
  // words are in, so the wait is for both.
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        return gate.waiting == 2 && table.CellText(1, kLatencyColumn) == "Scaning..." &&
               table.PaintedRowColour(table.model()->index(1, 0)).textColour == 0x000080FFu;
      },
      20000));
  EXPECT_EQ(table.CellText(0, kLatencyColumn), QStringLiteral("Scaning..."));
  EXPECT_EQ(table.PaintedRowColour(table.model()->index(0, 0)).textColour, 0x000000FFu);
  gate.Open();
  std::atomic<bool> done{false};
  std::thread([run, &done] {
    run->Wait();
    done = true;
  }).detach();
  ServeUntilDone(run, done);
  EXPECT_EQ(table.CellText(0, kLatencyColumn), QStringLiteral("12ms"));
  EXPECT_EQ(table.PaintedRowColour(table.model()->index(0, 3)).textColour, 0x000000FFu);
  EXPECT_EQ(table.PaintedRowColour(table.model()->index(1, 3)).textColour, 0x000080FFu);
}

TEST_F(TestRunWindowTest, ClosingTheWindowDuringARunLeavesTheLateProbesHarmless) {
  std::shared_ptr<TestRun> run = engine->StartRun();
  while (gate.waiting < 2) QApplication::processEvents(QEventLoop::AllEvents, 10);
  view->Detach();
  window.reset();
  gate.Open();
  run->Wait();  // every result went to the closed window without effect
  EXPECT_EQ(run->Summary().answered, 2);
  EXPECT_EQ(view->RowCount(), 0);
}

}  // namespace
}  // namespace vardelle::ui

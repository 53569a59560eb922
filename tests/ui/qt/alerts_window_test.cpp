// Alerts in the real window, offscreen, on the demo world: a watch chosen through the row
// menu's dialog, kept in the settings file and shown in the row's tooltip, on the status line
// and in the tray's tooltip; then 影流 comes back from 维护 and the player is told once.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <filesystem>
#include <memory>
#include <thread>
#include <vector>

#include "app/alerts/alert_settings.h"
#include "app/application/application.h"
#include "app/loading/server_list_loading.h"
#include "app/location/location_lookups.h"
#include "app/table/server_table.h"
#include "app/test_run/run_engine.h"
#include "app/window/main_window_logic.h"
#include "demo_world/demo_world.h"
#include "testing/loopback.h"
#include "tests/recording_notifier.h"
#include "ui/qt/alert_dialog.h"
#include "ui/qt/main_window.h"
#include "ui/qt/main_window_view.h"
#include "ui/qt/window_text.h"
#include "ui_test_support.h"

namespace vardelle::ui {
namespace {

using testing::QText;

TestRunServices AnsweringIn12Ms() {
  TestRunServices services;
  services.sendPing = [](const std::string&, std::function<void(int)> done) { done(12); };
  services.probeUnavailableReason = [] { return std::string(); };
  return services;
}

// 电信15区 in the table sorted by name: region 影流, 维护 in the demo world.
constexpr int kShadowRow = 15;

class AlertsWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vardelle::testing::KeepLoopbackTrafficDirect();
    ASSERT_TRUE(world.Start());
    for (const SiteInfo& site : SiteTable()) app.endpoints.SetBaseUrl(site.site, world.BaseUrl());
    app.settingsFile = settings.string();
    app.alerts.SetNotifier(notifier);
    app.window = &view;
    app.lists = std::make_shared<ProcessLists>();
    app.startTestRun = [] {};  // the test makes its own runs
    Serve([this] {
      LoadServerList(app);
      app.locationLookups.Wait();
    });
  }
  void TearDown() override {
    view.Detach();
    engine.Stop();
  }

  // Runs work on a thread of its own while this thread serves the window.
  template <typename Work>
  void Serve(Work work) {
    std::atomic<bool> done{false};
    std::thread worker([&] {
      work();
      done = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 60000));
    if (!done) view.Detach();  // lets a stuck worker go
    worker.join();
  }
  void Run() {
    Serve([this] {
      engine.StartRun()->Wait();
      engine.Settle();
    });
  }

  // Chooses 提醒… on the selected row and answers the dialog with answer.
  void ChooseAlert(const std::function<void(AlertDialog&)>& answer) {
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<AlertDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      answer(*dialog);
    });
    for (QAction* item : window.RowMenu().actions()) {
      if (item->text() == QText(u"提醒…")) item->trigger();
    }
  }

  QApplication& qt = testing::TestApplication();  // before any widget
  demo::DemoWorld world;
  QTemporaryDir folder;
  std::filesystem::path settings = folder.filePath(QStringLiteral("settings.ini")).toStdString();
  std::shared_ptr<vardelle::testing::RecordingNotifier> notifier =
      std::make_shared<vardelle::testing::RecordingNotifier>();
  Application app;
  MainWindowLogic logic{app};
  MainWindow window{logic};
  QtMainWindowView view{window};
  TestRunEngine engine{app.SharedWithTestRuns(), AnsweringIn12Ms()};
};

TEST_F(AlertsWindowTest, ARegionComingBackIsToldOnceAfterTwoFetchesReadIt) {
  ReportView& table = window.ServerTable();
  ASSERT_EQ(table.CellText(kShadowRow, kRegionColumn), QText(u"影流"));
  table.setCurrentItem(table.topLevelItem(kShadowRow));
  ChooseAlert([](AlertDialog& dialog) {
    dialog.findChild<QCheckBox*>(QStringLiteral("statusCheck"))->setChecked(true);
    dialog.findChild<QRadioButton*>(QStringLiteral("becomesNormal"))->setChecked(true);
    dialog.accept();
  });
  const SavedAlertWatch expected{{"电信15区", "127.0.0.16"}, {StatusWatch::kBecomesNormal}};
  EXPECT_EQ(ReadAlertWatches(app.settingsFile), std::vector{expected});
  EXPECT_EQ(window.StatusLine().FullText(),
            QText(u"已设置提醒：电信15区 状态变为正常；提醒中：1 个服务器"));
  QTreeWidgetItem* row = table.topLevelItem(kShadowRow);
  EXPECT_EQ(row->toolTip(kNameColumn), QText(u"提醒：状态变为正常"));

  Run();  // 维护: where the row starts
  world.SetRegionStatusCode("15", "1");
  Run();  // 正常 once: not yet
  EXPECT_TRUE(notifier->Notices().empty());
  Run();  // 正常 twice
  Run();
  const std::vector<AlertNotice> told = notifier->Notices();
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0], (AlertNotice{"电信15区（127.0.0.16）", "大区状态：维护 → 正常"}));

  EXPECT_TRUE(window.StatusLine().FullText().endsWith(QText(u"；提醒中：1 个服务器")));
  EXPECT_EQ(window.Tray().toolTip(), QText(u"Vardelle 提醒中\n电信15区 12ms"));
  EXPECT_TRUE(window.Tray().isVisible());
  EXPECT_EQ(row->toolTip(kNameColumn), QText(u"提醒：状态变为正常"));
  EXPECT_NE(row->toolTip(kLatencyColumn), row->toolTip(kNameColumn));
}

TEST_F(AlertsWindowTest, ACancelledDialogChangesNothingAndAnEmptyOneStopsTheWatch) {
  ReportView& table = window.ServerTable();
  table.setCurrentItem(table.topLevelItem(kShadowRow));
  ChooseAlert([](AlertDialog& dialog) {
    dialog.findChild<QCheckBox*>(QStringLiteral("latencyCheck"))->setChecked(true);
    dialog.accept();
  });
  const AlertTarget target{"电信15区", "127.0.0.16"};
  EXPECT_EQ(app.alerts.WatchOf(target), (AlertWatch{{}, 150, {}}));
  EXPECT_EQ(window.Tray().toolTip(), QText(u"Vardelle 提醒中\n电信15区 未测试"));

  ChooseAlert([](AlertDialog& dialog) {
    dialog.findChild<QCheckBox*>(QStringLiteral("lossCheck"))->setChecked(true);
    dialog.reject();
  });
  EXPECT_EQ(app.alerts.WatchOf(target), (AlertWatch{{}, 150, {}}));

  ChooseAlert([](AlertDialog& dialog) {
    EXPECT_TRUE(dialog.findChild<QCheckBox*>(QStringLiteral("latencyCheck"))->isChecked());
    dialog.findChild<QCheckBox*>(QStringLiteral("latencyCheck"))->setChecked(false);
    dialog.accept();
  });
  EXPECT_FALSE(app.alerts.AnyWatched());
  EXPECT_TRUE(ReadAlertWatches(app.settingsFile).empty());
  EXPECT_EQ(window.StatusLine().FullText(), QText(u"已取消对 电信15区 的提醒"));
  EXPECT_EQ(table.topLevelItem(kShadowRow)->toolTip(kNameColumn), QString());
  EXPECT_FALSE(window.Tray().isVisible());
}

// Closing asks while rows are watched and a tray shows the icon; yes keeps the program in
// the tray, and its menu's 退出 closes for good without asking again.
TEST_F(AlertsWindowTest, ClosingWhileWatchingOffersTheTrayAndQuitDoesNotAsk) {
  window.SetTrayAvailability([] { return true; });
  window.MarkCreated();
  bool closed = false;
  QObject::connect(&window, &MainWindow::Closed, [&] { closed = true; });
  window.show();
  const auto answer = [](QMessageBox::StandardButton button) {
    QTimer::singleShot(0, [button] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      box->button(button)->click();
    });
  };
  app.alerts.SetWatch({RowId{1}, {"电信15区", "127.0.0.16"}, "影流"}, {{}, 150, {}},
                      app.settingsFile);
  view.SetTrayToolTip("Vardelle");
  answer(QMessageBox::Yes);
  EXPECT_FALSE(window.close());
  EXPECT_FALSE(window.isVisible());
  EXPECT_FALSE(closed);

  EXPECT_TRUE(testing::TriggerMenuItem(*window.Tray().contextMenu(), QText(u"显示窗口")));
  EXPECT_TRUE(window.isVisible());
  answer(QMessageBox::No);
  EXPECT_TRUE(window.close());
  EXPECT_TRUE(closed);

  closed = false;
  window.show();
  EXPECT_TRUE(testing::TriggerMenuItem(*window.Tray().contextMenu(), QText(u"退出")));
  EXPECT_TRUE(closed);
  EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace vardelle::ui

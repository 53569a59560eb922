// The "全球Ping" page of the real window: the list filled from the table, a global test
// started from its menu updating the rows while the window keeps running, the probes'
// tooltip, the results page opened on activation and the place kept from the menu.
#include <gtest/gtest.h>
#include <httplib.h>

#include <QAbstractItemModel>
#include <QMenu>
#include <QTimer>
#include <QtTest/QTest>
#include <memory>

#include "app/application/application.h"
#include "app/global_ping/global_ping_page.h"
#include "app/global_ping/globalping_client.h"
#include "app/settings/column_settings.h"
#include "app/table/server_table.h"
#include "app/window/main_window_logic.h"
#include "demo_world/globalping_stand_in.h"
#include "testing/loopback_servers.h"
#include "tests/recording_launcher.h"
#include "tests/support/temp_dir.h"
#include "ui/qt/main_window.h"
#include "ui/qt/main_window_view.h"
#include "ui_test_support.h"

namespace vardelle::ui {
namespace {

using testing::QText;

class GlobalPingWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::TestApplication();
    vardelle::testing::KeepLoopbackTrafficDirect();
    // The loopback row is measured as in the demo world.
    demo::ServeGlobalpingStandIn(standIn.Server(), {.acceptPrivateTargets = true});
    ASSERT_TRUE(standIn.Start());
    application.endpoints.SetGlobalpingBase(standIn.Url(""));
    application.globalpingMeasuresPrivateTargets = true;
    application.settingsFile = folder.File("settings.ini");
    auto recording = std::make_unique<vardelle::testing::RecordingLauncher>();
    launcher = recording.get();
    launcher->programs = {"xdg-open"};
    application.launcher = std::move(recording);
    window = std::make_unique<MainWindow>(logic);
    view = std::make_unique<QtMainWindowView>(*window);
    application.window = view.get();
    window->show();
    ReportView& table = window->ServerTable();
    table.clear();
    for (const auto& [name, domain] :
         {std::pair{u"艾欧尼亚", "127.0.0.1"}, {u"黑色玫瑰", "hn1.lol.example.com"}}) {
      table.SetCellText(table.RowWithId(table.AppendRow(QText(name), RowIcon::kNotTested)),
                        kDomainColumn, QString::fromLatin1(domain));
    }
    application.globalPing.ListServers(*view);
  }

  void TearDown() override {
    // The test's last writes to the window are done before it goes.
    EXPECT_TRUE(QTest::qWaitFor([this] { return !application.globalPing.TestsRunning(); }, 60000));
    view->Detach();
    application.window = nullptr;
  }

  ReportView& List() { return window->KeyList(); }

  // Right-clicks the list and picks the menu item with that caption.
  void ChooseFromMenu(const QString& caption) {
    QTimer::singleShot(0, window.get(), [this, caption] {
      QMenu& menu = window->KeyListMenu();
      for (QAction* action : menu.actions()) {
        if (action->text() == caption) menu.setActiveAction(action);
      }
      QTest::keyClick(&menu, Qt::Key_Return);
      menu.close();
    });
    emit List().customContextMenuRequested(QPoint(5, 5));
  }

  vardelle::testing::LoopbackHttpServer standIn;
  testing_files::TempDir folder;
  Application application;
  MainWindowLogic logic{application};
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<QtMainWindowView> view;
  vardelle::testing::RecordingLauncher* launcher = nullptr;
};

TEST_F(GlobalPingWindowTest, MenuTestFillsTheRowsAsResultsArriveAndActivationOpensTheResults) {
  ASSERT_EQ(List().topLevelItemCount(), 2);
  EXPECT_EQ(List().CellText(1, 0), QText(u"黑色玫瑰"));
  QStringList statesSeen;
  QObject::connect(List().model(), &QAbstractItemModel::dataChanged,
                   [&](const QModelIndex& from, const QModelIndex& to) {
                     for (int row = from.row(); row <= to.row(); ++row) {
                       statesSeen.append(List().CellText(row, kKeyListStateColumn));
                     }
                   });
  ChooseFromMenu(QText(u"测试全部服务器"));
  const auto finished = [this] {
    for (int row = 0; row < 2; ++row) {
      const QString state = List().CellText(row, kKeyListStateColumn);
      if (state.isEmpty() || state == QText(u"排队中") || state.startsWith(QText(u"测试中"))) {
        return false;
      }
    }
    return true;
  };
  // The window's own loop runs meanwhile: every row write is served by it.
  ASSERT_TRUE(QTest::qWaitFor(finished, 20000));
  EXPECT_TRUE(QTest::qWaitFor(
      [this] { return window->KeyListStatusLine().FullText().contains(QText(u"没有进行中的测试")); },
      20000));
  EXPECT_TRUE(statesSeen.contains(QText(u"排队中")));
  EXPECT_TRUE(std::any_of(statesSeen.begin(), statesSeen.end(),
                          [](const QString& s) { return s.startsWith(QText(u"测试中")); }));
  const QString id = List().CellText(1, kKeyListKeyColumn);
  ASSERT_FALSE(id.isEmpty());
  EXPECT_TRUE(List().RowAt(1)->toolTip(kKeyListStateColumn).contains(QStringLiteral("Beijing")));
  EXPECT_EQ(List().CellText(1, kKeyListAverageColumn), QStringLiteral("23.1ms"));

  List().setCurrentItem(List().RowAt(1));
  QTest::keyClick(&List(), Qt::Key_Return);
  const std::vector<std::string> expected{"xdg-open", MeasurementResultsPage(id.toStdString())};
  EXPECT_EQ(launcher->started, std::vector<std::vector<std::string>>{expected});
}

TEST_F(GlobalPingWindowTest, PlaceChosenFromTheMenuIsKept) {
  ChooseFromMenu(QText(u"亚洲"));
  EXPECT_EQ(ReadSettingsValue(application.settingsFile, "globalPing", "place"), "asia");
  const QList<QAction*> items = window->KeyListMenu().actions();
  const auto asia = std::find_if(items.begin(), items.end(),
                                 [](QAction* item) { return item->text() == QText(u"亚洲"); });
  ASSERT_NE(asia, items.end());
  EXPECT_TRUE((*asia)->isChecked());
  ChooseFromMenu(QText(u"测试选中的服务器"));  // nothing selected
  EXPECT_TRUE(QTest::qWaitFor(
      [this] { return window->KeyListStatusLine().FullText().contains(QText(u"请先在列表中选择")); },
      5000));
}

}  // namespace
}  // namespace vardelle::ui

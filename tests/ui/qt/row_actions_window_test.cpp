// The row gestures of the real window reach the console ping of the row under them,
// through the application's handlers and a launcher that only records.
#include <gtest/gtest.h>

#include <QMenu>
#include <QTimer>
#include <QtTest/QTest>
#include <memory>

#include "app/application/application.h"
#include "app/table/server_table.h"
#include "app/window/main_window_logic.h"
#include "tests/recording_launcher.h"
#include "ui/qt/main_window.h"
#include "ui/qt/main_window_view.h"
#include "ui_test_support.h"

namespace vardelle::ui {
namespace {

using Argv = std::vector<std::string>;

class RowActionsWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::TestApplication();
    auto recording = std::make_unique<vardelle::testing::RecordingLauncher>();
    launcher = recording.get();
    launcher->programs = {"ping", "xterm"};
    application.launcher = std::move(recording);
    window = std::make_unique<MainWindow>(logic);
    view = std::make_unique<QtMainWindowView>(*window);
    application.window = view.get();
    window->show();
    window->PlaceOnScreen();
    window->MarkCreated();
    Table().clear();
    for (const char* domain : {"localhost", "127.0.0.1"}) {
      Table().SetCellText(Table().RowWithId(Table().AppendRow("server", RowIcon::kNotTested)),
                          kDomainColumn, domain);
    }
    QApplication::processEvents();
  }

  ReportView& Table() { return window->ServerTable(); }
  QPoint RowCentre(int row) {
    return Table().viewport()->mapTo(window.get(),
                                     Table().visualItemRect(Table().topLevelItem(row)).center());
  }

  Application application;
  MainWindowLogic logic{application};
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<QtMainWindowView> view;
  vardelle::testing::RecordingLauncher* launcher = nullptr;
};

const Argv kPingSecondRow{"xterm", "-e", "ping", "127.0.0.1"};

TEST_F(RowActionsWindowTest, RightClickAndContinuousPingItem) {
  // The menu runs its own loop; the user's keys come once it shows, and it closes after
  // them whatever happened.
  QTimer::singleShot(0, window.get(), [this] {
    QMenu& menu = window->RowMenu();
    QTest::keyClick(&menu, Qt::Key_Down);
    QTest::keyClick(&menu, Qt::Key_Return);
    menu.close();
  });
  QTest::mouseClick(window->windowHandle(), Qt::RightButton, {}, RowCentre(1));
  EXPECT_EQ(launcher->started, std::vector<Argv>{kPingSecondRow});
}

TEST_F(RowActionsWindowTest, DoubleClickAndEnter) {
  QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {}, RowCentre(1));
  EXPECT_EQ(launcher->started, std::vector<Argv>{kPingSecondRow});
  QTest::keyClick(&Table(), Qt::Key_Return);
  EXPECT_EQ(launcher->started, (std::vector<Argv>{kPingSecondRow, kPingSecondRow}));
}

}  // namespace
}  // namespace vardelle::ui

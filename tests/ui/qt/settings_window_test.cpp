// "设置…" in the Qt window, driven as a player would: the first start's guide and dialog,
// typing a site, "测试" against the demo world and a refused port, OK filling the table at
// once; a base with a path refused at OK; Cancel changing nothing.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>

#include "app/application/application.h"
#include "app/settings/column_settings.h"
#include "app/sites/site_check.h"
#include "app/window/main_window_logic.h"
#include "demo_world/demo_world.h"
#include "runtime/threads/threads.h"
#include "testing/loopback_servers.h"
#include "tests/support/temp_dir.h"
#include "ui/qt/main_window.h"
#include "ui/qt/main_window_view.h"
#include "ui/qt/settings_dialog.h"
#include "ui_test_support.h"

namespace vardelle::ui {
namespace {

using testing::QText;

constexpr int kWaitMs = 60000;

class SettingsWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vardelle::testing::KeepLoopbackTrafficDirect();
    ASSERT_TRUE(world.Start());
    app.settingsFile = folder.File("settings.ini");
    app.startTestRun = [] {};
    app.window = &view;
    window.show();
  }
  void TearDown() override {
    // The loadings started meanwhile write to the window: they end before it goes.
    EXPECT_TRUE(QTest::qWaitFor(
        [] { return AwaitStartedThreads(std::chrono::steady_clock::now()); }, kWaitMs));
    view.Detach();
    app.locationLookups.Wait();
  }

  // Runs player on the dialog as soon as it is open.
  static void WhenDialogOpens(std::function<void(SettingsDialogWindow&)> player) {
    QTimer::singleShot(0, [player] {
      auto* dialog = qobject_cast<SettingsDialogWindow*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      player(*dialog);
    });
  }

  // Types base into the site's field, presses its 测试 and waits for the line that ends the test.
  static QString TestSite(SettingsDialogWindow& dialog, const char* key, const std::string& base) {
    auto* field = dialog.findChild<QLineEdit*>(QString::fromLatin1(key));
    field->clear();
    QTest::keyClicks(field, QString::fromStdString(base));
    auto* result = dialog.findChild<QLabel*>(QString::fromLatin1(key) + QStringLiteral("Result"));
    QTest::mouseClick(
        dialog.findChild<QPushButton*>(QString::fromLatin1(key) + QStringLiteral("Test")),
        Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return !result->text().isEmpty() && result->text() != QText(u"正在测试…"); },
        kWaitMs));
    return result->text();
  }

  QApplication& qt = testing::TestApplication();  // before any widget
  demo::DemoWorld world;
  testing_files::TempDir folder;
  Application app;
  MainWindowLogic logic{app};
  MainWindow window{logic};
  QtMainWindowView view{window};
};

TEST_F(SettingsWindowTest, FirstStartGuidesAndTheDialogFillsTheTable) {
  WhenDialogOpens([this](SettingsDialogWindow& dialog) {
    // The loading finds no site meanwhile, and the table says what to do.
    EXPECT_TRUE(QTest::qWaitFor([this] { return window.Guide().isVisible(); }, kWaitMs));
    dialog.reject();
  });
  logic.OnCreated(view);
  const QString guide = window.Guide().findChild<QLabel*>(QStringLiteral("tableGuideText"))->text();
  for (const SiteInfo& info : SiteTable())
    EXPECT_TRUE(guide.contains(FromGbk(SiteCaption(info.site))));
  EXPECT_FALSE(window.StatusLine().FullText().isEmpty());

  WhenDialogOpens([this](SettingsDialogWindow& dialog) {
    EXPECT_TRUE(TestSite(dialog, "statusSite", "http://127.0.0.1:1").startsWith(QText(u"连接失败")));
    const QString read = TestSite(dialog, "gamebox", world.BaseUrl());
    EXPECT_TRUE(read.startsWith(QStringLiteral("HTTP 200"))) << read.toStdString();
    EXPECT_TRUE(read.endsWith(QText(u"30 个服务器"))) << read.toStdString();
    dialog.findChild<QLineEdit*>(QStringLiteral("statusSite"))->clear();
    dialog.accept();
  });
  QTest::mouseClick(window.Guide().findChild<QPushButton*>(QStringLiteral("tableGuideButton")),
                    Qt::LeftButton);
  EXPECT_TRUE(
      QTest::qWaitFor([this] { return window.ServerTable().topLevelItemCount() == 30; }, kWaitMs));
  EXPECT_TRUE(QTest::qWaitFor([this] { return !window.Guide().isVisible(); }, kWaitMs));
  EXPECT_EQ(EndpointsNow(app).BaseUrl(Site::kGameBox), world.BaseUrl());
}

TEST_F(SettingsWindowTest, APathIsRefusedAtOkAndCancelChangesNothing) {
  app.endpoints.SetBaseUrl(Site::kGameBox, world.BaseUrl());
  app.globalpingToken = "kept";
  WhenDialogOpens([](SettingsDialogWindow& dialog) {
    auto* token = dialog.findChild<QLineEdit*>(QStringLiteral("globalpingToken"));
    EXPECT_EQ(token->echoMode(), QLineEdit::Password);
    token->setText(QStringLiteral("other"));
    auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("gamebox"));
    field->setText(field->text() + QStringLiteral("/lol/box/gameserver.json"));
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.findChild<QLabel*>(QStringLiteral("settingsProblem"))
                    ->text()
                    .startsWith(FromGbk(SiteCaption(Site::kGameBox))));
    dialog.reject();
  });
  QTest::mouseClick(&window.SettingsButton(), Qt::LeftButton);
  EXPECT_EQ(EndpointsNow(app).BaseUrl(Site::kGameBox), world.BaseUrl());
  EXPECT_EQ(app.globalpingToken, "kept");
  for (const char* key : {"gamebox", "globalpingToken"}) {
    EXPECT_FALSE(ReadSettingsValue(app.settingsFile, "sites", key).has_value()) << key;
  }
}

}  // namespace
}  // namespace vardelle::ui

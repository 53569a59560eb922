// Each user action on the window reaches its application handler, and the application's
// rules for size changes and the test period take effect on the window's controls.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QProperty>
#include <QPushButton>
#include <QtTest/QTest>
#include <memory>

#include "app/application/application.h"
#include "app/window/main_window_logic.h"
#include "ui/qt/main_window.h"
#include "ui/qt/main_window_view.h"
#include "ui_test_support.h"

namespace vardelle::ui {
namespace {

using testing::QText;

class EventsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::TestApplication();
    window = std::make_unique<MainWindow>(events);
    window->show();
    window->PlaceOnScreen();
    QApplication::processEvents();
    events.events.clear();
  }

  std::vector<std::string> Fired() { return std::exchange(events.events, {}); }

  ReportView& Table() { return window->ServerTable(); }
  // Where a row shows, in the window's coordinates.
  QPoint RowCentre(QTreeWidget& table, int row) {
    return table.viewport()->mapTo(window.get(),
                                   table.visualItemRect(table.topLevelItem(row)).center());
  }
  // Through the window, as the platform delivers them, so the view sees a whole click pair.
  void DoubleClick(QPoint at) {
    QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {}, at);
  }

  testing::RecordingEvents events;
  std::unique_ptr<MainWindow> window;
};

using Strings = std::vector<std::string>;

TEST_F(EventsTest, HeaderClickDeliversTheColumnAndLeavesTheRowOrderAlone) {
  Table().AppendRow(QStringLiteral("b"), RowIcon::kNotTested);
  Table().AppendRow(QStringLiteral("a"), RowIcon::kNotTested);
  QHeaderView* header = Table().header();
  for (int column : {3, 0}) {
    const QPoint inSection(header->sectionViewportPosition(column) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, inSection);
  }
  EXPECT_EQ(Fired(), (Strings{"header 3", "header 0"}));
  EXPECT_EQ(Table().CellText(1, 0), QStringLiteral("b"));
  EXPECT_EQ(Table().CellText(2, 0), QStringLiteral("a"));
}

TEST_F(EventsTest, RowActivationByDoubleClickOrEnter) {
  DoubleClick(RowCentre(Table(), 0));
  EXPECT_EQ(Fired(), Strings{"row activated"});
  Table().setCurrentItem(Table().topLevelItem(0));
  QTest::keyClick(&Table(), Qt::Key_Return);
  QTest::keyClick(&Table(), Qt::Key_Enter);
  EXPECT_EQ(Fired(), (Strings{"row activated", "row activated"}));
}

TEST_F(EventsTest, RightClickOnTheTableAndTheMenuItems) {
  QTest::mouseClick(window->windowHandle(), Qt::RightButton, {}, RowCentre(Table(), 0));
  EXPECT_EQ(Fired(), Strings{"right click"});
  const QList<QAction*> items = window->RowMenu().actions();
  items[0]->trigger();
  items[2]->trigger();
  EXPECT_EQ(Fired(), (Strings{"continuous ping", "route trace"}));
}

TEST_F(EventsTest, ButtonPeriodChoiceUpdateLabelAndKeyList) {
  QTest::mouseClick(&window->TestButton(), Qt::LeftButton);
  QTest::keyClick(&window->PeriodList(), Qt::Key_Down);
  EXPECT_EQ(Fired(), (Strings{"test button", "period changed"}));

  auto* tabs = window->findChild<QTabBar*>();
  tabs->setCurrentIndex(2);
  auto* update = window->findChild<QLabel*>(QText(u"透明标签2"));
  QTest::mousePress(update, Qt::RightButton);
  QTest::mousePress(update, Qt::LeftButton);
  EXPECT_EQ(Fired(), Strings{"update label"});

  tabs->setCurrentIndex(1);
  auto* keys = window->findChild<ReportView*>(QText(u"超级列表框1"));
  keys->AppendRow(QStringLiteral("server"), RowIcon::kNotTested);
  DoubleClick(RowCentre(*keys, 0));
  EXPECT_EQ(Fired(), Strings{"key list activated"});
}

TEST_F(EventsTest, TimerExpiryIsDelivered) {
  window->Timer().SetPeriod(1);
  QDeadlineTimer patience(20000);
  while (events.events.empty() && !patience.hasExpired())
    QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  ASSERT_FALSE(events.events.empty());
  EXPECT_EQ(events.events.front(), "timer");
}

TEST_F(EventsTest, SizeChangesReachTheApplicationOnlyOnceCreated) {
  window->resize(900, 600);
  QApplication::processEvents();
  EXPECT_EQ(Fired(), Strings{});
  window->MarkCreated();
  window->resize(920, 600);
  QApplication::processEvents();
  EXPECT_EQ(Fired(), Strings{"resized"});
}

// The window driven by the application's own handlers.
class ApplicationRulesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::TestApplication();
    window = std::make_unique<MainWindow>(logic);
    view = std::make_unique<QtMainWindowView>(*window);
    application.window = view.get();
    window->show();
    window->PlaceOnScreen();
    window->MarkCreated();
  }

  void Choose(int index) {
    window->PeriodList().setCurrentIndex(index);
    emit window->PeriodList().activated(index);
  }

  Application application;
  MainWindowLogic logic{application};
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<QtMainWindowView> view;
};

// The pages and tables take what the window grows by; the bottom row stays at the bottom,
// its buttons at the right.
TEST_F(ApplicationRulesTest, ResizingGrowsThePagesAndKeepsTheBottomRowAtTheBottom) {
  const auto place = [this](const char16_t* name) {
    const QWidget* control = window->findChild<QWidget*>(QText(name));
    return QRect(control->mapTo(window.get(), QPoint(0, 0)), control->size());
  };
  const QRect table = place(u"listView");
  const QRect keyList = place(u"超级列表框1");
  const QSize layout = window->size();
  EXPECT_EQ(layout, QSize(kWindowPlace.width, kWindowPlace.height));
  const QRect bottomRow[] = {place(u"透明标签3"), place(u"组合框1"), place(u"状态标签"),
                             place(u"超级按钮1"), place(u"设置按钮")};
  for (const QSize size : {QSize(1100, 583), QSize(1400, 900), layout}) {
    window->resize(size);
    QApplication::processEvents();
    const QSize grown = size - layout;
    EXPECT_EQ(place(u"listView"), table.adjusted(0, 0, grown.width(), grown.height()));
    EXPECT_EQ(place(u"超级列表框1"), keyList.adjusted(0, 0, grown.width(), grown.height()));
    EXPECT_EQ(place(u"透明标签3"), bottomRow[0].translated(0, grown.height()));
    EXPECT_EQ(place(u"组合框1"), bottomRow[1].translated(0, grown.height()));
    EXPECT_EQ(place(u"状态标签"),
              bottomRow[2].translated(0, grown.height()).adjusted(0, 0, grown.width(), 0));
    EXPECT_EQ(place(u"超级按钮1"), bottomRow[3].translated(grown.width(), grown.height()));
    EXPECT_EQ(place(u"设置按钮"), bottomRow[4].translated(grown.width(), grown.height()));
  }
}

TEST_F(ApplicationRulesTest, PeriodChoiceStartsRestartsAndStopsTheTimer) {
  const QTimer& countdown = window->Timer().Countdown();
  int activeChanges = 0;  // observing only; bindableActive has no const overload
  const QPropertyNotifier watch =
      const_cast<QTimer&>(countdown).bindableActive().addNotifier([&] { ++activeChanges; });

  Choose(1);
  EXPECT_TRUE(countdown.isActive());
  EXPECT_EQ(countdown.interval(), 5000);
  EXPECT_EQ(activeChanges, 1);

  // The same choice again must not restart the running countdown (stop + start).
  Choose(1);
  EXPECT_TRUE(countdown.isActive());
  EXPECT_EQ(activeChanges, 1);

  Choose(5);
  EXPECT_EQ(countdown.interval(), 60000);
  EXPECT_EQ(activeChanges, 3);

  Choose(0);
  EXPECT_FALSE(countdown.isActive());
  EXPECT_EQ(window->Timer().Period(), 0);
}

}  // namespace
}  // namespace vardelle::ui

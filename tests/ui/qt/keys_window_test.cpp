// The Qt main window by keyboard alone: Tab and Shift+Tab round the page in the layout's
// order, Ctrl+Tab to the next page, Enter and Space pressing the focused button, F5 starting
// a run from anywhere, Esc closing the settings and alert dialogs, and Ctrl+A leaving every row
// drawn in the selection's colours.
#include <gtest/gtest.h>

#include <QTimer>
#include <QtTest/QTest>
#include <string>
#include <vector>

#include "tests/dialog_events.h"
#include "ui/qt/main_window.h"
#include "ui/qt/main_window_view.h"
#include "ui_test_support.h"

namespace vardelle::ui {
namespace {

using testing::QText;
using vardelle::testing::DialogEvents;

struct Step {
  int key;
  Qt::KeyboardModifiers modifiers;
  const char16_t* focusAfter;
};

struct Press {
  const char16_t* focused;
  int key;
  const char* event;
};

class KeysWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    events.app.startTestRun = [] {};
    events.view = &view;
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }
  void TearDown() override { view.Detach(); }

  // The window active again (a closed dialog leaves none) and the control focused.
  void Focus(const char16_t* name) {
    QApplication::setActiveWindow(&window);
    window.findChild<QWidget*>(QText(name))->setFocus(Qt::OtherFocusReason);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
  }
  static QString Focused() {
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
  }
  static void Key(int key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
  }

  QApplication& qt = testing::TestApplication();  // before any widget
  DialogEvents events;
  MainWindow window{events};
  QtMainWindowView view{window};
};

TEST_F(KeysWindowTest, TabAndCtrlTabGoThroughThePagesInLayoutOrder) {
  const Step steps[] = {
      {Qt::Key_Tab, {}, u"组合框1"},
      {Qt::Key_Tab, {}, u"超级按钮1"},
      {Qt::Key_Tab, {}, u"设置按钮"},
      {Qt::Key_Tab, {}, u"listView"},
      {Qt::Key_Backtab, Qt::ShiftModifier, u"设置按钮"},
      {Qt::Key_Backtab, Qt::ShiftModifier, u"超级按钮1"},
      {Qt::Key_Tab, Qt::ControlModifier, u"超级列表框1"},
      {Qt::Key_Tab, Qt::ControlModifier, u"超级链接框2"},
      {Qt::Key_Tab, Qt::ControlModifier, u"listView"},
      {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, u"超级链接框2"},
  };
  Focus(u"listView");
  for (const Step& step : steps) {
    const QString before = Focused();
    Key(step.key, step.modifiers);
    EXPECT_EQ(Focused(), QText(step.focusAfter)) << "from " << before.toStdString();
  }
}

TEST_F(KeysWindowTest, EnterSpaceAndF5PressAndStartRuns) {
  const Press presses[] = {
      {u"超级按钮1", Qt::Key_Return, "test button"}, {u"超级按钮1", Qt::Key_Space, "test button"},
      {u"组合框1", Qt::Key_F5, "test button"},       {u"listView", Qt::Key_F5, "test button"},
      {u"设置按钮", Qt::Key_Return, "settings"},     {u"设置按钮", Qt::Key_Space, "settings"},
  };
  for (const Press& press : presses) {
    Focus(press.focused);
    events.events.clear();
    // The settings dialog is modal: Esc closes it, or the press would not come back.
    QTimer::singleShot(0, [] {
      if (QWidget* dialog = QApplication::activeModalWidget())
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    Key(press.key);
    EXPECT_EQ(events.events, std::vector<std::string>{press.event})
        << QText(press.focused).toStdString() << " key " << press.key;
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  }
}

TEST_F(KeysWindowTest, EscClosesTheAlertDialog) {
  window.ServerTable().setCurrentItem(window.ServerTable().RowAt(0));
  bool opened = false;
  QTimer::singleShot(0, [&opened] {
    QWidget* dialog = QApplication::activeModalWidget();
    opened = dialog != nullptr;
    if (dialog) QTest::keyClick(dialog, Qt::Key_Escape);
  });
  events.OnAlertChosen();
  EXPECT_TRUE(opened);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_FALSE(events.app.alerts.AnyWatched());
}

TEST_F(KeysWindowTest, CtrlADrawsEveryRowSelected) {
  ReportView& table = window.ServerTable();
  table.clear();
  for (int row = 0; row < 3; ++row) {
    const RowId id = table.AppendRow(QStringLiteral("server"), RowIcon::kNotTested);
    table.SetRowColour(table.RowWithId(id), RowColour{0x0000FF, 0xCBC0FF});  // red on pink
  }
  Focus(u"listView");
  Key(Qt::Key_A, Qt::ControlModifier);
  QApplication::processEvents();
  const QImage painted = table.viewport()->grab().toImage();
  const QColor highlight = table.palette().color(QPalette::Active, QPalette::Highlight);
  for (int row = 0; row < table.RowCount(); ++row) {
    EXPECT_TRUE(table.RowAt(row)->isSelected()) << row;
    // The selection's colours, not the row's own, for the text as for the background.
    const RowColour colour = table.PaintedRowColour(table.model()->index(row, 0));
    EXPECT_EQ(colour.textColour, kDefaultColour) << row;
    // The empty region cell: the row's background.
    const QRect cell = table.visualRect(table.model()->index(row, 1));
    EXPECT_EQ(painted.pixelColor(cell.center()), highlight) << row;
  }
}

}  // namespace
}  // namespace vardelle::ui

// A whole run of the main window: shown at its place, created event with a working view,
// closed by the user while other threads still use the view, destroyed event last.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTimer>
#include <atomic>
#include <thread>

#include "ui/qt/window_platform.h"
#include "ui_test_support.h"

namespace vardelle::ui {
namespace {

QWidget* MainWindowOnScreen() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible() && widget->windowTitle() == QStringLiteral("Vardelle v1.3"))
      return widget;
  }
  return nullptr;
}

// Closes the window once a worker's calls are being served, like a user would mid-run.
class ClosingEvents : public testing::RecordingEvents {
 public:
  ~ClosingEvents() override {
    if (worker.joinable()) worker.join();
  }

  void OnCreated(MainWindowView& view) override {
    RecordingEvents::OnCreated(view);
    QWidget* window = MainWindowOnScreen();
    frameAtCreation = window ? window->frameGeometry() : QRect();
    view.FocusTestButton();
    QWidget* focus = window ? window->focusWidget() : nullptr;
    focusAtCreation = focus ? focus->objectName() : QString();
    worker = std::thread([this, &view] {
      const RowId row = view.InsertRow("row", RowIcon::kNotTested);
      for (int round = 0; round < 100000 && !view.CellText(row, 0).empty(); ++round) ++served;
    });
    auto* closer = new QTimer(window);
    QObject::connect(closer, &QTimer::timeout, window, [this, window] {
      if (served >= 50) window->close();
    });
    closer->start(1);
  }

  std::thread worker;
  std::atomic<int> served = 0;
  QRect frameAtCreation;
  QString focusAtCreation;
};

TEST(PlatformTest, RunFromShowToCloseWithAWorkerStillCalling) {
  testing::TestApplication();
  QtWindowPlatform platform;
  ClosingEvents events;
  platform.RunMainWindow(events);
  events.worker.join();

  ASSERT_GE(events.events.size(), 2u);
  EXPECT_EQ(events.events.front(), "created");
  EXPECT_EQ(events.events.back(), "destroying");
  EXPECT_EQ(events.frameAtCreation, QRect(50, 50, 848, 583));
  EXPECT_EQ(events.focusAtCreation, testing::Text(u"超级按钮1"));
  EXPECT_GE(events.served, 50);
  EXPECT_EQ(MainWindowOnScreen(), nullptr);
  // The view handed out stays callable and answers as for a window that is gone.
  ASSERT_NE(events.createdView, nullptr);
  EXPECT_EQ(events.createdView->RowCount(), 0);
  EXPECT_EQ(events.createdView->CellText(0, 0), "");
}

}  // namespace
}  // namespace vardelle::ui

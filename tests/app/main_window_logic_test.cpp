#include "app/main_window_logic.h"

#include <gtest/gtest.h>

#include "app/start_up.h"
#include "app/test_period.h"
#include "fake_window.h"
#include "runtime/locks.h"
#include "support/cookie_jar.h"

namespace vardelle {
namespace {

using testing::FakeWindow;

class MainWindowLogicTest : public ::testing::Test {
 protected:
  void SetUp() override { logic.OnCreated(window); }
  void TearDown() override { logic.OnDestroying(); }

  Application app;
  MainWindowLogic logic{app};
  FakeWindow window;
};

TEST_F(MainWindowLogicTest, CreationMakesTheTableLockAndFocusesTheButton) {
  EXPECT_NE(app.tableLock, 0);
  EXPECT_EQ(window.focusRequests, 1);
  EXPECT_EQ(app.window.load(), &window);
}

TEST_F(MainWindowLogicTest, DestructionDeletesTheTableLockOnce) {
  const LockHandle lock = app.tableLock;
  logic.OnDestroying();
  EXPECT_EQ(app.tableLock, 0);
  EXPECT_FALSE(DeleteLock(lock)) << "the lock should already be gone";
}

TEST_F(MainWindowLogicTest, ResizeWidensOnlyTheTable) {
  window.clientWidth = 1200;
  logic.OnResized();
  EXPECT_EQ(window.tableWidth, 1200);
}

TEST_F(MainWindowLogicTest, RightClickShowsTheMenuBesideTheMouse) {
  logic.OnRowRightClicked();
  ASSERT_EQ(window.menuOffsets.size(), 1u);
  EXPECT_EQ(window.menuOffsets[0], std::make_pair(3, 3));
}

TEST_F(MainWindowLogicTest, EveryPeriodItemSetsItsTimerPeriod) {
  const std::vector<int> expected{0, 5000, 10000, 20000, 30000, 60000};
  for (int index = 0; index < static_cast<int>(expected.size()); ++index) {
    window.periodSelection = index;
    logic.OnPeriodChanged();
    EXPECT_EQ(window.timerPeriods.back(), expected[index]) << "item " << index;
  }
}

TEST(TimerPeriodTest, SaturatesInsteadOfWrapping) {
  EXPECT_EQ(TimerPeriodForItemValue(7), 7000);
  EXPECT_EQ(TimerPeriodForItemValue(3'000'000), std::numeric_limits<int>::max());
  EXPECT_EQ(TimerPeriodForItemValue(-3'000'000), std::numeric_limits<int>::min());
}

class RecordingPlatform : public WindowPlatform {
 public:
  void RunMainWindow(MainWindowEvents& events) override {
    listsReadyWhenShown = TheApplication().lists.load() != nullptr;
    sharedJarReadyWhenShown = SharedCookieJar() != nullptr;
    events.OnCreated(window);
    lockLiveWhileShown = TheApplication().tableLock != 0;
    events.OnDestroying();
  }
  FakeWindow window;
  bool listsReadyWhenShown = false;
  bool sharedJarReadyWhenShown = false;
  bool lockLiveWhileShown = false;
};

TEST(StartUpTest, ListsAndSharedJarExistBeforeTheWindowAndTheLockDiesWithIt) {
  RecordingPlatform platform;
  EXPECT_EQ(StartUp(platform), 0);
  EXPECT_TRUE(platform.listsReadyWhenShown);
  EXPECT_TRUE(platform.sharedJarReadyWhenShown);
  EXPECT_TRUE(platform.lockLiveWhileShown);
  EXPECT_EQ(TheApplication().tableLock, 0);
  const std::shared_ptr<ProcessLists> heldByALateWorker = TheApplication().lists;
  ShutDown();
  EXPECT_EQ(TheApplication().lists.load(), nullptr);
  EXPECT_EQ(SharedCookieJar(), nullptr);
  EXPECT_TRUE(heldByALateWorker->rowColourTable.empty()) << "a held reference stays readable";
  ShutDown();  // a second call finds nothing left to free
}

}  // namespace
}  // namespace vardelle

#include "app/window/main_window_logic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "app/start/start_up.h"
#include "app/table/server_table.h"
#include "app/view/run_period.h"
#include "app/view/window_layout.h"
#include "fake_window.h"
#include "runtime/threads/locks.h"
#include "support/cookies/cookie_jar.h"
#include "support/text/text_codec.h"

namespace vardelle {
namespace {

using testing::FakeWindow;

// The test runs that loading threads asked for. Static, so a loading thread still
// returning from the request never touches an object that a finished test destroyed.
class TestRunRequests {
 public:
  static void Record() {
    std::lock_guard guard(mutex);
    ++count;
    changed.notify_all();
  }
  static int Count() {
    std::lock_guard guard(mutex);
    return count;
  }
  // Whether the count reaches wanted within a few seconds.
  static bool WaitFor(int wanted) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, std::chrono::seconds(10), [&] { return count >= wanted; });
  }

 private:
  static inline std::mutex mutex;
  static inline std::condition_variable changed;
  static inline int count = 0;
};

// The loading thread works on TheApplication(), so these tests drive that one; the window
// is created with no game-box address, and every test waits until loading is over.
class MainWindowLogicTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app.startTestRun = TestRunRequests::Record;
    requestsBefore = TestRunRequests::Count();
    logic.OnCreated(window);
    ASSERT_TRUE(TestRunRequests::WaitFor(requestsBefore + 1)) << "loading did not finish";
  }
  void TearDown() override { logic.OnDestroying(); }

  Application& app = TheApplication();
  MainWindowLogic logic{app};
  FakeWindow window;
  int requestsBefore = 0;
};

TEST_F(MainWindowLogicTest, CreationPublishesTheViewAndFocusesTheButton) {
  EXPECT_EQ(window.focusRequests, 1);
  EXPECT_EQ(app.window.load(), &window);
}

TEST_F(MainWindowLogicTest, CreationLoadsTheServerListOnItsOwnThread) {
  EXPECT_EQ(TestRunRequests::Count(), requestsBefore + 1);
  ASSERT_FALSE(window.statusLines.empty());
  EXPECT_EQ(window.statusLines.back(), "未设置游戏盒子站点地址（--gamebox 或 VARDELLE_GAMEBOX）");
}

// The shared direction depends on the sorts before, so each check accepts either one as
// long as the arrow tells it.
TEST_F(MainWindowLogicTest, HeaderClicksSortLatencyAndAddressAsNumbers) {
  for (const char* cells : {"0", "1", "2", "3"}) window.InsertRow(cells, RowIcon::kNotTested);
  const std::vector<std::string> latencies{"37ms", "5ms", "120ms", "..."};
  const std::vector<std::string> addresses{"183.7.0.1", "61.1.1.1", "183.60.1.1", "20.1.1.1"};
  for (int row = 0; row < 4; ++row) {
    window.SetCellText(row, kLatencyColumn, latencies[row]);
    window.SetCellText(row, kAddressColumn, addresses[row]);
  }
  logic.OnHeaderClicked(kLatencyColumn);
  const std::vector<std::string> byLatency{"...", "5ms", "37ms", "120ms"};
  EXPECT_EQ(window.Column(kLatencyColumn),
            window.ArrowOf(kLatencyColumn) == HeaderArrow::kUp
                ? byLatency
                : std::vector<std::string>(byLatency.rbegin(), byLatency.rend()));

  logic.OnHeaderClicked(kAddressColumn);
  const std::vector<std::string> byAddress{"20.1.1.1", "61.1.1.1", "183.60.1.1", "183.7.0.1"};
  EXPECT_EQ(window.ArrowOf(kLatencyColumn), HeaderArrow::kNone);
  EXPECT_EQ(window.Column(kAddressColumn),
            window.ArrowOf(kAddressColumn) == HeaderArrow::kUp
                ? byAddress
                : std::vector<std::string>(byAddress.rbegin(), byAddress.rend()));
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
    events.OnDestroying();
  }
  FakeWindow window;
  bool listsReadyWhenShown = false;
  bool sharedJarReadyWhenShown = false;
};

TEST(StartUpTest, ListsAndSharedJarExistBeforeTheWindowAndGoAtShutDown) {
  RecordingPlatform platform;
  TheApplication().startTestRun = TestRunRequests::Record;
  const int requestsBefore = TestRunRequests::Count();
  EXPECT_EQ(StartUp(platform), 0);
  ASSERT_TRUE(TestRunRequests::WaitFor(requestsBefore + 1)) << "loading did not finish";
  EXPECT_TRUE(platform.listsReadyWhenShown);
  EXPECT_TRUE(platform.sharedJarReadyWhenShown);
  const std::shared_ptr<ProcessLists> heldByALateWorker = TheApplication().lists;
  ShutDown();
  EXPECT_EQ(TheApplication().lists.load(), nullptr);
  EXPECT_EQ(SharedCookieJar(), nullptr);
  EXPECT_NE(heldByALateWorker->regionStatus.Load(), nullptr) << "a held reference stays readable";
  ShutDown();  // a second call finds nothing left to free
}

// The window's texts are GBK, which has no ©: a character outside it would be compiled to
// GB18030's four bytes and shown as two stray bytes and digits in either window.
TEST(WindowLayoutTest, EveryTextIsPlainGbk) {
  const auto escapesNoByte = [](const Text& text) {
    const std::u16string wide = ToUtf16(text);
    return std::none_of(wide.begin(), wide.end(),
                        [](char16_t unit) { return unit >= 0xdc80 && unit <= 0xdcff; });
  };
  for (const ControlLayout& layout : ControlLayouts()) {
    EXPECT_TRUE(escapesNoByte(layout.caption)) << layout.name;
  }
  EXPECT_TRUE(escapesNoByte(HelpText()));
}

}  // namespace
}  // namespace vardelle

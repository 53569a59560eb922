// The window contract, checked the same way on both windows: a whole run of the main window,
// shown at its place, created event with a working view, closed while another thread still
// calls it, destroyed event last, the view handed out answering as for a window that is gone.
// Each window's test file instantiates the suite with a type that holds its window platform
// (the view it hands out lives as long) and looks at its window:
//   void Run(MainWindowEvents& events);         // the message loop, until the window closes
//   static std::array<int, 4> Frame();           // the main window's left, top, client size
//   static bool TestButtonHasFocus();
//   static bool OnScreen();                      // the main window is shown
//   static void CloseOnce(std::function<bool()> ready);  // closes it, asked on its thread
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <functional>
#include <thread>

#include "app/view/window_layout.h"
#include "tests/recording_events.h"

namespace vardelle::testing {

// Closes the window once a worker's calls are being served, like a user would mid-run.
template <typename Window>
class ClosingEvents : public RecordingEvents {
 public:
  ~ClosingEvents() override {
    if (worker.joinable()) worker.join();
  }

  void OnCreated(MainWindowView& view) override {
    RecordingEvents::OnCreated(view);
    frameAtCreation = Window::Frame();
    view.FocusTestButton();
    testButtonFocusedAtCreation = Window::TestButtonHasFocus();
    worker = std::thread([this, &view] {
      const RowId row = view.InsertRow("row", RowIcon::kNotTested);
      for (int round = 0; round < 100000 && !view.CellText(row, 0).empty(); ++round) ++served;
    });
    Window::CloseOnce([this] { return served >= 50; });
  }

  std::thread worker;
  std::atomic<int> served = 0;
  std::array<int, 4> frameAtCreation{};
  bool testButtonFocusedAtCreation = false;
};

template <typename Window>
class WindowContractTest : public ::testing::Test {};

TYPED_TEST_SUITE_P(WindowContractTest);

TYPED_TEST_P(WindowContractTest, RunFromShowToCloseWithAWorkerStillCalling) {
  TypeParam window;
  ClosingEvents<TypeParam> events;
  window.Run(events);
  events.worker.join();

  ASSERT_GE(events.events.size(), 2u);
  EXPECT_EQ(events.events.front(), "created");
  EXPECT_EQ(events.events.back(), "destroying");
  EXPECT_EQ(events.frameAtCreation, (std::array<int, 4>{kWindowPlace.x, kWindowPlace.y, 832, 561}));
  EXPECT_TRUE(events.testButtonFocusedAtCreation);
  EXPECT_GE(events.served, 50);
  EXPECT_FALSE(TypeParam::OnScreen());
  ASSERT_NE(events.createdView, nullptr);
  EXPECT_EQ(events.createdView->RowCount(), 0);
  EXPECT_EQ(events.createdView->CellText(0, 0), "");
  EXPECT_EQ(events.createdView->SelectedRow(), -1);
}

REGISTER_TYPED_TEST_SUITE_P(WindowContractTest, RunFromShowToCloseWithAWorkerStillCalling);

}  // namespace vardelle::testing

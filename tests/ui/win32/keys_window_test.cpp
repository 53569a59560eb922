// The Win32 main window by keyboard alone, its keys going through the message loop's
// handling as the player's do: Tab and Shift+Tab round the page in the layout's order,
// Ctrl+Tab to the next page, Enter and Space pressing the focused button, F5 starting a run
// from anywhere, Esc closing the settings dialog, and Ctrl+A leaving every row drawn in the
// selection's colours. (Wine keeps no hidden focus state, so the focus cues go unchecked.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/dialog_events.h"
#include "tests/ui/win32/win32_test_support.h"
#include "ui/win32/main_window.h"
#include "ui/win32/main_window_view.h"
#include "ui/win32/window_text.h"

namespace vardelle::win32 {
namespace {

using vardelle::testing::DialogEvents;

struct Step {
  WPARAM key;
  std::vector<int> held;
  ControlId focusAfter;
};

struct Press {
  ControlId focused;
  WPARAM key;
  const char* event;
};

class KeysWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    events.app.settingsFile = settings.Path();
    events.app.startTestRun = [] {};
    events.view = &view;
    window.Show();
  }

  void Focus(ControlId id) const { SetFocus(GetDlgItem(window.Tabs(), id)); }
  static int Focused() { return GetDlgCtrlID(GetFocus()); }
  // The key down as the message loop meets it: the window's own keys first.
  void Key(WPARAM key, const std::vector<int>& held = {}) {
    for (const int modifier : held) testing::HoldKey(modifier, true);
    MSG message{GetFocus(), WM_KEYDOWN, key, 0, 0, {}};
    if (!window.HandleKey(message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    for (const int modifier : held) testing::HoldKey(modifier, false);
  }

  testing::TemporarySettings settings;
  DialogEvents events;
  MainWindow window{events, settings.Path()};
  Win32MainWindowView view{window};
};

TEST_F(KeysWindowTest, TabAndCtrlTabGoThroughThePagesInLayoutOrder) {
  const Step steps[] = {
      {VK_TAB, {}, kPeriodListId},
      {VK_TAB, {}, kTestButtonId},
      {VK_TAB, {}, kSettingsButtonId},
      {VK_TAB, {}, kServerTableId},
      {VK_TAB, {VK_SHIFT}, kSettingsButtonId},
      {VK_TAB, {VK_SHIFT}, kTestButtonId},
      {VK_TAB, {VK_CONTROL}, kKeyListId},
      {VK_TAB, {VK_CONTROL}, kDonationLinkId},
      {VK_TAB, {VK_CONTROL}, kServerTableId},
      {VK_TAB, {VK_CONTROL, VK_SHIFT}, kDonationLinkId},
  };
  Focus(kServerTableId);
  for (const Step& step : steps) {
    const int before = Focused();
    Key(step.key, step.held);
    EXPECT_EQ(Focused(), step.focusAfter) << "from " << before;
  }
}

TEST_F(KeysWindowTest, EnterSpaceAndF5PressAndStartRuns) {
  const Press presses[] = {
      {kTestButtonId, VK_RETURN, "test button"},  {kTestButtonId, VK_SPACE, "test button"},
      {kPeriodListId, VK_F5, "test button"},      {kServerTableId, VK_F5, "test button"},
      {kSettingsButtonId, VK_RETURN, "settings"}, {kSettingsButtonId, VK_SPACE, "settings"},
  };
  for (const Press& press : presses) {
    Focus(press.focused);
    events.events.clear();
    // The settings dialog is modal: Esc closes it, or the press would not come back.
    const bool opensDialog = std::string(press.event) == "settings";
    testing::DialogPlayer player(
        opensDialog ? ToWindowText(kSettingsDialogTitle) : L"-", [](HWND dialog) {
          PostMessageW(GetNextDlgTabItem(dialog, nullptr, FALSE), WM_KEYDOWN, VK_ESCAPE, 0);
        });
    Key(press.key);
    EXPECT_EQ(player.Finish(), opensDialog) << press.focused << " key " << press.key;
    EXPECT_EQ(events.events, std::vector<std::string>{press.event})
        << press.focused << " key " << press.key;
  }
}

TEST_F(KeysWindowTest, CtrlADrawsEveryRowSelected) {
  ReportView& table = window.ServerTable();
  table.DeleteAllRows();
  constexpr Colour kPink = 0x00CBC0FF;
  for (int row = 0; row < 3; ++row) {
    table.SetRowColour(table.IndexOf(table.AppendRow(L"server", RowIcon::kNotTested)),
                       RowColour{kDefaultColour, kPink});
  }
  Focus(kServerTableId);
  Key('A', {VK_CONTROL});
  const testing::PaintedList painted(table.Handle());
  for (int row = 0; row < table.RowCount(); ++row) {
    EXPECT_EQ(ListView_GetItemState(table.Handle(), row, LVIS_SELECTED), LVIS_SELECTED) << row;
    // The empty region cell: the row's background.
    const POINT at = testing::CellCentre(table.Handle(), row, 1);
    EXPECT_EQ(painted.At(at.x, at.y), GetSysColor(COLOR_HIGHLIGHT)) << row;
  }
}

}  // namespace
}  // namespace vardelle::win32

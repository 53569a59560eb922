// The alerts in the Win32 window: "提醒…" from the row menu through the dialog to the row's
// tooltip and the notification area's icon; the dialog filled in, changed, refused and
// cancelled as a player would; the player's close into the notification area and the way
// back; alerts from another thread as the icon's balloons. What reaches the shell is read
// from the icon's own record: under Wine's null graphics driver the shell has no
// notification area to ask.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cwchar>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <thread>

#include "app/alerts/alert_watching.h"
#include "app/application/application.h"
#include "app/table/server_table.h"
#include "app/window/main_window_logic.h"
#include "tests/ui/win32/win32_test_support.h"
#include "tests/written_results.h"
#include "ui/win32/alert_dialog.h"
#include "ui/win32/main_window.h"
#include "ui/win32/main_window_view.h"
#include "ui/win32/notifier.h"
#include "ui/win32/window_text.h"

namespace vardelle {

// For failures' messages.
void PrintTo(const AlertWatch& watch, std::ostream* out) {
  *out << "{status " << (watch.status ? static_cast<int>(*watch.status) : -1) << ", latency "
       << watch.latencyOverMs.value_or(-1) << ", loss " << watch.lossOverPercent.value_or(-1)
       << "}";
}

namespace win32 {
namespace {

using testing::Click;
using testing::DialogPlayer;
using testing::Type;

// The controls as the dialog shows them: "status 1 any 0 normal 1 latency 1 300 loss 0 10".
std::wstring Shown(HWND dialog) {
  const auto checked = [dialog](int id) { return std::to_wstring(IsDlgButtonChecked(dialog, id)); };
  const auto text = [dialog](int id) {
    wchar_t field[32] = {};
    GetDlgItemTextW(dialog, id, field, static_cast<int>(std::size(field)));
    return std::wstring(field);
  };
  return L"status " + checked(kAlertStatusCheckId) + L" any " + checked(kAlertAnyChangeId) +
         L" normal " + checked(kAlertBecomesNormalId) + L" latency " +
         checked(kAlertLatencyCheckId) + L" " + text(kAlertLatencyFieldId) + L" loss " +
         checked(kAlertLossCheckId) + L" " + text(kAlertLossFieldId);
}

class AlertsWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<MainWindow>(events, settings.Path());
    view = std::make_unique<Win32MainWindowView>(*window);
    window->Show();
  }
  bool Visible() const { return IsWindowVisible(window->Handle()) != FALSE; }
  // The player's close, a question answered with answer; whether one was asked.
  bool CloseAnswering(int answer) {
    DialogPlayer player(L"Vardelle", [answer](HWND box) {
      SendMessageW(box, WM_COMMAND, static_cast<WPARAM>(answer), 0);
    });
    SendMessageW(window->Handle(), WM_CLOSE, 0, 0);
    return player.Finish();
  }
  void ClickTray(UINT mouseMessage) {
    SendMessageW(window->Handle(), TrayIcon::kCallbackMessage, 1, mouseMessage);
  }
  bool ChooseFromTrayMenu(const std::string& caption) {
    return testing::ChooseFromMenu(ToWindowText(caption), [this] { ClickTray(WM_RBUTTONUP); })
        .chosen;
  }

  testing::TemporarySettings settings;
  testing::RecordingEvents events;
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<Win32MainWindowView> view;
};

struct DialogCase {
  const char* name;
  AlertWatch current;
  std::wstring shownAtStart;
  std::function<void(HWND)> steps;
  std::optional<AlertWatch> chosen;
};

void PrintTo(const DialogCase& c, std::ostream* out) { *out << c.name; }

class AlertDialogTest : public AlertsWindowTest,
                        public ::testing::WithParamInterface<DialogCase> {};

TEST_P(AlertDialogTest, FilledInAndWorkedByThePlayer) {
  const DialogCase& c = GetParam();
  std::wstring shown;
  DialogPlayer player(ToWindowText(kAlertDialogTitle), [&](HWND dialog) {
    shown = Shown(dialog);
    c.steps(dialog);
  });
  const std::optional<AlertWatch> chosen = view->AskAlertWatch("电信一区", c.current);
  ASSERT_TRUE(player.Finish());
  EXPECT_EQ(shown, c.shownAtStart);
  EXPECT_EQ(chosen, c.chosen);
  EXPECT_TRUE(IsWindowEnabled(window->Handle())) << "the window is given back";
}

const DialogCase kDialogCases[] = {
    {"KeptAsFilledIn",
     {StatusWatch::kBecomesNormal, 300, std::nullopt},
     L"status 1 any 0 normal 1 latency 1 300 loss 0 10",
     [](HWND dialog) { Click(dialog, IDOK); },
     AlertWatch{StatusWatch::kBecomesNormal, 300, std::nullopt}},
    {"Changed",
     {StatusWatch::kAnyChange, std::nullopt, 5},
     L"status 1 any 1 normal 0 latency 0 150 loss 1 5",
     [](HWND dialog) {
       Click(dialog, kAlertBecomesNormalId);
       Click(dialog, kAlertLatencyCheckId);
       Type(dialog, kAlertLatencyFieldId, L"80");
       Click(dialog, kAlertLossCheckId);
       Click(dialog, IDOK);
     },
     AlertWatch{StatusWatch::kBecomesNormal, 80, std::nullopt}},
    // Text set or pasted in is not held to the digits the fields take from the keyboard.
    {"FiguresOutOfRangeBroughtIn",
     {},
     L"status 0 any 1 normal 0 latency 0 150 loss 0 10",
     [](HWND dialog) {
       Click(dialog, kAlertLatencyCheckId);
       Type(dialog, kAlertLatencyFieldId, L"123456789012345678901234567890");
       Click(dialog, kAlertLossCheckId);
       Type(dialog, kAlertLossFieldId, L" 100 ");
       Click(dialog, IDOK);
     },
     AlertWatch{std::nullopt, kMostLatencyThresholdMs, kMostLossThresholdPercent}},
    {"NoFigureKeepsItOpen",
     {std::nullopt, 200, std::nullopt},
     L"status 0 any 1 normal 0 latency 1 200 loss 0 10",
     [](HWND dialog) {
       for (const wchar_t* refused : {L"abc", L"", L"-5"}) {
         Type(dialog, kAlertLatencyFieldId, refused);
         Click(dialog, IDOK);
       }
       Type(dialog, kAlertLatencyFieldId, L"0");
       Click(dialog, IDOK);
     },
     AlertWatch{std::nullopt, 1, std::nullopt}},
    // An unchecked field's text plays no part.
    {"NothingCheckedWatchesNothing",
     {StatusWatch::kAnyChange, 150, 10},
     L"status 1 any 1 normal 0 latency 1 150 loss 1 10",
     [](HWND dialog) {
       for (const int check : {kAlertStatusCheckId, kAlertLatencyCheckId, kAlertLossCheckId}) {
         Click(dialog, check);
       }
       Type(dialog, kAlertLossFieldId, L"abc");
       Click(dialog, IDOK);
     },
     AlertWatch{}},
    {"Cancelled",
     {std::nullopt, std::nullopt, 20},
     L"status 0 any 1 normal 0 latency 0 150 loss 1 20",
     [](HWND dialog) {
       Click(dialog, kAlertStatusCheckId);
       Click(dialog, IDCANCEL);
     },
     std::nullopt},
    {"Escape",
     {},
     L"status 0 any 1 normal 0 latency 0 150 loss 0 10",
     [](HWND dialog) {
       Click(dialog, kAlertStatusCheckId);
       PostMessageW(GetDlgItem(dialog, kAlertStatusCheckId), WM_KEYDOWN, VK_ESCAPE, 0);
     },
     std::nullopt},
    {"ClosedByItsFrame",
     {},
     L"status 0 any 1 normal 0 latency 0 150 loss 0 10",
     [](HWND dialog) { SendMessageW(dialog, WM_CLOSE, 0, 0); },
     std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Cases, AlertDialogTest, ::testing::ValuesIn(kDialogCases),
                         [](const ::testing::TestParamInfo<DialogCase>& c) {
                           return std::string(c.param.name);
                         });

// The whole way of a watch: row menu, dialog, the application's alerts, the row's tooltip
// beside the latency cell's statistics, the icon's tooltip; and unwatched again.
TEST(AlertsChoiceWindowTest, ChosenFromTheRowMenuAndShownOnTheRowAndTheIcon) {
  testing::TemporarySettings settings;
  Application app;
  app.settingsFile = settings.Path();
  MainWindowLogic logic{app};
  MainWindow window(logic, settings.Path());
  Win32MainWindowView view(window);
  app.window = &view;
  window.Show();
  view.DeleteAllRows();
  for (const char* name : {"电信一区", "电信二区"}) view.InsertRow(name, RowIcon::kNotTested);
  const RowId watched = view.RowIdAt(1);
  view.SetCellText(watched, kDomainColumn, "127.0.0.2");
  vardelle::testing::WriteResults(view, app.latencyHistory, watched, {20}, "20ms");
  HWND list = window.ServerTable().Handle();
  LVITEMW state{};
  state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageW(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&state));
  const AlertTarget target = AlertTargetOf("电信二区", "127.0.0.2");

  const auto chooseWatch = [&](int check) {
    DialogPlayer player(ToWindowText(kAlertDialogTitle), [check](HWND dialog) {
      Click(dialog, check);
      Click(dialog, IDOK);
    });
    // 提醒… is the third item: the separators are passed over.
    testing::ChooseFromRowMenu(window.Handle(), list, 1, {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    return player.Finish();
  };

  ASSERT_TRUE(chooseWatch(kAlertStatusCheckId));
  EXPECT_EQ(app.alerts.WatchOf(target), (AlertWatch{StatusWatch::kAnyChange}));
  const std::wstring note = window.ServerTable().ToolTipAt(1, kNameColumn);
  EXPECT_NE(note, L"");
  EXPECT_EQ(note, ToWindowText(app.alerts.ToolTipNote(watched)));
  EXPECT_EQ(window.ServerTable().ToolTipAt(1, kDomainColumn), note);
  EXPECT_NE(window.ServerTable().ToolTipAt(1, kLatencyColumn).find(L"丢包率"), std::wstring::npos)
      << "the latency cell keeps its statistics";
  EXPECT_EQ(window.ServerTable().ToolTipAt(0, kNameColumn), L"");
  EXPECT_TRUE(window.Tray().IsShown());
  EXPECT_EQ(window.Tray().LastSent().szTip,
            ToWindowText(app.alerts.TrayToolTip(app.latencyHistory)));
  EXPECT_NE(std::wstring_view(window.Tray().LastSent().szTip).find(L"电信二区"),
            std::wstring_view::npos);

  // The same box again takes the only watch away.
  ASSERT_TRUE(chooseWatch(kAlertStatusCheckId));
  EXPECT_TRUE(app.alerts.WatchOf(target).IsEmpty());
  EXPECT_EQ(window.ServerTable().ToolTipAt(1, kNameColumn), L"");
  EXPECT_NE(window.ServerTable().ToolTipAt(1, kLatencyColumn), L"");
  EXPECT_FALSE(window.Tray().IsShown());
  app.window = nullptr;
}

struct CloseCase {
  const char* name;
  bool watched;
  int answer;  // to a question, if one is asked
  bool keptRunning;
};

void PrintTo(const CloseCase& c, std::ostream* out) { *out << c.name; }

class PlayerCloseTest : public AlertsWindowTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(PlayerCloseTest, AskedOnlyWhileRowsAreWatched) {
  events.alertsWatched = GetParam().watched;
  EXPECT_EQ(CloseAnswering(GetParam().answer), GetParam().watched);
  EXPECT_EQ(window->IsOpen(), GetParam().keptRunning);
  EXPECT_EQ(window->IsOpen() && window->Tray().IsShown(), GetParam().keptRunning);
  if (window->IsOpen()) {
    EXPECT_FALSE(Visible());
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, PlayerCloseTest,
                         ::testing::Values(CloseCase{"NothingWatched", false, IDYES, false},
                                           CloseCase{"KeptRunning", true, IDYES, true},
                                           CloseCase{"Quit", true, IDNO, false}),
                         [](const ::testing::TestParamInfo<CloseCase>& c) {
                           return std::string(c.param.name);
                         });

TEST_F(AlertsWindowTest, HiddenInTheNotificationAreaAndBack) {
  events.alertsWatched = true;
  // A click, a double click, or 显示窗口 from the icon's menu.
  for (const UINT mouseMessage : {WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONUP}) {
    ASSERT_TRUE(CloseAnswering(IDYES));
    ASSERT_FALSE(Visible());
    EXPECT_EQ(SendMessageW(window->Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
    if (mouseMessage == WM_RBUTTONUP) {
      EXPECT_TRUE(ChooseFromTrayMenu(ShowWindowMenuText()));
    } else {
      ClickTray(mouseMessage);
    }
    EXPECT_TRUE(Visible()) << mouseMessage;
    EXPECT_TRUE(window->Tray().IsShown()) << "the rows are still watched";
  }
  ASSERT_TRUE(CloseAnswering(IDYES));
  const auto asked = std::count(events.events.begin(), events.events.end(), "alerts watched?");
  EXPECT_TRUE(ChooseFromTrayMenu(QuitMenuText()));
  EXPECT_FALSE(window->IsOpen());
  EXPECT_EQ(std::count(events.events.begin(), events.events.end(), "alerts watched?"), asked)
      << "quitting asks nothing more";
}

// Balloons come from the workers' threads; the icon shows for them when it is hidden. Texts
// too long for the shell's fields are cut with an ellipsis.
TEST_F(AlertsWindowTest, AlertsFromAnotherThreadBecomeBalloons) {
  const NOTIFYICONDATAW& sent = window->Tray().LastSent();
  TrayNotifier notifier(window->Calls());
  const auto notifyFromAnotherThread = [&notifier](const AlertNotice& notice) {
    std::thread([&] { notifier.Notify(notice); }).join();
  };
  ASSERT_FALSE(window->Tray().IsShown());
  notifyFromAnotherThread({"电信一区（127.0.0.2）", "大区状态：维护 → 正常"});
  ASSERT_TRUE(testing::ServeMessagesUntil([&] { return (sent.uFlags & NIF_INFO) != 0; }));
  EXPECT_EQ(std::wstring(sent.szInfoTitle), L"电信一区（127.0.0.2）");
  EXPECT_EQ(std::wstring(sent.szInfo), L"大区状态：维护 → 正常");
  EXPECT_EQ(std::wstring(sent.szTip), L"Vardelle");
  EXPECT_TRUE(window->Tray().IsShown());

  std::string longBody;
  for (int i = 0; i < 300; ++i) longBody += "区";
  notifyFromAnotherThread({"电信二区", longBody});
  ASSERT_TRUE(testing::ServeMessagesUntil(
      [&] { return std::wstring_view(sent.szInfoTitle) == L"电信二区"; }));
  EXPECT_EQ(std::wstring(sent.szInfo), std::wstring(std::size(sent.szInfo) - 2, L'区') + L'…');

  view->SetTrayToolTip("Vardelle 提醒中\n" + longBody);
  EXPECT_EQ(sent.uFlags & NIF_INFO, 0u) << "a tooltip shows no balloon again";
  EXPECT_EQ(std::wcslen(sent.szTip), std::size(sent.szTip) - 1);
  EXPECT_TRUE(std::wstring_view(sent.szTip).starts_with(L"Vardelle 提醒中\n"));
  view->SetTrayToolTip("");
  EXPECT_FALSE(window->Tray().IsShown());

  // Gone with the window, the notices are dropped without waiting for it.
  window->Destroy();
  notifyFromAnotherThread({"电信三区", "延迟超过 150ms"});
  EXPECT_EQ(std::wstring(sent.szInfoTitle), L"电信二区");
}

// A pair of surrogates that would straddle the end of the field goes whole.
TEST_F(AlertsWindowTest, ToolTipsCutBetweenCharacters) {
  constexpr std::size_t kRoom = sizeof(NOTIFYICONDATAW::szTip) / sizeof(wchar_t) - 1;
  const std::wstring face = L"\U0001F600";
  struct Cut {
    std::wstring text;
    std::wstring tip;
  };
  const Cut cuts[] = {
      {std::wstring(kRoom, L'a'), std::wstring(kRoom, L'a')},
      {std::wstring(kRoom + 1, L'a'), std::wstring(kRoom - 1, L'a') + L'…'},
      {std::wstring(kRoom - 2, L'a') + face, std::wstring(kRoom - 2, L'a') + face},
      {std::wstring(kRoom - 2, L'a') + face + L'b', std::wstring(kRoom - 2, L'a') + L'…'},
  };
  for (const Cut& cut : cuts) {
    window->Tray().SetToolTip(cut.text);
    EXPECT_EQ(std::wstring(window->Tray().LastSent().szTip), cut.tip) << cut.text.size();
  }
}

}  // namespace
}  // namespace win32
}  // namespace vardelle

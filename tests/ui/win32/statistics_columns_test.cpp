// The server table's statistics columns in the Win32 window: hidden until chosen from the
// header's menu, the choice kept in the settings file for the next window, copied as
// tab-separated text with Ctrl+A and Ctrl+C, and the trend drawn as a line.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/settings/column_settings.h"
#include "app/statistics/latency_history.h"
#include "app/table/server_table.h"
#include "support/files/file_access.h"
#include "tests/ui/win32/win32_test_support.h"
#include "tests/written_results.h"
#include "ui/win32/main_window.h"
#include "ui/win32/main_window_view.h"

namespace vardelle::win32 {
namespace {

std::vector<std::wstring> Split(const std::wstring& text, const std::wstring& separator) {
  std::vector<std::wstring> parts;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::wstring::npos) return parts;
    start = end + separator.size();
  }
}

// A right click on the header as the mouse makes it, the menu's keys queued for it.
void ChooseFromHeaderMenu(MainWindow& window, std::initializer_list<WORD> keys) {
  HWND header =
      reinterpret_cast<HWND>(SendMessageW(window.ServerTable().Handle(), LVM_GETHEADER, 0, 0));
  testing::QueueMenuKeys(window.Handle(), keys);
  SendMessageW(header, WM_RBUTTONUP, 0, MAKELPARAM(20, 5));
  testing::StopMenuGuard();
}

class StatisticsColumnsWindowTest : public ::testing::Test {
 protected:
  // A row whose probes answered as given, its latency cell written as a run would.
  void AddRow(Win32MainWindowView& view, const std::string& name, const std::vector<int>& results) {
    vardelle::testing::WriteResults(view, history, view.InsertRow(name, RowIcon::kNotTested),
                                    results, "1ms");
  }

  testing::TemporarySettings settings;
  LatencyHistory history;
  testing::RecordingEvents events;
};

TEST_F(StatisticsColumnsWindowTest, ChosenFromTheHeaderMenuKeptCopiedAndDrawn) {
  {
    MainWindow window(events, settings.Path());
    window.Show();
    Win32MainWindowView view(window);
    view.DeleteAllRows();
    AddRow(view, "A", {10, 20, 30});
    AddRow(view, "B", {-1, 5});
    AddRow(view, "C", {-1, -1});
    HWND list = window.ServerTable().Handle();
    EXPECT_EQ(testing::ColumnWidth(list, kLocationColumn), 188) << "the layout's columns stay";
    for (int column = kLossColumn; column <= kTrendColumn; ++column) {
      EXPECT_EQ(testing::ColumnWidth(list, column), 0) << column;
    }

    ChooseFromHeaderMenu(window, {VK_DOWN, VK_RETURN});                             // 丢包率
    ChooseFromHeaderMenu(window, {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});  // 走势
    EXPECT_EQ(testing::ColumnWidth(list, kLossColumn), 60);
    EXPECT_EQ(testing::ColumnWidth(list, kTrendColumn), 100);
    SettingsWriter().Flush();  // the file is written on a thread of its own
    const std::optional<std::string> saved = ReadWholeFile(settings.Path());
    ASSERT_TRUE(saved);
    EXPECT_NE(saved->find("shownColumns=7,10"), std::string::npos) << *saved;

    EXPECT_NE(window.ServerTable().ToolTipAt(0, kLatencyColumn).find(L"丢包率 0.0%"),
              std::wstring::npos);

    SetFocus(list);
    testing::HoldKey(VK_CONTROL, true);
    SendMessageW(list, WM_KEYDOWN, 'A', 0);
    SendMessageW(list, WM_KEYDOWN, 'C', 0);
    testing::HoldKey(VK_CONTROL, false);
    std::vector<std::wstring> lines = Split(testing::ClipboardText(), L"\r\n");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines.back(), L"");
    const std::vector<std::wstring> header = Split(lines[0], L"\t");
    ASSERT_EQ(header.size(), 9u);
    EXPECT_EQ(std::vector<std::wstring>(header.begin() + 6, header.end()),
              (std::vector<std::wstring>{L"服务器机房地理位置", L"丢包率", L"走势"}));
    EXPECT_EQ(Split(lines[1], L"\t"),
              (std::vector<std::wstring>{L"A", L"", L"", L"", L"1ms", L"", L"", L"0.0%", L"20.0"}));

    // Row A's trend is a line in the text colour; row C answered nothing and shows none.
    // The trend column lies past the list's right edge until scrolled into view.
    SendMessageW(list, LVM_SCROLL, 400, 0);
    LVITEMW none{};
    none.stateMask = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    const testing::PaintedList painted(list);
    const auto inked = [&](int row) {
      RECT cell{LVIR_BOUNDS, kTrendColumn, 0, 0};
      SendMessageW(list, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&cell));
      int count = 0;
      for (int y = cell.top; y < cell.bottom; ++y) {
        for (int x = cell.left; x < cell.right; ++x) {
          count += painted.At(x, y) == GetSysColor(COLOR_WINDOWTEXT) ? 1 : 0;
        }
      }
      return count;
    };
    EXPECT_GE(inked(0), 3);
    EXPECT_EQ(inked(2), 0);
  }

  MainWindow restarted(events, settings.Path());
  HWND list = restarted.ServerTable().Handle();
  EXPECT_EQ(testing::ColumnWidth(list, kLossColumn), 60);
  EXPECT_EQ(testing::ColumnWidth(list, kMinAvgMaxColumn), 0);
  EXPECT_EQ(testing::ColumnWidth(list, kJitterColumn), 0);
  EXPECT_EQ(testing::ColumnWidth(list, kTrendColumn), 100);
}

}  // namespace
}  // namespace vardelle::win32

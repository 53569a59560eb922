// The application's view of the window: the control operations, on the window's thread
// and from other threads, and what they do once the window is gone.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QMenu>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <map>
#include <memory>
#include <thread>

#include "ui/qt/main_window.h"
#include "ui/qt/main_window_view.h"
#include "ui/qt/pictures.h"
#include "ui/qt/window_text.h"
#include "ui_test_support.h"

namespace vardelle::ui {
namespace {

using testing::Pixels;

class ViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::TestApplication();
    window = std::make_unique<MainWindow>(events);
    view = std::make_unique<QtMainWindowView>(*window);
    view->DeleteAllRows();
  }

  // Keeps the window's thread serving calls until done() holds.
  template <typename Done>
  void ServeUntil(Done done) {
    while (!done()) QApplication::processEvents(QEventLoop::AllEvents, 10);
  }

  testing::RecordingEvents events;
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<QtMainWindowView> view;
};

TEST_F(ViewTest, CellsKeepTheirGbkText) {
  view->InsertRow("艾欧尼亚", RowIcon::kNotTested);
  view->InsertRow("Ionia", RowIcon::kNotTested);
  view->SetCellText(0, 4, "Scaning...");
  view->SetCellText(1, 6, "获取地理位置失败!");
  EXPECT_EQ(view->RowCount(), 2);
  EXPECT_EQ(view->CellText(0, 0), "艾欧尼亚");
  EXPECT_EQ(view->CellText(0, 4), "Scaning...");
  EXPECT_EQ(view->CellText(1, 6), "获取地理位置失败!");
  EXPECT_EQ(window->ServerTable().CellText(1, 6), testing::QText(u"获取地理位置失败!"));
  // Cells outside the table are left alone and read as empty.
  view->SetCellText(5, 0, "x");
  view->SetCellText(0, 7, "x");
  EXPECT_EQ(view->CellText(5, 0), "");
  EXPECT_EQ(view->CellText(0, -1), "");
  view->DeleteAllRows();
  EXPECT_EQ(view->RowCount(), 0);
}

TEST_F(ViewTest, RowIconsAndHeaderArrowsShowTheirPictures) {
  view->InsertRow("a", RowIcon::kNotTested);
  const QTreeWidgetItem* row = window->ServerTable().topLevelItem(0);
  for (RowIcon icon : {RowIcon::kNotTested, RowIcon::kAnswered, RowIcon::kNoAnswer}) {
    if (icon != RowIcon::kNotTested) view->SetRowIcon(0, icon);
    EXPECT_EQ(Pixels(row->icon(0), QSize(12, 12)), RowIconPicture(icon)) << static_cast<int>(icon);
  }
  const QTreeWidgetItem* header = window->ServerTable().headerItem();
  for (HeaderArrow arrow : {HeaderArrow::kUp, HeaderArrow::kDown}) {
    view->SetColumnArrow(4, arrow);
    EXPECT_EQ(Pixels(header->icon(4), QSize(8, 7)), HeaderArrowPicture(arrow));
  }
  view->SetColumnArrow(4, HeaderArrow::kNone);
  EXPECT_TRUE(header->icon(4).isNull());
}

TEST_F(ViewTest, SortingUsesTheApplicationsComparisonAndKeepsTheSelection) {
  std::map<RowId, std::string> names;
  for (const char* name : {"c", "a", "d", "b"}) {
    names[view->InsertRow(name, RowIcon::kNotTested)] = name;
  }
  EXPECT_EQ(view->SelectedRow(), -1);
  window->ServerTable().topLevelItem(0)->setSelected(true);  // "c"
  EXPECT_EQ(view->SelectedRow(), 0);
  view->SortRows([&](RowId a, RowId b) { return names[a].compare(names[b]); });
  std::string order;
  for (int row = 0; row < view->RowCount(); ++row) order += view->CellText(row, 0);
  EXPECT_EQ(order, "abcd");
  EXPECT_EQ(view->SelectedRow(), 2);
  view->SortRows([&](RowId a, RowId b) { return names[b].compare(names[a]); });
  EXPECT_EQ(view->CellText(0, 0), "d");
  EXPECT_EQ(view->SelectedRow(), 1);
}

// Selected rows that end up apart and side by side, the current row among them.
TEST_F(ViewTest, SortingKeepsAScatteredSelectionAndTheCurrentRow) {
  std::map<RowId, std::string> names;
  for (const char* name : {"f", "e", "d", "c", "b", "a"}) {
    names[view->InsertRow(name, RowIcon::kNotTested)] = name;
  }
  ReportView& table = window->ServerTable();
  for (const int row : {1, 2, 4}) table.topLevelItem(row)->setSelected(true);     // e, d, b
  table.setCurrentItem(table.topLevelItem(2), 0, QItemSelectionModel::NoUpdate);  // d
  view->SortRows([&](RowId a, RowId b) { return names[a].compare(names[b]); });
  EXPECT_EQ(view->CellText(0, 0), "a");
  EXPECT_EQ(table.SelectedRows(), (std::vector<int>{1, 3, 4}));
  EXPECT_EQ(table.currentItem(), table.topLevelItem(3));
  EXPECT_EQ(table.selectionModel()->selectedIndexes().size(), 3 * table.columnCount());
}

TEST_F(ViewTest, RowIdsFollowTheirRowsThroughSortsAndAreNeverReused) {
  const std::vector<std::string> names = {"c", "a", "b"};
  std::vector<RowId> ids;
  for (const std::string& name : names) ids.push_back(view->InsertRow(name, RowIcon::kNotTested));
  EXPECT_NE(ids[0], RowId{});
  EXPECT_LT(ids[0], ids[1]);
  EXPECT_LT(ids[1], ids[2]);
  const auto nameOf = [&](RowId id) {
    return names[std::find(ids.begin(), ids.end(), id) - ids.begin()];
  };
  view->SortRows([&](RowId a, RowId b) { return nameOf(a).compare(nameOf(b)); });
  EXPECT_EQ(view->RowIndexOf(ids[0]), 2);  // "c" went last
  EXPECT_EQ(view->RowIdAt(0), ids[1]);
  view->SetCellText(ids[0], 4, "37ms");
  view->SetRowIcon(ids[0], RowIcon::kAnswered);
  EXPECT_EQ(view->CellText(2, 4), "37ms");
  EXPECT_EQ(view->CellText(ids[0], 4), "37ms");
  EXPECT_EQ(Pixels(window->ServerTable().topLevelItem(2)->icon(0), QSize(12, 12)),
            RowIconPicture(RowIcon::kAnswered));
  EXPECT_EQ(view->CellText(0, 4), "");
  // Out of range and the empty id name no row; writes through them change nothing.
  EXPECT_EQ(view->RowIdAt(3), RowId{});
  EXPECT_EQ(view->RowIdAt(-1), RowId{});
  EXPECT_EQ(view->RowIndexOf(RowId{}), -1);
  view->SetCellText(RowId{}, 0, "x");
  view->SetCellText(ids[0], 7, "x");
  EXPECT_EQ(view->CellText(RowId{}, 0), "");

  view->DeleteAllRows();
  EXPECT_EQ(view->RowIndexOf(ids[2]), -1);
  const RowId fresh = view->InsertRow("d", RowIcon::kNotTested);
  EXPECT_GT(fresh, ids[2]);
  view->SetCellText(ids[0], 1, "gone");
  EXPECT_EQ(view->CellText(fresh, 1), "");
}

QColor ShownBackground(ReportView& table, int row) {
  table.resize(400, 200);
  table.show();
  // Column 2's cells stay empty here, so the point shows the background alone.
  const QRect place = table.visualItemRect(table.topLevelItem(row));
  return table.viewport()->grab().toImage().pixelColor(table.columnViewportPosition(2) + 50,
                                                       place.center().y());
}

// The window paints each row in the colours its last change carried; the selected row that
// has the focus is painted in the highlight instead.
TEST_F(ViewTest, RowsArePaintedInTheColoursTheirChangesCarry) {
  ReportView& table = window->ServerTable();
  const RowId first = view->InsertRow("first", RowIcon::kNotTested);
  const RowId second = view->InsertRow("second", RowIcon::kNotTested);
  const QColor defaultBack = ShownBackground(table, 0);
  // 0x00BBGGRR: orange text on a blue background.
  view->ApplyRowChanges({{.row = second, .colour = RowColour{0x000080FF, 0x00FF0000}},
                         {.row = first, .colour = RowColour{0x00808080, kDefaultColour}}});
  EXPECT_EQ(ShownBackground(table, 1), QColor(0, 0, 255));
  EXPECT_EQ(ShownBackground(table, 0), defaultBack);
  const QModelIndex secondCell = table.model()->index(1, 4);
  EXPECT_EQ(table.PaintedRowColour(secondCell).textColour, 0x000080FFu);

  table.setFocus();
  table.setCurrentItem(table.topLevelItem(1));
  QApplication::processEvents();
  if (table.hasFocus()) {
    EXPECT_EQ(table.PaintedRowColour(secondCell).textColour, kDefaultColour);
    EXPECT_NE(ShownBackground(table, 1), QColor(0, 0, 255)) << "the highlight shows instead";
  }
  table.clearSelection();

  view->ApplyRowChanges(
      {{.row = first, .colour = RowColour{}}, {.row = second, .colour = RowColour{}}});
  for (int row : {0, 1}) EXPECT_EQ(ShownBackground(table, row), defaultBack) << row;
}

TEST_F(ViewTest, StatusLineShowsGbkTextOnOneLineAndShortensLongText) {
  StatusLabel& label = window->StatusLine();
  window->show();  // a hidden label learns of its new size only once shown
  view->SetStatusLine("正在读取服务器列表...");
  EXPECT_EQ(label.text(), testing::QText(u"正在读取服务器列表..."));
  EXPECT_TRUE(label.toolTip().isEmpty());

  std::string longText;
  for (int i = 0; i < 12; ++i) longText += "获取地理位置失败! ";
  view->SetStatusLine(longText + "\r\n尾");
  const QString shown = label.text();
  EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
  EXPECT_LE(label.fontMetrics().horizontalAdvance(shown), label.contentsRect().width());
  EXPECT_FALSE(shown.contains(QLatin1Char('\n')));
  EXPECT_TRUE(label.toolTip().endsWith(testing::QText(u"\r\n尾")));
  EXPECT_FALSE(label.wordWrap());
  // Given room, the whole text shows.
  label.resize(4000, label.height());
  EXPECT_FALSE(label.text().endsWith(QChar(0x2026)));
  view->SetStatusLine("");
  EXPECT_EQ(label.text(), QString());
}

// Each write replaces every cell after the name, the icon and the tooltip, what the write
// before left included; other rows, and rows out of range, are left alone.
TEST_F(ViewTest, KeyListRowShowsItsCellsIconAndToolTip) {
  view->SetKeyListRows({"艾欧尼亚", "祖安", "诺克萨斯"});
  const KeyListRow writes[] = {
      {"k1", "测试中 (3/10 探针)", "", "", "", "", "", RowIcon::kNotTested},
      {"k1", "完成", "23.1ms", "8.1–41.9ms", "8.3%", "3/4", "北京 23.1ms\n东京 41.9ms",
       RowIcon::kAnswered},
      {"k2", "失败", "", "", "100.0%", "0/4", "", RowIcon::kNoAnswer},
  };
  const QTreeWidgetItem* row = window->KeyList().RowAt(1);
  for (const KeyListRow& cells : writes) {
    SCOPED_TRACE(cells.key + " " + std::to_string(static_cast<int>(cells.icon)));
    view->SetKeyListRow(1, cells);
    const std::string shown[] = {cells.key,   cells.state, cells.average,
                                 cells.range, cells.loss,  cells.probes};
    for (int column = kKeyListKeyColumn; column < kKeyListColumnCount; ++column) {
      EXPECT_EQ(view->KeyListCellText(1, column), shown[column - kKeyListKeyColumn]) << column;
    }
    EXPECT_EQ(view->KeyListCellText(1, kKeyListNameColumn), "祖安");
    EXPECT_EQ(Pixels(row->icon(0), QSize(12, 12)), RowIconPicture(cells.icon));
    for (int column = 0; column < kKeyListColumnCount; ++column) {
      EXPECT_EQ(ToGbkText(row->toolTip(column)), cells.toolTip) << column;
    }
  }
  view->SetKeyListRow(3, writes[1]);
  view->SetKeyListRow(-1, writes[1]);
  for (const int other : {0, 2}) {
    EXPECT_EQ(view->KeyListCellText(other, kKeyListKeyColumn), "");
    EXPECT_TRUE(window->KeyList().RowAt(other)->toolTip(0).isEmpty());
  }
}

TEST_F(ViewTest, KeyListStatusGoesToThePagesOwnLine) {
  view->SetKeyListStatus("测试地点：亚洲，本小时还可测 240 次");
  EXPECT_EQ(window->KeyListStatusLine().text(),
            testing::QText(u"测试地点：亚洲，本小时还可测 240 次"));
  EXPECT_EQ(window->StatusLine().text(), QString());
}

TEST_F(ViewTest, PeriodListWidthsAndFocus) {
  EXPECT_EQ(view->PeriodSelection(), 0);
  EXPECT_EQ(view->PeriodItemValue(3), 20);
  window->PeriodList().setCurrentIndex(4);
  EXPECT_EQ(view->PeriodSelection(), 4);

  window->resize(1000, 600);
  EXPECT_EQ(view->ClientWidth(), 1000);
  const QRect table = window->ServerTable().geometry();
  view->SetTableWidth(1000);
  EXPECT_EQ(window->ServerTable().geometry(), QRect(table.topLeft(), QSize(1000, table.height())));

  view->FocusTestButton();
  EXPECT_EQ(window->focusWidget(), &window->TestButton());
}

TEST_F(ViewTest, RowMenuReturnsOnceClosedAndItsChoiceFires) {
  QPoint shownAt;
  QTimer::singleShot(0, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    shownAt = menu->pos() - QCursor::pos();
    menu->actions().at(2)->activate(QAction::Trigger);
    menu->close();
  });
  view->ShowRowMenu(3, 3, false);
  EXPECT_EQ(shownAt, QPoint(3, 3));
  EXPECT_EQ(events.events, std::vector<std::string>{"route trace"});
}

TEST_F(ViewTest, CallsFromOtherThreadsRunOnTheWindowsThread) {
  std::atomic<bool> done = false;
  std::string read;
  RowId inserted;
  int index = -1;
  std::thread worker([&] {
    inserted = view->InsertRow("worker", RowIcon::kNotTested);
    view->SetCellText(inserted, 3, "10.0.0.1");
    read = view->CellText(inserted, 3);
    index = view->RowIndexOf(inserted);
    done = true;
  });
  ServeUntil([&] { return done.load(); });
  worker.join();
  EXPECT_NE(inserted, RowId{});
  EXPECT_EQ(index, 0);
  EXPECT_EQ(read, "10.0.0.1");
  EXPECT_EQ(window->ServerTable().CellText(0, 3), QStringLiteral("10.0.0.1"));
}

TEST_F(ViewTest, OnceTheWindowIsGoneCallsDoNothing) {
  const RowId row = view->InsertRow("row", RowIcon::kNotTested);
  window->ServerTable().topLevelItem(0)->setSelected(true);
  view->Detach();
  window.reset();
  view->SetCellText(0, 0, "late");
  view->SetCellText(row, 0, "late");
  view->Redraw();
  view->SetStatusLine("late");
  view->SetKeyListRow(0, KeyListRow{});
  view->SetKeyListStatus("late");
  view->SortRows([](RowId, RowId) { return 0; });
  EXPECT_EQ(view->CellText(0, 0), "");
  EXPECT_EQ(view->CellText(row, 0), "");
  EXPECT_EQ(view->RowCount(), 0);
  EXPECT_EQ(view->RowIdAt(0), RowId{});
  EXPECT_EQ(view->RowIndexOf(row), -1);
  EXPECT_EQ(view->SelectedRow(), -1);
  EXPECT_EQ(view->InsertRow("x", RowIcon::kAnswered), RowId{});
  EXPECT_EQ(view->PeriodSelection(), -1);
  EXPECT_EQ(view->ClientWidth(), 0);
}

// A caller waiting for the window's thread while the window goes is let go, its call not
// carried out; this holds whether the window is detached first or simply destroyed.
class WindowGoesTest : public ViewTest, public ::testing::WithParamInterface<bool> {};

TEST_P(WindowGoesTest, WaitingCallerIsReleased) {
  view->InsertRow("row", RowIcon::kNotTested);
  std::atomic<bool> calling = false;
  std::string read = "not returned";
  // The window's thread serves no events from here on, so the call can only be discarded.
  std::thread worker([&] {
    calling = true;
    read = view->CellText(0, 0);
  });
  while (!calling) std::this_thread::yield();
  if (GetParam()) view->Detach();
  window.reset();
  worker.join();
  EXPECT_EQ(read, "");
}

INSTANTIATE_TEST_SUITE_P(DetachedFirst, WindowGoesTest, ::testing::Bool());

TEST_F(ViewTest, ThreadsHammeringTheTableWhileTheWindowGoes) {
  for (int row = 0; row < 4; ++row) view->InsertRow("row", RowIcon::kNotTested);
  constexpr int kThreads = 4;
  constexpr int kRounds = 3000;
  std::atomic<int> served = 0;
  std::atomic<int> finished = 0;
  std::atomic<int> readsAfterClose = 0;
  std::atomic<bool> closed = false;
  std::vector<std::thread> workers;
  for (int t = 0; t < kThreads; ++t) {
    workers.emplace_back([&, t] {
      const std::string text = "worker " + std::to_string(t);
      for (int round = 0; round < kRounds; ++round) {
        const bool afterClose = closed;
        view->SetCellText(t, 1, text);
        const std::string read = view->CellText(t, 1);
        if (read == text) ++served;
        if (afterClose && !read.empty()) ++readsAfterClose;
      }
      ++finished;
    });
  }
  ServeUntil([&] { return served >= 200 || finished == kThreads; });
  view->Detach();
  window.reset();
  closed = true;
  for (std::thread& worker : workers) worker.join();
  EXPECT_GE(served, 200);
  EXPECT_EQ(readsAfterClose, 0);
}

}  // namespace
}  // namespace vardelle::ui

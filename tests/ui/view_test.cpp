// The application's view of the window: the control operations, on the window's thread
// and from other threads, and what they do once the window is gone.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QMenu>
#include <QTimer>
#include <atomic>
#include <memory>
#include <thread>

#include "ui/main_window.h"
#include "ui/pictures.h"
#include "ui/qt_main_window_view.h"
#include "ui_test_support.h"

namespace vardelle::ui {
namespace {

QImage Pixels(const QIcon& icon, QSize size) {
  return icon.pixmap(size).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

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
  EXPECT_EQ(view->InsertRow("艾欧尼亚", RowIcon::kNotTested), 0);
  EXPECT_EQ(view->InsertRow("Ionia", RowIcon::kNotTested), 1);
  view->SetCellText(0, 4, "Scaning...");
  view->SetCellText(1, 6, "获取地理位置失败!");
  EXPECT_EQ(view->RowCount(), 2);
  EXPECT_EQ(view->CellText(0, 0), "艾欧尼亚");
  EXPECT_EQ(view->CellText(0, 4), "Scaning...");
  EXPECT_EQ(view->CellText(1, 6), "获取地理位置失败!");
  EXPECT_EQ(window->ServerTable().CellText(1, 6), testing::Text(u"获取地理位置失败!"));
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
  const std::vector<std::string> names = {"c", "a", "d", "b"};
  for (const std::string& name : names) view->InsertRow(name, RowIcon::kNotTested);
  EXPECT_EQ(view->SelectedRow(), -1);
  window->ServerTable().topLevelItem(0)->setSelected(true);  // "c"
  EXPECT_EQ(view->SelectedRow(), 0);
  view->SortRows([&](int a, int b) { return names[a].compare(names[b]); });
  std::string order;
  for (int row = 0; row < view->RowCount(); ++row) order += view->CellText(row, 0);
  EXPECT_EQ(order, "abcd");
  EXPECT_EQ(view->SelectedRow(), 2);
  // Indexes are positions at the start of each sort, so keys are taken afresh.
  std::vector<std::string> keys;
  for (int row = 0; row < view->RowCount(); ++row) keys.push_back(view->CellText(row, 0));
  view->SortRows([&](int a, int b) { return keys[b].compare(keys[a]); });
  EXPECT_EQ(view->CellText(0, 0), "d");
  EXPECT_EQ(view->SelectedRow(), 1);
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
  view->ShowRowMenu(3, 3);
  EXPECT_EQ(shownAt, QPoint(3, 3));
  EXPECT_EQ(events.events, std::vector<std::string>{"route trace"});
}

TEST_F(ViewTest, CallsFromOtherThreadsRunOnTheWindowsThread) {
  std::atomic<bool> done = false;
  std::string read;
  int inserted = -1;
  std::thread worker([&] {
    inserted = view->InsertRow("worker", RowIcon::kNotTested);
    view->SetCellText(inserted, 3, "10.0.0.1");
    read = view->CellText(inserted, 3);
    done = true;
  });
  ServeUntil([&] { return done.load(); });
  worker.join();
  EXPECT_EQ(inserted, 0);
  EXPECT_EQ(read, "10.0.0.1");
  EXPECT_EQ(window->ServerTable().CellText(0, 3), QStringLiteral("10.0.0.1"));
}

TEST_F(ViewTest, OnceTheWindowIsGoneCallsDoNothing) {
  view->InsertRow("row", RowIcon::kNotTested);
  window->ServerTable().topLevelItem(0)->setSelected(true);
  view->Detach();
  window.reset();
  view->SetCellText(0, 0, "late");
  view->SortRows([](int, int) { return 0; });
  EXPECT_EQ(view->CellText(0, 0), "");
  EXPECT_EQ(view->RowCount(), 0);
  EXPECT_EQ(view->SelectedRow(), -1);
  EXPECT_EQ(view->InsertRow("x", RowIcon::kAnswered), -1);
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

// The server table's statistics columns on the offscreen window: hidden until chosen, the
// choice kept across restarts, sorted by value, copied as tab-separated text, and the
// sparkline's pixels.
#include "ui/qt/statistics_columns.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include "app/settings/column_settings.h"
#include "app/table/server_table.h"
#include "app/table/table_sort.h"
#include "support/files/file_access.h"
#include "tests/ui/qt/ui_test_support.h"
#include "tests/written_results.h"
#include "ui/qt/main_window.h"
#include "ui/qt/main_window_view.h"
#include "ui/qt/sparkline.h"

namespace vardelle::ui {
namespace {

using testing::QText;

class StatisticsColumnsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::TestApplication();
    ASSERT_TRUE(configHome.isValid());
    qputenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit());
  }
  void TearDown() override { qunsetenv("XDG_CONFIG_HOME"); }

  // A row whose probes answered as given, its last result written as a run writes it.
  RowId AddRow(QtMainWindowView& view, const std::string& name, std::vector<int> results) {
    const RowId row = view.InsertRow(name, RowIcon::kNotTested);
    vardelle::testing::WriteResults(view, history, row, results, "1ms");
    return row;
  }
  std::vector<std::string> NameOrder(QtMainWindowView& view) {
    std::vector<std::string> names;
    for (int row = 0; row < view.RowCount(); ++row) names.push_back(view.CellText(row, 0));
    return names;
  }

  QTemporaryDir configHome;
  LatencyHistory history;
  testing::RecordingEvents events;
};

TEST_F(StatisticsColumnsTest, ChosenColumnsSurviveARestartSortByValueAndCopyAsTabSeparatedText) {
  MainWindow window(events);
  QtMainWindowView view(window);
  ReportView& table = window.ServerTable();
  view.DeleteAllRows();
  const RowId steady = AddRow(view, "A", {10, 20, 30});
  AddRow(view, "B", {-1, 5});
  AddRow(view, "C", {-1, -1});
  ASSERT_EQ(table.columnCount(), 11);
  EXPECT_EQ(table.columnWidth(kLocationColumn), 188) << "the layout's columns stay as they are";
  for (int column = kLossColumn; column <= kTrendColumn; ++column) {
    EXPECT_TRUE(table.isColumnHidden(column)) << column;
  }

  const QList<QAction*> choices = window.Statistics().HeaderMenu().actions();
  ASSERT_EQ(choices.size(), 4);
  choices[0]->trigger();     // 丢包率
  choices[3]->trigger();     // 走势
  SettingsWriter().Flush();  // the file is written on a thread of its own
  const std::optional<std::string> settings =
      ReadWholeFile(configHome.path().toStdString() + "/vardelle/settings.ini");
  ASSERT_TRUE(settings);
  EXPECT_NE(settings->find("shownColumns=7,10"), std::string::npos) << *settings;

  MainWindow restarted(events);
  EXPECT_FALSE(restarted.ServerTable().isColumnHidden(kLossColumn));
  EXPECT_TRUE(restarted.ServerTable().isColumnHidden(kMinAvgMaxColumn));
  EXPECT_TRUE(restarted.ServerTable().isColumnHidden(kJitterColumn));
  EXPECT_FALSE(restarted.ServerTable().isColumnHidden(kTrendColumn));

  SortState sortState;
  SortTableByColumn(sortState, view, kLossColumn, SortModeForColumn(kLossColumn));
  EXPECT_EQ(NameOrder(view), (std::vector<std::string>{"A", "B", "C"}));
  SortTableByColumn(sortState, view, kTrendColumn, SortModeForColumn(kTrendColumn));
  EXPECT_EQ(NameOrder(view), (std::vector<std::string>{"A", "B", "C"})) << "descending average";
  SortTableByColumn(sortState, view, kMinAvgMaxColumn, SortModeForColumn(kMinAvgMaxColumn));
  EXPECT_EQ(NameOrder(view), (std::vector<std::string>{"C", "B", "A"}));

  QTreeWidgetItem* steadyItem = table.RowWithId(steady);
  EXPECT_EQ(ResultsFromVariant(steadyItem->data(kTrendColumn, ReportView::kSparklineRole)),
            (std::vector<LatencySample>{10, 20, 30}));
  EXPECT_TRUE(steadyItem->toolTip(kLatencyColumn).contains(QText(u"丢包率 0.0%")));

  table.setFocus();
  QTest::keyClick(&table, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(&table, Qt::Key_C, Qt::ControlModifier);
  QStringList lines = QGuiApplication::clipboard()->text().split(QStringLiteral("\r\n"));
  ASSERT_EQ(lines.takeLast(), QString());
  ASSERT_EQ(lines.size(), 4);
  EXPECT_EQ(lines[0].split(QLatin1Char('\t')).mid(6),
            (QStringList{QText(u"服务器机房地理位置"), QText(u"丢包率"), QText(u"走势")}));
  EXPECT_EQ(
      lines[3].split(QLatin1Char('\t')),
      (QStringList{QStringLiteral("A"), QString(), QString(), QString(), QStringLiteral("1ms"),
                   QString(), QString(), QStringLiteral("0.0%"), QStringLiteral("20.0")}));
}

TEST(SparklineTest, DrawsEachResultInItsSlotWithAGapForALostProbe) {
  QImage image(40, 10, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  // Slots of 10 pixels, centred at 5, 15, 25, 35; 20 ms at the top row, 10 ms at the bottom.
  DrawSparkline(painter, image.rect(), {10, 20, std::nullopt, 20}, Qt::black);
  painter.end();
  const auto dark = [&image](int x, int y) { return image.pixelColor(x, y) == Qt::black; };
  EXPECT_TRUE(dark(5, 9));
  EXPECT_TRUE(dark(15, 0));
  EXPECT_TRUE(dark(35, 0));
  int inked = 0;
  for (int y = 0; y < 10; ++y) inked += dark(10, y) ? 1 : 0;
  EXPECT_GE(inked, 1) << "a line joins the first two results";
  for (int x = 16; x < 35; ++x) {
    for (int y = 0; y < 10; ++y) EXPECT_FALSE(dark(x, y)) << x << "," << y;
  }
}

}  // namespace
}  // namespace vardelle::ui

// A header click on a 10,000-row server table: the sort on the window's thread, from the
// keys to the reordered rows and the repaint that follows, for each kind of column. Runs
// offscreen; the aim is under 50 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <array>
#include <cstdlib>
#include <random>
#include <string>

#include "app/application/application.h"
#include "app/table/server_table.h"
#include "app/table/table_sort.h"
#include "app/window/main_window_logic.h"
#include "bench/qt_benchmark_main.h"
#include "ui/qt/main_window.h"
#include "ui/qt/main_window_view.h"

namespace vardelle {
namespace {

constexpr int kRows = 10000;

// Cells like the real table's, in an order unrelated to any column's.
void FillTable(ui::QtMainWindowView& view) {
  const std::array<std::string, 4> networks{"电信", "网通", "教育", "其他"};
  const std::array<std::string, 4> regions{"艾欧尼亚", "祖安", "诺克萨斯", "比尔吉沃特"};
  const std::array<std::string, 3> places{"中国华东 - 浙江省杭州市电信",
                                          "中国华南 - 广东省广州市联通", "获取地理位置失败!"};
  std::mt19937 random(7);
  const auto pick = [&random](int count) {
    return static_cast<int>(random() % static_cast<unsigned>(count));
  };
  view.DeleteAllRows();
  for (int row = 0; row < kRows; ++row) {
    const std::string number = std::to_string(pick(100000));
    const RowId id = view.InsertRow(networks[static_cast<size_t>(pick(4))] + number + "区 ",
                                    RowIcon::kNotTested);
    view.SetCellText(id, kRegionColumn, regions[static_cast<size_t>(pick(4))]);
    view.SetCellText(id, kDomainColumn, "hn" + number + ".lol.qq.com");
    view.SetCellText(id, kAddressColumn,
                     "183." + std::to_string(pick(256)) + ".12." + std::to_string(pick(256)));
    view.SetCellText(id, kLatencyColumn, pick(5) == 0 ? "..." : std::to_string(pick(300)) + "ms");
    view.SetCellText(id, kLocationColumn, places[static_cast<size_t>(pick(3))]);
  }
}

void HeaderClickOnTenThousandRows(benchmark::State& state) {
  const int column = static_cast<int>(state.range(0));
  Application app;
  MainWindowLogic logic(app);
  ui::MainWindow window(logic);
  ui::QtMainWindowView view(window);
  window.show();
  FillTable(view);
  QApplication::processEvents();
  SortState sortState;
  for (auto _ : state) {
    SortTableByColumn(sortState, view, column, SortModeForColumn(column));
    QApplication::processEvents();
  }
  view.Detach();
}
BENCHMARK(HeaderClickOnTenThousandRows)
    ->ArgName("column")
    ->Arg(kNameColumn)
    ->Arg(kRegionColumn)
    ->Arg(kAddressColumn)
    ->Arg(kLatencyColumn)
    ->Arg(kLocationColumn)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vardelle

VARDELLE_QT_BENCHMARK_MAIN()

// The "全球Ping" page: its list (超级列表框1) mirrors the server table, and global tests of
// its rows run on threads of their own, each row written as its measurement moves on. The
// page's status line tells the place, the tests under way and the hourly budget left, which
// the page's tests share.
//
// Rows are written by the workers, never by the window's thread: a run's starter thread
// claims its rows, and a row only takes writes from the run that claimed it last, so an
// older run finishing late leaves a newer run's row alone. Each row's claim and writes go
// through the row's own lock; the window's thread never takes one, so a worker waiting for
// the window while it holds its row's lock cannot stall it.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/global_ping/global_ping_places.h"
#include "app/global_ping/global_ping_test_run.h"
#include "app/view/main_window_view.h"

namespace vardelle {

class GlobalPingPage {
 public:
  // Lists the table's servers in table order, replacing the rows listed before; runs still
  // going on then write nothing more.
  void ListServers(MainWindowView& window);

  // The place tests are measured from: the one saved in settingsFile, else the default.
  const GlobalPingPlace& Place(const std::string& settingsFile);
  // Takes the place for the following tests and saves it in settingsFile ("" keeps it in
  // memory only).
  void ChoosePlace(size_t placeIndex, const std::string& settingsFile);
  // The page's pop-up menu, the current place checked.
  void ShowMenu(MainWindowView& window, const std::string& settingsFile);

  // The rows a test of the selected servers, or of all of them, covers; read on the
  // window's thread, where the choice was made.
  static std::vector<int> RowsToTest(MainWindowView& window, bool allServers);

  // Starts a global test of the given rows (positions in the list; others are skipped, as
  // are rows still being measured) and returns it; nothing when no row is left (the page's
  // status line then says so). Call it off the window's thread: it waits for the rows' locks
  // and asks the budget. The rows are written through whatever view `window` holds at the
  // time, so a closed window is left alone; it must outlive the run.
  std::shared_ptr<GlobalPingTestRun> TestRows(std::atomic<MainWindowView*>& window,
                                              const GlobalpingAccess& access, std::vector<int> rows,
                                              const GlobalPingPlace& place,
                                              const ClientLimits& limits = {});
  // True until every test started so far has ended, its last write to the window done; a
  // window closed early waits for this while serving the writes (each test is bounded by its
  // time limit).
  bool TestsRunning();

 private:
  struct Rows;

  std::shared_ptr<Rows> CurrentRows();
  // "全球Ping (中国): 3 个测试进行中，本小时剩余额度 ...".
  void TellStatus(MainWindowView& window, const GlobalpingAccess& access,
                  const GlobalPingPlace& place);

  std::mutex mutex_;
  // Held from reading the counts to showing them, so an older count never shows last.
  std::mutex statusMutex_;
  std::shared_ptr<Rows> rows_;
  // The tests started, kept until a later start finds them ended: callers may drop theirs.
  std::vector<std::shared_ptr<GlobalPingTestRun>> tests_;
  std::optional<size_t> placeIndex_;
  const std::shared_ptr<HourlyBudget> budget_ = std::make_shared<HourlyBudget>();
};

}  // namespace vardelle

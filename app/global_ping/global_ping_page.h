// The "全球Ping" page: its list (超级列表框1) mirrors the server table, and global tests of
// its rows run on threads of their own, each row written as its measurement moves on.
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
#include "app/window/main_window_view.h"

namespace vardelle {

// The list's columns: "服务器名称", "KEY", "测试状态".
inline constexpr int kKeyListKeyColumn = 1;
inline constexpr int kKeyListStateColumn = 2;

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

  // Starts a global test of the given rows (positions in the list; others are skipped) and
  // returns it; nothing when no row is left (the status line then says so). Call it off the
  // window's thread: it waits for the rows' locks. The rows are written through whatever
  // view `window` holds at the time, so a closed window is left alone; it must outlive the
  // run.
  std::shared_ptr<GlobalPingTestRun> TestRows(std::atomic<MainWindowView*>& window,
                                              const GlobalpingAccess& access,
                                              std::vector<int> rows, const GlobalPingPlace& place,
                                              const ClientLimits& limits = {});

 private:
  struct Rows;

  std::shared_ptr<Rows> CurrentRows();

  std::mutex mutex_;
  std::shared_ptr<Rows> rows_;
  std::optional<size_t> placeIndex_;
};

}  // namespace vardelle

// The mini view's logic, written once for both windows: which servers it lists, their
// latencies and colours as the test runs write them, whether it shows, lets clicks through,
// and where it stands. Its servers, showing and place are kept in the settings file
// (UserSettingsPath) by server name, so they outlive a new server list:
//
//   [miniView]
//   count=2
//   server1=电信15区
//   server2=...
//   shown=1
//   x=1500
//   y=40
#pragma once

#include <map>
#include <mutex>
#include <vector>

#include "app/view/main_window_view.h"
#include "support/text/text.h"

namespace vardelle {

// More is no mini view: it is a few lines over the game.
inline constexpr int kMostMiniViewServers = 30;

// Every operation may be called from any thread; the window is drawn outside the lock.
class MiniViewRows {
 public:
  // What the settings file keeps, drawn at once (the latencies wait for the next run).
  void Load(const Text& settingsPath, MainWindowView& window);
  // The selected rows join the list (each server once) with their present latencies and
  // colours, and the mini view shows; nothing happens when no row is selected.
  void AddSelectedRows(MainWindowView& window, const Text& settingsPath);
  // Whether the row menu offers 移出小窗: a row is selected and every selected row's server
  // is listed.
  bool ListsSelectedRows(MainWindowView& window) const;
  // The servers leave the list; the mini view hides once it lists none, as it does when
  // loaded so.
  void RemoveSelectedRows(MainWindowView& window, const Text& settingsPath);
  void Remove(const std::vector<Text>& names, MainWindowView& window, const Text& settingsPath);
  void ToggleShown(MainWindowView& window, const Text& settingsPath);
  void ToggleClickThrough(MainWindowView& window);
  void Moved(ScreenPoint place, const Text& settingsPath);

  // A run's rows, each with 服务器名称 as its first cell: which rows the listed servers are
  // until the next run. A server listed twice follows its first row.
  void TrackRows(const std::vector<RowTexts>& table);
  // The rows' changes as the window got them: the listed rows take their latency cells and
  // colours, and the mini view is drawn anew when it shows one of them.
  void RowsChanged(const std::vector<RowChange>& changes, MainWindowView& window);

  MiniViewState State() const;

 private:
  void Save(const Text& settingsPath) const;  // under mutex_
  bool Lists(const Text& name) const;         // under mutex_
  void Draw(MainWindowView& window) const;
  // Follows the row of a listed name; under mutex_.
  void Track(RowId row, const Text& name);

  // What the runs last wrote on a row of the table: its latency cell and colours.
  struct Written {
    Text latency;
    RowColour colour;
  };
  // The row's line with what was written on it; under mutex_.
  MiniViewRow LineOf(const Text& name, RowId row) const;

  mutable std::mutex mutex_;
  MiniViewState state_;
  std::map<RowId, size_t> tracked_;  // a listed row's identity to its place in state_.rows
  std::map<RowId, Written> written_;
};

}  // namespace vardelle

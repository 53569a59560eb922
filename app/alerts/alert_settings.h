// The rows a player watches, kept in the settings file (UserSettingsPath) by server name and
// domain, so they outlive a new server list and its row order:
//
//   [alerts]
//   count=2
//   server1=电信15区
//   domain1=127.0.0.16
//   status1=any           any change, normal (only becoming 正常), or empty: not watched
//   latencyOverMs1=150    1 to 10000, or empty: not watched
//   lossOverPercent1=10   0 to 99, or empty: not watched
//   server2=...
#pragma once

#include <vector>

#include "app/alerts/alert_rules.h"
#include "support/text/text.h"

namespace vardelle {

// More is no player's list: a real server list has about 30 rows.
inline constexpr int kMostSavedAlertWatches = 1000;

struct SavedAlertWatch {
  AlertTarget target;
  AlertWatch watch;
  friend bool operator==(const SavedAlertWatch&, const SavedAlertWatch&) = default;
};

// What the file holds: the watches saved, in their order, and the entries its count names,
// whether they read as watches or not.
struct AlertWatchFile {
  std::vector<SavedAlertWatch> watches;
  int entries = 0;
};

// The file's watches, after every save queued before; none when the file or the section is
// missing. An entry that does not read as a watch (no server name, nothing watched, a value
// out of its range) is left out. Names and domains are trimmed as AlertTargetOf trims them.
AlertWatchFile ReadAlertWatchFile(const Text& path);
std::vector<SavedAlertWatch> ReadAlertWatches(const Text& path);

// Queues the list for SettingsWriter in place of the one saved before and returns the
// entries saved; entriesBefore (what ReadAlertWatchFile or the last save gave) are emptied
// past them. It never reads the file, so it never waits for the disk; a path of "" saves
// nothing. Names and domains are saved trimmed as they are read back; an entry that could not
// read back (a blank name, a line end inside a name or domain, nothing watched) is left out.
int SaveAlertWatches(const Text& path, const std::vector<SavedAlertWatch>& watches,
                     int entriesBefore);

}  // namespace vardelle

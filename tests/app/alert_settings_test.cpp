// The watched rows in the settings file's [alerts] section: saved and read back, a shorter
// list leaving nothing of the longer one, and entries that do not read as watches left out.
#include "app/alerts/alert_settings.h"

#include <gtest/gtest.h>

#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/settings/column_settings.h"
#include "tests/support/temp_dir.h"

namespace vardelle {
namespace {

const SavedAlertWatch kMaintenance{{"电信15区", "127.0.0.16"}, {StatusWatch::kAnyChange, 150, 10}};
const SavedAlertWatch kBackToNormal{{"网通01区", "127.0.0.22"},
                                    {StatusWatch::kBecomesNormal, std::nullopt, std::nullopt}};
const SavedAlertWatch kNoDomain{{"电信05区", ""}, {std::nullopt, 80, 0}};

TEST(AlertSettingsTest, WatchesReadBackAsSavedAndAShorterListReplacesALongerOne) {
  testing_files::TempDir dir;
  const std::string path = dir.File("vardelle/settings.ini");
  EXPECT_TRUE(ReadAlertWatches(path).empty());
  // Entries that could not read back take no place in the list.
  const SavedAlertWatch unsaved[] = {{{"网通\n02区", "127.0.0.23"}, kMaintenance.watch},
                                     {{" ", "127.0.0.24"}, kMaintenance.watch},
                                     {{"网通03区", "127.0.0.25"}, {}}};
  int entries = SaveAlertWatches(
      path, {kMaintenance, unsaved[0], kBackToNormal, unsaved[1], unsaved[2], kNoDomain}, 0);
  EXPECT_EQ(entries, 3);
  EXPECT_EQ(ReadAlertWatches(path),
            (std::vector<SavedAlertWatch>{kMaintenance, kBackToNormal, kNoDomain}));

  entries = SaveAlertWatches(path, {kNoDomain}, entries);
  EXPECT_EQ(ReadAlertWatches(path), std::vector<SavedAlertWatch>{kNoDomain});
  EXPECT_EQ(ReadSettingsValue(path, "alerts", "count"), "1");
  for (const char* key : {"server2", "domain2", "status2", "latencyOverMs3", "lossOverPercent3"}) {
    EXPECT_EQ(ReadSettingsValue(path, "alerts", key), std::nullopt) << key;
  }
  EXPECT_EQ(SaveAlertWatches(path, {}, entries), 0);
  EXPECT_TRUE(ReadAlertWatches(path).empty());
  SettingsWriter().Flush();
  EXPECT_EQ(testing_files::ReadBytes(path), "[alerts]\r\ncount=0\r\n") << "no empty keys left";
}

// A row is watched by its target as AlertTargetOf takes it from the table's cells; whatever
// blanks surround a cell, the target read back after a restart is that same target.
TEST(AlertSettingsTest, TargetsRoundTripWhateverBlanksSurroundTheirCells) {
  const std::pair<const char*, const char*> cells[] = {
      {"\t电信15区", "127.0.0.16\t"},
      {"电信16区 \t", "\t 127.0.0.17"},
      {"\t　电信17区　\t ", "　\t127.0.0.18"},  // full-width spaces inside the tabs
      {"电信18区\r\n", "\r\n127.0.0.19"},
      {"电信\t19区", "127.0.0.20"},  // a tab inside the name is the name's own
  };
  testing_files::TempDir dir;
  const std::string path = dir.File("settings.ini");
  std::vector<SavedAlertWatch> watched;
  for (const auto& [name, domain] : cells) {
    watched.push_back({AlertTargetOf(name, domain), kMaintenance.watch});
  }
  EXPECT_EQ(watched[0].target, (AlertTarget{"电信15区", "127.0.0.16"}));
  EXPECT_EQ(watched[4].target, (AlertTarget{"电信\t19区", "127.0.0.20"}));
  EXPECT_EQ(SaveAlertWatches(path, watched, 0), static_cast<int>(std::size(cells)));
  EXPECT_EQ(ReadAlertWatches(path), watched);

  // Saved as a target before any trimming was the same on both sides: read as the cells give it.
  testing_files::WriteBytes(path,
                            "[alerts]\r\ncount=1\r\nserver1=\t　电信15区\r\n"
                            "domain1=127.0.0.16 　\r\nstatus1=any\r\n");
  EXPECT_EQ(ReadAlertWatches(path),
            (std::vector<SavedAlertWatch>{
                {AlertTargetOf("电信15区", "127.0.0.16"), {StatusWatch::kAnyChange, {}, {}}}}));
}

TEST(AlertSettingsTest, EntriesThatAreNoWatchesAreLeftOut) {
  testing_files::TempDir dir;
  const std::string path = dir.File("settings.ini");
  testing_files::WriteBytes(path,
                            "[table]\r\nshownColumns=7\r\n"
                            "[alerts]\r\n"
                            "count=8\r\n"
                            "server1= 电信15区 \r\ndomain1=127.0.0.16\r\nstatus1=any\r\n"
                            "latencyOverMs1=150\r\nlossOverPercent1=10\r\n"
                            "server2=电信16区\r\nstatus2=sometimes\r\n"
                            "server3=电信17区\r\nlatencyOverMs3=0\r\n"
                            "server4=电信18区\r\nlossOverPercent4=100\r\n"
                            "server5=电信19区\r\nlatencyOverMs5=-5\r\n"
                            "server6=\r\nstatus6=any\r\n"
                            "server7=电信20区\r\n"
                            "server8=网通01区\r\ndomain8=127.0.0.22\r\nstatus8=normal\r\n"
                            "server9=网通02区\r\nstatus9=any\r\n");
  EXPECT_EQ(ReadAlertWatches(path), (std::vector<SavedAlertWatch>{kMaintenance, kBackToNormal}));

  // A count past any list's is read no further than the entries there are.
  testing_files::WriteBytes(path,
                            "[alerts]\r\ncount=2000000000\r\nserver1=电信15区\r\nstatus1=any\r\n");
  ASSERT_EQ(ReadAlertWatches(path).size(), 1u);
}

}  // namespace
}  // namespace vardelle

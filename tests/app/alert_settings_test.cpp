// The watched rows in the settings file's [alerts] section: saved and read back, a shorter
// list leaving nothing of the longer one, and entries that do not read as watches left out.
#include "app/alerts/alert_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/window/column_settings.h"
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
  SaveAlertWatches(path,
                   {kMaintenance, unsaved[0], kBackToNormal, unsaved[1], unsaved[2], kNoDomain});
  EXPECT_EQ(ReadAlertWatches(path),
            (std::vector<SavedAlertWatch>{kMaintenance, kBackToNormal, kNoDomain}));

  SaveAlertWatches(path, {kNoDomain});
  EXPECT_EQ(ReadAlertWatches(path), std::vector<SavedAlertWatch>{kNoDomain});
  EXPECT_EQ(ReadSettingsValue(path, "alerts", "count"), "1");
  for (const char* key : {"server2", "domain2", "status2", "latencyOverMs3", "lossOverPercent3"}) {
    EXPECT_EQ(ReadSettingsValue(path, "alerts", key), "") << key;
  }
  SaveAlertWatches(path, {});
  EXPECT_TRUE(ReadAlertWatches(path).empty());
  EXPECT_EQ(ReadSettingsValue(path, "alerts", "server1"), "");
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

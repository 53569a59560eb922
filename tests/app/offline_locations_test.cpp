// The offline IP database: a small file made here in the shipped file's layout, read through
// every path a look-up takes (range edges, unknown parts, private ranges, records and
// indexes out of bounds), the shipped file itself, and the site-or-database choice.
#include "app/location/offline_locations.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/location/server_location.h"
#include "app/settings/endpoints.h"
#include "support/files/file_access.h"

namespace vardelle {
namespace {

struct Range {
  std::uint32_t first;
  std::uint32_t last;
  std::u8string record;  // after the city id; "" leaves the entry pointing past the file
};

void PutU32(std::string& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
}

// The header, the records, then the index, as the shipped file lays them out.
std::string Database(const std::vector<Range>& ranges) {
  std::string bytes(8, '\0');
  std::vector<std::uint32_t> pointers;
  for (const Range& range : ranges) {
    const std::string record =
        std::string(4, '\x01') + std::string(range.record.begin(), range.record.end());
    pointers.push_back(range.record.empty() ? 0xFF000000u | 0xFFFFFFu
                                            : static_cast<std::uint32_t>(bytes.size()) |
                                                  static_cast<std::uint32_t>(record.size()) << 24);
    if (!range.record.empty()) bytes += record;
  }
  const auto first = static_cast<std::uint32_t>(bytes.size());
  for (std::size_t i = 0; i < ranges.size(); ++i) {
    bytes.resize(bytes.size() + 12);
    PutU32(bytes, bytes.size() - 12, ranges[i].first);
    PutU32(bytes, bytes.size() - 8, ranges[i].last);
    PutU32(bytes, bytes.size() - 4, pointers[i]);
  }
  PutU32(bytes, 0, first);
  PutU32(bytes, 4, static_cast<std::uint32_t>(bytes.size() - 12));
  return bytes;
}

const std::vector<Range> kRanges = {
    {0x00000000, 0x00FFFFFF, u8"0|0|0|内网IP|内网IP"},
    {0x01000000, 0x010000FF, u8"澳大利亚|0|0|0|0"},
    {0x0A000000, 0x0AFFFFFF, u8"0|0|0|内网IP|内网IP"},
    {0x72727200, 0x727272FF, u8"中国|0|江苏省|南京市|0"},
    {0x73000000, 0x730000FF, u8"中国|华东|广东省|深圳市|电信"},
    {0x74000000, 0x740000FF, u8""},                    // its record lies outside the file
    {0x75000000, 0x750000FF, u8"0|0|0|0|0"},           // nobody knows anything
    {0x76000000, 0x760000FF, u8"中国|广东省|深圳市"},  // not five parts
};

TEST(OfflineLocationsTest, LooksUpEveryRangeAndItsEdges) {
  const std::optional<OfflineLocations> database = OfflineLocations::FromBytes(Database(kRanges));
  ASSERT_TRUE(database);
  EXPECT_EQ(database->RangeCount(), kRanges.size());
  struct Case {
    const char* address;
    std::optional<Text> line;
  };
  const Case cases[] = {
      {"0.0.0.0", "内网地址"},
      {"1.0.0.0", "澳大利亚"},
      {"1.0.0.255", "澳大利亚"},
      {"1.0.1.0", std::nullopt},  // between two ranges
      {"10.20.30.40", "内网地址"},
      {"114.114.114.0", "中国 - 江苏省南京市"},
      {"114.114.114.255", "中国 - 江苏省南京市"},
      {"115.0.0.9", "中国华东 - 广东省深圳市电信"},
      {"116.0.0.1", std::nullopt},
      {"117.0.0.1", std::nullopt},
      {"118.0.0.1", std::nullopt},
      {"255.255.255.255", std::nullopt},  // past the last range
      {"127.0.0.13", "本机地址"},         // loopback, whatever the file says
      {"", std::nullopt},
      {"localhost", std::nullopt},
      {"114.114.114", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(OfflineLocationOf(&*database, c.address), c.line) << c.address;
  }
  EXPECT_EQ(OfflineLocationOf(nullptr, "127.0.0.1"), Text("本机地址"));
  EXPECT_EQ(OfflineLocationOf(nullptr, "114.114.114.114"), std::nullopt);
}

TEST(OfflineLocationsTest, RefusesFilesWhoseIndexIsNotWithinThem) {
  const std::string good = Database(kRanges);
  const auto withHeader = [&good](std::uint32_t first, std::uint32_t last) {
    std::string bytes = good;
    PutU32(bytes, 0, first);
    PutU32(bytes, 4, last);
    return bytes;
  };
  const auto last = static_cast<std::uint32_t>(good.size() - 12);
  const std::string files[] = {
      "",
      std::string(7, '\0'),
      std::string("b\0\0\0z\0\0\0b", 9),  // an index inside a file shorter than one entry
      withHeader(last + 12, last + 12),   // the index's last entry runs past the end
      withHeader(4, last),                // the index starts inside the header
      withHeader(last, last - 12),        // last before first
      withHeader(last - 13, last),        // not whole entries
      withHeader(0xFFFFFFF0u, 0xFFFFFFFCu),
  };
  for (const std::string& file : files) {
    EXPECT_FALSE(OfflineLocations::FromBytes(file)) << file.size();
  }
  const std::optional<OfflineLocations> one = OfflineLocations::FromBytes(withHeader(last, last));
  ASSERT_TRUE(one) << "an index of one entry is a database";
  EXPECT_EQ(one->RangeCount(), 1u);
}

// The shipped file, as tools/fetch_location_database.sh pinned it.
TEST(OfflineLocationsTest, TheShippedFileKnowsChineseAddresses) {
  std::optional<std::string> bytes = ReadWholeFile(VARDELLE_SHIPPED_LOCATIONS);
  ASSERT_TRUE(bytes) << VARDELLE_SHIPPED_LOCATIONS;
  const std::optional<OfflineLocations> database = OfflineLocations::FromBytes(std::move(*bytes));
  ASSERT_TRUE(database);
  EXPECT_EQ(database->RangeCount(), 683591u);
  EXPECT_EQ(OfflineLocationOf(&*database, "114.114.114.114"), Text("中国 - 江苏省南京市"));
  EXPECT_EQ(OfflineLocationOf(&*database, "192.168.1.1"), Text("内网地址"));
}

// The site answers when it is set, the database when it is not or the site fails; the
// database's lines say so.
TEST(OfflineLocationsTest, TheDatabaseStandsInForAnUnsetOrFailingSite) {
  const std::optional<OfflineLocations> database = OfflineLocations::FromBytes(Database(kRanges));
  ASSERT_TRUE(database);
  constexpr auto kOffline = LocationSource::kOffline;
  constexpr auto kSite = LocationSource::kSite;
  const ServerLocation nanjing{"中国 - 江苏省南京市", kOffline};
  const ServerLocation failed{kLocationFailureText, kSite};
  Endpoints endpoints;
  EXPECT_EQ(LocateServer(endpoints, &*database, "114.114.114.1"), nanjing);
  EXPECT_EQ(LocateServer(endpoints, &*database, "127.0.0.2"),
            (ServerLocation{"本机地址", kOffline}));
  EXPECT_EQ(LocateServer(endpoints, &*database, "116.0.0.1"), failed);
  EXPECT_EQ(LocateServer(endpoints, nullptr, ""), failed);
  endpoints.SetBaseUrl(Site::kIpLocation, "http://127.0.0.1:1");  // refused
  EXPECT_EQ(LocateServer(endpoints, &*database, "114.114.114.1"), nanjing);
  EXPECT_EQ(LocateServer(endpoints, &*database, "116.0.0.1"), failed);
  EXPECT_EQ(LocateServer(endpoints, &*database, "fd00:200::5"), (ServerLocation{"未知", kSite}))
      << "the database holds no IPv6";
}

}  // namespace
}  // namespace vardelle

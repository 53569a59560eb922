// The offline IP database shipped with the program (ip2region's format, version 2): where a
// server's location comes from when no location site is set or the site fails for it.
//
// The file: 8 bytes at the start, the offsets of the first and the last index entry
// (little-endian u32); index entries of 12 bytes in address order: the range's first and
// last address (u32), then a u32 whose low 24 bits are the record's offset and high 8 bits
// its length; a record is a 4-byte city id, then the UTF-8 text "国家|区域|省份|城市|ISP"
// with "0" for a part nobody knows.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "support/text/text.h"

namespace vardelle {

class OfflineLocations {
 public:
  // Nothing when the bytes are no such database: too short, or an index that does not lie
  // within them. A record out of bounds is found out only when asked for (RecordOf).
  static std::optional<OfflineLocations> FromBytes(std::string bytes);

  // The UTF-8 text of the range that holds address (host order: 1.2.3.4 is 0x01020304);
  // nothing when no range does or its record does not lie within the file. Each look-up is
  // a binary search: at most 32 steps whatever the file holds.
  std::optional<std::string_view> RecordOf(std::uint32_t address) const;

  std::uint32_t RangeCount() const { return rangeCount_; }

 private:
  OfflineLocations(std::string bytes, std::uint32_t firstEntry, std::uint32_t rangeCount)
      : bytes_(std::move(bytes)), firstEntry_(firstEntry), rangeCount_(rangeCount) {}
  std::uint32_t U32At(std::size_t offset) const;

  std::string bytes_;
  std::uint32_t firstEntry_;
  std::uint32_t rangeCount_;
};

// Cell texts of the offline source, GBK.
inline constexpr char kLoopbackLocationText[] = "本机地址";
inline constexpr char kPrivateLocationText[] = "内网地址";

// The location line of a record, in the location site's shape: country + area + " - " +
// province + city + ISP, unknown parts left out (" - " too when nothing follows it);
// kPrivateLocationText for the database's private ranges. Nothing for a record with no
// known part.
std::optional<Text> OfflineLocationLine(std::string_view record);

// The location line of a dotted IPv4 address: kLoopbackLocationText for 127.0.0.0/8, else
// the database's line; nothing for another text or an address the database does not know.
std::optional<Text> OfflineLocationOf(const OfflineLocations* database, const std::string& address);

// The database the program ships, read once on the first call from the first of the program
// folder's "ip2region.db" and "../share/vardelle/ip2region.db" that holds one (a .deb puts it
// in /usr/share/vardelle, the Windows zip beside the program); null when none does.
// Thread-safe.
std::shared_ptr<const OfflineLocations> ShippedOfflineLocations();

}  // namespace vardelle

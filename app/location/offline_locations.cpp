#include "app/location/offline_locations.h"

#include <array>

#include "runtime/platform.h"
#include "support/files/file_access.h"
#include "support/text/text_codec.h"

namespace vardelle {
namespace {

constexpr std::size_t kHeaderBytes = 8;
constexpr std::size_t kEntryBytes = 12;
constexpr std::size_t kCityIdBytes = 4;
constexpr char kDatabaseFile[] = "ip2region.db";
constexpr char kPrivateRangeWord[] = "内网IP";  // GBK, as the record's parts become

// The record's five parts, GBK, "" for an unknown one ("0"); nothing for a record that is
// not five parts.
std::optional<std::array<Text, 5>> RecordParts(std::string_view record) {
  const std::optional<std::u16string> text = SystemTextCodec().DecodeCharset(record, "UTF-8");
  if (!text) return std::nullopt;
  std::array<Text, 5> parts;
  std::size_t index = 0;
  std::u16string part;
  for (std::size_t i = 0; i <= text->size(); ++i) {
    if (i < text->size() && (*text)[i] != u'|') {
      part += (*text)[i];
      continue;
    }
    if (index == parts.size()) return std::nullopt;
    parts[index++] = part == u"0" ? Text() : ToGbk(part);
    part.clear();
  }
  if (index != parts.size()) return std::nullopt;
  return parts;
}

std::shared_ptr<const OfflineLocations> ReadShippedDatabase() {
  const std::string folder = ProgramFolder();
  if (folder.empty()) return nullptr;
  for (const std::string& path :
       {folder + "/" + kDatabaseFile,
        std::string(ContainingFolder(folder)) + "/share/vardelle/" + kDatabaseFile}) {
    std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes) continue;
    std::optional<OfflineLocations> database = OfflineLocations::FromBytes(std::move(*bytes));
    if (database) return std::make_shared<const OfflineLocations>(std::move(*database));
  }
  return nullptr;
}

}  // namespace

std::optional<OfflineLocations> OfflineLocations::FromBytes(std::string bytes) {
  if (bytes.size() < kHeaderBytes) return std::nullopt;
  OfflineLocations database(std::move(bytes), 0, 0);
  const std::uint32_t first = database.U32At(0);
  const std::uint32_t last = database.U32At(4);
  const std::size_t size = database.bytes_.size();
  if (first < kHeaderBytes || last < first || (last - first) % kEntryBytes != 0 ||
      std::size_t{last} + kEntryBytes > size) {
    return std::nullopt;
  }
  database.firstEntry_ = first;
  database.rangeCount_ = static_cast<std::uint32_t>((last - first) / kEntryBytes + 1);
  return database;
}

std::uint32_t OfflineLocations::U32At(std::size_t offset) const {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value |= std::uint32_t{static_cast<unsigned char>(bytes_[offset + i])} << (8 * i);
  }
  return value;
}

std::optional<std::string_view> OfflineLocations::RecordOf(std::uint32_t address) const {
  std::uint32_t low = 0;
  std::uint32_t high = rangeCount_;  // the ranges in [low, high) may still hold address
  while (low < high) {
    const std::uint32_t middle = low + (high - low) / 2;
    const std::size_t entry = firstEntry_ + std::size_t{middle} * kEntryBytes;
    if (address < U32At(entry)) {
      high = middle;
    } else if (address > U32At(entry + 4)) {
      low = middle + 1;
    } else {
      const std::uint32_t pointer = U32At(entry + 8);
      const std::size_t offset = pointer & 0xFFFFFFu;
      const std::size_t length = pointer >> 24;
      if (length < kCityIdBytes || offset > bytes_.size() || length > bytes_.size() - offset) {
        return std::nullopt;
      }
      return std::string_view(bytes_).substr(offset + kCityIdBytes, length - kCityIdBytes);
    }
  }
  return std::nullopt;
}

std::optional<Text> OfflineLocationLine(std::string_view record) {
  const std::optional<std::array<Text, 5>> parts = RecordParts(record);
  if (!parts) return std::nullopt;
  const auto& [country, area, province, city, isp] = *parts;
  if (city == kPrivateRangeWord || isp == kPrivateRangeWord) return Text(kPrivateLocationText);
  const Text place = JoinTexts({province, city, isp});
  if (place.empty()) {
    const Text whole = country + area;
    return whole.empty() ? std::nullopt : std::optional<Text>(whole);
  }
  return JoinTexts({country, area, " - ", place});
}

std::optional<Text> OfflineLocationOf(const OfflineLocations* database,
                                      const std::string& address) {
  const std::optional<Ipv4Address> parsed = ParseDottedIpv4(address);
  if (!parsed) return std::nullopt;
  const auto* bytes = reinterpret_cast<const unsigned char*>(&*parsed);
  const std::uint32_t host = std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
                             std::uint32_t{bytes[2]} << 8 | bytes[3];
  if (bytes[0] == 127) return Text(kLoopbackLocationText);
  if (database == nullptr) return std::nullopt;
  const std::optional<std::string_view> record = database->RecordOf(host);
  return record ? OfflineLocationLine(*record) : std::nullopt;
}

std::shared_ptr<const OfflineLocations> ShippedOfflineLocations() {
  // Never destroyed: a first lookup may come during exit, when registering a destructor
  // waits for the exit handlers' lock that the exiting thread holds (msvcrt).
  static const auto* const database =
      new std::shared_ptr<const OfflineLocations>(ReadShippedDatabase());
  return *database;
}

}  // namespace vardelle

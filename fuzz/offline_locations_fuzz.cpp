// The offline IP database on any bytes: read as a file, every look-up stays within it. The
// input is the file itself, so the header and index the fuzzer makes point anywhere. A
// record found lies within the bytes; its line, when there is one, is never empty.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "app/location/offline_locations.h"

namespace {

void CheckLookUp(const vardelle::OfflineLocations& database, std::uint32_t address,
                 std::size_t inputSize) {
  const std::optional<std::string_view> record = database.RecordOf(address);
  if (!record) return;
  if (record->size() > inputSize) std::abort();
  const std::optional<vardelle::Text> line = vardelle::OfflineLocationLine(*record);
  if (line && line->empty()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::optional<vardelle::OfflineLocations> database =
      vardelle::OfflineLocations::FromBytes(std::string(reinterpret_cast<const char*>(data), size));
  if (!database) return 0;
  if (database->RangeCount() == 0 || database->RangeCount() > size / 12) std::abort();
  for (const std::uint32_t address : {0u, 1u, 0x7F000001u, 0x72727272u, 0xFFFFFFFFu}) {
    CheckLookUp(*database, address, size);
  }
  return 0;
}

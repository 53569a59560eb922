// Look-ups in the offline IP database the program ships: addresses spread over the whole
// IPv4 space, each a binary search over its 683,591 ranges, its record turned into the
// location line (the UTF-8 to GBK conversion included).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "app/location/offline_locations.h"
#include "support/files/file_access.h"

namespace {

void OfflineLocationLookUp(benchmark::State& state) {
  std::optional<std::string> bytes = vardelle::ReadWholeFile(VARDELLE_SHIPPED_LOCATIONS);
  std::optional<vardelle::OfflineLocations> database;
  if (bytes) database = vardelle::OfflineLocations::FromBytes(std::move(*bytes));
  if (!database) {
    state.SkipWithError("no shipped database (tools/fetch_location_database.sh)");
    return;
  }
  std::mt19937 random(7);
  std::vector<std::string> addresses;
  for (int i = 0; i < 4096; ++i) {
    const auto address = static_cast<std::uint32_t>(random());
    addresses.push_back(std::to_string(address >> 24) + "." + std::to_string(address >> 16 & 255) +
                        "." + std::to_string(address >> 8 & 255) + "." +
                        std::to_string(address & 255));
  }
  std::size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(vardelle::OfflineLocationOf(&*database, addresses[next]));
    next = (next + 1) % addresses.size();
  }
}
BENCHMARK(OfflineLocationLookUp);

}  // namespace

BENCHMARK_MAIN();

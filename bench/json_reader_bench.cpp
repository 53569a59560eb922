// The JSON reader on the documents the program fetches, beside nlohmann::json doing the same
// work on the same bytes: parse, then read every entry's three members of a server list, the
// seven fields of a location answer, or every region's code of a status-service answer. Each
// benchmark also reports the most heap held at once while one document is read, per byte of the
// document.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "support/json/json_reader.h"

namespace {

// Heap bytes held through operator new while counting is on, and the most held at once:
// counted alike for both readers. The benchmarks run on one thread.
struct HeapCount {
  bool on = false;
  std::int64_t held = 0;
  std::int64_t peak = 0;
};
HeapCount heapCount;

}  // namespace

void* operator new(std::size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) throw std::bad_alloc();
  if (heapCount.on) {
    heapCount.held += static_cast<std::int64_t>(malloc_usable_size(block));
    heapCount.peak = std::max(heapCount.peak, heapCount.held);
  }
  return block;
}

void operator delete(void* block) noexcept {
  if (heapCount.on && block != nullptr) {
    heapCount.held -= static_cast<std::int64_t>(malloc_usable_size(block));
  }
  std::free(block);
}

void operator delete(void* block, std::size_t) noexcept { operator delete(block); }

namespace {

// The names of a server list in one encoding: GBK for the reader, as the game-box site
// publishes them, and UTF-8 for nlohmann::json, which accepts nothing else.
struct ServerNames {
  std::string carrier;
  std::vector<std::string> regions;
};

const ServerNames kGbkNames = {"电信", {"艾欧尼亚", "祖安", "诺克萨斯", "班德尔城", "皮尔特沃夫"}};

std::string FromUtf8(std::u8string_view text) { return {text.begin(), text.end()}; }

const ServerNames kUtf8Names = {FromUtf8(u8"电信"),
                                {FromUtf8(u8"艾欧尼亚"), FromUtf8(u8"祖安"), FromUtf8(u8"诺克萨斯"),
                                 FromUtf8(u8"班德尔城"), FromUtf8(u8"皮尔特沃夫")}};

std::string ServerList(int entries, const ServerNames& names) {
  std::string document = "[";
  for (int i = 1; i <= entries; ++i) {
    const std::string& region = names.regions[static_cast<std::size_t>(i) % names.regions.size()];
    if (i > 1) document += ",";
    document += "{\"old_name\":\"" + names.carrier + std::to_string(i) + "\",\"new_name\":\"" +
                region + std::to_string(i) + "\",\"domain\":\"hn" + std::to_string(i) +
                ".lol.qq.com\"}";
  }
  return document + "]";
}

const std::string kLocationAnswer =
    R"({"code":0,"data":{"ip":"10.20.30.40","country":"\u4e2d\u56fd","area":"\u534e\u4e1c",)"
    R"("area_id":"300000","region":"\u4e0a\u6d77\u5e02","region_id":"310000","city":"\u4e0a\u6d77\u5e02",)"
    R"("city_id":"310100","county":"","county_id":"-1","isp":"\u7535\u4fe1","isp_id":"100017"}})";

const std::vector<std::string> kLocationPaths = {
    "code", "data.country", "data.area", "data.region", "data.city", "data.county", "data.isp"};

// The operator's status service: a status code for each region id, then the update time.
constexpr int kStatusRegions = 29;

std::string StatusAnswer() {
  std::string document = R"({"status":0,"data":[{)";
  for (int id = 1; id <= kStatusRegions; ++id) {
    if (id > 1) document += ",";
    document += "\"" + std::to_string(id) + "\":\"" + std::to_string(id % 5 + 1) + "\"";
  }
  return document + R"(},{"update":"2015-03-26 20:00:00"}]})";
}

void ReadServerListWithReader(const std::string& document) {
  vardelle::JsonReader reader;
  reader.parse(document);
  const int count = reader.getCount("");
  for (int i = 1; i <= count; ++i) {
    const std::string entry = "[" + std::to_string(i) + "]";
    benchmark::DoNotOptimize(reader.getText(entry + ".old_name"));
    benchmark::DoNotOptimize(reader.getText(entry + ".new_name"));
    benchmark::DoNotOptimize(reader.getText(entry + ".domain"));
  }
}

void ReadServerListWithNlohmann(const std::string& document) {
  const nlohmann::json json = nlohmann::json::parse(document);
  for (const auto& entry : json) {
    benchmark::DoNotOptimize(entry["old_name"].get<std::string>());
    benchmark::DoNotOptimize(entry["new_name"].get<std::string>());
    benchmark::DoNotOptimize(entry["domain"].get<std::string>());
  }
}

void ReadLocationWithReader(const std::string& document) {
  vardelle::JsonReader reader;
  reader.parse(document);
  for (const std::string& path : kLocationPaths) benchmark::DoNotOptimize(reader.getText(path));
}

void ReadLocationWithNlohmann(const std::string& document) {
  const nlohmann::json json = nlohmann::json::parse(document);
  benchmark::DoNotOptimize(json["code"].dump());
  for (std::size_t i = 1; i < kLocationPaths.size(); ++i) {
    const std::string key = kLocationPaths[i].substr(kLocationPaths[i].find('.') + 1);
    benchmark::DoNotOptimize(json["data"][key].get<std::string>());
  }
}

void ReadStatusWithReader(const std::string& document) {
  vardelle::JsonReader reader;
  reader.parse(document);
  const int count = reader.getCount("data.[1]");
  for (int id = 1; id <= count; ++id) {
    benchmark::DoNotOptimize(reader.getText("data.[1]." + std::to_string(id)));
  }
}

void ReadStatusWithNlohmann(const std::string& document) {
  const nlohmann::json json = nlohmann::json::parse(document);
  const nlohmann::json& codes = json["data"][0];
  for (int id = 1; id <= static_cast<int>(codes.size()); ++id) {
    benchmark::DoNotOptimize(codes[std::to_string(id)].get<std::string>());
  }
}

// Times read on document, then reads it once more with the heap counted.
void Measure(benchmark::State& state, const std::string& document,
             void (*read)(const std::string&)) {
  for (auto _ : state) read(document);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(document.size()));
  heapCount = {true, 0, 0};
  read(document);
  heapCount.on = false;
  state.counters["heap_per_input_byte"] =
      static_cast<double>(heapCount.peak) / static_cast<double>(document.size());
  state.counters["document_bytes"] = static_cast<double>(document.size());
}

void ReaderServerList(benchmark::State& state) {
  Measure(state, ServerList(static_cast<int>(state.range(0)), kGbkNames), ReadServerListWithReader);
}

void NlohmannServerList(benchmark::State& state) {
  Measure(state, ServerList(static_cast<int>(state.range(0)), kUtf8Names),
          ReadServerListWithNlohmann);
}

void ReaderLocation(benchmark::State& state) {
  Measure(state, kLocationAnswer, ReadLocationWithReader);
}

void NlohmannLocation(benchmark::State& state) {
  Measure(state, kLocationAnswer, ReadLocationWithNlohmann);
}

void ReaderStatus(benchmark::State& state) { Measure(state, StatusAnswer(), ReadStatusWithReader); }

void NlohmannStatus(benchmark::State& state) {
  Measure(state, StatusAnswer(), ReadStatusWithNlohmann);
}

BENCHMARK(ReaderServerList)->Arg(30)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(NlohmannServerList)->Arg(30)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReaderLocation)->Unit(benchmark::kMicrosecond);
BENCHMARK(NlohmannLocation)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReaderStatus)->Unit(benchmark::kMicrosecond);
BENCHMARK(NlohmannStatus)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

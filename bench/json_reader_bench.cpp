// The JSON reader on the two documents the program reads, beside nlohmann::json doing the
// same work on the same bytes: parse, then read every entry's three members of a server list,
// or the seven fields of a location answer.
#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "support/json/json_reader.h"

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

void ReaderServerList(benchmark::State& state) {
  const std::string document = ServerList(static_cast<int>(state.range(0)), kGbkNames);
  for (auto _ : state) {
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
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(document.size()));
}

void NlohmannServerList(benchmark::State& state) {
  const std::string document = ServerList(static_cast<int>(state.range(0)), kUtf8Names);
  for (auto _ : state) {
    const nlohmann::json json = nlohmann::json::parse(document);
    for (const auto& entry : json) {
      benchmark::DoNotOptimize(entry["old_name"].get<std::string>());
      benchmark::DoNotOptimize(entry["new_name"].get<std::string>());
      benchmark::DoNotOptimize(entry["domain"].get<std::string>());
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(document.size()));
}

void ReaderLocation(benchmark::State& state) {
  for (auto _ : state) {
    vardelle::JsonReader reader;
    reader.parse(kLocationAnswer);
    for (const std::string& path : kLocationPaths) benchmark::DoNotOptimize(reader.getText(path));
  }
}

void NlohmannLocation(benchmark::State& state) {
  for (auto _ : state) {
    const nlohmann::json json = nlohmann::json::parse(kLocationAnswer);
    benchmark::DoNotOptimize(json["code"].dump());
    for (std::size_t i = 1; i < kLocationPaths.size(); ++i) {
      const std::string key = kLocationPaths[i].substr(kLocationPaths[i].find('.') + 1);
      benchmark::DoNotOptimize(json["data"][key].get<std::string>());
    }
  }
}

BENCHMARK(ReaderServerList)->Arg(30)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(NlohmannServerList)->Arg(30)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReaderLocation)->Unit(benchmark::kMicrosecond);
BENCHMARK(NlohmannLocation)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

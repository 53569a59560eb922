// The JSON reader on any bytes: the document is the input up to its first zero byte, and
// the lines after it are paths to read ("0" as the first byte there asks for zero-based
// indexes). After parsing, the node list must be a well-formed tree in pre-order.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "support/json/json_reader.h"

namespace {

using vardelle::JsonNodeStore;
using vardelle::JsonReader;

constexpr int kMostPaths = 64;

// Every depth steps down by at most one, and every node's child count is the number of
// nodes one level below it before its subtree ends.
bool IsWellFormedTree(const JsonNodeStore& store) {
  if (store.nodeCount() < 1 || store.depthOf(1) != 1 || store.nameOf(1) != "JSON") return false;
  std::vector<int> open = {1};
  std::vector<int> seen = {0};
  for (int node = 2; node <= store.nodeCount(); ++node) {
    const int depth = store.depthOf(node);
    if (depth < 2 || depth > static_cast<int>(open.size()) + 1) return false;
    while (static_cast<int>(open.size()) >= depth) {
      if (seen.back() != store.childCountOf(open.back())) return false;
      open.pop_back();
      seen.pop_back();
    }
    ++seen.back();
    open.push_back(node);
    seen.push_back(0);
  }
  for (std::size_t i = 0; i < open.size(); ++i) {
    if (seen[i] != store.childCountOf(open[i])) return false;
  }
  return true;
}

void ReadPaths(JsonReader& reader, std::string_view paths) {
  for (int read = 0; read < kMostPaths && !paths.empty(); ++read) {
    const std::size_t end = paths.find('\n');
    const std::string_view path = paths.substr(0, end);
    int node = 0;
    reader.getText(path);
    reader.getCount(path, &node);
    if (node > 0) reader.getText(path, node);
    paths.remove_prefix(end == std::string_view::npos ? paths.size() : end + 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find('\0');
  const std::string_view document = input.substr(0, split);
  const std::string_view paths =
      split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
  JsonReader reader;
  reader.parse(document, paths.starts_with('0'));
  if (!IsWellFormedTree(reader.nodeStore())) std::abort();
  const int count = reader.getCount("");
  for (int i = 1; i <= count && i <= kMostPaths; ++i) {
    reader.getText("[" + std::to_string(i) + "].domain");
    reader.getText(reader.pathOf(i + 1));
  }
  ReadPaths(reader, paths);
  return 0;
}

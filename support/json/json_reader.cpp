#include "support/json/json_reader.h"

#include <algorithm>
#include <string>

namespace vardelle {
namespace {

constexpr std::string_view kRootName = "JSON";

char RaiseAscii(char byte) {
  return byte >= 'a' && byte <= 'z' ? static_cast<char>(byte - 32) : byte;
}
char LowerAscii(char byte) {
  return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte + 32) : byte;
}

}  // namespace

// The members or elements of one container still to be added, under their parent node.
// The tree is built with an explicit stack of these so that deep nesting cannot exhaust the
// native stack.
struct JsonReader::Level {
  int parent = 0;
  bool isObject = false;
  std::vector<JsonMember> members;
  std::vector<Text> elements;
  std::size_t next = 0;

  std::size_t size() const { return isObject ? members.size() : elements.size(); }
};

std::unique_ptr<JsonReader> JsonReader::copy() const { return std::make_unique<JsonReader>(*this); }

JsonNodeStore JsonReader::copyStore() const { return store; }

void JsonReader::setProcessEventsHook(ProcessEventsHook hook) {
  scanner.setProcessEventsHook(hook);
  store.setProcessEventsHook(hook);
  processEventsHook = std::move(hook);
}

void JsonReader::processEvents() const {
  if (processEventsHook) processEventsHook();
}

void JsonReader::parse(std::string_view text, bool zeroBased) {
  zeroBasedIndexes = zeroBased;
  store.clear();
  JsonTopLevel top = scanner.detectTopLevel(text);
  store.reserve(scanner.nodeEstimate());
  const int root = store.addNode(0, Text(kRootName), top.kind, Text(text));
  if (top.kind == 2) {
    addArrayElements(std::move(top.elements), root);
  } else {
    addObjectMembers(std::move(top.members), root);
  }
}

void JsonReader::addArrayElements(std::vector<Text> elements, int parent) {
  buildTree(
      Level{.parent = parent, .isObject = false, .members = {}, .elements = std::move(elements)});
}

void JsonReader::addObjectMembers(std::vector<JsonMember> members, int parent) {
  buildTree(
      Level{.parent = parent, .isObject = true, .members = std::move(members), .elements = {}});
}

Text JsonReader::elementName(std::size_t index) const {
  const std::size_t number = zeroBasedIndexes ? index : index + 1;
  return JoinTexts({"[", std::to_string(number), "]"});
}

// Depth first and in document order: a container's list is cut before its node is added and
// before descending, because the scanner's buffers are reused below it.
void JsonReader::buildTree(Level first) {
  std::vector<Level> levels;
  levels.push_back(std::move(first));
  while (!levels.empty()) {
    Level& level = levels.back();
    if (level.next == level.size()) {
      levels.pop_back();
      continue;
    }
    const std::size_t i = level.next++;
    const bool inObject = level.isObject;
    const int parent = level.parent;
    Text name = inObject ? std::move(level.members[i].name) : elementName(i);
    Text value = std::move(inObject ? level.members[i].value : level.elements[i]);
    const int kind = JsonScanner::valueKind(value);
    if (kind == 0 || store.depthOf(parent) + 1 >= kMaxDepth) {
      store.addNode(parent, std::move(name), kind, std::move(value));
    } else {
      Level below{.parent = 0, .isObject = kind == 1, .members = {}, .elements = {}};
      if (below.isObject) {
        below.members = scanner.splitObject(value, true);
      } else {
        below.elements = scanner.splitArray(value, true);
      }
      below.parent = store.addNode(parent, std::move(name), kind, std::move(value));
      levels.push_back(std::move(below));
    }
    if (inObject) processEvents();
  }
}

std::vector<Text> JsonReader::pathParts(std::string_view path) {
  std::vector<Text> parts;
  if (!path.empty() && scanner.splitPath(path) > 0) scanner.takePathParts(parts);
  return parts;
}

Text JsonReader::getText(std::string_view path, int startNode) {
  const Text normalized = zeroBasedIndexes ? scanner.normalizePath(path, 1) : Text(path);
  const std::vector<Text> parts = pathParts(normalized);
  if (parts.empty()) return scanner.compactSpacing(store.valueView(1));
  int node = 1;
  int skip = 0;
  if (startNode > 0) {
    node = startNode;
    skip = store.depthOf(startNode);
  }
  for (int i = 1; i <= static_cast<int>(parts.size()); ++i) {
    if (skip != 0 && i < skip) continue;  // these parts lead down to startNode
    node = store.findChild(i + 1, parts[static_cast<std::size_t>(i) - 1], node);
    if (node == JsonNodeStore::kNotFound) return {};
  }
  if (startNode > 0 && node == startNode) return {};
  return cleanValue(store.valueView(node));
}

int JsonReader::getCount(std::string_view path, int* node) {
  const std::vector<Text> parts = pathParts(path);
  if (parts.empty()) return store.childCountOf(1);
  int found = 1;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    found = store.findChild(static_cast<int>(i) + 2, parts[i], found);
    if (found == JsonNodeStore::kNotFound) return 0;
  }
  if (node != nullptr) *node = found;
  return store.childCountOf(found);
}

// An empty path is not split again: the parts of the previous split are used.
void JsonReader::setValue(std::string_view path, Text value, int kind) {
  const Text normalized = zeroBasedIndexes ? scanner.normalizePath(path, 1) : Text(path);
  if (!normalized.empty()) scanner.splitPath(normalized);
  std::vector<Text> parts;
  scanner.takePathParts(parts);
  int node = 1;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const int found = store.findChild(static_cast<int>(i) + 2, parts[i], node);
    node = found != JsonNodeStore::kNotFound ? found : store.addNode(node, parts[i], 0, {});
  }
  store.setKind(node, kind);
  store.setValue(node, std::move(value));
}

Text JsonReader::cleanValue(std::string_view text) const {
  Text cleaned = scanner.cleanName(text);
  if (cleaned.find('\\') == Text::npos) return cleaned;
  return scanner.restoreQuotes(cleaned);
}

Text JsonReader::capitalize(std::string_view text) {
  Text result(text);
  for (std::size_t i = 0; i < result.size(); ++i) {
    if (static_cast<unsigned char>(result[i]) >= 0x80) {
      ++i;  // the second byte of a double-byte character is no letter
      continue;
    }
    result[i] = i == 0 ? RaiseAscii(result[i]) : LowerAscii(result[i]);
  }
  return result;
}

Text JsonReader::pathOf(int node) const {
  std::vector<Text> names;
  for (int n = node; store.depthOf(n) > 1; n = store.parentOf(n)) {
    Text name = store.nameOf(n);
    names.push_back(name.find('.') == Text::npos ? std::move(name) : JoinTexts({"\"", name, "\""}));
  }
  std::reverse(names.begin(), names.end());
  Text path;
  for (const Text& name : names) path = path.empty() ? name : JoinTexts({path, ".", name});
  return path;
}

}  // namespace vardelle

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

bool IsStructural(char byte) {
  return byte == '{' || byte == '}' || byte == '[' || byte == ']' || byte == '"' || byte == ':' ||
         byte == ',';
}

// Counting costs little next to the scanner's index of these bytes, which is not even built
// for a document that has too many of them.
bool HasFewEnoughStructuralBytes(std::string_view text) {
  const auto count = std::count_if(text.begin(), text.end(), IsStructural);
  return static_cast<std::size_t>(count) <= JsonReader::kMaxStructuralBytes;
}

}  // namespace

// A member or element still to be added, its texts in the store's pool (an element's name
// is unused: elements are named by their number).
struct JsonReader::Entry {
  JsonTextSpan name;
  JsonTextSpan value;
};

// The members or elements of one container still to be added, under their parent node.
// The tree is built with an explicit stack of these so that deep nesting cannot exhaust the
// native stack.
struct JsonReader::Level {
  int parent = 0;
  bool isObject = false;
  std::vector<Entry> entries;
  std::size_t next = 0;
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
  elementNames.clear();
  const bool read =
      text.size() <= kMaxTextBytes && HasFewEnoughStructuralBytes(text) && buildTree(text);
  if (!read) readAsEmpty();
}

void JsonReader::readAsEmpty() {
  store.clear();
  elementNames.clear();
  store.addNode(0, Text(kRootName), 2, Text());
}

bool JsonReader::buildTree(std::string_view text) {
  const JsonTextSpan document = store.keepText(text);
  const int kind = scanner.loadTopLevel(text);
  store.reserve(std::min(scanner.nodeEstimate(), kMaxNodes));
  const int root = store.addNode(0, store.keepText(kRootName), kind, document);
  std::vector<Level> levels;
  std::size_t planned = 1;
  return addLevel(levels, planned, root, kind, document) && growTree(std::move(levels), planned);
}

// Where the scanner's loaded text lies in the pool: mostly it is the container's own value,
// as loading changes nothing in a text cut from a loaded one; otherwise a copy of it.
JsonTextSpan JsonReader::sourceSpan(JsonTextSpan loaded) {
  if (scanner.sourceBuffer() == store.textAt(loaded)) return loaded;
  return store.keepText(scanner.sourceBuffer());
}

JsonTextSpan JsonReader::keptPiece(const JsonPiece& piece, JsonTextSpan source) {
  if (piece.rewritten) return store.keepText(*piece.rewritten);
  return {source.offset + piece.offset, piece.length};
}

// Cuts the container the scanner has loaded (the text at `loaded`) into a new level under
// node; false when that would pass a limit. planned counts the nodes added or promised.
bool JsonReader::addLevel(std::vector<Level>& levels, std::size_t& planned, int node, int kind,
                          JsonTextSpan loaded) {
  const JsonTextSpan source = sourceSpan(loaded);
  const std::size_t room = planned < kMaxNodes ? kMaxNodes - planned : 0;
  Level level{.parent = node, .isObject = kind == 1, .entries = {}, .next = 0};
  if (level.isObject) {
    const auto members = scanner.objectPieces(room);
    if (!members) return false;
    level.entries.reserve(members->size());
    for (const JsonMemberPiece& member : *members) {
      const JsonTextSpan name = store.keepText(member.name);
      level.entries.push_back({name, keptPiece(member.value, source)});
    }
  } else {
    const auto elements = scanner.arrayPieces(room);
    if (!elements) return false;
    level.entries.reserve(elements->size());
    for (const JsonPiece& element : *elements) {
      level.entries.push_back({{}, keptPiece(element, source)});
    }
  }
  planned += level.entries.size();
  levels.push_back(std::move(level));
  return store.textBytes() <= kMaxTextBytes;
}

void JsonReader::addArrayElements(std::vector<Text> elements, int parent) {
  std::vector<Level> levels(1);
  levels[0].parent = parent;
  for (const Text& element : elements) levels[0].entries.push_back({{}, store.keepText(element)});
  const auto planned = static_cast<std::size_t>(store.nodeCount()) + elements.size();
  growTree(std::move(levels), planned);
}

void JsonReader::addObjectMembers(std::vector<JsonMember> members, int parent) {
  std::vector<Level> levels(1);
  levels[0].parent = parent;
  levels[0].isObject = true;
  for (const JsonMember& member : members) {
    const JsonTextSpan name = store.keepText(member.name);
    levels[0].entries.push_back({name, store.keepText(member.value)});
  }
  const auto planned = static_cast<std::size_t>(store.nodeCount()) + members.size();
  growTree(std::move(levels), planned);
}

JsonTextSpan JsonReader::elementName(std::size_t index) {
  while (elementNames.size() <= index) {
    const std::size_t number = zeroBasedIndexes ? elementNames.size() : elementNames.size() + 1;
    elementNames.push_back(store.keepText(JoinTexts({"[", std::to_string(number), "]"})));
  }
  return elementNames[index];
}

// Depth first and in document order; a container is cut right after its node is added, as
// the scanner's buffers are reused below it. False when the tree would pass a limit.
bool JsonReader::growTree(std::vector<Level> levels, std::size_t planned) {
  while (!levels.empty()) {
    Level& level = levels.back();
    if (level.next == level.entries.size()) {
      levels.pop_back();
      continue;
    }
    const std::size_t i = level.next++;
    const bool inObject = level.isObject;
    const int parent = level.parent;
    const JsonTextSpan value = level.entries[i].value;
    const JsonTextSpan name = inObject ? level.entries[i].name : elementName(i);
    const int kind = JsonScanner::valueKind(store.textAt(value));
    const bool descend = kind != 0 && store.depthOf(parent) + 1 < kMaxDepth;
    const int node = store.addNode(parent, name, kind, value);
    if (descend) {
      scanner.load(store.textAt(value));
      if (!addLevel(levels, planned, node, kind, value)) return false;
    }
    if (inObject) processEvents();
  }
  return true;
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

#include "support/json/json_reader.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>

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
// for a document that has too many of them; a shorter document cannot have too many.
bool HasFewEnoughStructuralBytes(std::string_view text) {
  if (text.size() <= JsonReader::kMaxStructuralBytes) return true;
  const auto count = std::count_if(text.begin(), text.end(), IsStructural);
  return static_cast<std::size_t>(count) <= JsonReader::kMaxStructuralBytes;
}

// Every node but the root follows an opening bracket or brace or a comma, so their count
// bounds the node count; in a plain document it is close to it. Counted in one pass, a chunk
// at a time into a byte counter, so that the loop vectorises with narrow lanes.
int PlainNodeEstimate(std::string_view text) {
  constexpr std::size_t kChunk = 255;  // a byte counter cannot overflow within a chunk
  std::size_t estimate = 1;
  for (std::size_t begin = 0; begin < text.size(); begin += kChunk) {
    const std::size_t end = std::min(begin + kChunk, text.size());
    unsigned char inChunk = 0;
    for (std::size_t i = begin; i < end; ++i) {
      const char byte = text[i];
      inChunk += static_cast<unsigned char>((byte == ',') | (byte == '{') | (byte == '['));
    }
    estimate += inChunk;
  }
  return static_cast<int>(std::min<std::size_t>(estimate, JsonReader::kMaxNodes + 1));
}

std::uint32_t NodeOffset(std::size_t offset) { return static_cast<std::uint32_t>(offset); }

// The quote that closes the string opened at `open`, or npos. Strings here are short, so a
// plain loop beats a library search.
std::size_t ClosingQuote(std::string_view text, std::size_t open) {
  for (std::size_t i = open + 1; i < text.size(); ++i) {
    if (text[i] == '"') return i;
  }
  return std::string_view::npos;
}

// The colon after a quoted key at pos, or npos when no quoted key and colon follow.
std::size_t KeyEnd(std::string_view text, std::size_t pos) {
  if (pos >= text.size() || text[pos] != '"') return std::string_view::npos;
  const std::size_t quote = ClosingQuote(text, pos);
  if (quote == std::string_view::npos || quote + 1 == text.size() || text[quote + 1] != ':') {
    return std::string_view::npos;
  }
  return quote + 1;
}

// A byte that is none of the bytes the cutters look for.
bool IsPlainByte(char byte) { return !IsStructural(byte); }

// The first structural byte at or after `from` outside string literals, or npos when a string
// runs to the end or no such byte follows.
std::size_t SlotEnd(std::string_view text, std::size_t from) {
  for (std::size_t i = from; i < text.size(); ++i) {
    if (IsPlainByte(text[i])) continue;
    if (text[i] != '"') return i;
    i = ClosingQuote(text, i);
    if (i == std::string_view::npos) return i;
  }
  return std::string_view::npos;
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

// A container of the one-pass build whose closing byte is still ahead.
struct JsonReader::OpenContainer {
  int node = 0;
  bool isObject = false;
  std::size_t start = 0;  // its opening byte
  std::size_t slots = 0;  // members or elements met so far
  // An array's first element while it is empty: an array of one empty element has none.
  std::optional<JsonTextSpan> heldEmpty;
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
  if (text.size() > kMaxTextBytes || !HasFewEnoughStructuralBytes(text)) return readAsEmpty();
  if (buildPlainTree(text)) return;
  store.clear();
  elementNames.clear();
  if (!buildTree(text)) readAsEmpty();
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

// The documents the program reads are plainly written: after loading, every member is a
// quoted key, a colon and a value, every container's slots are separated by commas, and
// blanks lie only around plain values. For such a document the scanner's cutters find the
// very slots a reading by the grammar finds, and every nested container would load as it
// is, so the tree is built in one pass over the loaded text, with the pieces the scanner
// would make of each slot. False, with a partial tree, for any other document, and for
// trees that go down to the depth limit or past the node limit.
bool JsonReader::buildPlainTree(std::string_view text) {
  if (text.size() > kMaxPlainBytes) return false;
  const bool changes = JsonScanner::changesOnLoad(text);
  const Text changed = changes ? scanner.loadedText(text) : Text();
  const std::string_view loaded = changes ? std::string_view(changed) : text;
  if (loaded.empty() || (loaded.front() != '{' && loaded.front() != '[')) return false;
  if (changes && !JsonScanner::reloadsUnchanged(loaded)) return false;
  // Room for the document, its loaded form and, mostly, the element names and the few
  // rewritten pieces, so that the pool is not copied while it grows past the document.
  const std::size_t sourceBytes = loaded == text ? 0 : loaded.size();
  store.reserveTexts(text.size() + sourceBytes + (text.size() + sourceBytes) / 4 + 64);
  const JsonTextSpan document = store.keepText(text);
  const JsonTextSpan source = loaded == text ? document : store.keepText(loaded);
  store.reserve(PlainNodeEstimate(loaded));
  const int kind = JsonScanner::valueKind(loaded);
  const int root = store.addNode(0, store.keepText(kRootName), kind, document);
  return cutPlainly(loaded, source, root);
}

// Reads slot after slot: at a slot, pos is the byte after an opening bracket or brace or a
// comma; after it, pos is the byte that ends it.
bool JsonReader::cutPlainly(std::string_view text, JsonTextSpan source, int root) {
  std::vector<OpenContainer> open;
  open.push_back(
      {.node = root, .isObject = text.front() == '{', .start = 0, .slots = 0, .heldEmpty = {}});
  std::size_t pos = 1;
  bool atSlot = true;
  for (;;) {
    OpenContainer& top = open.back();
    if (atSlot) {
      atSlot = false;
      std::size_t slot = pos;
      JsonTextSpan name;
      if (top.isObject) {
        const std::size_t colon = KeyEnd(text, pos);
        if (colon == std::string_view::npos) {
          // Only an object without members may lack a key: the cutters find no colon in it.
          pos = SlotEnd(text, pos);
          if (top.slots != 0 || pos == std::string_view::npos || text[pos] != '}') return false;
          continue;
        }
        name = keptPiece(scanner.namePiece(text, pos, colon), source);
        slot = colon + 1;
      }
      ++top.slots;
      if (slot < text.size() && (text[slot] == '{' || text[slot] == '[')) {
        const int kind = JsonScanner::valueKind(text.substr(slot, 1));
        const int node = addPlainNode(top, name, kind, {source.offset + NodeOffset(slot), 0});
        if (node == 0 || store.depthOf(node) >= kMaxDepth) return false;
        open.push_back(
            {.node = node, .isObject = kind == 1, .start = slot, .slots = 0, .heldEmpty = {}});
        pos = slot + 1;
        atSlot = true;
        continue;
      }
      pos = SlotEnd(text, slot);
      if (pos == std::string_view::npos) return false;
      if (!addPlainValue(top, name, keptPiece(scanner.trimmedPiece(text, slot, pos), source))) {
        return false;
      }
      continue;
    }
    if (pos == text.size()) return false;
    if (text[pos] == ',') {
      if (top.heldEmpty && addPlainNode(top, {}, 0, *std::exchange(top.heldEmpty, {})) == 0) {
        return false;
      }
      ++pos;
      atSlot = true;
      continue;
    }
    if (text[pos] != (top.isObject ? '}' : ']')) return false;
    if (top.node != root && !closePlainly(top, text, source, pos)) return false;
    open.pop_back();
    ++pos;
    if (open.empty()) return pos == text.size();
  }
}

// A slot's plain value; an array's first one is held while it is empty.
bool JsonReader::addPlainValue(OpenContainer& container, JsonTextSpan name, JsonTextSpan value) {
  if (!container.isObject && container.slots == 1 && value.length == 0) {
    container.heldEmpty = value;
    return true;
  }
  return addPlainNode(container, name, 0, value) != 0;
}

// The new node, or 0 past the node limit.
int JsonReader::addPlainNode(const OpenContainer& container, JsonTextSpan name, int kind,
                             JsonTextSpan value) {
  const JsonTextSpan nodeName = container.isObject ? name : elementName(container.slots - 1);
  const int node = store.addNode(container.node, nodeName, kind, value);
  if (container.isObject) processEvents();
  return store.nodeCount() > kMaxNodes ? 0 : node;
}

// A nested container's value is its text, which the trim leaves whole unless it spans lines
// that end in blanks; then the cutters would read the trimmed text instead.
bool JsonReader::closePlainly(const OpenContainer& container, std::string_view text,
                              JsonTextSpan source, std::size_t closer) {
  const std::size_t length = closer + 1 - container.start;
  const JsonPiece piece = scanner.trimmedPiece(text, container.start, closer + 1);
  if (piece.rewritten || piece.offset != container.start || piece.length != length) return false;
  const JsonTextSpan value{source.offset + NodeOffset(container.start), NodeOffset(length)};
  store.setValue(container.node, value);
  return true;
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
    std::array<char, 24> name{'['};
    char* end = std::to_chars(name.data() + 1, name.data() + name.size() - 1, number).ptr;
    *end++ = ']';
    elementNames.push_back(store.keepText(std::string_view(name.data(), end)));
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

// The parts of the path, held by the scanner until the next split.
std::span<const std::string_view> JsonReader::pathParts(std::string_view path) {
  if (path.empty()) return {};
  return scanner.pathPartViews(path);
}

Text JsonReader::getText(std::string_view path, int startNode) {
  const Text normalized = zeroBasedIndexes ? scanner.normalizePath(path, 1) : Text();
  const std::span<const std::string_view> parts = pathParts(zeroBasedIndexes ? normalized : path);
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
  const std::span<const std::string_view> parts = pathParts(path);
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
  // Values are short: a plain walk beats the library's search.
  if (std::find(cleaned.begin(), cleaned.end(), '\\') == cleaned.end()) return cleaned;
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

// Reads the JSON documents this program fetches (the server list, the location answer) into
// a tree of named nodes and answers paths such as "[3].domain" or "data.city".
//
// It is not a general JSON library: values come back as their text (strings without their
// quotes, escapes never decoded), array elements are named [1], [2], … (or [0], [1], … when
// parsed with zero-based indexes), blanks next to quotes, brackets and braces are dropped,
// and malformed input gives empty answers instead of failing.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "support/json/json_node_store.h"
#include "support/json/json_scanner.h"
#include "support/text/text.h"

namespace vardelle {

class JsonReader {
 public:
  // Containers are cut into children down to this node depth (the root is at depth 1); a
  // deeper container is kept as one node with its kind and text but no children, so that
  // hostile nesting costs bounded time and memory.
  static constexpr int kMaxDepth = 32;
  // So that hostile documents cost bounded memory too, parse reads a document as the empty
  // document (the root alone: every count 0, every path ""), as if it were none at all,
  // when it would give more than kMaxNodes nodes, holds more than kMaxStructuralBytes
  // brackets, braces, quotes, colons and commas, or when the texts the tree keeps (the
  // document, its compacted form and the values that are not plain stretches of either)
  // would pass kMaxTextBytes. The server list and the location answer are far below.
  static constexpr int kMaxNodes = 1'000'000;
  static constexpr std::size_t kMaxStructuralBytes = 8 * kMaxNodes;
  static constexpr std::size_t kMaxTextBytes = std::size_t{256} << 20;

  JsonReader() = default;
  JsonReader(const JsonReader& other) = default;
  JsonReader& operator=(const JsonReader&) = delete;
  ~JsonReader() = default;

  std::unique_ptr<JsonReader> copy() const;
  JsonNodeStore copyStore() const;
  void parse(std::string_view text, bool zeroBasedIndexes = false);
  Text getText(std::string_view path, int startNode = 0);
  void setValue(std::string_view path, Text value, int kind);
  // node, when given, receives the node the path names (left alone when it names none).
  int getCount(std::string_view path, int* node = nullptr);
  void addArrayElements(std::vector<Text> elements, int parent);
  void addObjectMembers(std::vector<JsonMember> members, int parent);
  Text cleanValue(std::string_view text) const;
  static Text capitalize(std::string_view text);
  Text pathOf(int node) const;

  void setProcessEventsHook(ProcessEventsHook hook);
  const JsonNodeStore& nodeStore() const { return store; }

 private:
  struct Entry;
  struct Level;
  struct OpenContainer;
  // Documents up to this size cannot reach kMaxTextBytes in the one-pass build.
  static constexpr std::size_t kMaxPlainBytes = kMaxTextBytes / 8;

  bool buildPlainTree(std::string_view text);
  bool cutPlainly(std::string_view text, JsonTextSpan source, int root);
  bool addPlainValue(OpenContainer& container, JsonTextSpan name, JsonTextSpan value);
  int addPlainNode(const OpenContainer& container, JsonTextSpan name, int kind, JsonTextSpan value);
  bool closePlainly(const OpenContainer& container, std::string_view text, JsonTextSpan source,
                    std::size_t closer);
  bool buildTree(std::string_view text);
  bool growTree(std::vector<Level> levels, std::size_t planned);
  bool addLevel(std::vector<Level>& levels, std::size_t& planned, int node, int kind,
                JsonTextSpan loaded);
  JsonTextSpan sourceSpan(JsonTextSpan loaded);
  JsonTextSpan keptPiece(const JsonPiece& piece, JsonTextSpan source);
  void readAsEmpty();
  void processEvents() const;
  JsonTextSpan elementName(std::size_t index);
  std::span<const std::string_view> pathParts(std::string_view path);

  bool zeroBasedIndexes = false;
  JsonNodeStore store;
  JsonScanner scanner;
  // "[1]", "[2]", … kept once in the store for all arrays of the tree.
  std::vector<JsonTextSpan> elementNames;
  ProcessEventsHook processEventsHook;
};

}  // namespace vardelle

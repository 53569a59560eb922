// The JSON reader's flat node list, in pre-order: a node's subtree is the run of nodes that
// follows it while their depth is greater than its own. Indexes are 1-based; out-of-range
// indexes answer -1, "" or false.
//
// Names and values live in one text pool that only grows; a node holds where its texts lie
// there, so a node costs 32 bytes and nodes may share their texts (a member's value is
// usually a stretch of its container's value). The pool holds at most 4 GiB: a text that
// would pass that is kept empty.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "support/json/json_scanner.h"
#include "support/text/text.h"

namespace vardelle {

// Where a text lies in a store's text pool.
struct JsonTextSpan {
  std::uint32_t offset = 0;
  std::uint32_t length = 0;
};

// A node as handed in and out by copyNodes and addNode's readyNodes.
struct JsonNode {
  Text name;      // key without quotes, "[n]" for an array element, "JSON" for the root
  int kind = 0;   // 0 plain value, 1 object, 2 array
  Text value;     // the value as written, trimmed
  int depth = 0;  // 1 for the root
  int childCount = 0;
  int ordinal = 0;  // 1-based position among the parent's children
};

class JsonNodeStore {
 public:
  static constexpr int kNotFound = -1;

  JsonNodeStore() = default;
  // Copies hold the nodes only; name indexes point into their own store and are rebuilt.
  JsonNodeStore(const JsonNodeStore& other);
  JsonNodeStore& operator=(const JsonNodeStore& other);
  JsonNodeStore(JsonNodeStore&&) noexcept = default;
  JsonNodeStore& operator=(JsonNodeStore&&) noexcept = default;

  void setProcessEventsHook(ProcessEventsHook hook);

  // Adds delta to the depth of each listed node, or sets it to value when delta is 0.
  int shiftDepths(const std::vector<int>& nodes, int value, int delta);
  // Adds a node as the last child of parent (or at the end of the list, at depth 1, when
  // parent names no node). A positive insertPosition not above the parent's child count puts
  // it before that child instead. readyNodes, when given, become the new node's subtree.
  int addNode(int parent, Text name, int kind, Text value, int insertPosition = 0,
              const std::vector<JsonNode>* readyNodes = nullptr);
  // Appends a node whose texts are already in the pool, as the last child of parent.
  int addNode(int parent, JsonTextSpan name, int kind, JsonTextSpan value);
  // Puts a text into the pool; its span stays valid until clear().
  JsonTextSpan keepText(std::string_view text);
  std::string_view textAt(JsonTextSpan span) const;
  std::size_t textBytes() const { return texts.size(); }
  int subtreeEnd(int node) const;
  void recountChildren(int node);
  std::vector<int> childrenOf(int depth, int start) const;
  int nthChild(int depth, int n, int start) const;
  int findChild(int depth, std::string_view name, int start) const;
  int depthOf(int node) const;
  int parentOf(int node) const;
  int findParent(int node, int depth) const;
  bool hasChildren(int node) const;
  int childCountOf(int node) const;
  Text nameOf(int node) const;
  int kindOf(int node) const;
  Text valueOf(int node) const;
  std::string_view valueView(int node) const;
  bool setName(int node, Text name);
  bool setKind(int node, int kind);
  bool setValue(int node, Text value);
  bool setValue(int node, JsonTextSpan value);
  int nodeCount() const;
  void reserve(int count) { nodes.reserve(static_cast<std::size_t>(std::max(count, 0))); }
  void reserveTexts(std::size_t bytes) { texts.reserve(bytes); }
  int topLevelCount() const { return topLevel; }
  bool removeNode(int node, bool withSubtree);
  void clear();
  int copyNodes(std::vector<JsonNode>& copies) const;

 private:
  // Names are short ("[17]", "domain"), so a byte-wise hash beats the library's.
  static std::size_t shortNameHash(std::string_view name) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const char byte : name)
      hash = (hash ^ static_cast<unsigned char>(byte)) * 1099511628211ull;
    return static_cast<std::size_t>(hash);
  }
  // The first node of each name met by findChild's walk for one (start, depth): an open
  // addressing table of node numbers (0 for an empty slot) in indexSlots, its size a power
  // of two. Slots hold nodes rather than names, so the pool may move under them.
  struct NameIndex {
    std::size_t first = 0;
    std::size_t mask = 0;
  };

  struct StoredNode {
    JsonTextSpan name;
    JsonTextSpan value;
    std::int32_t depth = 0;
    std::int32_t childCount = 0;
    std::int32_t ordinal = 0;
    std::int32_t kind = 0;
  };

  bool contains(int node) const { return node >= 1 && node <= nodeCount(); }
  const StoredNode& at(int node) const { return nodes[static_cast<std::size_t>(node) - 1]; }
  StoredNode& at(int node) { return nodes[static_cast<std::size_t>(node) - 1]; }
  std::string_view nameView(int node) const { return textAt(at(node).name); }
  StoredNode stored(const JsonNode& node);
  JsonNode exchanged(const StoredNode& node) const;
  int placeUnder(int parent, StoredNode node, int insertPosition);
  void processEvents() const;
  void structureChanged();
  bool subtreeReachesEnd(int parent) const;
  int insertNode(int position, StoredNode node);
  template <class Visit>
  int walkLevel(int depth, int start, Visit visit) const;
  int& slotFor(NameIndex index, std::string_view name) const;
  NameIndex nameIndexFor(int depth, int start) const;
  void dropNameIndexes();

  std::vector<StoredNode> nodes;
  std::string texts;
  int topLevel = 0;
  // lastAtDepth[d - 1]: the last node at depth d whose subtree runs to the end of the list,
  // as long as nodes were only appended; lets appends skip the subtree walk.
  std::vector<int> lastAtDepth;
  bool appendOnly = true;
  mutable std::unordered_map<std::uint64_t, NameIndex> nameIndexes;
  mutable std::vector<int> indexSlots;
  ProcessEventsHook processEventsHook;
};

}  // namespace vardelle

#include "support/json/json_node_store.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace vardelle {
namespace {

// A level with at least this many children gets a name index instead of a linear walk.
constexpr int kIndexedChildCount = 16;

std::uint64_t IndexKey(int depth, int start) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(start)) << 32) |
         static_cast<std::uint32_t>(depth);
}

}  // namespace

JsonNodeStore::JsonNodeStore(const JsonNodeStore& other)
    : nodes(other.nodes),
      texts(other.texts),
      topLevel(other.topLevel),
      lastAtDepth(other.lastAtDepth),
      appendOnly(other.appendOnly),
      processEventsHook(other.processEventsHook) {}

JsonNodeStore& JsonNodeStore::operator=(const JsonNodeStore& other) {
  if (this != &other) {
    JsonNodeStore copy(other);
    *this = std::move(copy);
  }
  return *this;
}

void JsonNodeStore::setProcessEventsHook(ProcessEventsHook hook) {
  processEventsHook = std::move(hook);
}

void JsonNodeStore::processEvents() const {
  if (processEventsHook) processEventsHook();
}

void JsonNodeStore::dropNameIndexes() {
  if (nameIndexes.empty()) return;
  nameIndexes.clear();
  indexSlots.clear();
}

void JsonNodeStore::structureChanged() {
  dropNameIndexes();
  appendOnly = false;
  lastAtDepth.clear();
}

int JsonNodeStore::nodeCount() const { return static_cast<int>(nodes.size()); }

int JsonNodeStore::shiftDepths(const std::vector<int>& list, int value, int delta) {
  int changed = 0;
  for (int node : list) {
    if (!contains(node)) continue;
    at(node).depth = delta == 0 ? value : at(node).depth + delta;
    ++changed;
  }
  if (changed > 0) structureChanged();
  return changed;
}

bool JsonNodeStore::subtreeReachesEnd(int parent) const {
  const auto depth = static_cast<std::size_t>(at(parent).depth);
  return appendOnly && depth >= 1 && depth <= lastAtDepth.size() &&
         lastAtDepth[depth - 1] == parent;
}

JsonTextSpan JsonNodeStore::keepText(std::string_view text) {
  if (text.size() > std::numeric_limits<std::uint32_t>::max() - texts.size()) return {};
  const JsonTextSpan span{static_cast<std::uint32_t>(texts.size()),
                          static_cast<std::uint32_t>(text.size())};
  texts.append(text);
  return span;
}

std::string_view JsonNodeStore::textAt(JsonTextSpan span) const {
  return std::string_view(texts).substr(span.offset, span.length);
}

JsonNodeStore::StoredNode JsonNodeStore::stored(const JsonNode& node) {
  const JsonTextSpan name = keepText(node.name);
  return {name, keepText(node.value), node.depth, node.childCount, node.ordinal, node.kind};
}

JsonNode JsonNodeStore::exchanged(const StoredNode& node) const {
  return {Text(textAt(node.name)), node.kind,   Text(textAt(node.value)), node.depth,
          node.childCount,         node.ordinal};
}

int JsonNodeStore::insertNode(int position, StoredNode node) {
  const int depth = node.depth;
  dropNameIndexes();
  if (position == nodeCount() + 1) {
    nodes.push_back(std::move(node));
    if (appendOnly) {
      lastAtDepth.resize(static_cast<std::size_t>(std::max(depth, 1)));
      lastAtDepth.back() = position;
    }
  } else {
    nodes.insert(nodes.begin() + (position - 1), std::move(node));
    structureChanged();
  }
  return position;
}

int JsonNodeStore::addNode(int parent, JsonTextSpan name, int kind, JsonTextSpan value) {
  return placeUnder(parent, {name, value, 1, 0, 0, kind}, 0);
}

int JsonNodeStore::addNode(int parent, Text name, int kind, Text value, int insertPosition,
                           const std::vector<JsonNode>* readyNodes) {
  const JsonTextSpan nameSpan = keepText(name);
  const int position =
      placeUnder(parent, {nameSpan, keepText(value), 1, 0, 0, kind}, insertPosition);
  if (readyNodes != nullptr && !readyNodes->empty()) {
    int shallowest = readyNodes->front().depth;
    for (const JsonNode& ready : *readyNodes) shallowest = std::min(shallowest, ready.depth);
    const int shift = at(position).depth + 1 - shallowest;
    auto place = nodes.begin() + position;
    for (const JsonNode& ready : *readyNodes) {
      StoredNode copy = stored(ready);
      copy.depth += shift;
      place = nodes.insert(place, copy) + 1;
    }
    structureChanged();
    recountChildren(position);
  }
  return position;
}

int JsonNodeStore::placeUnder(int parent, StoredNode node, int insertPosition) {
  int position = 0;
  if (!contains(parent)) {
    node.ordinal = ++topLevel;
    position = insertNode(nodeCount() + 1, node);
  } else {
    node.depth = at(parent).depth + 1;
    const bool beforeChild = insertPosition > 0 && insertPosition <= at(parent).childCount;
    if (beforeChild) {
      position = nthChild(node.depth, insertPosition, parent);
    } else if (subtreeReachesEnd(parent)) {
      position = nodeCount() + 1;
    } else {
      const int end = subtreeEnd(parent);
      position = end == kNotFound ? nodeCount() + 1 : end;
    }
    node.ordinal = ++at(parent).childCount;
    insertNode(position, node);
    if (beforeChild) recountChildren(parent);
  }
  return position;
}

int JsonNodeStore::subtreeEnd(int node) const {
  if (!contains(node)) return kNotFound;
  const int depth = at(node).depth;
  for (int i = node; i < nodeCount();) {
    processEvents();
    ++i;
    if (at(i).depth <= depth) return i;
    i += at(i).childCount;
  }
  return kNotFound;
}

void JsonNodeStore::recountChildren(int node) {
  if (node != 0 && !contains(node)) return;
  const int depth = node == 0 ? 0 : at(node).depth;
  int count = 0;
  for (int i = node + 1; i <= nodeCount() && at(i).depth > depth; ++i) {
    if (at(i).depth == depth + 1) at(i).ordinal = ++count;
  }
  if (node == 0) {
    topLevel = count;
  } else {
    at(node).childCount = count;
  }
}

// Visits, in order, the nodes at the given depth that findChild's walk from start meets:
// deeper nodes are skipped by their child counts, a shallower node ends the walk. Stops at the
// first node for which visit answers true and returns it, or kNotFound.
template <class Visit>
int JsonNodeStore::walkLevel(int depth, int start, Visit visit) const {
  for (int i = std::max(start, 0); i < nodeCount();) {
    processEvents();
    ++i;
    const int nodeDepth = at(i).depth;
    if (nodeDepth == depth) {
      if (visit(i)) return i;
    } else if (nodeDepth < depth) {
      return kNotFound;
    } else {
      i += at(i).childCount;
    }
  }
  return kNotFound;
}

std::vector<int> JsonNodeStore::childrenOf(int depth, int start) const {
  std::vector<int> found;
  walkLevel(depth, start, [&](int i) {
    found.push_back(i);
    return false;
  });
  return found;
}

int JsonNodeStore::nthChild(int depth, int n, int start) const {
  int seen = 0;
  return walkLevel(depth, start, [&](int) { return ++seen == n; });
}

// The slot holding the node of that name, or the empty slot where it would go.
int& JsonNodeStore::slotFor(NameIndex index, std::string_view name) const {
  for (std::size_t slot = shortNameHash(name);; ++slot) {
    int& held = indexSlots[index.first + (slot & index.mask)];
    if (held == 0 || nameView(held) == name) return held;
  }
}

JsonNodeStore::NameIndex JsonNodeStore::nameIndexFor(int depth, int start) const {
  const auto [entry, added] = nameIndexes.try_emplace(IndexKey(depth, start));
  if (!added) return entry->second;
  std::size_t count = 0;
  walkLevel(depth, start, [&count](int) {
    ++count;
    return false;
  });
  // At most half full, so that probes stay short and always reach an empty slot.
  const NameIndex index{indexSlots.size(), std::bit_ceil(2 * count) - 1};
  indexSlots.resize(index.first + index.mask + 1, 0);
  walkLevel(depth, start, [&](int i) {
    int& slot = slotFor(index, nameView(i));
    if (slot == 0) slot = i;  // the first of equal names wins
    return false;
  });
  entry->second = index;
  return index;
}

// Reading every element of a long array asks for one name after the other at the same level;
// an index built from the very walk findChild makes keeps that linear and the answers equal.
int JsonNodeStore::findChild(int depth, std::string_view name, int start) const {
  const int from = std::max(start, 0);
  const int width = from == 0 ? topLevel : childCountOf(from);
  if (width < kIndexedChildCount) {
    return walkLevel(depth, from, [&](int i) { return nameView(i) == name; });
  }
  const int found = slotFor(nameIndexFor(depth, from), name);
  return found == 0 ? kNotFound : found;
}

int JsonNodeStore::depthOf(int node) const { return contains(node) ? at(node).depth : kNotFound; }

int JsonNodeStore::parentOf(int node) const {
  if (!contains(node)) return kNotFound;
  return findParent(node, at(node).depth);
}

// Walks back by ordinals: each hop lands at or after the parent of the node it leaves.
int JsonNodeStore::findParent(int node, int depth) const {
  if (depth == 1) return 0;
  int i = node;
  if (contains(node)) {
    i = node - at(node).ordinal;
  } else if (node > nodeCount()) {
    i = nodeCount();
  }
  while (contains(i)) {
    if (at(i).depth == depth - 1) return i;
    const int ordinal = at(i).ordinal;
    if (ordinal < 1) return kNotFound;
    i -= ordinal;
  }
  return kNotFound;
}

bool JsonNodeStore::hasChildren(int node) const {
  return contains(node) && at(node).childCount > 0;
}

int JsonNodeStore::childCountOf(int node) const {
  return contains(node) ? at(node).childCount : kNotFound;
}

Text JsonNodeStore::nameOf(int node) const {
  return contains(node) ? Text(nameView(node)) : Text();
}

int JsonNodeStore::kindOf(int node) const { return contains(node) ? at(node).kind : kNotFound; }

Text JsonNodeStore::valueOf(int node) const { return Text(valueView(node)); }

std::string_view JsonNodeStore::valueView(int node) const {
  return contains(node) ? textAt(at(node).value) : std::string_view();
}

bool JsonNodeStore::setName(int node, Text name) {
  if (!contains(node)) return false;
  at(node).name = keepText(name);
  dropNameIndexes();
  return true;
}

bool JsonNodeStore::setKind(int node, int kind) {
  if (!contains(node)) return false;
  at(node).kind = kind;
  return true;
}

bool JsonNodeStore::setValue(int node, Text value) {
  return contains(node) && setValue(node, keepText(value));
}

bool JsonNodeStore::setValue(int node, JsonTextSpan value) {
  if (!contains(node)) return false;
  at(node).value = value;
  return true;
}

bool JsonNodeStore::removeNode(int node, bool withSubtree) {
  if (!contains(node)) return false;
  const int parent = parentOf(node);
  const int end = subtreeEnd(node);
  const int last = end == kNotFound ? nodeCount() : end - 1;
  if (withSubtree) {
    nodes.erase(nodes.begin() + (node - 1), nodes.begin() + last);
  } else {
    for (int i = node + 1; i <= last; ++i) --at(i).depth;  // its children take its place
    nodes.erase(nodes.begin() + (node - 1));
  }
  structureChanged();
  recountChildren(std::max(parent, 0));
  return true;
}

void JsonNodeStore::clear() {
  nodes.clear();
  texts.clear();
  topLevel = 0;
  dropNameIndexes();
  lastAtDepth.clear();
  appendOnly = true;
}

int JsonNodeStore::copyNodes(std::vector<JsonNode>& copies) const {
  copies.clear();
  copies.reserve(nodes.size());
  for (const StoredNode& node : nodes) copies.push_back(exchanged(node));
  return nodeCount();
}

}  // namespace vardelle

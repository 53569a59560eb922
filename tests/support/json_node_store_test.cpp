#include "support/json/json_node_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vardelle {
namespace {

// root
//   a          (object)
//     x
//     y        (array)
//       [1]
//   b
class JsonNodeStoreTree : public ::testing::Test {
 protected:
  void SetUp() override {
    root = store.addNode(0, "JSON", 1, "{}");
    a = store.addNode(root, "a", 1, "{}");
    b = store.addNode(root, "b", 0, "2");
    x = store.addNode(a, "x", 0, "1");  // inserted before b
    y = store.addNode(a, "y", 2, "[]");
    element = store.addNode(y, "[1]", 0, "3");
  }

  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (int i = 1; i <= store.nodeCount(); ++i) names.push_back(store.nameOf(i));
    return names;
  }

  JsonNodeStore store;
  int root = 0, a = 0, b = 0, x = 0, y = 0, element = 0;
};

TEST_F(JsonNodeStoreTree, AddingUnderAnEarlierParentKeepsPreOrder) {
  EXPECT_EQ(Names(), (std::vector<std::string>{"JSON", "a", "x", "y", "[1]", "b"}));
  EXPECT_EQ(store.childCountOf(root), 2);
  EXPECT_EQ(store.childCountOf(a), 2);
  EXPECT_EQ(store.depthOf(5), 4);
  EXPECT_EQ(store.topLevelCount(), 1);
}

TEST_F(JsonNodeStoreTree, WalksAnswerByLevel) {
  EXPECT_EQ(store.subtreeEnd(2), 6);
  EXPECT_EQ(store.subtreeEnd(6), JsonNodeStore::kNotFound);
  EXPECT_EQ(store.findChild(2, "b", 1), 6);
  EXPECT_EQ(store.findChild(3, "y", 2), 4);
  EXPECT_EQ(store.findChild(3, "b", 2), JsonNodeStore::kNotFound);
  EXPECT_EQ(store.childrenOf(3, 2), (std::vector<int>{3, 4}));
  EXPECT_EQ(store.nthChild(2, 2, 1), 6);
  EXPECT_EQ(store.parentOf(5), 4);
  EXPECT_EQ(store.parentOf(6), 1);
  EXPECT_EQ(store.parentOf(1), 0);
  EXPECT_EQ(store.findParent(store.nodeCount() + 1, 3), 6);  // b, the last node one level up
}

TEST_F(JsonNodeStoreTree, InsertPositionAndRemovalRecount) {
  const int first = store.addNode(2, "w", 0, "0", 1);
  EXPECT_EQ(first, 3);
  EXPECT_EQ(Names(), (std::vector<std::string>{"JSON", "a", "w", "x", "y", "[1]", "b"}));
  EXPECT_EQ(store.childCountOf(2), 3);
  EXPECT_TRUE(store.removeNode(5, true));
  EXPECT_EQ(Names(), (std::vector<std::string>{"JSON", "a", "w", "x", "b"}));
  EXPECT_EQ(store.childCountOf(2), 2);
  EXPECT_TRUE(store.removeNode(2, false));
  EXPECT_EQ(Names(), (std::vector<std::string>{"JSON", "w", "x", "b"}));
  EXPECT_EQ(store.childCountOf(1), 3);
  EXPECT_EQ(store.findChild(2, "x", 1), 3);
  EXPECT_FALSE(store.removeNode(9, true));
}

TEST_F(JsonNodeStoreTree, ReadyNodesBecomeTheSubtree) {
  std::vector<JsonNode> copies;
  ASSERT_EQ(store.copyNodes(copies), 6);
  const std::vector<JsonNode> subtree(copies.begin() + 3, copies.begin() + 5);  // y and [1]
  const int added = store.addNode(6, "c", 2, "[]", 0, &subtree);
  EXPECT_EQ(Names(),
            (std::vector<std::string>{"JSON", "a", "x", "y", "[1]", "b", "c", "y", "[1]"}));
  EXPECT_EQ(store.depthOf(added + 1), store.depthOf(added) + 1);
  EXPECT_EQ(store.childCountOf(added), 1);
}

TEST_F(JsonNodeStoreTree, OutOfRangeIndexesAnswerEmpty) {
  for (int node : {0, -3, 7}) {
    EXPECT_EQ(store.depthOf(node), -1);
    EXPECT_EQ(store.kindOf(node), -1);
    EXPECT_EQ(store.childCountOf(node), -1);
    EXPECT_EQ(store.nameOf(node), "");
    EXPECT_EQ(store.valueOf(node), "");
    EXPECT_FALSE(store.hasChildren(node));
    EXPECT_FALSE(store.setName(node, "n"));
    EXPECT_FALSE(store.setKind(node, 1));
    EXPECT_FALSE(store.setValue(node, "v"));
  }
}

TEST_F(JsonNodeStoreTree, ShiftDepthsAddsOrSets) {
  EXPECT_EQ(store.shiftDepths({3, 4, 99}, 0, 2), 2);
  EXPECT_EQ(store.depthOf(3), 5);
  EXPECT_EQ(store.shiftDepths({3}, 3, 0), 1);
  EXPECT_EQ(store.depthOf(3), 3);
}

// Wide levels are answered from a name index; it must answer as the walk does.
TEST(JsonNodeStoreWide, IndexedLookupsMatchTheWalk) {
  JsonNodeStore store;
  const int root = store.addNode(0, "JSON", 2, "[]");
  for (int i = 1; i <= 40; ++i) {
    const int element = store.addNode(root, "[" + std::to_string(i % 30) + "]", 1, "{}");
    store.addNode(element, "k", 0, std::to_string(i));
  }
  EXPECT_EQ(store.valueOf(store.findChild(3, "k", store.findChild(2, "[5]", root))), "5");
  EXPECT_EQ(store.valueOf(store.findChild(3, "k", store.findChild(2, "[0]", root))), "30");
  EXPECT_EQ(store.findChild(2, "[31]", root), JsonNodeStore::kNotFound);
  EXPECT_EQ(store.findChild(3, "k", root), JsonNodeStore::kNotFound);
  const int fifth = store.findChild(2, "[5]", root);
  ASSERT_TRUE(store.setName(fifth, "[77]"));
  EXPECT_EQ(store.findChild(2, "[77]", root), fifth);
  EXPECT_EQ(store.valueOf(store.findChild(3, "k", store.findChild(2, "[5]", root))), "35");
}

}  // namespace
}  // namespace vardelle

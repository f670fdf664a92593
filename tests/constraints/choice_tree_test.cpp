// The choice tree: cutting excluded regions and reading one survivor, checked
// against the worked examples and against brute force.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "constraints/choice_tree.h"

namespace {

// Whether the assignment (bit c-1 set: choice c true) survives in the tree.
bool Survives(const CChoiceNode* node, uint32_t assignment) {
  while (node && !node->IsOpenLeaf()) {
    const bool value = (assignment >> (node->variable - 1)) & 1u;
    node = value ? node->positive : node->negative;
  }
  return node != nullptr;
}

// Whether all literals of the path hold under the assignment.
bool PathHolds(const ContextList& path, uint32_t assignment) {
  for (int8_t literal : path) {
    if (literal == 0) continue;
    const bool value = (assignment >> (std::abs(literal) - 1)) & 1u;
    if (value != (literal > 0)) return false;
  }
  return true;
}

// Variables increase along every path; parents are set.
void ExpectOrdered(const CChoiceNode* node, int above) {
  if (!node || node->IsOpenLeaf()) return;
  EXPECT_GT(node->variable, above);
  for (const CChoiceNode* child : {node->negative, node->positive}) {
    if (!child) continue;
    EXPECT_EQ(child->parent, node);
    ExpectOrdered(child, node->variable);
  }
}

}  // namespace

TEST(ChoiceTreeTest, WorkedExamples) {
  struct Case {
    const char* what;
    std::vector<ContextList> paths;
    ContextList collected;
  } cases[] = {
      {"nothing inserted", {}, {}},
      {"one literal", {{1}}, {-1}},
      {"two literals", {{1, 2}}, {-1}},
      {"both branches cut", {{1}, {-1}}, {}},
      {"a smaller choice goes above", {{2}, {1, 2}}, {-2, -1}},
      {"the false branch is preferred", {{-1}, {-2, 3}}, {-3, -2, 1}},
      {"a path without literals excludes everything", {{2}, {0}}, {}},
  };
  for (const Case& c : cases) {
    CChoiceTree tree;
    for (const ContextList& path : c.paths) tree.InsertPaths(path);
    EXPECT_EQ(tree.CollectPaths(), c.collected) << c.what;
  }
}

TEST(ChoiceTreeTest, ShapesOfSmallTrees) {
  CChoiceTree one;
  one.InsertPaths({1, 2});
  const CChoiceNode* root = one.Root();
  EXPECT_EQ(root->variable, 1);
  EXPECT_TRUE(root->negative->IsOpenLeaf());
  EXPECT_EQ(root->positive->variable, 2);
  EXPECT_NE(root->positive->negative, nullptr);
  EXPECT_EQ(root->positive->positive, nullptr);

  CChoiceTree reordered;
  reordered.InsertPaths({2});
  reordered.InsertPaths({1, 2});
  EXPECT_EQ(reordered.Root()->variable, 1);
  EXPECT_EQ(reordered.Root()->negative->variable, 2);

  CChoiceTree empty;
  empty.InsertPaths({1});
  empty.InsertPaths({-1});
  ASSERT_NE(empty.Root(), nullptr);
  EXPECT_TRUE(empty.Root()->IsEmpty());

  CChoiceTree none;
  none.InsertPaths({0});
  EXPECT_EQ(none.Root(), nullptr);
  none.InsertPaths({1});
  EXPECT_EQ(none.Root(), nullptr);
}

TEST(ChoiceTreeTest, ComplementPathsCoverTheFailingAssignments) {
  EXPECT_TRUE(ComplementPaths({0}).empty());
  EXPECT_EQ(ComplementPaths({2}), std::list<ContextList>{{-2}});
  EXPECT_EQ(ComplementPaths({1, 0, -3}), (std::list<ContextList>{{-1}, {1, 3}}));
}

// Random sets of paths over choices 1 to 5: the tree keeps exactly the
// assignments that escape every path, and what CollectPaths reads off it is
// a survivor: every assignment that completes it escapes every path.
TEST(ChoiceTreeTest, AgreesWithBruteForce) {
  constexpr int kChoices = 5;
  std::mt19937 random(20261206);
  for (int round = 0; round < 400; ++round) {
    std::vector<ContextList> paths(1 + random() % 5);
    for (ContextList& path : paths) {
      for (int choice = 1; choice <= kChoices; ++choice) {
        if (random() % 3 == 0) path.push_back(static_cast<int8_t>(random() % 2 ? choice : -choice));
      }
      if (path.empty()) path.push_back(static_cast<int8_t>(1 + random() % kChoices));
      path = OrderContextByChoice(path);
    }
    CChoiceTree tree;
    for (const ContextList& path : paths) tree.InsertPaths(path);
    ExpectOrdered(tree.Root(), 0);

    bool anySurvivor = false;
    for (uint32_t a = 0; a < (1u << kChoices); ++a) {
      bool escapes = true;
      for (const ContextList& path : paths) escapes = escapes && !PathHolds(path, a);
      ASSERT_EQ(Survives(tree.Root(), a), escapes) << "round " << round << " assignment " << a;
      anySurvivor = anySurvivor || escapes;
    }

    const ContextList collected = tree.CollectPaths();
    ASSERT_EQ(collected.empty(), !anySurvivor) << "round " << round;
    if (!anySurvivor) continue;
    for (uint32_t a = 0; a < (1u << kChoices); ++a) {
      if (!PathHolds(collected, a)) continue;
      for (const ContextList& path : paths) ASSERT_FALSE(PathHolds(path, a)) << "round " << round;
    }
  }
}

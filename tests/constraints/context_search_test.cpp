// The nogood-free context search and the choice tree, checked against
// worked examples and against brute force over every assignment of the
// choices involved.
#include "constraints/context_search.h"
#include "constraints/escaping_assignment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <random>
#include <vector>

#include "constraints/choice_tree.h"
#include "constraints/free_assignment_search.h"
#include "constraints_fixture.h"
#include "core/sentence_arena.h"
#include "core/sentence_memory.h"
#include "platform/heap_meter.h"
#include "platform/utf8.h"
#include "support/test_support.h"

namespace {

// An assignment of choices 1 to 32: bit c - 1 set when choice c is true.
using Assignment = uint32_t;

// Whether every non-zero literal of the context holds under the assignment.
bool Holds(const ContextList& context, Assignment a) {
  return std::all_of(context.begin(), context.end(),
                     [&](int l) { return l == 0 || ((a >> (std::abs(l) - 1)) & 1u) == (l > 0 ? 1u : 0u); });
}

bool HoldsAny(const NogoodList& nogoods, Assignment a) {
  return std::any_of(nogoods.begin(), nogoods.end(), [&](const ContextList& n) { return Holds(n, a); });
}

// The lowest free assignment of the nogoods' choices, numbered by first
// occurrence (each nogood read in ascending order), choice v true when bit v
// is set. Nothing when every assignment makes some nogood hold.
std::optional<ContextList> LowestFreeAssignment(const NogoodList& nogoods) {
  std::vector<int> choices;
  for (ContextList nogood : nogoods) {
    nogood.sort();
    for (int literal : nogood) {
      if (literal != 0 && std::count(choices.begin(), choices.end(), std::abs(literal)) == 0)
        choices.push_back(std::abs(literal));
    }
  }
  for (uint32_t i = 0; i < (uint32_t{1} << choices.size()); ++i) {
    ContextList literals;
    Assignment full = 0;
    for (size_t v = 0; v < choices.size(); ++v) {
      const bool taken = (i >> v) & 1;
      full |= taken ? 1u << (choices[v] - 1) : 0u;
      literals.push_back(static_cast<ChoiceLiteral>(taken ? choices[v] : -choices[v]));
    }
    if (!HoldsAny(nogoods, full)) return literals;
  }
  return std::nullopt;
}

ContextList Range(int from, int to, int sign) {
  ContextList context;
  for (int c = from; c <= to; ++c) context.push_back(static_cast<ChoiceLiteral>(sign * c));
  return context;
}

// Whether the assignment survives in the choice tree.
bool Survives(const CChoiceNode* node, Assignment a) {
  while (node && !node->IsOpenLeaf()) node = (a >> (node->variable - 1)) & 1u ? node->positive : node->negative;
  return node != nullptr;
}

// Variables increase along every path; parents are set.
void ExpectOrdered(const CChoiceNode* node, int above) {
  if (!node || node->IsOpenLeaf()) return;
  EXPECT_GT(node->variable, above);
  for (const CChoiceNode* child : {node->negative, node->positive}) {
    if (child) {
      EXPECT_EQ(child->parent, node);
    }
    ExpectOrdered(child, node->variable);
  }
}

}  // namespace

// Random nogoods over up to 12 choices: the lowest free assignment, its
// literals in order of first occurrence, or nothing when there is none.
TEST(ContextSearch, AgreesWithBruteForceOnRandomNogoods) {
  std::mt19937 engine(12345);
  const auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(engine); };
  int found = 0, none = 0;
  for (int round = 0; round < 4000; ++round) {
    const int choiceCount = 1 + below(12);
    NogoodList nogoods;
    for (int j = below(15); j > 0; --j) {
      // Up to four literals, now and then a 0 or an empty (always true) nogood.
      ContextList& nogood = nogoods.emplace_back();
      for (int k = below(50) == 0 ? 0 : 1 + below(4); k > 0; --k) {
        const int c = 1 + below(choiceCount);
        nogood.push_back(static_cast<ChoiceLiteral>(below(2) ? c : -c));
      }
      if (below(20) == 0) nogood.push_back(0);
    }
    const std::optional<ContextList> expected = nogoods.empty() ? ContextList{0} : LowestFreeAssignment(nogoods);
    EXPECT_EQ(FindNogoodFreeContext(nogoods), expected.value_or(ContextList{}));
    ++(expected ? found : none);
  }
  EXPECT_GT(found, 400);
  EXPECT_GT(none, 400);
}

// Rows without candidates hold for both searches.
TEST(ContextSearch, WorkedExamples) {
  // Choices 1 to 16 (1 to 15) must be false, the next one true.
  NogoodList forcedSeventeenth, forcedSixteenth;
  for (ChoiceLiteral c = 1; c <= 16; ++c) forcedSeventeenth.push_back({c});
  for (ChoiceLiteral c = 1; c <= 15; ++c) forcedSixteenth.push_back({c});
  forcedSeventeenth.push_back({-17});
  forcedSixteenth.push_back({-16});
  ContextList sixteenth = Range(1, 15, -1);
  sixteenth.push_back(16);
  ContextList seventeenth = Range(1, 16, -1);
  seventeenth.push_back(17);
  const std::tuple<const char*, NogoodList, std::list<ContextList>, ContextList> cases[] = {
      {"no nogoods: everything holds", {}, {}, {0}},
      {"a choice both ways", {{1}, {-1}}, {}, {}},
      {"sorted first: choice 2 is variable 1", {{1, -2}}, {}, {-2, -1}},
      {"lowest free assignment", {{-1}, {2}}, {}, {1, -2}},
      {"an always-true nogood", {{0}}, {}, {}},
      {"an inconsistent nogood never holds", {{1, -1}}, {}, {-1}},
      {"many choices are all searched", {Range(1, 24, 1)}, {}, Range(1, 24, -1)},
      {"a clash after many choices still wins", {Range(1, 24, 1), {}}, {}, {}},
      {"past 2^16 assignments the search still finds the lowest", forcedSeventeenth, {}, seventeenth},
      {"the last assignment tried", forcedSixteenth, {}, sixteenth},
      {"extension first, then the candidate", {{1, 2}}, {{1}}, {-2, 1}},
      {"a candidate leaving a choice open is extended over it", {{1, 2}, {1, -2}}, {{1, 2}, {1}, {-1}}, {-2, -1}},
      {"an inconsistent candidate describes no reading", {{3}}, {{1, -1}, {2}}, {-3, 2}},
      {"a candidate of 31 choices is skipped", {{40}}, {Range(1, 31, 1), {-2}}, {-40, -2}},
      {"a group member keeps the first candidate's order", {{5}, {-3}}, {{-3, 1}, {1, 3}}, {-5, 3, 1}},
      {"no nogoods and an empty candidate: everything holds", {}, {{0}}, {0}},
      {"an inconsistent nogood under a candidate", {{2, -2}}, {{0}}, {-2}},
  };
  for (const auto& [what, nogoods, candidates, expected] : cases) {
    EXPECT_EQ(ExtendNogoodFreeContext(nogoods, candidates), expected) << what;
    if (candidates.empty()) {
      EXPECT_EQ(FindNogoodFreeContext(nogoods), expected) << what;
    }
  }
}

TEST(ContextSearch, ChoicesPastASignedByteAreSearchedAndPastTheLastBitRefused) {
  MessageRecorder recorder;
  const ChoiceLiteral beyond = kMaxFeatureId + 1;
  // Choices 128 to the last bit are ordinary choices.
  EXPECT_EQ(FindNogoodFreeContext({{1, -128}, {-1}}), (ContextList{128, 1})) << "-128 sorts first";
  EXPECT_EQ(ExtendNogoodFreeContext({{-150}}, {{1}}), (ContextList{150, 1}));
  EXPECT_EQ(FindNogoodFreeContext({{kMaxFeatureId}}), ContextList{-kMaxFeatureId});
  EXPECT_TRUE(recorder.messages().empty());
  // A choice past the last bit is refused and reported.
  EXPECT_EQ(FindNogoodFreeContext({{1, static_cast<ChoiceLiteral>(-beyond)}}), ContextList{0});
  EXPECT_EQ(recorder.messages().size(), 1u);
  EXPECT_EQ(ExtendNogoodFreeContext({{static_cast<ChoiceLiteral>(-beyond)}}, {{1}}), ContextList{});
  EXPECT_EQ(ExtendNogoodFreeContext({{2}}, {{static_cast<ChoiceLiteral>(-beyond)}}), ContextList{});
  EXPECT_EQ(recorder.messages().size(), 3u);
  // A definite clash is still found first.
  EXPECT_EQ(FindNogoodFreeContext({{static_cast<ChoiceLiteral>(-beyond)}, {}}), ContextList{});
  // The utilities carry large choices without wrapping them.
  EXPECT_EQ(CommonContextLiterals({{-128, 1}, {-128}}), ContextList{-128});
  EXPECT_EQ(OrderContextByChoice({-128, 5, -5, 129}), (ContextList{5, -5, -128, 129}));
  EXPECT_EQ(recorder.messages().size(), 3u);
}

// Independent parts are searched apart: a hundred parts that each need
// backtracking, or one part without a free assignment among them, are
// settled in a step count near the sum of the parts', not their product.
TEST(ContextSearch, IndependentPartsAreSearchedApart) {
  std::vector<VariableNogood> parts;
  for (int p = 0; p < 100; ++p) {
    const int a = 1 + 2 * p, b = a + 1;  // a must be true, b false
    parts.push_back({{a, false}});
    parts.push_back({{b, true}});
  }
  FreeAssignment found = FindLowestFreeAssignment(parts, 200, 1000);
  ASSERT_EQ(found.outcome, FreeAssignmentOutcome::kFound);
  for (int v = 1; v <= 200; ++v) EXPECT_EQ(found.values[v], v % 2 == 1) << v;
  parts.push_back({{7, true}});  // part 4 now has no free assignment
  EXPECT_EQ(FindLowestFreeAssignment(parts, 200, 1000).outcome, FreeAssignmentOutcome::kNone);
  // One part whose nogoods are all 2^10 assignments of its ten choices: no
  // assignment is free, which only a search through all of them can tell.
  // Within a small budget the search gives up instead.
  std::vector<VariableNogood> every;
  for (int a = 0; a < 1024; ++a) {
    VariableNogood& nogood = every.emplace_back();
    for (int v = 1; v <= 10; ++v) nogood.push_back({v, ((a >> (v - 1)) & 1) != 0});
  }
  EXPECT_EQ(FindLowestFreeAssignment(every, 10, 50).outcome, FreeAssignmentOutcome::kGaveUp);
  EXPECT_EQ(FindLowestFreeAssignment(every, 10).outcome, FreeAssignmentOutcome::kNone);
  every.pop_back();  // all ten choices true is free now
  const FreeAssignment last = FindLowestFreeAssignment(every, 10);
  ASSERT_EQ(last.outcome, FreeAssignmentOutcome::kFound);
  EXPECT_EQ(std::count(last.values.begin() + 1, last.values.end(), true), 10);
  // The context search over choices past a signed byte, one part per pair.
  NogoodList pairs;
  for (int c = 1; c + 1 <= kMaxFeatureId; c += 2) pairs.push_back({static_cast<ChoiceLiteral>(-c)});
  const ContextList chosen = FindNogoodFreeContext(pairs);
  EXPECT_EQ(chosen.size(), pairs.size());
  EXPECT_TRUE(std::all_of(chosen.begin(), chosen.end(), [](ChoiceLiteral l) { return l > 0; }));
}

// Random sets of paths over choices 1 to 5: the tree keeps exactly the
// assignments that escape every path, and what CollectPaths reads off it is
// a survivor: every assignment that completes it escapes every path.
TEST(ChoiceTreeTest, AgreesWithBruteForce) {
  constexpr int kChoices = 5;
  std::mt19937 random(20261206);
  for (int round = 0; round < 400; ++round) {
    NogoodList paths(1 + random() % 5);
    for (ContextList& path : paths) {
      for (int choice = 1; choice <= kChoices; ++choice)
        if (random() % 3 == 0) path.push_back(static_cast<ChoiceLiteral>(random() % 2 ? choice : -choice));
      if (path.empty()) path.push_back(static_cast<ChoiceLiteral>(1 + random() % kChoices));
      path = OrderContextByChoice(path);
    }
    CChoiceTree tree;
    for (const ContextList& path : paths) tree.InsertPaths(path);
    ExpectOrdered(tree.Root(), 0);
    const auto escapes = [&](Assignment a) { return !HoldsAny(paths, a); };
    bool anySurvivor = false;
    for (uint32_t a = 0; a < (1u << kChoices); ++a) {
      ASSERT_EQ(Survives(tree.Root(), a), escapes(a)) << "round " << round << " assignment " << a;
      anySurvivor = anySurvivor || escapes(a);
    }
    const ContextList collected = tree.CollectPaths();
    ASSERT_EQ(collected.empty(), !anySurvivor) << "round " << round;
    for (uint32_t a = 0; anySurvivor && a < (1u << kChoices); ++a)
      ASSERT_TRUE(!Holds(collected, a) || escapes(a)) << "round " << round;
  }
  // The assignments under which a context fails, each once.
  EXPECT_TRUE(ComplementPaths({0}).empty());
  EXPECT_EQ(ComplementPaths({2}), std::list<ContextList>{{-2}});
  EXPECT_EQ(ComplementPaths({1, 0, -3}), (std::list<ContextList>{{-1}, {1, 3}}));
  // A path without literals excludes everything; later paths are ignored.
  CChoiceTree excluded;
  for (const ContextList& path : {ContextList{0}, ContextList{1}}) excluded.InsertPaths(path);
  EXPECT_EQ(excluded.Root(), nullptr);
}

// Each path whose first choice lies above the root pushes the whole tree down
// and copies it, so the tree doubles with every path. Its nodes count against
// the sentence's memory budget even where the heap seems not to grow: the tree
// is given up whole soon after the budget is passed, with the budget's one
// message, instead of growing to hundreds of MB.
TEST(ChoiceTreeTest, ADoublingTreeIsGivenUpAtTheSentenceBudget) {
  ctest::ParseClockScope clock;  // the time limit is never reached
  MessageRecorder recorder;
  SetHeapMeterForTesting([] { return size_t{1} << 20; });
  SentenceMemoryBudget = size_t{1} << 20;
  BeginSentenceMemory(0);
  const size_t before = SentenceArena().BytesInUse();
  SentenceArena().ResetHighWater();
  {
    CChoiceTree tree;
    for (int choice = 22; choice >= 1 && tree.Root() != nullptr; --choice)
      tree.InsertPaths({static_cast<ChoiceLiteral>(-choice), static_cast<ChoiceLiteral>(100 + choice)});
    EXPECT_EQ(tree.Root(), nullptr);
  }
  // The peak: the sanitizer build's arena gives the nodes back to the heap.
  const size_t used = SentenceArena().HighWaterBytes() - before;
  EXPECT_GT(used, size_t{1} << 20);
  EXPECT_LT(used, size_t{4} << 20);
  ASSERT_EQ(recorder.messages().size(), 1u);
  EXPECT_EQ(ToUtf8(recorder.messages()[0].text), "The sentence needs more than 1 MB of memory and cannot be analysed.");
  SentenceMemoryBudget = kDefaultSentenceMemoryBudget;
  SetHeapMeterForTesting({});
  BeginSentenceMemory(0);
}

// The search gives exactly what the tree reads off after the same paths:
// random paths over scattered choice numbers, some naming a choice twice or
// holding no literal at all, each ordered as the tree takes it.
TEST(ChoiceTreeTest, TheSearchReadsWhatTheTreeReads) {
  ctest::ParseClockScope clock;
  constexpr int kChoiceNumbers[] = {2, 3, 7, 12, 13, 20, 41, 300};
  std::mt19937 random(20261207);
  for (int round = 0; round < 3000; ++round) {
    std::list<ContextList> paths(1 + random() % 7);
    for (ContextList& path : paths) {
      for (int choice : kChoiceNumbers)
        if (random() % 4 == 0) path.push_back(static_cast<ChoiceLiteral>(random() % 2 ? choice : -choice));
      if (random() % 40 == 0) path.push_back(path.empty() ? 0 : static_cast<ChoiceLiteral>(-path.front()));
      if (path.empty() && random() % 3 != 0) path.push_back(static_cast<ChoiceLiteral>(kChoiceNumbers[random() % 8]));
      path.unique();
      path = OrderContextByChoice(path);
    }
    CChoiceTree tree;
    for (const ContextList& path : paths) tree.InsertPaths(path);
    ASSERT_EQ(LowestEscapingAssignment(paths), tree.CollectPaths()) << "round " << round;
  }
}

// Paths that make the tree double with each one: the search reads the
// reading off in one step where the tree would pass any budget, and it is the
// lowest reading (every choice false that can be).
TEST(ChoiceTreeTest, TheSearchHandlesWhatMakesTheTreeDouble) {
  ctest::ParseClockScope clock;
  std::list<ContextList> paths;
  for (int choice = 60; choice >= 1; --choice)
    paths.push_back({static_cast<ChoiceLiteral>(-choice), static_cast<ChoiceLiteral>(100 + choice)});
  ContextList expected;
  for (int choice = 160; choice >= 101; --choice) expected.push_back(static_cast<ChoiceLiteral>(-choice));
  for (int choice = 60; choice >= 1; --choice) expected.push_back(static_cast<ChoiceLiteral>(-choice));
  EXPECT_EQ(LowestEscapingAssignment(paths), expected);
}

#include "constraints/context_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <vector>

#include "support/test_support.h"

namespace {

using Assignment = std::map<int, bool>;

int Choice(int literal) { return literal < 0 ? -literal : literal; }

// Every non-zero literal agrees with the assignment; an unassigned choice
// counts as a failure of the context under test.
bool Holds(const ContextList& nogood, const Assignment& assignment) {
  for (int literal : nogood) {
    if (literal == 0) continue;
    const auto it = assignment.find(Choice(literal));
    if (it == assignment.end()) {
      ADD_FAILURE() << "choice " << Choice(literal) << " left unassigned";
      return true;
    }
    if (it->second != (literal > 0)) return false;
  }
  return true;
}

bool HoldsAny(const NogoodList& nogoods, const Assignment& assignment) {
  return std::any_of(nogoods.begin(), nogoods.end(), [&](const ContextList& n) { return Holds(n, assignment); });
}

bool Consistent(const ContextList& context) {
  return std::none_of(context.begin(), context.end(),
                      [&](int l) { return l != 0 && std::count(context.begin(), context.end(), -l); });
}

Assignment AssignmentOf(const ContextList& context) {
  Assignment assignment;
  for (int literal : context) {
    if (literal != 0) assignment[Choice(literal)] = literal > 0;
  }
  return assignment;
}

// The choices of the nogoods not in skip, by first occurrence, each nogood
// read in ascending order.
std::vector<int> ChoicesByFirstOccurrence(const NogoodList& nogoods, const std::set<int>& skip = {}) {
  std::vector<int> choices;
  for (ContextList nogood : nogoods) {
    nogood.sort();
    for (int literal : nogood) {
      const int c = Choice(literal);
      if (c == 0 || skip.count(c) || std::count(choices.begin(), choices.end(), c)) continue;
      choices.push_back(c);
    }
  }
  return choices;
}

// Assignment number i over the choices: choices[v] is true when bit v is set.
ContextList LiteralsOf(const std::vector<int>& choices, uint32_t i) {
  ContextList literals;
  for (size_t v = 0; v < choices.size(); ++v)
    literals.push_back(static_cast<int8_t>((i >> v) & 1 ? choices[v] : -choices[v]));
  return literals;
}

// The free assignment of the choices with the lowest number, on top of a fixed
// part; nothing when every assignment makes some nogood hold.
std::optional<ContextList> LowestFreeAssignment(const NogoodList& nogoods, const std::vector<int>& choices,
                                                const Assignment& fixed = {}) {
  for (uint32_t i = 0; i < (uint32_t{1} << choices.size()); ++i) {
    ContextList literals = LiteralsOf(choices, i);
    Assignment full = AssignmentOf(literals);
    full.insert(fixed.begin(), fixed.end());
    if (!HoldsAny(nogoods, full)) return literals;
  }
  return std::nullopt;
}

class RandomContexts {
 public:
  explicit RandomContexts(unsigned seed) : engine_(seed) {}
  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(engine_); }

  // Up to four literals over choices 1 to choiceCount, now and then a 0.
  ContextList Context(int choiceCount, int minLength) {
    ContextList context;
    const int length = minLength + Below(5 - minLength);
    for (int j = 0; j < length; ++j) {
      const int c = 1 + Below(choiceCount);
      context.push_back(static_cast<int8_t>(Below(2) ? c : -c));
    }
    if (Below(20) == 0) context.push_back(0);
    return context;
  }
  NogoodList Nogoods(int choiceCount) {
    NogoodList nogoods;
    const int count = Below(15);
    for (int j = 0; j < count; ++j) nogoods.push_back(Below(50) == 0 ? ContextList{} : Context(choiceCount, 1));
    return nogoods;
  }

 private:
  std::mt19937 engine_;
};

TEST(ContextSearch, FindAgreesWithBruteForceOnRandomNogoods) {
  RandomContexts random(12345);
  int found = 0, none = 0;
  for (int round = 0; round < 3000; ++round) {
    const NogoodList nogoods = random.Nogoods(1 + random.Below(12));
    const ContextList result = FindNogoodFreeContext(nogoods);
    if (nogoods.empty()) {
      EXPECT_EQ(result, ContextList{0});
      continue;
    }
    const auto expected = LowestFreeAssignment(nogoods, ChoicesByFirstOccurrence(nogoods));
    if (!expected) {
      EXPECT_TRUE(result.empty());
      ++none;
      continue;
    }
    ++found;
    EXPECT_FALSE(HoldsAny(nogoods, AssignmentOf(result)));
    // The lowest free assignment, literals in order of first occurrence.
    EXPECT_EQ(result, *expected);
  }
  EXPECT_GT(found, 300);
  EXPECT_GT(none, 300);
}

TEST(ContextSearch, ExtendAgreesWithBruteForceOnRandomCandidates) {
  RandomContexts random(777);
  int found = 0, none = 0;
  for (int round = 0; round < 3000; ++round) {
    const int choiceCount = 1 + random.Below(12);
    const NogoodList nogoods = random.Nogoods(choiceCount);
    std::list<ContextList> candidates;
    for (int j = 1 + random.Below(4); j > 0; --j) candidates.push_back(random.Context(choiceCount, 0));
    const ContextList result = ExtendNogoodFreeContext(nogoods, candidates);

    // The first consistent candidate that some assignment of the other choices
    // of the nogoods extends without making a nogood hold.
    std::optional<ContextList> expected;
    std::set<int8_t> candidateLiterals;
    for (const ContextList& candidate : candidates) {
      candidateLiterals = std::set<int8_t>(candidate.begin(), candidate.end());
      candidateLiterals.erase(0);
      if (!Consistent(candidate)) continue;
      const Assignment fixed = AssignmentOf(candidate);
      std::set<int> fixedChoices;
      for (const auto& entry : fixed) fixedChoices.insert(entry.first);
      expected = LowestFreeAssignment(nogoods, ChoicesByFirstOccurrence(nogoods, fixedChoices), fixed);
      if (expected) break;
    }
    if (!expected) {
      EXPECT_TRUE(result.empty());
      ++none;
      continue;
    }
    ++found;
    if (expected->empty() && candidateLiterals.empty()) {
      EXPECT_EQ(result, ContextList{0});
      continue;
    }
    EXPECT_FALSE(HoldsAny(nogoods, AssignmentOf(result)));
    // The extension comes first, then the candidate's own literals.
    const ContextList extension(result.begin(), std::next(result.begin(), std::min(result.size(), expected->size())));
    EXPECT_EQ(extension, *expected);
    const std::multiset<int8_t> tail(std::next(result.begin(), extension.size()), result.end());
    EXPECT_EQ(tail, std::multiset<int8_t>(candidateLiterals.begin(), candidateLiterals.end()));
  }
  EXPECT_GT(found, 300);
  EXPECT_GT(none, 300);
}

TEST(ContextSearch, FindWorkedExamples) {
  std::vector<int8_t> manyChoices;
  for (int c = 1; c <= 24; ++c) manyChoices.push_back(static_cast<int8_t>(c));
  const ContextList many(manyChoices.begin(), manyChoices.end());
  NogoodList forcedSeventeenth, forcedSixteenth;  // choices 1..16 (1..15) must be false
  for (int c = 1; c <= 16; ++c) forcedSeventeenth.push_back({static_cast<int8_t>(c)});
  forcedSeventeenth.push_back({-17});
  for (int c = 1; c <= 15; ++c) forcedSixteenth.push_back({static_cast<int8_t>(c)});
  forcedSixteenth.push_back({-16});
  ContextList sixteenth;
  for (int c = 1; c <= 15; ++c) sixteenth.push_back(static_cast<int8_t>(-c));
  sixteenth.push_back(16);

  struct Case {
    const char* what;
    NogoodList nogoods;
    ContextList expected;
  } cases[] = {
      {"no nogoods: everything holds", {}, {0}},
      {"a choice both ways", {{1}, {-1}}, {}},
      {"sorted first: choice 2 is variable 1", {{1, -2}}, {-2, -1}},
      {"lowest free assignment", {{-1}, {2}}, {1, -2}},
      {"an always-true nogood", {{0}}, {}},
      {"an inconsistent nogood never holds", {{1, -1}}, {-1}},
      {"too many choices", {many}, {0}},
      {"a clash after too many choices still wins", {many, {}}, {}},
      {"a clash before too many choices", {{0}, many}, {}},
      {"beyond the assignments tried: undecided", forcedSeventeenth, {0}},
      {"the last assignment tried", forcedSixteenth, sixteenth},
  };
  for (const auto& c : cases) EXPECT_EQ(FindNogoodFreeContext(c.nogoods), c.expected) << c.what;
}

TEST(ContextSearch, ExtendWorkedExamples) {
  std::vector<int8_t> wide;
  for (int c = 1; c <= 31; ++c) wide.push_back(static_cast<int8_t>(c));
  const ContextList wideCandidate(wide.begin(), wide.end());

  struct Case {
    const char* what;
    NogoodList nogoods;
    std::list<ContextList> candidates;
    ContextList expected;
  } cases[] = {
      {"no candidates: the plain search", {{1, -2}}, {}, {-2, -1}},
      {"extension first, then the candidate", {{1, 2}}, {{1}}, {-2, 1}},
      {"first candidate ruled out, second taken", {{1}}, {{1}, {-1}}, {-1}},
      {"a candidate leaving a choice open is extended over it", {{1, 2}, {1, -2}}, {{1, 2}, {1}, {-1}}, {-2, -1}},
      {"an inconsistent candidate describes no reading", {{3}}, {{1, -1}, {2}}, {-3, 2}},
      {"a candidate of 31 choices is skipped", {{40}}, {wideCandidate, {-2}}, {-40, -2}},
      {"a group member keeps the first candidate's order", {{5}, {-3}}, {{-3, 1}, {1, 3}}, {-5, 3, 1}},
      {"no nogoods: the candidate as it stands", {}, {{2, -1}}, {-1, 2}},
      {"no nogoods and an empty candidate: everything holds", {}, {{0}}, {0}},
      {"an always-true nogood rules out every candidate", {{0}}, {{1}, {-1}}, {}},
      {"no candidate can be extended", {{1}, {-1}}, {{2}}, {}},
      {"an inconsistent nogood never holds", {{2, -2}}, {{0}}, {-2}},
  };
  for (const auto& c : cases) EXPECT_EQ(ExtendNogoodFreeContext(c.nogoods, c.candidates), c.expected) << c.what;
}

TEST(ContextSearch, ChoiceBeyond127IsRefusedAndReported) {
  MessageRecorder recorder;
  EXPECT_EQ(FindNogoodFreeContext({{1, -128}}), ContextList{0});
  EXPECT_EQ(recorder.messages().size(), 1u);
  EXPECT_EQ(ExtendNogoodFreeContext({{-128}}, {{1}}), ContextList{});
  EXPECT_EQ(ExtendNogoodFreeContext({{2}}, {{-128}}), ContextList{});
  EXPECT_EQ(recorder.messages().size(), 3u);
  // A definite clash is still found first.
  EXPECT_EQ(FindNogoodFreeContext({{-128}, {}}), ContextList{});
  // The utilities carry choice 128 without wrapping it.
  EXPECT_EQ(CommonContextLiterals({{-128, 1}, {-128}}), ContextList{-128});
  EXPECT_EQ(OrderContextByChoice({-128, 5, -5}), (ContextList{5, -5, -128}));
  EXPECT_EQ(recorder.messages().size(), 3u);
}

TEST(ContextSearch, CommonContextLiterals) {
  struct Case {
    std::list<ContextList> contexts;
    ContextList expected;
  } cases[] = {
      {{{1, 2}, {-3, 1, 2}}, {1, 2}},   {{{0}, {0}}, {}},     {{}, {}},
      {{{-1, 1}, {1, -1, 4}}, {1, -1}}, {{{3, -2}}, {-2, 3}}, {{{1, 1}, {2}}, {}},  // a repeated literal counts once
      {{{1, 1}, {1}, {2}}, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(CommonContextLiterals(c.contexts), c.expected);
}

TEST(ContextSearch, OrderContextByChoice) {
  struct Case {
    ContextList context, expected;
  } cases[] = {
      {{2, -1, 0, 1}, {1, -1, 2}},
      {{0, 3, 1}, {1, 3}},
      {{}, {}},
      {{0, 0}, {}},
      {{-3, -1}, {-1, -3}},
      {{0, 0, 2}, {2}},
      {{-2, 2, 2, -1}, {-1, 2, 2, -2}},
  };
  for (const auto& c : cases) EXPECT_EQ(OrderContextByChoice(c.context), c.expected);
}

}  // namespace

#include "analysis/tagger/pos_tagger.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace {

using Counts = std::vector<std::vector<int>>;  // rows from 0, each from column 0

// A bigram file: the 27 header tokens, then 26 rows of a name and 26 counts.
std::string BigramText(const Counts& counts) {
  std::ostringstream text;
  text << "corner";
  for (int column = 0; column < kBigramTagCount; ++column) text << " c" << column;
  for (int row = 0; row < kBigramTagCount; ++row) {
    text << "\nr" << row;
    for (int column = 0; column < kBigramTagCount; ++column) {
      const bool given = row < static_cast<int>(counts.size()) && column < static_cast<int>(counts[row].size());
      text << " " << (given ? counts[row][column] : 0);
    }
  }
  return text.str() + "\n";
}

void LoadTable(const TempDir& dir, const std::string* text) {
  std::filesystem::remove(dir.File("bigrams.txt"));
  if (text != nullptr) std::ofstream(dir.File("bigrams.txt"), std::ios::binary) << *text;
  CPosTagger().LoadBigramTable(dir.File("bigrams.txt"));
}

TEST(BigramTable, LoadsLogProbabilitiesWithAFloorForUnseenBigrams) {
  using Cell = std::tuple<int, int, double>;  // previous tag, tag, log probability
  const std::string full = BigramText({{0, 3, 1}, {}, {0, 0, 2, 6}});
  std::string odd = BigramText({{0, 3, 7, 1}});  // read as 0 3 0 1: "3x" counts its digits, "-1" counts 0
  odd.replace(odd.find(" 3 7 "), 5, " 3x -1 ");
  const std::string shortFile = full.substr(0, full.find("\nr1 ") + 1) + "r1 0 5 5";
  const double floor4 = std::log(0.5 / 5.0), floor8 = std::log(0.5 / 9.0);  // log(0.5 / (row sum + 1))
  const std::vector<std::pair<const std::string*, std::vector<Cell>>> cases = {
      {&full, {{0, 1, std::log(0.75)}, {2, 3, std::log(0.75)}, {0, 3, floor4}, {2, 1, floor8}, {1, 0, 0.0}}},
      {&full, {{0, 26, floor4}, {2, 65535, floor8}, {-1, 1, floor8}, {65535, 1, floor8}}},  // outside the table
      {nullptr, {{0, 1, 0.0}, {2, 3, 0.0}}},                                                // missing file
      {&odd, {{0, 1, std::log(0.75)}, {0, 2, floor4}, {0, 3, std::log(0.25)}}},
      {&shortFile, {{0, 1, std::log(0.75)}, {1, 1, std::log(0.5)}, {1, 3, std::log(0.5 / 11.0)}, {2, 2, 0.0}}},
  };
  TempDir dir;
  for (size_t i = 0; i < cases.size(); ++i) {
    LoadTable(dir, cases[i].first);
    for (const auto& [previous, tag, expected] : cases[i].second) {
      EXPECT_DOUBLE_EQ(BigramLogProbability(previous, tag), expected) << i << ": " << previous << " -> " << tag;
    }
  }
}

using Reading = std::pair<uint16_t, float>;  // tag, weight

// Tags hand-written readings; the chosen ones are given by their position
// in their token's list, -1 for a token without readings.
std::vector<int> Tag(const std::vector<std::vector<Reading>>& tokens) {
  std::vector<std::unique_ptr<CELexicalEntry>> owned;
  CSentenceReadings lists(tokens.size());
  for (size_t t = 0; t < tokens.size(); ++t) {
    for (const auto& [tag, weight] : tokens[t]) {
      owned.push_back(std::make_unique<CELexicalEntry>(tag, std::vector<uint16_t>{}, uint16_t{0}, weight));
      lists[t].push_back(owned.back().get());
    }
  }
  const CSentenceReadings tagged = CPosTagger().TagSentence(lists);
  std::vector<int> positions;
  for (size_t t = 0; t < tagged.size(); ++t) {
    const auto found = std::find(lists[t].begin(), lists[t].end(), tagged[t].size() == 1 ? tagged[t][0] : nullptr);
    positions.push_back(found == lists[t].end() ? -1 : static_cast<int>(found - lists[t].begin()));
  }
  return positions;
}

TEST(TagSentence, BestPathOfWeightsAndBigrams) {
  const Counts theCanRusts = {{0, 10, 1, 1}, {0, 1, 9, 1}, {0, 1, 2, 8}, {0, 4, 4, 1}};  // 1 det, 2 noun, 3 verb
  const std::vector<std::vector<Reading>> theCan = {{{1, 0.0f}}, {{2, -0.5f}, {3, -0.1f}}, {{3, -0.3f}, {2, -0.2f}}};
  const std::tuple<const char*, Counts, std::vector<std::vector<Reading>>, std::vector<int>> cases[] = {
      {"one token: weights decide", {}, {{{1, -2.0f}, {2, -1.0f}}}, {1}},
      {"ties: later predecessor, first final reading", {}, {{{1, 0.0f}, {2, 0.0f}}, {{1, 0.0f}, {2, 0.0f}}}, {1, 0}},
      {"a positive weight counts as 0", {{0, 1, 3}}, {{{1, 5.0f}, {2, 0.0f}}}, {1}},
      {"-999999 is clamped to -999", {}, {{{1, -999999.0f}, {2, -999.5f}}, {{3, 0.0f}}}, {0, 0}},
      {"just above -999999 is not clamped", {}, {{{1, -999998.0f}, {2, -999.5f}}}, {1}},
      {"bigrams overturn the weights", theCanRusts, theCan, {0, 0, 0}},
      {"empty tokens are passed over",
       {{0, 1}, {0, 0, 0, 9, 1}},
       {{}, {{1, 0.0f}}, {}, {{4, -0.1f}, {3, -0.2f}}},
       {-1, 0, -1, 1}},
      {"an unseen bigram does not look certain", {{0, 0, 1}}, {{{1, 0.0f}, {2, 0.0f}}}, {1}},
      {"out-of-range tags", {{0, 1}}, {{{65535, -0.1f}, {26, -0.2f}}, {{29, 0.0f}, {25, -0.1f}}}, {0, 0}},
  };
  TempDir dir;
  for (const auto& [name, counts, tokens, expected] : cases) {
    const std::string text = BigramText(counts);
    LoadTable(dir, &text);
    EXPECT_EQ(Tag(tokens), expected) << name;
  }
}

}  // namespace

TEST(TagList, NamesGetIdsInFileOrderAndUnknownNamesZero) {
  TempDir dir;
  std::ofstream(dir.File("tags.txt"), std::ios::binary) << "noun verb\r\nadj\tnoun\n";
  LoadTagList(dir.File("tags.txt"));
  const std::pair<const char*, uint16_t> ids[] = {{"verb", 2}, {"adj", 3}, {"noun", 4}, {"adv", 0}, {"Noun", 0}};
  for (const auto& [name, id] : ids) EXPECT_EQ(GetTagId(name), id) << name;
  LoadTagList(dir.File("absent.txt"));
  EXPECT_EQ(GetTagId("verb"), 0) << "a list that cannot be read replaces the old one with nothing";
}

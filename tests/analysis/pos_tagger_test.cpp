#include "analysis/pos_tagger.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace {

using Counts = std::vector<std::vector<int>>;  // rows from 0, each from column 0

// A bigram file: the 27 header tokens, then 26 rows of a name and 26 counts
// (0 where `counts` gives none).
std::string BigramText(const Counts& counts) {
  std::ostringstream text;
  text << "corner";
  for (int column = 0; column < kBigramTagCount; ++column) text << " c" << column;
  text << "\n";
  for (int row = 0; row < kBigramTagCount; ++row) {
    text << "r" << row;
    for (int column = 0; column < kBigramTagCount; ++column) {
      const bool given = row < static_cast<int>(counts.size()) &&
                         column < static_cast<int>(counts[row].size());
      text << " " << (given ? counts[row][column] : 0);
    }
    text << "\n";
  }
  return text.str();
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

struct Cell {
  int previous;
  int tag;
  double expected;
};

struct TableCase {
  const char* name;
  std::optional<std::string> text;  // none: the file does not exist
  std::vector<Cell> cells;
};

// Row 0 = 0 3 1 (sum 4).
const Counts kRowExample = {{0, 3, 1}};

// The text with the first occurrence of `from` replaced by `to`.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  text.replace(text.find(from), from.size(), to);
  return text;
}

TEST(BigramTable, LoadsLogProbabilitiesOfEveryRow) {
  const std::string full = BigramText({{0, 3, 1}, {}, {0, 0, 2, 6}});
  // Row 0 read as 0 3 0 1: "3x" counts its leading digits, and a sign is no
  // digit, so "-1" counts 0 rather than a negative number.
  const std::string odd_tokens =
      Replaced(Replaced(BigramText({{0, 3, 7, 1}}), " 3 ", " 3x "), " 7 ", " -1 ");
  // Row 0 whole, row 1 cut after three counts, nothing after.
  const std::string row0 = BigramText(kRowExample);
  const std::string short_file = row0.substr(0, row0.find("\nr1 ") + 1) + "r1 0 5 5";
  // Floors of unseen bigrams: log(0.5 / (row sum + 1)).
  const double floor4 = std::log(0.5 / 5.0);   // row 0 of `full`, sum 4
  const double floor8 = std::log(0.5 / 9.0);   // row 2 of `full`, sum 8
  const double floor10 = std::log(0.5 / 11.0);
  const std::vector<TableCase> cases = {
      {"row of counts", full,
       {{0, 1, std::log(0.75)}, {0, 2, std::log(0.25)}, {2, 2, std::log(0.25)}, {2, 3, std::log(0.75)}}},
      {"unseen bigram gets the row's floor, below every seen one", full,
       {{0, 0, floor4}, {0, 3, floor4}, {0, 25, floor4}, {2, 1, floor8}}},
      // Follows a loaded table, which it must clear.
      {"missing file gives an all-0 table", std::nullopt, {{0, 1, 0.0}, {2, 3, 0.0}, {-1, 1, 0.0}}},
      {"tags outside the table score as unseen", full,
       {{0, -1, floor4}, {0, 26, floor4}, {0, 29, floor4}, {0, 300, floor4}, {2, 65535, floor8}}},
      {"previous tags outside the table take the lowest floor", full,
       {{-1, 1, floor8}, {26, 1, floor8}, {65535, 1, floor8}}},
      {"all-zero row divides nothing", full, {{1, 0, 0.0}, {1, 1, 0.0}, {1, 25, 0.0}}},
      {"leading digits count, others give 0", odd_tokens,
       {{0, 1, std::log(0.75)}, {0, 2, floor4}, {0, 3, std::log(0.25)}}},
      {"short file keeps what it has", short_file,
       {{0, 1, std::log(0.75)}, {1, 1, std::log(0.5)}, {1, 2, std::log(0.5)}, {1, 3, floor10},
        {2, 2, 0.0}, {25, 25, 0.0}}},
      {"header only", full.substr(0, full.find('\n')), {{0, 1, 0.0}, {2, 3, 0.0}}},
      {"shorter than the header", "a b 3 4", {{0, 1, 0.0}, {0, 2, 0.0}}},
  };
  TempDir dir;
  for (const TableCase& test : cases) {
    SCOPED_TRACE(test.name);
    std::filesystem::remove(dir.File("bigrams.txt"));
    if (test.text) WriteText(dir.File("bigrams.txt"), *test.text);
    CPosTagger().LoadBigramTable(dir.File("bigrams.txt"));
    for (const Cell& cell : test.cells) {
      EXPECT_DOUBLE_EQ(BigramLogProbability(cell.previous, cell.tag), cell.expected)
          << cell.previous << " -> " << cell.tag;
    }
  }
}

// --- The search -------------------------------------------------------------

struct Reading {
  uint16_t tag;
  float weight;
};

// Entries for the hand-written readings; the chosen ones are identified by
// their position in their token's list.
class Sentence {
 public:
  explicit Sentence(const std::vector<std::vector<Reading>>& tokens) {
    for (const auto& token : tokens) {
      lists_.emplace_back();
      for (const Reading& reading : token) {
        owned_.push_back(std::make_unique<CELexicalEntry>(reading.tag, std::vector<uint16_t>{},
                                                          uint16_t{0}, reading.weight));
        lists_.back().push_back(owned_.back().get());
      }
    }
  }
  const CSentenceReadings& lists() const { return lists_; }

  // For each token, the position of its chosen reading; -1 for an empty list.
  std::vector<int> Chosen(const CSentenceReadings& tagged) const {
    std::vector<int> positions;
    for (size_t t = 0; t < tagged.size(); ++t) {
      if (tagged[t].size() != 1) {
        positions.push_back(-1);
        continue;
      }
      int found = -2;
      for (size_t k = 0; k < lists_[t].size(); ++k) {
        if (lists_[t][k] == tagged[t][0]) found = static_cast<int>(k);
      }
      positions.push_back(found);
    }
    return positions;
  }

 private:
  std::vector<std::unique_ptr<CELexicalEntry>> owned_;
  CSentenceReadings lists_;
};

struct SearchCase {
  const char* name;
  Counts counts;
  std::vector<std::vector<Reading>> tokens;
  std::vector<int> expected;
};

void RunSearchCases(const std::vector<SearchCase>& cases) {
  TempDir dir;
  for (const SearchCase& test : cases) {
    SCOPED_TRACE(test.name);
    WriteText(dir.File("bigrams.txt"), BigramText(test.counts));
    CPosTagger tagger;
    tagger.LoadBigramTable(dir.File("bigrams.txt"));
    const Sentence sentence(test.tokens);
    EXPECT_EQ(sentence.Chosen(tagger.TagSentence(sentence.lists())), test.expected);
  }
}

// Start row favouring tag 1 nine to one over tag 2.
const Counts kStartFavoursTag1 = {{0, 9, 1}};

TEST(TagSentence, OneTokenTakesBestWeightPlusStartScore) {
  RunSearchCases({
      {"weights decide without bigrams", {}, {{{1, -2.0f}, {2, -1.0f}}}, {1}},
      {"start score overturns the weight", kStartFavoursTag1, {{{1, -1.0f}, {2, -0.5f}}}, {0}},
      {"equal totals keep the first reading", {}, {{{1, -1.0f}, {2, -1.0f}, {3, -1.0f}}}, {0}},
      {"a single reading is taken", {}, {{{7, -5.0f}}}, {0}},
  });
}

TEST(TagSentence, TiesGoToTheLaterPredecessorButTheFirstFinalReading) {
  RunSearchCases({
      {"equal predecessors: the later one", {}, {{{1, 0.0f}, {2, 0.0f}, {3, 0.0f}}, {{4, 0.0f}}}, {2, 0}},
      {"equal final readings: the first one", {}, {{{4, 0.0f}}, {{1, 0.0f}, {2, 0.0f}}}, {0, 0}},
      {"both at once", {}, {{{1, 0.0f}, {2, 0.0f}}, {{1, 0.0f}, {2, 0.0f}}}, {1, 0}},
  });
}

TEST(TagSentence, WeightsAreClampedBeforeScoring) {
  // Start row: tag 1 one in four, tag 2 three in four.
  const Counts start_favours_tag2 = {{0, 1, 3}};
  RunSearchCases({
      {"a positive weight counts as 0", start_favours_tag2, {{{1, 5.0f}, {2, 0.0f}}}, {1}},
      {"-999999 counts as -999 at the end", {}, {{{1, -999999.0f}, {2, -999.5f}}}, {0}},
      {"-999999 counts as -999 in a predecessor", {},
       {{{1, -999999.0f}, {2, -999.5f}}, {{3, 0.0f}}}, {0, 0}},
      {"just above -999999 is not softened", {}, {{{1, -999998.0f}, {2, -999.5f}}}, {1}},
  });
}

// "the can rusts": tags 1 det, 2 noun, 3 verb. The weights prefer "can" as a
// verb and "rusts" as a noun; the bigrams turn both round.
TEST(TagSentence, BigramsOverturnReadingWeights) {
  Counts counts(4, std::vector<int>(4, 0));
  counts[0] = {0, 10, 1, 1};  // start -> det mostly
  counts[1] = {0, 1, 9, 1};   // det -> noun
  counts[2] = {0, 1, 2, 8};   // noun -> verb
  counts[3] = {0, 4, 4, 1};   // verb -> det, noun
  const std::vector<std::vector<Reading>> tokens = {
      {{1, 0.0f}}, {{2, -0.5f}, {3, -0.1f}}, {{3, -0.3f}, {2, -0.2f}}};
  RunSearchCases({
      {"with the table", counts, tokens, {0, 0, 0}},
      {"weights alone", {}, tokens, {0, 1, 1}},
  });
}

TEST(TagSentence, TokensWithoutReadingsArePassedOver) {
  // Tag 1 is mostly followed by tag 3, tag 2 mostly by tag 4.
  const Counts counts = {{0, 1, 1}, {0, 0, 0, 9, 1}, {0, 0, 0, 1, 9}};
  RunSearchCases({
      {"empty token between two others", counts,
       {{{1, 0.0f}}, {}, {{4, -0.1f}, {3, -0.2f}}}, {0, -1, 1}},
      {"empty first and last tokens", counts, {{}, {{2, 0.0f}}, {{3, 0.0f}, {4, 0.0f}}, {}},
       {-1, 0, 1, -1}},
      {"only empty tokens", counts, {{}, {}}, {-1, -1}},
      {"no tokens", counts, {}, {}},
  });
}

TEST(TagSentence, UnseenAndOutOfTableBigramsLoseToSeenOnes) {
  // Start -> tag 2 is certain (log 1 = 0); start -> tag 1 was never seen.
  RunSearchCases({
      {"an unseen bigram does not look certain", {{0, 0, 1}}, {{{1, 0.0f}, {2, 0.0f}}}, {1}},
      {"a much better weight still wins", {{0, 0, 1}}, {{{1, 0.0f}, {2, -5.0f}}}, {0}},
      {"out-of-range first token", {{0, 1}}, {{{300, -0.1f}, {1, -0.2f}}}, {1}},
      {"out-of-range predecessor", {{0, 1}},
       {{{65535, -0.1f}, {26, -0.2f}}, {{29, 0.0f}, {25, -0.1f}}}, {0, 0}},
  });
}

// --- Tag list -------------------------------------------------------------

TEST(TagList, GivesOneBasedIdsInFileOrder) {
  TempDir dir;
  WriteText(dir.File("POSs"), "det n\tv\r\nadj n\n");
  LoadTagList(dir.File("POSs"));
  const std::vector<std::pair<std::string, uint16_t>> cases = {
      {"det", 1}, {"v", 3}, {"adj", 4}, {"n", 5},  // a repeated name keeps its later id
      {"unknown", 0}, {"N", 0}, {"", 0}, {"unknown", 0},
  };
  for (const auto& [name, id] : cases) EXPECT_EQ(GetTagId(name), id) << name;

  LoadTagList(dir.File("absent"));
  EXPECT_EQ(GetTagId("det"), 0) << "a missing file leaves the list empty";
}

// --- The shipped table ------------------------------------------------------

class ShippedBigramTable : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* root = std::getenv("LFG_SOURCE_DIR");
    ASSERT_NE(root, nullptr);
    english_ = std::string(root) + "/dataroot/data/english/";
    LoadTagList(english_ + "POSs.txt");
    CPosTagger().LoadBigramTable(english_ + "BigramTable.txt");
  }

  std::vector<std::string> Tokens(const std::string& file) const {
    std::ifstream in(english_ + file);
    std::vector<std::string> tokens;
    for (std::string token; in >> token;) tokens.push_back(token);
    return tokens;
  }

  std::string english_;
};

TEST_F(ShippedBigramTable, ColumnsFollowTheTagList) {
  const std::vector<std::string> names = Tokens("POSs.txt");
  const std::vector<std::string> table = Tokens("BigramTable.txt");
  ASSERT_LT(names.size(), static_cast<size_t>(kBigramTagCount));
  ASSERT_EQ(table.size(), static_cast<size_t>(27 + 26 * 27));
  for (size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(table[2 + i], names[i]) << "column " << i + 1;
    EXPECT_EQ(table[27 * (i + 2)], names[i]) << "row " << i + 1;
  }
}

TEST_F(ShippedBigramTable, EveryBigramOfTheListHasBeenCounted) {
  // A bigram without counts would score log 1, as if it were certain.
  const int last = static_cast<int>(Tokens("POSs.txt").size());
  for (int previous = 0; previous <= last; ++previous) {
    for (int tag = 1; tag <= last; ++tag) {
      EXPECT_LT(BigramLogProbability(previous, tag), 0.0) << previous << " -> " << tag;
    }
  }
}

TEST_F(ShippedBigramTable, PrefersANounAfterADeterminer) {
  const uint16_t det = GetTagId("det");
  const uint16_t noun = GetTagId("n");
  const uint16_t verb = GetTagId("v");
  ASSERT_NE(det, 0);
  ASSERT_NE(noun, 0);
  ASSERT_NE(verb, 0);
  EXPECT_GT(BigramLogProbability(det, noun), BigramLogProbability(det, verb));
  // "the can": the weights prefer the verb, the table the noun.
  const Sentence sentence({{{det, 0.0f}}, {{noun, -1.0f}, {verb, 0.0f}}});
  EXPECT_EQ(sentence.Chosen(CPosTagger().TagSentence(sentence.lists())), (std::vector<int>{0, 0}));
}

}  // namespace

#include "analysis/tagger/pos_tagger.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace {

// Tag-to-tag log probabilities: row = previous tag (0 = sentence start),
// column = following tag.
double g_bigram_table[kBigramTagCount][kBigramColumnCount] = {};
// The score of an unseen bigram, per row.
double g_row_floor[kBigramTagCount] = {};

std::map<std::string, uint16_t> g_tag_list;

// The bigram file starts with a header line of one token per column and a
// corner token; each row then starts with its tag name.
constexpr int kHeaderTokenCount = 27;

// Scores below this never win: the search starts every comparison here.
constexpr double kNoScore = -999999.0;
// A reading weight of exactly kNoScore stands for "very unlikely"; it is
// softened so that such a reading can still be chosen when nothing better
// exists.
constexpr double kSoftenedNoScore = -999.0;

// Reads a whole 8-bit file as white-space-separated tokens; empty when the
// file cannot be opened.
std::vector<std::string> ReadTokens(const std::string& file_name) {
  std::vector<std::string> tokens;
  FileHandle file(OpenFile(file_name, "r"));
  if (!file) return tokens;
  std::string current;
  for (int c = std::fgetc(file.get()); c != EOF; c = std::fgetc(file.get())) {
    if (!std::isspace(static_cast<unsigned char>(c))) {
      current.push_back(static_cast<char>(c));
      continue;
    }
    if (!current.empty()) tokens.push_back(std::move(current));
    current.clear();
  }
  if (!current.empty()) tokens.push_back(std::move(current));
  return tokens;
}

// The count written at the start of a token: its leading decimal digits, 0
// when there are none. A sign is not a digit, so a count is never negative;
// a huge count saturates rather than wrapping.
uint64_t ParseCount(const std::string& token) {
  constexpr uint64_t kMaxCount = UINT64_MAX / 10 - 9;
  uint64_t count = 0;
  for (char c : token) {
    if (c < '0' || c > '9') break;
    if (count >= kMaxCount) return kMaxCount;
    count = count * 10 + static_cast<uint64_t>(c - '0');
  }
  return count;
}

// The counts of every row, 0 where the file ends early. Each row's first
// token is its name and is skipped.
using CountTable = std::vector<std::vector<uint64_t>>;

CountTable ReadCounts(const std::vector<std::string>& tokens) {
  CountTable counts(kBigramTagCount, std::vector<uint64_t>(kBigramTagCount, 0));
  size_t next = kHeaderTokenCount;
  for (int row = 0; row < kBigramTagCount; ++row) {
    ++next;  // the row name
    for (int column = 0; column < kBigramTagCount; ++column, ++next) {
      if (next >= tokens.size()) return counts;
      counts[row][column] = ParseCount(tokens[next]);
    }
  }
  return counts;
}

// log(count / row sum) for every seen bigram. An unseen bigram of a row with
// counts gets the row's floor, log(0.5 / (row sum + 1)): less likely than
// anything seen once, but not impossible, and never log 1, which would make
// an unseen transition look certain. A row without any count says nothing
// and scores 0.0 everywhere (no division). Columns 26 to 29 stay 0.0.
void FillRow(int row, const std::vector<uint64_t>& counts) {
  double sum = 0.0;
  for (uint64_t count : counts) sum += static_cast<double>(count);
  const double floor = sum > 0.0 ? std::log(0.5 / (sum + 1.0)) : 0.0;
  g_row_floor[row] = floor;
  for (int column = 0; column < kBigramColumnCount; ++column) {
    double& cell = g_bigram_table[row][column];
    cell = 0.0;
    if (column >= kBigramTagCount) continue;
    cell = counts[column] == 0 ? floor : std::log(static_cast<double>(counts[column]) / sum);
  }
}

// The lowest floor of the table: the score of a transition from a tag that
// has no row.
double LowestFloor() {
  double lowest = 0.0;
  for (double floor : g_row_floor) lowest = std::min(lowest, floor);
  return lowest;
}

// --- The search -----------------------------------------------------------

struct LatticeCell {
  int tag;
  double score;
  size_t back;  // index of the chosen cell in the previous row
};
using LatticeRow = std::vector<LatticeCell>;

int ReadingTag(const CELexicalEntry* reading) { return static_cast<int>(reading->GetPOSId()); }

// The reading's own score on the log scale: never above 0.0, and the
// "impossible" mark softened.
double AdjustedWeight(const CELexicalEntry* reading) {
  const double weight = static_cast<double>(reading->GetWeight());
  if (weight == kNoScore) return kSoftenedNoScore;
  if (weight > 0.0) return 0.0;
  return weight;
}

LatticeRow StartRow(const CEntryList& readings) {
  LatticeRow row;
  row.reserve(readings.size());
  for (const CELexicalEntry* reading : readings) {
    const int tag = ReadingTag(reading);
    row.push_back({tag, BigramLogProbability(0, tag), 0});
  }
  return row;
}

// Links every cell of the next token to its best predecessor. Among equal
// candidates the later predecessor wins.
LatticeRow NextRow(const LatticeRow& previous, const CEntryList& previous_readings, const CEntryList& readings) {
  LatticeRow row;
  row.reserve(readings.size());
  for (const CELexicalEntry* reading : readings) {
    LatticeCell cell{ReadingTag(reading), kNoScore, 0};
    for (size_t k = 0; k < previous.size(); ++k) {
      const double candidate =
          AdjustedWeight(previous_readings[k]) + BigramLogProbability(previous[k].tag, cell.tag) + previous[k].score;
      if (candidate < cell.score) continue;
      cell.score = candidate;
      cell.back = k;
    }
    row.push_back(cell);
  }
  return row;
}

// The cell of the last token that ends the best path. Among equal totals the
// earlier cell wins; the end of the sentence adds no bigram score.
size_t BestLastCell(const LatticeRow& last, const CEntryList& readings) {
  double best = kNoScore;
  size_t chosen = 0;
  for (size_t k = 0; k < last.size(); ++k) {
    const double candidate = AdjustedWeight(readings[k]) + last[k].score;
    if (candidate <= best) continue;
    best = candidate;
    chosen = k;
  }
  return chosen;
}

// Viterbi over tokens that all have readings; the chosen reading index of
// every token.
std::vector<size_t> ChooseReadings(const std::vector<const CEntryList*>& tokens) {
  std::vector<LatticeRow> lattice;
  lattice.reserve(tokens.size());
  lattice.push_back(StartRow(*tokens[0]));
  for (size_t t = 1; t < tokens.size(); ++t) {
    lattice.push_back(NextRow(lattice.back(), *tokens[t - 1], *tokens[t]));
  }
  std::vector<size_t> chosen(tokens.size());
  size_t cell = BestLastCell(lattice.back(), *tokens.back());
  for (size_t t = tokens.size(); t-- > 0;) {
    chosen[t] = cell;
    cell = lattice[t][cell].back;
  }
  return chosen;
}

}  // namespace

void CPosTagger::LoadBigramTable(std::string file_name) {
  const CountTable counts = ReadCounts(ReadTokens(file_name));
  for (int row = 0; row < kBigramTagCount; ++row) FillRow(row, counts[row]);
}

CSentenceReadings CPosTagger::TagSentence(CSentenceReadings readings) {
  CSentenceReadings tagged(readings.size());
  std::vector<const CEntryList*> searched;
  std::vector<size_t> positions;
  for (size_t t = 0; t < readings.size(); ++t) {
    if (readings[t].empty()) continue;
    searched.push_back(&readings[t]);
    positions.push_back(t);
  }
  if (searched.empty()) return tagged;
  const std::vector<size_t> chosen = ChooseReadings(searched);
  for (size_t i = 0; i < positions.size(); ++i) {
    tagged[positions[i]].push_back((*searched[i])[chosen[i]]);
  }
  return tagged;
}

double BigramLogProbability(int previous_tag, int tag) {
  // Tags outside the table never index it: they score as unseen bigrams.
  if (previous_tag < 0 || previous_tag >= kBigramTagCount) return LowestFloor();
  if (tag < 0 || tag >= kBigramTagCount) return g_row_floor[previous_tag];
  return g_bigram_table[previous_tag][tag];
}

void LoadTagList(std::string file_name) {
  g_tag_list.clear();
  const std::vector<std::string> names = ReadTokens(file_name);
  // Ids are 16-bit: names past the last id are left out rather than given a
  // wrapped id that belongs to another name.
  const size_t count = std::min<size_t>(names.size(), UINT16_MAX);
  for (size_t i = 0; i < count; ++i) {
    g_tag_list[names[i]] = static_cast<uint16_t>(i + 1);
  }
}

uint16_t GetTagId(std::string tag_name) {
  // Unknown names are entered with id 0, so later look-ups agree.
  return g_tag_list[tag_name];
}

// Bigram part-of-speech tagger: narrows every token's readings to one by a
// Viterbi search over tag-to-tag log probabilities plus each reading's own
// weight, and the tag list that gives tag names their numeric ids.
//
// Tag ids are the 1-based positions of the names in the English
// part-of-speech list; id 0 stands for the start of the sentence in the
// bigram table and for "unknown" in the tag list.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "resources/english/e_lexicon.h"

// Rows (and filled columns) of the bigram table: the sentence start and
// tags 1..25.
inline constexpr int kBigramTagCount = 26;
// Columns of each row; columns 26..29 always hold 0.0.
inline constexpr int kBigramColumnCount = 30;

// The reading lists of a sentence, one per token.
using CSentenceReadings = std::vector<CEntryList>;

// Holds no data: the bigram table is program-wide and filled once at engine
// set-up.
class CPosTagger {
 public:
  CPosTagger() = default;

  // Replaces the bigram table with the log probabilities of the counts in
  // the file. A missing file, or the part that a short file lacks, counts 0.
  // An unseen bigram of a row with counts scores log(0.5 / (row sum + 1)),
  // below every seen one; a row without counts scores 0.0 throughout.
  void LoadBigramTable(std::string file_name);

  // One list per token, in sentence order, holding its chosen reading. A
  // token without readings gets an empty list and is passed over by the
  // search: its neighbours are scored as if they were adjacent.
  CSentenceReadings TagSentence(CSentenceReadings readings);
};

// The table's log probability of `tag` following `previous_tag`. Ids outside
// the table score as unseen bigrams: the row's floor for an unknown tag, the
// lowest floor of the table for an unknown previous tag.
double BigramLogProbability(int previous_tag, int tag);

// Replaces the tag list with the white-space-separated names of the file;
// the i-th name gets id i (1, 2, 3 ...), and a repeated name keeps its later
// id. A file that cannot be opened leaves the list empty.
void LoadTagList(std::string file_name);

// The id of a tag name; 0 for a name not in the list.
uint16_t GetTagId(std::string tag_name);

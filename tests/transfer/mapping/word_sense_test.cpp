// Word-sense disambiguation over hand-built sense files: the hash function,
// scores, ties, distances, the window, hash chains and damaged records.
#include <algorithm>
#include <bit>
#include <cstring>

#include "core/parse_result.h"
#include "transfer/mapping/mapping_test_support.h"
#include "transfer/mapping/word_sense_disambiguator.h"

namespace mapping_test {
namespace {

void PutU32(std::vector<unsigned char>& bytes, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<unsigned char>(value >> shift));
}

void PutText(std::vector<unsigned char>& bytes, const std::string& text, size_t field) {
  std::vector<unsigned char> padded(field, 0);
  std::memcpy(padded.data(), text.data(), std::min(text.size(), field));
  bytes.insert(bytes.end(), padded.begin(), padded.end());
}

// The three files, record by record.
struct SenseFiles {
  std::vector<unsigned char> words, senses, collocations;

  void Word(const std::string& word, uint8_t category, uint32_t first, uint32_t last) {
    PutText(words, word, 50);
    words.push_back(category);
    words.push_back(0);
    PutU32(words, first);
    PutU32(words, last);
  }
  void Sense(uint32_t first, uint32_t last, uint32_t number) {
    PutU32(senses, first);
    PutU32(senses, last);
    PutU32(senses, number);
  }
  void Collocation(const std::string& text, int32_t distance, float score, int32_t next) {
    PutText(collocations, text, 52);
    PutU32(collocations, static_cast<uint32_t>(distance));
    PutU32(collocations, std::bit_cast<uint32_t>(score));
    PutU32(collocations, static_cast<uint32_t>(next));
  }
  // A sense block of one slot holding one collocation.
  void SingleSense(uint32_t number, const std::string& text, int32_t distance, float score) {
    const auto first = static_cast<uint32_t>(collocations.size() / 64 + 1);
    Collocation(text, distance, score, 0);
    Sense(first, first, number);
  }
};

// Token records: text and part-of-speech id.
CNamedIdList Tokens(const std::vector<std::pair<WString, int>>& tokens) {
  CNamedIdList list;
  for (const auto& [text, id] : tokens) list.Items.push_back(new CNamedId(text, id));
  return list;
}

constexpr int kNoun = 2;
constexpr int kVerb = 5;

class WordSenseTest : public MappingTest {
 protected:
  void Open(const SenseFiles& files, int window) {
    WriteBytes(dir_.File("words.wsd"), files.words);
    WriteBytes(dir_.File("senses.wsd"), files.senses);
    WriteBytes(dir_.File("colls.wsd"), files.collocations);
    ASSERT_TRUE(wsd_.OpenSenseFiles(dir_.File("words.wsd"), dir_.File("senses.wsd"), dir_.File("colls.wsd")));
    ASSERT_TRUE(wsd_.LoadWordList());
    wsd_.SetWindowSize(window);
  }

  // Disambiguates candidates of the given sense numbers; the sense numbers
  // in their new order.
  std::vector<uint32_t> Order(const WString& word, const std::vector<uint32_t>& senses, const CNamedIdList& tokens,
                              int position, bool* decided = nullptr) {
    std::vector<std::unique_ptr<CSenseCandidate>> owned;
    std::vector<CSenseCandidate*> candidates;
    for (uint32_t sense : senses) {
      owned.push_back(std::make_unique<CSenseCandidate>(sense, nullptr));
      candidates.push_back(owned.back().get());
    }
    const bool result = wsd_.Disambiguate(word, candidates, tokens, position);
    if (decided) *decided = result;
    std::vector<uint32_t> order;
    for (const CSenseCandidate* candidate : candidates) order.push_back(candidate->senseNumber);
    return order;
  }

  CWordSenseDisambiguator wsd_;
};

TEST(HashString, GivesTheValuesOfTheSenseFileScript) {
  // Values printed by tools/build_sense_files.py --hash TEXT M.
  struct Case {
    std::string text;
    uint32_t modulus, want;
  };
  const Case cases[] = {
      {"a", 1, 0},          {"guitar", 1, 0},                                       // M = 1: always 0
      {"a", 2, 1},          {"ab", 2, 0},                                           // M = 2: the last byte mod 2
      {"ba", 2, 1},         {"guitar", 7, 3}, {"football", 17, 2}, {"\xE9", 5, 3},  // a byte above 127 is sign-extended
      {"hello", 1000, 555}, {"", 5, 0},       {"x", 0, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(HashString(c.text, c.modulus), c.want) << c.text << " " << c.modulus;
}

TEST_F(WordSenseTest, TheBestCollocationOrdersTheCandidates) {
  SenseFiles files;
  files.Word("bank", kNoun, 1, 3);
  files.SingleSense(1, "x", 1, 0.5f);
  files.SingleSense(2, "x", 1, 0.5f);
  files.SingleSense(3, "y", -1, 0.7f);
  Open(files, 3);
  const CNamedIdList tokens = Tokens({{u"y", 0}, {u"bank", kNoun}, {u"x", 0}});
  bool decided = false;
  // 0.7 first; of the two 0.5s the later one first.
  EXPECT_EQ(Order(u"bank", {1, 2, 3}, tokens, 1, &decided), (std::vector<uint32_t>{3, 2, 1}));
  EXPECT_TRUE(decided);
  // A sense without records scores 0 and goes last.
  EXPECT_EQ(Order(u"bank", {9, 1}, tokens, 1), (std::vector<uint32_t>{1, 9}));
  // The part from the last '_' of the word on is not looked up.
  EXPECT_EQ(Order(u"bank_2", {1, 3}, tokens, 1), (std::vector<uint32_t>{3, 1}));
  EXPECT_EQ(Order(u"bank_x_2", {1, 3}, tokens, 1), (std::vector<uint32_t>{1, 3}));
}

TEST_F(WordSenseTest, UndecidedWordsKeepTheirOrder) {
  SenseFiles files;
  files.Word("bank", kNoun, 1, 2);
  files.SingleSense(1, "river", 2, 0.9f);
  files.SingleSense(2, "money", -1, 0.9f);
  Open(files, 3);
  struct Case {
    const char* what;
    WString word;
    CNamedIdList tokens;
    int position;
  };
  const Case cases[] = {
      {"distance differs", u"bank", Tokens({{u"bank", kNoun}, {u"river", 0}}), 0},
      {"no collocate", u"bank", Tokens({{u"the", 1}, {u"bank", kNoun}}), 1},
      {"other category", u"bank", Tokens({{u"bank", kVerb}, {u"x", 0}, {u"river", 0}}), 0},
      {"unknown word", u"shore", Tokens({{u"shore", kNoun}, {u"x", 0}, {u"river", 0}}), 0},
      {"position past the end", u"bank", Tokens({{u"bank", kNoun}, {u"x", 0}, {u"river", 0}}), 3},
      {"negative position", u"bank", Tokens({{u"bank", kNoun}, {u"x", 0}, {u"river", 0}}), -1},
      {"category -1", u"bank", Tokens({{u"bank", -1}, {u"x", 0}, {u"river", 0}}), 0},
  };
  for (const Case& c : cases) {
    bool decided = true;
    EXPECT_EQ(Order(c.word, {1, 2}, c.tokens, c.position, &decided), (std::vector<uint32_t>{1, 2})) << c.what;
    EXPECT_FALSE(decided) << c.what;
  }
  bool decided = false;
  EXPECT_EQ(Order(u"bank", {1, 2}, Tokens({{u"bank", kNoun}, {u"x", 0}, {u"river", 0}}), 0, &decided),
            (std::vector<uint32_t>{1, 2}));
  EXPECT_TRUE(decided);
}

TEST_F(WordSenseTest, TheWindowBoundsTheContext) {
  SenseFiles files;
  files.Word("w", kNoun, 1, 4);
  files.SingleSense(1, "b", 2, 0.5f);
  files.SingleSense(2, "c", 3, 0.9f);
  files.SingleSense(3, "b", -2, 0.6f);
  files.SingleSense(4, "a", -3, 0.9f);
  Open(files, 2);
  // At the first position only the next two tokens count: c at +3 does not.
  EXPECT_EQ(Order(u"w", {2, 1}, Tokens({{u"w", kNoun}, {u"a", 0}, {u"b", 0}, {u"c", 0}}), 0),
            (std::vector<uint32_t>{1, 2}));
  // At the last position only the two tokens before it: a at -3 does not.
  EXPECT_EQ(Order(u"w", {4, 3}, Tokens({{u"a", 0}, {u"b", 0}, {u"c", 0}, {u"w", kNoun}}), 3),
            (std::vector<uint32_t>{3, 4}));
}

// Two texts whose hashes in a block of n slots are equal.
std::pair<std::string, std::string> Colliding(uint32_t slots) {
  const std::string first = "alpha";
  for (char c = 'a'; c <= 'z'; ++c) {
    const std::string other = std::string("beta") + c;
    if (HashString(other, slots) == HashString(first, slots)) return {first, other};
  }
  return {first, first};
}

TEST_F(WordSenseTest, CollocationsAreFoundAlongTheirHashChain) {
  constexpr uint32_t kSlots = 3;
  const auto [home, chained] = Colliding(kSlots);
  ASSERT_NE(home, chained);
  const uint32_t slot = HashString(home, kSlots);
  const uint32_t overflow = slot == 1 ? 2 : 1;  // never slot 0: a next index of 0 ends a chain
  struct Case {
    const char* what;
    int32_t homeNext;      // the next index of the home slot
    int32_t overflowNext;  // the next index of the chained slot
    float want;
  };
  const Case cases[] = {
      {"chain of two", static_cast<int32_t>(overflow), 0, 0.8f},
      {"chain ends at home", 0, 0, 0.0f},
      {"index past the block", 7, 0, 0.0f},
      {"negative index", -1, 0, 0.0f},
      {"chain loops", static_cast<int32_t>(slot), 0, 0.0f},
  };
  for (const Case& c : cases) {
    SenseFiles files;
    files.Word("w", kNoun, 1, 1);
    for (uint32_t i = 0; i < kSlots; ++i) {
      if (i == slot) {
        files.Collocation(home, 1, 0.4f, c.homeNext);
      } else if (i == overflow) {
        files.Collocation(chained, 1, 0.8f, c.overflowNext);
      } else {
        files.Collocation("", 0, 0.0f, 0);
      }
    }
    files.Sense(1, kSlots, 1);
    Open(files, 3);
    std::vector<CSenseRecord> senses;
    wsd_.ReadSenseRecords(1, 1, senses);
    EXPECT_FLOAT_EQ(wsd_.ScoreCollocations(1, senses, {{chained, 0, 1}}), c.want) << c.what;
    EXPECT_FLOAT_EQ(wsd_.ScoreCollocations(1, senses, {{home, 0, 1}}), 0.4f) << c.what;
    // The best of several matching context words counts.
    EXPECT_FLOAT_EQ(wsd_.ScoreCollocations(1, senses, {{home, 0, 1}, {chained, 0, 1}}), std::max(0.4f, c.want))
        << c.what;
  }
}

TEST_F(WordSenseTest, CollocatesAreComparedTrimmed) {
  SenseFiles files;
  files.Word("w", kNoun, 1, 1);
  files.SingleSense(1, " guitar ", 1, 0.9f);
  Open(files, 3);
  std::vector<CSenseRecord> senses;
  wsd_.ReadSenseRecords(1, 1, senses);
  EXPECT_FLOAT_EQ(wsd_.ScoreCollocations(1, senses, {{"guitar", 0, 1}}), 0.9f);
}

TEST_F(WordSenseTest, RecordNumbersOutsideTheFilesReadNothing) {
  SenseFiles files;
  files.SingleSense(1, "x", 1, 0.5f);
  files.SingleSense(2, "y", 1, 0.5f);
  files.Word("w", kNoun, 2, 5);  // more senses than the file has
  files.Word("v", kNoun, 0, 1);  // record numbers count from 1
  Open(files, 3);
  struct Case {
    uint32_t first, last;
    size_t want;
  };
  const Case cases[] = {{1, 2, 2}, {2, 2, 1}, {0, 1, 0}, {2, 1, 0}, {2, 3, 0}, {3, 3, 0}};
  for (const Case& c : cases) {
    std::vector<CSenseRecord> senses{{9, 9, 9}};
    wsd_.ReadSenseRecords(c.first, c.last, senses);
    EXPECT_EQ(senses.size(), c.want) << c.first << ".." << c.last;
    std::vector<CCollocationRecord> block;
    wsd_.ReadCollocationRecords(c.first, c.last, block);
    EXPECT_EQ(block.size(), c.want) << c.first << ".." << c.last;
  }
  EXPECT_EQ(Order(u"w", {2, 1}, Tokens({{u"w", kNoun}, {u"y", 0}}), 0), (std::vector<uint32_t>{2, 1}));
  EXPECT_EQ(Order(u"v", {2, 1}, Tokens({{u"v", kNoun}, {u"x", 0}}), 0), (std::vector<uint32_t>{2, 1}));
}

TEST_F(WordSenseTest, AShortLastRecordIsNotRead) {
  SenseFiles files;
  files.Word("w", kNoun, 1, 1);
  files.SingleSense(1, "x", 1, 0.5f);
  files.collocations.pop_back();
  files.words.insert(files.words.end(), 30, 0);  // half a word record
  Open(files, 3);
  EXPECT_EQ(wsd_.WordCount(), 1u);
  std::vector<CCollocationRecord> block;
  wsd_.ReadCollocationRecords(1, 1, block);
  EXPECT_TRUE(block.empty());
}

TEST_F(WordSenseTest, ConfigurationNamesTheFilesAndTheWindow) {
  SenseFiles files;
  files.Word("w", kNoun, 1, 1);
  files.SingleSense(1, "x", 4, 0.5f);
  WriteBytes(dir_.File("words.wsd"), files.words);
  WriteBytes(dir_.File("senses.wsd"), files.senses);
  WriteBytes(dir_.File("colls.wsd"), files.collocations);
  SetConfigValue("WSDWordListFile", dir_.File("words.wsd"));
  SetConfigValue("WSDSenseInfoFile", dir_.File("senses.wsd"));
  SetConfigValue("WSDCollInfoFile", dir_.File("colls.wsd"));
  SetConfigValue("WSDCollocationWindowSize", "4");
  EXPECT_TRUE(wsd_.ReadConfiguration());
  EXPECT_EQ(wsd_.WindowSize(), 4);
  EXPECT_EQ(wsd_.WordCount(), 1u);

  CWordSenseDisambiguator missing;
  SetConfigValue("WSDCollInfoFile", dir_.File("absent.wsd"));
  EXPECT_FALSE(missing.ReadConfiguration());
  EXPECT_EQ(missing.WordCount(), 0u);
}

}  // namespace
}  // namespace mapping_test

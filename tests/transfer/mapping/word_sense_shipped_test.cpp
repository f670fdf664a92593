// The shipped sense files with the token records that the CFG parser gives
// for whole sentences, and a check that every shipped collocation is found
// where the program's hash looks for it.
#include "analysis/cfg/cfg_engine_fixture.h"
#include "core/parse_result.h"
#include "transfer/mapping/word_sense_disambiguator.h"

namespace cfg_test {
namespace {

class ShippedSenses : public ShippedCfgEngine {
 protected:
  void SetUp() override {
    ShippedCfgEngine::SetUp();
    const std::string wsd = SourceDir() + "/dataroot/data/wsd/";
    SetConfigValue("WSDWordListFile", wsd + "WSDWordList.wsd");
    SetConfigValue("WSDSenseInfoFile", wsd + "WSDSenseInfo.wsd");
    SetConfigValue("WSDCollInfoFile", wsd + "WSDCollInfo.wsd");
    SetConfigValue("WSDCollocationWindowSize", "3");
    ASSERT_TRUE(wsd_.ReadConfiguration());
  }

  // The sense numbers of "play"'s candidates (1, 2) after disambiguation of
  // the word at position in the sentence.
  std::vector<uint32_t> PlaySenses(const std::string& sentence, int position, bool& decided) {
    EXPECT_TRUE(Parse(sentence)) << sentence;
    std::unique_ptr<CParseResult> result(parser_->GetParseResult());
    CSenseCandidate game(1, nullptr), instrument(2, nullptr);
    std::vector<CSenseCandidate*> candidates{&game, &instrument};
    decided = result && wsd_.Disambiguate(u"play", candidates, result->Names, position);
    return {candidates[0]->senseNumber, candidates[1]->senseNumber};
  }

  CWordSenseDisambiguator wsd_;
};

TEST_F(ShippedSenses, PlayIsAGameOrAnInstrumentByItsObject) {
  struct Case {
    std::string sentence;
    int position;
    std::vector<uint32_t> order;
    bool decided;
  };
  const Case cases[] = {
      {"He plays the guitar", 1, {2, 1}, true},   {"He plays football", 1, {1, 2}, true},
      {"They play the piano", 1, {2, 1}, true},   {"He plays", 1, {1, 2}, false},
      {"He plays the guitar", 4, {1, 2}, false},  // outside the token records
      {"He plays the guitar", -1, {1, 2}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sentence + " at " + std::to_string(c.position));
    bool decided = !c.decided;
    EXPECT_EQ(PlaySenses(c.sentence, c.position, decided), c.order);
    EXPECT_EQ(decided, c.decided);
    ResetSentence();
  }
}

TEST_F(ShippedSenses, EveryShippedCollocationIsFoundAtItsHash) {
  // Walk every sense block of the files: each collocation must be reachable
  // from the slot its text hashes to, which holds only when the script and
  // HashString agree.
  for (uint32_t sense = 1;; ++sense) {
    std::vector<CSenseRecord> records;
    wsd_.ReadSenseRecords(sense, sense, records);
    if (records.empty()) {
      EXPECT_EQ(sense, 11u) << "the shipped files hold two senses of five words";
      break;
    }
    std::vector<CCollocationRecord> block;
    wsd_.ReadCollocationRecords(records[0].firstCollocation, records[0].lastCollocation, block);
    ASSERT_FALSE(block.empty());
    for (const CCollocationRecord& record : block) {
      if (record.collocate.empty()) continue;
      SCOPED_TRACE(record.collocate + " " + std::to_string(record.distance));
      EXPECT_FLOAT_EQ(wsd_.ScoreCollocations(records[0].senseNumber, records, {{record.collocate, 0, record.distance}}),
                      record.score);
    }
  }
}

}  // namespace
}  // namespace cfg_test

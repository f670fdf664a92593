// What a generated sentence leaves out of its structure: the PRED nodes that
// gave no word of it.
#include <gtest/gtest.h>

#include "transfer/generation/generation_fixture.h"

using namespace generation_test;

namespace {

struct LeftOutCase {
  const char* what;
  const char* structure;
  const char* sentence;  // the first sentence
  const char* leftOut;   // the PRED words of its left-out nodes, blank-separated
};

std::string PredWords(const std::vector<const CFSNode*>& nodes) {
  std::string words;
  for (const CFSNode* node : nodes) {
    if (!words.empty()) words += ' ';
    words += ValuesOf(At(const_cast<CFSNode*>(node), "PRED.VALUE"));
  }
  return words;
}

}  // namespace

TEST_F(GenerationTest, SentencesNameThePartsOfTheirStructureTheyLeaveOut) {
  const LeftOutCase cases[] = {
      {"the whole structure said", "[PRED='parh'/SUBJ,OBJ SUBJ[PRED='larka' NUM=sg] OBJ[PRED='kitab' NUM=sg]]",
       " larka kitab parhta", ""},
      {"an adjunct the lexicon lacks", "[PRED='aa'/SUBJ SUBJ[PRED='woh' NUM=sg] ADJUNCT{[PRED='aaj'] [PRED='ghar']}]",
       " woh aaj aata", "'ghar'"},
      {"a specifier the lexicon lacks",
       "[PRED='parh'/SUBJ,OBJ SUBJ[PRED='larka' NUM=sg] OBJ[PRED='kitab' NUM=sg SPEC[PRED='do']]]",
       " larka kitab parhta", "'do'"},
      {"the understood pronoun is never said nor missed", "[PRED='aa'/SUBJ SUBJ[PRED='pro' NUM=sg]]", " aata", ""},
  };
  for (const LeftOutCase& c : cases) {
    std::vector<CGeneratedSentence> sentences;
    auto* handle = new CFSHandle(BuildStructure(c.structure), 1.0);
    handle->Normalize();
    Generator().GenerateSentences(sentences, {handle});
    ASSERT_FALSE(sentences.empty()) << c.what;
    EXPECT_EQ(ToUtf8(sentences.front().text), c.sentence) << c.what;
    EXPECT_EQ(PredWords(sentences.front().leftOut), c.leftOut) << c.what;
    ResetSentence();
  }
}

// The generation chart on the small test grammar of tests/data/generation.
#include <gtest/gtest.h>

#include "transfer/generation/generation_fixture.h"

using namespace generation_test;

namespace {

struct SentenceCase {
  const char* what;
  const char* structure;
  const char* expected;  // sentences joined with '|'
};

}  // namespace

TEST_F(GenerationTest, StructuresGiveTheirSentences) {
  const SentenceCase cases[] = {
      {"subject, object, agreement",
       "[PRED='parh'/SUBJ,OBJ SUBJ[PRED='larka' NUM=sg] OBJ[PRED='kitab' NUM=sg SPEC[PRED='ek']]]",
       " larka ek kitab parhta"},
      {"plural subject and object",
       "[PRED='parh'/SUBJ,OBJ SUBJ[PRED='larka' NUM=pl] OBJ[PRED='kitab' NUM=pl]]", " larke kitaben parhte"},
      {"intransitive with a pronoun", "[PRED='aa'/SUBJ SUBJ[PRED='woh' NUM=sg]]", " woh aata"},
      {"adjunct set in set order", "[PRED='aa'/SUBJ SUBJ[PRED='woh' NUM=sg] ADJUNCT{[PRED='aaj'] [PRED='yahan']}]",
       " woh aaj yahan aata"},
      {"negation and question", "[PRED='aa'/SUBJ MOOD=interrog NEG=+ SUBJ[PRED='woh' NUM=sg]]", " kya woh nahin aata"},
      {"a verb frame that no entry has", "[PRED='parh'/SUBJ SUBJ[PRED='woh' NUM=sg]]", ""},
      {"a word the lexicon lacks and no word generator", "[PRED='aa'/SUBJ SUBJ[PRED='ghar' NUM=sg]]", ""},
  };
  for (const SentenceCase& c : cases) {
    EXPECT_EQ(GenerateFrom(c.structure), c.expected) << c.what;
    ResetSentence();
  }
}

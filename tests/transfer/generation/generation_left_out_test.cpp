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
    // A left-out node without a PRED is a negation: named by its attribute.
    const CFSNode* value = At(const_cast<CFSNode*>(node), "PRED.VALUE");
    words += value != nullptr ? ValuesOf(value) : ToUtf8(GetSymbolName(static_cast<SymbolId>(node->Attribute)));
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

// A negated structure whose sentence has no word that says the negation
// (nahin: ^NEG = +) says the opposite; the NEG feature is left out then.
TEST_F(GenerationTest, ASentenceWithoutTheWordOfItsNegationLeavesTheNegationOut) {
  struct Case {
    const char* what;
    const char16_t* rules;  // null: the test grammar
    const char* structure;
    std::vector<std::pair<std::string, std::string>> sentences;  // text and left-out words, in text order
  };
  constexpr const char16_t* kNoNegation = u"S -> NP: ^SUBJ=! ; v: ^=! ; .\nNP -> pron: ^=! ; .\n";
  constexpr const char16_t* kNegationOrNot =
      u"S -> NP: ^SUBJ=! ; v: ^=! ; .\nS -> NP: ^SUBJ=! ; neg: ^=! ; v: ^=! ; .\nNP -> pron: ^=! ; .\n";
  const std::vector<Case> cases = {
      {"the grammar says the negation",
       nullptr,
       "[PRED='aa'/SUBJ NEG=+ SUBJ[PRED='woh' NUM=sg]]",
       {{" woh nahin aata", ""}}},
      {"no rule says it", kNoNegation, "[PRED='aa'/SUBJ NEG=+ SUBJ[PRED='woh' NUM=sg]]", {{" woh aata", "NEG"}}},
      {"a rule that says it beside one that does not",
       kNegationOrNot,
       "[PRED='aa'/SUBJ NEG=+ SUBJ[PRED='woh' NUM=sg]]",
       {{" woh aata", "NEG"}, {" woh nahin aata", ""}}},
      {"a clause that is not negated",
       kNoNegation,
       "[PRED='aa'/SUBJ NEG=- SUBJ[PRED='woh' NUM=sg]]",
       {{" woh aata", ""}}},
      {"a negated subject left out with its negation",
       kNoNegation,
       "[PRED='aa'/SUBJ SUBJ[PRED='woh' NUM=sg] OBJ[PRED='kitab' NEG=+ NUM=sg]]",
       {{" woh aata", "'kitab' NEG"}}},
  };
  const std::u16string testRules = rulesText;
  for (const Case& c : cases) {
    generator.reset();
    rulesText = c.rules != nullptr ? std::u16string(c.rules) : testRules;
    std::vector<CGeneratedSentence> sentences;
    auto* handle = new CFSHandle(BuildStructure(c.structure), 1.0);
    handle->Normalize();
    Generator().GenerateSentences(sentences, {handle});
    std::vector<std::pair<std::string, std::string>> found;
    for (const CGeneratedSentence& sentence : sentences)
      found.emplace_back(ToUtf8(sentence.text), PredWords(sentence.leftOut));
    EXPECT_EQ(found, c.sentences) << c.what;
    ResetSentence();
  }
}

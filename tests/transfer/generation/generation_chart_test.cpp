// The generation chart on the small test grammar of tests/data/generation.
#include <algorithm>

#include <gtest/gtest.h>

#include "core/trace_log.h"

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
      {"plural subject and object", "[PRED='parh'/SUBJ,OBJ SUBJ[PRED='larka' NUM=pl] OBJ[PRED='kitab' NUM=pl]]",
       " larke kitaben parhte"},
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

namespace {

constexpr const char* kIntransitive = "[PRED='aa'/SUBJ SUBJ[PRED='woh' NUM=sg]]";

}  // namespace

TEST_F(GenerationTest, EmptyProductionsWaitUntilTheAgendaRunsDry) {
  // Tail is empty unless the clause is negated. The second rule needs no
  // Tail, so its sentence comes first and the deferred edge is never used.
  rulesText =
      u"S -> NP: ^SUBJ=! ; v: ^=! ; Tail: ^=! ; .\n"
      u"S -> NP: ^SUBJ=! ; v: ^=! ; .\n"
      u"Tail -> (neg: ^=!, [^NEG =c +] ;) .\n"
      u"NP -> pron: ^=! ; .\n";
  EXPECT_EQ(GenerateFrom(kIntransitive), " woh aata");
  EXPECT_EQ(Generator().DeferredSize(), 1u);
  ResetSentence();
  EXPECT_EQ(Generator().DeferredSize(), 0u);
  // Without the second rule the deferred edge is released and used.
  generator.reset();
  rulesText =
      u"S -> NP: ^SUBJ=! ; v: ^=! ; Tail: ^=! ; .\n"
      u"Tail -> (neg: ^=!, [^NEG =c +] ;) .\n"
      u"NP -> pron: ^=! ; .\n";
  EXPECT_EQ(GenerateFrom(kIntransitive), " woh aata");
  EXPECT_EQ(Generator().DeferredSize(), 0u);
}

TEST_F(GenerationTest, AChartKeptWithoutResetSeesItsEarlierEdgesAsDuplicates) {
  CFSNode* root = BuildStructure(kIntransitive);
  auto* handle = new CFSHandle(root, 1.0);
  handle->Normalize();
  WStringList first, second;
  Generator().Generate(first, {handle});
  const size_t afterFirst = Generator().AgendaSize();
  Generator().Generate(second, {handle});
  EXPECT_EQ(Joined(second), Joined(first));
  EXPECT_LT(Generator().AgendaSize() - afterFirst, afterFirst);
}

TEST_F(GenerationTest, FinishedClausesThatLeaveAPartUnusedCountFromTheThirdOn) {
  // Three rules finish over the structure (their subjects differ in
  // category only: a category predicted once over a node is not predicted
  // again); none uses OBL.
  rulesText =
      u"S -> NP: ^SUBJ=! ; v: ^=! ; .\n"
      u"S -> Subject: ^SUBJ=! ; v: ^=! ; .\n"
      u"S -> Pronoun: ^SUBJ=! ; v: ^=! ; .\n"
      u"NP -> pron: ^=! ; .\nSubject -> pron: ^=! ; .\nPronoun -> pron: ^=! ; .\n";
  const char* unused = "[PRED='aa'/SUBJ SUBJ[PRED='woh' NUM=sg] OBL[PRED='kal']]";
  EXPECT_EQ(GenerateFrom(unused), " woh aata");
  EXPECT_EQ(Generator().UnfinishedSCount(), 3);
  ResetSentence();
  // With OBL among the attributes that need not be used, none is unfinished.
  generator.reset();
  specialItems = u"NUM,OBL";
  EXPECT_EQ(GenerateFrom(unused), " woh aata");
  EXPECT_EQ(Generator().UnfinishedSCount(), 0);
  ResetSentence();
  // With one or two unfinished clauses the last one's sentence comes after
  // the chart ran dry; with none at all there is no sentence.
  generator.reset();
  specialItems = u"NUM";
  rulesText = u"S -> NP: ^SUBJ=! ; v: ^=! ; .\nNP -> pron: ^=! ; .\n";
  EXPECT_EQ(GenerateFrom(unused), " woh aata");
  EXPECT_EQ(Generator().UnfinishedSCount(), 1);
  ResetSentence();
  EXPECT_EQ(GenerateFrom("[PRED='aa'/SUBJ SUBJ[PRED='ghar']]"), "");
}

TEST_F(GenerationTest, OfUnfinishedClausesTheThirdGivesTheFirstSentence) {
  // Three clauses, each in its own word order, finish over a structure
  // whose OBL none of them uses: the first two give nothing, the third its
  // sentence.
  rulesText =
      u"S -> NP: ^SUBJ=! ; v: ^=! ; .\n"
      u"S -> v: ^=! ; Subject: ^SUBJ=! ; .\n"
      u"S -> Pronoun: ^SUBJ=! ; Adv: !$^ADJUNCT ; v: ^=! ; .\n"
      u"NP -> pron: ^=! ; .\nSubject -> pron: ^=! ; .\nPronoun -> pron: ^=! ; .\n"
      u"Adv -> adv: ^=! ; .\n";
  EXPECT_EQ(GenerateFrom("[PRED='aa'/SUBJ SUBJ[PRED='woh' NUM=sg] OBL[PRED='kal'] ADJUNCT{[PRED='aaj']}]"),
            " woh aaj aata");
  EXPECT_EQ(Generator().UnfinishedSCount(), 3);
}

TEST_F(GenerationTest, AChartThatOutgrowsItsLimitGivesNothing) {
  Generator().maxEdgesPerStructure = 3;
  const uint64_t lines = TraceLogLineCount();
  EXPECT_EQ(GenerateFrom(kIntransitive), "");
  EXPECT_EQ(TraceLogLineCount(), lines + 1);
  ResetSentence();
  Generator().maxEdgesPerStructure = CUrduSentenceGenerator::kDefaultMaxEdgesPerStructure;
  EXPECT_EQ(GenerateFrom(kIntransitive), " woh aata");
}

TEST_F(GenerationTest, TheResetLeavesNoEdgeProductionNodeOrHandle) {
  EXPECT_EQ(GenerateFrom("[PRED='parh'/SUBJ,OBJ SUBJ[PRED='larka' NUM=pl] OBJ[PRED='kitab' NUM=pl]]"),
            " larke kitaben parhte");
  EXPECT_GT(CChartEdge::liveInstances, edgesAtStart);
  ResetSentence();
  EXPECT_EQ(CChartEdge::liveInstances, edgesAtStart);
  EXPECT_EQ(RegisteredProductionCount(), 0u);
  EXPECT_EQ(CFSNode::RegisteredCount(), 0u);
  EXPECT_EQ(CFSHandle::RegisteredCount(), 0u);
  EXPECT_EQ(Generator().AgendaSize(), 0u);
}

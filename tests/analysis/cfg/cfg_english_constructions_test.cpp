// The constructions of the shipped English grammar, each on sentences
// written for this table (none from the evaluation sentences), with the
// F-structure facts that matter to transfer: functions, tense, aspect,
// modality, passive, agreement, the kind of a clause.
#include "analysis/cfg/cfg_engine_fixture.h"
#include "analysis/cfg/cfg_fstructure_paths.h"

namespace cfg_test {
namespace {

using Path = std::vector<std::u16string>;

// Paths used again and again.
const Path kPred = {u"PRED", u"VALUE"};
Path Under(Path prefix, const Path& rest) {
  prefix.insert(prefix.end(), rest.begin(), rest.end());
  return prefix;
}
Path PredOf(const Path& at) { return Under(at, kPred); }
Path FirstAdjunct(const Path& at = {}) { return Under(at, {u"ADJUNCT", u"SET", kFirstMember}); }

struct Row {
  const char* construction;
  const char* sentence;
  std::vector<Expected> facts;
};

class EnglishConstructions : public ShippedCfgEngine {
 protected:
  void Check(const Row& row) {
    SCOPED_TRACE(std::string(row.construction) + ": " + row.sentence);
    ASSERT_TRUE(Parse(row.sentence));
    std::unique_ptr<CParseResult> result(parser_->GetParseResult());
    ASSERT_TRUE(result && result->FStructure && result->FStructure->root);
    const CFSNode* root = result->FStructure->root;
    for (const Expected& fact : row.facts) {
      std::string where;
      for (const auto& step : fact.path) where += ToUtf8(step) + " ";
      EXPECT_EQ(Values(At(root, fact.path)), fact.values) << where << "in " << Show(root);
    }
  }
  void CheckAll(const std::vector<Row>& rows) {
    for (const Row& row : rows) {
      Check(row);
      ResetSentence();
    }
  }
};

TEST_F(EnglishConstructions, PassivesWithAndWithoutTheAgent) {
  CheckAll({
      {"passive with by",
       "The letter was written by my sister",
       {{kPred, {"write"}},
        {{u"PASSIVE"}, {"+"}},
        {{u"TENSE"}, {"past"}},
        {PredOf({u"SUBJ"}), {"letter"}},
        {PredOf(FirstAdjunct()), {"by"}},
        {{u"OBJ"}, {}}}},
      {"passive, plural subject",
       "The windows were cleaned",
       {{kPred, {"clean"}}, {{u"PASSIVE"}, {"+"}}, {{u"SUBJ", u"NUM"}, {"pl"}}}},
      {"present passive", "The car is washed every week", {{{u"PASSIVE"}, {"+"}}, {{u"TENSE"}, {"pres"}}}},
      {"passive of a ditransitive verb",
       "She was given a prize",
       {{{u"PRED", u"GF"}, {"SUBJ", "OBJ"}}, {PredOf({u"OBJ"}), {"prize"}}, {{u"PASSIVE"}, {"+"}}}},
      {"perfect passive", "It has been sold", {{kPred, {"sell"}}, {{u"ASPECT"}, {"perf"}}, {{u"PASSIVE"}, {"+"}}}},
      {"modal perfect passive",
       "The letter should have been sent",
       {{{u"MODAL"}, {"should"}}, {{u"ASPECT"}, {"perf"}}, {{u"PASSIVE"}, {"+"}}, {PredOf({u"SUBJ"}), {"letter"}}}},
      {"future passive with by", "It will be repaired by the workers", {{{u"TENSE"}, {"fut"}}, {{u"PASSIVE"}, {"+"}}}},
  });
}

TEST_F(EnglishConstructions, AspectsAndChainsOfAuxiliaries) {
  CheckAll({
      {"progressive",
       "The children are playing in the garden",
       {{{u"ASPECT"}, {"prog"}}, {{u"TENSE"}, {"pres"}}, {{u"SUBJ", u"NUM"}, {"pl"}}}},
      {"perfect",
       "She has finished her work",
       {{{u"ASPECT"}, {"perf"}}, {{u"PASSIVE"}, {"-"}}, {{u"TENSE"}, {"pres"}}}},
      {"past perfect", "They had left the city", {{{u"ASPECT"}, {"perf"}}, {{u"TENSE"}, {"past"}}}},
      {"perfect progressive",
       "He has been reading for hours",
       {{kPred, {"read"}}, {{u"ASPECT"}, {"perfprog"}}, {{u"TENSE"}, {"pres"}}}},
      {"modal perfect",
       "You should have called me",
       {{{u"MODAL"}, {"should"}}, {{u"ASPECT"}, {"perf"}}, {PredOf({u"OBJ"}), {"I"}}}},
      {"modal perfect progressive",
       "She must have been sleeping",
       {{{u"MODAL"}, {"must"}}, {{u"ASPECT"}, {"perfprog"}}, {kPred, {"sleep"}}}},
      {"future progressive", "We will be waiting for you", {{{u"TENSE"}, {"fut"}}, {{u"ASPECT"}, {"prog"}}}},
      {"progressive passive", "The road is being built", {{{u"ASPECT"}, {"prog"}}, {{u"PASSIVE"}, {"+"}}}},
      {"modal", "She can swim very well", {{{u"MODAL"}, {"can"}}, {kPred, {"swim"}}}},
      {"negated modal", "You must not smoke here", {{{u"MODAL"}, {"must"}}, {{u"NEG"}, {"+"}}}},
  });
}

TEST_F(EnglishConstructions, ModalsWithTo) {
  CheckAll({
      {"have to",
       "I have to leave now",
       {{kPred, {"have"}}, {PredOf({u"XCOMP"}), {"leave"}}, {PredOf({u"XCOMP", u"SUBJ"}), {"I"}}}},
      {"used to", "We used to live in Lahore", {{kPred, {"use"}}, {PredOf({u"XCOMP"}), {"live"}}}},
      {"ought to", "You ought to help him", {{kPred, {"ought"}}, {PredOf({u"XCOMP"}), {"help"}}}},
      {"be going to",
       "They are going to leave",
       {{kPred, {"go"}}, {{u"ASPECT"}, {"prog"}}, {PredOf({u"XCOMP"}), {"leave"}}}},
  });
}

// A verb's object is the subject of the infinitive after it; the verb's
// own subject is not.
TEST_F(EnglishConstructions, ObjectControl) {
  CheckAll({
      {"allow",
       "They allowed him to go",
       {{PredOf({u"OBJ"}), {"he"}}, {PredOf({u"XCOMP"}), {"go"}}, {PredOf({u"XCOMP", u"SUBJ"}), {"he"}}}},
      {"persuade", "She persuaded me to stay", {{PredOf({u"XCOMP", u"SUBJ"}), {"I"}}, {{u"TENSE"}, {"past"}}}},
      {"get with a name",
       "We will get Ali to help us",
       {{PredOf({u"XCOMP", u"SUBJ"}), {"Ali"}}, {PredOf({u"XCOMP", u"OBJ"}), {"we"}}, {{u"TENSE"}, {"fut"}}}},
      {"warn with a negated infinitive",
       "I warned them not to swim",
       {{PredOf({u"XCOMP", u"SUBJ"}), {"they"}}, {{u"XCOMP", u"NEG"}, {"+"}}}},
  });
}

// Participle clauses: before the main clause after a comma, and after the
// verb's object or a prepositional phrase. Their subject is understood; a
// past participle there is passive; PARTICIPLE marks them.
TEST_F(EnglishConstructions, ParticipleClausesBeforeAndAfterTheMainClause) {
  CheckAll({
      {"fronted present participle of the copula",
       "Being tired, he went to bed",
       {{kPred, {"go"}},
        {PredOf({u"SUBJ"}), {"he"}},
        {Under(FirstAdjunct(), {u"PARTICIPLE"}), {"+"}},
        {PredOf(Under(FirstAdjunct(), {u"SUBJ"})), {"pro"}}}},
      {"fronted past participle is passive",
       "Seen from the hill, the town looks small",
       {{kPred, {"look"}},
        {PredOf(FirstAdjunct()), {"see"}},
        {Under(FirstAdjunct(), {u"PASSIVE"}), {"+"}},
        {Under(FirstAdjunct(), {u"VFORM"}), {"pastpart"}}}},
      {"fronted past participle before a copula clause",
       "Written in haste, the letter was hard to read",
       {{PredOf({u"SUBJ"}), {"letter"}}, {PredOf(FirstAdjunct()), {"write"}}, {{u"TENSE"}, {"past"}}}},
      {"present participle after the object",
       "He spent his life seeking the truth",
       {{kPred, {"spend"}},
        {PredOf({u"OBJ"}), {"life"}},
        {PredOf(FirstAdjunct()), {"seek"}},
        {PredOf(Under(FirstAdjunct(), {u"OBJ"})), {"truth"}},
        {Under(FirstAdjunct(), {u"VFORM"}), {"prespart"}}}},
      {"intransitive participle after the object",
       "She left the room crying",
       {{PredOf({u"OBJ"}), {"room"}}, {PredOf(FirstAdjunct()), {"cry"}}, {{u"TENSE"}, {"past"}}}},
  });
  // After a prepositional phrase the participle is one of two adjuncts.
  const struct {
    const char* sentence;
    const char* participle;
  } afterAPhrase[] = {{"They talked to us using signs", "use"}, {"We walked along the river singing songs", "sing"}};
  for (const auto& row : afterAPhrase) {
    SCOPED_TRACE(row.sentence);
    ASSERT_TRUE(Parse(row.sentence));
    std::unique_ptr<CParseResult> result(parser_->GetParseResult());
    ASSERT_TRUE(result && result->FStructure && result->FStructure->root);
    const CFSNode* set = At(result->FStructure->root, {u"ADJUNCT", u"SET"});
    ASSERT_NE(set, nullptr);
    std::vector<std::string> participles;
    for (const CFSNode* member : set->ChildList) {
      if (Values(At(member, {u"PARTICIPLE"})) == std::vector<std::string>{"+"}) {
        participles.push_back(Values(At(member, kPred)).at(0));
      }
    }
    EXPECT_EQ(participles, std::vector<std::string>{row.participle});
    ResetSentence();
  }
}

// An infinitive of purpose after a prepositional phrase is one more
// adjunct, with an understood subject and PURPOSE +; the phrase stays the
// verb's.
TEST_F(EnglishConstructions, InfinitivesOfPurpose) {
  const struct {
    const char* sentence;
    const char* verb;
    const char* purpose;
    const char* object;
  } rows[] = {
      {"He went to the shop to buy bread", "go", "buy", "bread"},
      {"She came to the city to find work", "come", "find", "work"},
      {"They waited at the door to see the king", "wait", "see", "king"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.sentence);
    ASSERT_TRUE(Parse(row.sentence));
    std::unique_ptr<CParseResult> result(parser_->GetParseResult());
    ASSERT_TRUE(result && result->FStructure && result->FStructure->root);
    const CFSNode* root = result->FStructure->root;
    EXPECT_EQ(Values(At(root, kPred)), std::vector<std::string>{row.verb});
    const CFSNode* set = At(root, {u"ADJUNCT", u"SET"});
    ASSERT_NE(set, nullptr);
    ASSERT_EQ(set->ChildList.size(), 2u) << Show(root);
    int purposes = 0;
    for (const CFSNode* member : set->ChildList) {
      if (Values(At(member, {u"PURPOSE"})) != std::vector<std::string>{"+"}) continue;
      ++purposes;
      EXPECT_EQ(Values(At(member, kPred)), std::vector<std::string>{row.purpose});
      EXPECT_EQ(Values(At(member, PredOf({u"SUBJ"}))), std::vector<std::string>{"pro"});
      EXPECT_EQ(Values(At(member, PredOf({u"OBJ"}))), std::vector<std::string>{row.object});
    }
    EXPECT_EQ(purposes, 1) << Show(root);
    ResetSentence();
  }
}

// An infinitive after a noun phrase with a determiner modifies it; when the
// infinitive's verb lacks its object, the object is the noun phrase, an
// understood relative (PRED 'pro', PRONTYPE rel).
TEST_F(EnglishConstructions, InfinitivesThatModifyANoun) {
  const Path infinitive = FirstAdjunct({u"OBJ"});
  CheckAll({
      {"object understood",
       "I need a book to read",
       {{PredOf({u"OBJ"}), {"book"}},
        {PredOf(infinitive), {"read"}},
        {PredOf(Under(infinitive, {u"SUBJ"})), {"pro"}},
        {PredOf(Under(infinitive, {u"OBJ"})), {"pro"}},
        {Under(infinitive, {u"OBJ", u"PRONTYPE"}), {"rel"}}}},
      {"plural with a quantifier",
       "She has some letters to write",
       {{{u"OBJ", u"NUM"}, {"pl"}}, {PredOf(infinitive), {"write"}}, {Under(infinitive, {u"OBJ", u"PRONTYPE"}), {"rel"}}}},
      {"object of the infinitive given",
       "We have enough money to buy it",
       {{PredOf(infinitive), {"buy"}}, {PredOf(Under(infinitive, {u"OBJ"})), {"it"}}}},
  });
  // After a prepositional phrase inside the noun phrase the infinitive is
  // the second adjunct of the noun.
  ASSERT_TRUE(Parse("I have a lot of work to do"));
  std::unique_ptr<CParseResult> result(parser_->GetParseResult());
  ASSERT_TRUE(result && result->FStructure && result->FStructure->root);
  const CFSNode* set = At(result->FStructure->root, {u"OBJ", u"ADJUNCT", u"SET"});
  ASSERT_NE(set, nullptr);
  std::vector<std::string> gaps;
  for (const CFSNode* member : set->ChildList) {
    const std::vector<std::string> object = Values(At(member, {u"OBJ", u"PRONTYPE"}));
    if (!object.empty()) gaps.push_back(Values(At(member, kPred)).at(0) + " " + object.front());
  }
  EXPECT_EQ(gaps, std::vector<std::string>{"do rel"}) << Show(result->FStructure->root);
}

// Existential "there's" with a present participle: the noun phrase is the
// subject of the progressive verb and agrees with "'s".
TEST_F(EnglishConstructions, ThereIsWithAPresentParticiple) {
  CheckAll({
      {"an indefinite pronoun",
       "There's someone waiting outside",
       {{kPred, {"wait"}}, {PredOf({u"SUBJ"}), {"someone"}}, {{u"ASPECT"}, {"prog"}}, {{u"TENSE"}, {"pres"}}}},
      {"a noun with its article and a phrase",
       "There's a man sitting in the car",
       {{kPred, {"sit"}},
        {PredOf({u"SUBJ"}), {"man"}},
        {{u"SUBJ", u"NUM"}, {"sg"}},
        {PredOf(Under(FirstAdjunct(), {u"OBJ"})), {"car"}}}},
      {"an adverb after the participle",
       "There's nobody living here",
       {{kPred, {"live"}}, {PredOf({u"SUBJ"}), {"nobody"}}, {{u"VFORM"}, {"prespart"}}}},
  });
  for (const char* wrong : {"There's two men sitting in the car", "There's a man sit in the car"}) {
    EXPECT_FALSE(Parse(wrong)) << wrong;
    ResetSentence();
  }
}

TEST_F(EnglishConstructions, RelativeClauses) {
  CheckAll({
      {"subject relative with who",
       "The man who lives here is a doctor",
       {{PredOf(FirstAdjunct({u"SUBJ"})), {"live"}}, {PredOf(Under(FirstAdjunct({u"SUBJ"}), {u"SUBJ"})), {"who"}}}},
      {"object relative with which",
       "I read the book which you gave me",
       {{PredOf(FirstAdjunct({u"OBJ"})), {"give"}}, {PredOf(Under(FirstAdjunct({u"OBJ"}), {u"OBJ"})), {"which"}}}},
      {"object relative with which after the copula",
       "This is the house which my father built",
       {{PredOf(FirstAdjunct({u"PREDLINK"})), {"build"}},
        {PredOf(Under(FirstAdjunct({u"PREDLINK"}), {u"OBJ"})), {"which"}}}},
      {"relative without a relative word",
       "The book I read was old",
       {{PredOf(FirstAdjunct({u"SUBJ"})), {"read"}}, {PredOf(Under(FirstAdjunct({u"SUBJ"}), {u"OBJ"})), {"pro"}}}},
  });
}

TEST_F(EnglishConstructions, ClauseComplements) {
  CheckAll({
      {"that-clause",
       "I know that he is honest",
       {{{u"PRED", u"GF"}, {"SUBJ", "COMP"}},
        {PredOf({u"COMP"}), {"be"}},
        {PredOf({u"COMP", u"PREDLINK"}), {"honest"}}}},
      {"that-clause with a plural subject",
       "We believe that the children are safe",
       {{{u"COMP", u"SUBJ", u"NUM"}, {"pl"}}}},
      {"clause of the copula without that",
       "I don't think she is angry",
       {{{u"NEG"}, {"+"}}, {PredOf({u"COMP"}), {"be"}}, {PredOf({u"COMP", u"PREDLINK"}), {"angry"}}}},
      {"past copula clause without that",
       "He said you were busy",
       {{PredOf({u"COMP", u"SUBJ"}), {"you"}}, {{u"COMP", u"TENSE"}, {"past"}}}},
      {"clause with an auxiliary without that",
       "I hope you will come",
       {{PredOf({u"COMP"}), {"come"}}, {{u"COMP", u"TENSE"}, {"fut"}}}},
  });
}

TEST_F(EnglishConstructions, EmbeddedQuestions) {
  CheckAll({
      {"embedded where",
       "I don't know where she lives",
       {{PredOf({u"COMP"}), {"live"}}, {PredOf(FirstAdjunct({u"COMP"})), {"where"}}, {{u"NEG"}, {"+"}}}},
      {"embedded object question", "I know what you mean", {{PredOf({u"COMP", u"OBJ"}), {"what"}}}},
      {"embedded whether",
       "I don't know whether he is ready",
       {{{u"COMP", u"CONJFORM"}, {"whether"}}, {{u"NEG"}, {"+"}}}},
      {"question word and infinitive",
       "I don't know how to swim",
       {{PredOf({u"COMP"}), {"swim"}},
        {PredOf({u"COMP", u"SUBJ"}), {"pro"}},
        {PredOf(FirstAdjunct({u"COMP"})), {"how"}}}},
      {"embedded subject question",
       "I know who wrote this book",
       {{PredOf({u"COMP", u"SUBJ"}), {"who"}}, {PredOf({u"COMP", u"OBJ"}), {"book"}}}},
  });
}

TEST_F(EnglishConstructions, SubordinateClausesBeforeAndAfter) {
  CheckAll({
      {"because after", "I was late because I was sick", {{Under(FirstAdjunct(), {u"CONJFORM"}), {"because"}}}},
      {"when before, comma",
       "When he arrived, we were eating",
       {{Under(FirstAdjunct(), {u"CONJFORM"}), {"when"}}, {{u"ASPECT"}, {"prog"}}}},
      {"if before", "If it rains, we will stay inside", {{Under(FirstAdjunct(), {u"CONJFORM"}), {"if"}}}},
      {"before after",
       "Wash your hands before you eat",
       {{Under(FirstAdjunct(), {u"CONJFORM"}), {"before"}}, {{u"MOOD"}, {"imp"}}}},
      {"after before", "After we ate, we left", {{Under(FirstAdjunct(), {u"CONJFORM"}), {"after"}}}},
      {"until", "Wait until he comes", {{Under(FirstAdjunct(), {u"CONJFORM"}), {"until"}}}},
      {"while", "She sang while she cooked", {{Under(FirstAdjunct(), {u"CONJFORM"}), {"while"}}}},
  });
}

TEST_F(EnglishConstructions, Coordination) {
  CheckAll({
      {"objects", "I like tea and coffee", {{{u"OBJ", u"COORD"}, {"and"}}, {{u"OBJ", u"NUM"}, {"pl"}}}},
      {"adjectives", "She is young and beautiful", {{{u"PREDLINK", u"COORD"}, {"and"}}}},
      {"clauses", "Tom went out and Mary stayed", {{{u"COORD"}, {"and"}}}},
      {"clauses with but and a comma", "He was tired, but he kept working", {{{u"COORD"}, {"but"}}}},
  });
}

// Coordinated verb phrases: each is a member of the clause's set and has the
// clause's subject; each verb agrees with it and keeps its own objects.
const Path kLastConjunct = {u"SET", kFirstMember};
TEST_F(EnglishConstructions, CoordinatedVerbPhrasesShareTheSubject) {
  CheckAll({
      {"two intransitive verbs",
       "He sings and dances",
       {{{u"COORD"}, {"and"}}, {PredOf(kLastConjunct), {"dance"}}, {PredOf(Under(kLastConjunct, {u"SUBJ"})), {"he"}}}},
      {"verbs with their own objects",
       "Tom reads books and writes letters",
       {{PredOf(Under(kLastConjunct, {u"SUBJ"})), {"Tom"}}, {PredOf(Under(kLastConjunct, {u"OBJ"})), {"letter"}}}},
      {"a list of three with commas",
       "We ate, drank and talked",
       {{PredOf(Under(kLastConjunct, {u"SUBJ"})), {"we"}}, {Under(kLastConjunct, {u"TENSE"}), {"past"}}}},
      {"or between verb phrases", "You can stay or leave", {{{u"COORD"}, {"or"}}}},
      {"past verbs with a modifier",
       "She came home and slept",
       {{PredOf(kLastConjunct), {"sleep"}}, {Under(kLastConjunct, {u"SUBJ", u"PERS"}), {"3"}}}},
  });
  for (const char* sentence : {"He sing and dances", "They reads and write"}) {
    EXPECT_FALSE(Parse(sentence)) << sentence;
    ResetSentence();
  }
}

// Coordinated subjects are plural; their person is the first if a conjunct
// is first person, else the second if one is second person, else the third.
TEST_F(EnglishConstructions, CoordinatedSubjectsAgree) {
  CheckAll({
      {"third and third", "Tom and Mary read books", {{{u"SUBJ", u"PERS"}, {"3"}}, {{u"SUBJ", u"NUM"}, {"pl"}}}},
      {"second and third", "You and Tom are friends", {{{u"SUBJ", u"PERS"}, {"2"}}, {{u"SUBJ", u"NUM"}, {"pl"}}}},
      {"third and first", "Tom and I are busy", {{{u"SUBJ", u"PERS"}, {"1"}}, {{u"SUBJ", u"NUM"}, {"pl"}}}},
      {"first and second", "I and you are late", {{{u"SUBJ", u"PERS"}, {"1"}}}},
      {"second and first", "You and I should go", {{{u"SUBJ", u"PERS"}, {"1"}}}},
      {"pronouns of the third person", "He and she were late", {{{u"SUBJ", u"PERS"}, {"3"}}}},
      {"a list of three",
       "Tom, Mary and John are students",
       {{{u"SUBJ", u"PERS"}, {"3"}}, {{u"SUBJ", u"NUM"}, {"pl"}}, {{u"SUBJ", u"COORD"}, {"and"}}}},
  });
  for (const char* sentence :
       {"Tom and Mary is happy", "Tom and I is busy", "You and I am busy", "He and she was late"}) {
    EXPECT_FALSE(Parse(sentence)) << sentence;
    ResetSentence();
  }
}

// Sentences whose words have readings that build analyses failing in
// solving beside the right one ("are" as an auxiliary, "open" as a verb, a
// relative clause inside the subject): the failing ones cost only their own
// choices.
TEST_F(EnglishConstructions, FailingAlternativesLeaveTheRightAnalysis) {
  CheckAll({
      {"quantifier and copula",
       "All the windows are open",
       {{PredOf({u"SUBJ", u"QUANT"}), {"all"}}, {PredOf({u"PREDLINK"}), {"open"}}, {{u"SUBJ", u"NUM"}, {"pl"}}}},
      {"relative clause without a relative word after the copula",
       "He is a man you can believe",
       {{PredOf(FirstAdjunct({u"PREDLINK"})), {"believe"}},
        {PredOf(Under(FirstAdjunct({u"PREDLINK"}), {u"OBJ"})), {"pro"}}}},
      {"noun with an infinitive",
       "We have enough time to finish it",
       {{PredOf({u"OBJ"}), {"time"}}, {PredOf(FirstAdjunct({u"OBJ"})), {"finish"}}}},
      {"passive infinitive",
       "This car needs to be washed",
       {{PredOf({u"XCOMP"}), {"wash"}}, {{u"XCOMP", u"PASSIVE"}, {"+"}}, {PredOf({u"XCOMP", u"SUBJ"}), {"car"}}}},
      {"adjective with a that-clause in a question",
       "Are you sure that she will come",
       {{{u"MOOD"}, {"interrog"}}, {PredOf({u"PREDLINK"}), {"sure"}}}},
  });
}

TEST_F(EnglishConstructions, FrontedAdverbialsAndTimePhrases) {
  CheckAll({
      {"fronted adverb",
       "Yesterday I met your father",
       {{PredOf(FirstAdjunct()), {"yesterday"}}, {{u"TENSE"}, {"past"}}}},
      {"fronted prepositional phrase, comma", "In the morning, we drink tea", {{PredOf(FirstAdjunct()), {"in"}}}},
      {"fronted time phrase",
       "This week we will visit Karachi",
       {{PredOf(FirstAdjunct()), {"week"}}, {{u"TENSE"}, {"fut"}}}},
      {"time phrase after the verb", "She walks to school every morning", {{kPred, {"walk"}}}},
  });
}

TEST_F(EnglishConstructions, Quantifiers) {
  CheckAll({
      {"all before a determiner",
       "All the students passed the test",
       {{PredOf({u"SUBJ", u"QUANT"}), {"all"}}, {PredOf({u"SUBJ"}), {"student"}}}},
      {"some of", "Some of my friends are here", {{PredOf({u"SUBJ"}), {"some"}}}},
      {"every", "Every child needs love", {{PredOf({u"SUBJ", u"SPEC"}), {"every"}}}},
      {"each of, singular",
       "Each of the boys has a bicycle",
       {{PredOf({u"SUBJ"}), {"each"}}, {{u"SUBJ", u"NUM"}, {"sg"}}}},
      {"many", "Many people like music", {{PredOf({u"SUBJ", u"SPEC"}), {"many"}}}},
      {"much", "I don't have much time", {{PredOf({u"OBJ", u"SPEC"}), {"much"}}, {{u"NEG"}, {"+"}}}},
      {"no", "No student came", {{PredOf({u"SUBJ", u"SPEC"}), {"no"}}}},
      {"indefinite pronoun with a place",
       "Everyone in the village knows him",
       {{PredOf({u"SUBJ"}), {"everyone"}}, {PredOf(FirstAdjunct({u"SUBJ"})), {"in"}}, {{u"SUBJ", u"NUM"}, {"sg"}}}},
      {"indefinite pronoun as object",
       "She found something under the bed",
       {{PredOf({u"OBJ"}), {"something"}}, {{u"TENSE"}, {"past"}}}},
      {"any", "Do you have any questions", {{PredOf({u"OBJ", u"SPEC"}), {"any"}}, {{u"MOOD"}, {"interrog"}}}},
  });
}

TEST_F(EnglishConstructions, Comparisons) {
  CheckAll({
      {"comparative with than",
       "My house is bigger than yours",
       {{{u"PREDLINK", u"DEGREE"}, {"comp"}}, {PredOf({u"PREDLINK", u"OBJ"}), {"yours"}}}},
      {"superlative with of",
       "This is the best book of the year",
       {{{u"PREDLINK", u"ADJUNCT", u"SET", kFirstMember, u"DEGREE"}, {"superl"}}}},
      {"superlative with in", "He is the tallest boy in the class", {{PredOf({u"PREDLINK"}), {"boy"}}}},
  });
}

// A measure of time before an adjective modifies it; only a noun of time
// measures ("two books old" has no analysis).
TEST_F(EnglishConstructions, MeasuresBeforeAnAdjective) {
  CheckAll({
      {"age in years",
       "His car is two years old",
       {{PredOf({u"PREDLINK"}), {"old"}}, {PredOf(FirstAdjunct({u"PREDLINK"})), {"year"}}}},
      {"age in months",
       "The baby is three months old",
       {{PredOf(FirstAdjunct({u"PREDLINK"})), {"month"}}, {{u"SUBJ", u"NUM"}, {"sg"}}}},
  });
  EXPECT_FALSE(Parse("His car is two books old"));
}

TEST_F(EnglishConstructions, ParticleVerbsInBothOrders) {
  CheckAll({
      {"particle before the object",
       "Put on your coat",
       {{PredOf({u"OBJ"}), {"coat"}}, {Under(FirstAdjunct(), {u"PARTICLE"}), {"+"}}}},
      {"particle after the object", "Put your coat on", {{PredOf({u"OBJ"}), {"coat"}}}},
      {"particle before the object, past", "He picked up the book", {{PredOf({u"OBJ"}), {"book"}}}},
      {"particle after the object, past", "He picked the book up", {{PredOf({u"OBJ"}), {"book"}}}},
  });
}

TEST_F(EnglishConstructions, CommandsTagsAndVocatives) {
  CheckAll({
      {"negative imperative", "Don't touch the stove", {{{u"MOOD"}, {"imp"}}, {{u"NEG"}, {"+"}}}},
      {"negative imperative of the copula", "Don't be late", {{{u"MOOD"}, {"imp"}}, {kPred, {"be"}}}},
      {"tag question", "You are a student, aren't you", {{{u"TAG", u"NEG"}, {"+"}}, {kPred, {"be"}}}},
      {"tag question after a modal", "She can swim, can't she", {{{u"TAG", u"NEG"}, {"+"}}, {{u"MODAL"}, {"can"}}}},
      {"vocative first", "Mary, come here", {{PredOf({u"VOCATIVE"}), {"Mary"}}, {{u"MOOD"}, {"imp"}}}},
      {"vocative last", "Thank you, Ahmed", {{PredOf({u"VOCATIVE"}), {"Ahmed"}}}},
      {"comma after a fronted clause",
       "When I was young, I lived in a village",
       {{kPred, {"live"}}, {Under(FirstAdjunct(), {u"CONJFORM"}), {"when"}}}},
  });
}

TEST_F(EnglishConstructions, QuestionsCommandsAndThere) {
  CheckAll({
      {"question adverb, progressive",
       "Where are you going",
       {{{u"MOOD"}, {"interrog"}}, {{u"ASPECT"}, {"prog"}}, {PredOf(FirstAdjunct()), {"where"}}}},
      {"object question, past",
       "What did you buy yesterday",
       {{PredOf({u"OBJ"}), {"what"}}, {{u"TENSE"}, {"past"}}, {{u"MOOD"}, {"interrog"}}}},
      {"subject question, perfect", "Who has taken my pen", {{PredOf({u"SUBJ"}), {"who"}}, {{u"ASPECT"}, {"perf"}}}},
      {"question determiner",
       "Which book do you want",
       {{PredOf({u"OBJ"}), {"book"}}, {PredOf({u"OBJ", u"SPEC"}), {"which"}}}},
      {"yes/no question, perfect", "Has the train left", {{{u"MOOD"}, {"interrog"}}, {{u"ASPECT"}, {"perf"}}}},
      {"yes/no question with a modal", "Can you help me", {{{u"MODAL"}, {"can"}}, {{u"MOOD"}, {"interrog"}}}},
      {"command with please", "Please sit down", {{{u"MOOD"}, {"imp"}}, {kPred, {"sit"}}}},
      {"command of the copula", "Be careful", {{{u"MOOD"}, {"imp"}}, {PredOf({u"PREDLINK"}), {"careful"}}}},
      {"suggestion", "Let's eat", {{{u"MOOD"}, {"hort"}}, {{u"SUBJ", u"PERS"}, {"1"}}}},
      {"existential there",
       "There is a cat under the table",
       {{PredOf({u"SUBJ"}), {"cat"}}, {{u"SUBJ", u"NUM"}, {"sg"}}}},
      {"existential there, plural", "There are many books in the room", {{{u"SUBJ", u"NUM"}, {"pl"}}}},
  });
}

// "there" without a predicate after it is the copula's predicate; the
// subject still agrees with the copula.
TEST_F(EnglishConstructions, ThereWithoutAPredicate) {
  CheckAll({
      {"there is",
       "There is a problem",
       {{kPred, {"be"}}, {PredOf({u"SUBJ"}), {"problem"}}, {PredOf({u"PREDLINK"}), {"there"}}}},
      {"there are, plural", "There are many reasons", {{{u"SUBJ", u"NUM"}, {"pl"}}, {{u"TENSE"}, {"pres"}}}},
      {"there was, negated", "There was no answer", {{PredOf({u"SUBJ"}), {"answer"}}, {{u"TENSE"}, {"past"}}}},
      {"there will be", "There will be a storm", {{PredOf({u"SUBJ"}), {"storm"}}, {{u"TENSE"}, {"fut"}}}},
  });
  for (const char* clash : {"There is two cars", "There are a car"}) {
    EXPECT_FALSE(Parse(clash)) << clash << ": the subject must agree";
    ResetSentence();
  }
}

// Prepositional phrases that may attach to the verb or to a noun before
// them: whichever attachment is read, every word stays in the analysis.
TEST_F(EnglishConstructions, PilesOfPrepositionalPhrasesKeepEveryWord) {
  const Path object = PredOf({u"OBJ"});
  CheckAll({
      {"one phrase", "The girl writes a letter in the kitchen", {{object, {"letter"}}, {kPred, {"write"}}}},
      {"two phrases", "The girl writes a letter in the kitchen with a pencil", {{object, {"letter"}}}},
      {"three phrases", "The girl writes a letter in the kitchen with a pencil after dinner", {{object, {"letter"}}}},
  });
  ASSERT_TRUE(Parse("The girl writes a letter in the kitchen with a pencil near the window"));
  std::unique_ptr<CParseResult> result(parser_->GetParseResult());
  const std::string shown = Show(result->FStructure->root);
  for (const char* word : {"girl", "letter", "kitchen", "pencil", "window", "in", "with", "near"}) {
    EXPECT_NE(shown.find(std::string("{") + word + "}"), std::string::npos) << word << " in " << shown;
  }
}

// "'s" for "is" after a question word; names with "the"; "there" after a
// preposition.
TEST_F(EnglishConstructions, ShortQuestionsNamesWithTheAndThereAfterAPreposition) {
  CheckAll({
      {"question word subject with 's and an adverb",
       "Who's there",
       {{PredOf({u"SUBJ"}), {"who"}}, {PredOf({u"PREDLINK"}), {"there"}}, {{u"MOOD"}, {"interrog"}}}},
      {"question word subject with 's and an adjective",
       "Who's ready",
       {{PredOf({u"SUBJ"}), {"who"}}, {PredOf({u"PREDLINK"}), {"ready"}}}},
      {"question adverb with 's as the progressive",
       "Where's he going",
       {{kPred, {"go"}}, {{u"ASPECT"}, {"prog"}}, {PredOf({u"SUBJ"}), {"he"}}, {{u"MOOD"}, {"interrog"}}}},
      {"question object with 's as the progressive",
       "What's she reading",
       {{kPred, {"read"}}, {PredOf({u"OBJ"}), {"what"}}, {{u"ASPECT"}, {"prog"}}}},
      {"a name with the",
       "The Romans built roads",
       {{PredOf({u"SUBJ"}), {"Romans"}}, {PredOf({u"SUBJ", u"SPEC"}), {"the"}}}},
      {"there after a preposition",
       "Put the box in there",
       {{PredOf({u"OBJ"}), {"box"}}, {PredOf(Under(FirstAdjunct(), {u"OBJ"})), {"there"}}}},
  });
  for (const char* wrong : {"Who's a teacher's", "Where's they going"}) {
    EXPECT_FALSE(Parse(wrong)) << wrong;
    ResetSentence();
  }
}

TEST_F(EnglishConstructions, QuestionsWithTheProgressiveAfterAModal) {
  CheckAll({
      {"yes/no",
       "Will you be coming",
       {{kPred, {"come"}}, {{u"ASPECT"}, {"prog"}}, {{u"TENSE"}, {"fut"}}, {{u"MOOD"}, {"interrog"}}}},
      {"object question",
       "What will she be reading",
       {{PredOf({u"OBJ"}), {"what"}}, {{u"ASPECT"}, {"prog"}}, {PredOf({u"SUBJ"}), {"she"}}}},
      {"question adverb",
       "Where will they be staying",
       {{PredOf(FirstAdjunct()), {"where"}}, {{u"SUBJ", u"NUM"}, {"pl"}}}},
  });
  EXPECT_FALSE(Parse("Will you be comes")) << "the participle is required";
}

TEST_F(EnglishConstructions, NumbersPredeterminersAndAdjectivesOfFeeling) {
  CheckAll({
      {"two numbers joined",
       "She stayed for two or three days",
       {{PredOf(Under(FirstAdjunct(), {u"OBJ"})), {"day"}},
        {Under(FirstAdjunct(Under(FirstAdjunct(), {u"OBJ"})), {u"COORD"}), {"or"}}}},
      {"a noun and its number", "Read page 12", {{PredOf({u"OBJ"}), {"page"}}, {{u"MOOD"}, {"imp"}}}},
      {"such before the article",
       "She wrote such a long letter",
       {{PredOf({u"OBJ", u"QUANT"}), {"such"}}, {PredOf({u"OBJ", u"SPEC"}), {"a"}}, {PredOf({u"OBJ"}), {"letter"}}}},
      {"both floated after the copula",
       "My parents are both busy",
       {{PredOf(FirstAdjunct()), {"both"}}, {PredOf({u"PREDLINK"}), {"busy"}}, {{u"SUBJ", u"NUM"}, {"pl"}}}},
      {"an adjective of feeling with a clause",
       "We are pleased that you came",
       {{PredOf({u"PREDLINK"}), {"pleased"}}, {{u"SUBJ", u"NUM"}, {"pl"}}}},
  });
}

// Verbs such as "tell", "ask", "show" and "teach" take an object and an
// embedded question (the frame SUBJ OBJ COMP).
TEST_F(EnglishConstructions, AnObjectAndAnEmbeddedQuestion) {
  CheckAll({
      {"question adverb and a clause",
       "Tell me where she works",
       {{{u"PRED", u"GF"}, {"SUBJ", "OBJ", "COMP"}},
        {PredOf({u"OBJ"}), {"I"}},
        {PredOf({u"COMP"}), {"work"}},
        {PredOf(FirstAdjunct({u"COMP"})), {"where"}}}},
      {"question adverb and an infinitive",
       "She taught us how to swim",
       {{PredOf({u"OBJ"}), {"we"}}, {PredOf({u"COMP"}), {"swim"}}, {PredOf({u"COMP", u"SUBJ"}), {"pro"}}}},
      {"question adverb, past",
       "He showed us where the station was",
       {{{u"PRED", u"GF"}, {"SUBJ", "OBJ", "COMP"}}, {PredOf({u"COMP", u"SUBJ"}), {"station"}}}},
  });
}

// A noun phrase alone, with an adjective, is a fragment: greetings and
// wishes.
TEST_F(EnglishConstructions, NounPhrasesAloneAreFragments) {
  CheckAll({
      {"greeting", "Good evening", {{kPred, {"evening"}}, {{u"FRAGMENT"}, {"+"}}, {PredOf(FirstAdjunct()), {"good"}}}},
      {"wish", "Happy birthday", {{kPred, {"birthday"}}, {{u"FRAGMENT"}, {"+"}}}},
      {"two adjectives", "Good old days", {{kPred, {"day"}}, {{u"FRAGMENT"}, {"+"}}, {{u"NUM"}, {"pl"}}}},
  });
}


// An unreal condition: "were" with a singular subject is the subjunctive,
// and only in an if-clause.
TEST_F(EnglishConstructions, SubjunctiveWereInIfClauses) {
  CheckAll({
      {"first person",
       "If I were rich, I would buy a house",
       {{Under(FirstAdjunct(), {u"CONJFORM"}), {"if"}},
        {Under(FirstAdjunct(), {u"MOOD"}), {"subj"}},
        {PredOf(Under(FirstAdjunct(), {u"PREDLINK"})), {"rich"}},
        {kPred, {"buy"}}}},
      {"negated, third person",
       "If she weren't busy, she could help us",
       {{Under(FirstAdjunct(), {u"MOOD"}), {"subj"}}, {Under(FirstAdjunct(), {u"NEG"}), {"+"}}, {{u"MODAL"}, {"can"}}}},
      {"a plural subject keeps the indicative",
       "If they were late, we would wait",
       {{Under(FirstAdjunct(), {u"MOOD"}), {}}, {Under(FirstAdjunct(), {u"TENSE"}), {"past"}}}},
  });
  for (const char* wrong : {"He were happy", "Were she happy"}) {
    EXPECT_FALSE(Parse(wrong)) << wrong << ": the subjunctive stands in an if-clause";
    ResetSentence();
  }
}

// A negated verb phrase left out after "do" or a modal is the verb 'do' with
// the subject alone; two modals may share one verb.
TEST_F(EnglishConstructions, EllipsisAndCoordinatedModals) {
  CheckAll({
      {"after does",
       "She doesn't",
       {{kPred, {"do"}}, {{u"ELLIPSIS"}, {"+"}}, {{u"NEG"}, {"+"}}, {{u"TENSE"}, {"pres"}}}},
      {"after a modal, in a second clause",
       "We wanted to stay, but we couldn't",
       {{{u"COORD"}, {"but"}}, {PredOf(kLastConjunct), {"do"}}, {Under(kLastConjunct, {u"MODAL"}), {"can"}}}},
      {"may or may not",
       "You may or may not win",
       {{kPred, {"win"}}, {{u"MODAL"}, {"may"}}, {{u"COORDMODAL"}, {"may"}}, {{u"COORDNEG"}, {"+"}}}},
      {"can and should",
       "We can and should help",
       {{kPred, {"help"}}, {{u"MODAL"}, {"can"}}, {{u"COORDMODAL"}, {"should"}}, {{u"SUBJ", u"NUM"}, {"pl"}}}},
  });
  CheckAll({{"with an adverb after the negation",
             "He does not either",
             {{kPred, {"do"}}, {{u"ELLIPSIS"}, {"+"}}, {PredOf(FirstAdjunct()), {"either"}}}}});
  for (const char* wrong : {"She doesn't reads", "You may or may not wins"}) {
    EXPECT_FALSE(Parse(wrong)) << wrong;
    ResetSentence();
  }
}

// A possessor after "of" without its noun, an object with an adjective
// phrase, "a little" after the verb, "turn out to be".
TEST_F(EnglishConstructions, DoubleGenitivesObjectPredicatesAndParticles) {
  const Path ofPhrase = FirstAdjunct();
  CheckAll({
      {"double genitive of a name",
       "She is a cousin of Ali's",
       {{PredOf({u"PREDLINK"}), {"cousin"}},
        {PredOf(ofPhrase), {"of"}},
        {PredOf(Under(ofPhrase, {u"OBJ"})), {"Ali"}},
        {Under(ofPhrase, {u"OBJ", u"GEN"}), {"+"}}}},
      {"double genitive of two names",
       "He is a neighbour of Tom and Mary's",
       {{Under(ofPhrase, {u"OBJ", u"COORD"}), {"and"}}, {Under(ofPhrase, {u"OBJ", u"GEN"}), {"+"}}}},
      {"object and adjective",
       "The news made him sad",
       {{kPred, {"make"}}, {PredOf({u"OBJ"}), {"he"}}, {PredOf({u"XCOMP"}), {"sad"}}, {{u"TENSE"}, {"past"}}}},
      {"a little after the verb",
       "Wait a little",
       {{kPred, {"wait"}}, {PredOf(FirstAdjunct()), {"little"}}, {PredOf(Under(FirstAdjunct(), {u"SPEC"})), {"a"}}}},
      {"turn out to be",
       "The story turned out to be false",
       {{kPred, {"turn"}},
        {{u"PRT"}, {"+"}},
        {PredOf({u"XCOMP"}), {"be"}},
        {PredOf({u"XCOMP", u"PREDLINK"}), {"false"}},
        {PredOf({u"XCOMP", u"SUBJ"}), {"story"}}}},
  });
  EXPECT_FALSE(Parse("The story came out to be false")) << "only a phrasal frame takes the particle and infinitive";
}

// A cleft question; approximate numbers and times; "o'clock"; forms the
// lexicon script makes from the word list and the verb frames it was given.
TEST_F(EnglishConstructions, CleftQuestionsApproximationsAndNewForms) {
  CheckAll({
      {"cleft question",
       "Why is it that she is always late",
       {{kPred, {"be"}},
        {PredOf({u"SUBJ"}), {"it"}},
        {PredOf({u"PREDLINK"}), {"be"}},
        {PredOf({u"PREDLINK", u"SUBJ"}), {"she"}},
        {PredOf(FirstAdjunct()), {"why"}},
        {{u"MOOD"}, {"interrog"}}}},
      {"about before a number",
       "About fifty people came",
       {{PredOf({u"SUBJ"}), {"person"}},
        {PredOf({u"SUBJ", u"SPEC"}), {"about"}},
        {{u"SUBJ", u"SPEC", u"SPECTYPE"}, {"approx"}},
        {{u"SUBJ", u"NUM"}, {"pl"}}}},
      {"about before a time",
       "He slept until about noon",
       {{PredOf(Under(FirstAdjunct(), {u"OBJ"})), {"noon"}},
        {PredOf(Under(FirstAdjunct(), {u"OBJ", u"SPEC"})), {"about"}}}},
      {"o'clock",
       "The train leaves at six o'clock",
       {{Under(FirstAdjunct(), {u"HR"}), {"6"}}, {Under(FirstAdjunct(), {u"MIN"}), {"NULL"}}, {{u"TENSE"}, {"pres"}}}},
      {"o'clock after a numeral",
       "Come at 5 o'clock",
       {{Under(FirstAdjunct(), {u"HR"}), {"5"}}, {{u"MOOD"}, {"imp"}}}},
      {"a past in -t", "The milk was spilt", {{kPred, {"spill"}}, {{u"PASSIVE"}, {"+"}}}},
      {"a superlative from the word list",
       "It was the saddest day",
       {{PredOf({u"PREDLINK"}), {"day"}}, {Under(FirstAdjunct({u"PREDLINK"}), {u"DEGREE"}), {"superl"}}}},
      {"a verb of the hand list", "We were drenched", {{kPred, {"drench"}}, {{u"PASSIVE"}, {"+"}}}},
      {"do without an object", "How are you doing", {{kPred, {"do"}}, {{u"ASPECT"}, {"prog"}}, {{u"MOOD"}, {"interrog"}}}},
  });
}


// A noun of time with a clause that says which time; names of several words
// with "the"; a range of numbers; a noun with an embedded question; "the
// other" for a noun already named.
TEST_F(EnglishConstructions, TimesWithAClauseNamesAndTheOther) {
  const Path timePhrase = FirstAdjunct();
  CheckAll({
      {"the first time and a clause",
       "She cried the first time she heard it",
       {{kPred, {"cry"}},
        {PredOf(timePhrase), {"time"}},
        {PredOf(Under(timePhrase, {u"ADJUNCT", u"SET", kFirstMember})), {"hear"}},
        {PredOf(Under(timePhrase, {u"ADJUNCT", u"SET", kFirstMember, u"OBJ"})), {"it"}}}},
      {"every time and a clause",
       "He smiles every time we meet",
       {{PredOf(timePhrase), {"time"}}, {PredOf(Under(timePhrase, {u"SPEC"})), {"every"}}}},
      {"a name of two words with the",
       "The United States is a big country",
       {{PredOf({u"SUBJ"}), {"States"}}, {PredOf(FirstAdjunct({u"SUBJ"})), {"United"}}}},
      {"a range of two numbers",
       "The children are from 8 to 12",
       {{PredOf({u"PREDLINK"}), {"from"}},
        {{u"PREDLINK", u"OBJ", u"NUMBER_VAL"}, {"8"}},
        {PredOf(FirstAdjunct({u"PREDLINK"})), {"to"}},
        {Under(FirstAdjunct({u"PREDLINK"}), {u"OBJ", u"NUMBER_VAL"}), {"12"}}}},
      {"a noun with an embedded question",
       "I have no idea where she lives",
       {{PredOf({u"OBJ"}), {"idea"}},
        {PredOf(FirstAdjunct({u"OBJ"})), {"live"}},
        {PredOf(FirstAdjunct(FirstAdjunct({u"OBJ"}))), {"where"}}}},
      {"the other",
       "I took one book and she took the other",
       {{PredOf(Under(kLastConjunct, {u"OBJ"})), {"other"}}, {PredOf(Under(kLastConjunct, {u"OBJ", u"SPEC"})), {"the"}}}},
  });
  EXPECT_FALSE(Parse("She cried the first book she read it")) << "only a noun of time takes a clause without a gap";
}


// A question word as the object of a preposition left at the end, which is
// the copula's predicate.
TEST_F(EnglishConstructions, QuestionsWithAPrepositionLeftAtTheEnd) {
  CheckAll({
      {"what will it be like",
       "What will the weather be like",
       {{kPred, {"be"}},
        {{u"TENSE"}, {"fut"}},
        {PredOf({u"PREDLINK"}), {"like"}},
        {PredOf({u"PREDLINK", u"OBJ"}), {"what"}},
        {PredOf({u"SUBJ"}), {"weather"}},
        {{u"MOOD"}, {"interrog"}}}},
      {"after a modal, with a modifier",
       "What would the city be like without cars",
       {{{u"MODAL"}, {"would"}}, {PredOf({u"PREDLINK", u"OBJ"}), {"what"}}, {PredOf(FirstAdjunct()), {"without"}}}},
  });
}

}  // namespace
}  // namespace cfg_test

// Whole sentences through the CFG parser on the shipped English data: the
// F-structures under ROOT, ambiguity resolved to one reading, the fallback
// over all readings, and the C-structure XML of the chart.
#include <fstream>
#include <functional>
#include <set>
#include <sstream>

#include "analysis/cfg/cfg_completeness.h"
#include "core/sentence_memory.h"
#include "core/trace_log.h"
#include "platform/heap_meter.h"

#include "analysis/cfg/cfg_engine_fixture.h"
#include "analysis/cfg/cfg_fstructure_paths.h"

namespace cfg_test {
namespace {

// A sentence whose tagged readings (one per word) do not parse: the tagger
// takes "Did" for a full verb.
constexpr const char* kMistaggedSentence = "Did he read the book";

class CfgShippedSentences : public ShippedCfgEngine {
 protected:
  const CFSNode* ParseToRoot(const std::string& sentence) {
    EXPECT_TRUE(Parse(sentence)) << sentence;
    result_.reset(parser_->GetParseResult());
    if (!result_ || result_->FStructure == nullptr) return nullptr;
    return result_->FStructure->root;
  }

  void ExpectFeatures(const std::string& sentence, const std::vector<Expected>& cases) {
    SCOPED_TRACE(sentence);
    const CFSNode* root = ParseToRoot(sentence);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(Name(static_cast<SymbolId>(root->Attribute)), "ROOT");
    for (const Expected& e : cases) {
      std::string where;
      for (const auto& step : e.path) where += ToUtf8(step) + " ";
      EXPECT_EQ(Values(At(root, e.path)), e.values) << where << "in " << Show(root);
    }
  }

  std::unique_ptr<CParseResult> result_;
};

TEST_F(CfgShippedSentences, DitransitiveSentenceGivesItsFStructure) {
  ExpectFeatures("I gave him a book", {{{u"PRED", u"VALUE"}, {"give"}},
                                       {{u"PRED", u"GF"}, {"SUBJ", "OBJ", "OBJ2"}},
                                       {{u"PRED", u"INDEX"}, {"1"}},
                                       {{u"TENSE"}, {"past"}},
                                       {{u"SUBJ", u"PRED", u"VALUE"}, {"I"}},
                                       {{u"SUBJ", u"PRED", u"INDEX"}, {"0"}},
                                       {{u"SUBJ", u"PERS"}, {"1"}},
                                       {{u"SUBJ", u"NUM"}, {"sg"}},
                                       {{u"OBJ", u"PRED", u"VALUE"}, {"he"}},
                                       {{u"OBJ", u"PERS"}, {"3"}},
                                       {{u"OBJ2", u"PRED", u"VALUE"}, {"book"}},
                                       {{u"OBJ2", u"NUM"}, {"sg"}},
                                       {{u"OBJ2", u"SPEC", u"SPECTYPE"}, {"indef"}},
                                       {{u"OBJ2", u"SPEC", u"PRED", u"VALUE"}, {"a"}}});
}

TEST_F(CfgShippedSentences, TransitiveSentenceGivesItsFStructure) {
  ExpectFeatures("The boy reads a book", {{{u"PRED", u"VALUE"}, {"read"}},
                                          {{u"PRED", u"GF"}, {"SUBJ", "OBJ"}},
                                          {{u"TENSE"}, {"pres"}},
                                          {{u"SUBJ", u"PRED", u"VALUE"}, {"boy"}},
                                          {{u"SUBJ", u"NUM"}, {"sg"}},
                                          {{u"SUBJ", u"PERS"}, {"3"}},
                                          {{u"SUBJ", u"SPEC", u"SPECTYPE"}, {"def"}},
                                          {{u"OBJ", u"PRED", u"VALUE"}, {"book"}},
                                          {{u"OBJ", u"SPEC", u"SPECTYPE"}, {"indef"}},
                                          {{u"OBJ2"}, {}}});
  EXPECT_EQ(At(result_->FStructure->root, {u"OBJ2"}), nullptr);
}

// "in the garden" can modify the verb or the noun: the chart packs both, the
// solver keeps one consistent reading.
TEST_F(CfgShippedSentences, AmbiguousAttachmentIsSolvedToOneReading) {
  const CFSNode* root = ParseToRoot("The boy reads a book in the garden");
  ASSERT_NE(root, nullptr);
  size_t packed = 0;
  for (const CCfgChartColumn* column : parser_->GetColumns()) {
    for (size_t i = 0; i < column->GetItemCount(); ++i) {
      if (column->GetItem(static_cast<int>(i))->GetChildAlternatives().size() > 1) ++packed;
    }
  }
  EXPECT_GT(packed, 0u) << "both attachments are in the chart";
  const CFSNode* verbal = At(root, {u"ADJUNCT"});
  const CFSNode* nominal = At(root, {u"OBJ", u"ADJUNCT"});
  EXPECT_NE(verbal == nullptr, nominal == nullptr) << "exactly one attachment: " << Show(root);
  EXPECT_EQ(Values(At(root, {u"PRED", u"VALUE"})), Strings{"read"});
}

// Each occurrence of a word is its own reading with its own token position.
TEST_F(CfgShippedSentences, RepeatedWordGetsDistinctIndexes) {
  const CFSNode* root = ParseToRoot("The boy gave the boy a book");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(Values(At(root, {u"SUBJ", u"PRED", u"VALUE"})), Strings{"boy"});
  EXPECT_EQ(Values(At(root, {u"OBJ", u"PRED", u"VALUE"})), Strings{"boy"});
  EXPECT_EQ(Values(At(root, {u"SUBJ", u"PRED", u"INDEX"})), Strings{"1"});
  EXPECT_EQ(Values(At(root, {u"OBJ", u"PRED", u"INDEX"})), Strings{"4"});
}

// The tagger's choice for each word does not always give an analysis; then
// every reading is tried, and the log says so.
TEST_F(CfgShippedSentences, WrongTaggingIsParsedOverAllReadings) {
  const std::string log = dir_.File("LogFile.Log");
  OpenTraceLog(log);
  const char* sentence = kMistaggedSentence;
  EXPECT_TRUE(Parse(sentence)) << sentence;
  CloseTraceLog();
  const std::vector<unsigned char> bytes = ReadBytes(log);
  std::string text;
  for (size_t i = 2; i < bytes.size(); i += 2) text.push_back(static_cast<char>(bytes[i]));
  // The tagged chart either has no complete analysis or one that fails in
  // solving; either way the parse over every reading follows.
  size_t failed = text.find("POS tagger's tagging failed");
  if (failed == std::string::npos) failed = text.find("The analysis over the tagged readings failed in solving");
  ASSERT_NE(failed, std::string::npos) << text;
  EXPECT_NE(text.find("CFG parsing completed", failed), std::string::npos) << text;
  result_.reset(parser_->GetParseResult());
  ASSERT_TRUE(result_);
}

// Constructions of the grammar, each with the feature that shows the
// analysis is the intended one.
TEST_F(CfgShippedSentences, ConstructionsGiveTheirFStructures) {
  struct Case {
    const char* sentence;
    std::vector<Expected> features;
  };
  const std::vector<Case> cases = {
      // The copula with an adjective, a noun phrase, a prepositional phrase.
      {"Tom is happy", {{{u"PRED", u"VALUE"}, {"be"}}, {{u"PREDLINK", u"PRED", u"VALUE"}, {"happy"}}}},
      {"I am a teacher", {{{u"PRED", u"GF"}, {"SUBJ", "PREDLINK"}}, {{u"PREDLINK", u"NUM"}, {"sg"}}}},
      {"The book is on the table", {{{u"PREDLINK", u"PRED", u"VALUE"}, {"on"}}, {{u"TENSE"}, {"pres"}}}},
      {"She looks young", {{{u"PRED", u"VALUE"}, {"look"}}, {{u"PREDLINK", u"PRED", u"VALUE"}, {"young"}}}},
      // Contractions as the tokeniser splits them.
      {"I'm at home", {{{u"PRED", u"VALUE"}, {"be"}}, {{u"SUBJ", u"PERS"}, {"1"}}}},
      {"I don't know her", {{{u"NEG"}, {"+"}}, {{u"TENSE"}, {"pres"}}, {{u"OBJ", u"PRED", u"VALUE"}, {"she"}}}},
      {"They aren't my books", {{{u"NEG"}, {"+"}}, {{u"PREDLINK", u"NUM"}, {"pl"}}}},
      {"We'll wait", {{{u"TENSE"}, {"fut"}}, {{u"PRED", u"VALUE"}, {"wait"}}}},
      // Questions.
      {"Are you happy", {{{u"MOOD"}, {"interrog"}}, {{u"PRED", u"VALUE"}, {"be"}}}},
      {"What do you make", {{{u"OBJ", u"PRED", u"VALUE"}, {"what"}}, {{u"MOOD"}, {"interrog"}}}},
      {"Where do you live", {{{u"ADJUNCT", u"SET", kFirstMember, u"PRED", u"VALUE"}, {"where"}}}},
      {"How are you", {{{u"PREDLINK", u"PRED", u"VALUE"}, {"how"}}}},
      {"Who reads books", {{{u"SUBJ", u"PRED", u"VALUE"}, {"who"}}}},
      // Commands: the understood subject.
      {"Close your book", {{{u"MOOD"}, {"imp"}}, {{u"SUBJ", u"PRED", u"VALUE"}, {"pro"}}}},
      {"Don't call me", {{{u"MOOD"}, {"imp"}}, {{u"NEG"}, {"+"}}}},
      // A possessor, an infinitive with object control, an adverb.
      {"Tom's book is old", {{{u"SUBJ", u"POSS", u"PRED", u"VALUE"}, {"Tom"}}}},
      {"I told him to go", {{{u"XCOMP", u"PRED", u"VALUE"}, {"go"}}, {{u"XCOMP", u"SUBJ", u"PRED", u"VALUE"}, {"he"}}}},
      // Subject control: the infinitive's subject is the controller.
      {"I want to go", {{{u"XCOMP", u"PRED", u"VALUE"}, {"go"}}, {{u"XCOMP", u"SUBJ", u"PRED", u"VALUE"}, {"I"}}}},
      {"He wants to read a book",
       {{{u"XCOMP", u"PRED", u"VALUE"}, {"read"}},
        {{u"XCOMP", u"SUBJ", u"PRED", u"VALUE"}, {"he"}},
        {{u"XCOMP", u"OBJ", u"PRED", u"VALUE"}, {"book"}}}},
      {"Do you want to go", {{{u"MOOD"}, {"interrog"}}, {{u"XCOMP", u"SUBJ", u"PRED", u"VALUE"}, {"you"}}}},
      {"Tom always reads", {{{u"ADJUNCT", u"SET", kFirstMember, u"PRED", u"VALUE"}, {"always"}}}},
      // A noun modifying the head noun.
      {"I am a college student",
       {{{u"PREDLINK", u"PRED", u"VALUE"}, {"student"}},
        {{u"PREDLINK", u"ADJUNCT", u"SET", kFirstMember, u"PRED", u"VALUE"}, {"college"}}}},
      // A question word as the object of an infinitive.
      {"What would you like to eat",
       {{{u"XCOMP", u"PRED", u"VALUE"}, {"eat"}}, {{u"XCOMP", u"OBJ", u"PRED", u"VALUE"}, {"what"}}}},
      // "be going to" with an infinitive; a comparative without "than".
      {"Tom is going to get older", {{{u"PRED", u"VALUE"}, {"go"}}, {{u"XCOMP", u"PREDLINK", u"DEGREE"}, {"comp"}}}},
      // A degree adverb before an adverb (the set members' numbers are the
      // solver's, so only the verb is shown).
      {"He speaks more loudly", {{{u"PRED", u"VALUE"}, {"speak"}}, {{u"TENSE"}, {"pres"}}}},
      // A comparative with "than" and the compared noun phrase.
      {"I am older than your brother",
       {{{u"PREDLINK", u"PRED", u"VALUE"}, {"old"}},
        {{u"PREDLINK", u"DEGREE"}, {"comp"}},
        {{u"PREDLINK", u"OBJ", u"PRED", u"VALUE"}, {"brother"}}}},
      // Existential "there": the noun phrase after the copula is the subject.
      {"There wasn't a cloud in the sky",
       {{{u"SUBJ", u"PRED", u"VALUE"}, {"cloud"}}, {{u"PREDLINK", u"PRED", u"VALUE"}, {"in"}}, {{u"NEG"}, {"+"}}}},
      // "'s" after the subject as the copula "is" and as the auxiliary "has".
      {"Tom's happy",
       {{{u"PRED", u"VALUE"}, {"be"}},
        {{u"PRED", u"GF"}, {"SUBJ", "PREDLINK"}},
        {{u"PREDLINK", u"PRED", u"VALUE"}, {"happy"}},
        {{u"SUBJ", u"PRED", u"VALUE"}, {"Tom"}}}},
      {"Tom's gone", {{{u"PRED", u"VALUE"}, {"go"}}, {{u"ASPECT"}, {"perf"}}, {{u"TENSE"}, {"pres"}}}},
      // A phrasal verb's particle before the object.
      {"Put away your books",
       {{{u"OBJ", u"PRED", u"VALUE"}, {"book"}}, {{u"ADJUNCT", u"SET", kFirstMember, u"PARTICLE"}, {"+"}}}},
      // Coordinated subjects.
      {"Tom and Mary killed themselves",
       {{{u"SUBJ", u"COORD"}, {"and"}},
        {{u"SUBJ", u"NUM"}, {"pl"}},
        {{u"SUBJ", u"SET", kFirstMember, u"PRED", u"VALUE"}, {"Mary"}}}},
      // An adverb between the copula and its predicate.
      {"I'm actually a university teacher",
       {{{u"PRED", u"VALUE"}, {"be"}}, {{u"PREDLINK", u"PRED", u"VALUE"}, {"teacher"}}}},
      // A noun phrase of time modifying the verb phrase; "one" as a noun.
      {"I play football every day",
       {{{u"OBJ", u"PRED", u"VALUE"}, {"football"}}, {{u"ADJUNCT", u"SET", kFirstMember, u"PRED", u"VALUE"}, {"day"}}}},
      {"I prefer the black one", {{{u"OBJ", u"PRED", u"VALUE"}, {"one"}}}},
      // A gerund as the object, with an understood subject.
      {"My grandfather likes watching movies",
       {{{u"OBJ", u"PRED", u"VALUE"}, {"watch"}},
        {{u"OBJ", u"SUBJ", u"PRED", u"VALUE"}, {"pro"}},
        {{u"OBJ", u"OBJ", u"PRED", u"VALUE"}, {"movie"}}}},
      // A clause as the complement of a verb, with and without "that".
      {"I noticed that I had lost my wallet",
       {{{u"PRED", u"GF"}, {"SUBJ", "COMP"}},
        {{u"COMP", u"PRED", u"VALUE"}, {"lose"}},
        {{u"COMP", u"ASPECT"}, {"perf"}}}},
      {"I know that she's an honest woman",
       {{{u"COMP", u"PRED", u"VALUE"}, {"be"}}, {{u"COMP", u"PREDLINK", u"PRED", u"VALUE"}, {"woman"}}}},
      // A number as the predicate of the copula.
      {"I'll be sixteen", {{{u"PREDLINK", u"PRED", u"VALUE"}, {"sixteen"}}, {{u"TENSE"}, {"fut"}}}},
      // "Let's": a suggestion with the subject "we".
      {"Let's try it", {{{u"MOOD"}, {"hort"}}, {{u"SUBJ", u"PERS"}, {"1"}}, {{u"OBJ", u"PRED", u"VALUE"}, {"it"}}}},
  };
  for (const Case& c : cases) {
    ExpectFeatures(c.sentence, c.features);
    ResetSentence();
  }
}

// Agreement, case and verb form still rule sentences out.
TEST_F(CfgShippedSentences, WrongSentencesGetNoAnalysis) {
  for (const char* sentence : {"Him reads a book",
                               "The boys reads a book",
                               "They will reads",
                               "I is happy",
                               "He are happy",
                               "Are he happy",
                               "Reads a book",
                               "I don know her",
                               "Tom is want to go",
                               "I want to reads",
                               "I am happy than him",
                               "I read than the book",
                               "There is two books on the table",
                               "There are a book on the table",
                               "Let's goes",
                               "Let's tries it",
                               "They's happy",
                               "Tom's reads",
                               "He turned slowly my offer",
                               "Tom and Mary reads",
                               "Tom and him read",
                               "Tom and Mary is happy",
                               "I play football every book",
                               "I like read books",
                               "I think that him is sincere",
                               "I read that he is sincere",
                               "I want to sleep the book",
                               "What would you like to arrive"}) {
    EXPECT_FALSE(Parse(sentence)) << sentence;
    ResetSentence();
  }
}

// Inputs that once made a sentence slow, huge or noisy: each is analysed or
// refused with little work, raises no kind of message twice, and its tree
// holds each structure once per place it is shown.
TEST_F(CfgShippedSentences, HardInputsStayBoundedAndQuiet) {
  struct Case {
    const char* sentence;
    size_t maxNodes;
  };
  const Case cases[] = {
      {"xx from school xx from school for five xx five days", 400},  // built millions of nodes
      {"I zz gave zz him zz a zz book zz", 400},                     // overflowed the names
      {"I zz gave zz him zz a zz book zz big zz big zz tall zz", 400},
      {"I paid 1,000 I paid 1,000 I paid 1,000 I paid 1,000 I paid 1,000", 400},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.sentence);
    messages_.clear();
    if (Parse(c.sentence)) {
      result_.reset(parser_->GetParseResult());
      EXPECT_TRUE(result_);
    }
    EXPECT_LE(CFSNode::RegisteredCount(), c.maxNodes);
    std::set<std::u16string> kinds;
    for (const auto& message : messages_.messages()) {
      EXPECT_TRUE(kinds.insert(MessageKind(message.text, message.caption)).second) << ToUtf8(message.text);
    }
    result_.reset();
    ResetSentence();
  }
}

// A stream of sentences with new words: each sentence's names leave the
// symbol tables at its reset, so the last sentence fares as the first.
TEST_F(CfgShippedSentences, AStreamOfNewWordsLeavesTheSymbolTablesAsTheyWere) {
  const size_t names = SymbolNamesById().size();
  std::string first;
  for (int k = 0; k < 300; ++k) {
    const std::string word = std::string("Zorb") + char('a' + k / 26 % 26) + char('a' + k % 26);
    ASSERT_TRUE(Parse(word + " reads a book")) << k;
    result_.reset(parser_->GetParseResult());
    ASSERT_TRUE(result_);
    const CFSNode* subject = At(result_->FStructure->root, {u"SUBJ", u"PRED", u"VALUE"});
    EXPECT_EQ(Values(subject), Strings{word + "_n"}) << Show(result_->FStructure->root);
    std::string shown = Show(result_->FStructure->root);
    shown.replace(shown.find(word), word.size(), "W");
    if (k == 0) first = shown;
    EXPECT_EQ(shown, first);
    result_.reset();
    ResetSentence();
    EXPECT_EQ(SymbolNamesById().size(), names) << k;
  }
  EXPECT_TRUE(messages_.messages().empty());
}

// The time limit covers the conversion into the tree, the last phase of a
// parse: a clock that jumps at one of the last readings fails the sentence
// instead of handing out a tree half made.
TEST_F(CfgShippedSentences, ATreeNotFinishedInTimeIsNoAnalysis) {
  int64_t reads = 0;
  int64_t jumpAfter = INT64_MAX;
  SetClockSourceForTesting([&] { return ++reads > jumpAfter ? int64_t{1} << 50 : int64_t{0}; });
  ASSERT_TRUE(Parse("I gave him a book"));
  const int64_t total = reads;
  ResetSentence();
  for (int64_t jump : {total - 3, total - 2, total - 1}) {
    reads = 0;
    jumpAfter = jump;
    EXPECT_FALSE(Parse("I gave him a book")) << jump << " of " << total;
    EXPECT_EQ(parser_->GetParseResult(), nullptr);
    ResetSentence();
  }
}

TEST_F(CfgShippedSentences, ASentencePastItsMemoryBudgetFailsWithOneMessage) {
  const std::string sentence = "I gave him a book";
  size_t measured = 0;
  size_t growAfter = SIZE_MAX;
  SetHeapMeterForTesting([&] { return ++measured > growAfter ? size_t{1} << 40 : size_t{1} << 20; });
  SentenceMemoryCheckInterval = 0;  // measure at every step
  ASSERT_TRUE(Parse(sentence));
  result_.reset(parser_->GetParseResult());
  ASSERT_TRUE(result_);
  const size_t total = measured;
  result_.reset();
  ResetSentence();
  ASSERT_GE(total, 2u);  // the baseline and at least one measure
  for (size_t grow : {size_t{1}, total / 2, total - 1}) {
    SCOPED_TRACE(grow);
    measured = 0;
    growAfter = grow;
    messages_.clear();
    if (Parse(sentence)) {
      EXPECT_EQ(parser_->GetParseResult(), nullptr);
    }
    ASSERT_EQ(messages_.messages().size(), 1u);
    EXPECT_NE(ToUtf8(messages_.messages()[0].text).find("MB of memory"), std::string::npos);
    ResetSentence();
  }
  growAfter = SIZE_MAX;
  EXPECT_TRUE(Parse(sentence));
}

// Sentences whose tagged reading once came back without a function its
// verb's frame requires: they are analysed completely or not at all.
TEST_F(CfgShippedSentences, NoAnalysisIsReturnedIncomplete) {
  for (const char* sentence : {"I want you to look for Tom", "You have to appear in person"}) {
    if (Parse(sentence)) {
      result_.reset(parser_->GetParseResult());
      ASSERT_TRUE(result_) << sentence;
      EXPECT_EQ(FindIncompleteNode(result_->FStructure->root), nullptr) << sentence;
    }
    result_.reset();
    ResetSentence();
  }
}

TEST_F(CfgShippedSentences, ParsingLeavesTheLexiconUnchanged) {
  auto entries = lexicon_->GetEntries(u"book");
  ASSERT_FALSE(entries->empty());
  const uint16_t symbol = entries->front()->GetPartSymbol();
  ASSERT_TRUE(Parse("I gave him a book"));
  EXPECT_EQ(entries->front()->GetPartSymbol(), symbol);
  EXPECT_EQ(entries->front()->cachedFStructure, nullptr);
  EXPECT_FALSE(Parse("gave gave gave"));
  EXPECT_EQ(entries->front()->GetPartSymbol(), symbol);
  EXPECT_EQ(entries->front()->cachedFStructure, nullptr);
}

TEST_F(CfgShippedSentences, CStructureXmlOfTheChartIsWellFormed) {
  ASSERT_TRUE(Parse("I gave him a book"));
  const std::string path = dir_.File("CStructures.xml");
  parser_->WriteCStructuresXml(path);
  const std::vector<unsigned char> bytes = ReadBytes(path);
  ASSERT_GE(bytes.size(), 2u);
  ASSERT_EQ(bytes[0], 0xFF);
  std::u16string text;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2)
    text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
  const std::string xml = ToUtf8(text);
  for (const char* part : {"<C-Structures><C-Structure-1><SENT><S><NP><pron>I</pron></NP>", "<v>give</v>",
                           "<pron>he</pron>", "<det>a</det>", "<n>book</n>", "</C-Structure-1></C-Structures>"}) {
    EXPECT_NE(xml.find(part), std::string::npos) << part << " in " << xml;
  }
  if (std::system("command -v xmllint >/dev/null 2>&1") != 0) GTEST_SKIP() << "xmllint is not installed";
  EXPECT_EQ(std::system(("xmllint --noout '" + path + "'").c_str()), 0) << xml;
}

}  // namespace
}  // namespace cfg_test

namespace cfg_test {
namespace {

std::vector<std::string> Texts(const CSentenceTokens& tokens) {
  std::vector<std::string> texts;
  for (const CToken* token : tokens) texts.push_back(ToUtf8(token->Text));
  return texts;
}

// One call gives one sentence's tokens, each with its readings; a call past
// the end of the text gives nothing.
TEST_F(ShippedCfgEngine, SentencesAreCollectedOneAtATime) {
  struct Case {
    const char* text;
    std::vector<std::vector<std::string>> sentences;
  };
  const std::vector<Case> cases = {
      {"I gave him a book.", {{"I", "gave", "him", "a", "book"}, {}}},
      {"I met Dr Smith", {{"I", "met", "Dr", "Smith"}, {}}},
      {"Books", {{"Books"}, {}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    pre_->SetSentence(FromUtf8(c.text));
    for (const auto& expected : c.sentences) {
      CSentenceReadings readings;
      CSentenceTokens tokens;
      parser_->PreprocessSentence(readings, tokens);
      EXPECT_EQ(Texts(tokens), expected);
      EXPECT_EQ(readings.size(), tokens.size());
      for (const CEntryList& list : readings) EXPECT_FALSE(list.empty()) << "every token has readings";
      for (CToken* token : tokens) delete token;
    }
  }
}

}  // namespace
}  // namespace cfg_test

namespace {

using cfg_test::ShippedCfgEngine;

// A sentence ending in a tab once ran the sentence fuzzer out of memory with
// AddressSanitizer on, where the C library's heap statistics see no
// allocation and the budget never bound. A sentence with several phrases
// that attach in more than one place, ending in a tab, needs more than a MB
// before its time limit; with a budget below that, and the real meter of
// the build measured at every step, the budget stops it with its message in
// every build.
TEST_F(ShippedCfgEngine, TheSentenceThatRanOutOfMemoryStopsAtItsBudget) {
  SentenceMemoryBudget = size_t{1} << 20;
  SentenceMemoryCheckInterval = 0;
  messages_.clear();
  const bool parsed = Parse("The boy reads a book in the garden with a pen on Sunday near the river\t");
  SentenceMemoryBudget = kDefaultSentenceMemoryBudget;
  EXPECT_FALSE(parsed);
  std::vector<std::string> texts;
  for (const auto& message : messages_.messages()) texts.push_back(ToUtf8(message.text));
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0], "The sentence needs more than 1 MB of memory and cannot be analysed.");
  ResetSentence();
}

}  // namespace

// The shipped English grammar and lexicon compile without a message, and the
// words of the sentences the grammar is written for have their readings.
#include <cstdlib>
#include <set>
#include <sstream>
#include <tuple>

#include "resources/english/p_grammar_test_fixture.h"

#include "resources/english/e_lexicon.h"

namespace {

class ShippedEnglishDataTest : public CompiledGrammarTest {
 protected:
  void SetUp() override {
    const char* root = std::getenv("LFG_SOURCE_DIR");
    ASSERT_NE(root, nullptr) << "LFG_SOURCE_DIR is not set";
    data_ = std::string(root) + "/dataroot/data/english/";
    ClearConfiguration();
    ClearSymbolTable();
    // Shipped files are read from the data root; everything written goes
    // into the temporary folder.
    Set("CompileP_Grammar", "yes");
    Set("POSs", data_ + "POSs.txt");
    Set("SubCats", data_ + "SubCats.txt");
    Set("FSAttrTypeFile", data_ + "FSAttrTypes.txt");
    Set("SubCatFrameListFileName", data_ + "GovernableFunctions.txt");
    Set("Dummy", data_ + "Dummy.txt");
    Set("ncfgFileName", File("EGrammar.ncfg"));
    Set("DumpedEgrammar", File("DumpedEgrammar"));
    Set("DumpedEgrammarSymbols", File("DumpedEgrammarSymbols"));
    Set("ELexiconDumpFileName", File("ELexicon.dmp"));
    Set("DummyDump", File("Dummy.dmp"));
    P_FSCompiler::Init();
    grammar_ = std::make_unique<P_Grammar>(data_ + "EGrammarRules.txt", data_ + "EGrammarMacros.txt",
                                           File("EGrammar.lfg"), File("EGrammar.cfg"), 1);
    lexicon_ = std::make_unique<CELexicon>(data_ + "ELexicon.txt", grammar_.get());
  }

  // The parts of speech of the word's readings, looked up as the parser
  // does: as written, then lower-cased.
  std::vector<std::string> Readings(const std::u16string& word) {
    std::unique_ptr<CEntryList> entries = lexicon_->GetEntries(word);
    if (entries->empty()) {
      std::u16string lower = word;
      for (char16_t& c : lower) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
      }
      entries = lexicon_->GetEntries(lower);
    }
    std::vector<std::string> names;
    for (const CELexicalEntry* entry : *entries) names.push_back(grammar_->GetPOSName(entry->posId));
    return names;
  }

  // Whether the compiled grammar derives the sentence from "S'" over the
  // parts of speech of its words (an Earley recogniser, F-structures left
  // aside). Words are separated by blanks.
  bool Recognises(const std::string& sentence) {
    std::vector<std::set<uint16_t>> tags;
    std::istringstream words(sentence);
    for (std::string word; words >> word;) {
      std::set<uint16_t> ids;
      for (const std::string& name : Readings(FromUtf8(word))) {
        ids.insert(static_cast<uint16_t>(grammar_->GetOrAddPOSId(name)));
      }
      tags.push_back(ids);
    }
    struct Item {
      const CCompiledProduction* production;
      size_t dot, origin;
      bool operator<(const Item& o) const {
        return std::tie(production, dot, origin) < std::tie(o.production, o.dot, o.origin);
      }
    };
    std::vector<std::set<Item>> chart(tags.size() + 1);
    const auto start = grammar_->GetProductionsForLHS(grammar_->GetStartCategoryId());
    for (CCompiledProduction* p : *start) chart[0].insert({p, 0, 0});
    for (size_t i = 0; i <= tags.size(); ++i) {
      std::vector<Item> agenda(chart[i].begin(), chart[i].end());
      while (!agenda.empty()) {
        const Item item = agenda.back();
        agenda.pop_back();
        auto add = [&](size_t column, const Item& next) {
          if (chart[column].insert(next).second && column == i) agenda.push_back(next);
        };
        if (item.dot == item.production->rhs.size()) {
          for (const Item& waiting : std::vector<Item>(chart[item.origin].begin(), chart[item.origin].end())) {
            if (waiting.dot < waiting.production->rhs.size() && !waiting.production->rhs[waiting.dot].isPOS &&
                waiting.production->rhs[waiting.dot].id == item.production->lhs) {
              add(i, {waiting.production, waiting.dot + 1, waiting.origin});
            }
          }
          continue;
        }
        const CCompiledSymbol& next = item.production->rhs[item.dot];
        if (next.isPOS) {
          if (i < tags.size() && tags[i].count(next.id)) add(i + 1, {item.production, item.dot + 1, item.origin});
          continue;
        }
        const auto predicted = grammar_->GetProductionsForLHS(next.id);
        for (CCompiledProduction* p : *predicted) add(i, {p, 0, i});
      }
    }
    for (const Item& item : chart[tags.size()]) {
      if (item.origin == 0 && item.dot == item.production->rhs.size() &&
          item.production->lhs == grammar_->GetStartCategoryId()) {
        return true;
      }
    }
    return false;
  }

  std::string data_;
  MessageRecorder messages_;
  std::unique_ptr<P_Grammar> grammar_;
  std::unique_ptr<CELexicon> lexicon_;
};

TEST_F(ShippedEnglishDataTest, CompilesWithoutAMessage) {
  EXPECT_FALSE(grammar_->HasFailed()) << grammar_->FailureText();
  EXPECT_FALSE(lexicon_->HasFailed()) << lexicon_->FailureText();
  for (const auto& message : messages_.messages()) ADD_FAILURE() << ToUtf8(message.caption + u": " + message.text);
  EXPECT_LE(grammar_->POSCount(), 26u) << "the tagger's bigram table holds 25 tags";
  auto start = grammar_->GetProductionsForLHS(grammar_->GetStartCategoryId());
  EXPECT_EQ(start->size(), 1u) << "S' has exactly one production";
  EXPECT_GE(lexicon_->WordIndex().size(), 300u);
  EXPECT_EQ(SubcatFrameNames.at(0), std::vector<std::string>{"SUBJ"});
  // Entries of one word and part of speech stand together: each word has at
  // most one reading per part of speech.
  std::set<std::pair<std::u16string, uint16_t>> seen;
  for (const auto& [word, entry] : lexicon_->WordIndex()) {
    EXPECT_TRUE(seen.emplace(word, entry->posId).second) << ToUtf8(word) << " is split";
  }
}

TEST_F(ShippedEnglishDataTest, WordsOfTheCoveredSentencesHaveTheirReadings) {
  using Names = std::vector<std::string>;
  struct Case {
    std::u16string word;
    Names readings;
  };
  const Case cases[] = {
      {u"I", {"pron"}},
      {u"gave", {"v"}},
      {u"him", {"pron"}},
      {u"a", {"det"}},
      {u"book", {"n", "v"}},
      {u"The", {"det"}},
      {u"boy", {"n"}},
      {u"reads", {"v"}},
      {u"books", {"n", "v"}},
      {u"boys", {"n"}},
      {u"read", {"v"}},
      {u"reading", {"n", "v"}},
      {u"is", {"aux", "v"}},
      {u"are", {"aux", "v"}},
      {u"was", {"aux", "v"}},
      {u"were", {"aux", "v"}},
      {u"has", {"aux", "v"}},
      {u"have", {"aux", "v"}},
      {u"will", {"aux", "v"}},
      {u"not", {"neg"}},
      {u"Is", {"aux", "v"}},
      {u"she", {"pron"}},
      {u"they", {"pron"}},
      {u"them", {"pron"}},
      {u"old", {"adj"}},
      {u"big", {"adj"}},
      {u"in", {"p"}},
      {u"garden", {"n"}},
      {u"with", {"p"}},
      {u"slept", {"v"}},
      {u"the", {"det"}},
      {u"given", {"v"}},
      {u"?", {"punct"}},
      {u"children", {"n"}},
      {u"went", {"v"}},
      {u"quickly", {"adv"}},
      // Contractions as the tokeniser splits them: "don't" gives "don" and "t".
      {u"don", {"aux"}},
      {u"t", {"neg"}},
      {u"ll", {"aux"}},
      {u"m", {"aux", "v"}},
      {u"Tom", {"pn"}},
      {u"where", {"adv"}},
      {u"what", {"det", "wh"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Readings(c.word), c.readings) << ToUtf8(c.word);
}

TEST_F(ShippedEnglishDataTest, VerbReadingsNameTheirLemmaAndFrame) {
  struct Case {
    std::u16string word;
    std::u16string lemma;
    bool alternatives;  // several frames or forms
  };
  const Case cases[] = {{u"gave", u"give", true},
                        {u"reads", u"read", true},
                        {u"slept", u"sleep", true},
                        {u"has", u"have", true},
                        {u"is", u"be", false}};
  for (const Case& c : cases) {
    std::unique_ptr<CEntryList> entries = lexicon_->GetEntries(c.word);
    const auto verb = std::find_if(entries->begin(), entries->end(),
                                   [&](const CELexicalEntry* e) { return grammar_->GetPOSName(e->posId) == "v"; });
    ASSERT_NE(verb, entries->end()) << ToUtf8(c.word);
    EXPECT_EQ(GetSymbolName((*verb)->GetPartSymbol()), c.lemma);
    EXPECT_EQ((*verb)->choiceCount >= 1, c.alternatives) << ToUtf8(c.word);
  }
}

TEST_F(ShippedEnglishDataTest, TheGrammarCoversItsSentences) {
  struct Case {
    const char* sentence;
    bool covered;
  };
  const Case cases[] = {
      {"I gave him a book", true},
      {"The boy reads a book", true},
      {"The boy slept", true},
      {"The old man gave the children two big books", true},
      {"The boys were not reading books in the garden", true},
      {"She has read the book", true},
      {"They will give us a book", true},
      {"I did not go", true},
      {"Is the boy reading a book ?", true},
      {"Will you read the book", true},
      {"Has she not read it", true},
      {"He went to the market yesterday", true},
      {"Is the book old ?", true},
      {"Where do you live", true},
      {"Close the book", true},
      {"I want to read the book", true},
      {"Tom is in the garden", true},
      {"the reads", false},
      {"The boy a book", false},
      {"book the reads", false},
  };
  for (const Case& c : cases) EXPECT_EQ(Recognises(c.sentence), c.covered) << c.sentence;
}

TEST_F(ShippedEnglishDataTest, TheGrammarPredictsTheSentenceStarts) {
  // Declaratives start with a pronoun, a determiner or a noun; questions
  // with an auxiliary, a question word or adverb; commands with a verb; a
  // fronted adverbial with a preposition or a subordinating conjunction
  // ("In the morning, ...", "When he came, ..."). A negation, a punctuation
  // mark or an apostrophe never starts a sentence.
  auto start = grammar_->GetProductionsForLHS(grammar_->GetStartCategoryId());
  ASSERT_EQ(start->size(), 1u);
  for (const char* pos : {"pron", "det", "n", "aux", "adj", "pn", "wh", "adv", "v", "p", "sub_conj"}) {
    CCategoryMask mask;
    mask.Set(grammar_->GetOrAddPOSId(pos));
    EXPECT_TRUE(CategoryMasksIntersect(start->front()->firstMask, mask)) << pos;
  }
  for (const char* pos : {"neg", "punct", "apostr"}) {
    CCategoryMask mask;
    mask.Set(grammar_->GetOrAddPOSId(pos));
    EXPECT_FALSE(CategoryMasksIntersect(start->front()->firstMask, mask)) << pos;
  }
}

}  // namespace

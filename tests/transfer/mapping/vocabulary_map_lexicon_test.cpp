// The mapping-lexicon files generated from the vocabulary table
// (tools/build_vocabulary.py) compile with the shipped macros without a
// message, and their blocks have the shape the mapper relies on: verb
// readings with a frame condition before noun and adjective readings, word
// senses as numbered unconditional entries, governed objects through insert
// rules.
#include <string>
#include <vector>

#include "mapping_test_support.h"
#include "transfer/mapping/map_lexicon.h"

namespace mapping_test {
namespace {

class VocabularyMapLexiconTest : public MappingTest {
 protected:
  void SetUp() override {
    MappingTest::SetUp();
    ASSERT_FALSE(SourceDir().empty()) << "LFG_SOURCE_DIR is not set";
    SetConfigValue("MapLexDump", dir_.File("MapLex.dmp"));
    SetConfigValue("CompileMapper", "yes");
  }

  // Compiles a generated file of the data root (never dumped: the file name
  // is not one of the live lexicons').
  std::unique_ptr<CMapLexicon> Compile(const std::string& name) {
    const std::string data = SourceDir() + "/dataroot/data/mapping/";
    return std::make_unique<CMapLexicon>(data + "MapMacros.txt", data + "generated/" + name,
                                         dir_.File(name + ".mle"), english_.get(), 1.0);
  }

  // The Urdu lemma an entry assigns to PRED, or "" when it assigns none.
  static std::string PredOf(const CMapLexEntry& entry) {
    for (const auto& statement : entry.statements) {
      if (statement->op == CMapRuleElement::kAssign && statement->leftPath.ids == std::vector<SymbolId>{Sym(u"PRED")} &&
          !statement->rightPath.ids.empty()) {
        return ToUtf8(GetSymbolName(statement->rightPath.ids[0]));
      }
    }
    return "";
  }

  static bool HasInsert(const CMapLexEntry& entry) {
    for (const auto& statement : entry.statements) {
      if (statement->op == CMapRuleElement::kInsert) return true;
    }
    return false;
  }

  void ExpectNoMessages() {
    for (const auto& message : messages_.messages()) ADD_FAILURE() << ToUtf8(message.text);
  }
};

TEST_F(VocabularyMapLexiconTest, GeneralLexiconCompilesQuietlyAndCoversTheFrequentVocabulary) {
  auto lexicon = Compile("VocabularyMapLex.mlr");
  ExpectNoMessages();
  // One block per English word: the 3000 most frequent Brown lemmas and the
  // closed classes, less the words that several classes share.
  EXPECT_GT(lexicon->Headwords().size(), 2800u);
  // No entry without statements, no headword without entries.
  for (const auto& [id, headword] : lexicon->Headwords()) {
    EXPECT_GT(headword->GetEntryCount(), 0) << ToUtf8(GetSymbolName(id));
    for (const CMapLexEntry* entry : headword->entries) EXPECT_FALSE(entry->statements.empty());
  }
}

TEST_F(VocabularyMapLexiconTest, BlocksOrderVerbNounAndAdjectiveReadings) {
  auto lexicon = Compile("VocabularyMapLex.mlr");
  struct Case {
    std::u16string headword;
    std::vector<std::string> conditions;  // of the entries, in file order
    std::vector<std::string> preds;       // the PRED each entry gives
    std::vector<int> numbers;             // the '@' numbers
  };
  const Case cases[] = {
      // A noun alone: one unconditional entry.
      {u"book", {""}, {"'کتاب'"}, {0}},
      // Two senses of a noun, numbered for the word-sense files.
      {u"letter", {"", ""}, {"'خط'", "'حرف'"}, {1, 2}},
      // The intransitive use first, then the verb, then the adjective.
      {u"open", {"(PRED.GF == {SUBJ})", "(PRED.GF)", ""}, {"'کھلنا'", "'کھولنا'", "'کھلا'"}, {0, 0, 0}},
      // ask X: X سے پوچھنا (frame condition), otherwise the plain verb.
      {u"ask", {"(PRED.GF == {SUBJ,OBJ})", ""}, {"'پوچھنا'", "'پوچھنا'"}, {0, 0}},
      // help X: کرنا with the noun مدد, whose possessor X becomes.
      {u"help", {"(PRED.GF == {SUBJ,OBJ})", "(PRED.GF)", ""}, {"'کرنا'", "'مدد_کرنا'", "'مدد'"}, {0, 0, 0}},
      // Senses of a verb beside a noun: the noun by its PERS, the verb
      // senses as numbered alternatives.
      {u"call", {"(PERS)", "", "", ""}, {"'فون'", "'بلانا'", "'فون_کرنا'", "'پکارنا'"}, {0, 1, 2, 3}},
      // Senses of a verb alone.
      {u"leave", {"", ""}, {"'چھوڑنا'", "'روانہ_ہونا'"}, {1, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.headword));
    const CMapLexHeadword* headword = lexicon->FindHeadword(Sym(c.headword));
    ASSERT_NE(headword, nullptr);
    std::vector<std::string> conditions, preds;
    std::vector<int> numbers;
    for (const CMapLexEntry* entry : headword->entries) {
      conditions.push_back(ToUtf8(entry->condition));
      preds.push_back(PredOf(*entry));
      numbers.push_back(entry->number);
    }
    EXPECT_EQ(conditions, c.conditions);
    EXPECT_EQ(preds, c.preds);
    EXPECT_EQ(numbers, c.numbers);
  }
}

TEST_F(VocabularyMapLexiconTest, GovernedObjectsBringInTheirInsertRule) {
  auto lexicon = Compile("VocabularyMapLex.mlr");
  auto inserts = Compile("VocabularyInsertRules.mlr");
  ExpectNoMessages();
  // Every insert statement of the lexicon names a block of the insert rules,
  // whose one entry applies only beside its own verb.
  size_t governed = 0;
  for (const auto& [id, headword] : lexicon->Headwords()) {
    for (const CMapLexEntry* entry : headword->entries) {
      for (const auto& statement : entry->statements) {
        if (statement->op != CMapRuleElement::kInsert) continue;
        ++governed;
        EXPECT_EQ(statement->cacheSymbol, Sym(u"OBJ"));
        const CMapLexHeadword* rule = inserts->FindHeadword(statement->insertHeadword);
        ASSERT_NE(rule, nullptr) << ToUtf8(GetSymbolName(statement->insertHeadword));
        ASSERT_EQ(rule->entries.size(), 1u);
        EXPECT_EQ(ToUtf8(rule->entries[0]->condition), "(PRED == {" + ToUtf8(GetSymbolName(id)) + "})");
      }
    }
  }
  EXPECT_GT(governed, 20u);
  EXPECT_EQ(governed, inserts->Headwords().size());
  EXPECT_TRUE(HasInsert(*lexicon->FindHeadword(Sym(u"meet"))->entries[0]));
  EXPECT_FALSE(HasInsert(*lexicon->FindHeadword(Sym(u"read"))->entries[0]));
}

TEST_F(VocabularyMapLexiconTest, DomainLexiconsCompileQuietly) {
  for (const std::string name : {"NDomainVocabularyMapLex.mlr", "WDomainVocabularyMapLex.mlr", "ADomainVocabularyMapLex.mlr"}) {
    SCOPED_TRACE(name);
    auto lexicon = Compile(name);
    EXPECT_FALSE(lexicon->Headwords().empty());
  }
  ExpectNoMessages();
  // The news sense of "stock" is the shares, not the store.
  auto news = Compile("NDomainVocabularyMapLex.mlr");
  const CMapLexHeadword* stock = news->FindHeadword(Sym(u"stock"));
  ASSERT_NE(stock, nullptr);
  EXPECT_EQ(PredOf(*stock->entries[0]), "'حصص'");
}

}  // namespace
}  // namespace mapping_test

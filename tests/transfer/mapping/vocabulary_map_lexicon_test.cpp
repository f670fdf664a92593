// The mapping-lexicon files generated from the vocabulary table
// (tools/build_vocabulary.py) compile with the shipped macros without a
// message, and their blocks have the shape the mapper relies on: verb
// readings with a frame condition before noun and adjective readings, word
// senses as numbered unconditional entries, governed objects through
// entries of the OBJ mapping rule.
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
    return std::make_unique<CMapLexicon>(data + "MapMacros.txt", data + "generated/" + name, dir_.File(name + ".mle"),
                                         english_.get(), 1.0);
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
      // The intransitive use first (not for a passive, which keeps the
      // transitive verb), then the verb, then the adjective.
      {u"open",
       {"(PRED.GF == {SUBJ}) & ~(PASSIVE == {+})", "(PRED.GF)", ""},
       {"'کھلنا'", "'کھولنا'", "'کھلا'"},
       {0, 0, 0}},
      // A noun beside an adjective needs a noun's marks: case, a
      // determiner, the plural or a place in a coordination with "and"; a
      // bare predicate is the adjective.
      {u"fat", {"(PERS) & ((CASE) | (SPEC) | (NUM == {pl}) | (PARENT.COORD == {and}))", ""}, {"'چربی'", "'موٹا'"}, {0, 0}},
      // Numbered senses in their order: the adverb still before the adjective.
      {u"still", {"", ""}, {"'ابھی_تک'", "'ساکن'"}, {1, 2}},
      // ask X: X سے پوچھنا (frame condition), otherwise the plain verb.
      {u"ask", {"(PRED.GF == {SUBJ,OBJ})", ""}, {"'پوچھنا'", "'پوچھنا'"}, {0, 0}},
      // help X: کرنا with the noun مدد, whose possessor X becomes.
      {u"help", {"(PRED.GF == {SUBJ,OBJ})", "(PRED.GF)", ""}, {"'کرنا'", "'مدد_کرنا'", "'مدد'"}, {0, 0, 0}},
      // Senses of a verb beside a noun: the noun by its PERS, the verb
      // senses as numbered alternatives.
      {u"call", {"(PERS)", "", "", ""}, {"'فون'", "'بلانا'", "'فون_کرنا'", "'پکارنا'"}, {0, 1, 2, 3}},
      // Senses of a verb alone.
      {u"miss", {"", ""}, {"'یاد_کرنا'", "'چھوٹ_جانا'"}, {1, 2}},
      // A sense for the frame without an object (she left: روانہ ہوئی)
      // before the transitive verb.
      {u"leave", {"(PRED.GF == {SUBJ}) & ~(PASSIVE == {+})", ""}, {"'روانہ_ہونا'", "'چھوڑنا'"}, {0, 0}},
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

TEST_F(VocabularyMapLexiconTest, GovernedObjectsHaveTheirObjectRuleAndTheirFrame) {
  auto lexicon = Compile("VocabularyMapLex.mlr");
  auto objectRules = Compile("VocabularyObjectRules.mlr");
  ExpectNoMessages();
  ASSERT_EQ(objectRules->Headwords().size(), 1u);
  const CMapLexHeadword* rule = objectRules->FindHeadword(Sym(u"OBJ"));
  ASSERT_NE(rule, nullptr);
  EXPECT_GT(rule->entries.size(), 20u);
  // Each entry applies beside one English verb, whose block reshapes the
  // frame for an English object: the Urdu frame SUBJ when the object goes
  // into the ADJUNCT set with a postposition, the light verb's noun as OBJ
  // when the object becomes its possessor.
  for (const CMapLexEntry* entry : rule->entries) {
    const std::string condition = ToUtf8(entry->condition);
    ASSERT_EQ(condition.rfind("(PRED == {", 0), 0u) << condition;
    const std::string verb = condition.substr(10, condition.size() - 12);
    SCOPED_TRACE(verb);
    const CMapLexHeadword* block = lexicon->FindHeadword(Sym(FromUtf8(verb)));
    ASSERT_NE(block, nullptr);
    const CMapLexEntry* reshaping = block->entries.front();
    EXPECT_EQ(ToUtf8(reshaping->condition), "(PRED.GF == {SUBJ,OBJ})");
    const bool possessor = entry->statements.size() == 2;  // OBJ.POSS, CASE = {obl}
    const std::vector<SymbolId> frame = possessor ? Syms({u"SUBJ", u"OBJ"}) : Syms({u"SUBJ"});
    bool frameFound = false;
    for (const auto& statement : reshaping->statements) {
      if (statement->leftPath.ids == Syms({u"PRED", u"GF"})) frameFound = statement->rightPath.ids == frame;
    }
    EXPECT_TRUE(frameFound);
  }
  // meet X: X سے ملنا; help X: X کی مدد کرنا.
  EXPECT_EQ(PredOf(*lexicon->FindHeadword(Sym(u"meet"))->entries[0]), "'ملنا'");
  EXPECT_EQ(PredOf(*lexicon->FindHeadword(Sym(u"help"))->entries[0]), "'کرنا'");
}

TEST_F(VocabularyMapLexiconTest, DomainLexiconsCompileQuietly) {
  for (const std::string name :
       {"NDomainVocabularyMapLex.mlr", "WDomainVocabularyMapLex.mlr", "ADomainVocabularyMapLex.mlr"}) {
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

// The CFG parser on the toy grammar of tests/data/cfg: look-ahead, scanning,
// time-outs anywhere in a parse, the reading copies, and the C-structure
// file of empty and highly ambiguous charts.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <sstream>

#include "analysis/cfg_parser.h"
#include "constraints/p_fs_compiler.h"
#include "constraints/p_fstructure.h"
#include "constraints/p_symbol_table.h"
#include "constraints/solver_hooks.h"
#include "core/config_store.h"
#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/symbol_table.h"
#include "platform/clock.h"
#include "platform/utf8.h"
#include "resources/e_lexicon.h"
#include "resources/p_grammar.h"
#include "support/test_support.h"

namespace {

std::string ToyFile(const std::string& name) {
  const char* root = std::getenv("LFG_SOURCE_DIR");
  std::ifstream in(std::string(root != nullptr ? root : "") + "/tests/data/cfg/" + name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteNarrow(const std::string& path, const std::string& text) {
  WriteBytes(path, std::vector<unsigned char>(text.begin(), text.end()));
}

std::string ReadXml(const std::string& path) {
  const std::vector<unsigned char> bytes = ReadBytes(path);
  std::u16string text;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
  return ToUtf8(text);
}

void ExpectWellFormed(const std::string& path) {
  if (std::system("command -v xmllint >/dev/null 2>&1") != 0) return;
  EXPECT_EQ(std::system(("xmllint --noout '" + path + "' 2>/dev/null").c_str()), 0) << path;
}

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

class CfgToyParse : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearConfiguration();
    ClearSymbolTable();
    RegisterReservedSymbols();
    for (const char* name : {"POSs.txt", "SubCats.txt", "FSAttrTypes.txt"}) WriteNarrow(File(name), ToyFile(name));
    for (const char* name : {"GovernableFunctions.txt", "rules.txt", "macros.txt", "lexicon.txt", "dummy.txt"}) {
      WriteUtf16File(File(name), FromUtf8(ToyFile(name)));
    }
    WriteNarrow(File("Time.txt"), "60000\n");
    const std::vector<std::pair<std::string, std::string>> keys = {
        {"CompileP_Grammar", "yes"}, {"POSs", File("POSs.txt")}, {"SubCats", File("SubCats.txt")},
        {"FSAttrTypeFile", File("FSAttrTypes.txt")}, {"SubCatFrameListFileName", File("GovernableFunctions.txt")},
        {"Dummy", File("dummy.txt")}, {"BigramProbabilityTable", File("no-bigrams.txt")}, {"Time", File("Time.txt")},
        {"ncfgFileName", File("g.ncfg")}, {"DumpedEgrammar", File("g.dmp")}, {"DumpedEgrammarSymbols", File("gs.dmp")},
        {"ELexiconDumpFileName", File("l.dmp")}, {"DummyDump", File("d.dmp")},
    };
    for (const auto& [key, value] : keys) SetConfigValue(key, value);
    P_FSCompiler::Init();
    grammar_ = std::make_unique<P_Grammar>(File("rules.txt"), File("macros.txt"), File("g.lfg"), File("g.cfg"), 1);
    lexicon_ = std::make_unique<CELexicon>(File("lexicon.txt"), grammar_.get());
    P_FSCompiler::MarkInitialItems();
    parser_ = std::make_unique<CCfgParser>(lexicon_.get(), grammar_.get(), nullptr);
    ASSERT_FALSE(grammar_->HasFailed()) << grammar_->FailureText();
    ASSERT_FALSE(lexicon_->HasFailed()) << lexicon_->FailureText();
  }

  void TearDown() override {
    SetClockSourceForTesting({});
    P_FSCompiler::ResetForSentence();
    CFSNode::DeleteAll();
    CFSHandle::DeleteAll();
    FreeAllEarleyItems();
    FreeAllChartColumns();
    ClearConfiguration();
  }

  std::string File(const std::string& name) const { return dir_.File(name); }

  // Words looked up as the parser does; tokens kept by the fixture.
  void Sentence(const std::string& text) {
    readings_.clear();
    tokens_.clear();
    owned_.clear();
    std::istringstream words(text);
    for (std::string word; words >> word;) {
      owned_.push_back(std::make_unique<CToken>());
      owned_.back()->Text = FromUtf8(word);
      tokens_.push_back(owned_.back().get());
      readings_.push_back(parser_->LookUpWord(FromUtf8(word)));
    }
  }

  bool Parse(const std::string& text) {
    Sentence(text);
    return parser_->ParseTokens(readings_, tokens_);
  }

  // The left sides of the items in a column.
  std::vector<std::string> Categories(size_t column) const {
    std::vector<std::string> names;
    const CCfgChartColumn* c = parser_->GetColumns().at(column);
    for (size_t i = 0; i < c->GetItemCount(); ++i) {
      const CCfgChartItem* item = c->GetItem(static_cast<int>(i));
      names.push_back(grammar_->GetCategoryName(item->GetProduction()->lhs) + "/" +
                      std::to_string(item->GetProduction()->rhs.size()));
    }
    return names;
  }

  TempDir dir_;
  MessageRecorder messages_;
  std::unique_ptr<P_Grammar> grammar_;
  std::unique_ptr<CELexicon> lexicon_;
  std::unique_ptr<CCfgParser> parser_;
  CSentenceReadings readings_;
  CSentenceTokens tokens_;
  std::vector<std::unique_ptr<CToken>> owned_;
};

// Column 0 of "the man ...": only the noun phrase that begins with a
// determiner is predicted; "man ..." predicts only the bare noun.
TEST_F(CfgToyParse, PredictionFollowsTheWordsPartsOfSpeech) {
  ASSERT_TRUE(Parse("the man saw the dog"));
  const std::vector<std::string> first = Categories(0);
  EXPECT_NE(std::find(first.begin(), first.end(), "NP/2"), first.end()) << "NP -> det n";
  EXPECT_EQ(std::find(first.begin(), first.end(), "NP/1"), first.end()) << "NP -> n is not predicted before 'the'";
  ASSERT_TRUE(Parse("man saw dog"));
  const std::vector<std::string> bare = Categories(0);
  EXPECT_NE(std::find(bare.begin(), bare.end(), "NP/1"), bare.end());
  EXPECT_EQ(std::find(bare.begin(), bare.end(), "NP/2"), bare.end());
  EXPECT_TRUE(Categories(3).size() >= 1u);
}

// Two noun readings of one word: the first is scanned, the second never.
TEST_F(CfgToyParse, OnlyTheFirstReadingOfAPartOfSpeechIsScanned) {
  Sentence("man saw dog");
  CELexicalEntry second(readings_[2][0]->posId, {}, GetSymbolId(u"cat", true), 1.0f);
  readings_[2].push_back(&second);
  ASSERT_TRUE(parser_->ParseTokens(readings_, tokens_));
  std::unique_ptr<CParseResult> result(parser_->GetParseResult());
  ASSERT_TRUE(result);
  const CFSNode* object = result->FStructure->root->FindAttribute(GetSymbolId(u"OBJ", true));
  ASSERT_NE(object, nullptr);
  const CFSNode* word = object->FindAttribute(PredId)->FindAttribute(ValueId);
  EXPECT_EQ(word->Value, (std::vector<SymbolId>{GetSymbolId(u"dog", true)}));
}

// A clock that jumps far ahead after a number of readings: the parse runs out
// of time in the chart, in the F-structure construction or in the solver.
// Whichever it is, the sentence has no analysis, and neither the lexicon
// nor the caller's readings have changed.
TEST_F(CfgToyParse, ATimeOutAnywhereFailsTheParse) {
  const std::string sentence = "the man saw the dog with the saw";
  auto dog = lexicon_->GetEntries(u"dog");
  const uint16_t dogSymbol = dog->front()->GetPartSymbol();
  int64_t calls = 0;
  int64_t jumpAfter = INT64_MAX;
  SetClockSourceForTesting([&] { return ++calls > jumpAfter ? int64_t{1} << 50 : int64_t{0}; });
  ASSERT_TRUE(Parse(sentence));
  const int64_t total = calls;
  ASSERT_GT(total, 4);
  for (int64_t jump : {int64_t{1}, int64_t{2}, total / 2, total - 2, total - 1}) {
    SCOPED_TRACE("clock jumps after " + std::to_string(jump) + " of " + std::to_string(total) + " readings");
    calls = 0;
    jumpAfter = jump;
    Sentence(sentence);
    const CSentenceReadings before = readings_;
    EXPECT_FALSE(parser_->ParseTokens(readings_, tokens_));
    EXPECT_EQ(parser_->GetParseResult(), nullptr);
    EXPECT_EQ(dog->front()->GetPartSymbol(), dogSymbol);
    EXPECT_EQ(dog->front()->cachedFStructure, nullptr);
    for (const CEntryList& list : readings_) {
      for (const CELexicalEntry* reading : list) EXPECT_NE(reading->GetPartSymbol() & 0x8000, 0x8000);
    }
  }
  jumpAfter = INT64_MAX;
  calls = 0;
  EXPECT_TRUE(Parse(sentence)) << "a fresh budget for the next sentence";
}

// After a parse, successful or not, the chart's readings carry their words
// again (the C-structure file shows them) and the lexicon is as it was.
TEST_F(CfgToyParse, ReadingsCarryTheirWordsAfterSuccessAndFailure) {
  auto man = lexicon_->GetEntries(u"man");
  const uint16_t manSymbol = man->front()->GetPartSymbol();
  for (const auto& [sentence, parses] :
       std::vector<std::pair<std::string, bool>>{{"the man saw the dog", true}, {"man man man", false}}) {
    SCOPED_TRACE(sentence);
    EXPECT_EQ(Parse(sentence), parses);
    EXPECT_EQ(man->front()->GetPartSymbol(), manSymbol);
    for (const CCfgChartColumn* column : parser_->GetColumns()) {
      if (column->GetReadings() == nullptr) continue;
      for (const CELexicalEntry* reading : *column->GetReadings()) {
        EXPECT_LT(reading->GetPartSymbol(), kReadingNumberBase) << "a reading number was left behind";
      }
    }
  }
}

// A PRED value is either a reading's number or a quoted word of the
// constraint system's own symbols; the two never share a value, however many
// readings a sentence has.
TEST_F(CfgToyParse, ReadingNumbersAreNeverMistakenForSymbols) {
  std::string sentence;
  for (int i = 0; i < 600; ++i) sentence += "man ";
  EXPECT_FALSE(Parse(sentence));  // 600 readings numbered, no analysis
  ASSERT_GT(parser_->GetReadingSymbols().size(), 550u) << "every symbol id is below the table's size";
  const uint16_t quoted = P_SymbolTable::Intern("'pro'");
  struct Case {
    uint16_t value;
    std::u16string word;
  };
  for (const Case& c : {Case{quoted, u"pro"}, Case{kReadingNumberBase + 1, u"man"}}) {
    auto* fs = new P_FStructure();  // freed by the per-sentence reset
    fs->AddItem(new P_FSItemSimple(SymbolTablePredId, c.value));
    const CFSNode* node = parser_->ConvertFStructureNode(fs, nullptr);
    const CFSNode* value = node->FindAttribute(PredId)->FindAttribute(ValueId);
    EXPECT_EQ(value->Value, (std::vector<SymbolId>{GetSymbolId(c.word, true)})) << ToUtf8(c.word);
  }
}

TEST_F(CfgToyParse, ASentencePastTheChartsLimitsFailsWithAMessage) {
  std::string sentence;
  for (size_t i = 0; i <= kMaxChartTokens; ++i) sentence += "man ";
  EXPECT_FALSE(Parse(sentence));
  ASSERT_EQ(messages_.messages().size(), 1u);
  EXPECT_EQ(messages_.messages()[0].text, u"The sentence has more than 32000 tokens and cannot be parsed.");
}

TEST_F(CfgToyParse, ChartEmptiedByATimeOutWritesAnEmptyWellFormedFile) {
  SetClockSourceForTesting([] {
    static int64_t now = 0;
    return now += 1'000'000'000;
  });
  parser_->SetTimeLimit(0);
  EXPECT_FALSE(Parse("the man saw the dog"));
  EXPECT_TRUE(parser_->GetColumns().empty());
  parser_->WriteCStructuresXml(File("CStructures.xml"));
  EXPECT_EQ(ReadXml(File("CStructures.xml")), "<C-Structures></C-Structures>");
  ExpectWellFormed(File("CStructures.xml"));
}

// "with the saw" attaches to "saw" or "dog"; many such phrases make every
// item shared under many parents. Written in full the file would grow
// exponentially; the writer stops opening elements at its cap.
TEST_F(CfgToyParse, SharedItemsCannotMakeTheCStructureFileExplode) {
  ASSERT_TRUE(Parse("the man saw the dog with the saw"));
  parser_->WriteCStructuresXml(File("two.xml"));
  const std::string two = ReadXml(File("two.xml"));
  EXPECT_EQ(Count(two, "<C-Structure-"), 1u);
  EXPECT_GE(Count(two, "<Alternative-"), 2u) << two;
  ExpectWellFormed(File("two.xml"));

  std::string sentence = "the man saw the dog";
  for (int i = 0; i < 12; ++i) sentence += " in the park";
  // Its alternatives need more choices than a context can number: no
  // analysis, a message, but a complete chart.
  EXPECT_FALSE(Parse(sentence));
  ASSERT_EQ(messages_.messages().size(), 1u);
  EXPECT_EQ(messages_.messages()[0].text, u"The sentence has too many alternative analyses to be solved.");
  ASSERT_FALSE(parser_->GetColumns().empty());
  parser_->WriteCStructuresXml(File("many.xml"));
  const std::string many = ReadXml(File("many.xml"));
  EXPECT_LE(Count(many, "</"), kMaxCStructureXmlElements + 1) << "the elements and the document";
  EXPECT_GT(Count(many, "</"), kMaxCStructureXmlElements / 2) << "the cap was reached";
  ExpectWellFormed(File("many.xml"));
}

}  // namespace

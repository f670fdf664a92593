// The rules that narrow reading lists around tagging, each case a sentence of
// words with the parts of speech of their readings.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "analysis/cfg_parser.h"
#include "constraints/p_fs_compiler.h"
#include "core/config_store.h"
#include "core/parse_clock.h"
#include "core/trace_log.h"
#include "core/symbol_table.h"
#include "platform/utf8.h"
#include "resources/e_lexicon.h"
#include "resources/p_grammar.h"
#include "support/test_support.h"

namespace {

using Tags = std::vector<std::string>;

struct Word {
  std::string text;
  Tags tags;  // readings in order; "correlative:or" names the partner word
};

class CfgReadingFilters : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearConfiguration();
    ClearSymbolTable();
    RegisterReservedSymbols();
    const std::string tags = "det n v p adj adv aux part correlative mult gm coord_conj sub_conj comp_conj gen_pro";
    WriteBytes(dir_.File("POSs.txt"), std::vector<unsigned char>(tags.begin(), tags.end()));
    WriteBytes(dir_.File("SubCats.txt"), {'S', 'U', 'B', 'J'});
    WriteBytes(dir_.File("Attr.txt"), {'S', 'U', 'B', 'J'});
    WriteUtf16File(dir_.File("Gov.txt"), u"SUBJ");
    WriteUtf16File(dir_.File("rules.txt"), u"S' -> S: ^=! ; .\r\nS -> n: ^=! ; .\r\n");
    WriteUtf16File(dir_.File("macros.txt"), u"");
    WriteUtf16File(dir_.File("lexicon.txt"), u"man: n, ^PRED='man'.\r\n");
    WriteUtf16File(dir_.File("dummy.txt"), u"n:@0@.\r\n");
    const std::vector<std::pair<std::string, std::string>> keys = {
        {"CompileP_Grammar", "yes"}, {"POSs", dir_.File("POSs.txt")}, {"SubCats", dir_.File("SubCats.txt")},
        {"FSAttrTypeFile", dir_.File("Attr.txt")}, {"SubCatFrameListFileName", dir_.File("Gov.txt")},
        {"Dummy", dir_.File("dummy.txt")}, {"BigramProbabilityTable", dir_.File("none")},
        {"Time", dir_.File("none")}, {"ncfgFileName", dir_.File("g.ncfg")}, {"DumpedEgrammar", dir_.File("g.dmp")},
        {"DumpedEgrammarSymbols", dir_.File("gs.dmp")}, {"ELexiconDumpFileName", dir_.File("l.dmp")},
        {"DummyDump", dir_.File("d.dmp")},
    };
    for (const auto& [key, value] : keys) SetConfigValue(key, value);
    P_FSCompiler::Init();
    grammar_ = std::make_unique<P_Grammar>(dir_.File("rules.txt"), dir_.File("macros.txt"), dir_.File("g.lfg"),
                                           dir_.File("g.cfg"), 1);
    lexicon_ = std::make_unique<CELexicon>(dir_.File("lexicon.txt"), grammar_.get());
    parser_ = std::make_unique<CCfgParser>(lexicon_.get(), grammar_.get(), nullptr);
  }

  void TearDown() override { ClearConfiguration(); }

  CELexicalEntry* Reading(const std::string& tag) {
    const size_t colon = tag.find(':');
    const std::string pos = tag.substr(0, colon);
    const std::string features = colon == std::string::npos ? "" : "^_ALLOWED_CONJ='" + tag.substr(colon + 1) + "'";
    owned_.push_back(lexicon_->MakeEntry(FromUtf8(pos), FromUtf8(features)));
    return owned_.back().get();
  }

  void Build(const std::vector<Word>& words) {
    readings_.clear();
    tokens_.clear();
    for (const Word& word : words) {
      tokenStore_.push_back(std::make_unique<CToken>());
      tokenStore_.back()->Text = FromUtf8(word.text);
      tokens_.push_back(tokenStore_.back().get());
      readings_.emplace_back();
      for (const std::string& tag : word.tags) readings_.back().push_back(Reading(tag));
    }
  }

  std::vector<Tags> TagsOf(const CSentenceReadings& lists) const {
    std::vector<Tags> tags;
    for (const CEntryList& list : lists) {
      tags.emplace_back();
      for (const CELexicalEntry* reading : list) tags.back().push_back(grammar_->GetPOSName(reading->GetPOSId()));
    }
    return tags;
  }

  TempDir dir_;
  MessageRecorder messages_;
  std::unique_ptr<P_Grammar> grammar_;
  std::unique_ptr<CELexicon> lexicon_;
  std::unique_ptr<CCfgParser> parser_;
  std::vector<std::unique_ptr<CELexicalEntry>> owned_;
  std::vector<std::unique_ptr<CToken>> tokenStore_;
  CSentenceReadings readings_;
  CSentenceTokens tokens_;
};

struct FilterCase {
  const char* name;
  std::vector<Word> words;
  std::vector<Tags> expected;
};

TEST_F(CfgReadingFilters, ConjunctionAndComparisonReadings) {
  const std::vector<FilterCase> cases = {
      {"correlative with its partner later on",
       {{"either", {"adv", "correlative:or"}}, {"tea", {"n"}}, {"or", {"n", "coord_conj", "sub_conj"}}},
       {{"correlative"}, {"n"}, {"coord_conj"}}},
      {"correlative without its partner is dropped",
       {{"either", {"correlative:or", "adv"}}, {"tea", {"n"}}},
       {{"adv"}, {"n"}}},
      {"mult before 'the'", {{"all", {"adj", "mult"}}, {"the", {"det"}}}, {{"mult"}, {"det"}}},
      {"mult before a possessive", {{"all", {"adj", "mult"}}, {"his", {"gen_pro"}}}, {{"mult"}, {"gen_pro"}}},
      {"mult elsewhere is dropped", {{"all", {"mult", "adj"}}, {"tea", {"n"}}}, {{"adj"}, {"n"}}},
      {"mult at the end is dropped", {{"all", {"mult", "adj"}}}, {{"adj"}}},
      {"gm first is dropped", {{"x", {"gm", "n"}}, {"y", {"n"}}}, {{"n"}, {"n"}}},
      {"gm after an adjective is dropped", {{"x", {"adj"}}, {"y", {"gm", "n"}}}, {{"adj"}, {"n"}}},
      {"gm after a noun stays", {{"x", {"n"}}, {"y", {"gm", "n"}}}, {{"n"}, {"gm", "n"}}},
      {"as ADJ as",
       {{"as", {"p", "adv"}}, {"tall", {"n", "adj"}}, {"as", {"p", "comp_conj"}}},
       {{"adv"}, {"adj"}, {"comp_conj"}}},
      {"as ... as without an adjective", {{"as", {"p", "adv"}}, {"x", {"n"}}, {"as", {"p"}}},
       {{"p", "adv"}, {"n"}, {"p"}}},
      {"a single reading is never examined", {{"as", {"adv"}}, {"tall", {"n", "adj"}}, {"as", {"p", "comp_conj"}}},
       {{"adv"}, {"n", "adj"}, {"p", "comp_conj"}}},
  };
  for (const FilterCase& c : cases) {
    SCOPED_TRACE(c.name);
    Build(c.words);
    parser_->FilterConjunctionReadings(readings_, tokens_);
    EXPECT_EQ(TagsOf(readings_), c.expected);
  }
}

struct TaggedCase {
  const char* name;
  std::vector<Word> full;
  Tags chosen;  // the tagger's reading per word
  std::vector<Tags> expected;
};

TEST_F(CfgReadingFilters, AuxiliaryAndParticleReadingsAfterTagging) {
  const std::vector<TaggedCase> cases = {
      {"aux before two non-verbs becomes the verb",
       {{"he", {"n"}}, {"has", {"aux", "v"}}, {"a", {"det"}}, {"book", {"n"}}},
       {"n", "aux", "det", "n"},
       {{"n"}, {"v"}, {"det"}, {"n"}}},
      {"aux before the last word, a noun", {{"he", {"n"}}, {"has", {"aux", "v"}}, {"books", {"n"}}}, {"n", "aux", "n"},
       {{"n"}, {"v"}, {"n"}}},
      {"aux before a verb stays", {{"he", {"n"}}, {"has", {"aux", "v"}}, {"gone", {"v"}}}, {"n", "aux", "v"},
       {{"n"}, {"aux"}, {"v"}}},
      {"aux first stays", {{"has", {"aux", "v"}}, {"he", {"n"}}, {"books", {"n"}}}, {"aux", "n", "n"},
       {{"aux"}, {"n"}, {"n"}}},
      {"aux without a verb reading stays", {{"he", {"n"}}, {"is", {"aux"}}, {"here", {"adv"}}}, {"n", "aux", "adv"},
       {{"n"}, {"aux"}, {"adv"}}},
      {"preposition gains its particle readings", {{"look", {"v"}}, {"up", {"p", "part", "adv"}}}, {"v", "p"},
       {{"v"}, {"p", "part"}}},
  };
  for (const TaggedCase& c : cases) {
    SCOPED_TRACE(c.name);
    Build(c.full);
    CSentenceReadings tagged;
    for (size_t i = 0; i < readings_.size(); ++i) {
      tagged.emplace_back();
      for (CELexicalEntry* reading : readings_[i]) {
        if (grammar_->GetPOSName(reading->GetPOSId()) == c.chosen[i]) {
          tagged.back().push_back(reading);
          break;
        }
      }
    }
    parser_->FilterAuxParticleReadings(tagged, readings_);
    EXPECT_EQ(TagsOf(tagged), c.expected);
  }
}

// The limit of the "Time" file; without a usable number, the default and
// one trace-log line.
TEST_F(CfgReadingFilters, TimeLimitComesFromTheTimeFile) {
  EXPECT_EQ(parser_->GetTimeLimit(), kDefaultParseTimeLimit) << "the file is missing";
  const std::vector<std::pair<std::string, int32_t>> cases = {
      {" \n250\n", 250}, {"0", 0}, {"soon", kDefaultParseTimeLimit}, {"-5", kDefaultParseTimeLimit}, {"", kDefaultParseTimeLimit}};
  SetConfigValue("Time", dir_.File("Time.txt"));
  for (const auto& [text, limit] : cases) {
    SCOPED_TRACE(text);
    WriteBytes(dir_.File("Time.txt"), std::vector<unsigned char>(text.begin(), text.end()));
    const uint64_t lines = TraceLogLineCount();
    EXPECT_EQ(CCfgParser(lexicon_.get(), grammar_.get(), nullptr).GetTimeLimit(), limit);
    EXPECT_EQ(ParseTimeLimit, limit);
    EXPECT_EQ(TraceLogLineCount() - lines, limit == kDefaultParseTimeLimit ? 1u : 0u);
  }
}

}  // namespace

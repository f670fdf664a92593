// The CFG parser: chart records on hand-made productions, then the toy
// grammar of tests/data/cfg: the reading filters, look-ahead, time-outs
// anywhere in a parse, the reading numbers, and the C-structure file of
// empty and highly ambiguous charts.
#include <cstdint>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <tuple>

#include "analysis/analysis_test_support.h"
#include "analysis/cfg/cfg_engine_fixture.h"
#include "analysis/cfg/cfg_utilities.h"
#include "constraints/p_symbol_table.h"
#include "core/parse_clock.h"
#include "core/trace_log.h"

namespace {

class CfgChart : public ::testing::Test {
 protected:
  void TearDown() override {
    FreeAllEarleyItems();
    FreeAllChartColumns();
  }
  CCfgChartItem* Advanced(uint16_t origin, CELexicalEntry* reading) {
    auto* item = new CCfgChartItem(origin, &np_);
    item->AdvanceDot({nullptr, reading});
    return item;
  }
  CCompiledProduction np_ = [] {  // NP(10) -> det(1) n(2)
    CCompiledProduction production;
    production.lhs = 10;
    production.rhs.resize(2);
    for (uint16_t i = 0; i < 2; ++i) production.rhs[i] = {static_cast<uint16_t>(i + 1), 1, {}};
    return production;
  }();
  CELexicalEntry det_{1, {}, uint16_t{0}, 1.0f};
  CELexicalEntry noun_{2, {}, uint16_t{0}, 1.0f};
};

TEST_F(CfgChart, DuplicatesMergeTheirChildListsIntoTheFirstItem) {
  CCfgChartColumn column(nullptr);
  CCfgChartItem* first = Advanced(0, &det_);
  ASSERT_EQ(column.AddItem(first), first);
  const std::tuple<CCfgChartItem*, bool, const char*> cases[] = {
      {Advanced(0, &noun_), false, "same production, dot and origin: merged"},
      {Advanced(1, &det_), true, "origin"},
      {new CCfgChartItem(0, &np_), true, "dot 0"},
      {new CCfgChartItem(0, &np_), false, "dot 0 again: dropped"},
  };
  for (const auto& [item, added, name] : cases) {
    const size_t before = column.GetItemCount();
    EXPECT_EQ(column.AddItem(item) == item, added) << name;
    EXPECT_EQ(column.GetItemCount(), before + (added ? 1 : 0)) << name;
  }
  ASSERT_EQ(first->GetChildAlternatives().size(), 2u);
  EXPECT_EQ(first->GetChildAlternatives()[1]->front().reading, &noun_);
  EXPECT_THROW(column.GetItem(3), const char*);
  EXPECT_THROW(column.GetItem(-1), const char*);
}

TEST_F(CfgChart, BulkFreeEmptiesBothRegistriesAndAnItemFreedAloneLeavesIt) {
  delete new CCfgChartItem(0, &np_);
  auto* item = new CCfgChartItem(0, &np_);
  item->CloneAdvanced()->AdvanceDot({nullptr, &det_});
  EXPECT_EQ(item->GetChildAlternatives()[0]->size(), 0u) << "the clone's lists are its own";
  new CCfgChartColumn(nullptr);
  EXPECT_EQ(RegisteredEarleyItemCount(), 2u);
  EXPECT_EQ(RegisteredChartColumnCount(), 1u);
  FreeAllEarleyItems();
  FreeAllChartColumns();
  EXPECT_EQ(RegisteredEarleyItemCount(), 0u);
  EXPECT_EQ(RegisteredChartColumnCount(), 0u);
}

TEST(CfgChoiceContexts, AlternativesExcludeEachOtherAndShiftWithinTheLimit) {
  std::vector<ContextList> contexts = MakeChoiceContexts(3);
  EXPECT_EQ(contexts, (std::vector<ContextList>{{-1, -2}, {1, -2}, {2}}));
  EXPECT_EQ(ShiftChoiceContexts(contexts, 4), 6);
  EXPECT_EQ(ShiftChoiceContexts(contexts, kMaxChoiceNumber - 5), -1) << "a choice past the last bit is refused";
  EXPECT_EQ(contexts, (std::vector<ContextList>{{-5, -6}, {5, -6}, {6}})) << "and nothing changes";
  // Past a signed byte the literals keep their signs and values.
  EXPECT_EQ(ShiftChoiceContexts(contexts, 125), 131);
  EXPECT_EQ(contexts, (std::vector<ContextList>{{-130, -131}, {130, -131}, {131}}));
}

// A child shared by alternatives stands under one context only when that
// context holds exactly in the readings of those alternatives.
TEST(CfgChoiceContexts, SharedChildrenMergeOnlyIntoExactContexts) {
  const std::vector<ContextList> four = MakeChoiceContexts(4);  // {-1,-2,-3} {1,-2,-3} {2,-3} {3}
  const std::tuple<const char*, ContextList, ContextList, std::optional<ContextList>> cases[] = {
      {"alternatives 0 and 1", four[0], four[1], ContextList{-3, -2}},
      {"then alternative 2", {-3, -2}, four[2], ContextList{-3}},
      {"then alternative 3: always", {-3}, four[3], ContextList{0}},
      {"alternatives 1 and 2 are no conjunction", four[1], four[2], std::nullopt},
      {"alternatives 1 and 3 neither", four[1], four[3], std::nullopt},
      {"a context inside another gives the wider", {2}, {2, -3}, ContextList{2}},
      {"the same context", {1, -2}, {-2, 1}, ContextList{-2, 1}},
      {"two choices differ", {1, 2}, {-1, -2}, std::nullopt},
  };
  for (const auto& [what, a, b, merged] : cases) {
    std::optional<ContextList> result = MergeAlternativeContexts(a, b);
    if (result) result->sort();
    std::optional<ContextList> expected = merged;
    if (expected) expected->sort();
    EXPECT_EQ(result, expected) << what;
  }
}

class CfgToyParse : public cfg_test::CfgEngine {
 protected:
  void SetUp() override {  // the rules, macros and lexicons are read as UTF-16
    const std::string data = cfg_test::SourceDir() + "/tests/data/cfg/";
    CopyAsUtf16(data, {"GovernableFunctions.txt", "dummy.txt", "rules.txt", "macros.txt", "lexicon.txt"});
    BuildToyEngine(data);
  }

  // Words looked up as the parser does; "word/tag,tag" takes the readings
  // of the tags instead.
  void Sentence(const std::string& text) {
    readings_.clear();
    tokens_.clear();
    owned_.clear();
    std::istringstream words(text);
    for (std::string item; words >> item;) {
      const size_t slash = item.find('/');
      owned_.push_back(std::make_unique<CToken>());
      owned_.back()->Text = FromUtf8(item.substr(0, slash));
      tokens_.push_back(owned_.back().get());
      if (slash == std::string::npos) {
        readings_.push_back(parser_->LookUpWord(owned_.back()->Text));
        continue;
      }
      readings_.emplace_back();
      std::istringstream tags(item.substr(slash + 1));
      for (std::string tag; std::getline(tags, tag, ',');) {
        const size_t colon = tag.find(':');
        const std::string features = colon == std::string::npos ? "" : "^_ALLOWED_CONJ='" + tag.substr(colon + 1) + "'";
        entries_.push_back(lexicon_->MakeEntry(FromUtf8(tag.substr(0, colon)), FromUtf8(features)));
        readings_.back().push_back(entries_.back().get());
      }
    }
  }
  bool Parse(const std::string& text) {
    Sentence(text);
    return parser_->ParseTokens(readings_, tokens_);
  }
  std::string TagsOf(const CSentenceReadings& lists) const {
    std::string text;
    for (const CEntryList& list : lists) {
      text += text.empty() ? "" : " ";
      for (size_t i = 0; i < list.size(); ++i) text += (i ? "," : "") + grammar_->GetPOSName(list[i]->GetPOSId());
    }
    return text;
  }
  // " category/length " of every item in a column.
  std::string Items(size_t column) const {
    std::string names = " ";
    for (int i = 0; i < static_cast<int>(parser_->GetColumns().at(column)->GetItemCount()); ++i) {
      const CCompiledProduction* p = parser_->GetColumns().at(column)->GetItem(i)->GetProduction();
      names += grammar_->GetCategoryName(p->lhs) + "/" + std::to_string(p->rhs.size()) + " ";
    }
    return names;
  }
  std::string Xml(const std::string& name) {  // the C-structure file of the chart
    parser_->WriteCStructuresXml(dir_.File(name));
    lfg_test::ExpectWellFormedXml(dir_.File(name));
    return ToUtf8(lfg_test::ReadUtf16(dir_.File(name)));
  }

  std::vector<std::unique_ptr<CToken>> owned_;
  std::vector<std::unique_ptr<CELexicalEntry>> entries_;
};

TEST_F(CfgToyParse, ReadingFiltersNarrowTheReadings) {
  const std::pair<const char*, const char*> conjunctions[] = {
      // "correlative:or" names the partner word
      {"either/adv,correlative:or tea/n or/n,coord_conj,sub_conj", "correlative n coord_conj"},
      {"either/correlative:or,adv tea/n", "adv n"},
      {"all/adj,mult the/det", "mult det"},
      {"all/mult,adj tea/n", "adj n"},
      {"x/gm,n y/n", "n n"},
      {"x/n y/gm,n", "n gm,n"},
      {"as/p,adv tall/n,adj as/p,comp_conj", "adv adj comp_conj"},
      {"as/adv tall/n,adj as/p,comp_conj", "adv n,adj p,comp_conj"},  // a single reading is never examined
  };
  for (const auto& [sentence, expected] : conjunctions) {
    Sentence(sentence);
    parser_->FilterConjunctionReadings(readings_, tokens_);
    EXPECT_EQ(TagsOf(readings_), expected) << sentence;
  }
  // After tagging; the tagger chose the first reading of every word.
  const std::pair<const char*, const char*> auxiliaries[] = {{"he/n has/aux,v a/det book/n", "n v det n"},
                                                             {"he/n has/aux,v gone/v", "n aux v"},
                                                             {"has/aux,v he/n books/n", "aux n n"},
                                                             {"look/v up/p,part,adv", "v p,part"}};
  for (const auto& [sentence, expected] : auxiliaries) {
    Sentence(sentence);
    CSentenceReadings tagged;
    for (const CEntryList& list : readings_) tagged.push_back({list.front()});
    parser_->FilterAuxParticleReadings(tagged, readings_);
    EXPECT_EQ(TagsOf(tagged), expected) << sentence;
  }
}

// Without a usable number: the default limit and one trace-log line.
TEST_F(CfgToyParse, TimeLimitComesFromTheTimeFile) {
  SetConfigValue("Time", dir_.File("Time.txt"));
  for (const auto& [text, limit] : {std::pair{" \n250\n", 250}, {"0", 0}, {"soon", -1}, {"-5", -1}}) {
    WriteBytes(dir_.File("Time.txt"), std::vector<unsigned char>(text, text + strlen(text)));
    const uint64_t lines = TraceLogLineCount();
    const int32_t expected = limit < 0 ? kDefaultParseTimeLimit : limit;
    EXPECT_EQ(CCfgParser(lexicon_.get(), grammar_.get(), nullptr).GetTimeLimit(), expected) << text;
    EXPECT_EQ(TraceLogLineCount() - lines, limit < 0 ? 1u : 0u) << text;
  }
}

// Column 0 predicts only the noun phrase that fits the first word.
TEST_F(CfgToyParse, PredictionFollowsTheWordsPartsOfSpeech) {
  for (const auto& [sentence, predicted, filtered] :
       {std::tuple{"the man saw the dog", "NP/2", "NP/1"}, std::tuple{"man saw dog", "NP/1", "NP/2"}}) {
    ASSERT_TRUE(Parse(sentence));
    EXPECT_NE(Items(0).find(std::string(" ") + predicted + " "), std::string::npos) << Items(0);
    EXPECT_EQ(Items(0).find(std::string(" ") + filtered + " "), std::string::npos) << Items(0);
  }
}

// A clock that jumps far ahead after some readings runs the parse out of
// time in the chart, the F-structures or the solver: no analysis, and
// neither the lexicon nor the readings keep a reading number.
TEST_F(CfgToyParse, ATimeOutAnywhereFailsTheParseAndRestoresTheWords) {
  const std::string sentence = "the man saw the dog with the saw";
  auto dog = lexicon_->GetEntries(u"dog");
  const uint16_t dogSymbol = dog->front()->GetPartSymbol();
  int64_t calls = 0, jumpAfter = INT64_MAX;
  SetClockSourceForTesting([&] { return ++calls > jumpAfter ? int64_t{1} << 50 : int64_t{0}; });
  ASSERT_TRUE(Parse(sentence));
  const int64_t total = calls;
  for (int64_t jump : {int64_t{1}, total / 2, total - 1}) {
    calls = 0;
    jumpAfter = jump;
    EXPECT_FALSE(Parse(sentence)) << "clock jumps after " << jump << " of " << total;
    EXPECT_EQ(parser_->GetParseResult(), nullptr);
    EXPECT_EQ(dog->front()->GetPartSymbol(), dogSymbol);
    EXPECT_EQ(dog->front()->cachedFStructure, nullptr);
    for (const CEntryList& list : readings_) {
      for (const CELexicalEntry* reading : list) EXPECT_LT(reading->GetPartSymbol(), kReadingNumberBase);
    }
  }
  jumpAfter = INT64_MAX;
  EXPECT_TRUE(Parse(sentence)) << "a fresh budget for the next sentence";
  for (const auto& [words, parses] : {std::pair{"the man saw the dog", true}, std::pair{"man man man", false}}) {
    EXPECT_EQ(Parse(words), parses);
    for (const CCfgChartColumn* column : parser_->GetColumns()) {
      if (column->GetReadings() == nullptr) continue;
      for (const CELexicalEntry* r : *column->GetReadings()) EXPECT_LT(r->GetPartSymbol(), kReadingNumberBase);
    }
  }
}

// A PRED value is a reading's number or a quoted word of the constraint
// system's symbols; the two never share a value, however many readings.
TEST_F(CfgToyParse, ReadingNumbersAreNeverMistakenForSymbols) {
  std::string sentence;
  for (int i = 0; i < 600; ++i) sentence += "man ";
  EXPECT_FALSE(Parse(sentence));
  ASSERT_GT(parser_->GetReadingSymbols().size(), 550u);
  const std::pair<uint16_t, std::u16string> cases[] = {{P_SymbolTable::Intern("'pro'"), u"pro"},
                                                       {kReadingNumberBase + 1, u"man"}};
  for (const auto& [value, word] : cases) {
    auto* fs = new P_FStructure();  // freed by the per-sentence reset
    fs->AddItem(new P_FSItemSimple(SymbolTablePredId, value));
    const CFSNode* node = parser_->ConvertFStructureNode(fs, nullptr);
    EXPECT_EQ(node->FindAttribute(PredId)->FindAttribute(ValueId)->Value, std::vector{GetSymbolId(word, true)});
  }
  sentence.clear();
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
  EXPECT_EQ(Xml("CStructures.xml"), "<C-Structures></C-Structures>");
}

// Shared items under many parents would make the file grow exponentially;
// the writer stops opening elements at its cap.
TEST_F(CfgToyParse, SharedItemsCannotMakeTheCStructureFileExplode) {
  auto count = [](const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
  };
  ASSERT_TRUE(Parse("the man saw the dog with the saw"));
  const std::string two = Xml("two.xml");
  EXPECT_EQ(count(two, "<C-Structure-"), 1u);
  EXPECT_GE(count(two, "<Alternative-"), 2u) << two;
  std::string sentence = "the man saw the dog";
  for (int i = 0; i < 12; ++i) sentence += " in the park";
  EXPECT_FALSE(Parse(sentence)) << "more choices than a context can number";
  ASSERT_EQ(messages_.messages().size(), 1u);
  EXPECT_EQ(messages_.messages()[0].text, u"The sentence has too many alternative analyses to be solved.");
  const std::string many = Xml("many.xml");
  EXPECT_LE(count(many, "</"), kMaxCStructureXmlElements + 1) << "the elements and the document";
  EXPECT_GT(count(many, "</"), kMaxCStructureXmlElements / 2) << "the cap was reached";
}

}  // namespace

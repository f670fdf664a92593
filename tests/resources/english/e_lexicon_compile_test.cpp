// The CFG parser's lexicon: cutting raw entries, compiling groups of
// entries, frames, errors, default readings, and the dumps read back whole.
#include "resources/english/p_grammar_test_fixture.h"

#include <bit>
#include <functional>

#include "constraints/fsitem_lookup_table.h"
#include "constraints/p_symbol_table.h"
#include "constraints/solver_hooks.h"
#include "resources/english/e_lexicon.h"

namespace {

TEST(ELexiconParse, EntryTextsAreCutIntoTheirParts) {
  // Entry text; word, PRED, part of speech, frame, features and weight.
  using Names = std::vector<std::string>;
  const std::tuple<std::u16string, std::u16string, std::u16string, std::string, Names, std::string, float> cases[] = {
      {u"book: n, ^PRED='book', ^NUM=sg", u"book", u"book", "n", {}, "^NUM=sg", 1.0f},
      // The frame suffix: blanks around its names go.
      {u"gave : v ,  ^PRED='give< SUBJ ,OBJ,OBJ2 >' , ^TENSE=past",
       u"gave",
       u"give",
       "v",
       {"SUBJ", "OBJ", "OBJ2"},
       "^TENSE=past",
       1.0f},
      {u"the: det, ^SPEC=def @-0.5@", u"the", u"", "det", {}, "^SPEC=def", -0.5f},
      {u"@2@ran: v, ^PRED='run<SUBJ>', ^TENSE=past", u"ran", u"run", "v", {"SUBJ"}, "^TENSE=past", 2.0f},
      // A closing quote at the very end: no features, nothing read past it.
      {u"sleep: v, ^PRED='sleep<SUBJ>'", u"sleep", u"sleep", "v", {"SUBJ"}, "", 1.0f},
      // A part of speech without ',' has no features.
      {u"and: conj", u"and", u"", "conj", {}, "", 1.0f},
      // Text after the '<' ... '>' group still belongs to the predicate.
      {u"x: v, ^PRED='a<SUBJ>b', ^F=1", u"x", u"ab", "v", {"SUBJ"}, "^F=1", 1.0f},
      // "^PRE" is no predicate: the features begin at once.
      {u"x: n, ^PRE=1", u"x", u"", "n", {}, "^PRE=1", 1.0f},
  };
  for (const auto& [text, word, pred, pos, subcat, features, weight] : cases) {
    SCOPED_TRACE(ToUtf8(text));
    CERawEntry entry;
    std::string why;
    ASSERT_TRUE(CELexicon::ParseEntry(text, entry, why)) << why;
    EXPECT_EQ(std::tie(entry.word, entry.pred, entry.pos, entry.subcat, entry.features),
              std::tie(word, pred, pos, subcat, features));
    EXPECT_FLOAT_EQ(entry.weight, weight);
  }
  // No colon; no closing quote; no closing '>'; no opening quote; no ','
  // after the predicate; an unclosed weight; no word; a quote at the very end.
  for (const std::u16string text :
       {u"no colon here", u"x: v, ^PRED='run<SUBJ>", u"x: v, ^PRED='run<SUBJ'", u"x: v, ^PRED=run",
        u"x: v, ^PRED='run' ^TENSE=past", u"x: n, ^NUM=sg @1", u": n, ^NUM=sg", u"x: v, ^PRED='"}) {
    CERawEntry entry;
    std::string why;
    EXPECT_FALSE(CELexicon::ParseEntry(text, entry, why)) << ToUtf8(text);
    EXPECT_FALSE(why.empty()) << ToUtf8(text);
  }
}

TEST(ELexiconParse, EntryTextsEndAtFullStopsAndLinesDropUnfinishedText) {
  TempDir dir;
  WriteUtf16File(dir.File("lex.txt"),
                 u"a: det, ^X=1.\r\n/ a comment. with a full stop\r\nbroken: n,\r\n ^NUM=sg.\r\n"
                 u"w: n, ^NUM=sg @0.5@ .\r\nb: n. c: n.\r\nd: n, ^X=1 / comment.\r\nunfinished: n");
  CFileReader reader(dir.File("lex.txt"), 1024);
  std::vector<std::u16string> texts;
  for (std::u16string text; CELexicon::ReadEntryText(reader, text);) texts.push_back(text);
  EXPECT_EQ(texts,
            (std::vector<std::u16string>{u"a: det, ^X=1", u" ^NUM=sg", u"w: n, ^NUM=sg @0.5@ ", u"b: n", u" c: n"}));
}

TEST(ELexiconParse, DefaultEntriesKeepTheLastWeight) {
  // Without a weight the last one holds on.
  const std::tuple<std::u16string, std::string, std::string, float> cases[] = {
      {u"n:^NUM=sg@-1@", "n", "^NUM=sg", -1.0f},
      {u"adj:", "adj", "", -1.0f},
      {u"v:^X=1@2@", "v", "^X=1", 2.0f},
      {u"pn", "pn", "", 2.0f}};
  float weight = 1.0f;
  for (const auto& [text, pos, features, expected] : cases) {
    std::string readPos, readFeatures;
    CELexicon::ParseDefaultEntry(text, readPos, readFeatures, weight);
    EXPECT_EQ(std::tie(readPos, readFeatures), std::tie(pos, features)) << ToUtf8(text);
    EXPECT_FLOAT_EQ(weight, expected) << ToUtf8(text);
  }
}

class ELexiconTest : public CompiledGrammarTest {
 protected:
  void SetUp() override {
    CompiledGrammarTest::SetUp();
    WriteUtf16File(File("Dummy"), u"/ defaults\r\nn:^NUM=sg@-1@.\r\nv:@-2@.\r\n");
  }

  // Compiles a small grammar and the lexicon text.
  void Compile(const std::u16string& lexicon) {
    grammar_ = CompileGrammar(u"S' -> NP: ^SUBJ=!; v: ^=!; . NP -> n: ^=!; . NP -> pron: ^=!; .");
    ASSERT_FALSE(grammar_->HasFailed()) << grammar_->FailureText();
    WriteUtf16File(File("lexicon.txt"), lexicon);
    lexicon_ = std::make_unique<CELexicon>(File("lexicon.txt"), grammar_.get());
  }

  void Restart() {
    RestartFromDumps();
    reloadedGrammar_ = std::make_unique<P_Grammar>("", "", "", "", 1);
    ASSERT_FALSE(reloadedGrammar_->HasFailed()) << reloadedGrammar_->FailureText();
    Reload();
  }
  void Reload() { reloaded_ = std::make_unique<CELexicon>(File("lexicon.txt"), reloadedGrammar_.get()); }

  // Every reading, default ones last, as word, POS, items, weight, choices and PRED.
  static std::vector<std::string> Readings(const CELexicon& lexicon) {
    std::vector<std::string> readings;
    auto add = [&](const std::u16string& word, const CELexicalEntry* e) {
      std::string text = ToUtf8(word) + " " + std::to_string(e->posId) + " " +
                         std::to_string(std::bit_cast<uint32_t>(e->weight)) + " " + std::to_string(e->choiceCount) +
                         " " + (e->part && e->part->symbol ? ToUtf8(GetSymbolName(e->part->symbol)) : "") + ":";
      for (uint16_t item : e->itemIds) text += " " + std::to_string(item);
      readings.push_back(text);
    };
    for (const auto& [word, e] : lexicon.WordIndex()) add(word, e);
    for (const CELexicalEntry* e : lexicon.DefaultEntries()) add(u"", e);
    return readings;
  }

  static std::u16string ManyEntries(int count) {
    std::u16string text;
    for (int i = 0; i < count; ++i) {
      const std::u16string n = NarrowToWide(std::to_string(i));
      text += u"w" + n + u": n, ^PRED='lemma" + n + u"', ^NUM=sg @-0.25@.\r\n";
      if (i % 3 == 0) text += u"w" + n + u": n, ^NUM=pl.\r\n";
      if (i % 7 == 0) text += u"w" + n + u": v, ^PRED='do<SUBJ,OBJ>', ^TENSE=past.\r\n";
    }
    return text;
  }

  std::unique_ptr<P_Grammar> grammar_, reloadedGrammar_;
  std::unique_ptr<CELexicon> lexicon_, reloaded_;
};

TEST_F(ELexiconTest, EntriesOfOneWordAndPartOfSpeechMakeOneReading) {
  Compile(
      u"read: v, ^PRED='read<SUBJ,OBJ>', ^VFORM=base.\r\nread: v, ^PRED='read<SUBJ,OBJ>', ^TENSE=past.\r\n"
      u"read: n, ^PRED='read', ^NUM=sg.\r\nbook: n, ^PRED='book', ^NUM=sg.\r\nread: n, ^NUM=pl.\r\n");
  ASSERT_FALSE(lexicon_->HasFailed()) << lexicon_->FailureText();
  std::unique_ptr<CEntryList> read = lexicon_->GetEntries(u"read");
  ASSERT_EQ(read->size(), 3u);
  // The two verb entries are one reading with alternatives.
  EXPECT_EQ(grammar_->GetPOSName((*read)[0]->posId), "v");
  EXPECT_GE((*read)[0]->choiceCount, 1);
  EXPECT_EQ(GetSymbolName((*read)[0]->GetPartSymbol()), u"read");
  // The same word and POS after another word starts a new reading.
  EXPECT_EQ(grammar_->GetPOSName((*read)[1]->posId), "n");
  EXPECT_EQ(grammar_->GetPOSName((*read)[2]->posId), "n");
  EXPECT_EQ((*read)[2]->GetPartSymbol(), 0);
  EXPECT_EQ((*read)[1]->choiceCount, 0);
  EXPECT_TRUE(lexicon_->GetEntries(u"Read")->empty());
  EXPECT_TRUE(lexicon_->GetEntries(u"missing")->empty());
}

TEST_F(ELexiconTest, FrameListsNameTheirFrameNumberReadFromTheFramesFile) {
  Compile(u"gave: v, ^PRED='give<SUBJ,OBJ,OBJ2>'.\r\nslept: v, ^PRED='sleep<SUBJ>', ^TENSE=past.\r\n");
  ASSERT_FALSE(lexicon_->HasFailed()) << lexicon_->FailureText();
  // The frame's GF item: frame 2 for SUBJ OBJ OBJ2, frame 0 for SUBJ.
  ASSERT_EQ(SubcatFrameIds.size(), 3u);
  EXPECT_EQ(GetSubcatFrame(2), (std::vector<uint16_t>{P_SymbolTable::Intern("SUBJ"), P_SymbolTable::Intern("OBJ"),
                                                      P_SymbolTable::Intern("OBJ2")}));
  int8_t choices = 0;
  EXPECT_EQ(lexicon_->GetEntries(u"gave")->front()->itemIds, P_FSCompiler::CompileDescription("^GF=2", choices));
  const uint16_t frame0 = P_FSCompiler::CompileDescription("^GF=0", choices)[0];
  const auto& slept = lexicon_->GetEntries(u"slept")->front()->itemIds;
  EXPECT_NE(std::find(slept.begin(), slept.end(), frame0), slept.end());
  // The solver reaches the same frames through its hook.
  EXPECT_EQ(LookUpSubcatFrame(1), GetSubcatFrame(1));
  EXPECT_FALSE(LookUpSubcatFrame(3).has_value());
  EXPECT_TRUE(GetSubcatFrameRef(-1).empty());
  MessageRecorder messages;
  EXPECT_EQ(GetSubcatFrameIndex({P_SymbolTable::Intern("XCOMP")}), -1);
  ASSERT_EQ(messages.messages().size(), 1u);
  EXPECT_EQ(messages.messages()[0].caption, u"RUN TIme Error In: --> GetSubcatFrameIndex() ");
  // Frame files are read line by line, cut at tabs. Blanks around a line go,
  // fields keep their inner text, and a final line
  // break gives one more frame, the empty name alone.
  WriteNarrowFile(File("frames.txt"), "  SUBJ\tOBJ2  \nSUBJ\r\nSUBJ\tOBJ\r\n");
  ASSERT_TRUE(LoadSubcatFrames(File("frames.txt")));
  EXPECT_EQ(SubcatFrameNames,
            (std::vector<std::vector<std::string>>{{"SUBJ", "OBJ2"}, {"SUBJ"}, {"SUBJ", "OBJ"}, {""}}));
  ASSERT_EQ(SubcatFrameIds.size(), 4u);
  EXPECT_EQ(SubcatFrameIds[0][1], P_SymbolTable::Intern("OBJ2"));
  EXPECT_FALSE(LoadSubcatFrames(File("missing.txt")));
}

TEST_F(ELexiconTest, WrongEntriesStopTheCompileWithFileAndEntry) {
  const std::tuple<std::u16string, std::u16string, std::string, std::u16string> cases[] = {
      {u"ok: n, ^NUM=sg.\r\nx: verb, ^NUM=sg.", u"Wrong POS", "Wrong POS Exception...", u"Wrong POSverb\n"},
      {u"x: v, ^PRED='x<OBJ,SUBJ>'.", u"Wrong SubCats", "SubCats Error", u"Wrong SubCats: <OBJ,SUBJ>\n"},
      {u"x: v, ^PRED='x<SUBJ>.", u"Lexicon Compiler", "Entry Error", u""},
  };
  for (const auto& [text, caption, error, message] : cases) {
    SCOPED_TRACE(ToUtf8(text));
    MessageRecorder messages;
    Compile(text);
    EXPECT_TRUE(lexicon_->HasFailed());
    EXPECT_EQ(lexicon_->FailureText().rfind(error, 0), 0u) << lexicon_->FailureText();
    EXPECT_NE(lexicon_->FailureText().find("lexicon.txt"), std::string::npos);
    EXPECT_TRUE(lexicon_->WordIndex().empty());
    ASSERT_FALSE(messages.messages().empty());
    EXPECT_EQ(messages.messages().back().caption, caption);
    EXPECT_EQ(messages.messages().back().text.rfind(message, 0), 0u);
  }
}

TEST_F(ELexiconTest, FullTablesFailTheCompileWithAMessage) {
  const std::function<void()> fills[] = {
      [] { fsitem_lookup_table.count = FSItemLookupTable::kCapacity; },
      [] {
        for (int i = 0; i < 2000; ++i) P_SymbolTable::Intern("filler" + std::to_string(i));
      },
  };
  for (const auto& fill : fills) {
    P_FSCompiler::Init();
    grammar_ = CompileGrammar(u"S' -> NP: ^SUBJ=!; v: ^=!; . NP -> n: ^=!; .");
    ASSERT_FALSE(grammar_->HasFailed());
    {
      MessageRecorder quiet;
      fill();
    }
    MessageRecorder messages;
    WriteUtf16File(File("lexicon.txt"), u"book: n, ^PRED='book', ^NUM=sg, ^NEWATTRIBUTE=newvalue.\r\n");
    lexicon_ = std::make_unique<CELexicon>(File("lexicon.txt"), grammar_.get());
    EXPECT_TRUE(lexicon_->HasFailed());
    EXPECT_FALSE(messages.messages().empty());
  }
}

TEST_F(ELexiconTest, UnknownWordsAndRunTimeEntriesGetTheirReadings) {
  Compile(u"book: n, ^NUM=sg.\r\n");
  ASSERT_FALSE(lexicon_->HasFailed()) << lexicon_->FailureText();
  const auto entries = lexicon_->MakeDefaultEntries(u"walks");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(GetSymbolName(entries[0]->GetPartSymbol()), u"walks_n");
  EXPECT_EQ(GetSymbolName(entries[1]->GetPartSymbol()), u"walks_v");
  EXPECT_FLOAT_EQ(entries[0]->weight, -1.0f);
  EXPECT_FLOAT_EQ(entries[1]->weight, -2.0f);
  // A default verb takes the subject-only frame 0.
  int8_t choices = 0;
  EXPECT_EQ(entries[1]->itemIds, P_FSCompiler::CompileDescription(",^GF=0", choices));
  EXPECT_EQ(lexicon_->DefaultEntries()[0]->GetPartSymbol(), 0xFFFF);
  // An entry made at run time gets its part of speech, new or known.
  auto card = lexicon_->MakeEntry(u"card", u"^NUMBER_VAL=7");
  ASSERT_NE(card, nullptr);
  EXPECT_EQ(grammar_->GetPOSName(card->posId), "card");
  EXPECT_EQ(GetSymbolName(card->GetPartSymbol()), u"EMPTY");
  EXPECT_FLOAT_EQ(card->weight, 1.0f);
  EXPECT_EQ(card->itemIds.size(), 1u);
  EXPECT_EQ(lexicon_->MakeEntry(u"card", u"^NUMBER_VAL=8")->posId, card->posId);
}

TEST_F(ELexiconTest, ALexiconReadBackFromItsDumpsEqualsTheCompiledOne) {
  // The dump is written in blocks of 100 entries.
  for (int count : {5, 99, 100, 260}) {
    SCOPED_TRACE(count);
    Set("CompileP_Grammar", "yes");
    ClearSymbolTable();
    P_FSCompiler::Init();
    Compile(ManyEntries(count));
    ASSERT_FALSE(lexicon_->HasFailed()) << lexicon_->FailureText();
    const std::vector<std::string> before = Readings(*lexicon_);
    ASSERT_GE(before.size(), static_cast<size_t>(count));
    Restart();
    ASSERT_FALSE(reloaded_->HasFailed()) << reloaded_->FailureText();
    EXPECT_EQ(Readings(*reloaded_), before);
    // Predicates carry the ids their names have in this run.
    EXPECT_EQ(reloaded_->GetEntries(u"w1")->front()->GetPartSymbol(), GetSymbolId(u"lemma1", false));
  }
}

TEST_F(ELexiconTest, ALexiconDumpOfAnotherCompileIsRefused) {
  Compile(ManyEntries(10));
  ASSERT_FALSE(lexicon_->HasFailed());
  const std::vector<unsigned char> oldLexicon = ReadBytes(File("ELexiconDumpFileName"));
  const std::vector<unsigned char> oldDummy = ReadBytes(File("DummyDump"));
  Compile(ManyEntries(10));
  ASSERT_FALSE(lexicon_->HasFailed());
  const std::vector<unsigned char> goodLexicon = ReadBytes(File("ELexiconDumpFileName"));
  const std::vector<unsigned char> goodDummy = ReadBytes(File("DummyDump"));
  std::vector<unsigned char> cut = goodLexicon;
  cut.resize(cut.size() - 40);
  Restart();
  ASSERT_FALSE(reloaded_->HasFailed()) << reloaded_->FailureText();
  const std::tuple<std::vector<unsigned char>, std::vector<unsigned char>, std::string> cases[] = {
      {oldLexicon, goodDummy, "ELexiconDumpFileName"},
      {goodLexicon, oldDummy, "DummyDump"},
      {cut, goodDummy, "ELexiconDumpFileName"},
  };
  for (const auto& [lexicon, dummy, named] : cases) {
    WriteBytes(File("ELexiconDumpFileName"), lexicon);
    WriteBytes(File("DummyDump"), dummy);
    MessageRecorder messages;
    Reload();
    EXPECT_TRUE(reloaded_->HasFailed()) << named;
    EXPECT_NE(reloaded_->FailureText().find(named), std::string::npos) << reloaded_->FailureText();
  }
}

}  // namespace

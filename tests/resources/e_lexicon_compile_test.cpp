// Compiling the CFG parser's lexicon: groups of entries, frames, errors,
// default readings, and the dumps read back whole.
#include "tests/resources/p_grammar_test_fixture.h"

#include "constraints/fsitem_lookup_table.h"
#include "constraints/p_symbol_table.h"
#include "constraints/solver_hooks.h"
#include "core/string_helpers.h"

#include <functional>
#include "resources/e_lexicon.h"

namespace {

class ELexiconTest : public CompiledGrammarTest {
 protected:
  void SetUp() override {
    CompiledGrammarTest::SetUp();
    WriteUtf16File(File("Dummy.txt"), u"/ defaults\r\nn:^NUM=sg@-1@.\r\nv:@-2@.\r\n");
  }

  // Compiles a small grammar and the lexicon text.
  void Compile(const std::u16string& lexicon) {
    grammar_ = CompileGrammar(u"S' -> NP: ^SUBJ=!; v: ^=!; . NP -> n: ^=!; . NP -> pron: ^=!; .");
    ASSERT_FALSE(grammar_->HasFailed()) << grammar_->FailureText();
    WriteUtf16File(File("lexicon.txt"), lexicon);
    lexicon_ = std::make_unique<CELexicon>(File("lexicon.txt"), grammar_.get());
  }

  std::unique_ptr<P_Grammar> grammar_;
  std::unique_ptr<CELexicon> lexicon_;
};

TEST_F(ELexiconTest, EntriesOfOneWordAndPartOfSpeechMakeOneReading) {
  Compile(
      u"read: v, ^PRED='read<SUBJ,OBJ>', ^VFORM=base.\r\n"
      u"read: v, ^PRED='read<SUBJ,OBJ>', ^TENSE=past.\r\n"
      u"read: n, ^PRED='read', ^NUM=sg.\r\n"
      u"book: n, ^PRED='book', ^NUM=sg.\r\n"
      u"read: n, ^NUM=pl.\r\n");
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

TEST_F(ELexiconTest, FrameListsNameTheirFrameNumber) {
  Compile(u"gave: v, ^PRED='give<SUBJ,OBJ,OBJ2>'.\r\nslept: v, ^PRED='sleep<SUBJ>', ^TENSE=past.\r\n");
  ASSERT_FALSE(lexicon_->HasFailed()) << lexicon_->FailureText();
  // The frame's GF item: frame 2 for SUBJ OBJ OBJ2, frame 0 for SUBJ.
  ASSERT_EQ(SubcatFrameIds.size(), 3u);
  EXPECT_EQ(GetSubcatFrame(2), (std::vector<uint16_t>{P_SymbolTable::Intern("SUBJ"), P_SymbolTable::Intern("OBJ"),
                                                       P_SymbolTable::Intern("OBJ2")}));
  int8_t choices = 0;
  const std::vector<uint16_t> frame2 = P_FSCompiler::CompileDescription("^GF=2", choices);
  const std::vector<uint16_t> frame0 = P_FSCompiler::CompileDescription("^GF=0", choices);
  EXPECT_EQ(lexicon_->GetEntries(u"gave")->front()->itemIds, frame2);
  const auto& slept = lexicon_->GetEntries(u"slept")->front()->itemIds;
  EXPECT_NE(std::find(slept.begin(), slept.end(), frame0[0]), slept.end());
  // The solver reaches the same frames through its hook.
  EXPECT_EQ(LookUpSubcatFrame(1), GetSubcatFrame(1));
  EXPECT_FALSE(LookUpSubcatFrame(3).has_value());
  EXPECT_TRUE(GetSubcatFrameRef(-1).empty());
}

TEST_F(ELexiconTest, FrameFilesAreReadLineByLineAtTabs) {
  using Frames = std::vector<std::vector<std::string>>;
  struct Case {
    std::string text;
    Frames frames;
  };
  const Case cases[] = {
      {"SUBJ\r\nSUBJ\tOBJ", {{"SUBJ"}, {"SUBJ", "OBJ"}}},
      // A final line break gives one more frame, the empty name alone.
      {"SUBJ\r\n", {{"SUBJ"}, {""}}},
      // Blanks around a line go; fields keep their inner text.
      {"  SUBJ\tOBJ2  \nOBJ", {{"SUBJ", "OBJ2"}, {"OBJ"}}},
  };
  for (const Case& c : cases) {
    WriteNarrowFile(File("frames.txt"), c.text);
    ASSERT_TRUE(LoadSubcatFrames(File("frames.txt")));
    EXPECT_EQ(SubcatFrameNames, c.frames) << c.text;
    ASSERT_EQ(SubcatFrameIds.size(), c.frames.size());
    EXPECT_EQ(SubcatFrameIds[0][0], P_SymbolTable::Intern(c.frames[0][0]));
  }
  MessageRecorder messages;
  EXPECT_EQ(GetSubcatFrameIndex({P_SymbolTable::Intern("XCOMP")}), -1);
  ASSERT_EQ(messages.messages().size(), 1u);
  EXPECT_EQ(messages.messages()[0].caption, u"RUN TIme Error In: --> GetSubcatFrameIndex() ");
  EXPECT_FALSE(LoadSubcatFrames(File("missing.txt")));
}

TEST_F(ELexiconTest, WrongEntriesStopTheCompileWithFileAndEntry) {
  struct Case {
    const char* name;
    std::u16string lexicon;
    std::u16string caption;
    std::string error;
  };
  const Case cases[] = {
      {"unknown part of speech", u"ok: n, ^NUM=sg.\r\nx: verb, ^NUM=sg.", u"Wrong POS", "Wrong POS Exception..."},
      {"frame missing from SubCats", u"x: v, ^PRED='x<OBJ,SUBJ>'.", u"Wrong SubCats", "SubCats Error"},
      {"broken entry", u"x: v, ^PRED='x<SUBJ>.", u"Lexicon Compiler", "Entry Error"},
  };
  for (const Case& c : cases) {
    MessageRecorder messages;
    Compile(c.lexicon);
    EXPECT_TRUE(lexicon_->HasFailed()) << c.name;
    EXPECT_EQ(lexicon_->FailureText().rfind(c.error, 0), 0u) << c.name << ": " << lexicon_->FailureText();
    EXPECT_NE(lexicon_->FailureText().find("lexicon.txt"), std::string::npos) << c.name;
    EXPECT_TRUE(lexicon_->WordIndex().empty()) << c.name;
    ASSERT_FALSE(messages.messages().empty()) << c.name;
    EXPECT_EQ(messages.messages().back().caption, c.caption) << c.name;
  }
}

TEST_F(ELexiconTest, WrongMessagesNameThePartOfSpeechAndTheFrame) {
  MessageRecorder messages;
  Compile(u"x: verb, ^NUM=sg.\r\n");
  ASSERT_FALSE(messages.messages().empty());
  EXPECT_EQ(messages.messages().back().text.rfind(u"Wrong POSverb\n", 0), 0u);
  messages.clear();
  Compile(u"x: v, ^PRED='x<OBJ,SUBJ>'.\r\n");
  ASSERT_FALSE(messages.messages().empty());
  EXPECT_EQ(messages.messages().back().text.rfind(u"Wrong SubCats: <OBJ,SUBJ>\n", 0), 0u);
}

TEST_F(ELexiconTest, FullTablesFailTheCompileWithAMessage) {
  struct Case {
    const char* name;
    std::function<void()> fill;
  };
  const Case cases[] = {
      {"item registry", [] { fsitem_lookup_table.count = FSItemLookupTable::kCapacity; }},
      {"symbol table", [] {
         for (int i = 0; i < 2000; ++i) P_SymbolTable::Intern("filler" + std::to_string(i));
       }},
  };
  for (const Case& c : cases) {
    P_FSCompiler::Init();
    grammar_ = CompileGrammar(u"S' -> NP: ^SUBJ=!; v: ^=!; . NP -> n: ^=!; .");
    ASSERT_FALSE(grammar_->HasFailed()) << c.name;
    {
      MessageRecorder quiet;
      c.fill();
    }
    MessageRecorder messages;
    WriteUtf16File(File("lexicon.txt"), u"book: n, ^PRED='book', ^NUM=sg, ^NEWATTRIBUTE=newvalue.\r\n");
    lexicon_ = std::make_unique<CELexicon>(File("lexicon.txt"), grammar_.get());
    EXPECT_TRUE(lexicon_->HasFailed()) << c.name;
    EXPECT_FALSE(messages.messages().empty()) << c.name;
  }
}

TEST_F(ELexiconTest, UnknownWordsGetDefaultReadingsNamedAfterThem) {
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
}

TEST_F(ELexiconTest, EntriesMadeAtRunTimeGetTheirPartOfSpeech) {
  Compile(u"book: n, ^NUM=sg.\r\n");
  ASSERT_FALSE(lexicon_->HasFailed()) << lexicon_->FailureText();
  auto card = lexicon_->MakeEntry(u"card", u"^NUMBER_VAL=7");
  ASSERT_NE(card, nullptr);
  EXPECT_EQ(grammar_->GetPOSName(card->posId), "card");
  EXPECT_EQ(GetSymbolName(card->GetPartSymbol()), u"EMPTY");
  EXPECT_FLOAT_EQ(card->weight, 1.0f);
  EXPECT_EQ(card->itemIds.size(), 1u);
  auto again = lexicon_->MakeEntry(u"card", u"^NUMBER_VAL=8");
  EXPECT_EQ(again->posId, card->posId);
}

// --- Dumps ---

class ELexiconDumpTest : public ELexiconTest {
 protected:
  void Restart() {
    ASSERT_TRUE(P_FSCompiler::WriteDump());
    ASSERT_TRUE(P_SymbolTable::WriteDump());
    ClearSymbolTable();
    // Other names take the low ids, as another compile of the common symbol
    // table would give them.
    GetSymbolId(u"unrelated", true);
    GetSymbolId(u"names", true);
    P_FSCompiler::Init();
    ASSERT_TRUE(P_FSCompiler::ReadDump());
    ASSERT_TRUE(P_SymbolTable::ReadDump());
    Set("CompileP_Grammar", "no");
    reloadedGrammar_ = std::make_unique<P_Grammar>("", "", "", "", 1);
    ASSERT_FALSE(reloadedGrammar_->HasFailed()) << reloadedGrammar_->FailureText();
    reloaded_ = std::make_unique<CELexicon>(File("lexicon.txt"), reloadedGrammar_.get());
  }

  struct Reading {
    std::u16string word;
    uint16_t pos;
    std::vector<uint16_t> items;
    float weight;
    int choices;
    std::u16string pred;
    bool operator==(const Reading&) const = default;
  };

  static std::vector<Reading> Readings(const CELexicon& lexicon) {
    std::vector<Reading> readings;
    for (const auto& [word, e] : lexicon.WordIndex()) {
      readings.push_back({word, e->posId, e->itemIds, e->weight, e->choiceCount,
                          e->part && e->part->symbol ? GetSymbolName(e->part->symbol) : u""});
    }
    for (const CELexicalEntry* e : lexicon.DefaultEntries()) {
      readings.push_back({u"", e->posId, e->itemIds, e->weight, e->choiceCount, u""});
    }
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

  std::unique_ptr<P_Grammar> reloadedGrammar_;
  std::unique_ptr<CELexicon> reloaded_;
};

TEST_F(ELexiconDumpTest, ALexiconReadBackFromItsDumpsEqualsTheCompiledOne) {
  for (int count : {5, 99, 100, 260}) {
    SCOPED_TRACE(count);
    Set("CompileP_Grammar", "yes");
    ClearSymbolTable();
    P_FSCompiler::Init();
    Compile(ManyEntries(count));
    ASSERT_FALSE(lexicon_->HasFailed()) << lexicon_->FailureText();
    const std::vector<Reading> before = Readings(*lexicon_);
    ASSERT_GE(before.size(), static_cast<size_t>(count));
    Restart();
    ASSERT_FALSE(reloaded_->HasFailed()) << reloaded_->FailureText();
    EXPECT_EQ(Readings(*reloaded_), before);
    // Predicates carry the ids their names have in this run.
    EXPECT_EQ(reloaded_->GetEntries(u"w1")->front()->GetPartSymbol(), GetSymbolId(u"lemma1", false));
  }
}

TEST_F(ELexiconDumpTest, ALexiconDumpOfAnotherCompileIsRefused) {
  Compile(ManyEntries(10));
  ASSERT_FALSE(lexicon_->HasFailed());
  const std::vector<unsigned char> oldLexicon = ReadBytes(File("ELexicon.dump"));
  const std::vector<unsigned char> oldDummy = ReadBytes(File("Dummy.dump"));
  Compile(ManyEntries(10));
  ASSERT_FALSE(lexicon_->HasFailed());
  const std::vector<unsigned char> goodLexicon = ReadBytes(File("ELexicon.dump"));

  WriteBytes(File("ELexicon.dump"), oldLexicon);
  MessageRecorder messages;
  Restart();
  EXPECT_TRUE(reloaded_->HasFailed());
  EXPECT_NE(reloaded_->FailureText().find("ELexicon.dump"), std::string::npos);

  WriteBytes(File("ELexicon.dump"), goodLexicon);
  WriteBytes(File("Dummy.dump"), oldDummy);
  reloaded_ = std::make_unique<CELexicon>(File("lexicon.txt"), reloadedGrammar_.get());
  EXPECT_TRUE(reloaded_->HasFailed());
  EXPECT_NE(reloaded_->FailureText().find("Dummy.dump"), std::string::npos);

  std::vector<unsigned char> cut = goodLexicon;
  cut.resize(cut.size() - 40);
  WriteBytes(File("ELexicon.dump"), cut);
  reloaded_ = std::make_unique<CELexicon>(File("lexicon.txt"), reloadedGrammar_.get());
  EXPECT_TRUE(reloaded_->HasFailed());
}

}  // namespace

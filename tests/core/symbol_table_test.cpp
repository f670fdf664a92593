#include <gtest/gtest.h>

#include <algorithm>

#include "core/sealed_file.h"
#include "core/string_helpers.h"
#include "core/symbol_table.h"
#include "platform/utf8.h"
#include "support/test_support.h"

namespace {

class SymbolTableTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearSymbolTable(); }
  void TearDown() override { ClearSymbolTable(); }

  // Records as SaveSymbolTable lays them out: the id, then the name's units,
  // little-endian and zero-padded.
  static std::vector<unsigned char> Records(const std::vector<std::pair<uint16_t, WString>>& records) {
    std::vector<unsigned char> bytes;
    for (const auto& [id, name] : records) {
      std::vector<unsigned char> record = Utf16LeBytes(WChar(id) + name, false);
      record.resize(kSymbolRecordBytes, 0);
      bytes.insert(bytes.end(), record.begin(), record.end());
    }
    return bytes;
  }
  static std::vector<unsigned char> Sealed(std::vector<unsigned char> bytes) {
    AppendSeal(bytes);
    return bytes;
  }
  // Both maps hold exactly the same pairs.
  static void ExpectMapsAgree() {
    EXPECT_EQ(SymbolIdsByName().size(), SymbolNamesById().size());
    for (const auto& [name, id] : SymbolIdsByName()) EXPECT_EQ(GetSymbolName(id), name);
  }

  TempDir dir_;
  const std::string path_ = dir_.File("symbols.sym");
  MessageRecorder messages_;
};

TEST_F(SymbolTableTest, IdsCountUpFromOneAndUnnamedIdsReadEmpty) {
  EXPECT_EQ(GetSymbolId(u"PRED", false), kNoSymbol);
  EXPECT_TRUE(SymbolIdsByName().empty());
  EXPECT_EQ(GetSymbolId(u"PRED", true), 1);
  EXPECT_EQ(GetSymbolId(u"SUBJ", true), 2);
  EXPECT_EQ(GetSymbolId(u"PRED", true), 1);
  for (SymbolId unnamed : {kNoSymbol, SymbolId(0), SymbolId(3)}) EXPECT_EQ(GetSymbolName(unnamed), u"EMPTY");
  EXPECT_EQ(AddSymbolWithId(u"x", 10), 10);
  EXPECT_EQ(AddSymbol(u"y"), 12);  // the counter went one past 10: one value skipped, none reused
  EXPECT_EQ(AddSymbolWithId(u"z", 5), 5);
  EXPECT_EQ(SymbolIdCounter(), 12u);
  const SymbolId blank = AddSymbol(u"");
  EXPECT_EQ(JoinSymbolNames({2, 1, 99, 2}, u", "), u"SUBJ, PRED, EMPTY, SUBJ");
  EXPECT_EQ(JoinSymbolNames({blank, blank}, u""), u"EMPTY");
}

TEST_F(SymbolTableTest, ReplacingAPairDropsTheStaleEntriesOfBothDirections) {
  AddSymbolWithId(u"old", 3);
  AddSymbolWithId(u"new", 3);  // id 3 renamed
  EXPECT_EQ(GetSymbolId(u"old", false), kNoSymbol);
  AddSymbolWithId(u"new", 7);  // name moved: id 3 has no name left
  EXPECT_EQ(GetSymbolName(3), u"EMPTY");
  AddSymbolWithId(u"other", 8);
  AddSymbolWithId(u"other", 7);  // takes id 7 from "new" and leaves id 8
  EXPECT_EQ(GetSymbolId(u"new", false), kNoSymbol);
  EXPECT_EQ(GetSymbolName(8), u"EMPTY");
  ExpectMapsAgree();
}

TEST_F(SymbolTableTest, IdsNeverReachTheNoSymbolValue) {
  EXPECT_EQ(AddSymbolWithId(u"none", kNoSymbol), kNoSymbol);
  AddSymbolWithId(u"late", 65532);
  EXPECT_EQ(AddSymbol(u"last"), 65534);
  EXPECT_EQ(AddSymbol(u"one more"), kNoSymbol);
  EXPECT_EQ(GetSymbolId(u"again", true), kNoSymbol);
  EXPECT_EQ(SymbolIdCounter(), 65534u);
  EXPECT_EQ(messages_.messages().size(), 3u);
  ExpectMapsAgree();
}

TEST_F(SymbolTableTest, SavedRecordsAreLittleEndianInIdOrderAndLoadBack) {
  SCOPED_TRACE("records in id order, read back");
  AddSymbolWithId(u"\u0628A", 0x0102);
  AddSymbolWithId(u"b", 1);
  AddSymbol(u"");
  ASSERT_TRUE(SaveSymbolTable(path_));
  EXPECT_EQ(ReadBytes(path_), Sealed(Records({{1, u"b"}, {0x0102, u"\u0628A"}, {0x0104, u""}})));
  ClearSymbolTable();
  ASSERT_TRUE(LoadSymbolTable(path_));
  EXPECT_EQ(GetSymbolName(0x0102), u"\u0628A");
  EXPECT_EQ(GetSymbolId(u"new", true), 0x0106);  // the counter moved past the loaded ids
  ExpectMapsAgree();
  EXPECT_FALSE(LoadSymbolTable(dir_.File("absent.sym")));
  EXPECT_FALSE(SaveSymbolTable(dir_.File("no/such/folder.sym")));
  EXPECT_EQ(SymbolIdsByName().size(), 4u);

  SCOPED_TRACE("names too long for a record");
  ClearSymbolTable();  // names too long for a record are refused, not cut
  const WString longest(99, u'x');
  AddSymbol(longest);
  AddSymbol(WString(100, u'y'));
  AddSymbol(WString(u"a\0b", 3));  // a zero unit would end the name early
  AddSymbol(u"short");
  EXPECT_FALSE(SaveSymbolTable(path_));
  EXPECT_EQ(messages_.messages().size(), 2u);
  EXPECT_EQ(ReadBytes(path_), Sealed(Records({{1, longest}, {4, u"short"}})));
}

TEST_F(SymbolTableTest, LoadAddsWholeRecordsAndSurvivesLongNamesAndTheNoSymbolId) {
  AddSymbol(u"kept");
  std::vector<unsigned char> bytes = Records({{4, WString(100, u'z')}, {kNoSymbol, u"bad"}, {5, u"next"}, {6, u"cut"}});
  bytes.erase(bytes.end() - 20, bytes.end());  // a short tail is no record
  WriteBytes(path_, Sealed(bytes));
  ASSERT_TRUE(LoadSymbolTable(path_));
  EXPECT_EQ(GetSymbolName(1), u"kept");
  EXPECT_EQ(GetSymbolName(4), WString(100, u'z'));  // no terminator: the field's end ends it
  EXPECT_EQ(GetSymbolName(5), u"next");
  EXPECT_EQ(GetSymbolName(6), u"EMPTY");
  EXPECT_EQ(GetSymbolId(u"bad", false), kNoSymbol);
  EXPECT_EQ(messages_.messages().size(), 1u);
}

TEST_F(SymbolTableTest, AFileDamagedAfterItWasSavedIsRefusedWhole) {
  AddSymbol(u"SUBJ");
  AddSymbol(u"OBJ");
  ASSERT_TRUE(SaveSymbolTable(path_));
  const std::vector<unsigned char> saved = ReadBytes(path_);
  ASSERT_GT(saved.size(), 2 * kSymbolRecordBytes);
  std::vector<std::vector<unsigned char>> damaged(8, saved);
  damaged[0].pop_back();                                                          // cut short
  damaged[1].erase(damaged[1].begin(), damaged[1].begin() + kSymbolRecordBytes);  // a record lost
  damaged[2].clear();
  damaged[3].push_back(0);  // lengthened
  const size_t flipped[] = {0, 2, saved.size() / 2, saved.size() - 1};
  for (size_t i = 0; i < 4; ++i) damaged[4 + i][flipped[i]] ^= 0x01;
  for (const auto& bytes : damaged) {
    ClearSymbolTable();
    WriteBytes(path_, bytes);
    EXPECT_FALSE(LoadSymbolTable(path_)) << bytes.size();
    EXPECT_TRUE(SymbolIdsByName().empty()) << "nothing of a damaged file is loaded";
  }
}

}  // namespace

namespace {

// One sentence of a stream: its new names and the ids they got.
std::vector<SymbolId> NameSentence(int sentence, int newNames) {
  std::vector<SymbolId> ids;
  for (int k = 0; k < newNames; ++k) {
    ids.push_back(GetSymbolId(u"word" + IntToWString(sentence) + u"_" + IntToWString(k), true));
  }
  return ids;
}

}  // namespace

TEST_F(SymbolTableTest, NamesOfOneSentenceLeaveAtItsResetAndTheirIdsServeAgain) {
  const SymbolId pred = GetSymbolId(u"PRED", true);
  AddSymbolWithId(u"loaded", 40);  // as a saved table gives it
  BeginSentenceSymbols();
  const std::vector<SymbolId> first = NameSentence(0, 4);
  EXPECT_EQ(first, (std::vector<SymbolId>{42, 43, 44, 45}));
  EXPECT_EQ(GetSymbolId(u"PRED", true), pred);  // a known name is no sentence name
  EXPECT_EQ(SentenceSymbolCount(), 4u);
  ReleaseSentenceSymbols();
  EXPECT_EQ(GetSymbolId(u"word0_0", false), kNoSymbol);
  EXPECT_EQ(GetSymbolName(42), u"EMPTY");
  EXPECT_EQ(GetSymbolName(40), u"loaded");
  EXPECT_EQ(GetSymbolName(pred), u"PRED");
  ExpectMapsAgree();
  // A stream far longer than the id space behaves like its first sentence.
  for (int sentence = 1; sentence <= 20000; ++sentence) {
    ASSERT_EQ(NameSentence(sentence, 4), first) << sentence;
    ReleaseSentenceSymbols();
  }
  EXPECT_TRUE(messages_.messages().empty());
  EXPECT_EQ(SymbolNamesById().size(), 2u);
}

// Names read from data while a sentence runs (a condition met for the first
// time) outlive its reset, whether new or already made by the sentence; the
// sentence's other names go, and later sentences never get a kept id again.
TEST_F(SymbolTableTest, NamesReadUnderAPermanentScopeOutliveTheSentenceReset) {
  BeginSentenceSymbols();
  const SymbolId unknownWord = GetSymbolId(u"zorb", true);
  const SymbolId before = GetSymbolId(u"sentenceOnly", true);
  SymbolId dataWord = kNoSymbol;
  {
    CPermanentSymbols permanent;
    dataWord = GetSymbolId(u"erg", true);
    EXPECT_EQ(GetSymbolId(u"zorb", true), unknownWord);
  }
  const SymbolId after = GetSymbolId(u"sentenceToo", true);
  EXPECT_EQ(SentenceSymbolCount(), 2u);
  ReleaseSentenceSymbols();

  const struct {
    const char16_t* name;
    SymbolId id;
    bool kept;
  } cases[] = {{u"zorb", unknownWord, true},
               {u"erg", dataWord, true},
               {u"sentenceOnly", before, false},
               {u"sentenceToo", after, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(GetSymbolId(c.name, false), c.kept ? c.id : kNoSymbol) << ToUtf8(c.name);
    EXPECT_EQ(IsSentenceSymbol(c.id), false) << ToUtf8(c.name);
  }
  for (int sentence = 0; sentence < 3; ++sentence) {
    for (SymbolId id : NameSentence(sentence, 4)) {
      EXPECT_NE(id, unknownWord);
      EXPECT_NE(id, dataWord);
      EXPECT_GT(id, std::max(unknownWord, dataWord));
    }
    ReleaseSentenceSymbols();
  }
  EXPECT_EQ(GetSymbolName(dataWord), u"erg");
  ExpectMapsAgree();
}

#include <gtest/gtest.h>

#include "core/symbol_table.h"
#include "support/test_support.h"

namespace {

class SymbolTableTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearSymbolTable(); }
  void TearDown() override { ClearSymbolTable(); }

  // One record as SaveSymbolTable lays it out.
  static std::vector<unsigned char> Record(uint16_t id, const WString& name) {
    std::vector<unsigned char> bytes(kSymbolRecordBytes, 0);
    bytes[0] = static_cast<unsigned char>(id & 0xFF);
    bytes[1] = static_cast<unsigned char>(id >> 8);
    for (size_t i = 0; i < name.size(); ++i) {
      bytes[2 + 2 * i] = static_cast<unsigned char>(name[i] & 0xFF);
      bytes[3 + 2 * i] = static_cast<unsigned char>(name[i] >> 8);
    }
    return bytes;
  }

  // Both maps hold exactly the same pairs.
  static void ExpectMapsAgree() {
    EXPECT_EQ(SymbolIdsByName().size(), SymbolNamesById().size());
    for (const auto& [name, id] : SymbolIdsByName()) EXPECT_EQ(GetSymbolName(id), name);
  }
};

TEST_F(SymbolTableTest, IdsStartAtOneAndLookupWithoutCreateAddsNothing) {
  EXPECT_EQ(GetSymbolId(u"PRED", false), kNoSymbol);
  EXPECT_TRUE(SymbolIdsByName().empty());
  EXPECT_EQ(GetSymbolId(u"PRED", true), 1);
  EXPECT_EQ(GetSymbolId(u"SUBJ", true), 2);
  EXPECT_EQ(GetSymbolId(u"PRED", true), 1);
  EXPECT_EQ(GetSymbolId(u"PRED", false), 1);
  EXPECT_EQ(GetSymbolName(2), u"SUBJ");
  EXPECT_EQ(SymbolIdCounter(), 2u);
}

TEST_F(SymbolTableTest, IdsWithoutNameReadEmpty) {
  AddSymbol(u"a");
  EXPECT_EQ(GetSymbolName(kNoSymbol), u"EMPTY");
  EXPECT_EQ(GetSymbolName(0), u"EMPTY");
  EXPECT_EQ(GetSymbolName(2), u"EMPTY");
}

TEST_F(SymbolTableTest, AddSymbolWithIdRaisesCounterOnePastTheId) {
  EXPECT_EQ(AddSymbolWithId(u"x", 10), 10);
  EXPECT_EQ(SymbolIdCounter(), 11u);
  EXPECT_EQ(AddSymbol(u"y"), 12);  // one value is skipped, none reused
  EXPECT_EQ(AddSymbolWithId(u"z", 5), 5);
  EXPECT_EQ(SymbolIdCounter(), 12u);
}

TEST_F(SymbolTableTest, ReplacingAPairDropsTheStaleEntriesOfBothDirections) {
  AddSymbolWithId(u"old", 3);
  AddSymbolWithId(u"new", 3);  // id 3 renamed: "old" no longer names it
  EXPECT_EQ(GetSymbolName(3), u"new");
  EXPECT_EQ(GetSymbolId(u"old", false), kNoSymbol);
  ExpectMapsAgree();

  AddSymbolWithId(u"new", 7);  // name moved: id 3 has no name left
  EXPECT_EQ(GetSymbolId(u"new", false), 7);
  EXPECT_EQ(GetSymbolName(3), u"EMPTY");
  ExpectMapsAgree();

  AddSymbolWithId(u"other", 8);
  AddSymbolWithId(u"other", 7);  // takes id 7 from "new" and leaves id 8
  EXPECT_EQ(GetSymbolId(u"new", false), kNoSymbol);
  EXPECT_EQ(GetSymbolName(8), u"EMPTY");
  EXPECT_EQ(GetSymbolName(7), u"other");
  ExpectMapsAgree();
}

TEST_F(SymbolTableTest, IdsNeverReachTheNoSymbolValue) {
  MessageRecorder messages;
  AddSymbolWithId(u"late", 65532);
  EXPECT_EQ(AddSymbol(u"last"), 65534);
  EXPECT_EQ(AddSymbol(u"one more"), kNoSymbol);
  EXPECT_EQ(GetSymbolId(u"again", true), kNoSymbol);
  EXPECT_EQ(GetSymbolId(u"again", false), kNoSymbol);
  EXPECT_EQ(GetSymbolName(kNoSymbol), u"EMPTY");
  EXPECT_EQ(SymbolIdCounter(), 65534u);
  EXPECT_EQ(messages.messages().size(), 2u);
  ExpectMapsAgree();
}

TEST_F(SymbolTableTest, TheNoSymbolIdCannotBeGivenExplicitly) {
  MessageRecorder messages;
  EXPECT_EQ(AddSymbolWithId(u"none", kNoSymbol), kNoSymbol);
  EXPECT_EQ(GetSymbolId(u"none", false), kNoSymbol);
  EXPECT_EQ(GetSymbolName(kNoSymbol), u"EMPTY");
  EXPECT_EQ(messages.messages().size(), 1u);

  // The highest usable id fills the table.
  EXPECT_EQ(AddSymbolWithId(u"top", 65534), 65534);
  EXPECT_EQ(AddSymbol(u"more"), kNoSymbol);
}

TEST_F(SymbolTableTest, JoinSymbolNames) {
  SymbolId a = AddSymbol(u"SUBJ");
  SymbolId b = AddSymbol(u"PRED");
  SymbolId blank = AddSymbol(u"");
  struct Case {
    std::vector<SymbolId> ids;
    WString separator, joined;
  } cases[] = {
      {{}, u" ", u"EMPTY"},
      {{a}, u" ", u"SUBJ"},
      {{a, b, a}, u", ", u"SUBJ, PRED, SUBJ"},
      {{a, 99}, u" ", u"SUBJ EMPTY"},
      {{blank}, u" ", u"EMPTY"},
      {{blank, blank}, u"", u"EMPTY"},
  };
  for (const auto& c : cases) EXPECT_EQ(JoinSymbolNames(c.ids, c.separator), c.joined);
}

TEST_F(SymbolTableTest, ReservedNamesKeepLoadedIdsAndMissingOnesAreAdded) {
  AddSymbolWithId(u"INDEX", 40);
  AddSymbolWithId(u"PRED", 41);
  EXPECT_TRUE(RegisterReservedSymbols());
  EXPECT_EQ(PredId, 41);
  EXPECT_EQ(IndexId, 40);
  EXPECT_EQ(IndexId2, 40);
  EXPECT_EQ(GfId, 42);  // the counter stood at 41
  EXPECT_EQ(RootId, 43);
  EXPECT_EQ(FinalId, 53);
  EXPECT_EQ(GetSymbolName(UValueId), u"_VALUE");
  EXPECT_EQ(GetSymbolName(NumthId), u"numth");
}

TEST_F(SymbolTableTest, SaveAndLoadRoundTripAndAdvanceTheCounter) {
  TempDir dir;
  const std::string path = dir.File("symbols.sym");
  AddSymbol(u"PRED");
  AddSymbol(u"\u0645\u06CC\u06BA");  // Urdu text
  AddSymbol(u"");
  ASSERT_TRUE(SaveSymbolTable(path));
  EXPECT_EQ(ReadBytes(path).size(), 3 * kSymbolRecordBytes);

  ClearSymbolTable();
  ASSERT_TRUE(LoadSymbolTable(path));
  EXPECT_EQ(GetSymbolName(1), u"PRED");
  EXPECT_EQ(GetSymbolName(2), u"\u0645\u06CC\u06BA");
  EXPECT_EQ(GetSymbolId(u"", false), 3);
  EXPECT_EQ(SymbolIdCounter(), 4u);
  EXPECT_EQ(GetSymbolId(u"new", true), 5);
  ExpectMapsAgree();
}

TEST_F(SymbolTableTest, SavedRecordsAreLittleEndianInIdOrder) {
  TempDir dir;
  const std::string path = dir.File("symbols.sym");
  AddSymbolWithId(u"\u0628A", 0x0102);
  AddSymbolWithId(u"b", 1);
  ASSERT_TRUE(SaveSymbolTable(path));
  std::vector<unsigned char> expected = Record(1, u"b");
  std::vector<unsigned char> second = Record(0x0102, u"\u0628A");
  expected.insert(expected.end(), second.begin(), second.end());
  EXPECT_EQ(ReadBytes(path), expected);
  EXPECT_EQ(second[0], 0x02);
  EXPECT_EQ(second[2], 0x28);  // U+0628 low byte first
  EXPECT_EQ(second[3], 0x06);
}

TEST_F(SymbolTableTest, NamesTooLongForARecordAreRefusedNotCut) {
  MessageRecorder messages;
  TempDir dir;
  const std::string path = dir.File("symbols.sym");
  const WString longest(99, u'x');
  AddSymbol(longest);
  AddSymbol(WString(100, u'y'));
  AddSymbol(WString(u"a\0b", 3));  // a zero unit would end the name early
  AddSymbol(u"short");
  EXPECT_FALSE(SaveSymbolTable(path));
  EXPECT_EQ(messages.messages().size(), 2u);
  EXPECT_EQ(ReadBytes(path).size(), 2 * kSymbolRecordBytes);

  ClearSymbolTable();
  ASSERT_TRUE(LoadSymbolTable(path));
  EXPECT_EQ(GetSymbolName(1), longest);
  EXPECT_EQ(GetSymbolName(2), u"EMPTY");
  EXPECT_EQ(GetSymbolName(4), u"short");
}

TEST_F(SymbolTableTest, LoadReadsAtMostTheNameFieldAndIgnoresAShortTail) {
  TempDir dir;
  const std::string path = dir.File("symbols.sym");
  std::vector<unsigned char> bytes = Record(1, WString(100, u'z'));  // no terminator
  std::vector<unsigned char> next = Record(2, u"next");
  bytes.insert(bytes.end(), next.begin(), next.end());
  std::vector<unsigned char> tail = Record(3, u"cut");
  bytes.insert(bytes.end(), tail.begin(), tail.begin() + 100);
  WriteBytes(path, bytes);

  ASSERT_TRUE(LoadSymbolTable(path));
  EXPECT_EQ(GetSymbolName(1), WString(100, u'z'));
  EXPECT_EQ(GetSymbolName(2), u"next");
  EXPECT_EQ(GetSymbolName(3), u"EMPTY");
  EXPECT_EQ(SymbolIdCounter(), 2u);
}

TEST_F(SymbolTableTest, LoadAddsToTheTableAndRefusesTheNoSymbolId) {
  MessageRecorder messages;
  TempDir dir;
  const std::string path = dir.File("symbols.sym");
  std::vector<unsigned char> bytes = Record(kNoSymbol, u"bad");
  std::vector<unsigned char> good = Record(4, u"good");
  bytes.insert(bytes.end(), good.begin(), good.end());
  WriteBytes(path, bytes);

  AddSymbol(u"kept");
  ASSERT_TRUE(LoadSymbolTable(path));
  EXPECT_EQ(GetSymbolName(1), u"kept");
  EXPECT_EQ(GetSymbolName(4), u"good");
  EXPECT_EQ(GetSymbolId(u"bad", false), kNoSymbol);
  EXPECT_EQ(messages.messages().size(), 1u);
}

TEST_F(SymbolTableTest, MissingFilesFailWithoutTouchingTheTable) {
  TempDir dir;
  AddSymbol(u"a");
  EXPECT_FALSE(LoadSymbolTable(dir.File("absent.sym")));
  EXPECT_FALSE(SaveSymbolTable(dir.File("no/such/folder.sym")));
  EXPECT_EQ(SymbolIdsByName().size(), 1u);
  EXPECT_EQ(SymbolIdCounter(), 1u);
}

}  // namespace

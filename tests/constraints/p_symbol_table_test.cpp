// The symbol table: fixed ids, hashing of 8-bit names, its limits, the
// per-sentence names, the governable functions and its dump.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "constraints_fixture.h"

using namespace ctest;

namespace {

class SymbolTableTest : public ::testing::Test {
 protected:
  ConstraintsData data_{"", ""};
  MessageRecorder messages_;
};

std::string Listing() {
  std::ostringstream out;
  P_SymbolTable::Print(out);
  return out.str();
}

}  // namespace

TEST_F(SymbolTableTest, FreshTableGivesTheKnownIds) {
  P_SymbolTable::Init();
  EXPECT_EQ(SymbolTableGfId, 207);
  EXPECT_EQ(SymbolTablePredId, 69);
  EXPECT_EQ(SymbolTableIndexId, 89);
  // OBJ hashes to SUBJ's slot and takes the next one.
  const std::pair<const char*, uint16_t> cases[] = {{"SUBJ", 75}, {"OBJ", 76}, {"SUBJ", 75}, {"GF", 207}, {"", 0}};
  for (const auto& [name, id] : cases) EXPECT_EQ(P_SymbolTable::Intern(name), id) << name;
  EXPECT_EQ(P_SymbolTable::GetString(76), "OBJ");
  for (int16_t outside : {0, -1, 551, -32768}) EXPECT_EQ(P_SymbolTable::GetString(outside), "") << outside;
  EXPECT_TRUE(messages_.messages().empty());
}

TEST_F(SymbolTableTest, EightBitNamesHashIntoTheTable) {
  for (const std::string name : {"\xE9t\xE9", "\xFF\xFF\xFF\xFF", "a\x80z"}) {
    const int16_t h = P_SymbolTable::Hash(name, 550);
    EXPECT_TRUE(h >= 0 && h < 550) << name;
    EXPECT_EQ(P_SymbolTable::GetString(static_cast<int16_t>(P_SymbolTable::Intern(name))), name);
  }
  EXPECT_EQ(P_SymbolTable::Hash("\xE9t\xE9", 550), 527);
  EXPECT_EQ(P_SymbolTable::Hash("GF", 1), 0);
}

TEST_F(SymbolTableTest, AFullTableIsReportedOnceAndKnownNamesAreStillFound) {
  // Probing wraps past the last slot, so every slot is taken before a name
  // is refused.
  int n = 0;
  while (P_SymbolTable::Intern("w" + std::to_string(n)) != 0) ++n;
  ASSERT_EQ(messages_.messages().size(), 1u);
  for (int16_t id = 1; id <= 550; ++id) EXPECT_FALSE(P_SymbolTable::GetString(id).empty()) << id;
  EXPECT_NE(P_SymbolTable::Intern("GF"), 0);
}

TEST_F(SymbolTableTest, TemporaryNamesAreLimitedPerSentence) {
  const uint16_t permanent = P_SymbolTable::Intern("NUM");
  P_SymbolTable::BeginTempSymbols();
  EXPECT_EQ(P_SymbolTable::Intern("NUM"), permanent);
  for (int k = 0; k < P_SymbolTable::kTempSymbolCount; ++k)
    ASSERT_NE(P_SymbolTable::Intern("w" + std::to_string(k)), 0);
  EXPECT_EQ(P_SymbolTable::Intern("one-too-many"), 0);
  EXPECT_EQ(messages_.messages().size(), 1u);
  P_SymbolTable::ClearTempSymbols();
  EXPECT_NE(P_SymbolTable::Intern("one-too-many"), 0);
  EXPECT_EQ(Name(permanent), "NUM");
}

TEST_F(SymbolTableTest, ALongSentenceNamesMoreThanTheTableHoldsAndLeavesNoTrace) {
  const uint16_t permanent = P_SymbolTable::Intern("ADJUNCT");
  const std::string before = Listing();
  P_SymbolTable::BeginTempSymbols();
  // Set elements of a long sentence: far more than the 550 slots.
  std::vector<uint16_t> ids;
  for (int k = 0; k < 2000; ++k) ids.push_back(P_SymbolTable::Intern("ADJUNCT SET ELEMENT" + std::to_string(k)));
  std::vector<uint16_t> sorted = ids;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(std::unique(sorted.begin(), sorted.end()), sorted.end());
  EXPECT_NE(sorted.front(), 0);
  EXPECT_LE(sorted.back(), P_SymbolTable::kLastOverflowId);
  for (int k : {0, 600, 1999}) {
    EXPECT_EQ(P_SymbolTable::GetString(static_cast<int16_t>(ids[k])), "ADJUNCT SET ELEMENT" + std::to_string(k));
    EXPECT_EQ(P_SymbolTable::Intern("ADJUNCT SET ELEMENT" + std::to_string(k)), ids[k]);  // found again
  }
  EXPECT_EQ(P_SymbolTable::Intern("ADJUNCT"), permanent);
  EXPECT_FALSE(P_SymbolTable::NamesRefused());
  EXPECT_TRUE(messages_.messages().empty());
  P_SymbolTable::ClearTempSymbols();
  EXPECT_EQ(Listing(), before);  // every slot as at start-up
  EXPECT_EQ(P_SymbolTable::GetString(static_cast<int16_t>(ids[1999])), "");
}

TEST_F(SymbolTableTest, ASentenceThatRunsOutOfNamesIsToldOnceAndMarked) {
  P_SymbolTable::BeginTempSymbols();
  int k = 0;
  while (P_SymbolTable::Intern("w" + std::to_string(k)) != 0) ++k;
  EXPECT_EQ(k, P_SymbolTable::kTempSymbolCount);
  for (int more = 0; more < 5; ++more) EXPECT_EQ(P_SymbolTable::Intern("x" + std::to_string(more)), 0);
  EXPECT_TRUE(P_SymbolTable::NamesRefused());
  EXPECT_EQ(messages_.messages().size(), 1u);
  P_SymbolTable::ClearTempSymbols();
  EXPECT_FALSE(P_SymbolTable::NamesRefused());
  EXPECT_NE(P_SymbolTable::Intern("x0"), 0);
}

TEST_F(SymbolTableTest, AttributeClassesFromNamesAndFiles) {
  EXPECT_TRUE(P_SymbolTable::IsClauseAttribute(Id("XCOMP")));
  EXPECT_FALSE(P_SymbolTable::IsClauseAttribute(0xFFFF));
  // Governable functions: trimmed, empty entries dropped, sorted by id.
  WriteUtf16File(data_.File("g.txt"), u" SUBJ ,\r\nOBJ,,OBJ2,\r\n");
  SetConfigValue("SubCatFrameListFileName", data_.File("g.txt"));
  P_SymbolTable::Init();
  EXPECT_EQ(GovernableFunctionIds, (std::list<uint16_t>{51, 75, 76}));
  SetConfigValue("SubCatFrameListFileName", data_.File("missing.txt"));
  EXPECT_FALSE(P_SymbolTable::LoadSubCatFrameList());
  EXPECT_TRUE(GovernableFunctionIds.empty());
}

TEST_F(SymbolTableTest, DumpRoundTripsAndRejectsShortFiles) {
  P_SymbolTable::Intern("\xE9t\xE9");
  P_SymbolTable::Intern("SUBJ");
  const std::string before = Listing();
  ASSERT_TRUE(P_SymbolTable::WriteDump());
  const std::vector<unsigned char> bytes = ReadBytes(data_.File("symbols.dump"));
  // 550 length words, the names of GF, PRED, INDEX, SUBJ and the 8-bit one,
  // then the seal of 12 bytes.
  EXPECT_EQ(bytes.size(), 2u * (550 + 2 + 4 + 5 + 4 + 3) + 12u);
  // Bytes are stored as sign-extended words.
  const std::vector<unsigned char> eight{3, 0, 0xE9, 0xFF, 't', 0, 0xE9, 0xFF};
  EXPECT_NE(std::search(bytes.begin(), bytes.end(), eight.begin(), eight.end()), bytes.end());

  P_SymbolTable::Init();
  ASSERT_TRUE(P_SymbolTable::ReadDump());
  EXPECT_EQ(Listing(), before);
  for (size_t cut : {size_t{0}, size_t{10}, bytes.size() - 2}) {
    WriteBytes(data_.File("short.dump"), std::vector<unsigned char>(bytes.begin(), bytes.begin() + cut));
    SetConfigValue("SymbolTableDumpFile", data_.File("short.dump"));
    messages_.clear();
    EXPECT_FALSE(P_SymbolTable::ReadDump()) << cut;
    EXPECT_EQ(messages_.messages().size(), 1u);
    EXPECT_EQ(Listing(), before);
  }
  SetConfigValue("SymbolTableDumpFile", data_.File("none.dump"));
  EXPECT_FALSE(P_SymbolTable::ReadDump());

  // A table too large for its dump is not written.
  for (int k = 0; k < 200; ++k) ASSERT_NE(P_SymbolTable::Intern(std::string(60, 'a') + std::to_string(k)), 0);
  messages_.clear();
  EXPECT_FALSE(P_SymbolTable::WriteDump());
  EXPECT_EQ(messages_.messages().size(), 1u);
}

#include <gtest/gtest.h>

#include <sstream>

#include "constraints/p_symbol_table.h"
#include "constraints_fixture.h"

namespace {

class SymbolTableTest : public ::testing::Test {
 protected:
  ConstraintsData data_{"", ""};
  MessageRecorder messages_;
};

std::string NthName(int n) { return "w" + std::to_string(n); }

}  // namespace

TEST_F(SymbolTableTest, FreshTableGivesTheKnownIds) {
  P_SymbolTable::Init();
  EXPECT_EQ(SymbolTableGfId, 207);
  EXPECT_EQ(SymbolTablePredId, 69);
  EXPECT_EQ(SymbolTableIndexId, 89);
  struct Case {
    const char* name;
    uint16_t id;
  } cases[] = {
      {"SUBJ", 75}, {"OBJ", 76},   // OBJ hashes to SUBJ's slot and takes the next one
      {"SUBJ", 75}, {"GF", 207}, {"OBJ", 76}, {"", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(P_SymbolTable::Intern(c.name), c.id) << c.name;
  EXPECT_EQ(P_SymbolTable::GetString(76), "OBJ");
  for (int16_t outside : {0, -1, 551, -32768}) EXPECT_EQ(P_SymbolTable::GetString(outside), "") << outside;
  EXPECT_TRUE(messages_.messages().empty());
}

TEST_F(SymbolTableTest, EightBitNamesHashIntoTheTable) {
  for (const std::string name : {"\xE9t\xE9", "\xFF\xFF\xFF\xFF", "a\x80z"}) {
    const int16_t h = P_SymbolTable::Hash(name, 550);
    EXPECT_GE(h, 0) << name;
    EXPECT_LT(h, 550) << name;
    const uint16_t id = P_SymbolTable::Intern(name);
    EXPECT_EQ(P_SymbolTable::GetString(static_cast<int16_t>(id)), name);
  }
  EXPECT_EQ(P_SymbolTable::Hash("\xE9t\xE9", 550), 527);
  EXPECT_EQ(P_SymbolTable::Hash("GF", 1), 0);
}

TEST_F(SymbolTableTest, ProbingWrapsToTheFirstFreeSlotAndAFullTableIsReported) {
  // Fill until every slot from 500 on is taken.
  int n = 0;
  auto tailTaken = [] {
    for (int16_t id = 501; id <= 550; ++id)
      if (P_SymbolTable::GetString(id).empty()) return false;
    return true;
  };
  while (!tailTaken()) ASSERT_NE(P_SymbolTable::Intern(NthName(n++)), 0);
  int16_t firstFree = 1;
  while (!P_SymbolTable::GetString(firstFree).empty()) ++firstFree;
  // From the third character on the hash is the last byte, so only short
  // names reach the last slots; the filler names all start with 'w'.
  std::string late;
  for (char c1 = 'a'; c1 <= 'v' && late.empty(); ++c1) {
    for (char c2 = 'A'; c2 <= 'z' && late.empty(); ++c2) {
      const std::string name{c1, c2};
      if (P_SymbolTable::Hash(name, 550) >= 500) late = name;
    }
  }
  ASSERT_FALSE(late.empty());
  EXPECT_EQ(P_SymbolTable::Intern(late), firstFree);

  while (P_SymbolTable::Intern(NthName(n)) != 0) ++n;
  ASSERT_EQ(messages_.messages().size(), 1u);
  for (int16_t id = 1; id <= 550; ++id) EXPECT_FALSE(P_SymbolTable::GetString(id).empty()) << id;
  EXPECT_EQ(P_SymbolTable::Intern("SUBJ-new"), 0);
  EXPECT_NE(P_SymbolTable::Intern("GF"), 0);  // known names are still found
}

TEST_F(SymbolTableTest, TemporaryNamesAreFreedAndLimitedPerSentence) {
  const uint16_t permanent = P_SymbolTable::Intern("NUM");
  P_SymbolTable::BeginTempSymbols();
  const uint16_t temporary = P_SymbolTable::Intern("boy");
  EXPECT_EQ(P_SymbolTable::Intern("NUM"), permanent);
  P_SymbolTable::ClearTempSymbols();
  EXPECT_EQ(P_SymbolTable::GetString(static_cast<int16_t>(temporary)), "");
  EXPECT_EQ(P_SymbolTable::GetString(static_cast<int16_t>(permanent)), "NUM");

  for (int k = 0; k < P_SymbolTable::kTempSymbolCount; ++k) ASSERT_NE(P_SymbolTable::Intern(NthName(k)), 0);
  EXPECT_EQ(P_SymbolTable::Intern("one-too-many"), 0);
  EXPECT_EQ(messages_.messages().size(), 1u);
  P_SymbolTable::ClearTempSymbols();
  EXPECT_NE(P_SymbolTable::Intern("one-too-many"), 0);
}

TEST_F(SymbolTableTest, ClauseAttributes) {
  struct Case {
    const char* name;
    bool clause;
  } cases[] = {{"XCOMP", true}, {"RESTRICTIVE_NP", true}, {"COMPARITIVE", true}, {"CLAUSE", false}, {"comp", false}};
  for (const Case& c : cases) EXPECT_EQ(P_SymbolTable::IsClauseAttribute(P_SymbolTable::Intern(c.name)), c.clause) << c.name;
  EXPECT_FALSE(P_SymbolTable::IsClauseAttribute(0));
  EXPECT_FALSE(P_SymbolTable::IsClauseAttribute(0xFFFF));
}

TEST_F(SymbolTableTest, GovernableFunctionsAreTrimmedSortedById) {
  struct Case {
    const char* file;
    std::list<uint16_t> ids;
  } cases[] = {
      {"SUBJ,OBJ,OBJ2", {51, 75, 76}},
      {" SUBJ ,\r\nOBJ,,OBJ2,\r\n", {51, 75, 76}},
      {"", {}},
  };
  for (const Case& c : cases) {
    TempDir dir;
    WriteUtf16File(dir.File("g.txt"), NarrowToWide(c.file));
    SetConfigValue("SubCatFrameListFileName", dir.File("g.txt"));
    P_SymbolTable::Init();
    EXPECT_EQ(GovernableFunctionIds, c.ids) << c.file;
  }
  SetConfigValue("SubCatFrameListFileName", data_.File("missing.txt"));
  EXPECT_FALSE(P_SymbolTable::LoadSubCatFrameList());
  EXPECT_TRUE(GovernableFunctionIds.empty());
}

TEST_F(SymbolTableTest, DumpRoundTripsAndRejectsShortFiles) {
  P_SymbolTable::Intern("SUBJ");
  P_SymbolTable::Intern("\xE9t\xE9");
  std::ostringstream before;
  P_SymbolTable::Print(before);
  ASSERT_TRUE(P_SymbolTable::WriteDump());

  const std::vector<unsigned char> bytes = ReadBytes(data_.File("symbols.dump"));
  // 550 length words, the names of GF, PRED, INDEX, SUBJ and the 8-bit one.
  EXPECT_EQ(bytes.size(), 2u * (550 + 2 + 4 + 5 + 4 + 3));

  P_SymbolTable::Init();
  ASSERT_TRUE(P_SymbolTable::ReadDump());
  std::ostringstream after;
  P_SymbolTable::Print(after);
  EXPECT_EQ(after.str(), before.str());

  for (size_t cut : {size_t{0}, size_t{10}, bytes.size() - 2}) {
    WriteBytes(data_.File("short.dump"), std::vector<unsigned char>(bytes.begin(), bytes.begin() + cut));
    SetConfigValue("SymbolTableDumpFile", data_.File("short.dump"));
    messages_.clear();
    EXPECT_FALSE(P_SymbolTable::ReadDump()) << cut;
    EXPECT_EQ(messages_.messages().size(), 1u);
    std::ostringstream unchanged;
    P_SymbolTable::Print(unchanged);
    EXPECT_EQ(unchanged.str(), before.str());
  }
  SetConfigValue("SymbolTableDumpFile", data_.File("none.dump"));
  EXPECT_FALSE(P_SymbolTable::ReadDump());
}

TEST_F(SymbolTableTest, DumpBytesAreSignExtendedWords) {
  P_SymbolTable::Init();
  const uint16_t id = P_SymbolTable::Intern("\xE9");
  ASSERT_TRUE(P_SymbolTable::WriteDump());
  const std::vector<unsigned char> bytes = ReadBytes(data_.File("symbols.dump"));
  // Walk the records to the slot of the name.
  size_t at = 0;
  for (int slot = 0; slot < id - 1; ++slot) at += 2 * (1 + (bytes[at] | bytes[at + 1] << 8));
  ASSERT_LT(at + 3, bytes.size());
  EXPECT_EQ(bytes[at], 1);
  EXPECT_EQ(bytes[at + 2], 0xE9);
  EXPECT_EQ(bytes[at + 3], 0xFF);
}

TEST_F(SymbolTableTest, ATableTooLargeForItsDumpIsNotWritten) {
  for (int k = 0; k < 200; ++k) ASSERT_NE(P_SymbolTable::Intern(std::string(60, 'a') + std::to_string(k)), 0);
  EXPECT_FALSE(P_SymbolTable::WriteDump());
  EXPECT_EQ(messages_.messages().size(), 1u);
}

TEST_F(SymbolTableTest, PrintListsEverySlot) {
  std::ostringstream out;
  P_SymbolTable::Print(out);
  const std::string text = out.str();
  EXPECT_EQ(text.rfind("Printing symbol_table:\n1 \n2 \n", 0), 0u);
  EXPECT_NE(text.find("\n207 GF\n"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 7), "\n550 \n\n");
}

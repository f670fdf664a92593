#include <gtest/gtest.h>

#include <sstream>

#include "constraints/fsitem_lookup_table.h"
#include "constraints/p_attribute_buckets.h"
#include "constraints/p_symbol_table.h"
#include "constraints_fixture.h"

namespace {

class RegistryTest : public ::testing::Test {
 protected:
  ConstraintsData data_;
  MessageRecorder messages_;
};

std::string Listing() {
  std::ostringstream out;
  P_FSCompiler::PrintTables(out);
  return out.str();
}

std::vector<uint16_t> Compile(const std::string& description) {
  int8_t choices = 0;
  return P_FSCompiler::CompileDescription(description, choices);
}

P_FSItemComplex* ComplexWith(uint16_t attribute, uint8_t flags, uint16_t value) {
  auto* item = new P_FSItemComplex(attribute, flags);
  auto* plain = new P_ConValPlainVal(value);
  plain->context = {0};
  item->AddValue(plain);
  return item;
}

}  // namespace

TEST_F(RegistryTest, EqualItemsAreStoredOnce) {
  EXPECT_EQ(P_FSCompiler::RegisterItem(new P_FSItemSimple(3, 4)), 1);
  EXPECT_EQ(P_FSCompiler::RegisterItem(new P_FSItemSimple(3, 5)), 2);
  EXPECT_EQ(P_FSCompiler::RegisterItem(new P_FSItemSimple(3, 4)), 1);
  EXPECT_EQ(P_FSCompiler::RegisterItem(ComplexWith(3, 0x10, 4)), 3);
  EXPECT_EQ(P_FSCompiler::RegisterItem(ComplexWith(3, 0x10, 4)), 3);
  EXPECT_EQ(fsitem_lookup_table.count, 3);
  EXPECT_EQ(fsitem_lookup_table.buckets[3], (std::vector<uint16_t>{0, 1, 2}));
  EXPECT_EQ(P_FSCompiler::FindEqualItem(std::make_unique<P_FSItemSimple>(3, 5).get()), 1);
  EXPECT_EQ(P_FSCompiler::FindEqualItem(std::make_unique<P_FSItemSimple>(4, 5).get()), -1);

  std::unique_ptr<P_FSItem> clone(P_FSCompiler::CloneRegisteredItem(2));
  EXPECT_TRUE(clone->Equals(fsitem_lookup_table.entries[1].get()));
  EXPECT_NE(clone.get(), fsitem_lookup_table.entries[1].get());
  for (int16_t missing : {0, 4, -1}) EXPECT_EQ(P_FSCompiler::CloneRegisteredItem(missing), nullptr);
}

TEST_F(RegistryTest, TheSentenceResetRemovesOnlyTheSentencesItems) {
  Compile("^NUM = sg, ^PERS = 3, [^CASE = nom | ^CASE = acc]");
  const int16_t initial = fsitem_lookup_table.count;
  P_FSCompiler::MarkInitialItems();
  const std::string before = Listing();

  const std::vector<uint16_t> sentence = Compile("^WORD = boy, ^NUM = pl, ^PERS = 3");
  EXPECT_EQ(fsitem_lookup_table.count, initial + 2);
  const uint16_t boy = P_SymbolTable::Intern("boy");
  new P_FStructure();
  new P_FStructure();
  P_FSCompiler::ResetForSentence();

  EXPECT_EQ(fsitem_lookup_table.count, initial);
  EXPECT_EQ(P_SymbolTable::GetString(static_cast<int16_t>(boy)), "");
  EXPECT_EQ(P_FStructure::RegisteredCount(), 0u);
  EXPECT_EQ(Listing(), before);
  for (const auto& bucket : fsitem_lookup_table.buckets)
    for (uint16_t index : bucket) EXPECT_LT(index, initial);
  EXPECT_EQ(P_FSCompiler::RegisterItem(new P_FSItemSimple(9, 9)), initial + 1);
}

TEST_F(RegistryTest, AFullTableIsReportedAndStoresNothing) {
  int stored = 0;
  for (uint16_t attribute = 1; stored < FSItemLookupTable::kCapacity; ++attribute)
    for (uint16_t value = 1; value <= 100 && stored < FSItemLookupTable::kCapacity; ++value, ++stored)
      ASSERT_EQ(P_FSCompiler::RegisterItem(new P_FSItemSimple(attribute, value)), stored + 1);
  EXPECT_TRUE(messages_.messages().empty());
  EXPECT_EQ(P_FSCompiler::RegisterItem(new P_FSItemSimple(500, 1)), 0);
  ASSERT_EQ(messages_.messages().size(), 1u);
  EXPECT_EQ(messages_.messages()[0].text, u"FS item table full.");
  EXPECT_EQ(messages_.messages()[0].caption, u"FS item table full.");
  EXPECT_EQ(messages_.messages()[0].style, MessageStyle::IconInformation);
  EXPECT_EQ(fsitem_lookup_table.count, FSItemLookupTable::kCapacity);
  EXPECT_EQ(P_FSCompiler::RegisterItem(new P_FSItemSimple(1, 1)), 1);  // an equal item is still found

  int8_t choices = 0;
  EXPECT_TRUE(P_FSCompiler::CompileDescription("^NEW = thing", choices).empty());
  EXPECT_TRUE(P_FSCompiler::LastDescriptionFailed());
}

TEST_F(RegistryTest, DumpsRoundTripTogether) {
  Compile("^NUM = sg, ^SUBJ = !, ^TENSE =c pres, ! $ ^ADJUNCT");
  Compile("[^CASE = nom | ^CASE = acc], ^A = {x, y}, ~[^B = p , ^B = q], ^C = ^SUBJ NUM");
  const int16_t count = fsitem_lookup_table.count;
  const std::string before = Listing();
  ASSERT_TRUE(P_FSCompiler::WriteDump());
  ASSERT_TRUE(P_SymbolTable::WriteDump());

  const std::vector<unsigned char> bytes = ReadBytes(data_.File("items.dump"));
  ASSERT_GE(bytes.size(), 4u);
  EXPECT_EQ(bytes[0] | bytes[1] << 8, 100);
  EXPECT_EQ(bytes[2] | bytes[3] << 8, count);

  P_FSCompiler::Init();
  EXPECT_EQ(fsitem_lookup_table.count, 0);
  ASSERT_TRUE(P_FSCompiler::ReadDump());
  ASSERT_TRUE(P_SymbolTable::ReadDump());
  EXPECT_EQ(fsitem_lookup_table.count, count);
  EXPECT_EQ(Listing(), before);
  EXPECT_TRUE(messages_.messages().empty());
}

TEST_F(RegistryTest, BrokenDumpsAreRejectedAndLeaveTheRegistryAlone) {
  Compile("^NUM = sg, [^CASE = nom | ^CASE = acc], ^A = {x, y}");
  ASSERT_TRUE(P_FSCompiler::WriteDump());
  const std::vector<unsigned char> bytes = ReadBytes(data_.File("items.dump"));
  P_FSCompiler::Init();
  Compile("^KEPT = yes");
  const std::string before = Listing();

  std::vector<std::vector<unsigned char>> broken;
  for (size_t cut : {size_t{0}, size_t{3}, size_t{6}, bytes.size() - 2}) broken.emplace_back(bytes.begin(), bytes.begin() + cut);
  std::vector<unsigned char> badTag = bytes;
  badTag[4] = 7;  // the first item's tag
  broken.push_back(badTag);
  std::vector<unsigned char> tooMany = bytes;
  tooMany[2] = 0xFF;  // a count beyond the items written
  tooMany[3] = 0x00;
  broken.push_back(tooMany);
  for (const auto& dump : broken) {
    WriteBytes(data_.File("broken.dump"), dump);
    SetConfigValue("P_FSInitializerDump", data_.File("broken.dump"));
    messages_.clear();
    EXPECT_FALSE(P_FSCompiler::ReadDump()) << dump.size();
    EXPECT_EQ(messages_.messages().size(), 1u);
    EXPECT_EQ(Listing(), before);
  }
  SetConfigValue("P_FSInitializerDump", data_.File("missing.dump"));
  EXPECT_FALSE(P_FSCompiler::ReadDump());
}

TEST_F(RegistryTest, MergingKeepsEachTypeApart) {
  // A constraint first and a definition second: the definition stays one.
  P_AttributeBuckets& buckets = AttributeBuckets;
  buckets.Add(ComplexWith(7, 0x50, 1));
  buckets.Add(ComplexWith(7, 0x40, 2));
  buckets.Add(ComplexWith(7, 0x60, 3));  // "=" on '!': no merge for its type
  buckets.Add(ComplexWith(7, 0x50, 4));
  buckets.Add(new P_FSItemSimple(8, 5));  // alone in its bucket
  buckets.MergeByType();
  const auto& merged = buckets.Bucket(7);
  ASSERT_EQ(merged.size(), 3u);
  EXPECT_EQ(merged[0]->GetFlags(), 0x40);
  EXPECT_EQ(merged[0]->GetValueCount(), 1);
  EXPECT_EQ(merged[1]->GetFlags(), 0x50);
  EXPECT_EQ(merged[1]->GetValueCount(), 2);
  EXPECT_EQ(merged[2]->GetFlags(), 0x60);
  EXPECT_EQ(merged[2]->GetValues().front()->GetPlainValue(), 3);
  ASSERT_EQ(buckets.Bucket(8).size(), 1u);
  EXPECT_NE(dynamic_cast<P_FSItemSimple*>(buckets.Bucket(8)[0]), nullptr);
  for (int attribute : {7, 8})
    for (P_FSItem* item : buckets.Bucket(attribute)) delete item;
  buckets.Clear();
  P_FSItemSimple outside(551, 1);
  EXPECT_FALSE(buckets.Add(&outside));
}

TEST_F(RegistryTest, AttributeTypeLinesLoseTheirLineEnds) {
  EXPECT_EQ(P_FSCompiler::AttributeTypeNames(), (std::list<std::string>{"ADJUNCT", "XCOMP"}));
}

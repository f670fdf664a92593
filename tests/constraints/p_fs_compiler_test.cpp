// Compiling functional descriptions into registered items under choice
// contexts, and the item registry: sharing, its limit, the per-sentence
// reset and the dump.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "constraints/fsitem_lookup_table.h"
#include "constraints/p_attribute_buckets.h"
#include "constraints_fixture.h"
#include "core/trace_log.h"

using namespace ctest;

namespace {

using CompilerTest = ConstraintsTest;
using RegistryTest = ConstraintsTest;

std::string Listing() {
  std::ostringstream out;
  P_FSCompiler::PrintTables(out);
  return out.str();
}

std::vector<uint16_t> Compile(const std::string& description) {
  int8_t choices = 0;
  return P_FSCompiler::CompileDescription(description, choices);
}

// The registered items of the ids, sorted: "NUM=sg" for a simple item,
// "CASE f00: nom(0,1) acc(0,-1)" for a complex one, a link written "!" or
// "^" with its attribute and "/path" for a path.
std::vector<std::string> RenderIds(const std::vector<uint16_t>& ids) {
  std::vector<std::string> rendered;
  for (uint16_t id : ids) {
    const P_FSItem& item = *fsitem_lookup_table.entries[id - 1];
    std::string& text = rendered.emplace_back(Name(item.attribute));
    if (const auto* simple = dynamic_cast<const P_FSItemSimple*>(&item)) {
      text += "=" + Name(simple->value);
      continue;
    }
    char flags[8];
    std::snprintf(flags, sizeof flags, " f%02x:", item.GetFlags());
    text += flags;
    for (const P_ConVal* value : item.GetValues()) {
      const uint8_t type = value->GetValueType();
      text += " " + (dynamic_cast<const P_ConValFDLink*>(value)
                         ? (type & kLinkToDaughter ? "!" : "^") + Name(value->GetLinkValue()) +
                               (type & kLinkPath ? "/path" : "")
                         : value->ToString());
      std::string literals;
      for (int8_t literal : value->context) literals += (literals.empty() ? "" : ",") + std::to_string(literal);
      text += "(" + literals + ")";
    }
  }
  std::sort(rendered.begin(), rendered.end());
  return rendered;
}

}  // namespace

TEST_F(CompilerTest, DescriptionsCompileToContextedItems) {
  const std::tuple<const char*, std::vector<std::string>, int> cases[] = {
      {"  ^  NUM   =   sg  ", {"NUM=sg"}, 0},
      {"^XCOMP = !", {"XCOMP f80: !(0)"}, 0},
      {"! $ ^ADJUNCT", {"ADJUNCT f88: !(0)"}, 0},
      {"^SUBJ NUM = sg", {"SUBJ NUM f40: sg(0)"}, 0},
      {"^A = ^SUBJ NUM", {"A f00: ^SUBJ NUM/path(0)"}, 0},
      {"^A = {x, y}", {"A f00: {x,y}(0)"}, 0},
      {"^FORM = can", {"FORM=can"}, 0},
      {"[^CASE = nom | ^CASE = acc]", {"CASE f00: nom(0,1) acc(0,-1)"}, 1},
      {"[^CASE = nom || ^CASE = acc]", {"CASE f00: nom(0,1) acc(0,-1)"}, 1},
      {"^A = x && ^B = y", {"A=x", "B=y"}, 0},
      {"[^A = x | ^A = y | ^A = z]", {"A f00: x(0,1) y(0,-1) z(0,-1)"}, 1},
      {"[[^A = x | ^A = y] | ^A = z]", {"A f00: x(0,1,2) y(0,1,-2) z(0,-1)"}, 2},
      {"~[^A = x]", {"A f18: x(0)"}, 0},
      {"~^A = x", {"A f18: x(0)"}, 0},
      {"~[^A = x | ^B = y]", {"A f18: x(0)", "B f18: y(0)"}, 0},
      {"~[^A = x , ^B = y]", {"A f18: x(0,1)", "B f18: y(0,-1)"}, 1},
      {"^TENSE =c pres, ^TENSE = past", {"TENSE f00: past(0)", "TENSE f10: pres(0)"}, 0},
      {"^A", {}, 0},
      {"^A = x, =y", {"A=x"}, 0},
      {"~ , ^A = x", {"A=x"}, 0},
      {"^A = x, ~", {"A=x"}, 0},
  };
  for (const auto& [description, items, choiceCount] : cases) {
    P_FSCompiler::Init();
    int8_t choices = -1;
    const std::vector<uint16_t> ids = P_FSCompiler::CompileDescription(description, choices);
    EXPECT_FALSE(P_FSCompiler::LastDescriptionFailed()) << description;
    EXPECT_EQ(choices, choiceCount) << description;
    EXPECT_EQ(RenderIds(ids), items) << description;
  }
  EXPECT_TRUE(messages_.messages().empty());
  // Equal descriptions share their items.
  int8_t choices = 0;
  EXPECT_EQ(P_FSCompiler::CompileDescription("^NUM = sg, ^PERS = 3", choices),
            P_FSCompiler::CompileDescription("^PERS=3 && ^NUM=sg", choices));
}

TEST_F(CompilerTest, RuleAlternativesExcludeEachOther) {
  int8_t choices = 0;
  const auto positions = P_FSCompiler::CompileRuleAnnotations(
      {{"^A = x", "^SUBJ = !"}, {"^A = y", "^SUBJ = !"}, {"[^B = p | ^B = q]", "^OBJ = !"}}, choices);
  EXPECT_EQ(choices, 3);
  ASSERT_EQ(positions.size(), 2u);
  EXPECT_EQ(RenderIds(positions[0]),
            (std::vector<std::string>{"A f00: x(2) y(1,-2)", "B f00: p(-1,-2,3) q(-1,-2,-3)"}));
  EXPECT_EQ(RenderIds(positions[1]), (std::vector<std::string>{"OBJ f00: !(-1,-2)", "SUBJ f00: !(2) !(1,-2)"}));
  // Positions missing from an alternative add nothing, extra ones are
  // ignored; both are logged.
  uint64_t lines = TraceLogLineCount();
  const auto unequal =
      P_FSCompiler::CompileRuleAnnotations({{"^A = x", "^B = y"}, {"^A = z"}, {"^A = w", "^B = v", "^C = u"}}, choices);
  EXPECT_EQ(TraceLogLineCount(), lines + 2);
  ASSERT_EQ(unequal.size(), 2u);
  EXPECT_EQ(RenderIds(unequal[0]), std::vector<std::string>{"A f00: x(2) z(1,-2) w(-1,-2)"});
  EXPECT_EQ(RenderIds(unequal[1]), std::vector<std::string>{"B f00: y(2) v(-1,-2)"});
  // No alternatives give nothing.
  lines = TraceLogLineCount();
  EXPECT_TRUE(P_FSCompiler::CompileRuleAnnotations({}, choices).empty());
  EXPECT_EQ(choices, 0);
  EXPECT_EQ(TraceLogLineCount(), lines + 1);
}

TEST_F(CompilerTest, DescriptionsPastALimitFailWhole) {
  std::string description;
  for (int k = 0; k < 127; ++k) description += "[^A = x | ^A = y],";
  int8_t choices = 0;
  EXPECT_FALSE(P_FSCompiler::CompileDescription(description, choices).empty());
  EXPECT_EQ(choices, 127);
  // The 128th choice fails the description and stores nothing.
  description += "[^A = x | ^A = y]";
  const int16_t before = fsitem_lookup_table.count;
  EXPECT_TRUE(P_FSCompiler::CompileDescription(description, choices).empty());
  EXPECT_TRUE(P_FSCompiler::LastDescriptionFailed());
  EXPECT_EQ(messages_.messages().size(), 1u);
  EXPECT_EQ(fsitem_lookup_table.count, before);
  EXPECT_TRUE(P_FSCompiler::CompileRuleAnnotations({129, std::vector<std::string>{"^A = x"}}, choices).empty());
  EXPECT_EQ(messages_.messages().size(), 2u);

  // A name that no longer fits the symbol table.
  P_FSCompiler::Init();
  for (int k = 0; P_SymbolTable::Intern("n" + std::to_string(k)) != 0;) ++k;
  messages_.clear();
  EXPECT_TRUE(P_FSCompiler::CompileDescription("^GF = x, ^BRANDNEW = y", choices).empty());
  EXPECT_TRUE(P_FSCompiler::LastDescriptionFailed());
  EXPECT_FALSE(messages_.messages().empty());
  EXPECT_EQ(fsitem_lookup_table.count, 0);
}

TEST_F(RegistryTest, EqualItemsAreStoredOnce) {
  EXPECT_EQ(P_FSCompiler::RegisterItem(new P_FSItemSimple(3, 4)), 1);
  EXPECT_EQ(P_FSCompiler::RegisterItem(Complex(3, 0x10, {Plain(4)})), 2);
  EXPECT_EQ(P_FSCompiler::RegisterItem(Complex(3, 0x10, {Plain(4)})), 2);
  EXPECT_TRUE(
      std::unique_ptr<P_FSItem>(P_FSCompiler::CloneRegisteredItem(2))->Equals(fsitem_lookup_table.entries[1].get()));
  for (int16_t missing : {0, 4, -1}) EXPECT_EQ(P_FSCompiler::CloneRegisteredItem(missing), nullptr);
  P_FSItemSimple outside(551, 1);
  EXPECT_FALSE(AttributeBuckets.Add(&outside));
  EXPECT_EQ(P_FSCompiler::AttributeTypeNames(), (std::list<std::string>{"ADJUNCT", "XCOMP"}));  // line ends dropped
}

TEST_F(RegistryTest, TheSentenceResetRemovesOnlyTheSentencesItems) {
  Compile("^NUM = sg, ^PERS = 3, [^CASE = nom | ^CASE = acc]");
  const int16_t initial = fsitem_lookup_table.count;
  P_FSCompiler::MarkInitialItems();
  const std::string before = Listing();
  EXPECT_EQ(Compile("^WORD = boy, ^NUM = pl, ^PERS = 3").size(), 3u);
  const uint16_t boy = Id("boy");
  P_FSCompiler::ResetForSentence();
  EXPECT_EQ(Name(boy), "");
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
  EXPECT_TRUE(Compile("^NEW = thing").empty());
  EXPECT_TRUE(P_FSCompiler::LastDescriptionFailed());
}

TEST_F(RegistryTest, DumpsRoundTripAndBrokenOnesLeaveTheRegistryAlone) {
  Compile("^NUM = sg, ^SUBJ = !, ^TENSE =c pres, ! $ ^ADJUNCT");
  Compile("[^CASE = nom | ^CASE = acc], ^A = {x, y}, ~[^B = p , ^B = q], ^C = ^SUBJ NUM");
  const int16_t count = fsitem_lookup_table.count;
  const std::string before = Listing();
  ASSERT_TRUE(P_FSCompiler::WriteDump());
  ASSERT_TRUE(P_SymbolTable::WriteDump());
  const std::vector<unsigned char> bytes = ReadBytes(data_.File("items.dump"));
  EXPECT_EQ(std::vector<unsigned char>(bytes.begin(), bytes.begin() + 4),
            (std::vector<unsigned char>{100, 0, static_cast<unsigned char>(count), 0}));
  P_FSCompiler::Init();
  EXPECT_EQ(fsitem_lookup_table.count, 0);
  ASSERT_TRUE(P_FSCompiler::ReadDump());
  ASSERT_TRUE(P_SymbolTable::ReadDump());
  EXPECT_EQ(fsitem_lookup_table.count, count);
  EXPECT_EQ(Listing(), before);
  EXPECT_TRUE(messages_.messages().empty());

  std::vector<std::vector<unsigned char>> broken;
  for (size_t cut : {size_t{0}, size_t{3}, size_t{6}, bytes.size() - 2})
    broken.emplace_back(bytes.begin(), bytes.begin() + cut);
  broken.push_back(bytes);
  broken.back()[4] = 7;  // the first item's tag
  broken.push_back(bytes);
  broken.back()[2] = 0xFF;  // a count beyond the items written
  Compile("^KEPT = yes");
  const std::string kept = Listing();
  for (const auto& dump : broken) {
    WriteBytes(data_.File("broken.dump"), dump);
    SetConfigValue("P_FSInitializerDump", data_.File("broken.dump"));
    messages_.clear();
    EXPECT_FALSE(P_FSCompiler::ReadDump()) << dump.size();
    EXPECT_EQ(messages_.messages().size(), 1u);
    EXPECT_EQ(Listing(), kept);
  }
}

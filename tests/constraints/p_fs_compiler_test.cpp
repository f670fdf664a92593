#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "constraints/fsitem_lookup_table.h"
#include "constraints/p_symbol_table.h"
#include "constraints_fixture.h"
#include "core/trace_log.h"

namespace {

class CompilerTest : public ::testing::Test {
 protected:
  ConstraintsData data_;
  MessageRecorder messages_;
};

std::string Name(uint16_t id) { return P_SymbolTable::GetString(static_cast<int16_t>(id)); }

std::string RenderValue(const P_ConVal& value) {
  std::string text;
  if (dynamic_cast<const P_ConValFDLink*>(&value)) {
    text = ((value.GetValueType() & kLinkToDaughter) ? "!" : "^") + Name(value.GetLinkValue());
    if (value.GetValueType() & kLinkPath) text += "/path";
  } else {
    text = value.ToString();
  }
  text += "(";
  bool first = true;
  for (int8_t literal : value.context) {
    text += (first ? "" : ",") + std::to_string(literal);
    first = false;
  }
  return text + ")";
}

// "NUM=sg" for a simple item, "CASE f00: nom(0,1) acc(0,-1)" for a complex one.
std::string Render(const P_FSItem& item) {
  if (const auto* simple = dynamic_cast<const P_FSItemSimple*>(&item)) return Name(item.attribute) + "=" + Name(simple->value);
  char flags[8];
  std::snprintf(flags, sizeof flags, " f%02x:", item.GetFlags());
  std::string text = Name(item.attribute) + flags;
  for (const P_ConVal* value : item.GetValues()) text += " " + RenderValue(*value);
  return text;
}

std::vector<std::string> RenderIds(const std::vector<uint16_t>& ids) {
  std::vector<std::string> rendered;
  for (uint16_t id : ids) rendered.push_back(Render(*fsitem_lookup_table.entries[id - 1]));
  return rendered;
}

// The expected renderings in registration order: by attribute id, keeping
// the given order for one attribute.
std::vector<std::string> InIdOrder(std::vector<std::string> expected) {
  auto idOf = [](const std::string& text) {
    const size_t end = std::min(text.find('='), text.find(" f"));
    return P_SymbolTable::Intern(text.substr(0, end));
  };
  std::stable_sort(expected.begin(), expected.end(),
                   [&](const std::string& a, const std::string& b) { return idOf(a) < idOf(b); });
  return expected;
}

}  // namespace

TEST_F(CompilerTest, DescriptionsCompileToContextedItems) {
  struct Case {
    const char* description;
    std::vector<std::string> items;
    int choices;
  } cases[] = {
      {"^NUM = sg", {"NUM=sg"}, 0},
      {"  ^  NUM   =   sg  ", {"NUM=sg"}, 0},
      {"^SUBJ = !", {"SUBJ f00: !(0)"}, 0},
      {"^XCOMP = !", {"XCOMP f80: !(0)"}, 0},
      {"^TENSE =c pres", {"TENSE f10: pres(0)"}, 0},
      {"!SUBJ =c sg", {"SUBJ f30: sg(0)"}, 0},
      {"^A =c ^B", {"A f10: ^B(0)"}, 0},
      {"! $ ^ADJUNCT", {"ADJUNCT f88: !(0)"}, 0},
      {"^SUBJ NUM = sg", {"SUBJ NUM f40: sg(0)"}, 0},
      {"^A = ^SUBJ NUM", {"A f00: ^SUBJ NUM/path(0)"}, 0},
      {"^A = {x, y}", {"A f00: {x,y}(0)"}, 0},
      {"^FORM = can", {"FORM=can"}, 0},
      {"[^CASE = nom | ^CASE = acc]", {"CASE f00: nom(0,1) acc(0,-1)"}, 1},
      {"[^CASE = nom || ^CASE = acc]", {"CASE f00: nom(0,1) acc(0,-1)"}, 1},
      {"^A = x && ^B = y", {"A=x", "B=y"}, 0},
      {"^A = x , ^B = y", {"A=x", "B=y"}, 0},
      {"^A = x || ^A = y", {"A f00: x(0) y(0)"}, 0},
      {"[^A = x]", {"A=x"}, 0},
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
  };
  for (const Case& c : cases) {
    P_FSCompiler::Init();
    int8_t choices = -1;
    const std::vector<uint16_t> ids = P_FSCompiler::CompileDescription(c.description, choices);
    EXPECT_FALSE(P_FSCompiler::LastDescriptionFailed()) << c.description;
    EXPECT_EQ(choices, c.choices) << c.description;
    EXPECT_EQ(RenderIds(ids), InIdOrder(c.items)) << c.description;
  }
  EXPECT_TRUE(messages_.messages().empty());
}

TEST_F(CompilerTest, EqualDescriptionsShareTheirItems) {
  int8_t choices = 0;
  const std::vector<uint16_t> first = P_FSCompiler::CompileDescription("^NUM = sg, ^PERS = 3", choices);
  const std::vector<uint16_t> second = P_FSCompiler::CompileDescription("^PERS=3 && ^NUM=sg", choices);
  EXPECT_EQ(first, second);
  EXPECT_EQ(fsitem_lookup_table.count, 2);
}

TEST_F(CompilerTest, RuleAlternativesExcludeEachOther) {
  int8_t choices = 0;
  const auto positions = P_FSCompiler::CompileRuleAnnotations(
      {{"^A = x", "^SUBJ = !"}, {"^A = y", "^SUBJ = !"}, {"[^B = p | ^B = q]", "^OBJ = !"}}, choices);
  EXPECT_EQ(choices, 3);
  ASSERT_EQ(positions.size(), 2u);
  EXPECT_EQ(RenderIds(positions[0]), InIdOrder({"A f00: x(2) y(1,-2)", "B f00: p(-1,-2,3) q(-1,-2,-3)"}));
  EXPECT_EQ(RenderIds(positions[1]), InIdOrder({"SUBJ f00: !(2) !(1,-2)", "OBJ f00: !(-1,-2)"}));

  // The next description starts its choices afresh.
  EXPECT_EQ(RenderIds(P_FSCompiler::CompileDescription("[^C = u | ^C = v]", choices)),
            std::vector<std::string>{"C f00: u(0,1) v(0,-1)"});
  EXPECT_EQ(choices, 1);
}

TEST_F(CompilerTest, RuleWithOneAlternativeOrNone) {
  int8_t choices = -1;
  const auto one = P_FSCompiler::CompileRuleAnnotations({{"[^A = x | ^A = y]"}}, choices);
  EXPECT_EQ(choices, 1);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(RenderIds(one[0]), std::vector<std::string>{"A f00: x(0,1) y(0,-1)"});

  const uint64_t lines = TraceLogLineCount();
  EXPECT_TRUE(P_FSCompiler::CompileRuleAnnotations({}, choices).empty());
  EXPECT_EQ(choices, 0);
  EXPECT_EQ(TraceLogLineCount(), lines + 1);
}

TEST_F(CompilerTest, UnequalAlternativesAreCompiledWhereTheyExist) {
  int8_t choices = 0;
  const uint64_t lines = TraceLogLineCount();
  const auto positions =
      P_FSCompiler::CompileRuleAnnotations({{"^A = x", "^B = y"}, {"^A = z"}, {"^A = w", "^B = v", "^C = u"}}, choices);
  EXPECT_EQ(TraceLogLineCount(), lines + 2);
  ASSERT_EQ(positions.size(), 2u);
  EXPECT_EQ(RenderIds(positions[0]), std::vector<std::string>{"A f00: x(2) z(1,-2) w(-1,-2)"});
  EXPECT_EQ(RenderIds(positions[1]), std::vector<std::string>{"B f00: y(2) v(-1,-2)"});
}

TEST_F(CompilerTest, TooManyChoicesFailTheDescription) {
  std::string description;
  for (int k = 0; k < 128; ++k) description += "[^A = x | ^A = y],";
  int8_t choices = 0;
  const int16_t before = fsitem_lookup_table.count;
  EXPECT_TRUE(P_FSCompiler::CompileDescription(description, choices).empty());
  EXPECT_TRUE(P_FSCompiler::LastDescriptionFailed());
  EXPECT_EQ(messages_.messages().size(), 1u);
  EXPECT_EQ(fsitem_lookup_table.count, before);

  std::vector<std::vector<std::string>> alternatives(129, std::vector<std::string>{"^A = x"});
  messages_.clear();
  EXPECT_TRUE(P_FSCompiler::CompileRuleAnnotations(alternatives, choices).empty());
  EXPECT_EQ(messages_.messages().size(), 1u);

  // 127 choices still fit.
  description.clear();
  for (int k = 0; k < 127; ++k) description += "[^A = x | ^A = y],";
  EXPECT_FALSE(P_FSCompiler::CompileDescription(description, choices).empty());
  EXPECT_EQ(choices, 127);
}

TEST_F(CompilerTest, AFullSymbolTableFailsTheDescription) {
  for (int k = 0; P_SymbolTable::Intern("n" + std::to_string(k)) != 0; ++k) {
  }
  messages_.clear();
  int8_t choices = 0;
  EXPECT_TRUE(P_FSCompiler::CompileDescription("^GF = x, ^BRANDNEW = y", choices).empty());
  EXPECT_TRUE(P_FSCompiler::LastDescriptionFailed());
  EXPECT_FALSE(messages_.messages().empty());
  EXPECT_EQ(fsitem_lookup_table.count, 0);
}

TEST_F(CompilerTest, SplittingEquations) {
  struct Case {
    const char* equation;
    const char *left, *op, *right;
  } cases[] = {
      {"^NUM=sg", "^NUM", "=", "sg"},       {"^TENSE=c pres", "^TENSE", "=c", "pres"},
      {"^FORM=can", "^FORM", "=", "can"},   {"^A=c{x,y}", "^A", "=c", "{x,y}"},
      {"^A=c^B", "^A", "=c", "^B"},         {"^A=c'x'", "^A", "=c", "'x'"},
      {"^A=c", "^A", "=c", ""},             {"!$^ADJUNCT", "^ADJUNCT", "$", "!"},
  };
  for (const Case& c : cases) {
    std::string left, op, right;
    ASSERT_TRUE(P_FSCompiler::SplitEquation(c.equation, left, op, right)) << c.equation;
    EXPECT_EQ(left, c.left) << c.equation;
    EXPECT_EQ(op, c.op) << c.equation;
    EXPECT_EQ(right, c.right) << c.equation;
  }
  std::string left, op, right;
  EXPECT_FALSE(P_FSCompiler::SplitEquation("^NUM sg", left, op, right));
}

TEST_F(CompilerTest, TokensAndBlanks) {
  struct Case {
    const char* token;
    const char* trimmed;
  } cases[] = {{"  ^ SUBJ  NUM  =  sg ", "^SUBJ NUM=sg"}, {"^A = { x , y }", "^A={x,y}"}, {"^TENSE  =c  pres", "^TENSE=c pres"}};
  for (const Case& c : cases) EXPECT_EQ(P_FSCompiler::TrimBlanks(c.token), c.trimmed);

  const std::string text = " [^A = {x,y} | ~^B=z] ,^C=w";
  std::vector<std::string> tokens;
  size_t pos = 0;
  for (std::string token = P_FSCompiler::NextToken(text, pos); !token.empty(); token = P_FSCompiler::NextToken(text, pos))
    tokens.push_back(token);
  EXPECT_EQ(tokens, (std::vector<std::string>{"[", "^A = {x,y}", "|", "~", "^B=z", "]", ",", "^C=w"}));
  EXPECT_EQ(P_FSCompiler::NormaliseOperators("a&&b||c|d&e"), "a,b|c|d&e");
}

TEST_F(CompilerTest, NegationRewriting) {
  using P_FSCompiler::ExpandNegations;
  const int16_t O = P_FSCompiler::kOpenGroup, C = P_FSCompiler::kCloseGroup, A = P_FSCompiler::kAlternative,
                K = P_FSCompiler::kConjunction, N = P_FSCompiler::kNegation, E = P_FSCompiler::kEndOfDescription;
  struct Case {
    std::vector<int16_t> in, out;
  } cases[] = {
      {{N, O, 1, A, 2, C, E}, {N, 1, K, N, 2, E}},
      {{N, O, 1, K, 2, C, E}, {O, N, 1, A, N, 2, C, E}},
      {{N, O, 1, C, E}, {N, 1, E}},
      {{N, 1, E}, {N, 1, E}},
      {{N, E}, {E}},                              // nothing to negate
      {{1, K, N}, {1, K}},                        // a '~' at the very end
      {{N, O, O, 1, A, 2, C, C, E}, {O, O, 1, A, 2, C, C, E}},  // nested groups are not negated
  };
  for (const Case& c : cases) EXPECT_EQ(ExpandNegations(c.in), c.out);
}

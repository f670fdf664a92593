#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/symbol_table.h"
#include "resources/lexicon.h"

namespace {

using Parser = std::unique_ptr<CEquationOperand> (*)(const WString&);

struct OperandCase {
  const char* name;
  Parser parse;
  WString text;
  char kind;
  std::vector<WString> path;
};

std::vector<WString> PathNames(const CEquationOperand& operand) {
  std::vector<WString> names;
  for (SymbolId id : operand.path) names.push_back(GetSymbolName(id));
  return names;
}

TEST(LexiconOperands, TextsGiveKindAndPath) {
  const Parser plain = &CLexicon::ParseOperand;
  const Parser rule = &CLexicon::ParseRuleOperand;
  const Parser angles = &CLexicon::ParseRuleOperandKeepAngles;
  const std::vector<OperandCase> cases = {
      {"mother alone", plain, u"^", '^', {}},
      {"own structure alone", plain, u" ! ", '!', {}},
      {"mother path of two attributes", plain, u"^SUBJ NUM", '^', {u"SUBJ", u"NUM"}},
      {"value with an inner blank", plain, u"very big", 'v', {u"very", u"big"}},
      {"quoted PRED with arguments", plain, u"'de<SUBJ,OBJ>'", 'v', {u"de", u"SUBJ", u"OBJ"}},
      {"brace set of values", plain, u"{NOM, OBL}", 'v', {u"NOM", u"OBL"}},
      {"bare word", plain, u"sg", 'v', {u"sg"}},
      {"rule operand of one unit", rule, u"x", 's', {u"x"}},
      {"rule operand with a form letter", rule, u"m::SUBJ.NUM.x", 'm', {u"SUBJ", u"NUM", u"x"}},
      {"rule operand dotted path", rule, u"OBJ.CASE", 's', {u"OBJ", u"CASE"}},
      {"rule operand value list is cut at angles", rule, u"{'de<SUBJ,OBJ>', x}", 'v', {u"de", u"SUBJ", u"OBJ", u"x"}},
      {"angle-keeping value list keeps a member whole", angles, u"{de<SUBJ,OBJ>, x}", 'v', {u"de<SUBJ,OBJ>", u"x"}},
      {"angle-keeping path", angles, u"a::b.c", 'a', {u"b", u"c"}},
  };
  for (const OperandCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto operand = c.parse(c.text);
    ASSERT_NE(operand, nullptr);
    EXPECT_EQ(operand->kind, c.kind);
    EXPECT_EQ(PathNames(*operand), c.path);
  }
}

TEST(LexiconOperands, EmptyAndBlankTextsGiveNothing) {
  for (const WString& text : {WString(), WString(u"   "), WString(u"\t\r\n")}) {
    EXPECT_EQ(CLexicon::ParseOperand(text), nullptr);
    EXPECT_EQ(CLexicon::ParseRuleOperand(text), nullptr);
    EXPECT_EQ(CLexicon::ParseRuleOperandKeepAngles(text), nullptr);
  }
}

TEST(LexiconOperands, NewNamesAreInterned) {
  const WString fresh = u"NameNeverSeenBeforeInAnyTest";
  ASSERT_EQ(GetSymbolId(fresh, false), kNoSymbol);
  auto operand = CLexicon::ParseOperand(u"^" + fresh);
  ASSERT_NE(operand, nullptr);
  ASSERT_EQ(operand->path.size(), 1u);
  EXPECT_EQ(GetSymbolId(fresh, false), operand->path[0]);
}

}  // namespace

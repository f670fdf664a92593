// The rule language of the compiled grammar: macro expansion, the rule
// tokeniser, and rule-group expansion with empty-production removal and
// category merging.
#include "tests/resources/p_grammar_test_fixture.h"

#include "core/file_reader.h"

namespace {

using Lines = std::vector<std::string>;

class RuleLanguageTest : public CompiledGrammarTest {};

TEST_F(RuleLanguageTest, TokeniserCutsRulesIntoDaughtersAndOperators) {
  struct Case {
    std::u16string text;
    Lines expected;
  };
  const Case cases[] = {
      {u"S -> NP: ^SUBJ=!; VP: ^=!; .", {"S -> NP VP"}},
      {u"VP -> v: ^=!; ( NP: ^OBJ=!; ) .", {"VP -> v ( NP )"}},
      {u"X -> [ A: ; ]#2#4 .", {"X -> [ A ] # 2 # 4"}},
      // A comment line between rules and a comment after a daughter.
      {u"A -> b: ;.\r\n/ a comment. with -> and :\r\nB -> c: ; / dropped: ;\r\n d: ; .", {"A -> b", "B -> c d"}},
      // Symbols before the '-' of their rule and an unclosed last rule go.
      {u"stray: ; A -> b: ; . B -> c: ;", {"A -> b"}},
      // An annotation runs to ';' whatever it holds.
      {u"A -> b: ^X=y. [|] / #; .", {"A -> b"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DescribeRaw(P_Grammar::TokenizeRuleText(c.text)), c.expected) << ToUtf8(c.text);
  }
}

TEST_F(RuleLanguageTest, TokeniserKeepsAnnotationsTrimmedAndLineEndsAsBlanks) {
  const P_RawProductionList list = P_Grammar::TokenizeRuleText(u"S -> NP:  ^SUBJ=! ;VP: ^SUBJ\r\nNUM=sg;.");
  ASSERT_EQ(list.size(), 1u);
  ASSERT_EQ(list[0]->Rhs.size(), 3u);
  EXPECT_EQ(list[0]->Rhs[0]->Annotation, u"^SUBJ=!");
  EXPECT_EQ(list[0]->Rhs[1]->Annotation, u"^SUBJ  NUM=sg");
  EXPECT_EQ(list[0]->Rhs[2]->Flag, 1);
  EXPECT_EQ(list[0]->Lhs->Text, u"S");
}

TEST_F(RuleLanguageTest, MacrosAreExpandedUpToBlankOrFullStop) {
  struct Case {
    std::u16string rules;
    std::u16string expected;
  };
  const std::u16string macros = u"@SUBJ = ^SUBJ=!, ^SUBJ CASE=nom .\r\n@HEAD\r\n= ^=! .\r\n@SUBJ = ignored .";
  const Case cases[] = {
      {u"S -> NP: @SUBJ ; VP: @HEAD ; .", u"S -> NP: ^SUBJ=!, ^SUBJ CASE=nom ; VP: ^=! ; ."},
      {u"A -> b: @HEAD.", u"A -> b: ^=!."},
      {u"A -> b: @HEAD", u"A -> b: ^=!"},
  };
  for (const Case& c : cases) {
    WriteUtf16File(File("m.txt"), macros);
    WriteUtf16File(File("r.txt"), c.rules);
    auto grammar = IdleGrammar();
    EXPECT_TRUE(grammar->ExpandMacros(File("r.txt"), File("m.txt"), File("out.lfg"), false));
    CFileReader reader(64);
    EXPECT_EQ(reader.ReadAll(File("out.lfg")), c.expected);
  }
}

TEST_F(RuleLanguageTest, UnknownMacroFailsTheCompileWithItsName) {
  MessageRecorder messages;
  // The reference ends at ';' only after a blank, so "@HEAD;" names no macro.
  auto grammar = CompileGrammar(u"S' -> S: @HEAD; .", u"@HEAD = ^=! .");
  EXPECT_TRUE(grammar->HasFailed());
  ASSERT_FALSE(messages.messages().empty());
  EXPECT_NE(messages.messages()[0].text.find(u"@HEAD;"), std::u16string::npos);
}

struct ExpansionCase {
  const char* name;
  std::u16string rules;
  Lines expected;
};

TEST_F(RuleLanguageTest, GroupsExpandIntoGeneratedCategories) {
  const ExpansionCase cases[] = {
      {"optional", u"VP -> V: ; ( NP: ; ) PP: ; .", {"VP -> V P_1 PP", "VP -> V PP", "P_1 -> NP"}},
      {"optional of two", u"NP -> ( Det: ; Adj: ; ) N: ; .", {"NP -> P_1 N", "NP -> N", "P_1 -> Det Adj"}},
      {"one or more", u"NP -> [ Adj: ; ]+ N: ; .", {"NP -> P_1 N", "P_1 -> Adj", "P_1 -> Adj P_1"}},
      {"zero or more", u"NP -> [ Adj: ; ]* N: ; .", {"NP -> P_1 N", "NP -> N", "P_1 -> Adj", "P_1 -> Adj P_1"}},
      {"one of", u"X -> [ NP: ; | PP: ; ] .", {"X -> P_1", "P_1 -> NP", "P_1 -> PP"}},
      {"any order", u"X -> [ NP: ; % PP: ; ] .", {"X -> P_1", "P_1 -> NP PP", "P_1 -> PP NP"}},
      {"plain group", u"X -> [ A: ; B: ; ] c: ; .", {"X -> P_1 c", "P_1 -> A B"}},
      {"counted", u"X -> [ Adj: ; ]#1#3 .",
       {"X -> P_1", "P_2 -> Adj", "P_1 -> P_2", "P_1 -> P_2 P_2", "P_1 -> P_2 P_2 P_2"}},
      // #0#2: the empty form of P_1 is removed again and X gets its twin.
      {"counted from zero", u"X -> [ A: ; ]#0#2 b: ; .",
       {"X -> P_1 b", "X -> b", "P_2 -> A", "P_1 -> P_2", "P_1 -> P_2 P_2"}},
      {"nested", u"X -> ( a: ; [ b: ; | c: ; ] ) d: ; .",
       {"X -> P_2 d", "X -> d", "P_1 -> b", "P_1 -> c", "P_2 -> a P_1"}},
      {"optional after operator stays", u"X -> ( a: ; ) * b: ; .", {"X -> P_1 * b", "X -> * b", "P_1 -> a"}},
  };
  for (const ExpansionCase& c : cases) {
    auto grammar = IdleGrammar();
    P_RawProductionList list = P_Grammar::TokenizeRuleText(c.rules);
    grammar->ExpandRuleGroups(list);
    EXPECT_EQ(DescribeRaw(list), c.expected) << c.name;
  }
}

TEST_F(RuleLanguageTest, EmptyProductionsAreRemovedAndUsersGetTwins) {
  const ExpansionCase cases[] = {
      {"only empty", u"A -> B: ; c: ; . B -> .", {"A -> c"}},
      {"empty and other", u"A -> B: ; c: ; . B -> .B -> d: ; .", {"A -> B c", "A -> c", "B -> d"}},
      {"used twice: first occurrence only", u"A -> B: ; B: ; . B -> . B -> d: ; .",
       {"A -> B B", "A -> B", "B -> d"}},
      {"chain of empties", u"A -> B: ; x: ; . B -> C: ; . C -> .", {"A -> x"}},
      {"self-reference settles", u"A -> B: ; x: ; . B -> B: ; y: ; . B -> .",
       {"A -> B x", "A -> x", "B -> B y", "B -> y"}},
  };
  for (const ExpansionCase& c : cases) {
    auto grammar = IdleGrammar();
    P_RawProductionList list = P_Grammar::TokenizeRuleText(c.rules);
    grammar->ExpandRuleGroups(list);
    EXPECT_EQ(DescribeRaw(list), c.expected) << c.name;
  }
}

TEST_F(RuleLanguageTest, EqualCategoriesAreMergedIntoTheFirst) {
  const ExpansionCase cases[] = {
      {"same optional group twice", u"A -> ( n: ; ) x: ; . B -> ( n: ; ) y: ; .",
       {"A -> P_1 x", "A -> x", "B -> P_1 y", "B -> y", "P_1 -> n"}},
      {"a later category merges into the start", u"S' -> a: ; . T -> a: ; . U -> T: ; .",
       {"S' -> a", "U -> S'"}},
      {"the start category is never removed", u"T -> a: ; . S' -> a: ; . U -> S': ; .",
       {"T -> a", "S' -> a", "U -> S'"}},
      {"different annotations stay apart", u"A -> n: ^X=y; . B -> n: ^X=z; .", {"A -> n", "B -> n"}},
  };
  for (const ExpansionCase& c : cases) {
    auto grammar = IdleGrammar();
    P_RawProductionList list = P_Grammar::TokenizeRuleText(c.rules);
    grammar->ExpandRuleGroups(list);
    EXPECT_EQ(DescribeRaw(list), c.expected) << c.name;
  }
}

TEST_F(RuleLanguageTest, MergedReferencesKeepTheirOwnAnnotation) {
  auto grammar = IdleGrammar();
  P_RawProductionList list = P_Grammar::TokenizeRuleText(u"A -> n: ; . B -> n: ; . S' -> B: ^OBJ=!; .");
  grammar->ExpandRuleGroups(list);
  ASSERT_EQ(DescribeRaw(list), (Lines{"A -> n", "S' -> A"}));
  EXPECT_EQ(list[1]->Rhs[0]->Annotation, u"^OBJ=!");
}

TEST_F(RuleLanguageTest, GeneratedDaughtersCarryTheHeadAnnotation) {
  auto grammar = IdleGrammar();
  P_RawProductionList list = P_Grammar::TokenizeRuleText(u"VP -> v: ^=!; ( NP: ^OBJ=!; ) .");
  grammar->ExpandRuleGroups(list);
  ASSERT_EQ(DescribeRaw(list), (Lines{"VP -> v P_1", "VP -> v", "P_1 -> NP"}));
  EXPECT_EQ(list[0]->Rhs[1]->Annotation, u"^=!");
  EXPECT_EQ(list[2]->Rhs[0]->Annotation, u"^OBJ=!");
}

TEST_F(RuleLanguageTest, MalformedGroupsFailTheCompile) {
  const std::u16string rules[] = {
      u"S' -> a: ; ) .",
      u"S' -> [ a: ; ]#x#2 .",
      u"S' -> [ a: ; % b: ; % c: ; % d: ; % e: ; % f: ; % g: ; ] .",
  };
  for (const std::u16string& text : rules) {
    MessageRecorder messages;
    auto grammar = CompileGrammar(text);
    EXPECT_TRUE(grammar->HasFailed()) << ToUtf8(text);
    EXPECT_FALSE(messages.messages().empty());
  }
}

}  // namespace

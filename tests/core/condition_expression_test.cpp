#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/condition_expression.h"
#include "core/expression_evaluator.h"
#include "core/string_helpers.h"
#include "core/symbol_table.h"

namespace {

enum class Dialect { kLfg, kGenerator, kMapping };

ConditionSyntax SyntaxOf(Dialect dialect) {
  switch (dialect) {
    case Dialect::kLfg: return LfgConditionSyntax();
    case Dialect::kGenerator: return GeneratorConstraintSyntax();
    default: return MappingConditionSyntax();
  }
}

// The terms as "left|right", with a '*' in front of one that only looks.
std::vector<std::string> TermTexts(const CConditionExpression& expression) {
  std::vector<std::string> texts;
  for (const ConditionTerm& term : expression.Terms()) {
    texts.push_back((term.onlyLook ? "*" : "") + ToUtf8(term.left) + "|" + ToUtf8(term.right));
  }
  return texts;
}

struct ReadCase {
  Dialect dialect;
  const char16_t* text;
  const char* skeleton;
  std::vector<std::string> terms;
};

}  // namespace

// The same texts read in each dialect: where the three files write the
// language differently, the terms and the skeleton differ accordingly.
TEST(ConditionExpression, EachDialectReadsItsOwnForm) {
  const ReadCase cases[] = {
      // "=c" reads as "="; the LFG keeps the blanks, the generator trims
      // them and marks a negated comparison as only looked at.
      {Dialect::kLfg, u"[^NUM=sg]&~[^CASE=c acc]", "(1)&!(1)", {"^NUM|sg", "^CASE| acc"}},
      {Dialect::kGenerator, u"[^NUM=sg]&~[^CASE=c acc]", "(1)&!(1)", {"^NUM|sg", "*^CASE|acc"}},
      {Dialect::kMapping, u"(SUBJ.NUM == {sg}) & ~(OBJ)", "(1)&(!(1))", {"SUBJ.NUM|{sg}", "OBJ|"}},
      // Only the generator takes "=C" for a constraining equation.
      {Dialect::kLfg, u"[^A=C x]", "(1)", {"^A|C x"}},
      {Dialect::kGenerator, u"[^A=C x]", "(1)", {"^A|x"}},
      // A group without '=': the LFG carries its text into the next
      // comparison, the generator drops it, the mapping tests the path.
      {Dialect::kLfg, u"[^A]&[^B=x]", "()&(1)", {"^A^B|x"}},
      {Dialect::kGenerator, u"[^A]&[^B=x]", "()&(1)", {"^B|x"}},
      {Dialect::kMapping, u"(A)&(B=x)", "(1)&(1)", {"A|", "B|x"}},
      // Brackets of the other dialects are ordinary characters.
      {Dialect::kLfg, u"(^A=x)", "", {}},
      {Dialect::kMapping, u"[A]", "", {}},
      // A repeated '=' or operator: dropped anywhere before the next operator
      // in the LFG and generator forms, only directly after itself in the
      // mapping form.
      {Dialect::kLfg, u"[^A = = x]", "(1)", {"^A |  x"}},
      {Dialect::kMapping, u"(A = = x)", "(1)", {"x|"}},
      {Dialect::kLfg, u"[^A=x] | | [^B=y]", "(1)|(1)", {"^A|x", "   ^B|y"}},
      {Dialect::kMapping, u"(A=x)||(B=y)", "(1)|(1)", {"A|x", "B|y"}},
      // Text after the last bracket is no comparison.
      {Dialect::kGenerator, u"[^A=x] trailing", "(1)", {"^A|x"}},
  };
  for (const ReadCase& c : cases) {
    const CConditionExpression expression = CConditionExpression::Read(c.text, SyntaxOf(c.dialect));
    EXPECT_EQ(expression.Skeleton(), c.skeleton) << ToUtf8(c.text);
    EXPECT_EQ(TermTexts(expression), c.terms) << ToUtf8(c.text);
  }
}

// The parsed expression gives what the 0/1 evaluator gives the skeleton with
// the outcomes written in: the LFG's '~' negates all that follows, the
// mapping's only the next group; malformed texts give -1.
TEST(ConditionExpression, ValuesMatchTheEvaluatorOfTheSkeleton) {
  const struct {
    Dialect dialect;
    const char16_t* text;
    std::vector<uint8_t> outcomes;
    int value;
  } cases[] = {
      {Dialect::kLfg, u"~[^A=x]&[^B=y]", {1, 0}, 1},
      {Dialect::kMapping, u"~(A=x)&(B=y)", {1, 0}, 0},
      {Dialect::kMapping, u"~(A=x)&(B=y)", {0, 1}, 1},
      {Dialect::kLfg, u"[^A=x]|[^B=y]&[^C=z]", {1, 0, 0}, 1},
      {Dialect::kGenerator, u"[^A=x]&([^B=y]|[^C=z])", {1, 0, 1}, 1},
      // '(' groups nothing in the bracket dialects: '&' binds first.
      {Dialect::kGenerator, u"[^A=x]&([^B=y]|[^C=z])", {0, 1, 1}, 1},
      {Dialect::kMapping, u"(A=x)&((B=y)|(C=z))", {0, 1, 1}, 0},
      {Dialect::kLfg, u"[^A]&[^B=x]", {1}, 0},  // the empty group reads as the dummy 0
      {Dialect::kLfg, u"[^A=x", {}, -1},        // unclosed, nothing compared
      {Dialect::kMapping, u"(A=x))", {1}, -1},
      {Dialect::kGenerator, u"", {}, -1},
  };
  for (const auto& c : cases) {
    const CConditionExpression expression = CConditionExpression::Read(c.text, SyntaxOf(c.dialect));
    ASSERT_EQ(expression.Terms().size(), c.outcomes.size()) << ToUtf8(c.text);
    EXPECT_EQ(expression.Value(c.outcomes), c.value) << ToUtf8(c.text);
    std::string written;
    size_t next = 0;
    for (char unit : expression.Skeleton()) written += unit == '1' ? static_cast<char>('0' + c.outcomes[next++]) : unit;
    EXPECT_EQ(EvaluateWithTrace(written), c.value) << ToUtf8(c.text);
  }
}

// Operands read as the mapping reads a path: one symbol per name.
static std::unique_ptr<CEquationOperand> ReadNames(const WString& text) {
  if (text.empty()) return nullptr;
  auto operand = std::make_unique<CEquationOperand>();
  operand->kind = 's';
  operand->path.push_back(GetSymbolId(text, true));
  return operand;
}

class ConditionBookTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearSymbolTable(); }
  void TearDown() override { ClearSymbolTable(); }
};

// A text is read once and kept; every term is evaluated, also after a false
// one, since the generator's terms build structure.
TEST_F(ConditionBookTest, KeepsATextReadOnceAndEvaluatesEveryTerm) {
  CConditionBook book(MappingConditionSyntax(), &ReadNames);
  int calls = 0;
  auto secondHolds = [&](const CParsedCondition::Operands& term) {
    ++calls;
    return term.left->path.front() == GetSymbolId(u"B", false);
  };
  EXPECT_EQ(book.Evaluate(u"(A)&(B=x)", secondHolds), 0);
  const CParsedCondition* kept = book.Known(u"(A)&(B=x)");
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(book.Evaluate(u"(A)|(B=x)", secondHolds), 1);
  EXPECT_EQ(book.Evaluate(u"(A)&(B=x)", secondHolds), 0);
  EXPECT_EQ(book.Known(u"(A)&(B=x)"), kept);
  EXPECT_EQ(book.Size(), 2u);
  EXPECT_EQ(calls, 6);
  EXPECT_EQ(kept->terms[0].right, nullptr) << "a one-sided term has no right operand";
}

// A condition first read during a sentence is kept with its names made
// permanent: the reset gives out no id a kept condition holds, so the word
// never turns into another one.
TEST_F(ConditionBookTest, KeepsAConditionReadDuringASentenceWithItsNames) {
  CConditionBook book(MappingConditionSyntax(), &ReadNames);
  const SymbolId known = GetSymbolId(u"KNOWN", true);
  BeginSentenceSymbols();
  std::vector<SymbolId> seen;
  auto record = [&](const CParsedCondition::Operands& term) {
    seen.push_back(term.left->path.front());
    return true;
  };
  EXPECT_EQ(book.Evaluate(u"(KNOWN)", record), 1);
  EXPECT_EQ(book.Evaluate(u"(fresh)", record), 1);
  EXPECT_NE(book.Known(u"(KNOWN)"), nullptr);
  EXPECT_NE(book.Known(u"(fresh)"), nullptr);
  ReleaseSentenceSymbols();
  GetSymbolId(u"other", true);  // takes the id "fresh" had
  EXPECT_EQ(book.Evaluate(u"(fresh)", record), 1);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0], known);
  EXPECT_EQ(seen[2], GetSymbolId(u"fresh", false));
  EXPECT_NE(seen[2], GetSymbolId(u"other", false));
}

// Texts learnt when their file loads are read then, once each; evaluating
// them reads nothing again, during a sentence or after its reset.
TEST_F(ConditionBookTest, LearntTextsAreReadOnceAtLoad) {
  static int reads = 0;
  reads = 0;
  const OperandReader counting = [](const WString& text) {
    ++reads;
    return ReadNames(text);
  };
  CConditionBook book(MappingConditionSyntax(), counting);
  for (const char16_t* text : {u"(SUBJ.NUM == {sg})", u"~(OBJ)", u"(SUBJ.NUM == {sg})", u""}) book.Learn(text);
  EXPECT_EQ(book.Size(), 2u);
  const int readAtLoad = reads;
  BeginSentenceSymbols();
  for (int sentence = 0; sentence < 3; ++sentence) {
    GetSymbolId(u"word" + IntToWString(sentence), true);
    EXPECT_EQ(book.Evaluate(u"~(OBJ)", [](const CParsedCondition::Operands&) { return false; }), 1);
    EXPECT_EQ(book.Evaluate(u"(SUBJ.NUM == {sg})", [](const CParsedCondition::Operands&) { return true; }), 1);
    ReleaseSentenceSymbols();
  }
  EXPECT_EQ(reads, readAtLoad);
  EXPECT_NE(GetSymbolId(u"OBJ", false), kNoSymbol);
}

#include <gtest/gtest.h>

#include "core/expression_evaluator.h"

using namespace EvalResult;

TEST(ExpressionEvaluator, ValuesFollowPrecedenceAndGrouping) {
  const std::pair<const char*, int> cases[] = {
      {"1&0|1", 1},  {"0&(0|1)", 0}, {"1|0&0", 1},  // "&" binds tighter than "|"
      {"!0", 1},     {"!1&0", 1},                   // "!" has a dummy left operand and binds loosest
      {"1&!0", -1},  {"1& !0", 1},                  // "&!" is one run of operator characters
      {"1|1==0", 0}, {"0!=0!=1", 1},                // equal precedence groups from the left
      {"1.7", 1},    {"2&3", 1},     {"\t1 &\n0 ", 0},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(EvaluateWithTrace(text), value) << text;
}

TEST(ExpressionEvaluator, MalformedTextsGiveTheirCodes) {
  const std::tuple<const char*, int, int> cases[] = {
      // text, code, what EvaluateWithTrace answers
      {"1&&0", BadOperand, -1},       {"x1", BadOperand, -1},
      {"1e400", BadOperand, -1},  // not finite
      {"3000000000", BadOperand, -1}, {"2147483647", Success, INT32_MAX},
      {"(1&0", MissingOperand, -1},   {"1&0)", MissingOperand, -1},
      {"1&", MissingOperand, -1},     {"()", MissingOperand, -1},
      {"   ", MissingOperand, -1},    {"0 1 0", OperandsLeft, 0},
      {"nan", BadOperand, -1},
  };
  for (const auto& [text, code, answer] : cases) {
    int value = -1;
    EXPECT_EQ(EvaluateInfixInt(text, value), code) << text;
    EXPECT_EQ(EvaluateWithTrace(text), answer) << text;
  }
}

TEST(ExpressionEvaluator, PostfixTokensArePrecededByOneBlankAndNeedTwoOperandsPerOperator) {
  std::string postfix = "stale";
  EXPECT_EQ(InfixToPostfix("!(1|0)&a.b == 1", postfix), Success);
  EXPECT_EQ(postfix, " 0 1 0 | a.b & 1 == !");
  int value = 7;
  EXPECT_EQ(EvaluatePostfixInt(" 1 &", value), MissingOperand);
  EXPECT_EQ(value, 7);
  EXPECT_EQ(EvaluatePostfixInt(" 1 0 !=", value), Success);
  EXPECT_EQ(value, 1);
}

#include <gtest/gtest.h>

#include "core/expression_evaluator.h"

namespace {

TEST(ExpressionEvaluator, ValuesFollowPrecedenceAndGrouping) {
  struct Case {
    const char* text;
    int value;
  } cases[] = {
      {"1", 1},
      {"0", 0},
      {"1&0|1", 1},
      {"1 & (0 | 1)", 1},
      {"0&(0|1)", 0},
      {"1|0&0", 1},        // "&" binds tighter than "|"
      {"(1|0)&0", 0},
      {"!0", 1},           // dummy left operand
      {"!1&0", 1},         // "!" binds loosest: not (1 and 0)
      {"!1", 0},
      {"1&!0", -1},        // "&!" is one run of operator characters, no operator
      {"1& !0", 1},        // the "!" after an operator gets the dummy 0 too
      {"1==1", 1},
      {"1==0", 0},
      {"1!=0", 1},
      {"1|1==0", 0},       // (1|1) == 0
      {"0==0==1", 1},      // equal precedence groups from the left
      {"0!=0!=1", 1},
      {"((1))", 1},
      {"1.7", 1},          // truncated
      {"2&3", 1},
      {"\t1 &\n0 ", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(EvaluateWithTrace(c.text), c.value) << c.text;
}

TEST(ExpressionEvaluator, MalformedTextsGiveTheirCodes) {
  struct Case {
    const char* text;
    int code;
    int value;  // what EvaluateWithTrace answers
  } cases[] = {
      {"1&&0", EvalResult::BadOperand, -1},
      {"1 # 0", EvalResult::BadOperand, -1},
      {"x1", EvalResult::BadOperand, -1},
      {"1e400", EvalResult::BadOperand, -1},        // not finite
      {"3000000000", EvalResult::BadOperand, -1},   // beyond int
      {"2147483647", EvalResult::Success, 2147483647},
      {"nan", EvalResult::BadOperand, -1},
      {"(1&0", EvalResult::MissingOperand, -1},
      {"1&0)", EvalResult::MissingOperand, -1},
      {"1&", EvalResult::MissingOperand, -1},
      {"", EvalResult::MissingOperand, -1},
      {"   ", EvalResult::MissingOperand, -1},
      {"()", EvalResult::MissingOperand, -1},
      {"1 1", EvalResult::OperandsLeft, 1},
      {"0 1 0", EvalResult::OperandsLeft, 0},
  };
  for (const auto& c : cases) {
    int value = -1;
    EXPECT_EQ(EvaluateInfixInt(c.text, value), c.code) << c.text;
    EXPECT_EQ(EvaluateWithTrace(c.text), c.value) << c.text;
  }
}

TEST(ExpressionEvaluator, PostfixTokensArePrecededByOneBlank) {
  struct Case {
    const char* infix;
    const char* postfix;
  } cases[] = {
      {"1&0", " 1 0 &"},
      {"!0", " 0 0 !"},
      {"1|0&1", " 1 0 1 & |"},
      {"(1|0)&1", " 1 0 | 1 &"},
      {"a.b == 1", " a.b 1 =="},
  };
  for (const auto& c : cases) {
    std::string postfix = "stale";
    EXPECT_EQ(InfixToPostfix(c.infix, postfix), EvalResult::Success) << c.infix;
    EXPECT_EQ(postfix, c.postfix) << c.infix;
  }
}

TEST(ExpressionEvaluator, PostfixEvaluationNeedsTwoOperandsPerOperator) {
  int value = 7;
  EXPECT_EQ(EvaluatePostfixInt(" &", value), EvalResult::MissingOperand);
  EXPECT_EQ(EvaluatePostfixInt(" 1 &", value), EvalResult::MissingOperand);
  EXPECT_EQ(value, 7);
  EXPECT_EQ(EvaluatePostfixInt(" 1 0 !=", value), EvalResult::Success);
  EXPECT_EQ(value, 1);
}

TEST(ExpressionEvaluator, OperatorAndOperandScanning) {
  struct Case {
    const char* text;
    int index;
  } cases[] = {
      {"&1", 1}, {"|", 2}, {"==0", 3}, {"!=", 4}, {"!", 5}, {"&&", -1}, {"&!", -1},
      {"=", -1}, {"1&", -1}, {"", -1}, {"!==", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(GetOperatorIndex(c.text), c.index) << c.text;
  EXPECT_EQ(GetOperandLength("ab.1&0"), 4);
  EXPECT_EQ(GetOperandLength("-1"), 0);
  EXPECT_EQ(GetOperandLength(""), 0);
}

}  // namespace

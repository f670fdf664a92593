// The condition-expression evaluator. Conditional annotations, mapping-rule
// conditions and generator constraints end in narrow texts of 0/1 terms joined
// by "&", "|", "==", "!=" and "!" with parentheses; they are turned into
// postfix with an operator stack and evaluated on an integer stack.
#pragma once

#include <string>

// One entry of the operator table.
struct OperatorInfo {
  const char* text;
  int precedence;
};

// Entry 0 holds the characters operators are made of; entries 1 to 5 the
// operators. A higher precedence binds tighter, so "!" binds loosest.
inline constexpr int kOperatorCount = 6;
inline constexpr OperatorInfo kOperatorTable[kOperatorCount] = {
    {"=&|!", -1}, {"&", 15}, {"|", 14}, {"==", 13}, {"!=", 12}, {"!", 11},
};

// Result codes of conversion and evaluation.
namespace EvalResult {
constexpr int Success = 0;
// Unbalanced parenthesis (conversion) or a missing operand (evaluation).
constexpr int MissingOperand = 1;
// A character that belongs to no token (conversion), or an operand that is
// not a number or lies outside the int range (evaluation).
constexpr int BadOperand = 3;
// Operands left over after evaluation; the top one is still delivered.
constexpr int OperandsLeft = 4;
}  // namespace EvalResult

// The table index 1-5 of the operator formed by the longest run of operator
// characters at the start of the text, or -1 ("&&" is no operator).
int GetOperatorIndex(const std::string& text);

// The number of leading ASCII letters, digits and '.'.
int GetOperandLength(const std::string& text);

// Shunting-yard conversion; every postfix token is preceded by one blank. An
// operator with no left operand gets the dummy left operand 0.
int InfixToPostfix(const std::string& infix, std::string& postfix);

// Evaluates a postfix text. value is set on Success and OperandsLeft only.
int EvaluatePostfixInt(const std::string& postfix, int& value);

// InfixToPostfix, then EvaluatePostfixInt.
int EvaluateInfixInt(const std::string& text, int& value);
int EvaluateExpressionInt(const std::string& text, int& value);

// The value of the text, or -1 when conversion or evaluation fails (a text
// with no operand included).
int EvaluateWithTrace(const std::string& text);

#include "core/expression_evaluator.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

bool IsOperatorIndex(int index) { return index >= 1 && index < kOperatorCount; }

bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

int PrecedenceOf(const std::string& token) {
  int index = GetOperatorIndex(token);
  return IsOperatorIndex(index) ? kOperatorTable[index].precedence : 1;
}

void AppendToken(std::string& postfix, const std::string& token) {
  postfix += ' ';
  postfix += token;
}

// Pops operators to the output until "(" is popped; code 1 when none is.
int CloseParenthesis(std::vector<std::string>& stack, std::string& postfix) {
  while (!stack.empty()) {
    std::string top = stack.back();
    stack.pop_back();
    if (top == "(") return EvalResult::Success;
    AppendToken(postfix, top);
  }
  return EvalResult::MissingOperand;
}

// Pushes an operator after popping those that bind at least as tightly, so
// operators of equal precedence group from the left.
void PushOperator(std::vector<std::string>& stack, std::string& postfix, int index) {
  int precedence = kOperatorTable[index].precedence;
  while (!stack.empty() && stack.back() != "(" && PrecedenceOf(stack.back()) >= precedence) {
    AppendToken(postfix, stack.back());
    stack.pop_back();
  }
  stack.push_back(kOperatorTable[index].text);
}

int ApplyOperator(int index, int a, int b) {
  switch (index) {
    case 1: return (a != 0 && b != 0) ? 1 : 0;
    case 2: return (a != 0 || b != 0) ? 1 : 0;
    case 3: return a == b ? 1 : 0;
    case 4: return a != b ? 1 : 0;
    default: return b == 0 ? 1 : 0;  // "!": the left side is the dummy 0
  }
}

// The whole token read as a number, truncated toward zero; false when it is
// not a number or its truncation does not fit an int.
bool ParseOperand(const std::string& token, int& value) {
  const char* begin = token.c_str();
  char* end = nullptr;
  double number = std::strtod(begin, &end);
  if (token.empty() || end != begin + token.size()) return false;
  if (!std::isfinite(number)) return false;
  double truncated = std::trunc(number);
  if (truncated < -2147483648.0 || truncated > 2147483647.0) return false;
  value = static_cast<int>(truncated);
  return true;
}

}  // namespace

int GetOperatorIndex(const std::string& text) {
  size_t run = std::strspn(text.c_str(), kOperatorTable[0].text);
  if (run == 0) return -1;
  std::string op = text.substr(0, run);
  for (int index = 1; index < kOperatorCount; ++index) {
    if (op == kOperatorTable[index].text) return index;
  }
  return -1;
}

int GetOperandLength(const std::string& text) {
  int length = 0;
  for (char c : text) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.') break;
    ++length;
  }
  return length;
}

int InfixToPostfix(const std::string& infix, std::string& postfix) {
  postfix.clear();
  std::vector<std::string> stack;
  bool previousIsOperator = false;
  size_t i = 0;
  while (i < infix.size()) {
    char c = infix[i];
    if (IsBlank(c)) {
      ++i;
    } else if (c == '(') {
      stack.push_back("(");
      ++i;
    } else if (c == ')') {
      if (CloseParenthesis(stack, postfix) != EvalResult::Success) return EvalResult::MissingOperand;
      ++i;
    } else if (int index = GetOperatorIndex(infix.substr(i)); IsOperatorIndex(index)) {
      if (postfix.empty() || previousIsOperator) AppendToken(postfix, "0");
      previousIsOperator = true;
      i += std::strlen(kOperatorTable[index].text);
      PushOperator(stack, postfix, index);
    } else {
      int length = GetOperandLength(infix.substr(i));
      if (length == 0) return EvalResult::BadOperand;
      AppendToken(postfix, infix.substr(i, static_cast<size_t>(length)));
      previousIsOperator = false;
      i += static_cast<size_t>(length);
    }
  }
  while (!stack.empty()) {
    if (stack.back() == "(") return EvalResult::MissingOperand;
    AppendToken(postfix, stack.back());
    stack.pop_back();
  }
  return EvalResult::Success;
}

int EvaluatePostfixInt(const std::string& postfix, int& value) {
  std::vector<int> stack;
  size_t i = 0;
  while (i < postfix.size()) {
    if (IsBlank(postfix[i])) {
      ++i;
      continue;
    }
    size_t end = i;
    while (end < postfix.size() && !IsBlank(postfix[end])) ++end;
    std::string token = postfix.substr(i, end - i);
    i = end;

    int index = GetOperatorIndex(token);
    if (IsOperatorIndex(index) && token == kOperatorTable[index].text) {
      if (stack.size() < 2) return EvalResult::MissingOperand;
      int b = stack.back();
      stack.pop_back();
      int a = stack.back();
      stack.pop_back();
      stack.push_back(ApplyOperator(index, a, b));
      continue;
    }
    int operand = 0;
    if (!ParseOperand(token, operand)) return EvalResult::BadOperand;
    stack.push_back(operand);
  }
  // A text without any operand has no value to deliver.
  if (stack.empty()) return EvalResult::MissingOperand;
  value = stack.back();
  stack.pop_back();
  return stack.empty() ? EvalResult::Success : EvalResult::OperandsLeft;
}

int EvaluateInfixInt(const std::string& text, int& value) {
  std::string postfix;
  int code = InfixToPostfix(text, postfix);
  if (code != EvalResult::Success) return code;
  return EvaluatePostfixInt(postfix, value);
}

int EvaluateExpressionInt(const std::string& text, int& value) { return EvaluateInfixInt(text, value); }

int EvaluateWithTrace(const std::string& text) {
  int value = -1;
  EvaluateExpressionInt(text, value);
  return value;
}

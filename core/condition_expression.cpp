#include "core/condition_expression.h"

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>

#include "core/expression_evaluator.h"
#include "core/string_helpers.h"
#include "core/symbol_table.h"

ConditionSyntax LfgConditionSyntax() {
  ConditionSyntax syntax;
  syntax.keepUncomparedText = true;
  return syntax;
}

ConditionSyntax GeneratorConstraintSyntax() {
  ConditionSyntax syntax;
  syntax.constrainingEqualsAnyCase = true;
  syntax.negatedTermsOnlyLook = true;
  syntax.trimTerms = true;
  return syntax;
}

ConditionSyntax MappingConditionSyntax() {
  ConditionSyntax syntax;
  syntax.open = u'(';
  syntax.close = u')';
  syntax.scopedNegation = true;
  syntax.mappingStyle = true;
  syntax.trimTerms = true;
  return syntax;
}

namespace {

bool IsBlankText(const WString& text) { return TrimWString(text).empty(); }

// "=c" (and "=C" where the syntax allows it) becomes "==": a constraining
// comparison reads like any other.
WString WithConstrainingAsEquals(const WString& text, bool anyCase) {
  WString result;
  result.reserve(text.size() + 1);
  for (size_t i = 0; i < text.size(); ++i) {
    const bool constraining =
        text[i] == u'=' && i + 1 < text.size() && (text[i + 1] == u'c' || (anyCase && text[i + 1] == u'C'));
    result += text[i];
    if (!constraining) continue;
    result += u'=';
    ++i;
  }
  return result;
}

// The reading state of one condition text.
class ConditionReader {
 public:
  explicit ConditionReader(const ConditionSyntax& syntax) : syntax_(syntax) {}

  void Read(WChar unit) {
    if (unit == syntax_.open) {
      OpenGroup(unit);
    } else if (unit == syntax_.close) {
      CloseGroup();
    } else if (unit == u'&' || unit == u'|') {
      JoinWith(unit);
    } else if (unit == u'=') {
      if (RepeatReference() != u'=') {
        left_ = std::move(pending_);
        pending_.clear();
        mark_ = unit;
      }
    } else if (unit == u'~') {
      Negate();
    } else {
      pending_ += unit;
    }
    lastUnit_ = unit;
  }

  // The skeleton with the negations still open closed, and the terms.
  std::pair<std::string, std::vector<ConditionTerm>> Finish() {
    skeleton_.append(negationDepths_.size(), ')');
    return {std::move(skeleton_), std::move(terms_)};
  }

 private:
  void OpenGroup(WChar unit) {
    skeleton_ += '(';
    ++depth_;
    if (syntax_.mappingStyle) mark_ = unit;
  }

  void CloseGroup() {
    const bool comparing = syntax_.mappingStyle ? !IsBlankText(pending_) : !left_.empty();
    if (comparing) {
      AddTerm();
    } else {
      DropUncompared();
    }
    skeleton_ += ')';
    --depth_;
    CloseNegations();
    mark_ = syntax_.close;
    onlyLook_ = false;
  }

  void JoinWith(WChar unit) {
    if (unit == RepeatReference()) return;
    const bool afterGroup = mark_ == syntax_.close;
    const bool comparing = syntax_.mappingStyle ? !afterGroup || !IsBlankText(left_) || !IsBlankText(pending_)
                                                : !afterGroup || !left_.empty();
    if (comparing) {
      AddTerm();
    } else {
      DropUncompared();
    }
    CloseNegations();
    skeleton_ += static_cast<char>(unit);
    mark_ = unit;
  }

  void Negate() {
    if (syntax_.scopedNegation) {
      // The evaluator's '!' binds loosest, so a negation of one comparison
      // or group gets a parenthesis of its own, closed when that ends.
      skeleton_ += "(!";
      negationDepths_.push_back(depth_);
    } else {
      skeleton_ += '!';
    }
    if (syntax_.negatedTermsOnlyLook) onlyLook_ = true;
    if (syntax_.mappingStyle) mark_ = u'~';
  }

  void AddTerm() {
    ConditionTerm term;
    if (syntax_.mappingStyle && IsBlankText(left_)) {
      term.left = std::move(pending_);
    } else {
      term.left = std::move(left_);
      term.right = std::move(pending_);
    }
    if (syntax_.trimTerms) {
      term.left = TrimWString(term.left);
      term.right = TrimWString(term.right);
    }
    term.onlyLook = onlyLook_;
    terms_.push_back(std::move(term));
    skeleton_ += '1';
    left_.clear();
    pending_.clear();
    onlyLook_ = false;
  }

  void DropUncompared() {
    if (syntax_.keepUncomparedText) return;
    left_.clear();
    pending_.clear();
  }

  void CloseNegations() {
    while (!negationDepths_.empty() && negationDepths_.back() == depth_) {
      skeleton_ += ')';
      negationDepths_.pop_back();
    }
  }

  // The character a repeated operator is compared with.
  WChar RepeatReference() const { return syntax_.mappingStyle ? lastUnit_ : mark_; }

  const ConditionSyntax& syntax_;
  std::string skeleton_;
  std::vector<ConditionTerm> terms_;
  WString pending_;
  WString left_;
  WChar lastUnit_ = 0;  // the character before the current one
  WChar mark_ = 0;      // the last bracket, operator or '=' that counts
  int depth_ = 0;
  std::vector<int> negationDepths_;
  bool onlyLook_ = false;
};

bool IsOperatorToken(const std::string& token, int& index) {
  index = GetOperatorIndex(token);
  return index >= 1 && index < kOperatorCount && token == kOperatorTable[index].text;
}

}  // namespace

CConditionExpression CConditionExpression::Read(const WString& text, const ConditionSyntax& syntax) {
  ConditionReader reader(syntax);
  for (WChar unit : WithConstrainingAsEquals(text, syntax.constrainingEqualsAnyCase)) reader.Read(unit);
  CConditionExpression expression;
  std::tie(expression.skeleton_, expression.terms_) = reader.Finish();
  expression.Compile();
  return expression;
}

// The skeleton is converted by the evaluator's own conversion, so that
// precedence, the dummy left operand of '!' and every malformed case come
// out as the evaluator has them; the stack depth of the postfix is checked
// here once, as its evaluation would.
void CConditionExpression::Compile() {
  program_.clear();
  wellFormed_ = false;
  std::string postfix;
  if (InfixToPostfix(skeleton_, postfix) != EvalResult::Success) return;
  size_t depth = 0;
  uint16_t nextTerm = 0;
  size_t at = 0;
  while (at < postfix.size()) {
    if (postfix[at] == ' ') {
      ++at;
      continue;
    }
    const size_t end = std::min(postfix.find(' ', at), postfix.size());
    const std::string token = postfix.substr(at, end - at);
    at = end;
    int index = 0;
    if (IsOperatorToken(token, index)) {
      if (depth < 2) return;
      --depth;
      program_.push_back(Step{Step::kOperator, static_cast<uint16_t>(index)});
    } else if (token == "1" && nextTerm < terms_.size()) {
      program_.push_back(Step{Step::kTerm, nextTerm++});
      ++depth;
    } else if (token == "0") {
      program_.push_back(Step{Step::kZero, 0});
      ++depth;
    } else {
      return;
    }
  }
  wellFormed_ = depth > 0 && nextTerm == terms_.size();
}

int CConditionExpression::Value(const std::vector<uint8_t>& outcomes) const {
  if (!wellFormed_ || outcomes.size() != terms_.size()) return -1;
  std::vector<int> stack;
  stack.reserve(program_.size());
  for (const Step& step : program_) {
    if (step.kind == Step::kTerm) {
      stack.push_back(outcomes[step.operand] != 0 ? 1 : 0);
      continue;
    }
    if (step.kind == Step::kZero) {
      stack.push_back(0);
      continue;
    }
    const int b = stack.back();
    stack.pop_back();
    const int a = stack.back();
    switch (step.operand) {
      case 1: stack.back() = a != 0 && b != 0 ? 1 : 0; break;
      case 2: stack.back() = a != 0 || b != 0 ? 1 : 0; break;
      case 3: stack.back() = a == b ? 1 : 0; break;
      case 4: stack.back() = a != b ? 1 : 0; break;
      default: stack.back() = b == 0 ? 1 : 0; break;  // '!' on its dummy left 0
    }
  }
  return stack.back();
}

CConditionBook::CConditionBook(ConditionSyntax syntax, OperandReader readOperand)
    : syntax_(syntax), readOperand_(readOperand) {}

const CParsedCondition* CConditionBook::Known(const WString& text) const {
  const auto found = parsed_.find(text);
  return found != parsed_.end() ? &found->second : nullptr;
}

void CConditionBook::Learn(const WString& text) {
  if (!text.empty() && Known(text) == nullptr) Keep(text, Parse(text));
}

CParsedCondition CConditionBook::Parse(const WString& text) const {
  const CPermanentSymbols dataNames;
  CParsedCondition condition;
  condition.expression = CConditionExpression::Read(text, syntax_);
  for (const ConditionTerm& term : condition.expression.Terms()) {
    condition.terms.push_back(
        CParsedCondition::Operands{readOperand_(term.left), readOperand_(term.right), term.onlyLook});
  }
  return condition;
}

const CParsedCondition& CConditionBook::Keep(const WString& text, CParsedCondition condition) {
  return parsed_.emplace(text, std::move(condition)).first->second;
}

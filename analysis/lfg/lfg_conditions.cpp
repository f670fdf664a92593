// Conditional constraints: bracketed comparisons of F-structure paths with
// each other or with value lists, joined by '&', '|' and '~', written for
// example "[^NUM=sg]&~[^SUBJ CASE=c acc]". Each bracketed comparison becomes
// a 0 or 1 (for the partial reading, an undecided comparison counts as 1) and
// the expression evaluator computes the whole.
#include <memory>
#include <string>

#include "analysis/lfg/lfg_parser.h"
#include "core/expression_evaluator.h"
#include "core/value_sets.h"
#include "resources/lfg/lexicon.h"

namespace {

constexpr int kUndecided = -1;

WString ReplaceConstrainingEquals(const WString& text) {
  WString result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'=' && i + 1 < text.size() && text[i + 1] == u'c') {
      result += u"==";
      ++i;
      continue;
    }
    result += text[i];
  }
  return result;
}

CFSNode* FindIn(CFSNode* node, const CEquationOperand& operand) {
  return node != nullptr ? node->FindPath(&operand.path, true) : nullptr;
}

bool Overlap(const ValueList* a, const ValueList* b) { return !ValuesDisjoint(a, b); }

// The comparison of one operand pair: own is the structure the left
// operand's kind names, other the one the opposite kind names.
int CompareFrom(CFSNode* own, CFSNode* other, const CEquationOperand& left, const CEquationOperand& right,
                char otherKind) {
  CFSNode* a = FindIn(own, left);
  if (right.kind == otherKind) {
    CFSNode* b = FindIn(other, right);
    return a != nullptr && b != nullptr && Overlap(&b->Value, &a->Value) ? 1 : 0;
  }
  if (right.kind == '^' || right.kind == '!') return 0;
  return a != nullptr && Overlap(&right.path, &a->Value) ? 1 : 0;
}

int CompareOperandTexts(CFSNode* fL, CFSNode* fR, const WString& leftText, const WString& rightText,
                        bool partial) {
  std::unique_ptr<CEquationOperand> left = CLexicon::ParseOperand(leftText);
  std::unique_ptr<CEquationOperand> right = CLexicon::ParseOperand(rightText);
  if (!left || !right) return 0;
  if (left->kind == '^') {
    if (partial && FindIn(fL, *left) == nullptr) return kUndecided;
    return CompareFrom(fL, fR, *left, *right, '!');
  }
  if (left->kind == '!') return CompareFrom(fR, fL, *left, *right, '^');
  return 0;
}

// The reading state of one condition text.
struct ConditionReader {
  std::string expression;
  WString current;
  WString left;
  WChar previous = 0;
  bool undecided = false;
};

}  // namespace

int CLFGParser::CompareConditionOperands(CFSNode* fL, CFSNode* fR, const WString& left, const WString& right) {
  return CompareOperandTexts(fL, fR, left, right, false);
}

int CLFGParser::CompareConditionOperandsPartial(CFSNode* fL, CFSNode* fR, const WString& left,
                                                const WString& right) {
  return CompareOperandTexts(fL, fR, left, right, true);
}

int CLFGParser::ReadCondition(const WString& text, CFSNode* fL, CFSNode* fR, bool partial) {
  ConditionReader reader;
  // Compares the pending words and appends the digit of the outcome.
  auto compare = [&]() {
    const int outcome = partial ? CompareConditionOperandsPartial(fL, fR, reader.left, reader.current)
                                : CompareConditionOperands(fL, fR, reader.left, reader.current);
    if (outcome == kUndecided) reader.undecided = true;
    reader.expression += outcome != 0 ? '1' : '0';
    reader.left.clear();
    reader.current.clear();
  };
  for (WChar c : ReplaceConstrainingEquals(text)) {
    switch (c) {
      case u'[':
        reader.expression += '(';
        break;
      case u'=':
        if (reader.previous == u'=') break;
        reader.previous = u'=';
        reader.left = reader.current;
        reader.current.clear();
        break;
      case u']':
        if (!reader.left.empty()) compare();
        reader.expression += ')';
        reader.previous = u')';
        break;
      case u'&':
      case u'|':
        if (c == reader.previous) break;
        if (!(reader.previous == u')' && reader.left.empty())) compare();
        reader.expression += static_cast<char>(c);
        reader.previous = c;
        break;
      case u'~':
        reader.expression += '!';
        break;
      default:
        reader.current += c;
        break;
    }
  }
  const int value = EvaluateWithTrace(reader.expression);
  if (value < 1) return 0;
  return reader.undecided ? kUndecided : 1;
}

bool CLFGParser::EvaluateCondition(const WString& text, CFSNode* fL, CFSNode* fR) {
  if (fL == nullptr) return false;
  return ReadCondition(text, fL, fR, false) == 1;
}

int CLFGParser::EvaluateConditionPartial(const WString& text, CFSNode* fL, CFSNode* fR) {
  if (fL == nullptr) return 0;
  return ReadCondition(text, fL, fR, true);
}

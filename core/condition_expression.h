// The condition language shared by the LFG conditions, the mapping entries'
// conditions and the Urdu generator's constraints: comparisons "left = right"
// (or "=c") in brackets, joined by '&' and '|' and negated by '~', e.g.
//   [^NUM=sg]&~[^SUBJ CASE=c acc]        (LFG and generator)
//   (SUBJ.NUM == {sg}) & ~(OBJ)          (mapping)
// A text is read once into a CConditionExpression: its comparisons (terms) in
// the order they are written, and a postfix program over their outcomes that
// gives the value the 0/1 expression evaluator (core/expression_evaluator.h)
// gives the same text. The three files write the language with small
// differences; ConditionSyntax holds them, and the three dialects are below.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/equation.h"
#include "core/wide_string.h"

struct ConditionSyntax {
  WChar open = u'[';
  WChar close = u']';
  // "=C" is a constraining equation as well as "=c".
  bool constrainingEqualsAnyCase = false;
  // '~' negates only the comparison or group after it. Otherwise it is the
  // evaluator's '!', which binds loosest: "~[a]&[b]" is "not (a and b)".
  bool scopedNegation = false;
  // A term after '~' (until the next comparison or closing bracket) is only
  // looked at by its evaluation, never built.
  bool negatedTermsOnlyLook = false;
  // Text that reaches a closing bracket or an operator without being
  // compared stays and begins the next comparison's left side.
  bool keepUncomparedText = false;
  // The mapping style: a comparison without '=' is one-sided (its path is
  // tested to exist); a closing bracket compares whatever text is pending; a
  // repeated '&', '|' or '=' is dropped only directly after the same
  // character; '(' and '~' count as operators for the operator that follows.
  bool mappingStyle = false;
  // Blanks around both sides of a comparison are dropped.
  bool trimTerms = false;
};

// The dialect of conditional annotations and lexical conditions.
ConditionSyntax LfgConditionSyntax();
// The dialect of the Urdu grammar's daughter constraints.
ConditionSyntax GeneratorConstraintSyntax();
// The dialect of the mapping entries' conditions.
ConditionSyntax MappingConditionSyntax();

// One comparison: the texts on both sides of its '=' (right empty for a
// one-sided mapping comparison) and whether it is only looked at.
struct ConditionTerm {
  WString left;
  WString right;
  bool onlyLook = false;
};

class CConditionExpression {
 public:
  static CConditionExpression Read(const WString& text, const ConditionSyntax& syntax);

  const std::vector<ConditionTerm>& Terms() const { return terms_; }
  // The 0/1 expression with every term written as '1' (for tests and traces).
  const std::string& Skeleton() const { return skeleton_; }
  // The value from the terms' outcomes (one per term, in order): 0 or 1, or
  // -1 when the text does not form an expression.
  int Value(const std::vector<uint8_t>& outcomes) const;

 private:
  // One step of the postfix program: push a term's outcome, push the dummy
  // 0 of an operator without a left side, or apply an operator (1-5 of the
  // evaluator's operator table) to the two values on top.
  struct Step {
    enum Kind : uint8_t { kTerm, kZero, kOperator } kind;
    uint16_t operand;
  };

  void Compile();

  std::vector<ConditionTerm> terms_;
  std::string skeleton_;
  std::vector<Step> program_;
  bool wellFormed_ = false;
};

// A condition with the operands of its terms read as well.
struct CParsedCondition {
  struct Operands {
    std::unique_ptr<CEquationOperand> left;
    std::unique_ptr<CEquationOperand> right;
    bool onlyLook = false;
  };
  CConditionExpression expression;
  std::vector<Operands> terms;

  // Outcomes of each term in order, then the value of the whole: compare is
  // called once for every term (terms may build structure, so none is
  // skipped), with the term's Operands.
  template <class Compare>
  int Evaluate(Compare&& compare) const {
    std::vector<uint8_t> outcomes;
    outcomes.reserve(terms.size());
    for (const Operands& term : terms) outcomes.push_back(compare(term) ? 1 : 0);
    return expression.Value(outcomes);
  }
};

using OperandReader = std::unique_ptr<CEquationOperand> (*)(const WString&);

// The conditions of one dialect, each distinct text read once: the texts of
// the data files when they load (Learn), any other text at its first use.
// The names a condition reads are permanent symbols (core/symbol_table.h),
// also when it is read during a sentence, so a kept condition never holds an
// id that the sentence reset gives out again.
class CConditionBook {
 public:
  CConditionBook(ConditionSyntax syntax, OperandReader readOperand);

  // Reads the text now and keeps it; an empty or known text is left alone.
  void Learn(const WString& text);
  // The value of the text's condition, compare called for each of its terms
  // (see CParsedCondition::Evaluate).
  template <class Compare>
  int Evaluate(const WString& text, Compare&& compare) {
    const CParsedCondition* known = Known(text);
    if (known == nullptr) known = &Keep(text, Parse(text));
    return known->Evaluate(compare);
  }
  // The kept condition of the text, or null.
  const CParsedCondition* Known(const WString& text) const;
  size_t Size() const { return parsed_.size(); }

 private:
  CParsedCondition Parse(const WString& text) const;
  const CParsedCondition& Keep(const WString& text, CParsedCondition condition);

  ConditionSyntax syntax_;
  OperandReader readOperand_;
  std::unordered_map<WString, CParsedCondition> parsed_;
};

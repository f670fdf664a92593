// Inflection rules of Urdu nouns, verbs and adjectives. A rule names the
// endings a word must have or must not have, the features it demands or adds,
// and how the end of the word is replaced to make one form. The rules of one
// word class are read from its rule file by CUrduWordGenerator::ReadRuleFile.
#pragma once

#include <memory>
#include <vector>

#include "core/equation.h"
#include "core/wide_string.h"
#include "resources/lfg/lexical_entry.h"

// One ending condition: with mustMatch the word has to end with text,
// without it the word must not end with it.
struct CSuffixCondition {
  WString text;
  bool mustMatch = true;
};

// One ending replacement: a word ending in from has that ending replaced by
// to. Either side may be empty; an empty from fits every word.
struct CReplacementPair {
  WString from;
  WString to;
};

// True when the word ends with the ending, unit by unit. An empty ending is
// at the end of every word.
bool EndsWith(const WString& word, const WString& ending);

class CInflectionRule {
 public:
  CInflectionRule();
  virtual ~CInflectionRule();
  CInflectionRule(const CInflectionRule&) = delete;
  CInflectionRule& operator=(const CInflectionRule&) = delete;

  // Decides whether the rule makes a form of the word with these features;
  // when it does, fills out: the form as its word, the unchanged word as its
  // PRED, the properties the features did not have as its first equations
  // (the rule's own equation objects, not copies) and finished set. The
  // features are equations "attribute = values", the attribute's id first
  // on the left path, the values on the right path.
  bool Apply(const WString& word, const std::vector<CEquation*>& features, CLexicalEntry* out);

  // attribute = values; the attribute id leads the left path.
  std::vector<std::unique_ptr<CEquation>> properties;
  WString affix;  // appended to every form the rule makes
  std::vector<std::unique_ptr<CSuffixCondition>> suffixConditions;
  std::vector<std::unique_ptr<CReplacementPair>> replacementPairs;

  static int liveInstances;

 private:
  bool SuffixConditionsHold(const WString& word) const;
  // Appends the properties the features leave open to added; false when a
  // feature contradicts a property.
  bool CollectAddedProperties(const std::vector<CEquation*>& features, std::vector<CEquation*>& added);
  WString MakeForm(const WString& word) const;
};

// The rules of one word class, in file order; the owner deletes them.
using InflectionRuleList = std::vector<std::unique_ptr<CInflectionRule>>;

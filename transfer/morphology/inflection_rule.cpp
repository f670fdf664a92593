#include "transfer/morphology/inflection_rule.h"

#include "core/value_sets.h"

int CInflectionRule::liveInstances = 0;

bool EndsWith(const WString& word, const WString& ending) {
  if (ending.size() > word.size()) return false;
  return word.compare(word.size() - ending.size(), ending.size(), ending) == 0;
}

CInflectionRule::CInflectionRule() { ++liveInstances; }

CInflectionRule::~CInflectionRule() { --liveInstances; }

bool CInflectionRule::SuffixConditionsHold(const WString& word) const {
  for (const auto& condition : suffixConditions) {
    if (EndsWith(word, condition->text) != condition->mustMatch) return false;
  }
  return true;
}

bool CInflectionRule::CollectAddedProperties(const std::vector<CEquation*>& features, std::vector<CEquation*>& added) {
  static const std::vector<SymbolId> kNoValues;
  for (const auto& property : properties) {
    if (property->left == nullptr || property->left->path.empty()) continue;
    const SymbolId attribute = property->left->path.front();
    const std::vector<SymbolId>& wanted = property->right != nullptr ? property->right->path : kNoValues;
    bool found = false;
    // A property without values is never found: it always goes on the form.
    for (const CEquation* feature : features) {
      if (wanted.empty()) break;
      if (feature == nullptr || feature->left == nullptr || feature->left->path.empty()) continue;
      if (feature->left->path.front() != attribute) continue;
      const std::vector<SymbolId>& given = feature->right != nullptr ? feature->right->path : kNoValues;
      if (!given.empty() && ValuesDisjoint(&wanted, &given)) return false;
      found = true;
      break;
    }
    if (found) continue;
    // The same marks as the features the sentence generator passes in.
    property->left->kind = '^';
    if (property->right != nullptr) property->right->kind = 'v';
    added.push_back(property.get());
  }
  return true;
}

WString CInflectionRule::MakeForm(const WString& word) const {
  for (const auto& pair : replacementPairs) {
    if (EndsWith(word, pair->from)) return word.substr(0, word.size() - pair->from.size()) + pair->to + affix;
  }
  return word + affix;
}

bool CInflectionRule::Apply(const WString& word, const std::vector<CEquation*>& features, CLexicalEntry* out) {
  if (word.empty() || out == nullptr) return false;
  if (!SuffixConditionsHold(word)) return false;
  std::vector<CEquation*> added;
  if (!CollectAddedProperties(features, added)) return false;
  // The entry refers to the rule's equations; they stay the rule's.
  out->ownsEquations = false;
  out->equations.insert(out->equations.end(), added.begin(), added.end());
  out->word = MakeForm(word);
  out->pred = word;
  out->finished = 1;
  return true;
}

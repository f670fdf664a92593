#include "transfer/morphology/urdu_word_generator.h"

#include "core/config_store.h"
#include "core/trace_log.h"
#include "transfer/morphology/word_features.h"

namespace {

// "^attribute = v value".
std::unique_ptr<CEquation> MakeFeature(const WString& attribute, const WString& value) {
  auto feature = std::make_unique<CEquation>();
  feature->op = u'=';
  feature->left = new CEquationOperand();
  feature->left->kind = '^';
  feature->left->path.push_back(GetSymbolId(attribute, true));
  feature->right = new CEquationOperand();
  feature->right->kind = 'v';
  feature->right->path.push_back(GetSymbolId(value, true));
  return feature;
}

// One form whose word and PRED are the text, with the caller's features.
std::unique_ptr<WordFormList> SingleForm(const WString& text, const std::vector<CEquation*>& features) {
  auto forms = std::make_unique<WordFormList>();
  if (text.empty()) return forms;
  auto entry = std::make_unique<CLexicalEntry>();
  entry->ownsEquations = false;
  entry->word = text;
  entry->pred = text;
  entry->finished = 1;
  entry->equations = features;
  forms->push_back(std::move(entry));
  return forms;
}

}  // namespace

CUrduWordGenerator::CUrduWordGenerator(CLexicon* urduLexicon) : lexicon_(urduLexicon) {
  ReadRulesOfClass("NounRules", nounRules_, "Noun Rules File Not found");
  ReadRulesOfClass("VerbRules", verbRules_, "Verb Rules File Not found");
  ReadRulesOfClass("AdjRules", adjectiveRules_, "Adjective Rules File Not found");
  FillDayNames();
  FillMonthNames();
  dayInDigitId_ = GetSymbolId(u"DAY_IN_DIGIT", true);
  dayInWordId_ = GetSymbolId(u"DAY_IN_WORD", true);
  monthValueId_ = GetSymbolId(u"MONTH_VALUE", true);
  yearId_ = GetSymbolId(u"Year", true);
  timeTypeId_ = GetSymbolId(u"TIMETYPE", true);
  hourId_ = GetSymbolId(u"HR", true);
  minuteId_ = GetSymbolId(u"MIN", true);
  secondId_ = GetSymbolId(u"SEC", true);
  FillNumberWords();
  genderProperties_ = {MakeFeature(u"GEND", u"m"), MakeFeature(u"GEND", u"f")};
}

CUrduWordGenerator::~CUrduWordGenerator() = default;

void CUrduWordGenerator::ReadRulesOfClass(const char* configKey, InflectionRuleList& rules,
                                          const char* missingMessage) {
  const std::string path = GetConfigValue(configKey);
  if (path.empty()) {
    WriteTraceLog(WString(missingMessage, missingMessage + std::char_traits<char>::length(missingMessage)));
    return;
  }
  ReadRuleFile(path, rules);
}

std::unique_ptr<WordFormList> CUrduWordGenerator::ApplyRules(const InflectionRuleList& rules, const WString& word,
                                                             const std::vector<CEquation*>& features) const {
  auto forms = std::make_unique<WordFormList>();
  for (const auto& rule : rules) {
    auto entry = std::make_unique<CLexicalEntry>();
    entry->ownsEquations = false;
    if (!rule->Apply(word, features, entry.get())) continue;
    entry->equations.insert(entry->equations.end(), features.begin(), features.end());
    forms->push_back(std::move(entry));
  }
  return forms;
}

std::unique_ptr<WordFormList> CUrduWordGenerator::GenerateWordForms(const WString& word, const WString& category,
                                                                    const std::vector<CEquation*>& features) {
  if (category == u"n") return ApplyRules(nounRules_, word, features);
  if (category == u"v") return ApplyRules(verbRules_, word, features);
  if (category == u"adj") return ApplyRules(adjectiveRules_, word, features);
  if (category == u"date") return SingleForm(DateToWords(features), features);
  if (category == u"time") return SingleForm(TimeToWords(features), features);
  if (category == u"ordinal") return OrdinalWordForms(word, features);
  if (category == u"cardinal") return SingleForm(CardinalToWords(word, features), features);
  if (category == u"alphanum") return SingleForm(FeatureText(features, GetSymbolId(u"ANUM", true)), features);
  return nullptr;
}

std::unique_ptr<WordFormList> CUrduWordGenerator::OrdinalWordForms(const WString& word,
                                                                   const std::vector<CEquation*>& features) const {
  if (!FeatureTextByName(features, u"GEND").empty() || FeatureTextByName(features, u"ORD_NUMBER_VAL").empty()) {
    return SingleForm(OrdinalToWords(word, features), features);
  }
  auto forms = std::make_unique<WordFormList>();
  for (const std::unique_ptr<CEquation>& gender : genderProperties_) {
    std::vector<CEquation*> gendered = features;
    gendered.push_back(gender.get());
    std::unique_ptr<WordFormList> form = SingleForm(OrdinalToWords(word, gendered), gendered);
    for (auto& entry : *form) forms->push_back(std::move(entry));
  }
  return forms;
}

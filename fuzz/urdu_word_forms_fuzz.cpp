// The inflection rule files of nouns, verbs and adjectives, read by the
// Urdu word generator and applied to words with feature sets.
#include <memory>

#include "core/equation.h"
#include "core/symbol_table.h"
#include "fuzz/file_replacement.h"
#include "fuzz/fuzz_support.h"
#include "transfer/morphology/urdu_word_generator.h"

namespace {
fuzz::FileReplacement files({"NounRules", "VerbRules", "AdjRules"});

// "^ATTRIBUTE = v value" as the sentence generator hands features over.
std::unique_ptr<CEquation> Feature(const char16_t* attribute, const char16_t* value) {
  auto equation = std::make_unique<CEquation>();
  equation->op = u'=';
  equation->left = new CEquationOperand();
  equation->left->kind = '^';
  equation->left->path = {GetSymbolId(attribute, true)};
  equation->right = new CEquationOperand();
  equation->right->kind = 'v';
  equation->right->path = {GetSymbolId(value, true)};
  return equation;
}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  fuzz::EnterDataRootCopy();
  files.Capture(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (files.Replace(data, size) < 0) return 0;
  CUrduWordGenerator generator(nullptr);
  std::unique_ptr<CEquation> owned[] = {Feature(u"NUM", u"pl"), Feature(u"GEND", u"f"), Feature(u"CASE", u"obl"),
                                        Feature(u"ASPECT", u"perf"), Feature(u"TENSE", u"past")};
  std::vector<CEquation*> features;
  for (const auto& feature : owned) features.push_back(feature.get());
  const std::pair<const char16_t*, const char16_t*> words[] = {{u"\u0644\u0691\u06A9\u0627", u"n"},
                                                               {u"\u06A9\u062A\u0627\u0628", u"n"},
                                                               {u"\u067E\u0691\u06BE\u0646\u0627", u"v"},
                                                               {u"\u0627\u0686\u06BE\u0627", u"adj"},
                                                               {u"", u"n"}};
  for (const auto& [word, category] : words) generator.GenerateWordForms(word, category, features);
  return 0;
}

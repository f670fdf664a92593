// Helpers of the word-form tests: feature equations as the sentence
// generator hands them over, shipped data files, rule files in a folder.
#pragma once

#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/config_store.h"
#include "core/equation.h"
#include "core/symbol_table.h"
#include "platform/utf8.h"
#include "support/test_support.h"

namespace morphology_test {

// A file of the committed data root.
inline std::string ShippedFile(const std::string& relative) {
  const char* root = std::getenv("LFG_SOURCE_DIR");
  return std::string(root != nullptr ? root : ".") + "/dataroot/" + relative;
}

inline std::vector<SymbolId> Ids(const std::vector<std::u16string>& names) {
  std::vector<SymbolId> ids;
  for (const auto& name : names) ids.push_back(GetSymbolId(name, true));
  return ids;
}

// Feature equations "^ATTRIBUTE = v values", owned here, handed out as the
// raw pointers the word generator takes.
class Features {
 public:
  Features() = default;
  Features(std::initializer_list<std::pair<std::u16string, std::vector<std::u16string>>> features) {
    for (const auto& [attribute, values] : features) Add(attribute, values);
  }
  Features& Add(const std::u16string& attribute, const std::vector<std::u16string>& values) {
    auto equation = std::make_unique<CEquation>();
    equation->op = u'=';
    equation->left = new CEquationOperand();
    equation->left->kind = '^';
    equation->left->path = {GetSymbolId(attribute, true)};
    equation->right = new CEquationOperand();
    equation->right->kind = 'v';
    equation->right->path = Ids(values);
    pointers_.push_back(equation.get());
    owned_.push_back(std::move(equation));
    return *this;
  }
  const std::vector<CEquation*>& list() const { return pointers_; }

 private:
  std::vector<std::unique_ptr<CEquation>> owned_;
  std::vector<CEquation*> pointers_;
};

// An equation as readable text: "^GEND=v m" style, "SUBJ.GEND=m" for the
// rule properties (path names joined by ".", values by ",").
inline std::string PropertyText(const CEquation* equation) {
  auto join = [](const std::vector<SymbolId>& ids, char separator) {
    std::string text;
    for (size_t i = 0; i < ids.size(); ++i) {
      if (i > 0) text += separator;
      text += ToUtf8(GetSymbolName(ids[i]));
    }
    return text;
  };
  std::string text = join(equation->left->path, '.') + "=";
  if (equation->right != nullptr) text += join(equation->right->path, ',');
  return text;
}

// Points the three rule keys at the given files; an empty name leaves the
// key's value empty.
inline void ConfigureRuleFiles(const std::string& nouns, const std::string& verbs, const std::string& adjectives) {
  SetConfigValue("NounRules", nouns);
  SetConfigValue("VerbRules", verbs);
  SetConfigValue("AdjRules", adjectives);
}

}  // namespace morphology_test

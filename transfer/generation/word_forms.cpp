#include "transfer/generation/word_forms.h"

#include <utility>

WordForms& WordForms::operator=(WordForms&& other) noexcept {
  if (this == &other) return *this;
  entries_.clear();
  entries_ = std::move(other.entries_);
  features_ = std::move(other.features_);
  return *this;
}

std::vector<CEquation*> WordForms::FeatureList() const {
  std::vector<CEquation*> list;
  for (const auto& feature : features_) list.push_back(feature.get());
  return list;
}

void WordForms::TakeEntries(std::unique_ptr<WordFormList> list) {
  if (list == nullptr) return;
  for (auto& entry : *list) entries_.push_back(std::move(entry));
}

std::vector<CLexicalEntry*> WordForms::Entries() const {
  std::vector<CLexicalEntry*> list;
  for (const auto& entry : entries_) list.push_back(entry.get());
  return list;
}

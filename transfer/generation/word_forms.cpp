#include "transfer/generation/word_forms.h"

#include <utility>

#include "resources/lfg/lexical_entry.h"

WordForms::~WordForms() { Release(); }

WordForms::WordForms(WordForms&& other) noexcept
    : features_(std::move(other.features_)), entries_(std::move(other.entries_)) {
  other.entries_.clear();
}

WordForms& WordForms::operator=(WordForms&& other) noexcept {
  if (this == &other) return *this;
  Release();
  features_ = std::move(other.features_);
  entries_ = std::move(other.entries_);
  other.entries_.clear();
  return *this;
}

std::vector<CEquation*> WordForms::FeatureList() const {
  std::vector<CEquation*> list;
  for (const auto& feature : features_) list.push_back(feature.get());
  return list;
}

void WordForms::TakeEntries(std::vector<CLexicalEntry*>* list) {
  if (list == nullptr) return;
  entries_.insert(entries_.end(), list->begin(), list->end());
  delete list;
}

void WordForms::Release() {
  for (CLexicalEntry* entry : entries_) {
    entry->equations.clear();  // the features and rule properties live on
    delete entry;
  }
  entries_.clear();
  features_.clear();
}

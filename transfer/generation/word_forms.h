// The word forms that the word generator makes for one scanned terminal,
// with the feature equations they refer to. The word generator's entries do
// not own their equations (the features belong to this object, the added
// properties to the inflection rules); the entries go first, then the
// features, when this object goes.
#pragma once

#include <memory>
#include <vector>

#include "core/equation.h"
#include "transfer/morphology/urdu_word_generator.h"

class WordForms {
 public:
  WordForms() = default;
  ~WordForms() { entries_.clear(); }
  WordForms(WordForms&& other) noexcept = default;
  WordForms& operator=(WordForms&& other) noexcept;
  WordForms(const WordForms&) = delete;
  WordForms& operator=(const WordForms&) = delete;

  // The features to hand to the word generator; their objects stay here.
  std::vector<CEquation*> FeatureList() const;
  void AddFeature(std::unique_ptr<CEquation> feature) { features_.push_back(std::move(feature)); }
  // Takes the word generator's entries (none for a null list).
  void TakeEntries(std::unique_ptr<WordFormList> list);
  // The entries, in the word generator's order, still owned here.
  std::vector<CLexicalEntry*> Entries() const;

 private:
  // Declared first so that the entries are destroyed before the features.
  std::vector<std::unique_ptr<CEquation>> features_;
  WordFormList entries_;
};

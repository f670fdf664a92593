// The word forms that the word generator makes for one scanned terminal,
// with the feature equations they refer to. The word generator's entries do
// not own their equations (the features belong to this object, the added
// properties to the inflection rules), so they are released here without
// deleting those; the features are deleted with this object.
#pragma once

#include <memory>
#include <vector>

#include "core/equation.h"

class CLexicalEntry;

class WordForms {
 public:
  WordForms() = default;
  ~WordForms();
  WordForms(WordForms&& other) noexcept;
  WordForms& operator=(WordForms&& other) noexcept;
  WordForms(const WordForms&) = delete;
  WordForms& operator=(const WordForms&) = delete;

  // The entries, in the word generator's order; the list stays owned here.
  const std::vector<CLexicalEntry*>& Entries() const { return entries_; }
  // The features handed to the word generator; their objects stay here.
  std::vector<CEquation*> FeatureList() const;

  void AddFeature(std::unique_ptr<CEquation> feature) { features_.push_back(std::move(feature)); }
  // Takes the entries of the word generator's list (and deletes the list).
  void TakeEntries(std::vector<CLexicalEntry*>* list);

 private:
  void Release();

  std::vector<std::unique_ptr<CEquation>> features_;
  std::vector<CLexicalEntry*> entries_;  // owned, their equations are not
};

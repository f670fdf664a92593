// The pronoun feature table: completes the agreement features of nouns and
// pronouns in an Urdu F-structure before generation.
//
// File ("DiscourseFileName", UTF-16LE): entries "ATTRIBUTE=value,value;"
// with no comments. Under a structure that has a NOUN child, an attribute of
// the table without values gets the table's values, and one whose values
// include all of the table's is cut down to them.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/fs_node.h"
#include "core/symbol_table.h"
#include "core/wide_string.h"

class CDiscourseTable {
 public:
  // Reads the file, then interns the feature names the defaults use.
  explicit CDiscourseTable(const std::string& path);
  CDiscourseTable(const CDiscourseTable&) = delete;
  CDiscourseTable& operator=(const CDiscourseTable&) = delete;

  // Completes the node and its whole subtree in place.
  void CompleteFeatures(CFSNode* node) const;
  // The trimmed text cut at every "," and interned; null for an empty text.
  // Pieces keep their blanks.
  static std::unique_ptr<std::vector<SymbolId>> ParseValueList(const WString& text);

  // The values filed for the attribute; null when there is no entry or the
  // entry is empty.
  const std::vector<SymbolId>* ValuesOf(SymbolId attribute) const;
  size_t EntryCount() const { return entries_.size(); }

 private:
  void ReadFile();
  void ApplyTableRule(CFSNode* node) const;
  void AddNounDefaults(CFSNode* node) const;
  void AddPronounForm(CFSNode* node) const;

  std::string fileName_;
  std::map<SymbolId, std::unique_ptr<std::vector<SymbolId>>> entries_;
  SymbolId nounId_ = kNoSymbol;
  SymbolId proId_ = kNoSymbol;
  SymbolId respectId_ = kNoSymbol;
  SymbolId noRespectId_ = kNoSymbol;
  SymbolId pronFormId_ = kNoSymbol;
  SymbolId wohId_ = kNoSymbol;
  SymbolId gendId_ = kNoSymbol;
  SymbolId mId_ = kNoSymbol;
  SymbolId numId_ = kNoSymbol;
  SymbolId sgId_ = kNoSymbol;
  std::vector<SymbolId> valuePath_;
};

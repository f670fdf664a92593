// The entries of one headword of a mapping lexicon (an English attribute name
// in the mapping rules, an English word in the lexicons).
//
// Ownership: `entries` and `defaultEntry` own what they point to and the
// destructor deletes them; `conditionalEntries` and `unconditionalEntries`
// point into `entries`. A combined headword that the mapper assembles shares
// the entries of other headwords: it calls ReleaseEntries before it is
// deleted, so that nothing is deleted twice.
#pragma once

#include <cstdint>
#include <vector>

#include "constraints/dump_words.h"
#include "core/symbol_table.h"
#include "transfer/mapping/map_lex_entry.h"

class CMapLexHeadword {
 public:
  CMapLexHeadword();
  explicit CMapLexHeadword(SymbolId headword);
  virtual ~CMapLexHeadword();
  CMapLexHeadword(const CMapLexHeadword&) = delete;
  CMapLexHeadword& operator=(const CMapLexHeadword&) = delete;

  // Appends the entry to `entries` and to the conditional or unconditional
  // list by its condition text. False for a null entry.
  bool AddEntry(CMapLexEntry* entry);
  // Conditional plus unconditional entries; the default entry is not counted.
  size_t GetEntryCount() const;

  // A headword sharing this one's entries and default entry (it must be
  // released, not deleted with them).
  CMapLexHeadword* Clone() const;
  // Empties every list and clears the default pointer without deleting any
  // entry: for headwords that share the entries of others.
  void ReleaseEntries();

  // Dump form: entry count, the entries; conditional count, those entries;
  // unconditional count, those entries; headword id; default flag; the
  // default entry when the flag is 1. False when a count does not fit a word.
  bool Serialize(DumpWords& words, uint32_t& index) const;
  // Reads the same words into an empty headword. The conditional and
  // unconditional lists are rebuilt as pointers into `entries`; their records
  // must agree with it. False when the words run out or disagree.
  bool Deserialize(const DumpWords& words, uint32_t& index);

  std::vector<CMapLexEntry*> entries;               // owned, file order
  std::vector<CMapLexEntry*> conditionalEntries;    // into entries
  std::vector<CMapLexEntry*> unconditionalEntries;  // into entries
  SymbolId headword = kNoSymbol;
  CMapLexEntry* defaultEntry = nullptr;  // owned; the entry marked DEFAULT

  static int liveInstances;
};

// Where the tokeniser gets the lexical entries of the tokens it classifies
// itself (numbers, dates, times, mixed words, possessive apostrophes): a
// category name and a feature description in, a new entry out. The engine
// makes them through the CFG parser's lexicon; tests record what is asked.
#pragma once

#include <memory>

#include "core/wide_string.h"

class CELexicalEntry;
class CELexicon;

class CTokenEntryMaker {
 public:
  virtual ~CTokenEntryMaker() = default;
  // A new entry, or null when none can be made.
  virtual std::unique_ptr<CELexicalEntry> MakeEntry(const WString& category, const WString& features) = 0;
};

// Makes entries with CELexicon::MakeEntry; no entries without a lexicon.
class CLexiconEntryMaker : public CTokenEntryMaker {
 public:
  explicit CLexiconEntryMaker(CELexicon* lexicon) : lexicon_(lexicon) {}
  std::unique_ptr<CELexicalEntry> MakeEntry(const WString& category, const WString& features) override;

 private:
  CELexicon* lexicon_;
};

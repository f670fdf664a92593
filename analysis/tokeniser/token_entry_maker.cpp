#include "analysis/tokeniser/token_entry_maker.h"

#include "resources/english/e_lexicon.h"

std::unique_ptr<CELexicalEntry> CLexiconEntryMaker::MakeEntry(const WString& category, const WString& features) {
  if (!lexicon_) return nullptr;
  return lexicon_->MakeEntry(category, features);
}

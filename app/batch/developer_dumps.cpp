// Developer dumps of the older road: the lexical entries of a sentence, and
// the words of the mapping lexicon that the English lexicon lacks.
#include <unordered_set>

#include "analysis/lfg/lfg_parser.h"
#include "app/engine/translator_dlg.h"
#include "core/file_writer.h"
#include "core/string_helpers.h"
#include "core/symbol_table.h"
#include "resources/lfg/lexical_entry.h"
#include "resources/lfg/lexicon.h"
#include "transfer/mapping/map_lexicon.h"
#include "transfer/walk/f_structure_mapper.h"

namespace {

constexpr const char* kTokenDumpFile = "data\\tokens.tok";
constexpr const char* kUnmatchedWordsFile = "unmatched.txt";

}  // namespace

bool CTranslatorDlg::DumpTokens(const std::vector<CLexicalEntry*>& entries) {
  CFileWriter writer(kTokenDumpFile);
  if (!writer.IsOpen()) return false;
  bool written = true;
  for (const CLexicalEntry* entry : entries) {
    if (entry != nullptr) written = writer.Write(entry->ToString() + u"\r\n") == 1 && written;
  }
  return written;
}

// The engine's own English lexicon is asked, so no lexicon is compiled again
// and no dump is rewritten. A headword counts as known when the English
// lexicon files it as a word or gives it as the lemma of an entry's PRED
// (the mapping lexicon is keyed by lemmas: "give", not "gave").
int CTranslatorDlg::WriteUnmatchedWords() {
  if (!m_pMapper || !m_pEnglishLexicon) return -1;
  CFileWriter writer(kUnmatchedWordsFile);
  if (!writer.IsOpen()) return -1;
  std::unordered_set<WString> known;
  for (const WString& word : m_pEnglishLexicon->Keys()) {
    known.insert(word);
    if (const auto entries = m_pEnglishLexicon->LookupWord(word)) {
      for (const CLexicalEntry* entry : *entries) known.insert(BareLexeme(entry->pred));
    }
  }
  const SymbolIdMap& names = SymbolNamesById();
  int count = 0;
  bool written = true;
  for (const auto& [id, headword] : m_pMapper->Lexicon().Headwords()) {
    const auto name = names.find(id);
    if (name == names.end() || name->second.empty() || known.count(name->second) > 0) continue;
    written = writer.Write(IntToWString(++count) + u". '" + name->second + u"'\r\n") == 1 && written;
  }
  return written ? count : -1;
}

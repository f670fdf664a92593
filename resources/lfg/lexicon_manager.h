// The lexicon manager of the LFG chart parser: turns a sentence into one list
// of lexical entries per token, found in the lexicon or made on the spot for
// numbers, ordinals, alphanumeric tokens and unknown words.
#pragma once

#include <memory>
#include <vector>

#include "core/text_split.h"
#include "core/wide_string.h"
#include "resources/lfg/lexicon.h"

// The entries of a sentence, one list per token in token order. Entries filed
// in the lexicon stay the lexicon's; the number and alphanumeric entries made
// for the sentence are not filed and are owned here.
struct SentenceEntryLists {
  std::vector<LexicalEntryList> lists;
  std::vector<std::unique_ptr<CLexicalEntry>> madeEntries;
};

class CLexiconManager {
 public:
  // Reads the files named by "NounTemplateFileName" and "DelimFileName".
  explicit CLexiconManager(CLexicon* lexicon);
  ~CLexiconManager();
  CLexiconManager(const CLexiconManager&) = delete;
  CLexiconManager& operator=(const CLexiconManager&) = delete;

  // Null when there is no lexicon or the sentence gives no token.
  std::unique_ptr<SentenceEntryLists> BuildSentenceEntries(const WString& sentence);
  // Null, after a message naming it, at the first token the lexicon lacks
  // as written and in small letters.
  std::unique_ptr<SentenceEntryLists> CheckWordInLexicon(const WString& text);

  // 'n' for a number (digits, Arabic-Indic digits, ',' and '.'), 't' for an
  // ordinal (such a number followed by a final "th", "st", "rd" or "nd"),
  // 'f' otherwise.
  static char GetNumberTokenType(const WString& token);
  // True when some unit is not an ASCII letter.
  static bool HasNonLetter(const WString& token);

  CLexicon* lexicon;                    // not owned
  std::vector<WString> delimiterLines;  // "c x..." : the character c becomes x...
  WString nounTemplate;                 // items added to every unknown-word entry

  static int liveInstances;

 private:
  std::unique_ptr<PieceList> MakeTokens(const WString& text) const;
  WString ReplaceWords(const WString& sentence) const;
  // Fills the token's list from the lexicon; returns the index of the last
  // token a multi-word entry took, or the token's own index.
  size_t LookupTokens(const PieceList& tokens, size_t index, LexicalEntryList& list) const;
  void AddNumberEntry(const WString& token, char type, SentenceEntryLists& result) const;
  void AddAlphanumericEntry(const WString& token, SentenceEntryLists& result) const;
  void AddUnknownWordEntry(const WString& token, LexicalEntryList& list);
};

// A copy with 'A' to 'Z' made small; every other unit stays as it is.
WString ToLowerString(const WString& text);

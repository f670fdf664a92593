// Cutting wide text into pieces: the lexicon readers, the rule-path parser,
// the loader of governable functions and the word look-up use these. Every
// result is a new vector that the caller owns.
#pragma once

#include <memory>
#include <vector>

#include "core/wide_string.h"

using PieceList = std::vector<WString>;

// Cuts at blank, TAB, CR, LF and every unit of delimiters; empty pieces are
// dropped. With emitDelimiters, a delimiter that is not white space becomes a
// piece of its own after the piece it ends.
std::unique_ptr<PieceList> Tokenize(const WString& text, const WString& delimiters, bool emitDelimiters);

// Tokenize, except that from a '<' up to and including the next '>' the
// delimiters do not cut (white space still does), so "<a,b>" stays one piece.
std::unique_ptr<PieceList> TokenizeKeepingAngleBrackets(const WString& text, const WString& delimiters,
                                                        bool emitDelimiters);

// A counted word record.
class CWord {
 public:
  explicit CWord(WString text);
  CWord(const CWord& other);
  CWord& operator=(const CWord& other) = default;
  ~CWord();

  // Cuts text at white space and at every unit that is the first unit of a
  // replacement line; such a unit becomes the line's text from its third unit
  // on (trimmed, kept even when empty). A line is written as the character,
  // one separator and the replacement; lines shorter than three units are
  // skipped. Empty pieces between cuts are dropped.
  static std::unique_ptr<PieceList> TokenizeWithReplacements(const WString& text,
                                                             const std::vector<WString>& replacements);

  // The word's text cut by TokenizeWithReplacements; then each piece holding
  // an apostrophe is cut before its last one into the stem and the piece
  // "apostr" (what follows the apostrophe is dropped).
  std::unique_ptr<PieceList> SplitApostrophe(const std::vector<WString>& replacements) const;

  WString text;

  static int liveInstances;
};

// word.SplitApostrophe(replacements).
std::unique_ptr<PieceList> SplitApostrophe(const CWord& word, const std::vector<WString>& replacements);

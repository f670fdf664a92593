#include "core/text_split.h"

#include <utility>

#include "core/string_helpers.h"

namespace {

// Stores the current piece, trimmed, when it is not empty, and empties it.
void StorePiece(PieceList& pieces, WString& current) {
  WString piece = TrimWString(current);
  if (!piece.empty()) pieces.push_back(std::move(piece));
  current.clear();
}

bool IsDelimiter(WChar unit, const WString& delimiters) { return delimiters.find(unit) != WString::npos; }

std::unique_ptr<PieceList> Split(const WString& text, const WString& delimiters, bool emitDelimiters,
                                 bool keepAngleBrackets) {
  auto pieces = std::make_unique<PieceList>();
  WString current;
  bool inAngleBrackets = false;
  for (WChar unit : text) {
    bool protectedUnit = false;
    if (keepAngleBrackets) {
      if (unit == u'<') inAngleBrackets = true;
      protectedUnit = inAngleBrackets;
      if (unit == u'>') {
        protectedUnit = true;
        inAngleBrackets = false;
      }
    }
    bool space = IsWhitespace(unit);
    bool delimiter = !protectedUnit && IsDelimiter(unit, delimiters);
    if (!space && !delimiter) {
      current += unit;
      continue;
    }
    StorePiece(*pieces, current);
    if (delimiter && emitDelimiters && !space) pieces->push_back(WString(1, unit));
  }
  StorePiece(*pieces, current);
  return pieces;
}

// The first usable replacement line for the unit, or null.
const WString* FindReplacement(WChar unit, const std::vector<WString>& replacements) {
  for (const WString& line : replacements) {
    if (line.size() >= 3 && line[0] == unit) return &line;
  }
  return nullptr;
}

}  // namespace

std::unique_ptr<PieceList> Tokenize(const WString& text, const WString& delimiters, bool emitDelimiters) {
  return Split(text, delimiters, emitDelimiters, false);
}

std::unique_ptr<PieceList> TokenizeKeepingAngleBrackets(const WString& text, const WString& delimiters,
                                                        bool emitDelimiters) {
  return Split(text, delimiters, emitDelimiters, true);
}

int CWord::liveInstances = 0;

CWord::CWord(WString wordText) : text(std::move(wordText)) { ++liveInstances; }

CWord::CWord(const CWord& other) : text(other.text) { ++liveInstances; }

CWord::~CWord() { --liveInstances; }

std::unique_ptr<PieceList> CWord::TokenizeWithReplacements(const WString& text,
                                                           const std::vector<WString>& replacements) {
  auto pieces = std::make_unique<PieceList>();
  WString current;
  for (WChar unit : text) {
    const WString* line = FindReplacement(unit, replacements);
    if (!line && !IsWhitespace(unit)) {
      current += unit;
      continue;
    }
    StorePiece(*pieces, current);
    if (line) pieces->push_back(TrimWString(line->substr(2)));
  }
  StorePiece(*pieces, current);
  return pieces;
}

std::unique_ptr<PieceList> CWord::SplitApostrophe(const std::vector<WString>& replacements) const {
  std::unique_ptr<PieceList> cut = TokenizeWithReplacements(text, replacements);
  if (!cut) return nullptr;
  auto pieces = std::make_unique<PieceList>();
  for (WString& piece : *cut) {
    size_t apostrophe = piece.rfind(u'\'');
    if (apostrophe == WString::npos) {
      pieces->push_back(std::move(piece));
      continue;
    }
    pieces->push_back(piece.substr(0, apostrophe));
    pieces->push_back(u"apostr");
  }
  return pieces;
}

std::unique_ptr<PieceList> SplitApostrophe(const CWord& word, const std::vector<WString>& replacements) {
  return word.SplitApostrophe(replacements);
}

// Reading and cutting raw lexicon entries. Every step checks the end of the
// text: a quote at the very end, a missing quote or '>' and a POS without ','
// never lead past it.
#include <cstdlib>

#include "core/scanning.h"
#include "core/string_helpers.h"
#include "resources/english/e_lexicon.h"
#include "resources/english/p_grammar.h"

namespace {

std::string TrimSpaces(const std::string& text) {
  const size_t begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return std::string();
  return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

float ParseWeight(const WString& text) {
  return static_cast<float>(std::atof(P_Grammar::WStringToString(text).c_str()));
}

// Takes the first "@w@" out of the text. False for an '@' without its mate.
bool TakeWeight(WString& text, float& weight, std::string& why) {
  const size_t open = text.find(u'@');
  if (open == WString::npos) return true;
  const size_t close = text.find(u'@', open + 1);
  if (close == WString::npos) {
    why = "the weight has no closing '@'";
    return false;
  }
  weight = ParseWeight(text.substr(open + 1, close - open - 1));
  text.erase(open, close - open + 1);
  return true;
}

// The predicate part from just after its opening quote: the value up to the
// closing quote, the '<' ... '>' list taken out as the frame names. pos ends
// after the closing quote.
bool ParsePredicate(const WString& text, size_t& pos, CERawEntry& entry, std::string& why) {
  while (pos < text.size() && text[pos] != u'\'') {
    if (text[pos] != u'<') {
      entry.pred += text[pos++];
      continue;
    }
    const size_t close = text.find(u'>', pos);
    if (close == WString::npos) {
      why = "the frame list has no closing '>'";
      return false;
    }
    std::string field;
    for (size_t i = pos + 1; i <= close; ++i) {
      if (i == close || text[i] == u',') {
        entry.subcat.push_back(TrimSpaces(field));
        field.clear();
      } else {
        field += static_cast<char>(text[i] & 0xFF);
      }
    }
    pos = close + 1;
  }
  if (pos >= text.size()) {
    why = "the predicate has no closing quote";
    return false;
  }
  ++pos;  // the closing quote
  return true;
}

}  // namespace

bool CELexicon::ReadEntryText(CFileReader& reader, WString& text) {
  text.clear();
  WChar unit = reader.GetChar();
  while (unit != 0) {
    if (unit == u'.') {
      reader.NextChar();
      return true;
    }
    if (IsLineEnd(unit)) {
      text.clear();
    } else if (unit == u'/') {
      while (unit != 0 && !IsLineEnd(unit)) unit = reader.NextChar();
      text.clear();
      continue;  // the line end (or the end) is looked at next
    } else if (unit == u'@') {
      // A weight is copied whole, a '.' in it included.
      text += unit;
      for (unit = reader.NextChar(); unit != 0 && unit != u'@'; unit = reader.NextChar()) text += unit;
      if (unit == 0) break;
      text += unit;
    } else {
      text += unit;
    }
    unit = reader.NextChar();
  }
  text.clear();
  return false;
}

bool CELexicon::ParseEntry(const WString& source, CERawEntry& entry, std::string& why) {
  entry = CERawEntry();
  WString text = source;
  if (!TakeWeight(text, entry.weight, why)) return false;
  const size_t colon = text.find(u':');
  if (colon == WString::npos) {
    why = "the entry has no ':' after its word";
    return false;
  }
  entry.word = TrimWString(text.substr(0, colon));
  const size_t comma = text.find(u',', colon + 1);
  // A part of speech without ',' has no features.
  const size_t posLength = comma == WString::npos ? WString::npos : comma - colon - 1;
  entry.pos = TrimSpaces(P_Grammar::WStringToString(text.substr(colon + 1, posLength)));
  size_t pos = comma == WString::npos ? text.size() : comma + 1;
  pos = SkipBlanks(text, pos);
  const bool hasPredicate = text.size() - pos >= 5 && text.compare(pos, 5, u"^PRED") == 0;
  if (hasPredicate) {
    const size_t quote = text.find(u'\'', pos);
    if (quote == WString::npos) {
      why = "the predicate has no opening quote";
      return false;
    }
    pos = quote + 1;
    if (!ParsePredicate(text, pos, entry, why)) return false;
    pos = SkipBlanks(text, pos);
    if (pos < text.size() && text[pos] != u',') {
      why = "the predicate is not followed by ','";
      return false;
    }
    if (pos < text.size()) ++pos;  // the ',' before the features
  }
  entry.word = TrimWString(entry.word);
  entry.pred = TrimWString(entry.pred);
  entry.features = TrimNarrowString(P_Grammar::WStringToString(text.substr(pos)));
  if (entry.word.empty()) {
    why = "the entry has no word";
    return false;
  }
  return true;
}

void CELexicon::ParseDefaultEntry(const WString& text, std::string& pos, std::string& features, float& weight) {
  const size_t colon = text.find(u':');
  const size_t open = text.find(u'@', colon == WString::npos ? 0 : colon + 1);
  if (colon == WString::npos) {
    pos = P_Grammar::WStringToString(text.substr(0, open));
    features.clear();
  } else {
    pos = P_Grammar::WStringToString(text.substr(0, colon));
    features =
        P_Grammar::WStringToString(text.substr(colon + 1, open == WString::npos ? WString::npos : open - colon - 1));
  }
  if (open == WString::npos) return;  // no weight: the last one holds on
  const size_t close = text.find(u'@', open + 1);
  weight = ParseWeight(text.substr(open + 1, close == WString::npos ? WString::npos : close - open - 1));
}

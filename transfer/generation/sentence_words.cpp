// Joining the terminals of a generated sentence into its text.
#include "transfer/generation/sentence_words.h"

namespace {

bool IsNegation(const WString& category) { return category == u"neg" || category == u"impneg"; }

bool IsFutureAffix(const WString& word) { return word == u"گا" || word == u"گی" || word == u"گے"; }

// Where the light verb of a verb form begins: the blank before its last
// word, or before the word before a future affix (کام کریں گے); npos for a
// form of one verb (آئیں گے).
size_t LightVerbStart(const WString& verb) {
  size_t blank = verb.rfind(u' ');
  if (blank != WString::npos && IsFutureAffix(verb.substr(blank + 1))) {
    blank = blank == 0 ? WString::npos : verb.rfind(u' ', blank - 1);
  }
  return blank == 0 ? WString::npos : blank;
}

}  // namespace

WString JoinSentenceWords(const std::vector<SentenceWord>& words) {
  WString text;
  for (size_t i = 0; i < words.size(); ++i) {
    const SentenceWord& current = words[i];
    if (IsNegation(current.category) && i + 1 < words.size() && words[i + 1].category == u"v") {
      const WString& verb = words[i + 1].word;
      const size_t lastBlank = LightVerbStart(verb);
      if (lastBlank != WString::npos) {
        text += u' ';
        text += verb.substr(0, lastBlank);
        text += u' ';
        text += current.word;
        text += verb.substr(lastBlank);
        ++i;
        continue;
      }
    }
    text += u' ';
    text += current.word;
  }
  return text;
}

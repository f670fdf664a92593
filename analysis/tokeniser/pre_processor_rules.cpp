// The fixed rules of the tokeniser: what it reads when the automaton has no
// transition and no alternative left. Words, single punctuation characters,
// possessive apostrophes, abbreviations and mixed letter-digit words.
#include "analysis/tokeniser/pre_processor.h"

#include "resources/english/e_lexicon_entry.h"

namespace {

bool IsAsciiLetter(WChar c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

// Letters of the scripts at and above U+05DC count as letters of a word.
constexpr WChar kFirstForeignLetter = 0x05DC;

bool IsOneOf(WChar c, const char16_t* set) { return c != 0 && WString(set).find(c) != WString::npos; }

}  // namespace

CPreProcessor::Step CPreProcessor::ReadByFixedRules(CToken& token) {
  position_ = tokenStart_;
  while (position_ < sentence_.size() && sentence_[position_] == u' ') ++position_;
  scan_.partText.clear();
  if (position_ >= sentence_.size()) {
    token = EndOfInputToken();
    return Step::kTokenReady;
  }
  const WChar c = sentence_[position_];
  if (c == u'\'') {
    const size_t p = position_ == 0 ? 0 : position_ - 1;
    const WChar after = CharAt(position_ + 1);
    const bool sBefore = sentence_[p] == u's' && after == u' ';
    const bool sAfter = after == u's' && (CharAt(position_ + 2) == u' ' || position_ + 2 >= sentence_.size());
    if (sBefore || sAfter) {
      token = ReadApostropheToken(p);
      return Step::kTokenReady;
    }
    // Any other apostrophe is passed over; the token starts after it.
    tokenStart_ = ++position_;
    scan_.tokenText.clear();
    return Step::kContinue;
  }
  token = IsTokenDelimiter(c) ? ReadDelimiterToken(c) : ReadWordToken();
  return Step::kTokenReady;
}

// The possessive marker: after a word ending in s only the apostrophe is
// read, otherwise the apostrophe and its s.
CToken CPreProcessor::ReadApostropheToken(size_t possessiveTest) {
  CToken token;
  token.Text = u"'";
  token.Kind = CategoryKind(u"apostr");
  Finish(u"apostr", u"");
  position_ += sentence_[possessiveTest] == u's' ? 1 : 2;
  ResetTokenState();
  FullTrailingSkip();
  return WithEntryOrAsWord(token);
}

// A '.', ';' or '?' ends the sentence only when nothing but closing marks
// follows it; in mid-sentence it is an ordinary punctuation token, so that a
// reader that stops at the sentence end drops no text.
CToken CPreProcessor::ReadDelimiterToken(WChar c) {
  CToken token;
  token.Text = WString(1, c);
  const bool sentenceFinal = IsOneOf(c, u".;?") && IsSentenceEndAfter(position_ + 1);
  token.Kind = sentenceFinal ? kTokenSentenceEnd : kTokenWord;
  ++position_;
  ResetTokenState();
  FullTrailingSkip();
  return token;
}

bool CPreProcessor::IsSentenceEndAfter(size_t position) const {
  for (size_t i = position; i < sentence_.size(); ++i) {
    if (!IsOneOf(sentence_[i], u" \"')]}.;?!")) return false;
  }
  return true;
}

// A single letter before an apostrophe and a letter belongs to the word after
// it: "o'clock", "O'Brien". "I" keeps its clitics apart ("I'm", "I'll").
bool CPreProcessor::IsLetterBeforeApostropheWord(const WString& word) const {
  return word.size() == 1 && IsAsciiLetter(word[0]) && word != u"I" && word != u"i" && CharAt(position_) == u'\'' &&
         IsAsciiLetter(CharAt(position_ + 1));
}

CToken CPreProcessor::ReadWordToken() {
  WString word;
  bool mixed = false;
  for (;;) {
    while (position_ < sentence_.size() && !IsTokenDelimiter(sentence_[position_])) {
      const WChar c = sentence_[position_++];
      if (!IsAsciiLetter(c) && c < kFirstForeignLetter) mixed = true;
      word += c;
    }
    if (!IsLetterBeforeApostropheWord(word)) break;
    word += sentence_[position_++];
  }
  scan_.partText = word;
  StepOverWordEnd();

  CToken token;
  token.Text = word;
  if (abbreviations_.count(word) > 0) {
    token.Kind = kTokenAbbreviation;
  } else if (mixed) {
    token.Kind = CategoryKind(u"alphanum");
    Finish(u"alphanum", u"^NUMBER=" + EscapeFeatureValue(word));
  }
  ResetTokenState();
  FullTrailingSkip();
  return WithEntryOrAsWord(token);
}

// After a word: the delimiter that ended it is passed over unless it is a
// token of its own ('?', ',', an apostrophe or a bracket), then one dash,
// quote or apostrophe, then an apostrophe that closes a plural possessive.
void CPreProcessor::StepOverWordEnd() {
  if (position_ < sentence_.size() && !IsOneOf(sentence_[position_], u"?,'()")) {
    ++position_;
    if (IsOneOf(CharAt(position_), u"-\"'")) ++position_;
  }
  if (CharAt(position_) == u'\'' && CharAt(position_ + 1) == u' ') ++position_;
}

void CPreProcessor::FullTrailingSkip() {
  if (CharAt(position_) == u' ') {
    ++position_;
    if (IsOneOf(CharAt(position_), u"-\"'[(")) ++position_;
  }
  if (CharAt(position_) == u'\'' && CharAt(position_ + 1) == u' ') ++position_;
}

void CPreProcessor::FirstEndingTrailingSkip() {
  if (CharAt(position_) != u' ') return;
  ++position_;
  if (IsOneOf(CharAt(position_), u"-\"'")) ++position_;
}

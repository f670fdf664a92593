#include "analysis/tokeniser/pre_processor.h"

#include <algorithm>
#include <string>

#include "core/string_helpers.h"
#include "platform/message_box.h"
#include "resources/english/e_lexicon_entry.h"

namespace {

constexpr uint16_t kStartState = 1;

// The markers of the table are never read as input: a '$' or '^' typed in a
// sentence must not take an empty-input or end-of-token transition.
bool IsTableMarker(WChar c) { return c == kEmptyInputMarker || c == kEndOfTokenMarker; }

// Every run of blanks becomes one blank and every run of dots one dot.
WString Normalise(const WString& sentence) {
  WString normal;
  normal.reserve(sentence.size() + 2);
  for (size_t i = 0; i < sentence.size(); ++i) {
    const WChar c = sentence[i];
    const WChar next = i + 1 < sentence.size() ? sentence[i + 1] : WChar{0};
    if ((c == u' ' || c == u'.') && next == c) continue;
    normal += c;
  }
  return normal + u"  ";
}

}  // namespace

bool StartsWithCapital(WString text) { return !text.empty() && text[0] >= u'A' && text[0] <= u'Z'; }

bool IsTokenDelimiter(WChar c) {
  switch (c) {
    case u'\n':
    case u' ':
    case u'!':
    case u'\'':
    case u'(':
    case u')':
    case u',':
    case u'.':
    case u':':
    case u';':
    case u'?':
    case u'[':
    case u']':
    case u'{':
    case u'}':
    case u'"': return true;
    default: return false;
  }
}

CPreProcessor::CPreProcessor(CELexicon* lexicon)
    : ownedMaker_(std::make_unique<CLexiconEntryMaker>(lexicon)), entryMaker_(ownedMaker_.get()) {
  LoadTables();
}

CPreProcessor::CPreProcessor(CTokenEntryMaker& entryMaker) : entryMaker_(&entryMaker) { LoadTables(); }

CPreProcessor::~CPreProcessor() = default;

// The POS list comes before the unit reading lists, whose names it resolves.
void CPreProcessor::LoadTables() {
  GlobalTransitionTable().Load();
  ReadPOSList();
  ReadUnitPOS();
  ReadAbbreviations();
}

bool CPreProcessor::SetSentence(const WString& sentence) {
  entriesOfPreviousSentence_ = std::move(entriesOfSentence_);
  entriesOfSentence_.clear();
  endOfInput_ = false;
  position_ = 0;
  tokenStart_ = 0;
  state_ = kStartState;
  backtrack_.clear();
  pending_ = CToken();
  lastBuiltEntry_ = nullptr;
  ResetTokenState();

  WString normal = Normalise(sentence);
  if (normal.size() > kMaxSentenceLength) {
    sentence_.clear();
    ShowMessage(u"The sentence has more than " + NarrowToWide(std::to_string(kMaxSentenceLength - 2)) +
                    u" characters; it is not tokenised.",
                u"Tokeniser", MessageStyle::Ok);
    return false;
  }
  sentence_ = std::move(normal);
  return true;
}

bool CPreProcessor::IsAtLastChar() const { return position_ + 2 >= sentence_.size(); }

int CPreProcessor::GetPOSIndex(const WString& name) const {
  const auto found = std::find(posList_.begin(), posList_.end(), name);
  if (found == posList_.end()) return -1;
  return static_cast<int>(found - posList_.begin()) + 1;
}

void CPreProcessor::StartToken() {
  state_ = kStartState;
  backtrack_.clear();
  pending_ = CToken();
  lastBuiltEntry_ = nullptr;
  tokenStart_ = position_;
}

CToken CPreProcessor::NextToken() {
  StartToken();
  CToken token;
  for (;;) {
    if (position_ >= sentence_.size()) {
      // Out of text: resume from an alternative, or let the fixed rules read
      // what the automaton consumed (they give the end of input when nothing
      // but blanks is left).
      const Step step = backtrack_.empty() ? ReadByFixedRules(token) : Backtrack(token);
      if (step == Step::kTokenReady) return token;
      continue;
    }
    const WChar c = sentence_[position_];
    if (state_ == kStartState && (c == u' ' || c == u'"')) {
      tokenStart_ = ++position_;
      continue;
    }
    if (position_ == 0 && c == u'\'') {
      tokenStart_ = ++position_;
      continue;
    }
    Step step;
    if (!IsTableMarker(c) && GlobalTransitionTable().HasTransition(state_, c))
      step = TakeTransition(c, token);
    else if (!backtrack_.empty())
      step = Backtrack(token);
    else
      step = ReadByFixedRules(token);
    if (step == Step::kTokenReady) return token;
  }
}

// Takes the first transition of (state, c) and keeps the others as
// alternatives. A transition of order key 0 followed by a delimiter ends the
// token; the following character is only looked at, never consumed.
CPreProcessor::Step CPreProcessor::TakeTransition(WChar c, CToken& token) {
  const std::vector<CTransition> transitions = GlobalTransitionTable().NextTransitions(state_, c);
  const CTransition& taken = transitions.front();
  const size_t here = position_;
  state_ = static_cast<uint16_t>(taken.GetNextState());
  scan_.partText += c;
  scan_.tokenText += c;
  const bool endsHere = here + 1 >= sentence_.size() || IsTokenDelimiter(sentence_[here + 1]);
  if (taken.GetOrderKey() == 0 && endsHere) {
    token = EndAutomatonToken(here + 1, true);
    return Step::kTokenReady;
  }
  DispatchAccept(taken.GetAcceptCode(), taken.GetFlag(), taken.GetArg1(), taken.GetArg2(), taken.GetArg3());
  for (size_t i = 1; i < transitions.size(); ++i)
    backtrack_.push_back({transitions[i], here, scan_.partText, scan_.tokenText});
  position_ = here + 1;
  return Step::kContinue;
}

// Resumes from the latest alternative: its state, the texts and position it
// was saved with, then its accept code.
CPreProcessor::Step CPreProcessor::Backtrack(CToken& token) {
  const BacktrackRecord record = std::move(backtrack_.back());
  backtrack_.pop_back();
  const CTransition& t = record.transition;
  state_ = static_cast<uint16_t>(t.GetNextState());
  scan_.partText = record.partText;
  scan_.tokenText = record.tokenText;
  position_ = record.position;
  DispatchAccept(t.GetAcceptCode(), t.GetFlag(), t.GetArg1(), t.GetArg2(), t.GetArg3());
  const size_t after = position_ + 1;
  if (t.GetOrderKey() == 0 && (after >= sentence_.size() || IsTokenDelimiter(sentence_[after]))) {
    token = EndAutomatonToken(after, false);
    return Step::kTokenReady;
  }
  position_ = after;
  return Step::kContinue;
}

// Ends the automaton's token before the character at afterPosition: the
// state's end-of-token transition runs its builder, and the pending token is
// returned. A token that no builder named keeps the characters consumed.
CToken CPreProcessor::EndAutomatonToken(size_t afterPosition, bool trailingSkip) {
  position_ = afterPosition;
  const std::vector<CTransition> ends = GlobalTransitionTable().NextTransitions(state_, kEndOfTokenMarker);
  if (!ends.empty()) {
    const CTransition& end = ends.front();
    state_ = static_cast<uint16_t>(end.GetNextState());
    DispatchAccept(end.GetAcceptCode(), end.GetFlag(), end.GetArg1(), end.GetArg2(), end.GetArg3());
  }
  if (pending_.Text.empty()) pending_.Text = scan_.tokenText;
  backtrack_.clear();
  ResetTokenState();
  if (trailingSkip) FirstEndingTrailingSkip();
  return WithEntryOrAsWord(pending_);
}

// A token of a category kind goes to the parser with its entry; when none
// could be made (no lexicon, features that do not compile) it goes as a word
// to be looked up instead.
CToken CPreProcessor::WithEntryOrAsWord(CToken token) const {
  const bool categoryKind = token.Kind != kTokenWord && token.Kind != kTokenAbbreviation &&
                            token.Kind != kTokenSentenceEnd && token.Kind != kTokenEndOfInput;
  if (categoryKind && !lastBuiltEntry_) {
    token.Kind = kTokenWord;
    token.Readings.clear();
  }
  return token;
}

CToken CPreProcessor::EndOfInputToken() {
  endOfInput_ = true;
  ResetTokenState();
  CToken token;
  token.Kind = kTokenEndOfInput;
  return token;
}

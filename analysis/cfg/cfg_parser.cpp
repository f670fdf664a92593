// CCfgParser: set-up, word look-up and the collection of one sentence's
// tokens and reading lists from the tokeniser.
#include "analysis/cfg/cfg_parser.h"

#include <cstdio>
#include <string>

#include "analysis/cfg/cfg_chart.h"
#include "analysis/tokeniser/pre_processor.h"
#include "core/config_store.h"
#include "core/feature_set.h"
#include "core/parse_clock.h"
#include "core/sentence_state.h"
#include "core/string_helpers.h"
#include "core/trace_log.h"
#include "platform/file_system.h"

namespace {

// Feature sets of the constraint system get room for this many choices.
constexpr int kFeatureBitCount = 150;

WString LowerCased(const WString& word) {
  WString lower = word;
  for (WChar& c : lower) {
    if (c >= u'A' && c <= u'Z') c = static_cast<WChar>(c - u'A' + u'a');
  }
  return lower;
}

// The first integer of an 8-bit text file (leading white space skipped);
// false when the file is missing or does not start with a number.
bool ReadFirstInteger(const std::string& path, long& value) {
  if (path.empty()) return false;
  FileHandle file(OpenFile(path, "r"));
  if (!file) return false;
  return std::fscanf(file.get(), " %ld", &value) == 1;
}

}  // namespace

CCfgParser::CCfgParser(CELexicon* lexicon, P_Grammar* grammar, CPreProcessor* preProcessor)
    : tagger_(std::make_unique<CPosTagger>()), preProcessor_(preProcessor), grammar_(grammar), lexicon_(lexicon) {
  tagger_->LoadBigramTable(GetConfigValue("BigramProbabilityTable"));
  ReadTimeLimit();
  InitFeatureBits(kFeatureBitCount);
  // The chart is the part of the sentence's state this parser frees.
  SetSentenceRelease(SentencePart::kCharts, [this] { ClearChart(); });
}

CCfgParser::~CCfgParser() {
  SetSentenceRelease(SentencePart::kCharts, [] {
    FreeAllEarleyItems();
    FreeAllChartColumns();
  });
}

// The limit counts milliseconds. A missing file, or one without a usable
// number, leaves the default in force and says so in the trace log.
void CCfgParser::ReadTimeLimit() {
  long value = 0;
  const bool read = ReadFirstInteger(GetConfigValue("Time"), value);
  if (read && value >= 0 && value <= INT32_MAX) {
    SetTimeLimit(static_cast<int32_t>(value));
    return;
  }
  SetTimeLimit(kDefaultParseTimeLimit);
  WriteTraceLog(u"The parse time limit could not be read from the \"Time\" file; using the default of " +
                IntToWString(kDefaultParseTimeLimit) + u" ms");
}

void CCfgParser::SetTimeLimit(int32_t milliseconds) {
  timeLimit_ = milliseconds;
  ParseTimeLimit = milliseconds;
}

CEntryList CCfgParser::LookUpWord(const WString& word) {
  if (lexicon_ == nullptr) return {};
  std::unique_ptr<CEntryList> entries = lexicon_->GetEntries(word);
  if (entries->empty()) entries = lexicon_->GetEntries(LowerCased(word));
  if (!entries->empty()) return *entries;
  CEntryList readings;
  for (std::unique_ptr<CELexicalEntry>& entry : lexicon_->MakeDefaultEntries(word)) {
    readings.push_back(entry.get());
    defaultReadings_.push_back(std::move(entry));
  }
  return readings;
}

// Words, abbreviations and sentence ends are looked up; the tokeniser built
// the entry of every other kind of token itself.
bool CCfgParser::IsLookedUp(const CToken& token) {
  return token.Kind == kTokenWord || token.Kind == kTokenAbbreviation || token.Kind == kTokenSentenceEnd;
}

CEntryList CCfgParser::LookUpToken(const CToken& token) {
  if (IsLookedUp(token)) return LookUpWord(token.Text);
  if (token.Kind == kTokenEndOfInput || preProcessor_ == nullptr) return {};
  CELexicalEntry* entry = preProcessor_->GetLastBuiltEntry();
  if (entry == nullptr) return {};
  return {entry};
}

void CCfgParser::Emit(const CToken& token, const CEntryList& readings, CSentenceReadings& outReadings,
                      CSentenceTokens& outTokens) {
  outTokens.push_back(new CToken(token));
  outReadings.push_back(readings);
}

void CCfgParser::PreprocessSentence(CSentenceReadings& readings, CSentenceTokens& tokens) {
  if (preProcessor_ == nullptr) return;
  // Default readings live until the sentence after the one they were made
  // for: a held-over token may still point to them.
  previousDefaultReadings_ = std::move(defaultReadings_);
  defaultReadings_.clear();

  CToken current;
  CEntryList currentReadings;
  if (pending_) {
    pending_ = false;
    current = heldToken_;
    // A held word is looked up again: the names of its default readings
    // left the symbol table with the sentence before.
    currentReadings = IsLookedUp(current) ? LookUpWord(current.Text) : heldReadings_;
  } else {
    current = preProcessor_->NextToken();
    currentReadings = LookUpToken(current);
  }
  auto at_end = [this] { return preProcessor_->IsAtLastChar(); };
  // A token read as the last one of the text is emitted at once, unless it
  // ends the sentence.
  auto emit_if_last = [&](const CToken& token, const CEntryList& list) {
    if (at_end() && token.Kind != kTokenSentenceEnd) Emit(token, list, readings, tokens);
  };
  // A one-token sentence; the end of the input itself is no token.
  if (at_end() && current.Kind != kTokenEndOfInput) Emit(current, currentReadings, readings, tokens);

  while (!at_end() && current.Kind != kTokenEndOfInput && current.Kind != kTokenSentenceEnd) {
    if (current.Kind != kTokenAbbreviation) {
      Emit(current, currentReadings, readings, tokens);
      current = preProcessor_->NextToken();
      currentReadings = LookUpToken(current);
      emit_if_last(current, currentReadings);
      continue;
    }
    CToken following = preProcessor_->NextToken();
    CEntryList followingReadings = LookUpToken(following);
    if (following.Text.empty() || following.Text[0] != u'.') {
      Emit(current, currentReadings, readings, tokens);
      current = following;
      currentReadings = followingReadings;
      emit_if_last(current, currentReadings);
      continue;
    }
    // An abbreviation and its period: a capitalised word after them starts
    // the next sentence.
    CToken next = preProcessor_->NextToken();
    Emit(current, currentReadings, readings, tokens);
    Emit(following, followingReadings, readings, tokens);
    current = next;
    currentReadings = LookUpToken(current);
    if (StartsWithCapital(current.Text)) {
      pending_ = true;
      heldToken_ = current;
      heldReadings_ = currentReadings;
      return;
    }
    emit_if_last(current, currentReadings);
  }
}

void CCfgParser::PreprocessText(CSentenceReadings& readings, CSentenceTokens& tokens) {
  if (preProcessor_ == nullptr) return;
  // Every call hands the defaults of the call before it to
  // previousDefaultReadings_ and frees older ones: keep those of this text.
  std::vector<std::unique_ptr<CELexicalEntry>> textDefaults;
  const size_t maxCalls = preProcessor_->GetSentence().size() + 2;
  for (size_t call = 0; call < maxCalls; ++call) {
    if (call > 1) {
      for (auto& reading : previousDefaultReadings_) textDefaults.push_back(std::move(reading));
      previousDefaultReadings_.clear();
    }
    PreprocessSentence(readings, tokens);
    if (!pending_ && (preProcessor_->IsAtLastChar() || preProcessor_->IsEndOfInput())) break;
  }
  pending_ = false;
  for (auto& reading : textDefaults) defaultReadings_.push_back(std::move(reading));
}

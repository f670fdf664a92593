// CCfgParser: the parse drivers, the chart over per-sentence reading copies,
// and the Earley loop with its predictor, scanner and completer.
#include <algorithm>
#include <functional>
#include <memory>

#include "analysis/cfg/cfg_completeness.h"
#include "analysis/cfg/cfg_parser.h"
#include "constraints/p_symbol_table.h"
#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/parse_clock.h"
#include "core/sentence_memory.h"
#include "core/string_helpers.h"
#include "core/symbol_table.h"
#include "core/trace_log.h"
#include "platform/message_box.h"

namespace {

constexpr char16_t kParserCaption[] = u"CFG Parser";

void ReportLimit(const WString& text) {
  ShowMessage(text, kParserCaption, MessageStyle::Ok | MessageStyle::IconInformation);
}

// Restores the chart readings' words however a parse ends.
class ReadingSymbolGuard {
 public:
  explicit ReadingSymbolGuard(std::function<void()> restore) : restore_(std::move(restore)) {}
  ~ReadingSymbolGuard() { restore_(); }
  ReadingSymbolGuard(const ReadingSymbolGuard&) = delete;
  ReadingSymbolGuard& operator=(const ReadingSymbolGuard&) = delete;

 private:
  std::function<void()> restore_;
};

}  // namespace

// --- Drivers ------------------------------------------------------------------

bool CCfgParser::ParseTokens(CSentenceReadings& readings, CSentenceTokens& tokens) {
  ClearChart();
  timedOut_ = false;
  choicesExhausted_ = false;
  lastParseSucceeded_ = false;
  solved_ = nullptr;
  chartDumpOfSentence_.clear();
  tree_ = nullptr;
  if (grammar_ == nullptr || readings.empty() || readings.size() != tokens.size()) return false;
  if (readings.size() > kMaxChartTokens) {
    ReportLimit(u"The sentence has more than " + IntToWString(static_cast<int>(kMaxChartTokens)) +
                u" tokens and cannot be parsed.");
    return false;
  }
  ReadingSymbolGuard guard([this] {
    RestoreReadingSymbols();
    sentenceBudgetStarted_ = false;
  });
  // One time limit and one memory budget for every phase of the sentence:
  // both parses, the F-structures, solving and the trees.
  BeginSentenceBudget();

  FilterConjunctionReadings(readings, tokens);
  const CSentenceReadings full = readings;
  readings = TagReadings(full, tokens);
  FilterAuxParticleReadings(readings, full);
  LogTaggedSentence(readings);

  if (ParseReadings(readings, tokens)) {
    WriteTraceLog(u"CFG parsing completed");
    if (FinishAnalysis()) return true;
    // The tagged chart is complete but its analysis failed in solving (or
    // is incomplete): the readings the tagger left out may give a sound
    // one. A sentence out of time, memory, choices or names stays failed,
    // and so does one whose tagging left every reading in.
    if (!MayRetryOverAllReadings(readings, full)) return false;
    WriteTraceLog(u"The analysis over the tagged readings failed in solving");
  } else {
    WriteTraceLog(u"POS tagger's tagging failed");
  }
  RestoreReadingSymbols();
  readings = full;
  if (!ParseReadings(readings, tokens)) {
    WriteTraceLog(u"CFG parsing failed");
    return false;
  }
  WriteTraceLog(u"CFG parsing completed");
  return FinishAnalysis();
}

bool CCfgParser::MayRetryOverAllReadings(const CSentenceReadings& tagged, const CSentenceReadings& full) const {
  if (timedOut_ || choicesExhausted_ || P_SymbolTable::NamesRefused()) return false;
  return tagged != full;
}

bool CCfgParser::ParseSentence() {
  CSentenceReadings readings;
  CSentenceTokens tokens;
  PreprocessSentence(readings, tokens);
  const bool parsed = ParseTokens(readings, tokens);
  for (CToken* token : tokens) delete token;
  return parsed;
}

// The tagger's choice per token; tokens that carry their own list of parts
// of speech keep all their readings.
CSentenceReadings CCfgParser::TagReadings(const CSentenceReadings& full, const CSentenceTokens& tokens) {
  CSentenceReadings tagged = tagger_->TagSentence(full);
  for (size_t t = 0; t < tagged.size() && t < tokens.size(); ++t) {
    if (tokens[t] != nullptr && !tokens[t]->Readings.empty()) tagged[t] = full[t];
  }
  return tagged;
}

void CCfgParser::LogTaggedSentence(const CSentenceReadings& readings) {
  WString line;
  for (const CEntryList& list : readings) {
    if (list.empty() || list[0] == nullptr) continue;
    line += GetSymbolName(list[0]->GetPartSymbol()) + u":" + NarrowToWide(grammar_->GetPOSName(list[0]->GetPOSId())) +
            u"    ";
  }
  WriteTraceLog(line);
}

bool CCfgParser::ParseReadings(const CSentenceReadings& readings, const CSentenceTokens& tokens) {
  if (!BuildChart(readings, tokens)) return false;
  return ParseChart();
}

// Builds and solves the F-structure of the analysis; a time-out or choice
// overflow anywhere on the way, or a structure without a consistent reading,
// is no analysis.
bool CCfgParser::FinishAnalysis() {
  CCfgChartItem* start = FindCompleteStartItem();
  if (start == nullptr || !BuildFStructure(start)) return false;
  // A name the symbol table refused is missing from the structures (it said
  // so once): what is left is not the sentence's analysis.
  if (P_SymbolTable::NamesRefused()) return false;
  P_FStructure* solved = GetSolvedFStructure();
  if (solved == nullptr || timedOut_ || OutOfBudget()) {
    timedOut_ = timedOut_ || OutOfBudget();
    return false;
  }
  // The tree is made here, once: it is checked before the analysis counts,
  // and GetParseResult hands it out.
  CFSHandle* tree = ConvertFStructure(solved);
  if (conversionOutOfTime_) {
    timedOut_ = true;
    WriteTraceLog(u"The F-structure tree was not finished within the sentence's time or memory");
    return false;
  }
  if (!clashingAttribute_.empty()) {
    WriteTraceLog(u"Inconsistent analysis: the values of " + clashingAttribute_ +
                  u" clash where the analysis shares a structure");
    return false;
  }
  if (const CFSNode* incomplete = FindIncompleteNode(tree->root)) {
    WriteTraceLog(u"Incomplete analysis: a predicate lacks a function of its frame (" +
                  GetSymbolName(static_cast<SymbolId>(incomplete->Attribute)) + u")");
    return false;
  }
  solved_ = solved;
  tree_ = tree;
  lastParseSucceeded_ = true;
  return true;
}

// --- The chart ----------------------------------------------------------------

// The chart's items and columns of the previous parse go; their F-structures
// stay with the constraint system's registry.
void CCfgParser::ReleaseChart() { ClearChart(); }

void CCfgParser::ClearChart() {
  currentColumn_ = nullptr;
  currentItem_ = nullptr;
  columns_.clear();
  FreeAllEarleyItems();
  FreeAllChartColumns();
  numberedReadings_.clear();
  columnReadings_.clear();
  readingCopies_.clear();
}

CELexicalEntry* CCfgParser::CopyReading(const CELexicalEntry& reading, size_t position) {
  const uint16_t symbol = reading.GetPartSymbol();
  auto copy = std::make_unique<CELexicalEntry>(reading.posId, reading.itemIds, symbol, reading.weight);
  copy->choiceCount = reading.choiceCount;
  copy->reserved = reading.reserved;
  if (reading.part) copy->part->bytes = reading.part->bytes;
  // Every reading takes a slot in both tables; only those with a word carry
  // their number.
  const size_t k = readingSymbols_.size();
  readingSymbols_.push_back(symbol);
  readingPositions_.push_back(static_cast<uint16_t>(position));
  if (symbol != 0) copy->part->symbol = static_cast<uint16_t>(kReadingNumberBase + k);
  numberedReadings_.push_back(copy.get());
  readingCopies_.push_back(std::move(copy));
  return readingCopies_.back().get();
}

bool CCfgParser::BuildChart(const CSentenceReadings& readings, const CSentenceTokens& tokens) {
  ClearChart();
  size_t total = 0;
  for (const CEntryList& list : readings) total += list.size();
  if (total > kMaxChartReadings) {
    ReportLimit(u"The sentence has more than " + IntToWString(static_cast<int>(kMaxChartReadings)) +
                u" readings and cannot be parsed.");
    return false;
  }
  readingSymbols_.assign(1, 0);
  readingPositions_.assign(1, 0);
  tokenRecords_ = CNamedIdList();
  for (size_t c = 0; c < readings.size(); ++c) {
    auto list = std::make_unique<CEntryList>();
    auto* record = new CNamedId(tokens[c] != nullptr ? tokens[c]->Text : WString(), -1);
    for (const CELexicalEntry* reading : readings[c]) {
      if (reading == nullptr) continue;
      list->push_back(CopyReading(*reading, c));
      record->Id = reading->GetPOSId();
    }
    tokenRecords_.Items.push_back(record);
    columns_.push_back(new CCfgChartColumn(list.get()));
    columnReadings_.push_back(std::move(list));
  }
  columns_.push_back(new CCfgChartColumn(nullptr));
  return true;
}

void CCfgParser::RestoreReadingSymbols() {
  for (size_t i = 0; i < numberedReadings_.size(); ++i) {
    CELexicalEntry* reading = numberedReadings_[i];
    if (reading->part) reading->part->symbol = readingSymbols_[i + 1];
  }
}

CCompiledProduction* CCfgParser::FindStartProduction() const {
  if (grammar_ == nullptr) return nullptr;
  auto productions = grammar_->GetProductionsForLHS(grammar_->GetStartCategoryId());
  if (!productions || productions->empty()) return nullptr;
  return productions->front();
}

CCfgChartItem* CCfgParser::FindCompleteStartItem() const {
  CCompiledProduction* start = FindStartProduction();
  if (start == nullptr || columns_.empty()) return nullptr;
  for (CCfgChartItem* item : columns_.back()->GetItemsOfProduction(start->number)) {
    if (item->IsComplete() && item->GetOrigin() == 0) return item;
  }
  return nullptr;
}

// --- The Earley loop ----------------------------------------------------------

bool CCfgParser::ParseChart() {
  currentColumnIndex_ = 0;
  if (columns_.empty()) return false;
  auto seeds = grammar_->GetProductionsForLHSAndMask(grammar_->GetStartCategoryId(), columns_[0]->GetCategoryMask());
  if (!seeds || seeds->empty()) return false;
  AddItemToColumn(new CCfgChartItem(0, seeds->front()), 0);
  if (!sentenceBudgetStarted_) BeginSentenceBudget();

  for (; currentColumnIndex_ < columns_.size(); ++currentColumnIndex_) {
    currentColumn_ = columns_[currentColumnIndex_];
    while (currentColumn_->GetNextItemIndex() < currentColumn_->GetItemCount()) {
      currentItem_ = currentColumn_->GetItem(static_cast<int>(currentColumn_->GetNextItemIndex()));
      if (currentItem_->IsComplete()) {
        Complete();
      } else if (currentItem_->GetSymbolAfterDot().isPOS) {
        Scan();
      } else {
        Predict();
      }
      currentColumn_->AdvanceNextItem();
      if (OutOfBudget()) {
        AbandonTimedOutChart();
        return false;
      }
    }
  }
  DumpChartWhenAsked();
  return FindCompleteStartItem() != nullptr;
}

void CCfgParser::BeginSentenceBudget() {
  parseStart_ = ParseClock();
  ParseStartTime = parseStart_;
  BeginSentenceMemory(parseStart_);
  sentenceBudgetStarted_ = true;
}

bool CCfgParser::OutOfBudget() const {
  const int64_t now = ParseClock();
  return now - parseStart_ > timeLimit_ || SentenceMemoryExceeded(now);
}

void CCfgParser::AbandonTimedOutChart() {
  DumpChartWhenAsked();
  timedOut_ = true;
  for (CCfgChartColumn* column : columns_) column->Release();
  columns_.clear();
  currentColumn_ = nullptr;
  currentItem_ = nullptr;
  FreeAllEarleyItems();
}

void CCfgParser::AddItemToColumn(CCfgChartItem* item, size_t column) {
  item->SetColumn(static_cast<uint16_t>(column));
  columns_[column]->AddItem(item);
}

// Only productions that can begin with a part of speech of the current word
// are predicted; the final column predicts nothing. Each category is
// predicted once per column.
void CCfgParser::Predict() {
  const uint16_t category = currentItem_->GetSymbolAfterDot().id;
  if (!currentColumn_->FirstPrediction(category)) return;
  auto productions = grammar_->GetProductionsForLHSAndMask(category, currentColumn_->GetCategoryMask());
  if (!productions) return;
  for (CCompiledProduction* production : *productions) {
    AddItemToColumn(new CCfgChartItem(static_cast<uint16_t>(currentColumnIndex_), production), currentColumnIndex_);
  }
}

// Every reading of the part of speech after the dot moves the item into the
// next column. The copies are one item there, with one alternative per
// reading: a reading whose frame fails in solving leaves the others.
void CCfgParser::Scan() {
  const CEntryList* readings = currentColumn_->GetReadings();
  if (readings == nullptr) return;
  const uint16_t pos = currentItem_->GetSymbolAfterDot().id;
  for (CELexicalEntry* reading : *readings) {
    if (reading->GetPOSId() != pos) continue;
    CCfgChartItem* copy = currentItem_->CloneAdvanced();
    copy->AdvanceDot({nullptr, reading});
    AddItemToColumn(copy, currentColumnIndex_ + 1);
  }
}

void CCfgParser::Complete() {
  currentItem_->ComputeScores();
  CCfgChartColumn* origin = columns_[currentItem_->GetOrigin()];
  auto waiting = origin->GetItemsWaitingFor(currentItem_->GetProduction()->lhs);
  for (size_t index : *waiting) {
    CCfgChartItem* copy = origin->GetItem(static_cast<int>(index))->CloneAdvanced();
    copy->AdvanceDot({currentItem_, nullptr});
    AddItemToColumn(copy, currentColumnIndex_);
  }
}

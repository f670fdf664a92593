// The CFG parse pipeline: cuts the tokeniser's stream into one sentence's
// tokens with a reading list per token, narrows the readings by rules and by
// the part-of-speech tagger, fills an Earley chart over the compiled English
// grammar (falling back to all readings when the tagged readings do not
// parse or their analysis fails in solving), builds and solves the
// F-structure of the complete analysis through the constraint system, and
// turns it into a CFSNode tree under "ROOT", which is checked for complete
// frames and consistent shared structures before it counts as an analysis.
// One time limit and one memory budget cover all of a sentence's phases.
//
// Files: cfg_parser.cpp (set-up, word look-up, sentence collection),
// cfg_reading_filters.cpp, cfg_parsing.cpp (chart and Earley loop),
// cfg_fstructure_builder.cpp, cfg_parse_result.cpp, cfg_cstructure_xml.cpp.
//
// Readings in the chart are per-sentence copies of the lexicon's entries, one
// per token position, so a word that occurs twice gets two reading numbers
// and two INDEX values, and neither a parse nor its failure or time-out ever
// changes the lexicon.
//
// Ownership: the parser owns its tagger, its reading copies and the default
// readings it made for unknown words; it does not own the lexicon, grammar or
// tokeniser. Chart columns and items belong to the chart registries (freed at
// the start of the next parse); every P_FStructure belongs to the constraint
// system's per-sentence registry (freed by P_FSCompiler::ResetForSentence),
// so the parser never deletes one. Ask for the parse result before that reset.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "analysis/cfg/cfg_chart.h"
#include "analysis/tagger/pos_tagger.h"
#include "constraints/context_search.h"
#include "core/parse_result.h"
#include "core/token.h"
#include "core/wide_string.h"

class CFileWriter;
class CFSHandle;
class CFSNode;
class CPreProcessor;
class P_ConVal;
class P_FSItem;
class P_FSItemComplex;
class P_FStructure;

// A token vector parallel to a sentence's reading lists; the caller of
// PreprocessSentence owns the tokens.
using CSentenceTokens = std::vector<CToken*>;

// Limit used when the "Time" file is missing or holds no number.
inline constexpr int32_t kDefaultParseTimeLimit = 5000;
// Reading numbers stand in the PRED values of the constraint system next to
// its own symbol ids (1 to 550); they are offset by this base so that the two
// can never be mistaken for one another.
inline constexpr uint16_t kReadingNumberBase = 0x8000;
// The largest sentences a chart holds: token positions are 16-bit, and every
// reading needs a number below 65536 - kReadingNumberBase.
inline constexpr size_t kMaxChartTokens = 32000;
inline constexpr size_t kMaxChartReadings = 0xFFFF - kReadingNumberBase;
// Elements written for one C-structure file at most; a chart with many
// shared alternatives would otherwise give a file exponential in its size.
inline constexpr size_t kMaxCStructureXmlElements = 20000;

class CCfgParser {
 public:
  // Creates the tagger with the bigram table of "BigramProbabilityTable" and
  // reads the time limit from the file of "Time".
  CCfgParser(CELexicon* lexicon, P_Grammar* grammar, CPreProcessor* preProcessor);
  ~CCfgParser();
  CCfgParser(const CCfgParser&) = delete;
  CCfgParser& operator=(const CCfgParser&) = delete;

  // --- Set-up and reading lists (cfg_parser.cpp, cfg_reading_filters.cpp)

  // The word's readings as written, else lower-cased, else default
  // readings (owned by the parser until the sentence after next).
  CEntryList LookUpWord(const WString& word);
  // Appends one sentence's reading lists and tokens from the tokeniser.
  void PreprocessSentence(CSentenceReadings& readings, CSentenceTokens& tokens);
  // Appends the reading lists and tokens of the whole text that the
  // tokeniser holds, read on past sentence ends to its end, so that no token
  // is held over for the next text. The default readings made for it live
  // until the text after the next one.
  void PreprocessText(CSentenceReadings& readings, CSentenceTokens& tokens);
  void FilterConjunctionReadings(CSentenceReadings& readings, const CSentenceTokens& tokens);
  void FilterAuxParticleReadings(CSentenceReadings& tagged, const CSentenceReadings& full);
  void SetTimeLimit(int32_t milliseconds);
  int32_t GetTimeLimit() const { return timeLimit_; }

  // --- Parsing (cfg_parsing.cpp)

  // Tags, parses (again over all readings when the tagged parse or its
  // analysis fails), builds, solves and makes the tree. True only for an
  // analysis that was built, solved and converted within the sentence's time
  // and memory, has a consistent reading and a tree with complete frames.
  bool ParseTokens(CSentenceReadings& readings, CSentenceTokens& tokens);
  // PreprocessSentence into lists of its own, then ParseTokens.
  bool ParseSentence();
  // Frees the chart of the last parse (its columns and items) now instead of
  // at the start of the next parse; its C-structures are gone afterwards.
  void ReleaseChart();
  // Fills the current chart; true when the final column holds a complete
  // item of the start production.
  bool ParseChart();
  void Predict();
  void Scan();
  void Complete();
  void AddItemToColumn(CCfgChartItem* item, size_t column);

  // --- F-structures (cfg_fstructure_builder.cpp)

  // Builds the F-structure of the complete start item and solves it; false
  // when the time ran out or the choices passed their limit.
  bool BuildFStructure(CCfgChartItem* item);
  // The recursive walk; counter is the running choice counter.
  void BuildItemFStructures(CCfgChartItem* item, P_FStructure* fs, int* counter);
  // The solved F-structure restricted to its chosen reading, or null.
  P_FStructure* GetSolvedFStructure();

  // --- Results (cfg_parse_result.cpp)

  // The analysis of the last successful parse, or null. The caller owns the
  // result; its nodes and handle belong to their registries. The first call
  // hands out the tree the parse checked; a later one converts again.
  CParseResult* GetParseResult();
  CFSHandle* ConvertFStructure(P_FStructure* fs);
  CFSNode* ConvertFStructureNode(P_FStructure* fs, CFSNode* node);

  // --- C-structures (cfg_cstructure_xml.cpp)

  // Writes the C-structures of the last chart; nothing for an empty name.
  // A chart without a complete start item gives an empty <C-Structures/>
  // element.
  void WriteCStructuresXml(const std::string& fileName);
  void WriteAlternativesXml(CCfgChartItem* item, CFileWriter& writer);

  // --- Developer chart dump (cfg_chart_dump.cpp)

  // Every later ParseChart writes the file anew with the charts of the
  // sentence so far (both charts when the tagged readings did not parse);
  // an empty name switches the dump off.
  void SetChartDumpFile(const std::string& fileName) { chartDumpFile_ = fileName; }
  const std::string& GetChartDumpFile() const { return chartDumpFile_; }
  // The current chart: per column "ChartColumn:---" and its number, then one
  // line per item.
  WString ChartDumpText() const;
  // Writes ChartDumpText to the file; false when it cannot be created.
  bool WriteChartDump(const std::string& fileName) const;

  // --- For the tests and the drivers
  const std::vector<CCfgChartColumn*>& GetColumns() const { return columns_; }
  const CNamedIdList& GetTokenRecords() const { return tokenRecords_; }
  const std::vector<uint16_t>& GetReadingSymbols() const { return readingSymbols_; }

 private:
  // Sentence collection.
  static bool IsLookedUp(const CToken& token);
  CEntryList LookUpToken(const CToken& token);
  void Emit(const CToken& token, const CEntryList& readings, CSentenceReadings& outReadings,
            CSentenceTokens& outTokens);
  void ReadTimeLimit();

  // Chart set-up and reading numbers.
  void ClearChart();
  bool BuildChart(const CSentenceReadings& readings, const CSentenceTokens& tokens);
  CELexicalEntry* CopyReading(const CELexicalEntry& reading, size_t position);
  void RestoreReadingSymbols();
  bool ParseReadings(const CSentenceReadings& readings, const CSentenceTokens& tokens);
  CSentenceReadings TagReadings(const CSentenceReadings& full, const CSentenceTokens& tokens);
  void LogTaggedSentence(const CSentenceReadings& readings);
  CCfgChartItem* FindCompleteStartItem() const;
  CCompiledProduction* FindStartProduction() const;
  // The time limit and the memory budget of a sentence start once, in
  // ParseTokens (or in ParseChart called alone), and cover every phase.
  void BeginSentenceBudget();
  bool OutOfBudget() const;
  void AbandonTimedOutChart();
  bool FinishAnalysis();
  bool MayRetryOverAllReadings(const CSentenceReadings& tagged, const CSentenceReadings& full) const;

  // F-structure steps.
  struct DistinctChild {
    CCfgChild child;
    ContextList context;
  };
  std::vector<DistinctChild> CollectDistinctChildren(const CCfgChildAlternatives& alternatives,
                                                     const std::vector<ContextList>& contexts, size_t position);
  P_FStructure* ChildFStructure(const CCfgChild& child, int* counter);
  P_FStructure* EnsureItemFStructure(CCfgChartItem* item, int* counter);
  P_FStructure* BuildReadingFStructure(CELexicalEntry* reading, int* counter);
  void ApplyAnnotation(uint16_t itemId, int offset, P_FStructure* fs, P_FStructure* daughter,
                       const std::vector<P_ConVal*>* links);
  void DefineOnDaughters(const P_FSItemComplex& item, ChoiceLiteral shift, P_FStructure* mother, P_FStructure* daughter,
                         const std::vector<P_ConVal*>* links);
  void StoreInstantiatedItem(P_FSItem* item, P_FStructure* fs, P_FStructure* daughter, bool rewritePred);
  void RewritePredValues(P_FSItem* wrapper);
  bool ReserveChoices(int count);
  void FinishFStructure(P_FStructure* fs);
  uint16_t ReadingNumberOfSymbol(uint16_t globalSymbol) const;

  // Conversion steps.
  void ConvertPred(CFSNode* node, const P_ConVal* value);
  void ConvertGf(CFSNode* node, const P_ConVal* value);
  void ConvertIndex(CFSNode* node, const P_ConVal* value);
  void ConvertAttribute(CFSNode* node, uint16_t attribute, const std::list<P_ConVal*>& values);
  void ConvertItems(P_FStructure* fs, CFSNode* node);
  std::vector<P_FStructure*> StructuresShownBy(P_FStructure* fs);
  size_t StructureClassOf(P_FStructure* fs);
  std::vector<P_FStructure*> SameStructureAs(P_FStructure* fs);
  void JoinStructuresOfEachNode();

  // C-structure writing.
  bool TakeXmlBudget();

  // Adds the current chart to the sentence's dump and writes the dump file,
  // when a dump file is set.
  void DumpChartWhenAsked();

  std::vector<CCfgChartColumn*> columns_;
  std::unique_ptr<CPosTagger> tagger_;
  CPreProcessor* preProcessor_;
  P_Grammar* grammar_;
  CELexicon* lexicon_;
  CCfgChartColumn* currentColumn_ = nullptr;
  CCfgChartItem* currentItem_ = nullptr;
  size_t currentColumnIndex_ = 0;
  int32_t timeLimit_ = kDefaultParseTimeLimit;
  int64_t parseStart_ = 0;
  std::vector<uint16_t> readingSymbols_;
  std::vector<uint16_t> readingPositions_;
  CNamedIdList tokenRecords_;

  // The chart's reading copies and their lists, one list per column.
  std::vector<std::unique_ptr<CELexicalEntry>> readingCopies_;
  std::vector<std::unique_ptr<CEntryList>> columnReadings_;
  std::vector<CELexicalEntry*> numberedReadings_;  // [k - 1] holds number k

  // Default readings of unknown words: those of this sentence and of the
  // one before (a held-over token may still point to them).
  std::vector<std::unique_ptr<CELexicalEntry>> defaultReadings_;
  std::vector<std::unique_ptr<CELexicalEntry>> previousDefaultReadings_;

  // A token read past a sentence end (an abbreviation, its period and a
  // capitalised word): it starts the next sentence.
  bool pending_ = false;
  CToken heldToken_;
  CEntryList heldReadings_;

  // The state of the last parse.
  bool timedOut_ = false;
  bool choicesExhausted_ = false;
  bool lastParseSucceeded_ = false;
  P_FStructure* solved_ = nullptr;  // owned by the F-structure registry
  CFSHandle* tree_ = nullptr;       // its checked tree, until handed out (handle registry)
  size_t xmlBudget_ = 0;
  std::string chartDumpFile_;
  WString chartDumpOfSentence_;
  std::vector<const CCfgChartItem*> xmlPath_;
  std::vector<const P_FStructure*> convertPath_;
  bool conversionOutOfTime_ = false;
  // The first attribute whose values clashed when the conversion joined
  // structures; empty when none did.
  WString clashingAttribute_;
  bool sentenceBudgetStarted_ = false;
  // F-structures that the conversion found to be one functional structure:
  // those converted into one node, joined over the rounds of a conversion.
  std::map<const P_FStructure*, size_t> structureClass_;
  size_t structureRevision_ = 0;  // counts every change of the classes
  std::vector<std::vector<P_FStructure*>> structureClasses_;
  std::vector<std::pair<CFSNode*, P_FStructure*>> convertedInto_;
};

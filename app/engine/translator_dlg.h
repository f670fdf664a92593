// The translator's engine and its translate road: every long-lived engine
// object built once from the configuration of the data root, and the
// pipeline that carries one typed sentence through tokeniser, segmenter, CFG
// parser, mapper and generator into a result record. The front ends (the
// command line, the page) hold one of these and fill their views from the
// records; none of them holds logic of the pipeline.
//
// Files: engine_setup.cpp (InitializeEngine), engine_release.cpp
// (ReleaseEngine and the per-sentence resets), setup_keys.cpp (the keys set-up
// reads), ../pipeline/translate_sentence.cpp (the road of one sentence),
// ../pipeline/segment_transfer.cpp (mapping and generation of one segment),
// ../batch/*.cpp (the developer drivers and the older chart-parser road).
//
// The engines share program-wide state (configuration, symbol tables,
// registries, trace log): one translator per process, one translation at a
// time. Every engine is owned here; engines hold pointers to each other and
// own none of them, so ReleaseEngine frees dependents before what they use.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/display/fstructure_tree.h"
#include "app/engine/list_run.h"
#include "app/engine/translation_result.h"
#include "core/symbol_table.h"
#include "core/wide_string.h"

class CCfgParser;
class CDiscourseTable;
class CELexicon;
class CFSNode;
class CFStructureMapper;
class CGrammar;
class CLFGParser;
class CLexicalEntry;
class CLexicon;
class CLexiconManager;
class CMessageCounter;
class CParseResult;
class CPreProcessor;
class CSentenceSegment;
class CSentenceSegmenter;
class CToken;
class CTransRules;
class CUrduSentenceGenerator;
class CUrduWordGenerator;
class P_Grammar;
struct CSetUpKeys;

// What InitializeEngine builds.
enum class EngineScope {
  kTranslation,  // every engine: the whole road
  // The English side and the segmenter: the road ends after each segment's
  // analysis (the analysis benchmarks and fuzzers). It starts as the
  // configuration says, without the data root's stamp.
  kEnglishAnalysis,
};

class CTranslatorDlg {
 public:
  CTranslatorDlg();
  // Releases the engines.
  ~CTranslatorDlg();
  CTranslatorDlg(const CTranslatorDlg&) = delete;
  CTranslatorDlg& operator=(const CTranslatorDlg&) = delete;

  // --- Set-up (engine_setup.cpp) and release (engine_release.cpp)

  // Builds every engine from "EConfig.inf" of the current folder (the data
  // root). Stops at the first failure, after one message that names the
  // file or key, and then releases what it built: the translator is either
  // fully set up or holds no engine. Returns IsReady().
  bool InitializeEngine(EngineScope scope = EngineScope::kTranslation);
  // Frees every engine, dependents first, then the last chart and the
  // per-sentence registries. Safe to call twice.
  void ReleaseEngine();
  bool IsReady() const { return ready_; }
  // Why the last set-up stopped; empty after a successful one.
  const std::string& SetUpFailure() const { return setUpFailure_; }

  // --- The translate road (pipeline/*.cpp)

  // The Translate button: cleans the typed text, cuts it into sentences,
  // trims and translates each in order and times the whole. Messages shown meanwhile and the C-structure documents
  // handed over go into the result instead of to the installed handlers.
  CTranslationResult OnTranslate(const WString& typed, const CTranslateOptions& options = {});

  // Strips trailing '.', ':', ';', '!' and '|', never the first unit.
  static bool TrimTrailingPunctuation(WString& sentence);
  // Translates the cleaned sentence into the result of the call in progress.
  bool TranslateSentence(const WString& sentence);
  // The segments' translations joined into the output text.
  WString MergeSegmentTranslations(std::vector<CSentenceSegment*>& segments);
  // Shows one F-structure as an item (with its sub-structures) at the end of
  // the tree's roots, or as the last child of parent when underParent is set.
  void FillFStructureTree(CFSNode* node, CTreeView* tree, CTreeItem* parent, bool underParent);

  // After every segment: the one segment reset (core/sentence_state.h), in
  // which the engine's parts are the generator's chart and the LFG and CFG
  // charts; then the production copies, handles and nodes.
  bool ResetAfterSentence();
  // The same, for the older chart-parser road.
  bool ResetAfterChartSentence();
  // The whole sentence reset: the same, then the constraint system's
  // per-sentence items (batch road).
  bool ResetAfterListSentence();

  // --- Developer drivers (../batch/*.cpp): the sentence list, the
  // benchmark, the older road over the LFG chart parser and its set-up,
  // the token and unmatched-word dumps.

  // The older set-up: the lexicon manager, the English LFG grammar and a
  // chart parser over it, then the transfer side; no CFG road. Stops at the
  // first failure like InitializeEngine; a data root whose English side
  // leaves the symbol table full (one made for the CFG parser) is refused
  // with one message. Returns HasChartParserEngine().
  bool InitializeChartParserEngine();
  // Every engine of the older road is built.
  bool HasChartParserEngine() const;
  // Translates every sentence of the list into the result file and writes
  // the analyses to "data\FStructures.xml"; tells progress how far it got.
  CListRunSummary TranslateSentenceList(const CListRunFiles& files, const ListRunProgress& progress = nullptr);
  // One sentence of the list: its Urdu, "Parsed" or "Not Parsed".
  WString TranslateListSentence(const WString& sentence);
  // Times the parser of the set-up that ran (the LFG chart parser after the
  // older set-up, else the CFG parser) on every sentence of the file.
  CListRunSummary RunBenchmark(const CListRunFiles& files, const ListRunProgress& progress = nullptr);
  // The older road inside OnTranslate: the LFG chart parser, then mapping
  // and generation into the result of the call. False when the sentence
  // gives no lexical entries.
  bool TranslateWithChartParser(const WString& sentence);
  // The older road without a record: the generated sentences joined by
  // CR LF, empty when there is none; the steps go to the trace log.
  WString TranslateWithChartParserTraced(const WString& sentence);
  // Each entry's text and CR LF to "data\tokens.tok"; false when it cannot
  // be written.
  bool DumpTokens(const std::vector<CLexicalEntry*>& entries);
  // The words of the mapping lexicon that the English lexicon lacks, to
  // "unmatched.txt"; their count, or -1 when the file cannot be written.
  int WriteUnmatchedWords();

  // --- Engines (owned; null before set-up and after release)
  std::unique_ptr<CELexicon> m_pCfgLexicon;
  std::unique_ptr<P_Grammar> m_pPGrammar;
  std::unique_ptr<CPreProcessor> m_pPreProcessor;
  std::unique_ptr<CCfgParser> m_pCfgParser;
  std::unique_ptr<CSentenceSegmenter> m_pSegmenter;
  std::unique_ptr<CTransRules> m_pTransRules;
  std::unique_ptr<CLexicon> m_pEnglishLexicon;
  std::unique_ptr<CLexiconManager> m_pLexiconManager;  // older road only
  std::unique_ptr<CGrammar> m_pEnglishGrammar;         // older road only
  std::unique_ptr<CLFGParser> m_pLFGParser;
  std::unique_ptr<CFStructureMapper> m_pMapper;
  std::unique_ptr<CUrduSentenceGenerator> m_pGenerator;
  std::unique_ptr<CLexicon> m_pUrduLexicon;
  std::unique_ptr<CUrduWordGenerator> m_pWordGenerator;
  std::unique_ptr<CGrammar> m_pUrduGrammar;
  std::unique_ptr<CDiscourseTable> m_pDiscourseTable;

  bool m_bSegmentSentence = false;
  int16_t m_nMinSentLength = 0;
  SymbolId m_nGFId = 0;
  SymbolId m_nPredId = 0;
  // The folder of the data root + "\data\LFGParserCStructures.xml".
  WString m_strCStructureXmlPath;

 private:
  // Set-up steps (engine_setup.cpp); each returns false after reporting.
  bool EnterConfiguration();
  bool LoadSymbolsForLoadingStart(const CSetUpKeys& keys);
  bool BuildEnglishSide(const CSetUpKeys& keys);
  // The older set-up compiles the Urdu grammar with every '*' read as "#0#1".
  bool BuildTransferSide(const CSetUpKeys& keys, bool replaceStarInUrduGrammar = false);
  // Enters the configuration, reads the keys and runs the steps (the ones of
  // InitializeEngine or of InitializeChartParserEngine); with
  // loadCompiledFiles as if every Compile key were "no".
  bool RunSetUp(const std::function<bool(const CSetUpKeys&)>& steps, bool loadCompiledFiles = false);
  // InitializeEngine's two starts: from the compiled files of a stamped
  // data root, or as configured (stamping the root after a full compile).
  bool StartFromCompiledFiles(const std::function<bool(const CSetUpKeys&)>& steps);
  bool StartAndStamp(const std::function<bool(const CSetUpKeys&)>& steps);
  // The English side of the older set-up (../batch/chart_parser_setup.cpp).
  bool BuildChartParserEnglishSide(const CSetUpKeys& keys);
  bool WriteCompiledFiles(const CSetUpKeys& keys);
  bool BuildSegmentation(const CSetUpKeys& keys);
  bool BuildTransRules(const CSetUpKeys& keys);
  // Gives the one sentence reset the engine's parts (engine_release.cpp).
  void RegisterSentenceReleases();
  // Reports the failure and stops set-up.
  bool Fail(const std::string& text);
  // Stops set-up after an exception, reporting what it says.
  bool FailByException(const std::string& what);
  // Stops set-up; reports the failure only when the failing step showed no
  // message of its own.
  bool FailUnlessShown(const CMessageCounter& shown, const std::string& text);

  // The road of one sentence and of its segments (translate_sentence.cpp,
  // segment_transfer.cpp).
  void TranslateTypedText(const WString& text);
  void TranslateReportingFailures(const WString& sentence);
  void TranslateSegment(CSentenceSegment& segment, int number);
  void ParseSegment(CSentenceSegment& segment, CSegmentOutcome& outcome,
                    std::vector<std::unique_ptr<CParseResult>>& results);
  void MapAndGenerate(std::vector<std::unique_ptr<CParseResult>>& results, CSegmentOutcome& outcome);
  void HandOverCStructures(int number);
  WString RewriteWords(const CSentenceSegment& segment) const;
  // A heading's segment part: the number and " - " when segmentation is on.
  WString SegmentPrefix(int number) const;

  bool ready_ = false;
  EngineScope scope_ = EngineScope::kTranslation;
  std::string setUpFailure_;
  std::string domain_;                    // "Domain" of the call in progress
  CTranslationResult* result_ = nullptr;  // the record of the call in progress
  int* currentSegment_ = nullptr;         // the segment whose documents are handed over
  CTranslateOptions options_;
  // The mark that ended the typed sentence being translated ('?', '.' or 0):
  // the Urdu sentence ends as the writer's did.
  WChar typedEndMark_ = 0;
};

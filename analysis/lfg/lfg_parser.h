// The LFG side of sentence analysis: an Earley chart parser over the LFG
// grammar whose edges carry F-structures, and the F-structure algebra it is
// built on (unification, annotation evaluation, conditional constraints,
// completeness and coherence). The engine builds one parser from the
// governable-function file alone; the mapper and the Urdu generator use its
// algebra, which touches only its arguments, the governable functions and
// the set-element counter.
//
// Ownership: the chart (columns and edges) belongs to the parser until the
// next parse or FreeChart. Productions cloned for edges, F-structure nodes
// and handles are per-sentence objects freed in bulk by their registries.
// Parse results belong to the caller.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "analysis/lfg/chart_column.h"
#include "core/condition_expression.h"
#include "core/fs_node.h"
#include "core/symbol_table.h"
#include "core/wide_string.h"

class CCSNode;
class CEquation;
class CFileWriter;
class CFSHandle;
class CGrammar;
class CLexicalEntry;
class CLexicon;
class CNamedIdList;
class CParseResult;
class CProduction;
class CProductionSymbol;

using ParseResultList = std::list<CParseResult*>;
using LexicalEntryPtrList = std::vector<CLexicalEntry*>;

class CLFGParser {
 public:
  // A parser over the grammar (not owned); the lexicon reference is the
  // grammar's lexicon.
  CLFGParser(CGrammar* grammar, const std::string& governableFunctionsFile);
  // The parser of the engine: no grammar, only the algebra.
  explicit CLFGParser(const std::string& governableFunctionsFile);
  ~CLFGParser();
  CLFGParser(const CLFGParser&) = delete;
  CLFGParser& operator=(const CLFGParser&) = delete;

  // --- object ---
  // Appends the ids of the comma- or blank-separated names of the UTF-16
  // file; false when it yields no name.
  bool LoadGovernableFunctions(const std::string& fileName);
  // Deletes the chart; true also when there is none.
  bool FreeChart();

  // --- unification ---
  // Unifies fR (a structure) or values (an atomic value set) into *fL's
  // node, in place. With distribute, a set-valued fR distributes *fL over
  // its elements. Neither fR nor *fL's node is freed; a failure part-way
  // leaves the changes made so far.
  bool UnifySpecial(CFSNode** fL, CFSNode* fR, std::vector<SymbolId>* values, bool distribute);
  // Appends the pending constraint texts of from to to.
  void CopyConstraints(CFSNode* to, const CFSNode* from);
  // Unifies two set-valued structures element by element into a new INDEX
  // node that replaces *fL's content.
  bool UnifySets(CFSNode** fL, CFSNode* fR);
  void CopySetElements(CFSNode* to, const CFSNode* from);
  void CopyChildren(CFSNode* to, const CFSNode* from);

  // --- annotations ---
  // Evaluates the annotations of mother's symbol at the dot, the daughter
  // being recognised by daughter (mother itself for a scanned word).
  bool EvaluateAnnotations(CProduction* mother, CProduction* daughter);
  // Gives the symbol at the dot the F-structure of the lexical entry.
  bool BuildLexicalFStructure(CProduction* production, const CLexicalEntry* entry, int position);
  // Builds the text of a failed equation; shows and stores nothing.
  bool ReportAnnotationFailure(const WString& failure, const CEquation* equation);

  // --- conditions and well-formedness ---
  // A bracketed condition text ("[^NUM=sg]&~[!CASE=c acc]") evaluated with
  // '^' paths in fL and '!' paths in fR.
  bool EvaluateCondition(const WString& text, CFSNode* fL, CFSNode* fR);
  // 1 true, 0 false, -1 true so far but undecided because a '^' path is not
  // built in fL yet.
  int EvaluateConditionPartial(const WString& text, CFSNode* fL, CFSNode* fR);
  // Reads the condition texts of loaded data now, so that no sentence reads
  // them: one text, or the constraint texts of every production of a grammar.
  void LearnCondition(const WString& text) { conditions_.Learn(text); }
  void LearnConditions(const CGrammar& source);
  size_t KnownConditions() const { return conditions_.Size(); }
  int CompareConditionOperands(CFSNode* fL, CFSNode* fR, const WString& left, const WString& right);
  int CompareConditionOperandsPartial(CFSNode* fL, CFSNode* fR, const WString& left, const WString& right);
  bool CheckCompletenessCoherence(CFSNode* node);
  bool CheckPendingConstraints(CFSNode* node);

  // --- chart ---
  // Parses the words (one entry list per word) and fills results with the
  // preferred analyses; true when there is at least one.
  bool Parse(const std::vector<ChartWord>& words, ParseResultList& results, bool checkCompleteness);
  // Fills the chart only; null without a grammar, columns or "S" rules.
  CChartColumn* BuildChart(const std::vector<ChartWord>& words);
  bool AddEdge(CProduction* production, uint32_t column, uint32_t origin, bool checkDuplicates);
  bool IsDuplicateEdge(const CProduction* production, uint32_t column, uint32_t origin) const;
  bool Predictor(CChartEdge* edge);
  bool Scanner(CChartEdge* edge, ChartWord word);
  bool CompleteEdge(CChartEdge* edge, uint32_t index);
  bool Completer(CChartEdge* completed, CProduction* waiting, const WString& name, CChartEdge* waitingEdge,
                 bool backward);
  // The entries of the word whose category is the symbol's name; null when
  // there are none. The caller owns the list, not the entries.
  std::unique_ptr<LexicalEntryPtrList> FindLexicalEntries(ChartWord word, const CProductionSymbol* symbol) const;
  void CollectParses(bool checkCompleteness, ParseResultList& results);
  // Keeps the analyses with the largest valency, then those preferred by the
  // categories of their words; deletes the results it drops.
  bool SelectPreferredParses(ParseResultList& results);
  bool ContainsFStructure(const ParseResultList& results, const CFSNode* node) const;
  // The trace hook: writes nothing; true when there is a production.
  bool Trace(const WString& label, const CProduction* production, uint32_t column, uint32_t origin);
  // Console listings for developers.
  void DumpChart() const;
  void DumpCompleteParses() const;
  void PrintEdgeTree(const CChartEdge* edge, int depth) const;

  // --- structure XML ---
  bool WriteCStructureXmlFile(const ParseResultList& results, const std::string& fileName);
  bool WriteCStructureXml(const CCSNode* node, CFileWriter& writer);
  void WriteFStructureXml(const CFSNode* node, CFileWriter& writer);
  // The C-structure tree of a completed edge's production; every word leaf
  // also appends (word, category id) to words when words is given.
  CCSNode* BuildCStructure(const CProduction* item, CNamedIdList* words);

  // The chart stops taking edges beyond this many, so that a cyclic or
  // explosive grammar cannot run without end; the parse then fails.
  static constexpr size_t kDefaultMaxChartEdges = 20000;

  uint32_t columnCount = 0;
  std::unique_ptr<CChartColumn[]> columns;
  CGrammar* grammar = nullptr;  // not owned
  uint16_t setElementCounter = 1;
  CLexicon* lexicon = nullptr;  // not owned
  std::vector<SymbolId> governableFunctions;
  std::vector<uint32_t> spare;
  size_t maxChartEdges = kDefaultMaxChartEdges;
  // Set when the last chart ran into maxChartEdges.
  bool edgeLimitReached = false;

 private:
  // Unification steps.
  bool UnifyValues(CFSNode& node, const std::vector<SymbolId>& values);
  bool UnifyAtomic(CFSNode& node, const CFSNode& fR);
  bool DistributeOverSet(CFSNode** fL, CFSNode* fR);
  bool UnifyChildren(CFSNode& node, const CFSNode& fR);
  void AdoptDistributedContent(CFSNode& node, const CFSNode& source);

  // Annotation steps.
  bool EvaluateSetMembership(const CEquation& equation, CFSHandle& up, CFSHandle* down);
  bool EvaluateDefiningEquation(const CEquation& equation, CFSHandle& up, CFSHandle* down);
  bool EvaluateSymbolConstraints(const CProductionSymbol& symbol, CFSHandle& up, CFSHandle* down);
  CFSNode* EnsureRoot(CFSHandle& handle);

  // Condition reading shared by both evaluators.
  int ReadCondition(const WString& text, CFSNode* fL, CFSNode* fR, bool partial);

  // Chart steps.
  bool StartChart(const std::vector<ChartWord>& words);
  void FillChart();
  void ProcessEdge(uint32_t columnIndex, CChartEdge* edge, uint32_t index);
  bool CollectParseOfEdge(CChartEdge* edge, bool checkCompleteness, ParseResultList& results);
  size_t edgeCount_ = 0;
  // Every condition text met, read once.
  CConditionBook conditions_;
};

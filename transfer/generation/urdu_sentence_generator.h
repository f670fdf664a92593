// The Urdu sentence generator: an Earley-style chart over the Urdu grammar,
// run top-down from "S" over one target F-structure. Every edge is bound to a
// node of the structure; prediction files the productions of a category whose
// daughters fit their node, scanning takes a terminal's word from its node's
// PRED and finds its form in the Urdu lexicon or from the word generator,
// completion unifies a finished daughter into the waiting mother and marks
// the nodes it used. A finished S edge that used every feature of the
// structure yields the sentence read off its tree of filling edges.
//
// Ownership: the generator owns its edges (agenda and deferred stack) until
// Reset. Production copies, F-structure nodes and handles made here belong
// to the per-sentence registries. The consumed flags and marks that
// generation sets stay on the target structures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/condition_expression.h"
#include "core/equation.h"
#include "core/symbol_table.h"
#include "core/wide_string.h"
#include "transfer/generation/generated_sentence.h"
#include "transfer/generation/sentence_words.h"
#include "transfer/generation/word_forms.h"

class CChartEdge;
class CFSHandle;
class CFSNode;
class CGrammar;
class CLexicalEntry;
class CLexicon;
class CLFGParser;
class CMapperEngine;
class CProduction;
class CProductionSymbol;
class CUrduWordGenerator;

using WStringList = std::vector<WString>;
using FSHandleList = std::vector<CFSHandle*>;

class CUrduSentenceGenerator {
 public:
  // Takes the mapper's transfer engine and its LFG parser; reads the item
  // files, splits the grammar's disjunctive constraints into productions and
  // finds the start category "S".
  CUrduSentenceGenerator(CMapperEngine* mapperEngine, CLexicon* urduLexicon, CGrammar* urduGrammar,
                         CUrduWordGenerator* wordGenerator);
  // The same with the LFG parser given directly (no mapper engine).
  CUrduSentenceGenerator(CLFGParser* lfgParser, CLexicon* urduLexicon, CGrammar* urduGrammar,
                         CUrduWordGenerator* wordGenerator);
  ~CUrduSentenceGenerator();
  CUrduSentenceGenerator(const CUrduSentenceGenerator&) = delete;
  CUrduSentenceGenerator& operator=(const CUrduSentenceGenerator&) = delete;

  // The sentences of every target structure, sorted, without duplicates and
  // cleaned. The chart grows across calls until Reset.
  WStringList& Generate(WStringList& out, const std::vector<CFSHandle*>& targets);
  // The same sentences, each with the PRED nodes of its structure that it
  // does not say (sorted by text; of equal texts the one that leaves out
  // least is kept).
  std::vector<CGeneratedSentence>& GenerateSentences(std::vector<CGeneratedSentence>& out,
                                                     const std::vector<CFSHandle*>& targets);
  // Deletes every edge and empties the chart; true.
  bool Reset();

  // --- the chart (generator_chart.cpp) ---
  void GenerateOne(CFSNode* root, WStringList& sentences, FSHandleList& resultHandles);
  void Predict(CChartEdge* edge, CProductionSymbol* daughter);
  void Complete(CChartEdge* finished, WStringList& sentences, FSHandleList& resultHandles);
  // Files the edge unless it is a duplicate (then deletes it); with index,
  // also under its production number. True when filed.
  bool AddEdge(std::vector<std::unique_ptr<CChartEdge>>& queue, CChartEdge* edge, bool index);
  bool IsDuplicateEdge(const CChartEdge* edge) const;

  // --- scanning (generator_scan.cpp) ---
  void Scan(CChartEdge* edge, CProductionSymbol* terminal);
  bool ScanTerminal(CChartEdge* edge, CProductionSymbol* terminal);
  // The word forms of the word generator for the node's features, with the
  // feature equations they refer to.
  WordForms InflectWord(CFSNode* node, const WString& category, const WString& word);

  // --- binding and equations (generator_equations.cpp) ---
  bool UnifyEquation(const CEquation* equation, CChartEdge* edge, CProductionSymbol* daughter, bool link, bool peek);
  bool BindDaughter(CChartEdge* edge);
  bool ApplyEquation(const CEquation* equation, CFSNode* mother, CFSNode* self, bool testOnly);
  bool HandleSetValue(CFSNode*& target, CFSNode* source, const std::vector<SymbolId>* values, bool testOnly);
  CFSNode* NextUnmarkedSetElement(CFSNode* node, bool peek);

  // --- constraints (generator_constraints.cpp) ---
  // Reads the constraint texts of the grammar's productions, and those of
  // the Urdu lexicon's entries into the LFG parser's book, once at set-up,
  // so that no sentence reads them.
  void LearnConditions();
  size_t KnownConstraints() const { return constraints_.Size(); }
  bool CheckConstraints(CFSNode* mother, CFSNode* self, const CProductionSymbol* daughter, bool testOnly);
  bool EvaluateConstraint(const WString& text, CFSNode* mother, CFSNode* self, bool testOnly);
  bool EvaluateConstraintTerm(CFSNode* mother, CFSNode* self, const CEquationOperand* left,
                              const CEquationOperand* right, bool testOnly);
  // The operand reader of the constraint book (the Urdu lexicon's).
  static std::unique_ptr<CEquationOperand> ReadConstraintOperand(const WString& text);
  bool MakePredictedEdge(CProduction* production, CFSNode* node);

  // --- output (generator_output.cpp) ---
  void CollectWords(const CChartEdge* edge, WString& text) const;
  // The terminals of the edge's tree in order, with their categories.
  void CollectTerminals(const CChartEdge* edge, std::vector<SentenceWord>& words) const;
  bool AllFeaturesConsumed(CFSNode* node);
  // The ids of the nodes whose PRED gave a word of the edge's tree
  // (terminals of headless items say no PRED).
  void CollectSaidNodes(const CChartEdge* edge, std::set<uint32_t>& said) const;
  // The nodes of the finished edge's structure that have a PRED and gave
  // no word of its sentence, in structure order, then the NEG features
  // that no word of it says.
  std::vector<const CFSNode*> LeftOutNodes(const CChartEdge* finished) const;
  void PostProcessSentences(WStringList& sentences) const;
  void PostProcessSentences(std::vector<CGeneratedSentence>& sentences) const;
  static WString RemoveCharacter(const WString& text, WChar unit);
  // The text without the blanks before its punctuation marks (۔ ؟ ،).
  static WString AttachMarks(const WString& text);
  static WString ReplaceAllIgnoreCase(const WString& text, const WString& pattern, const WString& replacement);

  // The number of edges one structure may file before its chart is given up.
  static constexpr size_t kDefaultMaxEdgesPerStructure = 10000;
  size_t maxEdgesPerStructure = kDefaultMaxEdgesPerStructure;
  // Structure nodes of a sentence (all registered ones) above which
  // generation gives up; each costs about 200 bytes.
  static constexpr size_t kDefaultMaxNodesPerSentence = 500000;
  size_t maxNodesPerSentence = kDefaultMaxNodesPerSentence;

  // Read-only views for tests and listings.
  const std::set<SymbolId>& SpecialUnmarkedItems() const { return specialUnmarked_; }
  const std::set<SymbolId>& HeadlessPredicateItems() const { return headlessPredicates_; }
  size_t AgendaSize() const { return agenda_.size(); }
  size_t DeferredSize() const { return deferred_.size(); }
  int32_t UnfinishedSCount() const { return unfinishedSCount_; }

 private:
  void ReadItemFiles();
  void FinishConstruction();
  bool PassesFrameFilter(const CLexicalEntry& entry, const CFSNode* gfNode) const;
  bool ApplyEntry(const CLexicalEntry& entry, CFSNode* node);
  bool ApplyDaughterEquations(const CProductionSymbol& daughter, CFSNode* mother, CFSNode* self, bool testOnly);
  bool ScanEachEntry(CChartEdge* edge, const std::vector<CLexicalEntry*>& entries);
  static const CFSNode* BindingByPath(const CChartEdge& edge);
  void GatherWaitingEdges(const CChartEdge* finished, std::vector<CChartEdge*>& waiting) const;
  void TryCompleteWaiting(CChartEdge* finished, CChartEdge* waiting);
  // Reads the edge's sentence and its left-out nodes, and makes the handle
  // of its structure.
  void ProduceSentence(CChartEdge* edge, WStringList& sentences, FSHandleList& resultHandles);
  void PopDeferredTo(int32_t size);
  CFSNode* ResolveOperandTarget(const CEquationOperand* operand, CFSNode* mother, CFSNode* self, bool testOnly,
                                bool& created);
  CFSNode* ResolveSetTarget(const CEquationOperand* operand, CFSNode* mother, CFSNode* self, bool testOnly,
                            bool& created);
  bool ApplyValueList(CFSNode* target, const std::vector<SymbolId>& values, bool testOnly);
  bool EdgeLimitReached() const;
  // True (logged once) when the structure's chart outgrew its limit, the
  // sentence's time limit has passed or its structure nodes passed their cap.
  bool TimeLimitReached();

  CLexicon* urduLexicon_ = nullptr;              // not owned
  CGrammar* urduGrammar_ = nullptr;              // not owned
  CMapperEngine* mapperEngine_ = nullptr;        // not owned
  CLFGParser* lfgParser_ = nullptr;              // not owned
  CUrduWordGenerator* wordGenerator_ = nullptr;  // not owned
  std::set<SymbolId> specialUnmarked_;
  std::set<SymbolId> headlessPredicates_;
  CChartEdge* lastFinishedS_ = nullptr;
  // The left-out nodes of each sentence produced in the current call, in
  // the order of the sentences.
  std::vector<std::vector<const CFSNode*>> producedLeftOut_;
  int32_t unfinishedSCount_ = 0;
  // The filed edges by production number and end position, each list in the
  // order filed, so a finished edge meets only the edges that end where it
  // starts; and how many edges each production number has filed.
  struct NumberEndHash {
    size_t operator()(const std::pair<uint32_t, uint16_t>& key) const {
      return std::hash<uint64_t>()((uint64_t{key.first} << 16) | key.second);
    }
  };
  std::unordered_map<std::pair<uint32_t, uint16_t>, std::vector<CChartEdge*>, NumberEndHash> edgesByEnd_;
  std::unordered_map<uint32_t, size_t> edgeCountByProduction_;
  // The same edges by production number and F-structure node: the only ones
  // a new edge can duplicate, so the check never scans the other nodes' edges.
  struct EdgeKeyHash {
    size_t operator()(const std::pair<uint32_t, const CFSNode*>& key) const {
      return std::hash<const CFSNode*>()(key.second) * 31u + key.first;
    }
  };
  std::unordered_multimap<std::pair<uint32_t, const CFSNode*>, CChartEdge*, EdgeKeyHash> edgeByNodeIndex_;
  std::vector<std::unique_ptr<CChartEdge>> agenda_;    // worked by index, never popped
  std::vector<std::unique_ptr<CChartEdge>> deferred_;  // a stack: top at the back
  int16_t startCategory_ = -1;
  size_t agendaSizeAtStructureStart_ = 0;
  bool edgeLimitLogged_ = false;
  // Every constraint text met, read once.
  CConditionBook constraints_{GeneratorConstraintSyntax(), &ReadConstraintOperand};
};

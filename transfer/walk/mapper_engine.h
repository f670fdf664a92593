// The transfer engine: turns each English F-structure into Urdu F-structures.
//
// The walk goes depth-first over the English structure, node by node. At
// each node the mapping entries of the node's attribute (mapping rules) or of
// its word (domain and general mapping lexicons) are applied: their
// statements build the Urdu structure and move the target focus inside it.
// Where several entries apply, the partial translation is copied and each
// alternative finishes on its own work state. Finished targets pass the FINAL
// rules and the completeness and coherence check; equal targets are kept
// once.
//
// Per-call state (the lexicons of the call, the insert cache, the walk's
// counters and what each target accounts for) is reset by every Map; what
// outlives a call are the weights that word-sense disambiguation writes into
// lexicon entries and the set-element number, which runs on (the translate
// road starts it at 1 for every sentence).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/condition_expression.h"
#include "core/symbol_table.h"
#include "core/target_group.h"
#include "core/transfer_flags.h"
#include "core/wide_string.h"
#include "transfer/mapping/word_sense_disambiguator.h"
#include "transfer/morphology/trans_rules.h"
#include "transfer/walk/mapper_work_state.h"

class CFSHandle;
class CFSNode;
class CLexicon;
class CLFGParser;
class CMapLexEntry;
class CMapLexHeadword;
class CMapLexicon;
class CMapRuleElement;
class CNamedIdList;
class CParseResult;

// The mapper's result: one group per English analysis, in order.
using TargetGroupList = std::vector<std::unique_ptr<CTargetGroup>>;
// Work states still to be walked; the newest is walked first.
using WorkStack = std::vector<std::unique_ptr<CMapperWorkState>>;
using EntryList = std::vector<CMapLexEntry*>;

class CMapperEngine {
 public:
  // Limits of one analysis. Reaching one writes a line to the trace log and
  // ends the walk of that analysis; the targets finished so far are kept.
  static constexpr size_t kMaxWorkStatesPerAnalysis = 256;
  static constexpr size_t kMaxRepositionsPerAnalysis = 512;

  // Reads the word-sense configuration, the character-rewriting rules (used
  // for words found in no lexicon) and "GenerateAllPossibleVariationsForMapper",
  // and builds the default headword with its word and GF statements.
  CMapperEngine(const std::string& transRulesFile, CLexicon* englishLexicon, CLFGParser* parser);
  virtual ~CMapperEngine();
  CMapperEngine(const CMapperEngine&) = delete;
  CMapperEngine& operator=(const CMapperEngine&) = delete;

  // --- the walk ---
  // Maps every analysis; null when there is none or the rules or the
  // lexicon is missing. domainLexicon may be null.
  std::unique_ptr<TargetGroupList> Map(const std::vector<CParseResult*>& results, CMapLexicon* rules,
                                       CMapLexicon* lexicon, CMapLexicon* domainLexicon, CMapLexicon* insertRules);
  // The same without a domain lexicon.
  std::unique_ptr<TargetGroupList> Map(const std::vector<CParseResult*>& results, CMapLexicon* rules,
                                       CMapLexicon* lexicon, CMapLexicon* insertRules);
  // Walks the states of the work stack to their ends; finished targets are
  // appended to finished. True.
  bool TransferNode(WorkStack& workStack, std::vector<CFSHandle*>& finished, const CNamedIdList& tokens);
  // Maps the source focus of the state at its target focus. True.
  bool MapNode(CMapperWorkState& state, WorkStack& workStack, CTransferFlags& flags, const CNamedIdList& tokens);
  // Applies the first candidate to the state itself and further ones (up to
  // the candidates-per-node limit) to copies pushed on the work stack; the
  // default entry when no candidate applies. The number applied.
  int ApplyCandidates(const EntryList& candidates, CMapLexEntry* defaultEntry, CMapperWorkState& state,
                      WorkStack& workStack, CTransferFlags& flags);
  // The conditional entries whose condition holds at the state's foci.
  void CollectMatchingElements(const CMapLexHeadword& headword, const CMapperWorkState& state, EntryList& out);
  // The same, one entry per '@' group (an entry with the break flag may
  // replace the first of its group and ends the scan).
  void CollectMatchingElementsPerGroup(const CMapLexHeadword& headword, const CMapperWorkState& state, EntryList& out);
  // Orders the candidates by word sense and writes their scores into the
  // entries' weights; what the disambiguator answered.
  bool ChooseBySense(const WString& word, EntryList& candidates, int position, const CNamedIdList& tokens);
  // Walks the children of the source focus next, returning to returnTarget
  // after them; false (nothing done) when the focus has no children.
  bool DescendInto(CMapperWorkState& state, CFSNode* returnTarget);
  // Pushes the children of the node in order (so the last is visited first).
  void PushChildren(NodeStack& stack, const CFSNode* node);
  // A copy of the state over a deep copy of its target (focus and return
  // stack translated into the copy) with the same source.
  std::unique_ptr<CMapperWorkState> CloneWorkState(const CMapperWorkState& state);
  // Re-positions the walk above the source focus: by a count of levels
  // (value-is-number) or to the nearest node with the attribute value. Null
  // when the same state goes on; a new state when the walk restarts at ROOT.
  std::unique_ptr<CMapperWorkState> ClimbToAttribute(CMapperWorkState& state, uint16_t value, bool valueIsNumber);
  // Applies the matching entries of the rules' FINAL headword at the roots;
  // false when one fails.
  bool ApplyFinalRules(CFSHandle* source, CFSHandle* target);
  // Appends the target unless an equal one is there; true when appended.
  bool AddUniqueResult(std::vector<CFSHandle*>& list, CFSHandle* target);
  // The default headword, whose word statement now holds the word rewritten
  // into Urdu letters (up to its first '_').
  CMapLexHeadword* GetDefaultEntryForWord(const WString& word);

  // --- entries, conditions and statements ---
  // A new headword combining the cached insert-rule entries of the symbol
  // with its headword in the rules (fromLexicons false) or in the domain and
  // general lexicons; null when the symbol has no headword there. The result
  // shares its entries: free it with FreeHeadwordEntry.
  CMapLexHeadword* LookupHeadword(SymbolId symbol, bool fromLexicons);
  // Caches an insert-rule headword under the symbol; false for a null
  // headword or one already cached there.
  bool AddCachedEntry(SymbolId symbol, CMapLexHeadword* headword);
  // Deletes a combined headword without deleting its entries. False for null.
  bool FreeHeadwordEntry(CMapLexHeadword* combined);
  // Whether the condition text holds with source paths read around the
  // source node and target paths ("t::") at the target node.
  bool MatchCondition(const WString& condition, CFSNode* source, CFSNode* target);
  // Reads the condition texts of the lexicon's entries now (at set-up), so
  // that no sentence reads them.
  void LearnConditions(const CMapLexicon& lexicon);
  size_t KnownConditions() const { return conditions_.Size(); }
  // One comparison of a condition: 1 or 0.
  int EvaluateComparison(CFSNode* source, CFSNode* target, const WString& left, const WString& right);
  int EvaluateComparison(CFSNode* source, CFSNode* target, const CEquationOperand* left, const CEquationOperand* right);
  // The operand reader of the condition book (the mapping rules' operands).
  static std::unique_ptr<CEquationOperand> ReadConditionOperand(const WString& text);
  // Applies the statements in order; false at the first that fails (those
  // before it stay applied). On success the target's weight is multiplied by
  // the entry's weight.
  bool ApplyEntry(const CMapLexEntry* entry, CFSHandle* source, CFSHandle* target, CTransferFlags& flags);
  // Applies a copy of one statement at the handles' foci.
  bool ApplyRuleElement(const CMapRuleElement* element, CFSHandle* source, CFSHandle* target, CTransferFlags& flags);

  // --- for the Urdu generator ---
  CLFGParser* LFGParser() const { return lfgParser_; }
  CLexicon* EnglishLexicon() const { return englishLexicon_; }

  // --- what the last Map carried over, for naming what a translation
  // leaves out ---
  // The English word whose entries were applied with the target node in
  // focus (the node that takes the word's PRED); null when none was.
  const WString* EnglishWordOf(uint32_t targetNodeId) const;
  // The English words that the walk which made the finished target neither
  // carried into it nor mapped to nothing on purpose ("not" for a
  // negation), in sentence order; null for a target the last Map did not
  // make.
  const std::vector<WString>* DroppedWordsOf(const CFSHandle* target) const;

  // --- state, readable for tests ---
  uint16_t NextSetElementNumber() const { return nextSetElement_; }
  void SetNextSetElementNumber(uint16_t number) { nextSetElement_ = number; }
  const InsertCache& CurrentInsertCache() const { return insertCache_; }
  bool GenerateAllVariations() const { return generateAll_; }
  void SetGenerateAllVariations(bool on) { generateAll_ = on; }
  CWordSenseDisambiguator& Disambiguator() { return disambiguator_; }
  // Sets the lexicons used by the walk outside Map (tests of single steps).
  void UseLexicons(CMapLexicon* rules, CMapLexicon* lexicon, CMapLexicon* domainLexicon, CMapLexicon* insertRules);

 private:
  // Walk steps.
  void WalkState(CMapperWorkState& state, WorkStack& workStack, std::vector<CFSHandle*>& finished,
                 const CNamedIdList& tokens);
  std::unique_ptr<CMapperWorkState> RestartAtRoot(CMapperWorkState& state);
  bool HandleReposition(CMapperWorkState& state, WorkStack& workStack, const CTransferFlags& flags);
  int MapAttributeNode(CMapperWorkState& state, WorkStack& workStack, CTransferFlags& flags);
  int MapWordNode(CMapperWorkState& state, WorkStack& workStack, CTransferFlags& flags, const CNamedIdList& tokens);
  int ApplyUnconditionalEntries(const CMapLexHeadword& headword, const WString& word, int position,
                                CMapperWorkState& state, WorkStack& workStack, CTransferFlags& flags,
                                const CNamedIdList& tokens);
  void ContinueOn(CMapperWorkState& state, const CTransferFlags& flags, CFSNode* targetBefore);
  bool ApplyEntryOn(const CMapLexEntry* entry, CMapperWorkState& state, CTransferFlags& flags);
  void PushAlternatives(const EntryList& candidates, CMapperWorkState& untouched, WorkStack& workStack,
                        CTransferFlags& flags, int& count, const InsertCache& cacheBefore);
  bool CountWorkState();
  void RecordWordVisit(const CFSNode& sourcePred, const CFSNode* target);
  // Notes what the entry, applied at the state's source focus, accounts for.
  void RecordAccounted(const CMapLexEntry& entry, CMapperWorkState& state) const;
  void RecordDroppedWords(const CMapperWorkState& state);

  // Statement kinds.
  bool ApplyGoTo(const CMapRuleElement& element, CFSNode* source, CFSHandle* target, CTransferFlags& flags);
  bool ApplyAssignment(const CMapRuleElement& element, CFSNode* source, CFSNode* target);
  bool ApplyDelete(const CMapRuleElement& element, CFSNode* target);
  bool ApplyInsert(const CMapRuleElement& element, CTransferFlags& flags);
  bool IsProtectedFromDelete(const CFSNode* node, const CFSNode* targetFocus) const;

  CWordSenseDisambiguator disambiguator_;
  uint16_t nextSetElement_ = 1;
  // Per call: the English word of each target node that was in focus when
  // a word was mapped.
  std::unordered_map<uint32_t, WString> englishWordOfTarget_;
  // Per call: the dropped English words of each finished target.
  std::unordered_map<const CFSHandle*, std::vector<WString>> droppedOfTarget_;
  uint16_t candidatesPerNode_ = 1;
  bool generateAll_ = false;
  CMapLexicon* rules_ = nullptr;
  CMapLexicon* lexicon_ = nullptr;
  CMapLexicon* domainLexicon_ = nullptr;
  CMapLexicon* insertRules_ = nullptr;
  CLexicon* englishLexicon_ = nullptr;
  CLFGParser* lfgParser_ = nullptr;
  std::unique_ptr<CMapLexHeadword> defaultHeadword_;
  CMapRuleElement* wordStatement_ = nullptr;  // owned by the default headword's entry
  std::unique_ptr<CMapRuleElement> gfStatement_;
  CTransRules transRules_;
  InsertCache insertCache_;

  // The work state whose node is being mapped (its return stack protects
  // nodes from delete statements); null for the FINAL rules.
  const CMapperWorkState* activeState_ = nullptr;
  size_t workStatesThisAnalysis_ = 0;
  size_t repositionsThisAnalysis_ = 0;
  bool limitReached_ = false;
  // Every condition text met, read once.
  CConditionBook conditions_{MappingConditionSyntax(), &ReadConditionOperand};
};

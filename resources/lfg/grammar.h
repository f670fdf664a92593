// The LFG grammar (the Urdu grammar of the generator, and the grammar of the
// LFG chart parser): compiled at every construction from a rules file and a
// macros file into annotated productions, numbered, filed by category and
// queried by the parser and the generator.
//
// Compilation writes two intermediate files: the lfg file (the rules with
// their macros expanded) and the cfg file (the rules after group expansion,
// each with its lookahead set), and reads the cfg file back.
//
// Rule syntax, after macro expansion:
//   S -> NP: ^SUBJ=!; (AdvP: ^ADJUNCT$!;) VP: ^=!; .
// Each daughter is a name, ':', an annotation and ';'; groups are written
// ( optional ), [ ... ]* and [ ... ]+ (repetition), [ ... ]#m#n (bounded
// repetition, single digits), [ x % y ] (any order), [ x | y ] (one of) and
// [ ... ] (plain group); '/' starts a comment up to the line end. Names that
// begin with 'a' to 'z' are terminals (parts of speech), all others
// categories.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/production.h"
#include "core/raw_production.h"
#include "core/wide_string.h"
#include "resources/lfg/grammar_symbol_table.h"

class CLexicon;
class CLexicalEntry;
class CFSNode;

using RawProductionList = std::vector<std::unique_ptr<CRawProduction>>;
using RawSymbolStack = std::vector<std::unique_ptr<CRawSymbol>>;  // top at the back
using RawSymbolVector = std::vector<std::unique_ptr<CRawSymbol>>;
using NameSet = std::set<WString>;
using NameSetMap = std::map<WString, NameSet>;
using ProductionStore = std::multimap<WString, std::unique_ptr<CProduction>>;
using ProductionList = std::vector<CProduction*>;

class CGrammar {
 public:
  // Compiles the grammar. replaceStar writes "#0#1" for every '*' of the
  // rules; generationIndex builds the right-side index and mother attributes
  // that the generator needs.
  CGrammar(const std::string& rulesPath, const std::string& macrosPath, const std::string& lfgPath,
           const std::string& cfgPath, CLexicon* lexicon, bool replaceStar, bool generationIndex);
  ~CGrammar();
  CGrammar(const CGrammar&) = delete;
  CGrammar& operator=(const CGrammar&) = delete;

  // --- Grammar files ---
  // Writes the rules with every macro reference replaced by its value.
  bool ExpandMacros(const std::string& rulesPath, const std::string& macrosPath, const std::string& lfgPath,
                    bool replaceStar);
  // The raw productions of an lfg file, in file order.
  RawProductionList TokenizeRules(const std::string& lfgPath);
  // One line per production: lhs [lookahead names,] -> daughters.
  void WriteCfgFile(const RawProductionList& productions, const std::string& path);
  // The productions of a cfg file with their lookahead sets.
  RawProductionList ReadCfgFile(const std::string& path);

  // --- Group expansion, empty categories and lookahead sets ---
  RawProductionList ExpandRuleGroups(RawProductionList productions);
  RawProductionList ExpandGroup(std::unique_ptr<CRawProduction> group);
  static void GenerateIndexPermutations(uint16_t low, int16_t high, std::vector<std::vector<uint16_t>>& out);
  static void GeneratePermutations(std::vector<uint16_t> prefix, const std::vector<uint16_t>& rest,
                                   std::vector<std::vector<uint16_t>>& out);
  // For k = m to n, a vector of k copies of the symbol; empty when an
  // argument is missing.
  static std::vector<RawSymbolVector> MakeRepetitionLists(const CRawSymbol* symbol, const CRawSymbol* m,
                                                          const CRawSymbol* n);
  static std::unique_ptr<CRawSymbol> MakeRuleEndSymbol();
  NameSet CollectEmptyCategories(const RawProductionList& productions);
  // Leaves the set as it is: only categories with an empty production count.
  NameSet& CloseEmptyCategories(const RawProductionList& productions, NameSet& empty);
  static bool AllCanBeEmpty(const std::vector<CRawSymbol*>& rhs, size_t from, size_t to, const NameSet& empty);
  RawProductionList& ComputeLookaheadSets(RawProductionList& productions, const NameSet& empty);
  static bool MergeNameSet(const NameSet& source, NameSet& target);
  static bool AddNameSetIds(const NameSet& names, std::set<SymbolId>& lookahead);

  // --- Productions, annotations and indexes ---
  std::unique_ptr<ProductionStore> BuildProductions(const RawProductionList& productions);
  void CompileAnnotation(CProductionSymbol& daughter, const WString& annotation);
  void BuildProductionTable();
  bool BuildRhsIndex();
  bool AddRhsOccurrence(uint16_t categoryId, uint32_t productionNumber);
  bool IndexMotherAttributes();

  // --- Queries ---
  // out becomes the productions of the category (the grammar's own).
  bool GetProductions(int16_t categoryId, ProductionList& out) const;
  // Appends the grammar's own productions of the category (not copies);
  // with a structure, only those whose mother attributes the structure all
  // has. Callers that change a production copy it first.
  bool FindProductions(int16_t categoryId, ProductionList& out, const CFSNode* structure) const;
  // Appends registered copies of what FindProductions finds.
  bool CollectProductions(int16_t categoryId, ProductionList& out, const CFSNode* structure) const;
  // Appends the grammar's own productions whose lookahead meets the entries'
  // categories; without entries, CollectProductions without a structure.
  bool CollectPredictedProductions(int16_t categoryId, const std::vector<CLexicalEntry*>* entries,
                                   ProductionList& out) const;
  // The productions filed under the trimmed name, in file order.
  std::unique_ptr<ProductionList> GetProductionsByName(const WString& name) const;
  // Appends the grammar's own productions filed under the name whose
  // lookahead meets the entries' categories; without entries, all of them.
  bool CollectPredictedProductionsByName(const WString& name, const std::vector<CLexicalEntry*>* entries,
                                         ProductionList& out) const;
  // The category's id, added when the name is new.
  int16_t GetCategoryId(const WString& name);
  // Appends the numbers of the productions that have the category as a
  // daughter, ascending.
  bool GetProductionsUsingCategory(uint16_t categoryId, std::vector<uint32_t>& out) const;
  // Splits every item text that lists alternatives with '|' into one
  // production per alternative.
  bool ExpandDisjunctions();
  bool ExpandDisjunction(CProduction* production, size_t itemIndex, size_t daughterIndex, const WString& text,
                         size_t barPosition);
  // The same splitting over the production store: the copies go into the
  // store, after the mother's other productions, and not into the table.
  bool ExpandStoreDisjunctions();
  bool ExpandStoreDisjunction(CProduction* production, size_t itemIndex, size_t daughterIndex, const WString& text,
                              size_t barPosition);

  // --- Developer listings (grammar_listings.cpp) ---
  // Per production "\n<mother> ==> ", per right-side symbol
  // "\t\t<text> <annotation> \n", as UTF-8 text on out (the console).
  static void PrintRawProductions(const RawProductionList& productions, std::FILE* out = stdout);
  // Per distinct mother name of the store "\n<name>: <count>\n", then "\n".
  void PrintProductionCounts(std::FILE* out = stdout) const;
  // Per production: mother " ==> ", per daughter "<name>:<equations>" with
  // " , <item text>" for each constraint text and "; ", then CR LF.
  void WriteProductionListing(const std::string& path) const;
  // Walks the productions from those of "S" through a stack, at most 300,
  // one line "M(id) -> D(id) D(id) " each; daughter categories other than the
  // mother's push their productions.
  void WriteDerivationStack(const std::string& path = "stackFile.txt") const;
  // Per production of the store "<mother>\t<mother id>\r\n".
  void WriteProductionNumbers(const std::string& path = "temp.txt") const;
  // Slot by slot of the production table, per production
  // "<slot>. M(id) -> D(id) D(id) \r\n".
  void WriteNumberedProductions(const std::string& path) const;
  // Frees every raw production of the list, in order, and then the list.
  static void DeleteRawProductions(std::unique_ptr<RawProductionList> productions);

  // The prefix of generated category names ("P_").
  const WString& GetPrefix() const { return prefix_; }
  const CGrammarSymbolTable& SymbolTable() const { return symbols_; }
  // Every production of the store, in store order (for listings and tests).
  const ProductionStore* Store() const { return store_.get(); }
  // The store's productions, then the copies ExpandDisjunctions made.
  std::vector<const CProduction*> AllProductions() const;
  // What showed the rules or macros damaged or cut short while compiling (a
  // macro that is not defined, a rule the text ends inside); empty when
  // nothing did. Such a grammar lacks rules and is refused.
  const WString& Damage() const { return damage_; }

 private:
  WString damage_;
  struct GroupWalk;
  struct LookaheadSets;

  void CompileAll(const std::string& rulesPath, const std::string& macrosPath, const std::string& lfgPath,
                  const std::string& cfgPath, bool replaceStar, bool generationIndex);
  bool ExpandSourceProduction(std::unique_ptr<CRawProduction> source, int& counter, RawProductionList& out);
  bool CloseGroup(GroupWalk& walk);
  std::unique_ptr<CRawSymbol> NextGeneratedSymbol(int& counter) const;
  void ComputeFirstAndFollow(const RawProductionList& productions, const NameSet& empty, LookaheadSets& sets) const;
  bool AssignIds(CProduction& production);
  void FileProduction(int16_t motherId, CProduction* production);
  void WarnUndefinedCategories();
  const ProductionList* Slot(int16_t categoryId) const;
  static void AppendPredicted(const ProductionList& productions, const std::vector<CLexicalEntry*>& entries,
                              ProductionList& out);

  std::unique_ptr<ProductionStore> store_;
  std::vector<ProductionList> table_;  // by mother id; slot 0 stays empty
  std::unique_ptr<std::vector<std::set<uint32_t>>> rhsIndex_;
  WString prefix_;
  CLexicon* lexicon_ = nullptr;  // not owned
  CGrammarSymbolTable symbols_;
  std::vector<std::unique_ptr<CProduction>> alternatives_;  // ExpandDisjunctions' copies
};

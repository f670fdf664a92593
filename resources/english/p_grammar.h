// The compiled English grammar of the CFG parser.
//
// Grammar writers keep two UTF-16 files: macros ("@NAME = body .") and rules.
// A rule reads
//   VP -> v: ^=! ; ( NP: ^OBJ=! ; ) [ PP: ! $ ^ADJUNCT ; ]* .
// left side, "->", daughters written as name ':' annotation ';', group
// operators between them, and a closing '.'. Groups: ( optional ),
// [ ... ]* and [ ... ]+ (repetition), [ ... ]#m#n (m to n times, one digit
// each), [ a | b ] (one of), [ a % b ] (any order), [ ... ] (plain). '/'
// comments out the rest of a line. Names that begin with 'a' to 'z' are parts
// of speech (terminals), all others categories; "S'" is the start category.
//
// With "CompileP_Grammar" = "yes" the constructor compiles: macros are
// expanded into the lfg file, the rules are cut into raw productions, groups
// are expanded into plain productions with generated categories "P_1",
// "P_2"..., FIRST sets are computed, and every production becomes a
// CCompiledProduction whose daughters carry the item ids of their compiled
// annotations. The listings (cfg, ncfg) and the dumps ("DumpedEgrammar",
// "DumpedEgrammarSymbols") are written. Otherwise the dumps are read back.
//
// A failed compile or load shows a message naming the file and the entry and
// leaves the grammar empty with HasFailed() true; nothing is thrown out of the
// constructor.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/category_mask.h"
#include "core/raw_production.h"
#include "core/wide_string.h"
#include "resources/compiled_dump_stamp.h"

using P_RawProductionList = std::vector<std::unique_ptr<CRawProduction>>;

// One daughter of a compiled production.
struct CCompiledSymbol {
  uint16_t id = 0;                // POS id when isPOS, else category id
  uint8_t isPOS = 0;              // 1 for a part of speech (terminal), 0 for a category
  std::vector<uint16_t> itemIds;  // compiled annotation: ids of the item registry
};

class CCompiledProduction {
 public:
  uint16_t lhs = 0;
  std::vector<CCompiledSymbol> rhs;  // one record per daughter, in rule order
  CCategoryMask firstMask;           // bit n: POS id n can begin the production
  uint32_t reserved = 0;
  uint16_t number = 0;      // index in the production table
  uint8_t choiceCount = 0;  // choice literals its annotations use
};

using CompiledProductionList = std::vector<CCompiledProduction*>;

class P_Grammar {
 public:
  // The four names come from "GrammarRulesFileName", "GrammarMacrosFileName",
  // "lfgFileName" and "cfgFileName"; the integer is not used.
  P_Grammar(const std::string& rulesFileName, const std::string& macrosFileName, const std::string& lfgFileName,
            const std::string& cfgFileName, int unused);
  ~P_Grammar();
  P_Grammar(const P_Grammar&) = delete;
  P_Grammar& operator=(const P_Grammar&) = delete;

  // True when compiling or loading stopped on an error (already reported).
  bool HasFailed() const { return failed_; }
  const std::string& FailureText() const { return failureText_; }

  // --- Rule language ---
  // Writes the rules with every macro reference replaced by the macro's body.
  // A reference that names no macro fails the compile.
  bool ExpandMacros(const std::string& rulesPath, const std::string& macrosPath, const std::string& lfgPath,
                    bool unused);
  // The raw productions of the lfg file, in file order.
  P_RawProductionList TokenizeRules(const std::string& lfgPath);
  // Same, from text already read (the file's units after the mark).
  static P_RawProductionList TokenizeRuleText(const WString& text);
  // A new rule-end mark: text ".", no annotation, flag set.
  static CRawSymbol* MakeRuleEndSymbol();

  // --- Group expansion ---
  // Rewrites the list into plain productions without groups or empty
  // productions, regrouped by left side, equal categories merged.
  P_RawProductionList& ExpandRuleGroups(P_RawProductionList& list);

  // --- Compile passes ---
  std::set<WString> CollectEmptyProductionLHS(const P_RawProductionList& list) const;
  std::set<WString> ComputeNullableCategories(const P_RawProductionList& list, std::set<WString> nullable) const;
  void ComputeFirstSets(P_RawProductionList& list, const std::set<WString>& nullable);
  void ReadPOSList(const std::string& path);
  void AddCategoryNames(const P_RawProductionList& list);
  void BuildCompiledProductions(P_RawProductionList& list);
  void BuildLHSIndex();

  // --- Listings and dumps ---
  void PrintProductions(const std::string& cfgPath, const P_RawProductionList& list) const;
  void WriteNormalizedGrammar(const std::string& path) const;
  void WriteDump();
  void ReadDump();

  // --- Queries ---
  uint16_t GetStartCategoryId() const { return startCategoryId_; }
  std::string GetCategoryName(uint16_t id) const;
  std::string GetPOSName(uint16_t id) const;
  // New vectors in production-table order; the caller owns the vector, the
  // grammar keeps the productions.
  std::unique_ptr<CompiledProductionList> GetProductionsForLHS(uint16_t category) const;
  std::unique_ptr<CompiledProductionList> GetProductionsForLHSAndMask(uint16_t category, CCategoryMask mask) const;
  // The id of a part-of-speech name; an unknown name is appended.
  int GetOrAddPOSId(const std::string& name);
  // The id of a category name; kNoCategory when no production defines it.
  int FindCategoryId(const std::string& name) const;
  CCompiledProduction* GetProduction(size_t index) const;

  size_t ProductionCount() const { return productions_.size(); }
  size_t CategoryCount() const { return categoryNames_.size(); }
  size_t POSCount() const { return posNames_.size(); }
  // The productions of each category, in table order (for listings and tests).
  const std::multimap<uint16_t, CCompiledProduction*>& LHSIndex() const { return lhsIndex_; }
  // The stamp written into the dumps and checked by the lexicon's dumps.
  const CCompiledStamp& Stamp() const { return stamp_; }

  static bool IsCategoryName(const WString& name);
  static std::string WStringToString(const WString& text);
  static WString StringToWString(const std::string& text);

  // The id FindCategoryId gives to a name no production defines.
  static constexpr int kNoCategory = 0xFFFF;
  // The generated-name prefix of group categories.
  static constexpr char16_t kGeneratedPrefix[] = u"P_";

 private:
  void Compile(const std::string& rules, const std::string& macros, const std::string& lfg, const std::string& cfg);
  void Clear();
  WString NewGeneratedName();
  std::unique_ptr<CCompiledProduction> CompileProduction(const CRawProduction& p,
                                                         const std::vector<std::vector<std::string>>& alternatives,
                                                         size_t number);
  int MaskablePOSId(const std::string& name, const std::string& where);

  // Group expansion steps.
  void ExpandGroupsOf(P_RawProductionList& list, size_t index);
  void RemoveEmptyProductions(P_RawProductionList& list);
  void MergeEqualCategories(P_RawProductionList& list);

  std::multimap<uint16_t, CCompiledProduction*> lhsIndex_;
  std::vector<std::unique_ptr<CCompiledProduction>> productions_;
  uint16_t startCategoryId_ = kNoCategory;
  WString generatedPrefix_;
  int generatedCount_ = 0;
  std::vector<std::string> categoryNames_;
  std::unordered_map<std::string, int> categoryIds_;
  std::vector<std::string> posNames_;
  std::unordered_map<std::string, int> posIds_;
  CCompiledStamp stamp_;
  bool failed_ = false;
  std::string failureText_;
  std::string rulesFile_;  // the rules file of a compile, named in its faults
};

// Reads a part-of-speech file: index 0 holds the empty name (not mapped),
// then every white-space-separated word in file order; white space at the end
// of the file gives one more, empty, name. A name met again is appended but
// keeps its first id. False when the file cannot be opened (names then holds
// the empty name alone).
bool ReadPOSNames(const std::string& path, std::vector<std::string>& names, std::unordered_map<std::string, int>& ids);

// Regroups the list so that productions with the same left side stand
// together, groups in order of first appearance, each keeping list order.
void RegroupByLhs(P_RawProductionList& list);

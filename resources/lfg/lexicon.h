// The LFG lexicon: entries filed under a key (the first word of the entry, or
// for the Urdu lexicon the bare PRED lexeme), built from the raw lexicon text
// on a compile or from the lexicon in numbers otherwise. It also carries the
// operand parsers that turn one side of a functional equation into an
// operand; those read nothing of the entries, so any lexicon object serves.
//
// Files (P is the prefix "E" or "U"; names come from the configuration):
//   P + "LexiconFileName"            raw lexicon text (read on compile)
//   "ULexiconInNumbers"              lexicon in numbers (written on compile,
//                                    read otherwise)
//
// A lexicon read from its numbers keeps the numbers and, per key, where the
// key's records stand in them; a key's entries are made from its records the
// first time the key is looked up. A sentence looks up a few dozen of the
// lexicon's keys, so start-up neither builds nor holds the other entries.
//   P + "LexiconDumpFileName"        2004-byte records (written on compile)
//   P + "CommonLexFeaturesFileName"  expansion table (Urdu lexicon only)
//   P + "OrderedFeatureListFileName" names interned first, in file order
//   "Expansions"                     word replacements
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/equation.h"
#include "core/fs_node.h"
#include "core/symbol_table.h"
#include "core/wide_string.h"
#include "resources/lfg/lexical_entry.h"

// A list of entries handed out by a lookup: the caller owns the list, the
// lexicon keeps the entries.
using LexicalEntryList = std::vector<CLexicalEntry*>;
// Entries completed in one text by ParseLexicalEntryText, with their words.
using WordEntryPairList = std::vector<std::pair<WString, CLexicalEntry*>>;

// Deletes the equations of a frame map, then the map.
struct PredFrameMapDeleter {
  void operator()(PredFrameMap* table) const;
};
// An expansion table that owns its equations.
using OwnedPredFrameMap = std::unique_ptr<PredFrameMap, PredFrameMapDeleter>;

// Word replacements of the "Expansions" file.
using ExpansionsMap = std::unordered_map<WString, WString>;

// Size of one lexicon dump record in bytes.
constexpr size_t kDumpRecordBytes = 2004;
using DumpRecord = std::array<uint8_t, kDumpRecordBytes>;

class CLexicon {
 public:
  // Builds the lexicon: compiles the raw lexicon when "CompileLexicon" is
  // "yes" (and writes the numbers, the dump and, for the Urdu lexicon, the
  // expansion table), else reads the numbers and the expansion table.
  CLexicon(const std::string& prefix, bool predKeyed);
  // A lexicon without entries: only interns the ordered feature list.
  explicit CLexicon(const std::string& prefix);
  ~CLexicon();
  CLexicon(const CLexicon&) = delete;
  CLexicon& operator=(const CLexicon&) = delete;

  // --- raw lexicon text ---
  // Parses the raw lexicon file and files its entries. True when the end of
  // the input is reached (an unreadable file reads as empty).
  bool ParseRawLexicon(const std::string& fileName);
  // Parses raw lexicon text held in a string; every completed entry is filed
  // and listed with its word. Null when the list cannot be made.
  std::unique_ptr<WordEntryPairList> ParseLexicalEntryText(const WString& text);
  // Files the entry under its key and takes ownership; false for null.
  bool AddEntry(CLexicalEntry* entry);

  // --- lookups ---
  // Every entry filed under the word, in filing order; null when none.
  std::unique_ptr<LexicalEntryList> LookupWord(const WString& word) const;
  // The entries under the word whose category is the named one; null when
  // the word is not filed (found is then left alone), else found is set.
  std::unique_ptr<LexicalEntryList> LookupWordWithCategory(const WString& word, const WString& categoryName,
                                                           bool* found) const;

  // --- operand parsers (they intern every name they meet) ---
  // '^' or '!' first gives that kind, else 'v'; pieces cut at "^!{},'<>".
  static std::unique_ptr<CEquationOperand> ParseOperand(const WString& text);
  // '{' or '\'' first gives 'v' with pieces cut at "{}<>,'"; "x::a.b" gives
  // kind 'x' and the dotted path; anything else kind 's' and the dotted path.
  static std::unique_ptr<CEquationOperand> ParseRuleOperand(const WString& text);
  // ParseRuleOperand, but value lists are cut only at "{}," outside "<...>".
  static std::unique_ptr<CEquationOperand> ParseRuleOperandKeepAngles(const WString& text);

  // --- files ---
  bool ReadOrderedFeatureList();
  bool WriteLexiconInNumbers();
  bool ReadLexiconInNumbers();
  bool WriteLexiconDump(const std::string& fileName);
  bool WriteDumpRecord(FILE* file, const CLexicalEntry* entry);
  OwnedPredFrameMap ExpandLexicalEntries() const;
  bool WriteExpansionTable(const PredFrameMap* table, FILE* file);
  OwnedPredFrameMap ReadExpansionTable(FILE* file) const;
  bool ReadExpansionsFile(const std::string& fileName);
  // The ids of the path that are governable functions, in path order (a copy
  // of the path when governable is empty); null when none or an argument is
  // missing.
  static std::unique_ptr<std::vector<SymbolId>> SelectGovernableFunctions(const std::vector<SymbolId>* governable,
                                                                          const std::vector<SymbolId>* path);

  // --- state ---
  size_t EntryCount() const;
  // Keys in the order they were first filed (the order every writer walks).
  const std::vector<WString>& Keys() const { return keyOrder_; }
  // Every constraint text of the lexicon's entries, each once, without making
  // entries of the records a lexicon read from its numbers has not made yet.
  std::vector<WString> ConstraintTexts() const;
  const PredFrameMap* ExpansionTable() const { return expansionTable.get(); }
  const ExpansionsMap* Expansions() const { return expansionsMap.get(); }
  // The lexicon file that was found damaged while the lexicon was built (an
  // entry of the raw file that could not be read, a record of the numbers
  // file); empty when none was. Such a lexicon lacks entries and is refused.
  const std::string& DamagedFile() const { return damagedFile_; }

  std::string prefix;
  bool predKeyed = false;
  DumpRecord dumpRecord{};
  OwnedPredFrameMap expansionTable;
  std::unique_ptr<ExpansionsMap> expansionsMap;

 private:
  std::string damagedFile_;

  void BuildFromConfiguration();
  void Compile(const std::string& lexiconFile, const std::string& expansionsFile);
  void Load(const std::string& expansionsFile);
  bool BuildsExpansionTable() const { return prefix == "U" && predKeyed; }
  void CompileExpansionTable();
  void LoadExpansionTable();
  WString KeyOf(const CLexicalEntry& entry) const;
  void FileUnderKey(const WString& key, CLexicalEntry* entry);
  // Fills dumpRecord; false (nothing filled) when the entry does not fit.
  bool PackDumpRecord(const CLexicalEntry& entry);

  using EntryRun = std::vector<std::unique_ptr<CLexicalEntry>>;
  // The entries under the key (none when it is not filed), made from its
  // records first where it has unread ones.
  const EntryRun& EntriesUnder(const WString& key) const;
  // Indexes the records of the numbers (checked whole first, up to a damaged
  // one); false when there are none.
  bool IndexNumbers(std::vector<uint16_t> units, const std::string& fileName);

  // Filled as keys are read: a lookup of a key with unread records makes its
  // entries, which is why the maps are mutable.
  mutable std::unordered_map<WString, EntryRun> wordMap_;
  std::vector<WString> keyOrder_;
  // The lexicon in numbers, and per key the starts of its records not yet
  // made into entries, in file order.
  std::vector<uint16_t> numbers_;
  mutable std::unordered_map<WString, std::vector<uint32_t>> unreadRecords_;
  mutable size_t unreadCount_ = 0;
  // The constraint texts of the records of the numbers, read when indexed.
  std::vector<WString> numberConstraints_;
};

// The PRED text reduced to its bare lexeme: a quoted text loses its quotes
// and any argument list ("'give<SUBJ,OBJ>'" gives "give"); other texts stay.
WString BareLexeme(const WString& pred);

// Copies the text and a terminating 0 as little-endian units into a field of
// capacity units; false (and only what fits, still terminated) when the text
// needs more room.
bool CopyToUnitArray(uint8_t* destination, size_t capacity, const WString& text);
// Appends the little-endian units of the field up to its first 0 (at most
// capacity units) to the text.
void UnitArrayToString(const uint8_t* source, size_t capacity, WString& text);

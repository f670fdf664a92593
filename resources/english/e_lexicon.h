// The English lexicon of the CFG parser.
//
// Raw lexicon (UTF-16), one entry a line, ended by '.':
//   gave: v, ^PRED='give<SUBJ,OBJ,OBJ2>', ^TENSE=past @0.9@.
//   book: n, ^PRED='book', ^NUM=sg.
//   the: det, ^SPEC=def.
// word ':' part of speech ',' then either the predicate (a quoted value whose
// '<' ... '>' list names the grammatical functions of its frame; the list must
// equal a line of "SubCats") followed by ',' and the features, or the features
// alone. An optional weight "@w@" may stand anywhere; '/' comments out a line.
// Consecutive entries with the same word and part of speech form one reading
// whose description is the disjunction of theirs; the predicate of the first
// entry names the reading.
//
// The default lexicon ("Dummy") holds one entry a line, "pos:features@w@.",
// the readings that a word missing from the lexicon gets.
//
// With "CompileP_Grammar" = "yes" both are compiled and dumped
// ("ELexiconDumpFileName", "DummyDump"); otherwise the dumps are read back.
// The dumps end with the compile stamp of the grammar dumps and the names of
// the global symbols they use, so a reload refuses dumps of another compile
// and gives every predicate the id its name has now.
//
// Lexicon dump: words 100, K = N / 100, N (two words, low first), then per
// entry the word's length L, its L units and the serialised entry (POS id;
// weight as float bits, low word first; choice count; n and n item ids; 1,
// part symbol, m and m bytes, or 0); then the stamp and the symbol names.
// Default dump: words 100 and M, the M serialised entries, then the stamp.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/file_reader.h"
#include "core/wide_string.h"
#include "resources/compiled_dump_stamp.h"
#include "resources/english/e_lexicon_entry.h"

class P_Grammar;

// One raw entry cut into its parts.
struct CERawEntry {
  WString word;
  WString pred;
  std::string pos;
  std::vector<std::string> subcat;  // the names between '<' and '>'
  std::string features;
  float weight = 1.0f;
};

using CEntryList = std::vector<CELexicalEntry*>;

class CELexicon {
 public:
  // Reads "POSs" and "SubCats", then compiles or loads the lexicon and the
  // default lexicon. A failure is reported with the file and the entry and
  // leaves HasFailed() true; nothing is thrown out of the constructor.
  CELexicon(const std::string& lexiconFileName, P_Grammar* grammar);
  ~CELexicon();
  CELexicon(const CELexicon&) = delete;
  CELexicon& operator=(const CELexicon&) = delete;

  bool HasFailed() const { return failed_; }
  const std::string& FailureText() const { return failureText_; }

  void ReadPOSList(const std::string& path);
  // Reads the frames of "SubCats" into the frame table and hands the table
  // to the solver's frame hook.
  void ReadSubcatFrames();
  void CompileOrLoad(const std::string& fileName);
  void CompileOrLoadDummy();

  // The word's readings in their order (the word as written); empty when
  // the word is unknown. The lexicon keeps the entries.
  std::unique_ptr<CEntryList> GetEntries(const WString& word) const;
  // One new reading per default entry, named word + "_" + its POS name. The
  // caller owns the entries.
  std::vector<std::unique_ptr<CELexicalEntry>> MakeDefaultEntries(const WString& word) const;
  // A reading built at run time (numbers, dates, times): the POS id from the
  // grammar (a new name is added), the compiled features, weight 1.0, the
  // predicate "EMPTY". Null when the features cannot be compiled.
  std::unique_ptr<CELexicalEntry> MakeEntry(const WString& posName, const WString& features);

  // The POS id of a name of the "POSs" file; another name fails the compile
  // ("Wrong POS").
  int CheckPOS(const std::string& name);
  // Fails the compile ("Wrong SubCats") when the names equal no frame.
  void CheckSubcatFrame(const std::vector<std::string>& names);

  // The next entry text of the file ('.' ends it; a line end, a comment or
  // the end of the file drop what was gathered). False at the end.
  static bool ReadEntryText(CFileReader& reader, WString& text);
  // Cuts an entry text; never reads past its end. False (with why set) when
  // the text has no ':' or no ',' after the POS name or an unclosed quote or
  // '<' group.
  static bool ParseEntry(const WString& text, CERawEntry& entry, std::string& why);
  // "pos:features@w@": weight keeps its value when the text has none.
  static void ParseDefaultEntry(const WString& text, std::string& pos, std::string& features, float& weight);

  void WriteDump(const std::string& path) const;
  void ReadDump(const std::string& path);
  void WriteDummyDump(const std::string& path) const;
  void ReadDummyDump(const std::string& path);

  // For listings and tests.
  const std::multimap<WString, CELexicalEntry*>& WordIndex() const { return wordIndex_; }
  const std::vector<CELexicalEntry*>& DefaultEntries() const { return defaultEntries_; }
  const std::vector<std::string>& POSNames() const { return posNames_; }

 private:
  void CompileLexicon(const std::string& fileName);
  void CompileDummy(const std::string& fileName);
  void AddGroup(const std::vector<CERawEntry>& group);
  std::string FrameSuffix(const std::vector<std::string>& names);
  std::vector<uint16_t> CompileFeatures(const std::string& description, int8_t& choiceCount) const;
  uint32_t ExpectedCompileId() const;
  void Clear();

  P_Grammar* grammar_;
  std::multimap<WString, CELexicalEntry*> wordIndex_;
  std::vector<std::string> posNames_;
  std::unordered_map<std::string, int> posIds_;
  std::vector<CELexicalEntry*> defaultEntries_;
  std::vector<std::unique_ptr<CELexicalEntry>> ownedEntries_;
  // The file and entry being compiled, for the messages.
  std::string location_;
  bool failed_ = false;
  std::string failureText_;
};

// --- Subcategorisation frames (from "SubCats") ---

// Frame n: its grammatical-function names and their symbol_table ids.
extern std::vector<std::vector<std::string>> SubcatFrameNames;
extern std::vector<std::vector<uint16_t>> SubcatFrameIds;

// Fills both tables from a narrow text file, one frame a line, names split
// at TAB, CR stripped; a final line break gives one more frame, the empty
// name alone. False when the file cannot be opened or a name cannot be
// interned (the tables are then empty).
bool LoadSubcatFrames(const std::string& path);
// The number of the first frame whose ids equal the list; -1 with the
// message "RUN TIme Error In: --> GetSubcatFrameIndex() " when none does.
int GetSubcatFrameIndex(const std::vector<uint16_t>& frame);
// A copy of frame n's ids; empty for a number outside the table.
std::vector<uint16_t> GetSubcatFrame(int frameNumber);
// Frame n's ids themselves; an empty list for a number outside the table.
const std::vector<uint16_t>& GetSubcatFrameRef(int frameNumber);
// Hands the frame table to the solver (SetSubcatFrameSource).
void InstallSubcatFrameSource();

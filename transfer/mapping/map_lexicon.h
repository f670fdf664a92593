// A mapping lexicon: the mapping rules, the general mapping lexicon, a domain
// lexicon or the insert rules, all in one file format. A map from headword id
// to the headword's entries.
//
// Building: the raw file has its macro calls expanded into the expanded file
// (with the macros of the macro file), then the expanded file is compiled.
// The general and domain lexicons (raw names holding "MapLexRaw.mlr") are
// compiled and dumped when "CompileMapper" is "yes", else read back from
// their dump; every other raw file is always compiled and never dumped.
//
// Raw syntax (see the data root's README for authors):
//   run [                                 a headword and its block
//     (DEFAULT) --> PRED = 'daud' ;       the default entry
//     (SUBJ) --> OBJ = s::OBJ, BREAK @2;  condition --> statements @ number ;
//     ?-> DELETE OBJ ;                    "?->" marks an entry with '?'
//   ]
// "//" comments out the rest of a line.
//
// Dump ("MapLexDump", "NDomainMapLexDump", "WDomainMapLexDump",
// "ADomainMapLexDump"): little-endian u16 words: 200, N headwords, the length
// L of the headword records in words (two words, low first), the N records in
// ascending id order, then the names of the symbols the records use (count in
// two words, then id, name length, name units). A reload refuses a dump whose
// words do not add up or whose symbols have other names in this run.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/symbol_table.h"
#include "core/wide_string.h"
#include "transfer/mapping/map_lex_entry.h"
#include "transfer/mapping/map_lex_headword.h"
#include "transfer/mapping/map_lex_macro.h"

class CLexicon;

class CMapLexicon {
 public:
  // Compiles or loads the lexicon (file comment). englishLexicon is only the
  // parse-paths flag of the statements: paths are parsed when it is not null.
  CMapLexicon(const std::string& macroFile, const std::string& rawFile, const std::string& expandedFile,
              const CLexicon* englishLexicon, double frequency);
  virtual ~CMapLexicon();
  CMapLexicon(const CMapLexicon&) = delete;
  CMapLexicon& operator=(const CMapLexicon&) = delete;

  // The headword of the id, or null.
  CMapLexHeadword* FindHeadword(SymbolId id) const;
  // A path of one id is looked up directly; a longer path by the symbol named
  // by the concatenated names of its ids (not created). Null when absent.
  CMapLexHeadword* FindHeadwordByPath(const std::vector<SymbolId>& path) const;
  // headwords = the headwords of the map; entries = GetEntryCount of every
  // headword plus one for each default entry. Always true.
  bool CountEntries(size_t& headwords, size_t& entries) const;

  // Reads the macro records of the file into the macro table (a name already
  // kept keeps its first record). False when the file cannot be opened.
  bool ReadMacroDefinitions(const std::string& macroFile);
  // Copies the raw file into the expanded file with every macro call
  // replaced by the macro's expanded body. False when the raw file cannot be
  // opened.
  bool ExpandMacros(const std::string& rawFile, const std::string& expandedFile);
  // Compiles the expanded file into headwords. False when it cannot be opened.
  // Problems are reported against the raw file it was expanded from, when
  // given, so that the message names the file to mend.
  bool CompileRawFile(const std::string& expandedFile, const std::string& rawFile = "");
  // Parses the statements of an entry (the text after "-->") into it. False
  // when a statement is refused: an INSERT whose parts are not closed by
  // ',', ',' and ')' (it ends the text), or whose count of levels is out of
  // 1..32767.
  bool ParseEntryValue(const WString& text, CMapLexEntry& entry) const;
  // Writes the dump. False (with a message) when it cannot be written.
  bool WriteDump(const std::string& dumpFile) const;
  // Reads a dump into an empty lexicon. A dump that cannot be opened or that
  // is refused gives a message and leaves the lexicon empty (false).
  bool ReadDump(const std::string& dumpFile);

  // The configuration key of the dump of a raw file name, or "" when the
  // name is not one of a dumped lexicon.
  static std::string DumpKeyFor(const std::string& rawFile);

  const std::map<SymbolId, CMapLexHeadword*>& Headwords() const { return headwords_; }
  const std::map<WString, CMapLexMacro>& Macros() const { return macros_; }
  bool ParsesPaths() const { return parsePaths_; }
  // The raw file when compiling it met damage (a macro call cut short, a
  // block or entry that could not be read), or the dump that was there but
  // refused: the lexicon then lacks entries and engine set-up refuses it.
  // Empty otherwise.
  const std::string& DamagedFile() const { return damagedFile_; }
  double Frequency() const { return frequency_; }

  // Removes every headword (after a refused dump).
  void Clear();

 private:
  std::map<SymbolId, CMapLexHeadword*> headwords_;  // owned
  std::string damagedFile_;
  std::map<WString, CMapLexMacro> macros_;
  bool parsePaths_ = false;
  double frequency_ = 0.0;
};

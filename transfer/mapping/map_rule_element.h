// One statement of a mapping-lexicon entry: go to (or create) a target path,
// set a target path to values, unify a target path with a source path, delete
// a target node, or insert the entries of an insert rule.
//
// Statement texts become elements here; the mapping-lexicon compiler builds
// them, its dump stores them word by word, and the mapper applies clones of
// them one by one.
//
// Path texts:
//   SUBJ.PRED        a path cut at '.'
//   s::SUBJ.PRED     a one-letter kind before "::" ('s' source, 't' target)
//   {sg,pl}  <a,b>   a value set (kind 'v'), cut at "<>{,}"
//   'daud'           a quoted value (kind 'v'), apostrophes kept in the name
#pragma once

#include <cstdint>
#include <vector>

#include "constraints/dump_words.h"
#include "core/symbol_table.h"
#include "core/wide_string.h"

// A path of a statement: its kind and its symbol ids in order.
struct CMapPath {
  char kind = 0;
  std::vector<SymbolId> ids;

  bool operator==(const CMapPath& other) const = default;
};

class CMapRuleElement {
 public:
  // Operators of a statement.
  static constexpr char kGoTo = 0;      // a plain path (go to / create) or a reserved word
  static constexpr char kAssign = '=';  // assignment or unification
  static constexpr char kDelete = 'd';
  static constexpr char kInsert = 'i';

  // The go-to word that maps a node to nothing on purpose (see
  // CMapLexEntry::OmitsNode); not a reserved symbol, so that compiled data
  // keeps its ids.
  static constexpr const char16_t* kOmitWord = u"OMIT";

  // Path kinds.
  static constexpr char kTargetKind = 't';
  static constexpr char kSourceKind = 's';
  static constexpr char kValueKind = 'v';

  // Operator '=', no symbols, no value, both paths empty.
  CMapRuleElement();
  // Builds an element from the texts of a statement. Insert statements
  // (op 'i') use cacheSymbol, insertHeadword and value: "NULL" or "" is no
  // value, a count 1..32767 a number of levels, anything else a symbol. The
  // others use left and right; with op 0 a left text "delete <path>" makes a
  // delete statement on that path. With parsePaths false no path text is
  // parsed.
  CMapRuleElement(const WString& left, const WString& right, char op, const WString& cacheSymbolText,
                  const WString& insertHeadwordText, const WString& valueText, bool parsePaths);
  virtual ~CMapRuleElement();
  CMapRuleElement(const CMapRuleElement&) = delete;
  CMapRuleElement& operator=(const CMapRuleElement&) = delete;

  // Fills path from a path text (see the file comment). False when parsePaths
  // is false or the text gives no piece.
  static bool ParsePath(CMapPath& path, const WString& text, bool parsePaths);

  // A re-position count of an insert statement's value text: the decimal
  // number 1..32767 (the mapper reads it as signed 16 bits); 0 for digits out
  // of that range, -1 for a text that is not all digits.
  static int ReadRepositionCount(const WString& text);

  // A new element with the same operator, paths, symbols, value and flag.
  CMapRuleElement* Clone() const;

  // Whether the left path is not empty and begins with the id.
  bool PathStartsWith(SymbolId id) const;

  // Dump form, each word written at ++index: cache symbol, insert headword,
  // value, value-is-number, left kind, left count, left ids, right kind,
  // right count, right ids, operator. False when a path is longer than a
  // word can count (nothing is written then).
  bool Serialize(DumpWords& words, uint32_t& index) const;
  // Reads the same words. False, with the element left as read so far, when
  // the words run out before the element is complete.
  bool Deserialize(const DumpWords& words, uint32_t& index);

  // Field-by-field equality (tests and dump checks).
  bool operator==(const CMapRuleElement& other) const;

  SymbolId cacheSymbol = kNoSymbol;     // insert: cache key of the inserted entries
  SymbolId insertHeadword = kNoSymbol;  // insert: headword in the insert rules
  uint16_t value = kNoSymbol;           // insert: re-position target; 65535 = none
  bool valueIsNumber = false;           // value counts levels instead of naming a symbol
  CMapPath leftPath;
  CMapPath rightPath;
  char op = kAssign;

  static int liveInstances;
};

// One entry of a mapping-lexicon headword: a condition text and the
// statements applied, in order, when the condition holds.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "constraints/dump_words.h"
#include "core/wide_string.h"
#include "transfer/mapping/map_rule_element.h"

class CMapLexEntry {
 public:
  // Markers: "-->" and "?->".
  static constexpr char kPlainMarker = '-';
  static constexpr char kQueryMarker = '?';

  CMapLexEntry();
  virtual ~CMapLexEntry();
  CMapLexEntry(const CMapLexEntry&) = delete;
  CMapLexEntry& operator=(const CMapLexEntry&) = delete;

  // Appends a statement; an element whose left path begins with BREAK sets
  // the break flag.
  void AddStatement(std::unique_ptr<CMapRuleElement> statement);

  // Dump form, each word written at ++index: condition length, its units;
  // marker; statement count, the statements; number (low word, high word);
  // break flag; the number as an IEEE 754 double in four words, lowest first.
  // The weight is not stored. False when a count does not fit a word.
  bool Serialize(DumpWords& words, uint32_t& index) const;
  // Reads the same words into an empty entry; the number comes from the
  // double (truncated) and the weight stays 1.0. False when the words run out.
  bool Deserialize(const DumpWords& words, uint32_t& index);

  // Same condition, marker, statements, number and break flag (not weight).
  bool SameContent(const CMapLexEntry& other) const;

  // Whether a statement is OMIT: the node is mapped to nothing on purpose,
  // since the Urdu says it without a word of its own (an article, the
  // particle of a phrasal verb), and nothing below it is mapped.
  bool OmitsNode() const;
  // Whether an assignment writes a target path that ends in the attribute,
  // or in the attribute and its VALUE (the word of PRED).
  bool WritesAttribute(SymbolId attribute) const;
  // Whether a statement is NULL or OMIT: nothing below the node is mapped.
  bool MapsNothingBelow() const;

  WString condition;  // empty for an unconditional entry
  char marker = kPlainMarker;
  std::vector<std::unique_ptr<CMapRuleElement>> statements;
  int number = 0;          // the '@' number: alternative group and sense number
  bool breakFlag = false;  // a statement begins with BREAK
  double weight = 1.0;     // written by word-sense disambiguation

  static int liveInstances;
};

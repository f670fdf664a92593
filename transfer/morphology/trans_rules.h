// Character-rewriting rules: English spelling written in Urdu letters, for
// words that have no translation. Each word is lower-cased, wrapped in "<"
// and ">" and marked with "*" before a silent final e, then rewritten left to
// right by the first rule of the block filed under the character at each
// position whose pattern matches there.
//
// Rule file (UTF-16LE, "TransRulesFileName"): blocks, each a header line
// "=" + key character (the rest of the line is ignored), then one rule a
// line "pattern:replacement." with an optional advance digit right after the
// "." (how many units the rule consumes; its pattern's length when absent);
// the rest of a rule line is ignored. A block ends where a line starts with
// "=" or the file ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/wide_string.h"

class CTransRule {
 public:
  CTransRule();
  // An advance of 0 becomes the pattern's length.
  CTransRule(const WString& pattern, const WString& replacement, uint32_t advance);
  virtual ~CTransRule();
  CTransRule(const CTransRule&) = delete;
  CTransRule& operator=(const CTransRule&) = delete;

  // When the word holds the pattern at position, appends the replacement to
  // output, moves position by the advance and answers true; otherwise
  // changes nothing.
  bool Match(const WString& word, size_t& position, WString& output) const;

  WString pattern;
  WString replacement;
  uint32_t advance = 0;

  static int liveInstances;
};

class CTransRules {
 public:
  // Reads the rule file; a file that cannot be opened gives an empty table.
  explicit CTransRules(const std::string& path);
  virtual ~CTransRules();
  CTransRules(const CTransRules&) = delete;
  CTransRules& operator=(const CTransRules&) = delete;

  // Rewrites every blank-separated word of the text; each word's rewriting
  // is followed by one blank.
  WString Apply(const WString& text) const;
  // Wraps the word in "<" and ">" and marks a silent final e ("time" becomes
  // "<ti*me>", "timed" "<ti*med>").
  static void ApplyEndingRules(WString& word);

  // The rules of the block filed under a key character, or null.
  const std::vector<std::unique_ptr<CTransRule>>* Block(WChar key) const;
  size_t BlockCount() const { return blocks_.size(); }

  static int liveInstances;

 private:
  void RewriteWord(const WString& word, WString& output) const;

  std::map<WChar, std::vector<std::unique_ptr<CTransRule>>> blocks_;
};

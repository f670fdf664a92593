// Builders and printers shared by the grammar suites.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/production.h"
#include "core/raw_production.h"
#include "core/string_helpers.h"
#include "core/trace_log.h"
#include "resources/grammar.h"
#include "support/test_support.h"

namespace grammar_test {

// A grammar compiled from the two texts, its files in the folder.
inline std::unique_ptr<CGrammar> Compile(const TempDir& dir, const WString& rules, const WString& macros = u"",
                                         bool replaceStar = false, bool generationIndex = true) {
  WriteUtf16File(dir.File("rules.txt"), rules);
  WriteUtf16File(dir.File("macros.txt"), macros);
  return std::make_unique<CGrammar>(dir.File("rules.txt"), dir.File("macros.txt"), dir.File("rules.lfg"),
                                    dir.File("rules.cfg"), nullptr, replaceStar, generationIndex);
}

// "lhs -> a b" with the rule end left out; "lhs ->" for an empty production.
inline WString RawText(const CRawProduction& production) {
  WString text = production.Lhs->Text + u" ->";
  for (const CRawSymbol* symbol : production.Rhs) {
    if (symbol->Flag != 0 && symbol->Text == u".") continue;
    text += u" " + symbol->Text;
  }
  return text;
}

inline std::vector<WString> RawTexts(const RawProductionList& productions) {
  std::vector<WString> texts;
  for (const auto& production : productions) texts.push_back(RawText(*production));
  return texts;
}

inline WString ProductionText(const CProduction& production) {
  WString text = production.mother->name + u" ->";
  for (const CProductionSymbol* daughter : production.daughters) {
    if (daughter->name != u".") text += u" " + daughter->name;
  }
  return text;
}

// The raw productions of a rules text after tokenising and group expansion.
inline RawProductionList Expand(CGrammar& grammar, const TempDir& dir, const WString& rules) {
  WriteUtf16File(dir.File("case.lfg"), rules);
  return grammar.ExpandRuleGroups(grammar.TokenizeRules(dir.File("case.lfg")));
}

// Counts the trace-log lines written while it lives.
class LogWatch {
 public:
  LogWatch() : start_(TraceLogLineCount()) {}
  uint64_t Lines() const { return TraceLogLineCount() - start_; }

 private:
  uint64_t start_;
};

}  // namespace grammar_test

// Builders and printers shared by the grammar suites.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/production.h"
#include "core/raw_production.h"
#include "core/string_helpers.h"
#include "core/symbol_table.h"
#include "core/trace_log.h"
#include "platform/utf8.h"
#include "resources/lfg/grammar.h"
#include "support/test_support.h"

// "LHS -> a b c" without the rule-end mark; annotations left out.
inline std::string DescribeRaw(const CRawProduction& p) {
  std::string text = ToUtf8(p.Lhs->Text) + " ->";
  for (const CRawSymbol* symbol : p.Rhs) {
    if (symbol->Flag != 0 && symbol->Text == u".") continue;
    text += " " + ToUtf8(symbol->Text);
  }
  return text;
}

inline std::vector<std::string> DescribeRaw(const RawProductionList& list) {
  std::vector<std::string> lines;
  for (const auto& p : list) lines.push_back(DescribeRaw(*p));
  return lines;
}

using Lines = std::vector<std::string>;

namespace grammar_test {

inline SymbolId Id(const char16_t* name) { return GetSymbolId(name, true); }

// A grammar compiled from the two texts, its files in the folder.
inline std::unique_ptr<CGrammar> Compile(const TempDir& dir, const WString& rules, const WString& macros = u"") {
  WriteUtf16File(dir.File("rules.txt"), rules);
  WriteUtf16File(dir.File("macros.txt"), macros);
  return std::make_unique<CGrammar>(dir.File("rules.txt"), dir.File("macros.txt"), dir.File("rules.lfg"),
                                    dir.File("rules.cfg"), nullptr, false, true);
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

// Counts the trace-log lines written from now on.
inline auto LogLines() {
  return [start = TraceLogLineCount()] { return TraceLogLineCount() - start; };
}

}  // namespace grammar_test

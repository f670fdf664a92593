// The Urdu word generator: the word forms that may stand at one terminal of
// the Urdu generation chart. Nouns, verbs and adjectives are inflected by the
// rules of "NounRules", "VerbRules" and "AdjRules"; dates, times, ordinals
// and cardinals are written out in Urdu; alphanumeric tokens pass through.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/equation.h"
#include "core/symbol_table.h"
#include "core/wide_string.h"
#include "resources/lfg/lexical_entry.h"
#include "transfer/morphology/inflection_rule.h"

class CLexicon;

// The forms made for one terminal. Every entry refers to the caller's
// feature equations and to the rules' property equations without owning
// them (ownsEquations is false), so the list may be freed on its own.
using WordFormList = std::vector<std::unique_ptr<CLexicalEntry>>;

class CUrduWordGenerator {
 public:
  // Reads the three rule files named by the configuration and fills the
  // month, day and number tables. The lexicon is not owned.
  explicit CUrduWordGenerator(CLexicon* urduLexicon);
  virtual ~CUrduWordGenerator();
  CUrduWordGenerator(const CUrduWordGenerator&) = delete;
  CUrduWordGenerator& operator=(const CUrduWordGenerator&) = delete;

  // The forms of the word for the category ("n", "v", "adj", "date",
  // "time", "ordinal", "cardinal", "alphanum", compared exactly). An empty
  // list when no form could be made; null for any other category. The
  // features are one equation "^ATTRIBUTE = v values" per feature of the
  // terminal's node; the entries refer to them, so they must outlive the
  // entries.
  std::unique_ptr<WordFormList> GenerateWordForms(const WString& word, const WString& category,
                                                  const std::vector<CEquation*>& features);

  // Appends the rules of the file, in file order, to rules.
  void ReadRuleFile(const std::string& path, InflectionRuleList& rules);

  // --- numbers, dates and times in words ---
  // The word of a value from 0 to 99 (empty for 0 and anything else).
  WString GetNumberWord(const WString& digits) const;
  // A run of ASCII digits in words on the South Asian scale; any other text
  // is returned as written.
  WString NumberToWords(const WString& digits) const;
  WString CardinalToWords(const WString& word, const std::vector<CEquation*>& features) const;
  WString OrdinalToWords(const WString& word, const std::vector<CEquation*>& features) const;
  WString DateToWords(const std::vector<CEquation*>& features) const;
  WString TimeToWords(const std::vector<CEquation*>& features) const;

  const InflectionRuleList& NounRules() const { return nounRules_; }
  const InflectionRuleList& VerbRules() const { return verbRules_; }
  const InflectionRuleList& AdjectiveRules() const { return adjectiveRules_; }
  const WString& MonthName(size_t month) const { return monthNames_.at(month); }
  const WString& DayName(size_t day) const { return dayNames_.at(day); }

 private:
  void ReadRulesOfClass(const char* configKey, InflectionRuleList& rules, const char* missingMessage);
  void FillDayNames();
  void FillMonthNames();
  void FillNumberWords();
  std::unique_ptr<WordFormList> ApplyRules(const InflectionRuleList& rules, const WString& word,
                                           const std::vector<CEquation*>& features) const;
  // An ordinal in the gender its features give. An ordinal number without
  // a gender gets a masculine and a feminine form, each with its gender as
  // a property, so that the grammar's agreement with the noun chooses.
  std::unique_ptr<WordFormList> OrdinalWordForms(const WString& word, const std::vector<CEquation*>& features) const;
  WString NumberGroupsToWords(const WString& digits) const;

  InflectionRuleList adjectiveRules_;
  InflectionRuleList verbRules_;
  InflectionRuleList nounRules_;
  std::array<WString, 13> monthNames_;
  std::array<WString, 8> dayNames_;
  std::array<WString, 100> numberWords_;
  SymbolId dayInDigitId_ = kNoSymbol;
  SymbolId dayInWordId_ = kNoSymbol;
  SymbolId monthValueId_ = kNoSymbol;
  SymbolId yearId_ = kNoSymbol;
  SymbolId timeTypeId_ = kNoSymbol;
  SymbolId hourId_ = kNoSymbol;
  SymbolId minuteId_ = kNoSymbol;
  SymbolId secondId_ = kNoSymbol;
  CLexicon* lexicon_ = nullptr;
  // "^GEND = v m" and "^GEND = v f", the properties of the gendered ordinal
  // forms (the forms refer to them without owning them).
  std::array<std::unique_ptr<CEquation>, 2> genderProperties_;
};

// The configuration keys that engine set-up reads, read once in their fixed
// order. Every one of them is required: the first that is missing or empty
// stops set-up (GetConfigValue has then shown "File Not found - <key>"),
// so a broken configuration gives one message. Keys that nothing uses are
// not read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct CSetUpKeys {
  std::string compileLexicon;  // "yes": compile the lexicons, save the common symbol table
  std::string insertRulesRaw;
  std::string insertRulesExt;
  std::string grammarRules;
  std::string grammarMacros;
  std::string lfgFile;
  std::string cfgFile;
  std::string mappingRulesMacros;  // also the insert rules' macro file
  std::string mappingRulesRaw;
  std::string mappingRulesExt;
  std::string mappingLexiconMacros;
  std::string mappingLexiconRaw;
  std::string mappingLexiconExt;
  std::string transRules;
  std::string subcatFrameList;
  double mapLexStdFreq = 0.0;
  double mapRulesStdFreq = 0.0;
  std::string discourse;
  std::string englishLexicon;
  std::string compilePGrammar;  // "yes": compile the grammar, write the constraint-system dumps
  std::string urduCfg;
  std::string urduLfg;
  std::string urduGrammarMacros;
  std::string urduGrammarRules;
  std::string posList;
  std::string segmentSentence;  // exactly "yes" switches segmentation on
  int16_t minSentLength = 0;
  std::string segmentRules;

  bool CompilesLexicons() const { return compileLexicon == "yes"; }
  bool CompilesGrammar() const { return compilePGrammar == "yes"; }
};

// Reads the keys; nothing after the first missing one or after a frequency
// that is not a number (reported with the key's name).
std::optional<CSetUpKeys> ReadSetUpKeys();

// A decimal number as written in the configuration, independent of the
// locale: optional blanks, sign, digits with an optional '.' fraction and
// exponent. Nothing for any other text.
std::optional<double> ParseConfigNumber(const std::string& text);

// The leading integer of the text as atoi reads it (blanks, sign, digits;
// 0 when there are none), clamped to the 16-bit range.
int16_t ParseShortCount(const std::string& text, bool& isNumber);

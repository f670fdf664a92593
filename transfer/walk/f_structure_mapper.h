// The transfer component: the mapping rules, the general mapping lexicon, the
// insert rules and one mapping lexicon per subject domain ("News",
// "Weather", "Agriculture"), with the transfer engine that applies them.
// Built once at engine set-up; Map is called once per sentence segment.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "transfer/mapping/map_lexicon.h"
#include "transfer/walk/mapper_engine.h"

class CLexicon;
class CLFGParser;
class CParseResult;

class CFStructureMapper {
 public:
  // Builds, in this order, the mapping rules, the mapping lexicon and the
  // insert rules from their macro, raw and expanded files; the engine; then
  // the domain lexicons named by the configuration keys "News", "Weather"
  // and "Agriculture" (with the mapping lexicon's macro and expanded files).
  CFStructureMapper(const std::string& rulesMacroFile, const std::string& rulesRawFile,
                    const std::string& rulesExpandedFile, const std::string& lexiconMacroFile,
                    const std::string& lexiconRawFile, const std::string& lexiconExpandedFile,
                    const std::string& insertMacroFile, const std::string& insertRawFile,
                    const std::string& insertExpandedFile, double mapLexStdFreq, double mapRulesStdFreq,
                    const std::string& transRulesFile, CLexicon* englishLexicon, CLFGParser* parser);
  virtual ~CFStructureMapper();
  CFStructureMapper(const CFStructureMapper&) = delete;
  CFStructureMapper& operator=(const CFStructureMapper&) = delete;

  // Maps the analyses for the domain: "News", "Weather" or "Agriculture"
  // (that lexicon first, then the general one) or "None" (the general
  // lexicon only), letter case included. Any other name, and an empty list,
  // give null.
  std::unique_ptr<TargetGroupList> Map(const std::vector<CParseResult*>& results, const std::string& domain);

  CMapperEngine& Engine() { return engine_; }
  // Reads the condition texts of every lexicon into the engine (set-up).
  void LearnConditions();
  CMapLexicon& Rules() { return *rules_; }
  CMapLexicon& Lexicon() { return *lexicon_; }
  CMapLexicon& InsertRules() { return *insertRules_; }
  // The domain's lexicon; null for "None" and unknown names.
  CMapLexicon* DomainLexicon(const std::string& domain) const;

 private:
  std::unique_ptr<CMapLexicon> rules_;
  std::unique_ptr<CMapLexicon> lexicon_;
  std::unique_ptr<CMapLexicon> insertRules_;
  CMapperEngine engine_;
  std::unique_ptr<CMapLexicon> news_;
  std::unique_ptr<CMapLexicon> weather_;
  std::unique_ptr<CMapLexicon> agriculture_;
};

#include "transfer/walk/f_structure_mapper.h"

#include "core/config_store.h"

CFStructureMapper::CFStructureMapper(const std::string& rulesMacroFile, const std::string& rulesRawFile,
                                     const std::string& rulesExpandedFile, const std::string& lexiconMacroFile,
                                     const std::string& lexiconRawFile, const std::string& lexiconExpandedFile,
                                     const std::string& insertMacroFile, const std::string& insertRawFile,
                                     const std::string& insertExpandedFile, double mapLexStdFreq,
                                     double mapRulesStdFreq, const std::string& transRulesFile,
                                     CLexicon* englishLexicon, CLFGParser* parser)
    : rules_(std::make_unique<CMapLexicon>(rulesMacroFile, rulesRawFile, rulesExpandedFile, englishLexicon,
                                           mapRulesStdFreq)),
      lexicon_(std::make_unique<CMapLexicon>(lexiconMacroFile, lexiconRawFile, lexiconExpandedFile, englishLexicon,
                                             mapLexStdFreq)),
      insertRules_(std::make_unique<CMapLexicon>(insertMacroFile, insertRawFile, insertExpandedFile, englishLexicon,
                                                 mapRulesStdFreq)),
      engine_(transRulesFile, englishLexicon, parser) {
  auto domainLexicon = [&](const char* key) {
    return std::make_unique<CMapLexicon>(lexiconMacroFile, GetConfigValue(key), lexiconExpandedFile, englishLexicon,
                                         mapLexStdFreq);
  };
  news_ = domainLexicon("News");
  weather_ = domainLexicon("Weather");
  agriculture_ = domainLexicon("Agriculture");
}

CFStructureMapper::~CFStructureMapper() = default;

void CFStructureMapper::LearnConditions() {
  for (const CMapLexicon* lexicon :
       {rules_.get(), lexicon_.get(), insertRules_.get(), news_.get(), weather_.get(), agriculture_.get()}) {
    if (lexicon != nullptr) engine_.LearnConditions(*lexicon);
  }
}

CMapLexicon* CFStructureMapper::DomainLexicon(const std::string& domain) const {
  if (domain == "News") return news_.get();
  if (domain == "Weather") return weather_.get();
  if (domain == "Agriculture") return agriculture_.get();
  return nullptr;
}

std::unique_ptr<TargetGroupList> CFStructureMapper::Map(const std::vector<CParseResult*>& results,
                                                        const std::string& domain) {
  CMapLexicon* selected = DomainLexicon(domain);
  if (selected == nullptr && domain != "None") return nullptr;
  return engine_.Map(results, rules_.get(), lexicon_.get(), selected, insertRules_.get());
}

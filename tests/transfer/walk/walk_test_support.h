// Helpers of the transfer-walk suites: reading Urdu target structures by
// paths of attribute names, and the shipped English analysis with the
// shipped mapping data (everything written at run time goes to a temporary
// folder).
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "analysis/cfg/cfg_engine_fixture.h"
#include "analysis/lfg/lfg_parser.h"
#include "constraints/p_fs_compiler.h"
#include "core/config_store.h"
#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/fs_node_text.h"
#include "core/parse_result.h"
#include "core/process_policy.h"
#include "core/target_group.h"
#include "platform/utf8.h"
#include "resources/lfg/lexicon.h"
#include "transfer/walk/f_structure_mapper.h"

namespace walk_test {

inline std::string Name(SymbolId id) { return ToUtf8(GetSymbolName(id)); }
inline SymbolId Sym(const std::u16string& name) { return GetSymbolId(name, true); }

// The node at a path of attribute names ("ELEMENT" matches any set member).
inline const CFSNode* At(const CFSNode* node, const std::vector<std::u16string>& path) {
  for (const std::u16string& step : path) {
    if (node == nullptr) return nullptr;
    const std::vector<SymbolId> one{Sym(step)};
    node = node->FindPath(&one, true);
  }
  return node;
}

inline std::vector<std::string> Values(const CFSNode* node) {
  std::vector<std::string> names;
  if (node != nullptr) {
    for (SymbolId id : node->Value) names.push_back(Name(id));
  }
  return names;
}

// "ATTR {values} [children]" for failure messages.
inline std::string Show(const CFSNode* node) { return ToUtf8(DescribeStructure(node)); }

using Strings = std::vector<std::string>;

// The root of the only target of a group, or null with a failure that shows
// every target.
inline const CFSNode* OnlyTargetOf(const TargetGroupList* groups, const std::string& what) {
  if (groups == nullptr || groups->size() != 1) {
    ADD_FAILURE() << what << ": no group";
    return nullptr;
  }
  const std::vector<CFSHandle*>& targets = groups->front()->Targets;
  if (targets.size() != 1) {
    ADD_FAILURE() << what << ": " << targets.size() << " targets";
    for (const CFSHandle* target : targets) ADD_FAILURE() << Show(target->root);
    return nullptr;
  }
  return targets.front()->root;
}

// The shipped English analysis and the shipped mapping data.
class ShippedMapper : public cfg_test::ShippedCfgEngine {
 protected:
  void SetUp() override {
    cfg_test::ShippedCfgEngine::SetUp();
    const std::string data = cfg_test::SourceDir() + "/dataroot/data/";
    const std::string mapping = data + "mapping/";
    SetConfigValue("CompileMapper", "yes");
    SetConfigValue("MapLexDump", dir_.File("MapLex.dmp"));
    SetConfigValue("NDomainMapLexDump", dir_.File("NDomainMapLex.dmp"));
    SetConfigValue("WDomainMapLexDump", dir_.File("WDomainMapLex.dmp"));
    SetConfigValue("ADomainMapLexDump", dir_.File("ADomainMapLex.dmp"));
    SetConfigValue("News", mapping + "NDomainMapLexRaw.mlr");
    SetConfigValue("Weather", mapping + "WDomainMapLexRaw.mlr");
    SetConfigValue("Agriculture", mapping + "ADomainMapLexRaw.mlr");
    SetConfigValue("WSDWordListFile", data + "wsd/WSDWordList.wsd");
    SetConfigValue("WSDSenseInfoFile", data + "wsd/WSDSenseInfo.wsd");
    SetConfigValue("WSDCollInfoFile", data + "wsd/WSDCollInfo.wsd");
    SetConfigValue("WSDCollocationWindowSize", "3");
    SetConfigValue("GenerateAllPossibleVariationsForMapper", "no");
    SetConfigValue("EOrderedFeatureListFileName", data + "EOrderedFeatureList.txt");
    englishLexicon_ = std::make_unique<CLexicon>("E");
    lfgParser_ = std::make_unique<CLFGParser>(data + "english/GovernableFunctions.txt");
    const std::string macros = mapping + "MapMacros.txt";
    mapper_ = std::make_unique<CFStructureMapper>(
        macros, mapping + "MapRulesRaw.mlr", dir_.File("MapRulesExt.mle"), macros, mapping + "MapLexRaw.mlr",
        dir_.File("MapLexExt.mle"), macros, mapping + "InsertRulesRaw.mlr", dir_.File("InsertRulesExt.mle"), 1.0, 1.0,
        data + "urdu/TransRules.txt", englishLexicon_.get(), lfgParser_.get());
    // As at the end of engine set-up: what the engines named so far stays for
    // every sentence; names made later belong to one sentence, and sentences
    // run under the engine's policy.
    P_FSCompiler::MarkInitialItems();
    ApplySentencePolicy();
  }

  // Parses the sentence and maps its analysis for the domain; the groups, or
  // null.
  std::unique_ptr<TargetGroupList> Translate(const std::string& sentence, const std::string& domain = "None") {
    EXPECT_TRUE(Parse(sentence)) << sentence;
    result_.reset(parser_->GetParseResult());
    if (!result_) return nullptr;
    std::vector<CParseResult*> results{result_.get()};
    return mapper_->Map(results, domain);
  }

  // The one target of the sentence (a failure when there is not exactly one).
  const CFSNode* TargetOf(const std::string& sentence, const std::string& domain = "None") {
    groups_ = Translate(sentence, domain);
    return OnlyTargetOf(groups_.get(), sentence);
  }

  // An English lexicon object for the operand parser (only its address is
  // used as the parse-paths flag of the mapping lexicons).
  std::unique_ptr<CLexicon> englishLexicon_;
  std::unique_ptr<CLFGParser> lfgParser_;
  std::unique_ptr<CFStructureMapper> mapper_;
  std::unique_ptr<CParseResult> result_;
  std::unique_ptr<TargetGroupList> groups_;
};

}  // namespace walk_test

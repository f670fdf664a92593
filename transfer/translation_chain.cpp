#include "transfer/translation_chain.h"

#include <cstdlib>
#include <memory>

#include "analysis/cfg/cfg_parser.h"
#include "analysis/lfg/lfg_parser.h"
#include "analysis/tokeniser/pre_processor.h"
#include "constraints/p_fs_compiler.h"
#include "core/config_store.h"
#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/parse_result.h"
#include "core/production.h"
#include "core/symbol_table.h"
#include "core/target_group.h"
#include "core/token.h"
#include "resources/english/e_lexicon.h"
#include "resources/english/p_grammar.h"
#include "resources/lfg/grammar.h"
#include "resources/lfg/lexicon.h"
#include "transfer/generation/urdu_sentence_generator.h"
#include "transfer/morphology/discourse_table.h"
#include "transfer/morphology/urdu_word_generator.h"
#include "transfer/walk/f_structure_mapper.h"

namespace {

std::string Key(const char* key) { return GetConfigValue(key, false); }
std::string RawKey(const char* key) { return GetConfigValue(key, true); }

double NumberKey(const char* key) { return std::atof(RawKey(key).c_str()); }

}  // namespace

WString DescribeStructure(const CFSNode* node) {
  if (node == nullptr) return u"(none)";
  WString text = GetSymbolName(static_cast<SymbolId>(node->Attribute));
  if (!node->Value.empty()) {
    text += u" {";
    for (size_t i = 0; i < node->Value.size(); ++i) text += (i > 0 ? u" " : u"") + GetSymbolName(node->Value[i]);
    text += u"}";
  }
  if (!node->ChildList.empty()) {
    text += u" [";
    for (size_t i = 0; i < node->ChildList.size(); ++i) text += (i > 0 ? u" " : u"") + DescribeStructure(node->ChildList[i]);
    text += u"]";
  }
  return text;
}

namespace {

bool IsDigits(const WString& text) {
  if (text.empty()) return false;
  for (WChar c : text) {
    if (c < u'0' || c > u'9') return false;
  }
  return true;
}

WString PredWord(const CFSNode* node) {
  const CFSNode* pred = node != nullptr ? node->FindAttribute(PredId) : nullptr;
  const CFSNode* value = pred != nullptr ? pred->FindAttribute(ValueId) : nullptr;
  if (value == nullptr || value->Value.empty()) return WString();
  return GetSymbolName(value->Value.front());
}

void CollectRewrittenWords(const CFSNode* node, std::vector<WString>& words) {
  if (node == nullptr) return;
  if (node->Attribute == static_cast<int16_t>(PredId)) {
    const WString word = PredWord(node->Parent);
    if (!word.empty() && word.front() != u'\'' && !IsDigits(word)) words.push_back(word);
    return;
  }
  for (const CFSNode* child : node->ChildList) CollectRewrittenWords(child, words);
}

}  // namespace

WString TrimBlanks(const WString& text) {
  size_t first = 0, last = text.size();
  while (first < last && text[first] == u' ') ++first;
  while (last > first && text[last - 1] == u' ') --last;
  return text.substr(first, last - first);
}

CTranslationChain::CTranslationChain() {
  ClearConfiguration();
  ClearSymbolTable();
  if (!LoadConfiguration("EConfig.inf", false)) {
    failure_ = "EConfig.inf could not be read";
    return;
  }
  if (!BuildEnglishSide() || !BuildTransferSide()) return;
  // Everything registered at set-up outlives the per-sentence resets.
  P_FSCompiler::MarkInitialItems();
}

CTranslationChain::~CTranslationChain() {
  ResetAfterSentence();
  generator_.reset();
}

bool CTranslationChain::BuildEnglishSide() {
  englishLexicon_ = std::make_unique<CLexicon>("E");
  RegisterReservedSymbols();
  lfgParser_ = std::make_unique<CLFGParser>(Key("SubCatFrameListFileName"));
  P_FSCompiler::Init();
  englishGrammar_ = std::make_unique<P_Grammar>(Key("GrammarRulesFileName"), Key("GrammarMacrosFileName"),
                                                Key("lfgFileName"), Key("cfgFileName"), 1);
  if (englishGrammar_->HasFailed()) {
    failure_ = "English grammar: " + englishGrammar_->FailureText();
    return false;
  }
  cfgLexicon_ = std::make_unique<CELexicon>(Key("ELexiconFileName"), englishGrammar_.get());
  if (cfgLexicon_->HasFailed()) {
    failure_ = "English lexicon: " + cfgLexicon_->FailureText();
    return false;
  }
  preProcessor_ = std::make_unique<CPreProcessor>(cfgLexicon_.get());
  cfgParser_ = std::make_unique<CCfgParser>(cfgLexicon_.get(), englishGrammar_.get(), preProcessor_.get());
  return true;
}

bool CTranslationChain::BuildTransferSide() {
  // The insert rules are expanded with the mapping rules' macros.
  mapper_ = std::make_unique<CFStructureMapper>(
      Key("MappingRulesMacrosFileName"), Key("MappingRulesRawFileName"), Key("MappingRulesExtFileName"),
      Key("MappingLexiconMacrosFileName"), Key("MappingLexiconRawFileName"), Key("MappingLexiconExtFileName"),
      Key("MappingRulesMacrosFileName"), Key("InsertRulesRawFileName"), Key("InsertRulesExtFileName"),
      NumberKey("MapLexStdFreq"), NumberKey("MapRulesStdFreq"), Key("TransRulesFileName"), englishLexicon_.get(),
      lfgParser_.get());
  urduLexicon_ = std::make_unique<CLexicon>("U", true);
  if (urduLexicon_->EntryCount() == 0 || urduLexicon_->ExpansionTable() == nullptr) {
    failure_ = "the Urdu lexicon could not be built";
    return false;
  }
  wordGenerator_ = std::make_unique<CUrduWordGenerator>(urduLexicon_.get());
  urduGrammar_ = std::make_unique<CGrammar>(Key("UGrammarRulesFileName"), Key("UGrammarMacrosFileName"),
                                            Key("UlfgFileName"), Key("UcfgFileName"), urduLexicon_.get(), false,
                                            true);
  if (urduGrammar_->Store() == nullptr || urduGrammar_->Store()->empty()) {
    failure_ = "the Urdu grammar could not be compiled";
    return false;
  }
  generator_ = std::make_unique<CUrduSentenceGenerator>(&mapper_->Engine(), urduLexicon_.get(), urduGrammar_.get(),
                                                        wordGenerator_.get());
  discourseTable_ = std::make_unique<CDiscourseTable>(Key("DiscourseFileName"));
  return true;
}

CChainResult CTranslationChain::Translate(const WString& sentence, const std::string& domain) {
  CChainResult result;
  if (!failure_.empty()) return result;
  CSentenceReadings readings;
  CSentenceTokens tokens;
  preProcessor_->SetSentence(sentence);
  cfgParser_->PreprocessSentence(readings, tokens);
  result.parsed = cfgParser_->ParseTokens(readings, tokens);
  std::unique_ptr<CParseResult> analysis(result.parsed ? cfgParser_->GetParseResult() : nullptr);
  for (CToken* token : tokens) delete token;
  if (!analysis) return result;

  std::unique_ptr<TargetGroupList> groups = mapper_->Map({analysis.get()}, domain);
  std::vector<CFSHandle*> targets;
  if (groups) {
    for (const std::unique_ptr<CTargetGroup>& group : *groups) {
      for (CFSHandle* handle : group->Targets) {
        if (handle == nullptr || handle->root == nullptr) continue;
        handle->ApplyPredFrames(*urduLexicon_->ExpansionTable());
        discourseTable_->CompleteFeatures(handle->root);
        handle->Normalize();
        targets.push_back(handle);
        result.targetTexts.push_back(DescribeStructure(handle->root));
        result.rootPredicates.push_back(PredWord(handle->root));
        CollectRewrittenWords(handle->root, result.rewrittenWords);
      }
    }
  }
  result.mapped = !targets.empty();
  result.targets = targets.size();
  if (targets.empty()) return result;
  generator_->Generate(result.sentences, targets);
  for (WString& text : result.sentences) text = TrimBlanks(text);
  return result;
}

void CTranslationChain::ResetAfterSentence() {
  if (generator_) generator_->Reset();
  DeleteGlobalObjectList();
  if (lfgParser_) lfgParser_->FreeChart();
  CFSHandle::DeleteAll();
  CFSNode::DeleteAll();
  P_FSCompiler::ResetForSentence();
}

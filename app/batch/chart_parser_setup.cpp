// The older set-up of the chart-parser road: the English lexicon with its
// entries, the lexicon manager, the English LFG grammar and a chart parser
// over it, then the same transfer side as the main set-up. It builds none of
// the CFG road (constraint system, compiled grammar, tokeniser, CFG parser,
// tagger, segmenter, rewriting rules), so the main road stays unusable after
// it; HasChartParserEngine tells the older road that it may run.
#include "analysis/cfg/cfg_parser.h"
#include "analysis/lfg/lfg_parser.h"
#include "app/engine/handler_scopes.h"
#include "app/engine/setup_keys.h"
#include "app/engine/translator_dlg.h"
#include "app/loaders/common_symbol_table.h"
#include "core/config_store.h"
#include "core/parse_clock.h"
#include "core/symbol_table.h"
#include "resources/lfg/grammar.h"
#include "resources/lfg/lexicon.h"
#include "resources/lfg/lexicon_manager.h"
#include "transfer/generation/urdu_sentence_generator.h"
#include "transfer/morphology/discourse_table.h"
#include "transfer/walk/f_structure_mapper.h"

namespace {

constexpr const char16_t* kStartCategory = u"S";

}  // namespace

bool CTranslatorDlg::InitializeChartParserEngine() {
  return RunSetUp([this](const CSetUpKeys& keys) {
    // No CFG parser reads the "Time" file here: the road's sentences get the
    // default limit, whatever an earlier set-up of the process left.
    ParseTimeLimit = kDefaultParseTimeLimit;
    // A data root made for the CFG parser compiles here too, but its English
    // lexicon takes so many names that the Urdu side finds the symbol table
    // full at every step: its messages are held back and replaced by one.
    CHeldMessages held;
    const bool built = BuildChartParserEnglishSide(keys) && BuildTransferSide(keys, true);
    if (SymbolIdCounter() + 1 >= kNoSymbol) {
      held.Drop();
      return Fail("The data root has no English LFG grammar and lexicon for the chart parser: '" + keys.englishLexicon +
                  "' and '" + keys.grammarRules +
                  "' fill the symbol table (the README tells how to make a data root for --lfg)");
    }
    held.Release();
    if (!built) return false;
    CMessageCounter shown;
    if (!SaveCommonSymbolTable()) {
      return FailUnlessShown(shown, "File '" + GetConfigValue("CommonSymbolTableFileName") + "' could not be written");
    }
    return true;
  });
}

bool CTranslatorDlg::HasChartParserEngine() const {
  return m_pEnglishLexicon && m_pLexiconManager && m_pEnglishGrammar && m_pLFGParser &&
         m_pLFGParser->grammar != nullptr && m_pMapper && m_pGenerator && m_pUrduLexicon && m_pWordGenerator &&
         m_pUrduGrammar && m_pDiscourseTable;
}

// Both lexicons write and read the lexicon in numbers under one key, so only
// a start that compiles them gives each its own entries: a loading start
// would give the English lexicon the Urdu entries. Such a start is refused.
bool CTranslatorDlg::BuildChartParserEnglishSide(const CSetUpKeys& keys) {
  if (!keys.CompilesLexicons()) {
    return Fail("The chart parser's set-up compiles its lexicons: \"CompileLexicon\" must be \"yes\"");
  }
  m_pEnglishLexicon = std::make_unique<CLexicon>("E", false);
  if (m_pEnglishLexicon->EntryCount() == 0) {
    return Fail("The English lexicon could not be built from '" + keys.englishLexicon + "'");
  }
  m_pLexiconManager = std::make_unique<CLexiconManager>(m_pEnglishLexicon.get());
  m_pEnglishGrammar = std::make_unique<CGrammar>(keys.grammarRules, keys.grammarMacros, keys.lfgFile, keys.cfgFile,
                                                 m_pEnglishLexicon.get(), false, false);
  const std::unique_ptr<ProductionList> starts = m_pEnglishGrammar->GetProductionsByName(kStartCategory);
  if (!starts || starts->empty()) {
    return Fail("The English LFG grammar of '" + keys.grammarRules + "' has no rule for S");
  }
  RegisterReservedSymbols();
  m_nGFId = GfId;
  m_nPredId = PredId;
  CMessageCounter shown;
  m_pLFGParser = std::make_unique<CLFGParser>(m_pEnglishGrammar.get(), keys.subcatFrameList);
  if (m_pLFGParser->governableFunctions.empty()) {
    return FailUnlessShown(shown, "The governable functions could not be read from '" + keys.subcatFrameList + "'");
  }
  return true;
}

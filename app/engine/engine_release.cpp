// Releasing the engines and the per-sentence resets.
#include "analysis/cfg/cfg_chart.h"
#include "analysis/cfg/cfg_parser.h"
#include "analysis/lfg/lfg_parser.h"
#include "analysis/segmentation/sentence_segmenter.h"
#include "analysis/tokeniser/pre_processor.h"
#include "app/engine/translator_dlg.h"
#include "core/process_policy.h"
#include "core/sentence_state.h"
#include "resources/english/e_lexicon.h"
#include "resources/english/p_grammar.h"
#include "resources/lfg/grammar.h"
#include "resources/lfg/lexicon.h"
#include "resources/lfg/lexicon_manager.h"
#include "transfer/generation/urdu_sentence_generator.h"
#include "transfer/morphology/discourse_table.h"
#include "transfer/morphology/trans_rules.h"
#include "transfer/morphology/urdu_word_generator.h"
#include "transfer/walk/f_structure_mapper.h"

CTranslatorDlg::CTranslatorDlg() = default;

CTranslatorDlg::~CTranslatorDlg() { ReleaseEngine(); }

void CTranslatorDlg::ReleaseEngine() {
  ready_ = false;
  // The engine's parts of the sentence reset point into the engines.
  SetSentenceRelease(SentencePart::kGeneration, {});
  SetSentenceRelease(SentencePart::kCharts, {});
  // Users first, then what they point to.
  m_pGenerator.reset();
  m_pMapper.reset();
  m_pDiscourseTable.reset();
  m_pTransRules.reset();
  m_pSegmenter.reset();
  m_pCfgParser.reset();
  m_pPreProcessor.reset();
  m_pCfgLexicon.reset();
  m_pPGrammar.reset();
  m_pWordGenerator.reset();
  m_pUrduGrammar.reset();
  m_pUrduLexicon.reset();
  m_pLFGParser.reset();
  m_pLexiconManager.reset();
  m_pEnglishGrammar.reset();
  m_pEnglishLexicon.reset();
  // The last chart and everything a sentence left registered.
  FreeAllEarleyItems();
  FreeAllChartColumns();
  ResetSentenceState();
  RestoreDefaultProcessPolicy();
}

void CTranslatorDlg::RegisterSentenceReleases() {
  SetSentenceRelease(SentencePart::kGeneration, [this] {
    if (m_pGenerator) m_pGenerator->Reset();
  });
  SetSentenceRelease(SentencePart::kCharts, [this] {
    if (m_pLFGParser) m_pLFGParser->FreeChart();
    if (m_pCfgParser) m_pCfgParser->ReleaseChart();
  });
}

bool CTranslatorDlg::ResetAfterSentence() {
  ResetSentenceSegment();
  return true;
}

bool CTranslatorDlg::ResetAfterChartSentence() { return ResetAfterSentence(); }

bool CTranslatorDlg::ResetAfterListSentence() {
  ResetSentenceState();
  return true;
}

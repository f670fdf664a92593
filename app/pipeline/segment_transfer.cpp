// Mapping and generation of one parsed segment, and the spelling of the
// words of a segment for which nothing was generated.
#include <memory>

#include "analysis/segmentation/sentence_segment.h"
#include "app/engine/translator_dlg.h"
#include "app/pipeline/phase_timer.h"
#include "core/fs_handle.h"
#include "core/parse_result.h"
#include "core/string_helpers.h"
#include "core/target_group.h"
#include "core/text_reading.h"
#include "core/token.h"
#include "core/trace_log.h"
#include "platform/message_box.h"
#include "resources/lfg/lexicon.h"
#include "transfer/generation/urdu_sentence_generator.h"
#include "transfer/morphology/discourse_table.h"
#include "transfer/morphology/trans_rules.h"
#include "transfer/walk/f_structure_mapper.h"

namespace {

const WString kHyphenLine(44, u'-');

WString Milliseconds(int64_t milliseconds) { return NarrowToWide(std::to_string(milliseconds)); }

}  // namespace

void CTranslatorDlg::MapAndGenerate(std::vector<std::unique_ptr<CParseResult>>& results, CSegmentOutcome& outcome) {
  std::vector<CParseResult*> analyses;
  for (const std::unique_ptr<CParseResult>& result : results) analyses.push_back(result.get());

  CPhaseTimer timer;
  std::unique_ptr<TargetGroupList> groups = m_pMapper->Map(analyses, domain_);
  outcome.mapMilliseconds = timer.ElapsedMilliseconds();
  outcome.mapMicroseconds = timer.ElapsedMicroseconds();
  WriteTraceLog(u"\nMaping Time: " + Milliseconds(outcome.mapMilliseconds));

  std::vector<CFSHandle*> urduHandles;
  if (!groups) {
    ShowMessage(u"Sentence's Target Urdu F-Structure could not be generated.", u"Quillet Module",
                MessageStyle::IconInformation);
  } else {
    int g = 1;
    for (const std::unique_ptr<CTargetGroup>& group : *groups) {
      CTreeItem& heading = result_->targetTree.InsertRoot(u"Target F-Structure Group # " +
                                                          SegmentPrefix(outcome.number) + IntToWString(g++) + u" - " +
                                                          IntToWString(static_cast<int>(group->Targets.size())));
      for (CFSHandle* handle : group->Targets) {
        if (handle == nullptr || handle->root == nullptr) continue;
        handle->ApplyPredFrames(*m_pUrduLexicon->ExpansionTable());
        m_pDiscourseTable->CompleteFeatures(handle->root);
        handle->Normalize();
        if (options_.completedTarget) options_.completedTarget(*handle->root);
        urduHandles.push_back(handle);
        FillFStructureTree(handle->root, &result_->targetTree, &heading, true);
      }
      heading.expanded = !heading.children.empty();
    }
  }
  outcome.mapped = !urduHandles.empty();
  if (!m_pGenerator || urduHandles.empty()) return;

  timer.Restart();
  std::vector<WString> sentences;
  m_pGenerator->Generate(sentences, urduHandles);
  outcome.generateMilliseconds = timer.ElapsedMilliseconds();
  outcome.generateMicroseconds = timer.ElapsedMicroseconds();
  WriteTraceLog(u"\nGeneration Time: " + Milliseconds(outcome.generateMilliseconds));
  WriteTraceLog(kHyphenLine);
  for (WString& sentence : sentences) TrimSpaceCrLf(sentence);
  std::erase_if(sentences, [](const WString& sentence) { return sentence.empty(); });
  if (sentences.empty()) return;
  // The first sentence is the segment's text; the others are alternatives.
  outcome.generated = true;
  outcome.translation = sentences.front();
  outcome.alternatives.assign(sentences.begin() + 1, sentences.end());
  WriteTraceLog(outcome.translation);
  WriteTraceLog(kHyphenLine);
}

WString CTranslatorDlg::RewriteWords(const CSentenceSegment& segment) const {
  WString text;
  for (const CToken* token : segment.tokens) {
    if (token == nullptr) continue;
    text += (m_pTransRules ? m_pTransRules->Apply(token->Text) : token->Text) + u" ";
  }
  return text;
}

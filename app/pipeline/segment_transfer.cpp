// Mapping and generation of one parsed segment, and the spelling of the
// words of a segment for which nothing was generated.
#include <algorithm>
#include <memory>

#include "analysis/segmentation/sentence_segment.h"
#include "app/engine/translator_dlg.h"
#include "app/pipeline/phase_timer.h"
#include "app/pipeline/segment_loss.h"
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
#include "transfer/walk/mapper_engine.h"

namespace {

const WString kHyphenLine(44, u'-');

WString Milliseconds(int64_t milliseconds) { return NarrowToWide(std::to_string(milliseconds)); }

// What the segment's sentence leaves out: the words of the Urdu structure
// it does not say, named by the English words mapped into them, the English
// words that no Urdu structure took (the mapping dropped them from every
// one), and symbols taken out of the sentence.
void CollectSegmentLoss(const CMapperEngine& engine, const std::vector<CFSHandle*>& urduHandles,
                        const CGeneratedSentence& sentence, CSegmentOutcome& outcome) {
  outcome.leftOut = LeftOutWords(sentence.leftOut, [&engine](uint32_t id) { return engine.EnglishWordOf(id); });
  std::vector<const std::vector<WString>*> dropped;
  for (const CFSHandle* handle : urduHandles) dropped.push_back(engine.DroppedWordsOf(handle));
  for (WString& word : WordsDroppedByEvery(dropped)) AddWordOnce(outcome.leftOut, std::move(word));
  for (WString& symbol : RemoveLatinWords(outcome.translation)) outcome.leftOut.push_back(std::move(symbol));
}

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
  std::vector<CGeneratedSentence> sentences;
  m_pGenerator->GenerateSentences(sentences, urduHandles);
  outcome.generateMilliseconds = timer.ElapsedMilliseconds();
  outcome.generateMicroseconds = timer.ElapsedMicroseconds();
  WriteTraceLog(u"\nGeneration Time: " + Milliseconds(outcome.generateMilliseconds));
  WriteTraceLog(kHyphenLine);
  for (CGeneratedSentence& sentence : sentences) TrimSpaceCrLf(sentence.text);
  std::erase_if(sentences, [](const CGeneratedSentence& sentence) { return sentence.text.empty(); });
  if (sentences.empty()) return;
  // The first sentence is the segment's text, the others are alternatives;
  // sentences that say their whole structure come before those that leave
  // parts out.
  std::stable_sort(sentences.begin(), sentences.end(), [](const CGeneratedSentence& a, const CGeneratedSentence& b) {
    return a.leftOut.size() < b.leftOut.size();
  });
  outcome.generated = true;
  outcome.translation = sentences.front().text;
  CollectSegmentLoss(m_pMapper->Engine(), urduHandles, sentences.front(), outcome);
  for (size_t i = 1; i < sentences.size(); ++i) {
    WString alternative = sentences[i].text;
    RemoveLatinWords(alternative);
    if (!alternative.empty()) outcome.alternatives.push_back(std::move(alternative));
  }
  WriteTraceLog(outcome.translation);
  WriteTraceLog(kHyphenLine);
  if (outcome.translation.empty()) outcome.generated = false;
}

WString CTranslatorDlg::RewriteWords(const CSentenceSegment& segment) const {
  WString text;
  for (const CToken* token : segment.tokens) {
    if (token == nullptr) continue;
    text += (m_pTransRules ? m_pTransRules->Apply(token->Text) : token->Text) + u" ";
  }
  return text;
}

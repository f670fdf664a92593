// The generation chart: the agenda of one target structure worked in order,
// prediction of the productions that fit a daughter's node, completion of
// waiting edges, and the edge index with its duplicate test.
#include <algorithm>
#include <utility>

#include "analysis/lfg/chart_edge.h"
#include "core/file_writer.h"
#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/parse_clock.h"
#include "core/production.h"
#include "core/string_helpers.h"
#include "core/trace_log.h"
#include "resources/lfg/grammar.h"
#include "transfer/generation/urdu_sentence_generator.h"

namespace {

// The generator keeps a flag in the low byte of an edge's state: set while
// the edge has not yet recorded a size of the deferred stack (in spare).
bool HasUnrecordedFlag(const CChartEdge& edge) { return (edge.state & 0xFFu) != 0; }
void ClearUnrecordedFlag(CChartEdge& edge) { edge.state &= ~0xFFu; }

bool IsEmptyProduction(const CProduction& production) { return production.HasSingleDaughter(); }

// Marks the node with its consumed flag and mark, then its ancestors: marks
// up to the first that already has one, consumed flags likewise.
void MarkUsedNode(CFSNode* node) {
  node->GenerationMark = 1;
  node->Mark = 1;
  bool marking = true, consuming = true;
  for (CFSNode* ancestor = node->Parent; ancestor != nullptr && (marking || consuming); ancestor = ancestor->Parent) {
    if (marking && ancestor->Mark != 0) marking = false;
    if (marking) ancestor->Mark = 1;
    if (consuming && ancestor->GenerationMark != 0) consuming = false;
    if (consuming) ancestor->GenerationMark = 1;
  }
}

// Two daughters agree when they have the same name, the same scanned word
// and are bound to the same node (by id, which copies keep).
bool DaughtersAgree(const CProductionSymbol* a, const CProductionSymbol* b) {
  if (a == nullptr || b == nullptr) return a == b;
  if (a->name != b->name || a->word != b->word) return false;
  if (a->generatorNode == nullptr || b->generatorNode == nullptr) return a->generatorNode == b->generatorNode;
  return a->generatorNode->NodeId == b->generatorNode->NodeId;
}

// The registered copy a predicted edge works on: its checked daughters
// (all but the rule end) start unbound.
CProduction* StartPredictedCopy(const CProduction& production) {
  CProduction* copy = production.Clone();
  for (size_t d = 0; d + 1 < copy->daughters.size(); ++d) {
    copy->daughters[d]->generatorNode = nullptr;
    copy->daughters[d]->fStructure = nullptr;  // a copied handle is freed with the sentence's handles
  }
  return copy;
}

bool IsDirectlyRecursive(const CProduction& production) {
  for (const CProductionSymbol* daughter : production.daughters) {
    if (daughter->name == production.mother->name) return true;
  }
  return false;
}

}  // namespace

bool CUrduSentenceGenerator::EdgeLimitReached() const {
  return agenda_.size() - agendaSizeAtStructureStart_ >= maxEdgesPerStructure;
}

// The sentence's time limit covers generation too, and the structure nodes
// that completions copy are capped: a structure still being worked when
// either has passed is given up like one that outgrew its chart.
bool CUrduSentenceGenerator::TimeLimitReached() {
  if (edgeLimitLogged_) return true;
  if (ParseTimeExceeded()) {
    WriteTraceLog(u"Generation passed the time limit of the sentence; the structure yields nothing");
  } else if (CFSNode::RegisteredCount() > maxNodesPerSentence) {
    WriteTraceLog(u"Generation made more than " + IntToWString(static_cast<int>(maxNodesPerSentence)) +
                  u" structure nodes; the structure yields nothing");
  } else {
    return false;
  }
  edgeLimitLogged_ = true;
  return true;
}

void CUrduSentenceGenerator::GenerateOne(CFSNode* root, WStringList& sentences, FSHandleList& resultHandles) {
  lastFinishedS_ = nullptr;
  unfinishedSCount_ = 0;
  agendaSizeAtStructureStart_ = agenda_.size();
  edgeLimitLogged_ = false;
  const size_t sentencesBefore = sentences.size();
  const size_t handlesBefore = resultHandles.size();
  if (root == nullptr || urduGrammar_ == nullptr) return;

  ProductionList starts;
  urduGrammar_->CollectProductions(startCategory_, starts, root);
  for (CProduction* production : starts) AddEdge(agenda_, new CChartEdge(root, production, 0, 0, 0, 0), true);

  // Edges left from earlier structures and calls since the last Reset are
  // worked again; the edge index sees most of what they make as duplicates.
  for (size_t i = 0; i < agenda_.size(); ++i) {
    if (TimeLimitReached()) break;
    CChartEdge* edge = agenda_[i].get();
    CProduction* production = edge->production;
    if (production != nullptr) {
      if (production->IsDotOnLastDaughter()) {
        Complete(edge, sentences, resultHandles);
      } else if (CProductionSymbol* daughter = production->GetSymbolAfterDot()) {
        if (daughter->kind == 1) {
          Scan(edge, daughter);
        } else {
          Predict(edge, daughter);
        }
      }
    }
    // One empty production is released each time the agenda runs dry
    // without a sentence, the last deferred first.
    if (i + 1 == agenda_.size() && sentences.empty() && !deferred_.empty()) {
      CChartEdge* released = deferred_.back().release();
      deferred_.pop_back();
      AddEdge(agenda_, released, true);
    }
  }

  if (edgeLimitLogged_) {
    // A structure that outgrew its chart yields nothing.
    sentences.resize(sentencesBefore);
    resultHandles.resize(handlesBefore);
    producedLeftOut_.resize(std::min(producedLeftOut_.size(), sentencesBefore));
    return;
  }
  if (sentences.empty() && lastFinishedS_ != nullptr) ProduceSentence(lastFinishedS_, sentences, resultHandles);
}

void CUrduSentenceGenerator::ProduceSentence(CChartEdge* edge, WStringList& sentences, FSHandleList& resultHandles) {
  WString text;
  CollectWords(edge, text);
  sentences.push_back(text);
  producedLeftOut_.push_back(LeftOutNodes(edge));
  resultHandles.push_back(new CFSHandle(edge->fStructure, 1.0));
}

void CUrduSentenceGenerator::Predict(CChartEdge* edge, CProductionSymbol* daughter) {
  if (!daughter->equations.empty()) UnifyEquation(daughter->equations.front(), edge, daughter, true, true);
  CFSNode* bound = daughter->generatorNode;
  ProductionList productions;  // the grammar's own: only those that fit are copied
  if (!urduGrammar_->FindProductions(static_cast<int16_t>(daughter->id), productions, bound)) return;
  for (const WString& constraint : daughter->constraints) {
    if (!EvaluateConstraint(constraint, edge->fStructure, bound, true)) return;
  }
  for (const CEquation* equation : daughter->equations) {
    if (!ApplyEquation(equation, edge->fStructure, bound, true)) return;
  }
  for (CProduction* own : productions) {
    if (!MakePredictedEdge(own, bound)) continue;
    CProduction* production = StartPredictedCopy(*own);
    auto* predicted = new CChartEdge(bound, production, edge->end, edge->end, 0, 0);
    if (IsEmptyProduction(*production)) {
      deferred_.emplace_back(predicted);
    } else {
      AddEdge(agenda_, predicted, true);
    }
  }
}

void CUrduSentenceGenerator::Complete(CChartEdge* finished, WStringList& sentences, FSHandleList& resultHandles) {
  const CProductionSymbol* mother = finished->production->mother;
  if (mother == nullptr) return;
  if (static_cast<int16_t>(mother->id) == startCategory_) {
    lastFinishedS_ = finished;
    if (AllFeaturesConsumed(finished->fStructure)) {
      ProduceSentence(finished, sentences, resultHandles);
    } else if (++unfinishedSCount_ >= 3) {
      // From the third unfinished S of a structure on, each one counts.
      ProduceSentence(finished, sentences, resultHandles);
    }
    return;
  }
  std::vector<CChartEdge*> waiting;
  GatherWaitingEdges(finished, waiting);
  for (CChartEdge* edge : waiting) {
    if (TimeLimitReached()) return;
    TryCompleteWaiting(finished, edge);
  }
}

void CUrduSentenceGenerator::GatherWaitingEdges(const CChartEdge* finished, std::vector<CChartEdge*>& waiting) const {
  std::vector<uint32_t> numbers;
  urduGrammar_->GetProductionsUsingCategory(finished->production->mother->id, numbers);
  bool anyFiled = false;
  for (uint32_t number : numbers) {
    anyFiled = anyFiled || edgeCountByProduction_.count(number) != 0;
    const auto filed = edgesByEnd_.find(std::make_pair(number, finished->origin));
    // The latest filed first: the order completion has always met them in.
    if (filed != edgesByEnd_.end()) waiting.insert(waiting.end(), filed->second.rbegin(), filed->second.rend());
  }
  // Without any edge of those productions, every edge of the chart is tried.
  if (anyFiled) return;
  for (const auto& edge : agenda_) waiting.push_back(edge.get());
}

void CUrduSentenceGenerator::TryCompleteWaiting(CChartEdge* finished, CChartEdge* waiting) {
  CProduction* finishedProduction = finished->production;
  CProduction* waitingProduction = waiting->production;
  if (waitingProduction == nullptr) return;
  CProductionSymbol* daughter = waitingProduction->GetSymbolAfterDot();
  // (a) the waiting edge seeks this category where the finished one starts.
  if (waiting->end != finished->origin || daughter == nullptr || daughter->kind != 0 ||
      daughter->id != finishedProduction->mother->id) {
    return;
  }
  const bool empty = IsEmptyProduction(*finishedProduction);
  // (b) both describe the same node.
  CFSNode* finishedNode = finished->fStructure;
  CFSNode* boundNode = daughter->generatorNode;
  if (finishedNode != nullptr && boundNode != nullptr) {
    if (finishedNode->NodeId != boundNode->NodeId) return;
    if (empty && finishedNode->Parent != nullptr && boundNode->Parent != nullptr) {
      if (finishedNode->Parent->NodeId != boundNode->Parent->NodeId) return;
    } else if (finishedNode->Parent != boundNode->Parent) {
      return;
    }
  }
  // (c) the mother works on a copy unless the edge has no node or an empty
  // daughter completes it after its first daughter.
  CFSNode* motherNode = waiting->fStructure;
  if (motherNode != nullptr && !(empty && waitingProduction->dot != 0)) motherNode = motherNode->Clone();
  CFSNode* daughterNode = finishedNode != nullptr ? finishedNode->Clone() : nullptr;
  // (d) the daughter's constraints and equations.
  if (!CheckConstraints(motherNode, daughterNode, daughter, false)) return;
  if (!empty && !ApplyDaughterEquations(*daughter, motherNode, daughterNode, false)) return;
  // (e) an empty production completes a given waiting production once.
  if (empty && waitingProduction->spare == static_cast<int32_t>(finishedProduction->number)) return;
  waitingProduction->spare = static_cast<int32_t>(finishedProduction->number);
  // (f) the advanced copy.
  CProduction* advanced = waitingProduction->Clone();
  advanced->GetSymbolAfterDot()->fillingEdge = finished;
  if (empty && HasUnrecordedFlag(*waiting)) {
    ClearUnrecordedFlag(*waiting);
    waiting->spare = static_cast<int32_t>(deferred_.size());
  }
  advanced->MoveDot();
  // (g) what the daughter used is marked.
  if ((!empty || waitingProduction->dot == 1) && daughterNode != nullptr) MarkUsedNode(daughterNode);
  // (h) a waiting edge that is now finished.
  if (advanced->IsDotOnLastDaughter() && !IsEmptyProduction(*advanced)) {
    if (empty) {
      PopDeferredTo(waiting->spare);
    } else {
      const CEquation* binding = daughter->equations.empty() ? nullptr : daughter->equations.front();
      const bool bindsPath =
          binding != nullptr && binding->op == u'=' && binding->left != nullptr && !binding->left->path.empty();
      if (bindsPath && !AllFeaturesConsumed(daughterNode)) {
        WriteTraceLog(u"Production's dot could not be moved : ");
        waitingProduction->WriteItem(&GetTraceLogWriter(), WString());
        return;
      }
      PopDeferredTo(waiting->spare);
    }
  }
  // (i) the new edge carries the waiting edge's flag and recorded size.
  auto* next = new CChartEdge(motherNode, advanced, waiting->origin, finished->end, 0, 0);
  next->state = waiting->state;
  next->spare = waiting->spare;
  AddEdge(agenda_, next, true);
}

bool CUrduSentenceGenerator::ApplyDaughterEquations(const CProductionSymbol& daughter, CFSNode* mother, CFSNode* self,
                                                    bool testOnly) {
  for (const CEquation* equation : daughter.equations) {
    if (!ApplyEquation(equation, mother, self, testOnly)) return false;
  }
  return true;
}

// Drops the deferred edges above the recorded size; nothing for an edge
// that has recorded none.
void CUrduSentenceGenerator::PopDeferredTo(int32_t size) {
  if (size < 0) return;
  while (deferred_.size() > static_cast<size_t>(size)) deferred_.pop_back();
}

bool CUrduSentenceGenerator::AddEdge(std::vector<std::unique_ptr<CChartEdge>>& queue, CChartEdge* edge, bool index) {
  if (edge == nullptr) return false;
  if (IsDuplicateEdge(edge)) {
    // The production copy stays in the production registry.
    edge->fStructure = nullptr;
    edge->production = nullptr;
    delete edge;
    return false;
  }
  if (&queue == &agenda_ && EdgeLimitReached()) {
    if (!edgeLimitLogged_) {
      WriteTraceLog(u"Generation chart reached its limit of " + IntToWString(static_cast<int>(maxEdgesPerStructure)) +
                    u" edges; the structure yields nothing");
    }
    edgeLimitLogged_ = true;
    delete edge;
    return false;
  }
  queue.emplace_back(edge);
  if (index && edge->production != nullptr) {
    edgesByEnd_[std::make_pair(edge->production->number, edge->end)].push_back(edge);
    ++edgeCountByProduction_[edge->production->number];
    edgeByNodeIndex_.emplace(std::make_pair(edge->production->number, static_cast<const CFSNode*>(edge->fStructure)),
                             edge);
  }
  return true;
}

bool CUrduSentenceGenerator::IsDuplicateEdge(const CChartEdge* edge) const {
  const CProduction* production = edge->production;
  if (production == nullptr || edge->fStructure == nullptr) return false;
  const auto [first, last] =
      edgeByNodeIndex_.equal_range(std::make_pair(production->number, static_cast<const CFSNode*>(edge->fStructure)));
  for (auto it = first; it != last; ++it) {
    const CChartEdge* other = it->second;
    const CProduction* otherProduction = other->production;
    if (other->fStructure != edge->fStructure || otherProduction == nullptr) continue;
    if (otherProduction->dot != production->dot) continue;
    if (otherProduction->daughters.size() != production->daughters.size()) continue;
    bool agree = true;
    for (size_t d = 0; d < production->dot && agree; ++d) {
      agree = DaughtersAgree(production->daughters[d], otherProduction->daughters[d]);
    }
    if (agree && !IsDirectlyRecursive(*otherProduction)) return true;
  }
  return false;
}

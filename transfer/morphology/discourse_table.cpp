#include "transfer/morphology/discourse_table.h"

#include "analysis/segmentation/segment_condition.h"
#include "core/file_reader.h"
#include "core/text_reading.h"
#include "core/trace_log.h"
#include "core/value_sets.h"

namespace {

bool IsSpaceCrLf(WChar unit) { return unit == u' ' || unit == u'\r' || unit == u'\n'; }

CFSNode* NewFeatureNode(SymbolId attribute, SymbolId value) {
  auto* node = new CFSNode();  // registered: freed with the sentence's nodes
  node->Attribute = static_cast<int16_t>(attribute);
  node->Value.push_back(value);
  return node;
}

}  // namespace

CDiscourseTable::CDiscourseTable(const std::string& path) : fileName_(path) {
  ReadFile();
  proId_ = GetSymbolId(u"'pro'", true);
  nounId_ = GetSymbolId(u"NOUN", true);
  respectId_ = GetSymbolId(u"RESPECT", true);
  noRespectId_ = GetSymbolId(u"NORESPECT", true);
  pronFormId_ = GetSymbolId(u"PRONFORM", true);
  wohId_ = GetSymbolId(u"WOH", true);
  gendId_ = GetSymbolId(u"GEND", true);
  // The Urdu lexicon, grammar and inflection rules write the values of
  // gender and number in small letters.
  mId_ = GetSymbolId(u"m", true);
  numId_ = GetSymbolId(u"NUM", true);
  sgId_ = GetSymbolId(u"sg", true);
  valuePath_ = {PredId, ValueId};
}

void CDiscourseTable::ReadFile() {
  CFileReader reader(fileName_, 256);
  while (reader.GetChar() != 0) {
    WString key;
    WString values;
    ReadUntilChar(key, u'=', reader);
    TrimSpaceCrLf(key);
    const SymbolId attribute = GetSymbolId(key, true);
    ReadUntilChar(values, u';', reader);
    auto list = ParseValueList(values);
    if (entries_.count(attribute) != 0) {
      WriteTraceLog(u"Pronoun feature table: a second entry for " + key + u" is ignored");
    } else {
      entries_.emplace(attribute, std::move(list));
    }
    while (IsSpaceCrLf(reader.GetChar())) reader.NextChar();
  }
}

std::unique_ptr<std::vector<SymbolId>> CDiscourseTable::ParseValueList(const WString& text) {
  WString trimmed = text;
  TrimSpaceCrLf(trimmed);
  if (trimmed.empty()) return nullptr;
  auto values = std::make_unique<std::vector<SymbolId>>();
  for (const WString& piece : SplitSegmentRuleText(trimmed, u',')) values->push_back(GetSymbolId(piece, true));
  return values;
}

const std::vector<SymbolId>* CDiscourseTable::ValuesOf(SymbolId attribute) const {
  auto found = entries_.find(attribute);
  if (found == entries_.end() || found->second == nullptr || found->second->empty()) return nullptr;
  return found->second.get();
}

void CDiscourseTable::ApplyTableRule(CFSNode* node) const {
  const std::vector<SymbolId>* values = ValuesOf(static_cast<SymbolId>(node->Attribute));
  if (values == nullptr) return;
  const CFSNode* parent = node->GetParent(false);
  if (parent == nullptr || parent->FindAttribute(nounId_) == nullptr) return;
  if (node->Value.empty()) {
    node->Value = *values;
  } else if (IsValueSubset(values, &node->Value)) {
    node->Value = *values;
  }
}

void CDiscourseTable::AddNounDefaults(CFSNode* node) const {
  if (node->FindAttribute(nounId_) == nullptr) return;
  const std::pair<SymbolId, SymbolId> defaults[] = {{respectId_, noRespectId_}, {gendId_, mId_}, {numId_, sgId_}};
  for (const auto& [attribute, value] : defaults) {
    if (node->FindAttribute(attribute) == nullptr) node->ChildList.push_back(NewFeatureNode(attribute, value));
  }
}

void CDiscourseTable::AddPronounForm(CFSNode* node) const {
  const CFSNode* predValue = node->FindPath(&valuePath_, true);
  if (predValue == nullptr || predValue->Value.empty() || predValue->Value.front() != proId_) return;
  if (node->FindAttribute(pronFormId_) != nullptr) return;
  node->ChildList.push_back(NewFeatureNode(pronFormId_, wohId_));
}

void CDiscourseTable::CompleteFeatures(CFSNode* node) const {
  if (node == nullptr) return;
  ApplyTableRule(node);
  AddNounDefaults(node);
  AddPronounForm(node);
  // By index: the loop may meet the children added above.
  for (size_t i = 0; i < node->ChildList.size(); ++i) CompleteFeatures(node->ChildList[i]);
}

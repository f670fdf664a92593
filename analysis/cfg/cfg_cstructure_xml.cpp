// CCfgParser: the C-structures of the last chart as XML. Category and
// part-of-speech names become element names through XmlElementName ("S'"
// is no valid name) and words go through XmlEscape, so the file is always
// well formed.
//
// A chart packs its analyses: one item may stand under every alternative of
// every parent, and writing each occurrence in full could make the file grow
// exponentially. The writer therefore caps the number of elements of one file
// (kMaxCStructureXmlElements): past the cap no further element is opened,
// every open one is closed, and the file stays well formed. An item met again
// below itself (a cycle of unary rules) is written as an empty element.
#include <algorithm>

#include "analysis/cfg/cfg_parser.h"
#include "analysis/xml/xml_escape.h"
#include "core/file_writer.h"
#include "core/string_helpers.h"
#include "core/symbol_table.h"

namespace {

WString Open(const WString& name) { return u"<" + name + u">"; }
WString Close(const WString& name) { return u"</" + name + u">"; }

WString Numbered(const char16_t* prefix, size_t n) { return prefix + IntToWString(static_cast<int>(n)); }

}  // namespace

void CCfgParser::WriteCStructuresXml(const std::string& fileName) {
  if (fileName.empty()) return;
  CFileWriter writer(fileName);
  if (!writer.IsOpen()) return;
  CCfgChartItem* start = FindCompleteStartItem();
  if (start == nullptr) {
    // No analysis (or a chart emptied by a time-out): an empty document.
    writer.Write(u"<C-Structures></C-Structures>");
    return;
  }
  xmlBudget_ = kMaxCStructureXmlElements;
  xmlPath_.clear();
  writer.Write(u"<C-Structures>");
  const CCfgChildAlternatives alternatives = start->GetChildAlternatives();
  for (size_t n = 0; n < alternatives.size() && TakeXmlBudget(); ++n) {
    const WString element = Numbered(u"C-Structure-", n + 1);
    writer.Write(Open(element));
    if (!alternatives[n]->empty()) WriteAlternativesXml(alternatives[n]->front().item, writer);
    writer.Write(Close(element));
  }
  writer.Write(u"</C-Structures>");
}

bool CCfgParser::TakeXmlBudget() {
  if (xmlBudget_ == 0) return false;
  --xmlBudget_;
  return true;
}

void CCfgParser::WriteAlternativesXml(CCfgChartItem* item, CFileWriter& writer) {
  if (item == nullptr || !TakeXmlBudget()) return;
  const CCompiledProduction* production = item->GetProduction();
  const WString name = XmlElementName(NarrowToWide(grammar_->GetCategoryName(production->lhs)));
  writer.Write(Open(name));
  if (std::find(xmlPath_.begin(), xmlPath_.end(), item) != xmlPath_.end()) {
    writer.Write(Close(name));
    return;
  }
  xmlPath_.push_back(item);
  const CCfgChildAlternatives alternatives = item->GetChildAlternatives();
  const bool wrapped = alternatives.size() > 1;
  for (size_t k = 0; k < alternatives.size(); ++k) {
    const WString wrapper = Numbered(u"Alternative-", k + 1);
    if (wrapped && !TakeXmlBudget()) break;
    if (wrapped) writer.Write(Open(wrapper));
    const CCfgChildList& children = *alternatives[k];
    for (size_t j = 0; j < children.size() && j < production->rhs.size(); ++j) {
      const CCompiledSymbol& record = production->rhs[j];
      if (!record.isPOS) {
        WriteAlternativesXml(children[j].item, writer);
        continue;
      }
      if (children[j].reading == nullptr || !TakeXmlBudget()) continue;
      const WString pos = XmlElementName(NarrowToWide(grammar_->GetPOSName(record.id)));
      writer.Write(Open(pos) + XmlEscape(GetSymbolName(children[j].reading->GetPartSymbol())) + Close(pos));
    }
    if (wrapped) writer.Write(Close(wrapper));
  }
  xmlPath_.pop_back();
  writer.Write(Close(name));
}

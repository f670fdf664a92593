// XML forms of the LFG parser's analyses and the C-structure tree of a
// completed edge. Files are UTF-16LE with a mark and hold one line of tags.
#include "analysis/lfg/chart_edge.h"
#include "analysis/lfg/lfg_parser.h"
#include "analysis/xml/xml_escape.h"
#include "core/cs_node.h"
#include "core/file_writer.h"
#include "core/parse_result.h"
#include "core/production.h"
#include "core/string_helpers.h"

namespace {

bool IsHiddenAttribute(const CFSNode& node) {
  const WString name = GetSymbolName(static_cast<SymbolId>(node.Attribute));
  return !name.empty() && name.front() == u'_';
}

WString OpenTag(const WString& name) { return u"<" + name + u">"; }
WString CloseTag(const WString& name) { return u"</" + name + u">"; }

}  // namespace

void CLFGParser::WriteFStructureXml(const CFSNode* node, CFileWriter& writer) {
  if (node == nullptr || IsHiddenAttribute(*node)) return;
  const WString name = XmlElementName(TrimWString(GetSymbolName(static_cast<SymbolId>(node->Attribute))));
  WString head = OpenTag(name);
  for (SymbolId value : node->Value) head += u"<Value>" + XmlEscape(GetSymbolName(value)) + u"</Value>";
  writer.Write(head);
  for (const CFSNode* child : node->ChildList) WriteFStructureXml(child, writer);
  for (const CFSNode* element : node->SetElements) WriteFStructureXml(element, writer);
  writer.Write(CloseTag(name));
}

bool CLFGParser::WriteCStructureXml(const CCSNode* node, CFileWriter& writer) {
  if (node == nullptr) return false;
  const WString name = XmlElementName(node->Category);
  writer.Write(OpenTag(name));
  if (node->Children.empty()) {
    writer.Write(XmlEscape(node->Word));
  } else {
    for (const CCSNode* child : node->Children) WriteCStructureXml(child, writer);
  }
  writer.Write(CloseTag(name));
  return true;
}

bool CLFGParser::WriteCStructureXmlFile(const ParseResultList& results, const std::string& fileName) {
  if (fileName.empty() || results.empty()) return false;
  CFileWriter writer(fileName);
  if (!writer.IsOpen()) return false;
  writer.Write(u"<C-Structures>");
  int number = 0;
  for (const CParseResult* result : results) {
    const WString name = u"C-Structure-" + IntToWString(++number);
    writer.Write(OpenTag(name));
    if (result != nullptr && result->CStructure != nullptr) WriteCStructureXml(result->CStructure->Root, writer);
    writer.Write(CloseTag(name));
  }
  writer.Write(u"</C-Structures>");
  writer.Close();
  return true;
}

CCSNode* CLFGParser::BuildCStructure(const CProduction* item, CNamedIdList* words) {
  if (item == nullptr || item->mother == nullptr) return nullptr;
  auto* node = new CCSNode(item->mother->name, item->mother->word, nullptr, nullptr, 0);
  for (const CProductionSymbol* daughter : item->daughters) {
    if (daughter == nullptr || (!daughter->name.empty() && daughter->name.front() == u'.')) continue;
    if (daughter->kind == 1 && !daughter->word.empty()) {
      node->AddChild(new CCSNode(daughter->name, daughter->word, node, nullptr, 0));
      if (words != nullptr) {
        words->Items.push_back(new CNamedId(daughter->word, GetSymbolId(daughter->name, true)));
      }
      continue;
    }
    if (daughter->fillingEdge != nullptr) {
      node->AddChild(BuildCStructure(daughter->fillingEdge->production, words));
    }
  }
  return node;
}

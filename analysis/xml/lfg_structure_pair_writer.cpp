#include "analysis/xml/lfg_structure_pair_writer.h"

#include <vector>

#include "analysis/lfg/lfg_parser.h"
#include "analysis/lfg/lfg_start_edges.h"
#include "analysis/xml/xml_escape.h"
#include "core/file_writer.h"
#include "core/production.h"
#include "core/string_helpers.h"

namespace {

// "<outer>", then per edge "<base-n>" with the edge's body, then "</outer>".
template <typename WriteBody>
void WriteNumberedElements(const std::string& fileName, const WString& outer, const WString& base,
                           const std::vector<CChartEdge*>& edges, WriteBody writeBody) {
  CFileWriter writer(fileName);
  if (!writer.IsOpen()) return;
  writer.Write(u"<" + outer + u">");
  int number = 0;
  for (const CChartEdge* edge : edges) {
    const WString name = base + IntToWString(++number);
    writer.Write(u"<" + name + u">");
    writeBody(*edge, writer);
    writer.Write(u"</" + name + u">");
  }
  writer.Write(u"</" + outer + u">");
}

}  // namespace

int WriteStartEdgeStructures(CLFGParser& parser, const std::string& fsFileName, const std::string& csFileName) {
  const std::vector<CChartEdge*> edges = CompleteStartEdges(parser);
  if (!fsFileName.empty()) {
    WriteNumberedElements(fsFileName, u"F-Structures", u"F-Structure-", edges,
                          [&parser](const CChartEdge& edge, CFileWriter& writer) {
                            parser.WriteFStructureXml(CompleteStartStructure(edge), writer);
                          });
  }
  if (!csFileName.empty()) {
    WriteNumberedElements(csFileName, u"C-Structures", u"C-Structure-", edges,
                          [](const CChartEdge& edge, CFileWriter& writer) {
                            writer.Write(u"<S>");
                            WriteEdgeCStructureXml(*edge.production, writer);
                            writer.Write(u"</S>");
                          });
  }
  return static_cast<int>(edges.size());
}

void WriteEdgeCStructureXml(const CProduction& production, CFileWriter& writer) {
  for (const CProductionSymbol* daughter : production.daughters) {
    if (daughter == nullptr || (!daughter->name.empty() && daughter->name.front() == u'.')) continue;
    const WString name = XmlElementName(daughter->name);
    writer.Write(u"<" + name + u">");
    if (daughter->kind == 1) {
      writer.Write(XmlEscape(daughter->word));
    } else if (daughter->fillingEdge != nullptr && daughter->fillingEdge->production != nullptr) {
      WriteEdgeCStructureXml(*daughter->fillingEdge->production, writer);
    }
    writer.Write(u"</" + name + u">");
  }
}

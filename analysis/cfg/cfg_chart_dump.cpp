// The chart dump for grammar writers: every column of the CFG chart with its
// Earley items, so that one can see where a parse stopped. The file is named
// by the developer option or the configuration key "Debug".
#include "analysis/cfg/cfg_chart_dump.h"
#include "analysis/cfg/cfg_parser.h"
#include "core/config_store.h"
#include "core/file_writer.h"
#include "core/string_helpers.h"

namespace {

// "[origin,column] LHS -> a b . c": the item's production with its dot; a
// complete item ends with " .".
WString ItemText(const CCfgChartItem& item, const P_Grammar& grammar) {
  const CCompiledProduction& production = *item.GetProduction();
  WString text = u"[" + IntToWString(item.GetOrigin()) + u"," + IntToWString(item.GetColumn()) + u"] " +
                 NarrowToWide(grammar.GetCategoryName(production.lhs)) + u" ->";
  for (size_t i = 0; i < production.rhs.size(); ++i) {
    if (i == item.GetDot()) text += u" .";
    const CCompiledSymbol& symbol = production.rhs[i];
    text += u" " + NarrowToWide(symbol.isPOS != 0 ? grammar.GetPOSName(symbol.id) : grammar.GetCategoryName(symbol.id));
  }
  if (item.IsComplete()) text += u" .";
  const size_t alternatives = item.GetChildAlternatives().size();
  if (alternatives > 1) text += u"  (" + IntToWString(static_cast<int>(alternatives)) + u" alternatives)";
  return text;
}

}  // namespace

WString CCfgParser::ChartDumpText() const {
  WString text;
  for (size_t c = 0; c < columns_.size(); ++c) {
    text += u"ChartColumn:---" + IntToWString(static_cast<int>(c)) + u"\r\n";
    const CCfgChartColumn& column = *columns_[c];
    for (size_t i = 0; i < column.GetItemCount(); ++i) {
      text += ItemText(*column.GetItem(static_cast<int>(i)), *grammar_) + u"\r\n";
    }
  }
  return text;
}

bool CCfgParser::WriteChartDump(const std::string& fileName) const {
  CFileWriter writer(fileName);
  if (!writer.IsOpen()) return false;
  writer.Write(ChartDumpText());
  return true;
}

void CCfgParser::DumpChartWhenAsked() {
  if (chartDumpFile_.empty()) return;
  chartDumpOfSentence_ += ChartDumpText();
  CFileWriter writer(chartDumpFile_);
  writer.Write(chartDumpOfSentence_);
}

std::string EnableChartDump(CCfgParser& parser, const std::string& file) {
  const std::string name = !file.empty() ? file : GetConfigValue("Debug");
  parser.SetChartDumpFile(name);
  return name;
}

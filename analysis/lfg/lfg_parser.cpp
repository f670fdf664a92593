// The parser object: construction, the governable functions and the chart's
// lifetime.
#include "analysis/lfg/lfg_parser.h"

#include "core/file_reader.h"
#include "core/text_split.h"
#include "resources/lfg/grammar.h"
#include "resources/lfg/lexicon.h"

CLFGParser::CLFGParser(CGrammar* parsedGrammar, const std::string& governableFunctionsFile)
    : grammar(parsedGrammar), conditions_(LfgConditionSyntax(), &CLexicon::ParseOperand) {
  // The grammar does not hand out its lexicon; the operand parsers are
  // static, so conditions are read the same without a lexicon reference.
  lexicon = nullptr;
  LoadGovernableFunctions(governableFunctionsFile);
}

CLFGParser::CLFGParser(const std::string& governableFunctionsFile)
    : conditions_(LfgConditionSyntax(), &CLexicon::ParseOperand) {
  LoadGovernableFunctions(governableFunctionsFile);
}

CLFGParser::~CLFGParser() { FreeChart(); }

bool CLFGParser::LoadGovernableFunctions(const std::string& fileName) {
  CFileReader reader(1024);
  const WString text = reader.ReadAll(fileName);
  std::unique_ptr<PieceList> pieces = Tokenize(text, u",", false);
  if (!pieces || pieces->empty()) return false;
  for (const WString& piece : *pieces) governableFunctions.push_back(GetSymbolId(piece, true));
  return true;
}

bool CLFGParser::FreeChart() {
  columns.reset();
  columnCount = 0;
  edgeCount_ = 0;
  return true;
}

bool CLFGParser::Trace(const WString& /*label*/, const CProduction* production, uint32_t /*column*/,
                       uint32_t /*origin*/) {
  return production != nullptr;
}

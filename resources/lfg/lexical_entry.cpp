#include "resources/lfg/lexical_entry.h"

#include "core/swallowing_delete.h"
#include "core/symbol_table.h"

int CLexicalEntry::liveInstances = 0;

namespace {

WString JoinTexts(const std::vector<WString>& texts) {
  WString joined;
  for (size_t i = 0; i < texts.size(); ++i) {
    if (i > 0) joined += u',';
    joined += texts[i];
  }
  return joined;
}

}  // namespace

CLexicalEntry::CLexicalEntry() { ++liveInstances; }

CLexicalEntry::~CLexicalEntry() {
  if (!ownsEquations) equations.clear();
  for (CEquation* equation : equations) DeleteSwallowingExceptions(equation);
  --liveInstances;
}

WString CLexicalEntry::ToString() const {
  WString text = word + u"," + GetSymbolName(static_cast<SymbolId>(category)) + u",";
  if (!pred.empty()) text += u"^PRED=" + pred + u",";
  text += JoinTexts(constraints);
  std::vector<WString> equationTexts;
  for (const CEquation* equation : equations) equationTexts.push_back(equation->ToString());
  if (!constraints.empty() && !equationTexts.empty()) text += u',';
  return text + JoinTexts(equationTexts);
}

// Operand parsers of the lexicon: one side of a functional equation, as
// lexicons, grammars, mapping rules and inflection rules write it, turned into
// a kind and a path of interned symbol ids.
#include <memory>

#include "core/string_helpers.h"
#include "core/text_split.h"
#include "resources/lfg/lexicon.h"

namespace {

void InternPieces(const PieceList* pieces, CEquationOperand& operand) {
  if (!pieces) return;
  for (const WString& piece : *pieces) operand.path.push_back(GetSymbolId(piece, true));
}

bool StartsValueList(const WString& text) { return text[0] == u'{' || text[0] == u'\''; }

// The rule operand of a text that does not start a value list: "x::a.b" names
// its kind x before the path; anything else is a plain path of kind 's'.
std::unique_ptr<CEquationOperand> ParseRulePath(const WString& trimmed) {
  auto operand = std::make_unique<CEquationOperand>();
  operand->kind = 's';
  WString path = trimmed;
  if (path.size() > 1 && path[1] == u':') {
    operand->kind = static_cast<int8_t>(path[0] & 0xFF);
    path = path.size() > 3 ? path.substr(3) : WString();
  }
  InternPieces(Tokenize(path, u".", false).get(), *operand);
  return operand;
}

}  // namespace

std::unique_ptr<CEquationOperand> CLexicon::ParseOperand(const WString& text) {
  const WString trimmed = TrimWString(text);
  if (trimmed.empty()) return nullptr;
  auto operand = std::make_unique<CEquationOperand>();
  operand->kind = (trimmed[0] == u'^' || trimmed[0] == u'!') ? static_cast<int8_t>(trimmed[0]) : 'v';
  InternPieces(Tokenize(trimmed, u"^!{},'<>", false).get(), *operand);
  return operand;
}

std::unique_ptr<CEquationOperand> CLexicon::ParseRuleOperand(const WString& text) {
  const WString trimmed = TrimWString(text);
  if (trimmed.empty()) return nullptr;
  if (!StartsValueList(trimmed)) return ParseRulePath(trimmed);
  auto operand = std::make_unique<CEquationOperand>();
  operand->kind = 'v';
  InternPieces(Tokenize(trimmed, u"{}<>,'", false).get(), *operand);
  return operand;
}

std::unique_ptr<CEquationOperand> CLexicon::ParseRuleOperandKeepAngles(const WString& text) {
  const WString trimmed = TrimWString(text);
  if (trimmed.empty()) return nullptr;
  if (!StartsValueList(trimmed)) return ParseRulePath(trimmed);
  auto operand = std::make_unique<CEquationOperand>();
  operand->kind = 'v';
  InternPieces(TokenizeKeepingAngleBrackets(trimmed, u"{},", false).get(), *operand);
  return operand;
}

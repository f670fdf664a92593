#include "transfer/mapping/map_rule_element.h"

#include "core/string_helpers.h"
#include "core/text_split.h"

int CMapRuleElement::liveInstances = 0;

namespace {

const WString kNullText = u"NULL";
const WString kDeleteWord = u"delete";
// Separators of a value set and of a path.
const WString kValueSetSeparators = u"<>{,}";
const WString kPathSeparators = u".";

// The path of a statement "delete <path>": the text after the word and its
// blank, when the word leads and a path follows; empty otherwise.
WString DeletedPath(const WString& left) {
  if (left.size() <= kDeleteWord.size() + 1 || left.compare(0, kDeleteWord.size(), kDeleteWord) != 0) return {};
  const WChar blank = left[kDeleteWord.size()];
  if (blank != u' ' && blank != u'\t') return {};
  return TrimWString(left.substr(kDeleteWord.size() + 1));
}

void PutPath(DumpWords& words, uint32_t& index, const CMapPath& path) {
  PutWord(words, index, static_cast<uint8_t>(path.kind));
  PutWord(words, index, static_cast<uint16_t>(path.ids.size()));
  for (SymbolId id : path.ids) PutWord(words, index, id);
}

bool TakePath(const DumpWords& words, uint32_t& index, CMapPath& path) {
  uint16_t kind = 0, count = 0;
  if (!TakeWord(words, index, kind) || !TakeWord(words, index, count) || !WordsLeft(words, index, count)) {
    return false;
  }
  path.kind = static_cast<char>(kind & 0xFF);
  path.ids.clear();
  for (uint16_t i = 0; i < count; ++i) {
    SymbolId id = 0;
    TakeWord(words, index, id);
    path.ids.push_back(id);
  }
  return true;
}

}  // namespace

int CMapRuleElement::ReadRepositionCount(const WString& text) {
  if (text.empty()) return -1;
  int count = 0;
  for (WChar unit : text) {
    if (unit < u'0' || unit > u'9') return -1;
    if (count <= 32767) count = count * 10 + (unit - u'0');
  }
  return count >= 1 && count <= 32767 ? count : 0;
}

CMapRuleElement::CMapRuleElement() { ++liveInstances; }

CMapRuleElement::CMapRuleElement(const WString& left, const WString& right, char statementOp,
                                 const WString& cacheSymbolText, const WString& insertHeadwordText,
                                 const WString& valueText, bool parsePaths) {
  ++liveInstances;
  if (statementOp == kInsert) {
    op = kInsert;
    cacheSymbol = GetSymbolId(cacheSymbolText, true);
    insertHeadword = GetSymbolId(insertHeadwordText, true);
    if (valueText.empty() || valueText == kNullText) return;
    const int count = ReadRepositionCount(valueText);
    if (count > 0) {
      value = static_cast<uint16_t>(count);
      valueIsNumber = true;
    } else if (count < 0) {
      value = GetSymbolId(valueText, true);
    }
    return;
  }
  leftPath.kind = kTargetKind;
  rightPath.kind = kSourceKind;
  if (statementOp == kGoTo) {
    const WString deleted = DeletedPath(left);
    if (!deleted.empty()) {
      op = kDelete;
      rightPath.kind = kTargetKind;
      ParsePath(rightPath, deleted, parsePaths);
      return;
    }
  }
  op = statementOp;
  ParsePath(leftPath, left, parsePaths);
  if (op == kGoTo) return;
  leftPath.kind = kSourceKind;
  // The delete statement of the compiler ("DELETE <path>") gives its path
  // as the right text; it names a target node.
  if (op == kDelete) rightPath.kind = kTargetKind;
  ParsePath(rightPath, right, parsePaths);
}

CMapRuleElement::~CMapRuleElement() { --liveInstances; }

bool CMapRuleElement::ParsePath(CMapPath& path, const WString& text, bool parsePaths) {
  if (!parsePaths) return false;
  WString rest = text;
  // Only a one-letter kind before "::" is a kind.
  if (rest.size() >= 3 && rest.compare(1, 2, u"::") == 0) {
    path.kind = static_cast<char>(rest[0] & 0xFF);
    rest = rest.substr(3);
  }
  const bool valueSet = !rest.empty() && (rest[0] == u'{' || rest[0] == u'\'');
  if (valueSet) path.kind = kValueKind;
  const std::unique_ptr<PieceList> pieces = Tokenize(rest, valueSet ? kValueSetSeparators : kPathSeparators, false);
  if (!pieces || pieces->empty()) return false;
  for (const WString& piece : *pieces) path.ids.push_back(GetSymbolId(piece, true));
  return true;
}

CMapRuleElement* CMapRuleElement::Clone() const {
  auto* copy = new CMapRuleElement();
  copy->op = op;
  copy->leftPath = leftPath;
  copy->rightPath = rightPath;
  copy->cacheSymbol = cacheSymbol;
  copy->insertHeadword = insertHeadword;
  copy->value = value;
  copy->valueIsNumber = valueIsNumber;
  return copy;
}

bool CMapRuleElement::PathStartsWith(SymbolId id) const { return !leftPath.ids.empty() && leftPath.ids[0] == id; }

bool CMapRuleElement::Serialize(DumpWords& words, uint32_t& index) const {
  if (leftPath.ids.size() > 0xFFFF || rightPath.ids.size() > 0xFFFF) return false;
  PutWord(words, index, cacheSymbol);
  PutWord(words, index, insertHeadword);
  PutWord(words, index, value);
  PutWord(words, index, valueIsNumber ? 1 : 0);
  PutPath(words, index, leftPath);
  PutPath(words, index, rightPath);
  PutWord(words, index, static_cast<uint8_t>(op));
  return true;
}

bool CMapRuleElement::Deserialize(const DumpWords& words, uint32_t& index) {
  uint16_t numberFlag = 0, opWord = 0;
  if (!TakeWord(words, index, cacheSymbol) || !TakeWord(words, index, insertHeadword) ||
      !TakeWord(words, index, value) || !TakeWord(words, index, numberFlag)) {
    return false;
  }
  valueIsNumber = numberFlag != 0;
  if (!TakePath(words, index, leftPath) || !TakePath(words, index, rightPath)) return false;
  if (!TakeWord(words, index, opWord)) return false;
  op = static_cast<char>(opWord & 0xFF);
  return true;
}

bool CMapRuleElement::operator==(const CMapRuleElement& other) const {
  return cacheSymbol == other.cacheSymbol && insertHeadword == other.insertHeadword && value == other.value &&
         valueIsNumber == other.valueIsNumber && leftPath == other.leftPath && rightPath == other.rightPath &&
         op == other.op;
}

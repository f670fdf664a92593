#include "transfer/mapping/map_lex_entry.h"

#include <bit>
#include <cmath>

int CMapLexEntry::liveInstances = 0;

namespace {

constexpr double kLargestNumber = 2147483647.0;
constexpr double kSmallestNumber = -2147483648.0;

}  // namespace

CMapLexEntry::CMapLexEntry() { ++liveInstances; }

CMapLexEntry::~CMapLexEntry() { --liveInstances; }

void CMapLexEntry::AddStatement(std::unique_ptr<CMapRuleElement> statement) {
  if (!statement) return;
  if (statement->PathStartsWith(BreakId)) breakFlag = true;
  statements.push_back(std::move(statement));
}

bool CMapLexEntry::OmitsNode() const {
  const SymbolId omit = GetSymbolId(CMapRuleElement::kOmitWord, false);
  if (omit == kNoSymbol) return false;
  for (const auto& statement : statements) {
    if (statement->op == CMapRuleElement::kGoTo && statement->PathStartsWith(omit)) return true;
  }
  return false;
}

bool CMapLexEntry::WritesAttribute(SymbolId attribute) const {
  for (const auto& statement : statements) {
    if (statement->op != CMapRuleElement::kAssign) continue;
    std::vector<SymbolId> path = statement->leftPath.ids;
    if (path.size() >= 2 && path.back() == ValueId) path.pop_back();
    if (!path.empty() && path.back() == attribute) return true;
  }
  return false;
}

bool CMapLexEntry::MapsNothingBelow() const {
  if (OmitsNode()) return true;
  for (const auto& statement : statements) {
    if (statement->op == CMapRuleElement::kGoTo && statement->PathStartsWith(NullId)) return true;
  }
  return false;
}

bool CMapLexEntry::Serialize(DumpWords& words, uint32_t& index) const {
  if (condition.size() > 0xFFFF || statements.size() > 0xFFFF) return false;
  PutWord(words, index, static_cast<uint16_t>(condition.size()));
  for (WChar unit : condition) PutWord(words, index, unit);
  PutWord(words, index, static_cast<uint8_t>(marker));
  PutWord(words, index, static_cast<uint16_t>(statements.size()));
  for (const auto& statement : statements) {
    if (!statement->Serialize(words, index)) return false;
  }
  const auto bits32 = static_cast<uint32_t>(number);
  PutWord(words, index, static_cast<uint16_t>(bits32 & 0xFFFF));
  PutWord(words, index, static_cast<uint16_t>(bits32 >> 16));
  PutWord(words, index, breakFlag ? 1 : 0);
  const auto bits64 = std::bit_cast<uint64_t>(static_cast<double>(number));
  for (int shift = 0; shift < 64; shift += 16) PutWord(words, index, static_cast<uint16_t>(bits64 >> shift));
  return true;
}

bool CMapLexEntry::Deserialize(const DumpWords& words, uint32_t& index) {
  uint16_t length = 0;
  if (!TakeWord(words, index, length) || !WordsLeft(words, index, length)) return false;
  condition.clear();
  for (uint16_t i = 0; i < length; ++i) {
    uint16_t unit = 0;
    TakeWord(words, index, unit);
    condition += static_cast<WChar>(unit);
  }
  uint16_t markerWord = 0, count = 0;
  if (!TakeWord(words, index, markerWord) || !TakeWord(words, index, count)) return false;
  marker = static_cast<char>(markerWord & 0xFF);
  for (uint16_t i = 0; i < count; ++i) {
    auto statement = std::make_unique<CMapRuleElement>();
    if (!statement->Deserialize(words, index)) return false;
    statements.push_back(std::move(statement));
  }
  // The 32-bit number is written for older readers; the double is the one
  // that counts.
  uint16_t low = 0, high = 0, flag = 0;
  if (!TakeWord(words, index, low) || !TakeWord(words, index, high) || !TakeWord(words, index, flag)) return false;
  breakFlag = flag != 0;
  uint64_t bits64 = 0;
  for (int shift = 0; shift < 64; shift += 16) {
    uint16_t part = 0;
    if (!TakeWord(words, index, part)) return false;
    bits64 |= static_cast<uint64_t>(part) << shift;
  }
  const double stored = std::bit_cast<double>(bits64);
  // A number that no int holds is a damaged record.
  if (!std::isfinite(stored) || stored > kLargestNumber || stored < kSmallestNumber) return false;
  number = static_cast<int>(stored);
  weight = 1.0;
  return true;
}

bool CMapLexEntry::SameContent(const CMapLexEntry& other) const {
  if (condition != other.condition || marker != other.marker || number != other.number ||
      breakFlag != other.breakFlag || statements.size() != other.statements.size()) {
    return false;
  }
  for (size_t i = 0; i < statements.size(); ++i) {
    if (!(*statements[i] == *other.statements[i])) return false;
  }
  return true;
}

#include "resources/english/e_lexicon_entry.h"

#include <cstring>

int CELexicalEntry::liveInstances = 0;

namespace {

uint32_t FloatBits(float value) {
  uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

float BitsToFloat(uint32_t bits) {
  float value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

}  // namespace

CELexicalEntry::CELexicalEntry() { ++liveInstances; }

CELexicalEntry::CELexicalEntry(uint16_t pos, const std::vector<uint16_t>& items, CELexicalEntryPart* entryPart,
                               float entryWeight)
    : posId(pos), itemIds(items), weight(entryWeight), part(entryPart) {
  ++liveInstances;
}

CELexicalEntry::CELexicalEntry(uint16_t pos, const std::vector<uint16_t>& items, uint16_t symbol, float entryWeight)
    : CELexicalEntry(pos, items, new CELexicalEntryPart(symbol), entryWeight) {}

CELexicalEntry::CELexicalEntry(uint16_t pos, const std::vector<uint16_t>& items, uint16_t symbol)
    : CELexicalEntry(pos, items, symbol, 0.0f) {}

CELexicalEntry::~CELexicalEntry() { --liveInstances; }

void CELexicalEntry::Assign(const CELexicalEntry& other) {
  posId = other.posId;
  itemIds = other.itemIds;
  weight = other.weight;
  part = other.part;
  choiceCount = other.choiceCount;
  reserved = other.reserved;
  cachedFStructure = other.cachedFStructure;
}

// POS id; weight (float bits, low word first); choice count; n and the n
// item ids; 1 and the part (symbol, m and m sign-extended bytes) or 0.
bool CELexicalEntry::Serialise(DumpWords& words, uint32_t& index) const {
  if (itemIds.size() > 0xFFFF || (part && part->bytes.size() > 0xFFFF)) return false;
  const uint32_t bits = FloatBits(weight);
  PutWord(words, index, posId);
  PutWord(words, index, static_cast<uint16_t>(bits & 0xFFFFu));
  PutWord(words, index, static_cast<uint16_t>(bits >> 16));
  PutWord(words, index, choiceCount);
  PutWord(words, index, static_cast<uint16_t>(itemIds.size()));
  for (uint16_t id : itemIds) PutWord(words, index, id);
  PutWord(words, index, part ? 1 : 0);
  if (!part) return true;
  PutWord(words, index, part->symbol);
  PutWord(words, index, static_cast<uint16_t>(part->bytes.size()));
  for (int8_t byte : part->bytes) PutWord(words, index, static_cast<uint16_t>(static_cast<int16_t>(byte)));
  return true;
}

bool CELexicalEntry::Deserialise(const DumpWords& words, uint32_t& index) {
  uint16_t low = 0, high = 0, choices = 0, count = 0, hasPart = 0;
  if (!TakeWord(words, index, posId) || !TakeWord(words, index, low) || !TakeWord(words, index, high) ||
      !TakeWord(words, index, choices) || !TakeWord(words, index, count) || !WordsLeft(words, index, count)) {
    return false;
  }
  weight = BitsToFloat(low | (uint32_t{high} << 16));
  choiceCount = static_cast<uint8_t>(choices & 0xFF);
  itemIds.resize(count);
  for (uint16_t& id : itemIds) TakeWord(words, index, id);
  if (!TakeWord(words, index, hasPart)) return false;
  part.reset();
  if (hasPart == 0) return true;
  auto newPart = std::make_shared<CELexicalEntryPart>();
  uint16_t byteCount = 0;
  if (!TakeWord(words, index, newPart->symbol) || !TakeWord(words, index, byteCount) ||
      !WordsLeft(words, index, byteCount)) {
    return false;
  }
  for (uint16_t i = 0; i < byteCount; ++i) {
    uint16_t word = 0;
    TakeWord(words, index, word);
    newPart->bytes.push_back(static_cast<int8_t>(word & 0xFF));
  }
  part = std::move(newPart);
  return true;
}

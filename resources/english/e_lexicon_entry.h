// One reading of a word in the CFG parser's lexicon: a part of speech, the
// compiled F-structure description (ids of the item registry), a weight and
// the predicate symbol.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "constraints/dump_words.h"

class P_FStructure;

// The predicate part of a reading.
class CELexicalEntryPart {
 public:
  explicit CELexicalEntryPart(uint16_t symbolId = 0) : symbol(symbolId) {}

  // A global symbol id: the predicate value, the word joined to its POS name
  // with "_", "EMPTY", 0 without a predicate, 65535 in the default entries.
  uint16_t symbol = 0;
  // Left empty by every reading the compiler builds; the dumps carry it.
  std::vector<int8_t> bytes;
};

class CELexicalEntry {
 public:
  CELexicalEntry();
  // Takes the part over (null for none).
  CELexicalEntry(uint16_t posId, const std::vector<uint16_t>& itemIds, CELexicalEntryPart* part, float weight);
  CELexicalEntry(uint16_t posId, const std::vector<uint16_t>& itemIds, uint16_t symbol, float weight);
  CELexicalEntry(uint16_t posId, const std::vector<uint16_t>& itemIds, uint16_t symbol);
  ~CELexicalEntry();
  CELexicalEntry(const CELexicalEntry&) = delete;
  CELexicalEntry& operator=(const CELexicalEntry&) = delete;

  // Copies every field of the other entry; the part is shared, and it lives
  // as long as one of the entries that share it.
  void Assign(const CELexicalEntry& other);

  // Appends the entry's words at the running index (layout in the lexicon
  // dump's description, e_lexicon.h).
  bool Serialise(DumpWords& words, uint32_t& index) const;
  // Reads the same layout. False when the words end early.
  bool Deserialise(const DumpWords& words, uint32_t& index);

  uint16_t GetPOSId() const { return posId; }
  float GetWeight() const { return weight; }
  // The predicate symbol; 0 when the reading has no part.
  uint16_t GetPartSymbol() const { return part ? part->symbol : 0; }

  uint16_t posId = 0;
  std::vector<uint16_t> itemIds;
  float weight = 1.0f;
  std::shared_ptr<CELexicalEntryPart> part;
  uint8_t choiceCount = 0;
  uint32_t reserved = 0;
  // The F-structure the CFG parser builds for this reading, kept for reuse;
  // the parser owns it.
  P_FStructure* cachedFStructure = nullptr;

  static int liveInstances;
};

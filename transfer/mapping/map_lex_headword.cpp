#include "transfer/mapping/map_lex_headword.h"

#include <memory>

int CMapLexHeadword::liveInstances = 0;

namespace {

bool PutEntryList(DumpWords& words, uint32_t& index, const std::vector<CMapLexEntry*>& list) {
  if (list.size() > 0xFFFF) return false;
  PutWord(words, index, static_cast<uint16_t>(list.size()));
  for (const CMapLexEntry* entry : list) {
    if (!entry->Serialize(words, index)) return false;
  }
  return true;
}

// Reads a list that repeats some of the entries: each record must equal the
// next entry of expected, in order.
bool TakeRepeatedList(const DumpWords& words, uint32_t& index, const std::vector<CMapLexEntry*>& expected) {
  uint16_t count = 0;
  if (!TakeWord(words, index, count) || count != expected.size()) return false;
  for (const CMapLexEntry* entry : expected) {
    CMapLexEntry repeated;
    if (!repeated.Deserialize(words, index) || !repeated.SameContent(*entry)) return false;
  }
  return true;
}

}  // namespace

CMapLexHeadword::CMapLexHeadword() { ++liveInstances; }

CMapLexHeadword::CMapLexHeadword(SymbolId id) : headword(id) { ++liveInstances; }

CMapLexHeadword::~CMapLexHeadword() {
  delete defaultEntry;
  for (CMapLexEntry* entry : entries) delete entry;
  --liveInstances;
}

bool CMapLexHeadword::AddEntry(CMapLexEntry* entry) {
  if (!entry) return false;
  entries.push_back(entry);
  if (entry->condition.empty()) {
    unconditionalEntries.push_back(entry);
  } else {
    conditionalEntries.push_back(entry);
  }
  return true;
}

size_t CMapLexHeadword::GetEntryCount() const { return conditionalEntries.size() + unconditionalEntries.size(); }

CMapLexHeadword* CMapLexHeadword::Clone() const {
  auto* copy = new CMapLexHeadword(headword);
  copy->defaultEntry = defaultEntry;
  copy->entries = entries;
  copy->conditionalEntries = conditionalEntries;
  copy->unconditionalEntries = unconditionalEntries;
  return copy;
}

void CMapLexHeadword::ReleaseEntries() {
  entries.clear();
  conditionalEntries.clear();
  unconditionalEntries.clear();
  defaultEntry = nullptr;
}

bool CMapLexHeadword::Serialize(DumpWords& words, uint32_t& index) const {
  if (!PutEntryList(words, index, entries) || !PutEntryList(words, index, conditionalEntries) ||
      !PutEntryList(words, index, unconditionalEntries)) {
    return false;
  }
  PutWord(words, index, headword);
  PutWord(words, index, defaultEntry ? 1 : 0);
  return !defaultEntry || defaultEntry->Serialize(words, index);
}

bool CMapLexHeadword::Deserialize(const DumpWords& words, uint32_t& index) {
  uint16_t count = 0;
  if (!TakeWord(words, index, count)) return false;
  for (uint16_t i = 0; i < count; ++i) {
    auto entry = std::make_unique<CMapLexEntry>();
    if (!entry->Deserialize(words, index)) return false;
    AddEntry(entry.release());
  }
  // The two lists repeat the entries; they are rebuilt from the entries list
  // above, so each entry exists once, and their records only checked.
  if (!TakeRepeatedList(words, index, conditionalEntries) || !TakeRepeatedList(words, index, unconditionalEntries)) {
    return false;
  }
  uint16_t hasDefault = 0;
  if (!TakeWord(words, index, headword) || !TakeWord(words, index, hasDefault) || hasDefault > 1) return false;
  if (hasDefault == 0) return true;
  auto entry = std::make_unique<CMapLexEntry>();
  if (!entry->Deserialize(words, index)) return false;
  defaultEntry = entry.release();
  return true;
}

#include "constraints/fsitem_lookup_table.h"

#include <algorithm>
#include <optional>
#include <sstream>
#include <string>

#include "constraints/dump_words.h"
#include "constraints/p_fs_compiler.h"
#include "constraints/p_fstructure.h"
#include "constraints/p_symbol_table.h"
#include "core/config_store.h"
#include "core/sentence_state.h"
#include "core/string_helpers.h"
#include "core/symbol_table.h"
#include "platform/file_system.h"
#include "platform/message_box.h"

FSItemLookupTable fsitem_lookup_table;

namespace P_FSCompiler {
namespace {

const char16_t kDumpCaption[] = u"FS Item Registry";

std::list<std::string>& TypeNames() {
  static std::list<std::string> names;
  return names;
}

// The attribute-type file: one name per line. A CR before the line end is
// not part of the name, and empty lines name nothing.
void LoadAttributeTypeNames() {
  TypeNames().clear();
  const std::string path = GetConfigValue("FSAttrTypeFile");
  const std::optional<std::string> bytes = ReadFileBytes(path);
  if (!bytes) {
    ShowMessage(u"File '" + NarrowToWide(path) + u"' could not be opened.", kDumpCaption, MessageStyle::Ok);
    return;
  }
  std::istringstream in(*bytes);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) TypeNames().push_back(line);
  }
}

void ReportDump(const std::string& path, const std::u16string& problem) {
  ShowMessage(u"The item registry dump '" + NarrowToWide(path) + u"' " + problem, kDumpCaption, MessageStyle::Ok);
}

// Reads the item records of a dump into entries; false at the first record
// that is short, has an unknown tag or an attribute without a bucket.
bool ReadItemRecords(const DumpWords& words, uint32_t& index, uint16_t count,
                     std::vector<std::unique_ptr<P_FSItem>>& entries) {
  for (uint16_t k = 0; k < count; ++k) {
    uint16_t tag = 0;
    if (!TakeWord(words, index, tag)) return false;
    std::unique_ptr<P_FSItem> item(NewItemForTag(tag));
    if (!item || !item->Deserialize(words, index)) return false;
    uint16_t attribute = 0;
    if (!TakeWord(words, index, attribute) || attribute > P_SymbolTable::kSlotCount) return false;
    item->attribute = attribute;
    entries[k] = std::move(item);
  }
  return true;
}

}  // namespace

const std::list<std::string>& AttributeTypeNames() { return TypeNames(); }

void Init() {
  P_SymbolTable::Init();
  ResetCompilerState();
  fsitem_lookup_table = FSItemLookupTable();
  LoadAttributeTypeNames();
  SetSentenceRelease(SentencePart::kConstraints, ResetForSentence);
}

uint16_t RegisterItem(P_FSItem* item) {
  std::unique_ptr<P_FSItem> owned(item);
  if (!owned) return 0;
  const int16_t equal = FindEqualItem(owned.get());
  if (equal != -1) return static_cast<uint16_t>(equal + 1);
  FSItemLookupTable& table = fsitem_lookup_table;
  if (table.count >= FSItemLookupTable::kCapacity || owned->attribute >= table.buckets.size()) {
    ShowMessage(u"FS item table full.", u"FS item table full.", MessageStyle::IconInformation);
    return 0;
  }
  const uint16_t index = static_cast<uint16_t>(table.count);
  AddToBucket(static_cast<int16_t>(owned->attribute), index);
  table.entries[index] = std::move(owned);
  ++table.count;
  return static_cast<uint16_t>(table.count);
}

int16_t FindEqualItem(const P_FSItem* item) {
  const FSItemLookupTable& table = fsitem_lookup_table;
  if (item->attribute >= table.buckets.size()) return -1;
  for (uint16_t index : table.buckets[item->attribute]) {
    const P_FSItem* registered = table.entries[index].get();
    if (registered && registered->Equals(item)) return static_cast<int16_t>(index);
  }
  return -1;
}

void AddToBucket(int16_t attribute, uint16_t index) {
  auto& buckets = fsitem_lookup_table.buckets;
  if (attribute < 0 || static_cast<size_t>(attribute) >= buckets.size()) return;
  buckets[attribute].push_back(index);
}

void RemoveFromBucket(int16_t attribute, int16_t index) {
  auto& buckets = fsitem_lookup_table.buckets;
  if (attribute < 0 || static_cast<size_t>(attribute) >= buckets.size()) return;
  auto& bucket = buckets[attribute];
  const auto found = std::find(bucket.begin(), bucket.end(), static_cast<uint16_t>(index));
  if (found != bucket.end()) bucket.erase(found);
}

void MarkInitialItems() {
  fsitem_lookup_table.initialMark = fsitem_lookup_table.count;
  P_SymbolTable::BeginTempSymbols();
  ResetBuiltItemEntries();
  // From here on names belong to sentences.
  BeginSentenceSymbols();
}

void ResetForSentence() {
  P_SymbolTable::ClearTempSymbols();
  FSItemLookupTable& table = fsitem_lookup_table;
  for (int index = std::max<int>(table.initialMark, 0); index < FSItemLookupTable::kCapacity; ++index) {
    std::unique_ptr<P_FSItem>& entry = table.entries[index];
    if (!entry) break;
    RemoveFromBucket(static_cast<int16_t>(entry->attribute), static_cast<int16_t>(index));
    entry.reset();
    --table.count;
  }
  ResetBuiltItemEntries();
  P_FSItemComplex::ResetSetElementCounter();
  P_FStructure::DeleteAll();
  ReleaseSentenceSymbols();
  ForgetShownMessages();
}

bool WriteDump() {
  const FSItemLookupTable& table = fsitem_lookup_table;
  DumpWords words;
  uint32_t index = kNoWordYet;
  PutWord(words, index, FSItemLookupTable::kDumpWordsPerItem);
  PutWord(words, index, static_cast<uint16_t>(table.count));
  for (int k = 0; k < table.count; ++k) {
    table.entries[k]->Serialize(words, index);
    PutWord(words, index, table.entries[k]->attribute);
  }
  const std::string path = GetConfigValue("P_FSInitializerDump");
  // The reader takes the budget times the count of item words.
  const size_t budget = size_t{FSItemLookupTable::kDumpWordsPerItem} * static_cast<size_t>(table.count);
  if (words.size() - 2 > budget) {
    ReportDump(path, u"would need more than " + IntToWString(FSItemLookupTable::kDumpWordsPerItem) +
                         u" words per item; it is not written.");
    return false;
  }
  if (!WriteDumpWords(path, words, words.size())) {
    ReportDump(path, u"could not be written.");
    return false;
  }
  return true;
}

bool ReadDump() {
  const std::string path = GetConfigValue("P_FSInitializerDump");
  DumpWords header;
  if (!ReadDumpWords(path, 2, header)) {
    ReportDump(path, u"could not be opened.");
    return false;
  }
  if (header.empty()) {
    ReportDump(path, NarrowToWide(kDamagedDump));
    return false;
  }
  if (header.size() < 2 || header[1] > FSItemLookupTable::kCapacity) {
    ReportDump(path, u"has no valid header.");
    return false;
  }
  const uint16_t budget = header[0];
  const uint16_t count = header[1];
  DumpWords words;
  ReadDumpWords(path, 2 + size_t{budget} * count, words);

  std::vector<std::unique_ptr<P_FSItem>> entries(FSItemLookupTable::kCapacity);
  uint32_t index = 1;  // the header words are used
  if (!ReadItemRecords(words, index, count, entries)) {
    ReportDump(path, u"is short or holds an unknown record; it is not loaded.");
    return false;
  }
  // The loaded items are not filed in the registry buckets: later equal
  // items get ids of their own, as they did when the dump was written.
  FSItemLookupTable& table = fsitem_lookup_table;
  table.entries = std::move(entries);
  table.count = static_cast<int16_t>(count);
  table.buckets.assign(table.buckets.size(), {});
  return true;
}

std::ostream& PrintTables(std::ostream& out) {
  P_SymbolTable::Print(out);
  out << "Printing fsitem_lookup_table:\n";
  const auto& entries = fsitem_lookup_table.entries;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (!entries[i]) continue;
    out << (i + 1) << " ";
    entries[i]->Print(out) << "\n";
  }
  return out;
}

P_FSItem* CloneRegisteredItem(int16_t id) {
  const FSItemLookupTable& table = fsitem_lookup_table;
  if (id < 1 || id > table.count || !table.entries[id - 1]) return nullptr;
  return table.entries[id - 1]->Clone();
}

}  // namespace P_FSCompiler

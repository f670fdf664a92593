#include "constraints/p_symbol_table.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "constraints/dump_words.h"
#include "core/config_store.h"
#include "core/file_reader.h"
#include "core/string_helpers.h"
#include "platform/message_box.h"

uint16_t SymbolTableGfId = 0;
uint16_t SymbolTablePredId = 0;
uint16_t SymbolTableIndexId = 0;
std::list<uint16_t> GovernableFunctionIds;

namespace P_SymbolTable {
namespace {

const char16_t kCaption[] = u"Symbol Table";

struct State {
  std::vector<std::string> slots = std::vector<std::string>(kSlotCount);
  bool tempMode = false;
  // The hash-table slots of this sentence's temporary names.
  std::vector<uint16_t> tempSlots;
  // Temporary names beyond the hash table: overflowNames[i] has id
  // kFirstOverflowId + i.
  std::vector<std::string> overflowNames;
  std::unordered_map<std::string, uint16_t> overflowIds;
  bool refused = false;
};

State& Table() {
  static State state;
  return state;
}

void Report(const std::u16string& text) { ShowMessage(text, kCaption, MessageStyle::Ok); }

size_t TempNameCount() { return Table().tempSlots.size() + Table().overflowNames.size(); }

// A refused name: the sentence fails; only its first refusal is reported
// (at start-up every one is).
uint16_t Refuse(const std::u16string& text) {
  if (!Table().tempMode || !Table().refused) Report(text);
  Table().refused = true;
  return 0;
}

uint16_t RefuseTooManyNames(const std::string& name) {
  return Refuse(u"Too many new names in one sentence; \"" + NarrowToWide(name) + u"\" is not entered.");
}

// Stores the name in a free slot, recording it as temporary when needed.
uint16_t Occupy(int slot, const std::string& name) {
  State& table = Table();
  if (table.tempMode && !AddTempSymbol(static_cast<uint16_t>(slot))) return RefuseTooManyNames(name);
  table.slots[slot] = name;
  return static_cast<uint16_t>(slot + 1);
}

// A temporary name that found no free slot: its id in the overflow area.
uint16_t InternOverflow(const std::string& name) {
  State& table = Table();
  const auto found = table.overflowIds.find(name);
  if (found != table.overflowIds.end()) return found->second;
  if (TempNameCount() >= static_cast<size_t>(kTempSymbolCount)) return RefuseTooManyNames(name);
  const auto id = static_cast<uint16_t>(kFirstOverflowId + table.overflowNames.size());
  table.overflowNames.push_back(name);
  table.overflowIds.emplace(name, id);
  return id;
}

// Probes slots first..last-1: the slot holding the name, or a free one.
// -1 when neither is met.
int Probe(const std::string& name, int first, int last) {
  const State& table = Table();
  for (int slot = first; slot < last; ++slot) {
    if (table.slots[slot].empty() || table.slots[slot] == name) return slot;
  }
  return -1;
}

std::string Trim(const std::string& text) {
  const auto isBlank = [](char c) { return c == ' ' || c == '\r' || c == '\n'; };
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

void AddGovernableFunction(const std::string& gathered) {
  const std::string name = Trim(gathered);
  if (name.empty()) return;
  const uint16_t id = Intern(name);
  if (id != 0) GovernableFunctionIds.push_back(id);
}

}  // namespace

void Init() {
  State& table = Table();
  table.slots.assign(kSlotCount, std::string());
  table.tempMode = false;
  table.tempSlots.clear();
  table.overflowNames.clear();
  table.overflowIds.clear();
  table.refused = false;
  SymbolTableGfId = Intern("GF");
  SymbolTablePredId = Intern("PRED");
  SymbolTableIndexId = Intern("INDEX");
  LoadSubCatFrameList();
}

int16_t Hash(std::string name, int modulus) {
  if (modulus < 2) return 0;
  int64_t h = 0;
  int64_t a = 31415;
  const int64_t b = 27183;
  for (char c : name) {
    h = (a * h + static_cast<int8_t>(c)) % modulus;
    if (h < 0) h += modulus;
    a = (a * b) % (modulus - 1);
  }
  return static_cast<int16_t>(h);
}

uint16_t Intern(std::string name) {
  if (name.empty()) return 0;
  const int h = Hash(name, kSlotCount);
  int slot = Probe(name, h, kSlotCount);
  if (slot < 0) slot = Probe(name, 0, h);
  if (slot < 0 && Table().tempMode) return InternOverflow(name);
  if (slot < 0) return Refuse(u"The symbol table is full; \"" + NarrowToWide(name) + u"\" is not entered.");
  if (Table().slots[slot] == name) return static_cast<uint16_t>(slot + 1);
  return Occupy(slot, name);
}

bool NamesRefused() { return Table().refused; }

std::string GetString(int16_t id) {
  if (id >= 1 && id <= kSlotCount) return Table().slots[id - 1];
  const State& table = Table();
  if (id >= kFirstOverflowId && static_cast<size_t>(id - kFirstOverflowId) < table.overflowNames.size()) {
    return table.overflowNames[id - kFirstOverflowId];
  }
  return std::string();
}

bool LoadSubCatFrameList() {
  GovernableFunctionIds.clear();
  const std::string path = GetConfigValue("SubCatFrameListFileName");
  CFileReader reader(1024);
  reader.Open(path);
  if (!reader.IsOpen()) return false;
  std::string gathered;
  for (WChar unit = reader.GetChar(); unit != 0; unit = reader.NextChar()) {
    if (unit == u',') {
      AddGovernableFunction(gathered);
      gathered.clear();
      continue;
    }
    gathered.push_back(static_cast<char>(unit & 0xFF));
  }
  AddGovernableFunction(gathered);
  GovernableFunctionIds.sort();
  return true;
}

bool IsClauseAttribute(uint16_t id) {
  static const char* const kClauseAttributes[] = {"PARTICIPLE", "INFINITIVE",  "XCOMP",  "COMP",
                                                  "SUBORD",     "COMPARITIVE", "REL_CL", "RESTRICTIVE_NP"};
  if (id > kLastOverflowId) return false;
  const std::string name = GetString(static_cast<int16_t>(id));
  if (name.empty()) return false;
  return std::any_of(std::begin(kClauseAttributes), std::end(kClauseAttributes),
                     [&](const char* clause) { return name == clause; });
}

void BeginTempSymbols() {
  Table().tempSlots.clear();
  Table().tempMode = true;
  Table().refused = false;
}

bool AddTempSymbol(uint16_t slot) {
  if (TempNameCount() >= static_cast<size_t>(kTempSymbolCount)) return false;
  Table().tempSlots.push_back(slot);
  return true;
}

void ClearTempSymbols() {
  State& table = Table();
  for (uint16_t slot : table.tempSlots) {
    if (slot < kSlotCount) table.slots[slot].clear();
  }
  table.tempSlots.clear();
  table.overflowNames.clear();
  table.overflowIds.clear();
  table.refused = false;
}

std::ostream& Print(std::ostream& out) {
  out << "Printing symbol_table:\n";
  const State& table = Table();
  for (int slot = 0; slot < kSlotCount; ++slot) out << (slot + 1) << " " << table.slots[slot] << "\n";
  out << "\n";
  return out;
}

bool WriteDump() {
  DumpWords words;
  uint32_t index = kNoWordYet;
  for (const std::string& name : Table().slots) {
    PutWord(words, index, static_cast<uint16_t>(name.size()));
    // Each byte sign-extended, as the format has always stored it.
    for (char c : name) PutWord(words, index, static_cast<uint16_t>(static_cast<int16_t>(static_cast<int8_t>(c))));
  }
  if (words.size() > kDumpWordLimit) {
    Report(u"The symbol table does not fit into its dump of " + IntToWString(int(kDumpWordLimit)) + u" words.");
    return false;
  }
  const std::string path = GetConfigValue("SymbolTableDumpFile");
  if (!WriteDumpWords(path, words, words.size())) {
    Report(u"The symbol table dump '" + NarrowToWide(path) + u"' could not be written.");
    return false;
  }
  return true;
}

bool ReadDump() {
  const std::string path = GetConfigValue("SymbolTableDumpFile");
  DumpWords words;
  if (!ReadDumpWords(path, kDumpWordLimit, words)) {
    Report(u"The symbol table dump '" + NarrowToWide(path) + u"' could not be opened.");
    return false;
  }
  if (words.empty()) {
    Report(u"The symbol table dump '" + NarrowToWide(path) + u"' " + NarrowToWide(kDamagedDump));
    return false;
  }
  std::vector<std::string> slots(kSlotCount);
  uint32_t index = kNoWordYet;
  for (std::string& name : slots) {
    uint16_t length = 0;
    if (!TakeWord(words, index, length) || !WordsLeft(words, index, length)) {
      Report(u"The symbol table dump '" + NarrowToWide(path) + u"' is short.");
      return false;
    }
    name.resize(length);
    for (char& c : name) {
      uint16_t word = 0;
      TakeWord(words, index, word);
      c = static_cast<char>(word & 0xFF);
    }
  }
  Table().slots = std::move(slots);
  return true;
}

}  // namespace P_SymbolTable

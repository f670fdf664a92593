#include "resources/compiled_dump_stamp.h"

#include <chrono>
#include <cstdio>
#include <random>

#include "constraints/fsitem_lookup_table.h"

namespace {

constexpr uint32_t kFnvOffset = 2166136261u;
constexpr uint32_t kFnvPrime = 16777619u;

uint32_t MixWord(uint32_t hash, uint16_t word) {
  hash = (hash ^ (word & 0xFFu)) * kFnvPrime;
  return (hash ^ (word >> 8)) * kFnvPrime;
}

uint16_t RegistryCount() {
  return fsitem_lookup_table.count < 0 ? 0 : static_cast<uint16_t>(fsitem_lookup_table.count);
}

uint16_t Low(uint32_t value) { return static_cast<uint16_t>(value & 0xFFFFu); }
uint16_t High(uint32_t value) { return static_cast<uint16_t>(value >> 16); }

}  // namespace

uint32_t ItemRegistryChecksum(uint16_t count) {
  uint32_t hash = MixWord(kFnvOffset, count);
  for (uint16_t i = 0; i < count; ++i) {
    const P_FSItem* item = fsitem_lookup_table.entries[i].get();
    if (!item) {
      hash = MixWord(hash, 0xFFFF);
      continue;
    }
    DumpWords words;
    uint32_t index = kNoWordYet;
    item->Serialize(words, index);
    const size_t used = index == kNoWordYet ? 0 : index + 1;
    for (size_t w = 0; w < used; ++w) hash = MixWord(hash, words[w]);
    hash = MixWord(hash, item->attribute);
  }
  return hash;
}

CCompiledStamp RestampRegistry(uint32_t compileId) {
  CCompiledStamp stamp;
  stamp.compileId = compileId;
  stamp.itemCount = RegistryCount();
  stamp.itemChecksum = ItemRegistryChecksum(stamp.itemCount);
  return stamp;
}

CCompiledStamp MakeCompileStamp() {
  std::random_device device;
  const auto now = static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
  uint32_t id = device() ^ static_cast<uint32_t>(now) ^ static_cast<uint32_t>(now >> 32);
  if (id == 0) id = 1;  // 0 never names a compile
  return RestampRegistry(id);
}

bool RegistryMatchesStamp(const CCompiledStamp& stamp) {
  if (stamp.compileId == 0 || RegistryCount() < stamp.itemCount) return false;
  return ItemRegistryChecksum(stamp.itemCount) == stamp.itemChecksum;
}

void PutStamp(DumpWords& words, uint32_t& index, const CCompiledStamp& stamp) {
  PutWord(words, index, kStampMark);
  PutWord(words, index, Low(stamp.compileId));
  PutWord(words, index, High(stamp.compileId));
  PutWord(words, index, stamp.itemCount);
  PutWord(words, index, Low(stamp.itemChecksum));
  PutWord(words, index, High(stamp.itemChecksum));
}

bool TakeStamp(const DumpWords& words, uint32_t& index, CCompiledStamp& stamp) {
  uint16_t w[6];
  for (uint16_t& word : w) {
    if (!TakeWord(words, index, word)) return false;
  }
  if (w[0] != kStampMark) return false;
  stamp.compileId = w[1] | (uint32_t{w[2]} << 16);
  stamp.itemCount = w[3];
  stamp.itemChecksum = w[4] | (uint32_t{w[5]} << 16);
  return true;
}

std::string StampLine(const CCompiledStamp& stamp) {
  return "STAMP " + std::to_string(stamp.compileId) + " " + std::to_string(stamp.itemCount) + " " +
         std::to_string(stamp.itemChecksum);
}

bool ParseStampLine(const std::string& line, CCompiledStamp& stamp) {
  unsigned long id = 0, count = 0, checksum = 0;
  char tail = 0;
  if (std::sscanf(line.c_str(), "STAMP %lu %lu %lu%c", &id, &count, &checksum, &tail) != 3) return false;
  if (id > 0xFFFFFFFFul || count > 0xFFFFul || checksum > 0xFFFFFFFFul) return false;
  stamp.compileId = static_cast<uint32_t>(id);
  stamp.itemCount = static_cast<uint16_t>(count);
  stamp.itemChecksum = static_cast<uint32_t>(checksum);
  return true;
}

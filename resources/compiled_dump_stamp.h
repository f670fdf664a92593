// The stamp that ties the dumps of one compile together.
//
// The grammar dumps ("DumpedEgrammar", "DumpedEgrammarSymbols") and the
// lexicon dumps ("ELexiconDumpFileName", "DummyDump") hold ids of the item
// registry, whose own dump ("P_FSInitializerDump") the constraint system
// writes later in engine set-up. Each of our dumps ends with a stamp: the id
// of the compile that wrote it, and the number and a checksum of the registry
// items that existed when it was written. A reload accepts a dump only when
// its compile id is that of the grammar dumps and the registry, as loaded,
// holds the very same items under the same ids; anything else is a stale dump
// and is refused.
#pragma once

#include <cstdint>
#include <string>

#include "constraints/dump_words.h"

struct CCompiledStamp {
  uint32_t compileId = 0;
  uint16_t itemCount = 0;
  uint32_t itemChecksum = 0;

  bool operator==(const CCompiledStamp& other) const = default;
};

// Marks the start of a stamp in a binary dump.
constexpr uint16_t kStampMark = 0x5354;

// A fresh compile id over the registry as it stands now.
CCompiledStamp MakeCompileStamp();
// The same compile id over the registry as it stands now.
CCompiledStamp RestampRegistry(uint32_t compileId);
// FNV-1a over the serialised words and attributes of registry items 1..count.
uint32_t ItemRegistryChecksum(uint16_t count);
// Whether the registry holds at least the stamp's items, unchanged.
bool RegistryMatchesStamp(const CCompiledStamp& stamp);

// Binary form: the mark, then compile id (2 words), item count, checksum (2 words).
void PutStamp(DumpWords& words, uint32_t& index, const CCompiledStamp& stamp);
// False when the words end or the mark is missing.
bool TakeStamp(const DumpWords& words, uint32_t& index, CCompiledStamp& stamp);

// Text form, one line: "STAMP <id> <count> <checksum>".
std::string StampLine(const CCompiledStamp& stamp);
bool ParseStampLine(const std::string& line, CCompiledStamp& stamp);

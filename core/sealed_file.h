// Seals for the files that a compiling start-up writes and a later start-up
// reads back (dumps, tables, the symbol table). A seal ends the file: a mark,
// the length of the content and an FNV-1a checksum of it. A file whose seal is
// missing or does not match its content was damaged, cut short or lengthened
// after it was written, and is refused instead of read as if it were whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"

// The checksum a seal records, and the data root's manifest (which
// tools/sync_data.py writes the same way): FNV-1a over eight bytes a step,
// folded to 32 bits.
uint32_t ContentChecksum(const unsigned char* bytes, size_t count);

// Appends the seal of the bytes to them.
void AppendSeal(std::vector<unsigned char>& bytes);
// True when the bytes end with the seal of what stands before it; the seal is
// then removed. False leaves the bytes as they were.
bool StripSeal(std::vector<unsigned char>& bytes);

// Appends the seal of the file's bytes to the file. False when the file cannot
// be read or written.
bool SealWrittenFile(const std::string& path);

enum class SealedOpen { kOpened, kMissing, kDamaged };
// The content of the sealed file, without its seal, for the readers that
// work on the bytes in memory. The content is left empty unless the outcome
// is kOpened.
SealedOpen ReadSealedFile(const std::string& path, std::vector<unsigned char>& content);
// A stream over the content of the sealed file, without its seal, for the
// readers that read a FILE*. Null when the file cannot be opened or its seal
// does not match; outcome (when given) tells which.
FileHandle OpenSealedFile(const std::string& path, SealedOpen* outcome = nullptr);

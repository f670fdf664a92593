// The word arrays of the constraint system's dumps: unsigned 16-bit words
// gathered in memory at a running index and written or read in one block as
// little-endian bytes. The index names the last word used; every write or read
// raises it by one first, so a fresh array starts at index kNoWordYet.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using DumpWords = std::vector<uint16_t>;

// The running index before the first word (raised to 0 by the first access).
constexpr uint32_t kNoWordYet = 0xFFFFFFFFu;

// Raises the index and stores the word there, growing the array as needed.
void PutWord(DumpWords& words, uint32_t& index, uint16_t word);
// Raises the index and reads the word there. False, with the index unchanged,
// when the array has no word left.
bool TakeWord(const DumpWords& words, uint32_t& index, uint16_t& word);
// Whether at least count words follow the index.
bool WordsLeft(const DumpWords& words, uint32_t index, size_t count);

// Writes the first count words as little-endian bytes ("wb"), sealed
// (core/sealed_file.h). False when the file cannot be opened or written.
bool WriteDumpWords(const std::string& path, const DumpWords& words, size_t count);
// Reads at most max_words words of a sealed dump ("rb"). A dump whose seal is
// missing or does not match (damaged or cut short) reads as no words at all.
// False when the file cannot be opened.
bool ReadDumpWords(const std::string& path, size_t max_words, DumpWords& words);
// What the readers say of a dump that reads as no words: no dump written is
// empty, so its seal did not match.
constexpr const char* kDamagedDump = "is damaged or cut short (its seal does not match its content); compile again.";

// What every fuzz target shares: a private copy of the shipped data root to
// work in, silent message boxes, the input written where a loader reads it,
// and seed inputs taken from the shipped data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzz {

// Copies the repository's data root into a new temporary folder, enters it,
// loads its "EConfig.inf" and silences message boxes. The folder is removed
// when the process exits.
void EnterDataRootCopy();

// The repository's data root (for seed files).
std::string ShippedDataRoot();

// The bytes of a file (a path relative to the work folder, '\' allowed);
// empty when it cannot be read.
std::string ReadInput(const std::string& path);

// Writes the bytes as the file (a path relative to the work folder, in the
// configuration's spelling with '\' allowed) and returns the path as given.
std::string WriteInput(const std::string& path, const uint8_t* data, size_t size);

// Appends "-seed_inputs=" naming the files to the fuzzer's arguments, so the
// seeds come from the shipped data without a committed copy.
void AddSeedInputs(int* argc, char*** argv, const std::vector<std::string>& files);

// Writes each text as a file of the work folder's seeds/ and returns the paths.
std::vector<std::string> WriteSeeds(const std::string& prefix, const std::vector<std::string>& texts);

// The first distinct English sentences of the evaluation set beside the
// repository (none when it is absent).
std::vector<std::string> DevSentences(size_t most);

// Cuts a UTF-16LE text file (a path as WriteInput takes it) to its first
// lines, so that a seed made from it stays small.
void KeepFirstLines(const std::string& path, size_t lines);

// The bytes of a narrow text as UTF-16LE with the mark, as the data files are.
std::string Utf16FileBytes(const std::u16string& text);

}  // namespace fuzz

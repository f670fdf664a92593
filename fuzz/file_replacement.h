// Fuzzing files that a start-up compiles and later reads back (dumps, number
// files, tables): after the compiling start-up the files are kept; each
// input then restores them all and replaces one, chosen by its first byte,
// before the reading start-up runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzz {

class FileReplacement {
 public:
  // keys: the configuration keys of the files an input may replace.
  explicit FileReplacement(std::vector<std::string> keys) : keys_(std::move(keys)) {}
  // Keeps the files as they are now and adds one seed per file (its mode
  // byte, then its bytes) to the fuzzer's arguments.
  void Capture(int* argc, char*** argv);
  // Restores every file, then writes the input after its first byte over the
  // file it selects. Returns that file's index, or -1 for an empty input.
  int Replace(const uint8_t* data, size_t size) const;

 private:
  std::vector<std::string> keys_;
  std::vector<std::string> pristine_;
};

}  // namespace fuzz

#include "fuzz/file_replacement.h"

#include "core/config_store.h"
#include "fuzz/fuzz_support.h"

namespace fuzz {
namespace {

void WriteBytes(const std::string& path, const std::string& bytes) {
  WriteInput(path, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

void FileReplacement::Capture(int* argc, char*** argv) {
  std::vector<std::string> seeds;
  for (size_t mode = 0; mode < keys_.size(); ++mode) {
    pristine_.push_back(ReadInput(GetConfigValue(keys_[mode])));
    seeds.push_back(std::string(1, static_cast<char>(mode)) + pristine_.back());
  }
  AddSeedInputs(argc, argv, WriteSeeds("file", seeds));
}

int FileReplacement::Replace(const uint8_t* data, size_t size) const {
  if (size == 0) return -1;
  for (size_t i = 0; i < keys_.size(); ++i) WriteBytes(GetConfigValue(keys_[i]), pristine_[i]);
  const size_t mode = data[0] % keys_.size();
  WriteInput(GetConfigValue(keys_[mode]), data + 1, size - 1);
  return static_cast<int>(mode);
}

}  // namespace fuzz

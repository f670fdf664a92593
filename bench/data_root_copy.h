// A private copy of a data root for the benchmarks and the fuzzers: the
// engine starts and writes its compiled files, trace log and lock there, so
// the data root it came from is never written. Its configuration can be
// changed key by key (the engine reads "EConfig.inf" again at every start).
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace english_bench {

// Files a run writes into a data root; they are not copied.
inline bool IsRunOutput(const std::filesystem::path& path) {
  const std::string name = path.filename().string();
  for (const char* written :
       {"LogFile.Log", "CStructures.xml", "FStructures.xml", "LFGParserCStructures.xml", ".translator.lock"}) {
    if (name == written) return true;
  }
  return false;
}

// Sets "key=value;" in a configuration file (UTF-16LE with the mark, ASCII
// keys and values), replacing the key's entry or adding one.
inline void SetConfigurationKey(const std::filesystem::path& file, const std::string& key, const std::string& value) {
  std::string text;
  {
    std::ifstream in(file, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const std::string raw = bytes.str();
    for (size_t at = 2; at + 1 < raw.size(); at += 2) text.push_back(raw[at]);
  }
  const std::string entry = key + "=";
  size_t at = text.rfind("\n" + entry);
  at = at != std::string::npos ? at + 1 : (text.rfind(entry, 0) == 0 ? 0 : std::string::npos);
  if (at != std::string::npos) {
    const size_t end = text.find(';', at);
    text.replace(at, end - at, entry + value);
  } else {
    text += entry + value + ";\r\n";
  }
  std::string raw = "\xFF\xFE";
  for (char c : text) raw += std::string{c, '\0'};
  std::ofstream(file, std::ios::binary) << raw;
}

// Every Compile key "yes" (the engine compiles, or loads what a compile of
// the same sources wrote) or "no" (it loads the compiled files, whatever
// they hold).
inline void SetCompileKeys(const std::filesystem::path& root, bool compile) {
  for (const char* key : {"CompileLexicon", "CompileP_Grammar", "CompileMapper"}) {
    SetConfigurationKey(root / "EConfig.inf", key, compile ? "yes" : "no");
  }
}

// The copy lives in the temporary folder (prefix + process id) and is
// removed with the object.
class DataRootCopy {
 public:
  DataRootCopy(const std::filesystem::path& source, const std::string& prefix)
      : path_(std::filesystem::temp_directory_path() / (prefix + std::to_string(getpid()))) {
    namespace fs = std::filesystem;
    fs::remove_all(path_);
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(source)) {
      const fs::path target = path_ / fs::relative(entry.path(), source);
      if (entry.is_directory()) {
        fs::create_directories(target);
      } else if (!IsRunOutput(entry.path())) {
        fs::create_directories(target.parent_path());
        fs::copy_file(entry.path(), target, fs::copy_options::overwrite_existing);
      }
    }
  }
  ~DataRootCopy() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  DataRootCopy(const DataRootCopy&) = delete;
  DataRootCopy& operator=(const DataRootCopy&) = delete;

  const std::filesystem::path& path() const { return path_; }
  void SetKey(const std::string& key, const std::string& value) {
    SetConfigurationKey(path_ / "EConfig.inf", key, value);
  }
  void SetCompileKeys(bool compile) { english_bench::SetCompileKeys(path_, compile); }

 private:
  std::filesystem::path path_;
};

}  // namespace english_bench

#include "fuzz/fuzz_support.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "core/config_store.h"
#include "platform/file_system.h"
#include "platform/message_box.h"

namespace fuzz {
namespace {

std::filesystem::path& WorkFolder() {
  static std::filesystem::path folder;
  return folder;
}

void RemoveWorkFolder() {
  std::error_code ignored;
  if (!WorkFolder().empty()) std::filesystem::remove_all(WorkFolder(), ignored);
}

}  // namespace

void KeepFirstLines(const std::string& path, size_t lines) {
  std::ifstream in(MapPath(path), std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  size_t end = 0;
  for (size_t kept = 0; kept < lines && end + 1 < bytes.size(); end += 2) {
    if (bytes[end] == '\n' && bytes[end + 1] == '\0') ++kept;
  }
  WriteInput(path, reinterpret_cast<const uint8_t*>(bytes.data()), end);
}

std::string ShippedDataRoot() { return std::string(LFG_SOURCE_DIR) + "/dataroot"; }

void EnterDataRootCopy() {
  namespace fs = std::filesystem;
  WorkFolder() = fs::temp_directory_path() / ("lfg-fuzz-" + std::to_string(getpid()));
  fs::remove_all(WorkFolder());
  fs::copy(ShippedDataRoot(), WorkFolder(), fs::copy_options::recursive);
  fs::create_directories(WorkFolder() / "seeds");
  fs::current_path(WorkFolder());
  std::atexit(RemoveWorkFolder);
  SetMessageHandler([](const std::u16string&, const std::u16string&, unsigned) { return MessageAnswer::Ok; });
  ClearConfiguration();
  LoadConfiguration("EConfig.inf", false);
}

std::string ReadInput(const std::string& path) {
  std::ifstream in(MapPath(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string WriteInput(const std::string& path, const uint8_t* data, size_t size) {
  std::ofstream out(MapPath(path), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path;
}

void AddSeedInputs(int* argc, char*** argv, const std::vector<std::string>& files) {
  // libFuzzer takes the seeds of one flag, so every call rebuilds the
  // arguments from the original ones with a flag naming all seeds so far.
  static std::vector<char*> original, arguments;
  static std::vector<std::string> seeds;
  static std::string flag;
  if (files.empty()) return;
  if (original.empty()) original.assign(*argv, *argv + *argc);
  seeds.insert(seeds.end(), files.begin(), files.end());
  flag = "-seed_inputs=";
  for (size_t i = 0; i < seeds.size(); ++i) {
    flag += (i ? "," : "") + std::filesystem::absolute(MapPath(seeds[i])).string();
  }
  arguments = original;
  arguments.push_back(flag.data());
  arguments.push_back(nullptr);
  *argc = static_cast<int>(arguments.size() - 1);
  *argv = arguments.data();
}

std::vector<std::string> WriteSeeds(const std::string& prefix, const std::vector<std::string>& texts) {
  std::vector<std::string> paths;
  for (size_t i = 0; i < texts.size(); ++i) {
    paths.push_back("seeds/" + prefix + std::to_string(i));
    WriteInput(paths.back(), reinterpret_cast<const uint8_t*>(texts[i].data()), texts[i].size());
  }
  return paths;
}

std::vector<std::string> DevSentences(size_t most) {
  std::ifstream in(std::string(LFG_SOURCE_DIR) + "/../shared/eval/tatoeba-dev.tsv");
  std::vector<std::string> sentences;
  std::set<std::string> seen;
  for (std::string line; sentences.size() < most && std::getline(in, line);) {
    const std::string english = line.substr(0, line.find('\t'));
    if (seen.insert(english).second) sentences.push_back(english);
  }
  return sentences;
}

std::string Utf16FileBytes(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

}  // namespace fuzz

#include "app_test_support.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "analysis/cfg/cfg_chart.h"
#include "analysis/lfg/chart_column.h"
#include "constraints/p_fstructure.h"
#include "core/fs_handle.h"
#include "core/fs_node.h"
#include "core/production.h"
#include "platform/utf8.h"

namespace fs = std::filesystem;

namespace app_test {
namespace {

std::string SourceDir() {
  const char* root = std::getenv("LFG_SOURCE_DIR");
  return root != nullptr ? root : "";
}

// Files a run writes into a data root; they are not copied.
bool IsRunOutput(const fs::path& path) {
  const std::string name = path.filename().string();
  for (const char* written : {"LogFile.Log", "CStructures.xml", "FStructures.xml", "LFGParserCStructures.xml",
                              "CompiledRoot.stamp", ".translator.lock"}) {
    if (name == written) return true;
  }
  return false;
}

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

DataRootCopy::DataRootCopy() {
  const fs::path source = fs::path(SourceDir()) / "dataroot";
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(source)) {
    const fs::path target = dir_.path() / fs::relative(entry.path(), source);
    if (entry.is_directory()) {
      fs::create_directories(target);
    } else if (!IsRunOutput(entry.path())) {
      fs::copy_file(entry.path(), target, fs::copy_options::overwrite_existing);
    }
  }
}

std::vector<std::pair<std::string, std::string>> DataRootCopy::ReadPairs() const {
  const std::string text = ReadUtf16AsUtf8(File("EConfig.inf"));
  std::vector<std::pair<std::string, std::string>> pairs;
  std::string line;
  std::istringstream in(text);
  while (std::getline(in, line, ';')) {
    while (!line.empty() && (line.front() == '\r' || line.front() == '\n')) line.erase(0, 1);
    const size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    pairs.emplace_back(line.substr(0, equals), line.substr(equals + 1));
  }
  return pairs;
}

void DataRootCopy::WritePairs(const std::vector<std::pair<std::string, std::string>>& pairs) {
  std::string text;
  for (const auto& [key, value] : pairs) text += key + "=" + value + ";\r\n";
  WriteUtf16File(File("EConfig.inf"), FromUtf8(text));
}

void DataRootCopy::SetKey(const std::string& key, const std::string& value) {
  auto pairs = ReadPairs();
  bool found = false;
  for (auto& pair : pairs) {
    if (pair.first == key) pair.second = value, found = true;
  }
  if (!found) pairs.emplace_back(key, value);
  WritePairs(pairs);
}

void DataRootCopy::UseGenerousTimeLimit() {
  std::ofstream(File("GenerousTimeLimit.txt"), std::ios::binary) << "60000\r\n";
  SetKey("Time", "GenerousTimeLimit.txt");
}

void DataRootCopy::RemoveKey(const std::string& key) {
  auto pairs = ReadPairs();
  std::erase_if(pairs, [&key](const auto& pair) { return pair.first == key; });
  WritePairs(pairs);
}

std::string DataRootCopy::Key(const std::string& key) const {
  for (const auto& [name, value] : ReadPairs()) {
    if (name == key) return value;
  }
  return "";
}

void DataRootCopy::WriteDataFile(const std::string& relative, const std::u16string& text) {
  WriteUtf16File(File(relative), text);
  // The root's data are now the test's own: without the manifest set-up
  // checks none, and the loaders meet the new text.
  fs::remove(File("DataManifest.txt"));
}

std::string ReadSourceFile(const std::string& relative) {
  const std::string root = SourceDir();
  return ReadText((root.empty() ? std::string(".") : root) + "/" + relative);
}

CurrentFolder::CurrentFolder(const fs::path& folder) : previous_(fs::current_path()) { fs::current_path(folder); }

CurrentFolder::~CurrentFolder() {
  std::error_code ignored;
  fs::current_path(previous_, ignored);
}

ProgramRun RunTranslatorProgram(const std::vector<std::string>& arguments, const std::string& input,
                                int timeLimitSeconds) {
  TempDir io;
  const std::string in = io.File("in.txt"), out = io.File("out.txt"), err = io.File("err.txt");
  std::ofstream(in, std::ios::binary) << input;
  std::string command = Quote(LFG_TRANSLATOR_PROGRAM);
  if (timeLimitSeconds > 0) command = "timeout -k 5 " + std::to_string(timeLimitSeconds) + " " + command;
  for (const std::string& argument : arguments) command += " " + Quote(argument);
  command += " <" + Quote(in) + " >" + Quote(out) + " 2>" + Quote(err);
  const int status = std::system(command.c_str());
  ProgramRun run;
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.output = ReadText(out);
  run.errors = ReadText(err);
  return run;
}

void ExpectRegistriesEmpty() {
  EXPECT_EQ(CFSNode::RegisteredCount(), 0u);
  EXPECT_EQ(CFSHandle::RegisteredCount(), 0u);
  EXPECT_EQ(RegisteredProductionCount(), 0u);
  EXPECT_EQ(RegisteredEarleyItemCount(), 0u);
  EXPECT_EQ(RegisteredChartColumnCount(), 0u);
  EXPECT_EQ(CChartColumn::liveInstances, 0);
  EXPECT_EQ(P_FStructure::RegisteredCount(), 0u);
}

CTranslationResult EchoTranslation(const WString& sentence, const CTranslateOptions&) {
  CTranslationResult result;
  result.sentence = sentence;
  result.output = u"[" + sentence + u"]";
  result.translated = true;
  return result;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

std::string ReadUtf16AsUtf8(const std::string& path) {
  const std::vector<unsigned char> bytes = ReadBytes(path);
  std::u16string text;
  for (size_t i = bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE ? 2 : 0; i + 1 < bytes.size(); i += 2) {
    text.push_back(static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8)));
  }
  return ToUtf8(text);
}

}  // namespace app_test
